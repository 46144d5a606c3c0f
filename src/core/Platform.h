#pragma once

#include <QDate>
#include <QString>

class QWidget;
class QUrl;

namespace woundwell {

enum class MessageIcon { Information, Critical };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Everything the program asks of the desktop goes through this interface, so that tests can
// stand in for the desktop: message boxes, the browser, the settings store, the clock, the
// random source and the question whether another copy is running.
class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box titled with the program's title. Returns once the user answered.
    virtual MessageAnswer showMessage(QWidget *parent, const QString &text, MessageIcon icon,
                                      MessageButtons buttons) = 0;

    // Hands the address to the desktop's browser and returns at once; failures are silent.
    virtual void openUrl(const QUrl &address) = 0;

    // One text value of the per-user settings store; a missing value reads as empty text.
    [[nodiscard]] virtual QString readSetting(const QString &section, const QString &key) = 0;
    virtual void writeSetting(const QString &section, const QString &key, const QString &value) = 0;

    [[nodiscard]] virtual QDate today() = 0;

    virtual void seedRandomFromClock() = 0;
    // A uniform single-precision value with 0 <= r < 1.
    [[nodiscard]] virtual float nextRandom() = 0;

    // Asked once, before any window exists.
    [[nodiscard]] virtual bool isAnotherInstanceRunning() = 0;
};

} // namespace woundwell
