// Where a window opens: centred on the screen's available area, or, when it is larger than that
// area (a large type size on a small screen), with its top-left corner at the area's edges.
#include "forms/FormSetup.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

using namespace woundwell;

class TestFormSetup : public QObject {
    Q_OBJECT

private slots:
    void theWindowOpensWhereItCanBeUsed_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("centredAcross");
        QTest::addColumn<bool>("centredDown");
        QTest::newRow("fits") << QSize(300, 200) << true << true;
        QTest::newRow("wider than the screen") << QSize(3000, 200) << false << true;
        QTest::newRow("taller than the screen") << QSize(300, 3000) << true << false;
        QTest::newRow("larger both ways") << QSize(3000, 3000) << false << false;
    }

    void theWindowOpensWhereItCanBeUsed() {
        QFETCH(QSize, size);
        QFETCH(bool, centredAcross);
        QFETCH(bool, centredDown);
        QWidget window;
        auto *clientArea = new QWidget(&window);
        clientArea->setFixedSize(size);
        setUpWindow(&window, QString(), clientArea, nullptr);

        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        const int across = available.left() + (available.width() - size.width()) / 2;
        const int down = available.top() + (available.height() - size.height()) / 2;
        QCOMPARE(window.pos().x(), centredAcross ? across : available.left());
        QCOMPARE(window.pos().y(), centredDown ? down : available.top());
    }
};

QTEST_MAIN(TestFormSetup)
#include "tst_formsetup.moc"
