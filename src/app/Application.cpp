#include "app/Application.h"

#include "core/Version.h"
#include "forms/FormSetup.h"

#include <QApplication>
#include <QIcon>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initWoundwellResources() {
    Q_INIT_RESOURCE(woundwell);
}

namespace woundwell {

namespace {

void quietMessageHandler(QtMsgType type, const QMessageLogContext &, const QString &) {
    if (type == QtFatalMsg)
        std::abort();
}

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
    const bool asked = !qEnvironmentVariableIsEmpty("QT_LOGGING_RULES") ||
                       qEnvironmentVariableIntValue("WOUNDWELL_DEBUG") != 0;
    if (!asked)
        qInstallMessageHandler(quietMessageHandler);
}

void initApplication(QApplication &app) {
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
