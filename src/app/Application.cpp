#include "app/Application.h"

#include "core/Version.h"
#include "forms/FormSetup.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initWoundwellResources() {
    Q_INIT_RESOURCE(woundwell);
}

namespace woundwell {

namespace {

// Whether a maintainer asked for Qt's messages, and the handler that then writes them.
bool messagesAsked = false;
QtMessageHandler qtsOwnHandler = nullptr;
// While the application object is being made, Qt opens the display; a fatal message then means
// that no window can be shown at all.
bool openingTheDisplay = false;

void writeToConsole(const QString &text) {
    std::fputs(qPrintable(text), stderr);
    std::fputc('\n', stderr);
}

void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (type != QtFatalMsg) {
        if (messagesAsked)
            qtsOwnHandler(type, context, message);
        return;
    }
    if (openingTheDisplay)
        writeToConsole(QStringLiteral(
            "woundwell: no desktop display could be opened, so there is nowhere to show a window.\n"
            "Start Woundwell from a desktop session: on X11, or on Wayland with XWayland or with "
            "Qt's Wayland plugin (the Debian package qt6-wayland). QT_QPA_PLATFORM, if set, "
            "chooses the display; unset it to let Qt choose. What Qt said:"));
    // Even the quiet program says why it stops: silence would leave the user with nothing.
    if (messagesAsked)
        qtsOwnHandler(type, context, message);
    else
        writeToConsole(message);
    if (openingTheDisplay)
        std::_Exit(EXIT_FAILURE);
    // Qt ends the program itself once the message is out.
}

// Whether preferXWayland() put the choice into the environment.
bool xwaylandPreferred = false;

// Up to 64 pixels: larger pictures come from the installed icon theme.
QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/woundwell-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

void keepQuiet() {
    // A maintainer chasing a fault in the field asks for Qt's own messages (a missing plugin, a
    // failed xdg-open) with either variable; Qt's own handler then writes them, filtered by the
    // logging rules as usual.
    messagesAsked = !qEnvironmentVariableIsEmpty("QT_LOGGING_RULES") ||
                    qEnvironmentVariableIntValue("WOUNDWELL_DEBUG") != 0;
    openingTheDisplay = true;
    qtsOwnHandler = qInstallMessageHandler(messageHandler);
}

void preferXWayland() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    xwaylandPreferred = qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}

void initApplication(QApplication &app) {
    openingTheDisplay = false;
    if (xwaylandPreferred)
        qunsetenv("QT_QPA_PLATFORM");
    QApplication::setApplicationName(ProgramTitle);
    QApplication::setApplicationVersion(ProgramVersion);
    QGuiApplication::setDesktopFileName(QStringLiteral("com.quorvane.Woundwell"));
    app.setQuitOnLastWindowClosed(false);
    // The pictures live in this static library, so they are registered by hand.
    initWoundwellResources();
    QApplication::setWindowIcon(applicationIcon());
    installFontSubstitutions();
}

} // namespace woundwell
