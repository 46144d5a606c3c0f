// The program as a whole, its windows driven the way a user drives them: start-up, one copy at
// a time, the search and its result, Back, Exit and the end of the program.
#include "app/Program.h"
#include "core/SignReadings.h"
#include "support/Controls.h"
#include "support/FakePlatform.h"
#include "windows/frmDisplay.h"
#include "windows/frmFarewell.h"
#include "windows/frmMain.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace woundwell;
using namespace woundwell::test;
using namespace Qt::StringLiterals;

class TestProgram : public QObject {
    Q_OBJECT

    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<Program> program;

    frmMain &started() {
        program->start();
        frmMain &main = program->mainForm();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&main);
        return main;
    }

    void pickDate(frmMain &main, int day, const QString &month, int year) {
        control<QComboBox>(main, "cboDate")->setCurrentText(QString::number(day));
        control<QComboBox>(main, "cboMonth")->setCurrentText(month);
        control<QComboBox>(main, "cboYear")->setCurrentText(QString::number(year));
    }

    frmDisplay &search(frmMain &main, const QString &name, int day, const QString &month,
                       int year) {
        control<QLineEdit>(main, "txtName")->setText(name);
        pickDate(main, day, month, year);
        control<QPushButton>(main, "cmdNext")->click();
        return program->displayForm();
    }

private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        program = std::make_unique<Program>(*fake);
    }

    void cleanup() {
        program.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        fake.reset();
    }

    void startShowsTheBirthDataWindow() {
        QSignalSpy ended(program.get(), &Program::ended);
        QVERIFY(program->start());
        frmMain &main = program->mainForm();
        QVERIFY(main.isVisible());
        QVERIFY(!program->isDisplayFormLoaded());
        QVERIFY(!program->isFarewellFormLoaded());
        QCOMPARE(fake->seeds, 1);
        QVERIFY(fake->messages.isEmpty());

        QVERIFY(QTest::qWaitForWindowActive(&main));
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(main, "txtName"));
        QCOMPARE(ended.count(), 0);
    }

    void secondCopyEndsWithoutAWindow() {
        fake->anotherInstance = true;
        QSignalSpy ended(program.get(), &Program::ended);
        QVERIFY(!program->start());
        QCOMPARE(fake->messageTexts(), QStringList{u"Application is already running"_s});
        QCOMPARE(fake->messages.first().icon, MessageIcon::Information);
        QCOMPARE(fake->messages.first().buttons, MessageButtons::Ok);
        QVERIFY(!program->hasLoadedForms());
        QCOMPARE(ended.count(), 1);
        // Nothing the running copy uses was touched: no reminder, no settings written.
        QCOMPARE(fake->settingWrites, 0);
        QVERIFY(QApplication::topLevelWidgets().isEmpty() ||
                std::none_of(QApplication::topLevelWidgets().begin(),
                             QApplication::topLevelWidgets().end(),
                             [](QWidget *w) { return w->isVisible(); }));
    }

    void promotionShownInTheFooter_data() {
        QTest::addColumn<float>("r");
        QTest::addColumn<QString>("shown");
        QTest::newRow("co-brand to the front") << 0.05f << u"lblCobrand"_s;
        QTest::newRow("full brand to the front") << 0.2f << u"lblFullBrand"_s;
    }

    void promotionShownInTheFooter() {
        QFETCH(float, r);
        QFETCH(QString, shown);
        fake->randomValues = {r};
        frmMain &main = started();
        auto *cobrand = control<QLabel>(main, "lblCobrand");
        QWidget *footer = cobrand->parentWidget();
        const QPoint middle = cobrand->geometry().center();
        QCOMPARE(footer->childAt(middle)->objectName(), shown);
    }

    void searchShowsTheResultInPlaceOfTheEntries() {
        const QString sign = u"Aries"_s;
        frmMain &main = started();
        frmDisplay &display = search(main, u"ANN"_s, 2, u"April"_s, 1968);
        QCOMPARE(program->planetSign.ChironSign, sign);
        QCOMPARE(control<QLabel>(display, "lblHealingSign")->text(), sign);
        QCOMPARE(control<QLabel>(display, "lblSignDesc")->text(), signReading(*signFromName(sign)));
        QVERIFY(display.isVisible());
        QVERIFY(main.isHidden());
        QVERIFY(program->isFarewellFormLoaded());
        QVERIFY(program->farewellForm().isHidden());
        QVERIFY(QTest::qWaitForWindowActive(&display));
        QCOMPARE(QApplication::focusWidget(), control<QPushButton>(display, "cmdExit"));
    }

    void backKeepsTheEntriesAndRebuildsTheResult() {
        frmMain &main = started();
        frmDisplay *first = &search(main, u"ANN LEE"_s, 2, u"April"_s, 1968);
        QPointer<frmDisplay> firstGuard(first);
        control<QPushButton>(*first, "cmdBack")->click();

        QVERIFY(main.isVisible());
        QVERIFY(!program->isDisplayFormLoaded());
        QVERIFY(program->isFarewellFormLoaded());
        QVERIFY(program->farewellForm().isHidden());
        QCOMPARE(control<QLineEdit>(main, "txtName")->text(), u"ANN LEE"_s);
        QCOMPARE(control<QComboBox>(main, "cboDate")->currentText(), u"2"_s);
        QCOMPARE(control<QComboBox>(main, "cboMonth")->currentText(), u"April"_s);
        QCOMPARE(control<QComboBox>(main, "cboYear")->currentText(), u"1968"_s);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(firstGuard.isNull());

        // The next search works on a new window, with nothing left of the last one.
        pickDate(main, 29, u"March"_s, 1977);
        control<QPushButton>(main, "cmdNext")->click();
        frmDisplay &second = program->displayForm();
        QCOMPARE(control<QLabel>(second, "lblHealingSign")->text(), u"Taurus"_s);
        QCOMPARE(control<QLabel>(second, "lblSignDesc")->text(), signReading(Sign::Taurus));
        QCOMPARE(control<QLineEdit>(main, "txtName")->text(), u"ANN LEE"_s);
    }

    void exitFromTheResultLeadsToTheFarewellAndTheEnd() {
        QSignalSpy ended(program.get(), &Program::ended);
        frmMain &main = started();
        frmDisplay &display = search(main, u"ANN"_s, 7, u"June"_s, 1933);
        control<QPushButton>(display, "cmdExit")->click();
        QVERIFY(!program->isDisplayFormLoaded());
        QVERIFY(program->isMainFormLoaded());
        QVERIFY(main.isHidden());
        frmFarewell &farewell = program->farewellForm();
        QVERIFY(farewell.isVisible());
        QCOMPARE(ended.count(), 0);

        control<QPushButton>(farewell, "cmdClose")->click();
        QVERIFY(!program->hasLoadedForms());
        QCOMPARE(ended.count(), 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const auto windows = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(windows.begin(), windows.end(), [](QWidget *w) {
            return qobject_cast<QDialog *>(w) || qobject_cast<frmFarewell *>(w);
        }));
    }

    void closingTheFarewellWindowEndsLikeItsExit() {
        QSignalSpy ended(program.get(), &Program::ended);
        frmMain &main = started();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        main.close(); // the close box
        QVERIFY(!program->isMainFormLoaded());
        frmFarewell &farewell = program->farewellForm();
        QVERIFY(farewell.isVisible());
        // The keyboard goes on in the farewell window.
        QVERIFY(QTest::qWaitForWindowActive(&farewell));
        QCOMPARE(QApplication::focusWidget()->objectName(), u"cmdClose"_s);
        farewell.close();
        QVERIFY(!program->hasLoadedForms());
        QCOMPARE(ended.count(), 1);
    }

    void exitMenuItemsCloseTheirWindow() {
        frmMain &main = started();
        frmDisplay &display = search(main, u"ANN"_s, 7, u"June"_s, 1933);
        control<QAction>(display, "mnuExit")->trigger();
        QVERIFY(!program->isDisplayFormLoaded());
        QVERIFY(program->farewellForm().isVisible());
        control<QAction>(main, "mnuExit")->trigger();
        QVERIFY(!program->isMainFormLoaded());
        QVERIFY(program->farewellForm().isVisible());
    }
};

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
