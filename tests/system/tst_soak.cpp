// A long session: thousands of searches, each followed by Back, must leave the program with
// exactly the windows and controls it had after the first one. A window that is hidden instead
// of destroyed, or a control that outlives its window, shows up here as a growing count.
#include "app/Program.h"
#include "support/Controls.h"
#include "support/FakePlatform.h"
#include "windows/frmDisplay.h"
#include "windows/frmFarewell.h"
#include "windows/frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace woundwell;
using namespace woundwell::test;
using namespace Qt::StringLiterals;

namespace {

struct Census {
    qsizetype widgets = 0;
    qsizetype topLevel = 0;
    qsizetype visibleTopLevel = 0;
};

Census takeCensus() {
    const QWidgetList topLevel = QApplication::topLevelWidgets();
    return {
        QApplication::allWidgets().size(), topLevel.size(),
        std::count_if(topLevel.begin(), topLevel.end(), [](QWidget *w) { return w->isVisible(); })};
}

// Resident memory in kB, for the log only: the allocator keeps freed memory, so the number says
// little on its own.
long residentKilobytes() {
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

int cycleCount() {
    bool ok = false;
    const int wanted = qEnvironmentVariableIntValue("WOUNDWELL_SOAK_CYCLES", &ok);
    return ok && wanted > 0 ? wanted : 10000;
}

} // namespace

class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void searchAndBackManyTimesLeavesNoWindowsBehind() {
        FakePlatform fake;
        Program program(fake);
        QVERIFY(program.start());
        frmMain &main = program.mainForm();
        auto *name = control<QLineEdit>(main, "txtName");
        auto *find = control<QPushButton>(main, "cmdNext");
        auto *year = control<QComboBox>(main, "cboYear");
        auto *month = control<QComboBox>(main, "cboMonth");

        const int cycles = cycleCount();
        Census afterFirst;
        QStringList signsSeen;
        QElapsedTimer clock;
        clock.start();
        for (int cycle = 0; cycle < cycles; ++cycle) {
            name->setText(cycle % 2 ? u"ROSALIND"_s : u"MARTIN KEYS"_s);
            year->setCurrentIndex(cycle % year->count());
            month->setCurrentIndex(cycle % month->count());
            find->click();
            if (!program.isDisplayFormLoaded() || !program.displayForm().isVisible() ||
                main.isVisible())
                QFAIL(qPrintable(u"cycle %1: the search did not show the result"_s.arg(cycle)));
            if (!signsSeen.contains(program.planetSign.ChironSign))
                signsSeen.append(program.planetSign.ChironSign);

            control<QPushButton>(program.displayForm(), "cmdBack")->click();
            // What the event loop does between two clicks of the user: paint, lay out, and
            // delete the windows that have closed.
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (program.isDisplayFormLoaded() || !main.isVisible() ||
                program.farewellForm().isVisible())
                QFAIL(qPrintable(
                    u"cycle %1: Back did not return to the birth-data window"_s.arg(cycle)));
            if (cycle == 0)
                afterFirst = takeCensus();
        }
        const qint64 elapsed = clock.elapsed();
        const Census afterLast = takeCensus();

        qInfo("%d cycles in %lld ms (%.3f ms each), %lld kB resident", cycles, elapsed,
              double(elapsed) / cycles, static_cast<long long>(residentKilobytes()));
        QCOMPARE(afterLast.widgets, afterFirst.widgets);
        QCOMPARE(afterLast.topLevel, afterFirst.topLevel);
        QCOMPARE(afterLast.visibleTopLevel, qsizetype(1));
        // The dates run through many periods, so the lookup really answered differently.
        QVERIFY2(signsSeen.size() >= 6, qPrintable(signsSeen.join(u", "_s)));
        QVERIFY(fake.messages.isEmpty());
    }
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
