#pragma once

#include "core/Platform.h"

#include <QRandomGenerator>

#include <memory>

namespace woundwell {

class InstanceLock;

// The real desktop: Qt's message boxes, the desktop's default browser, the per-user settings
// file, the system clock and a lock file in a folder no other account can write to.
class DesktopPlatform final : public Platform {
public:
    DesktopPlatform();
    ~DesktopPlatform() override;

    MessageAnswer showMessage(QWidget *parent, const QString &text, MessageIcon icon,
                              MessageButtons buttons) override;
    void openUrl(const QUrl &address) override;
    QString readSetting(const QString &section, const QString &key) override;
    void writeSetting(const QString &section, const QString &key, const QString &value) override;
    QDate today() override;
    void seedRandomFromClock() override;
    float nextRandom() override;
    bool isAnotherInstanceRunning() override;

private:
    QRandomGenerator m_random;
    // Held for the life of the process; the system drops it with the process, however it ends.
    std::unique_ptr<InstanceLock> m_instanceLock;
};

} // namespace woundwell
