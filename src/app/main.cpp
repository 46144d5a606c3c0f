#include "app/Application.h"
#include "app/Program.h"
#include "platform/DesktopPlatform.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    woundwell::keepQuiet();
    woundwell::preferXWayland();
    QApplication app(argc, argv);
    woundwell::initApplication(app);

    woundwell::DesktopPlatform platform;
    woundwell::Program program(platform);
    QObject::connect(&program, &woundwell::Program::ended, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    if (!program.start())
        return 0;
    return app.exec();
}
