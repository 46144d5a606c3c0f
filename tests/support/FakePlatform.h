#pragma once

#include "core/Platform.h"

#include <QList>
#include <QMap>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <deque>
#include <functional>

namespace woundwell::test {

// A desktop that tests script and read back: it records every message and address, answers
// questions as told, keeps settings in memory and hands out the random values it is given.
class FakePlatform final : public Platform {
public:
    struct Message {
        QString text;
        MessageIcon icon;
        MessageButtons buttons;
        QPointer<QWidget> parent;
        QWidget *focusWhenShown;
    };

    MessageAnswer showMessage(QWidget *parent, const QString &text, MessageIcon icon,
                              MessageButtons buttons) override;
    void openUrl(const QUrl &address) override;
    QString readSetting(const QString &section, const QString &key) override;
    void writeSetting(const QString &section, const QString &key, const QString &value) override;
    QDate today() override { return todayDate; }
    void seedRandomFromClock() override { ++seeds; }
    float nextRandom() override;
    bool isAnotherInstanceRunning() override { return anotherInstance; }

    [[nodiscard]] QStringList messageTexts() const;
    [[nodiscard]] QStringList openedAddresses() const;

    QList<Message> messages;
    QList<QUrl> opened;
    QMap<QString, QString> settings; // "Section/Key" -> value
    int settingWrites = 0;
    QDate todayDate{2026, 12, 7};
    std::deque<float> randomValues; // handed out in turn; 0 when none are left
    int seeds = 0;
    int randomDraws = 0;
    bool anotherInstance = false;
    MessageAnswer answer = MessageAnswer::Yes; // for Yes/No questions
    std::function<void(const Message &)> onMessage;
};

} // namespace woundwell::test
