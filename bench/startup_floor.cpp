// The floor for Woundwell's start-up time: the least a Qt Widgets program can do to show a
// window like Woundwell's first one, a dialog with a menu bar above a 491 x 362 client area.
// Built with the same compiler and flags as the program; startup_watch times the two.
#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QVBoxLayout>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QDialog window;
    window.setWindowTitle(QStringLiteral("Start-up floor"));
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *menuBar = new QMenuBar(&window);
    menuBar->setNativeMenuBar(false);
    menuBar->addMenu(QStringLiteral("&File"))
        ->addAction(QStringLiteral("E&xit"), &window, &QDialog::reject);
    layout->setMenuBar(menuBar);
    auto *client = new QWidget(&window);
    client->setFixedSize(491, 362);
    layout->addWidget(client);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    window.show();
    return app.exec();
}
