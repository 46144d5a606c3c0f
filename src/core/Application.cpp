#include "core/Application.h"

#include "ui/FormSetup.h"

#include <QApplication>
#include <QIcon>

namespace woundwell {

namespace {
void quietMessageHandler(QtMsgType type, const QMessageLogContext &, const QString &) {
    if (type == QtFatalMsg)
        std::abort();
}
} // namespace

void keepQuiet() {
    qInstallMessageHandler(quietMessageHandler);
}

void initApplication(QApplication &app) {
    QApplication::setApplicationName(QStringLiteral("Woundwell"));
    QApplication::setApplicationVersion(QStringLiteral("1.15"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.quorvane.Woundwell"));
    app.setQuitOnLastWindowClosed(false);
    initResources();
    QApplication::setWindowIcon(applicationIcon());
    installFontSubstitutions();
}

} // namespace woundwell
