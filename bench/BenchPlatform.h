#pragma once

// A quiet desktop for the benchmarks: no message box ever waits for an answer, no browser
// opens, settings stay in memory, the clock is the real one and the random values come from a
// fixed-seed generator so that every run draws the same promotions and appeals.

#include "core/Platform.h"

#include <QHash>
#include <QRandomGenerator>

namespace woundwell::bench {

class BenchPlatform final : public Platform {
public:
    MessageAnswer showMessage(QWidget *, const QString &, MessageIcon,
                              MessageButtons buttons) override {
        ++messages;
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    void openUrl(const QUrl &) override { ++openedUrls; }
    QString readSetting(const QString &section, const QString &key) override {
        return m_settings.value(section + QLatin1Char('/') + key);
    }
    void writeSetting(const QString &section, const QString &key, const QString &value) override {
        m_settings.insert(section + QLatin1Char('/') + key, value);
    }
    QDate today() override { return QDate::currentDate(); }
    void seedRandomFromClock() override { m_random.seed(1234); }
    float nextRandom() override {
        constexpr quint32 Steps = 1u << 24;
        return static_cast<float>(m_random.bounded(Steps)) / static_cast<float>(Steps);
    }
    bool isAnotherInstanceRunning() override { return false; }

    int messages = 0;
    int openedUrls = 0;

private:
    QHash<QString, QString> m_settings;
    QRandomGenerator m_random{1234};
};

} // namespace woundwell::bench
