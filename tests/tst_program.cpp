// The program's windows driven the way a user drives them: start-up, typing a name, the checks,
// the search, Back, Exit and the end of the program.
#include "core/Program.h"
#include "core/SignReadings.h"
#include "core/frmDisplay.h"
#include "core/frmMain.h"
#include "outreach/frmFarewell.h"
#include "support/Controls.h"
#include "support/FakePlatform.h"

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

    void startShowsTheFilledBirthDataWindow() {
        QSignalSpy ended(program.get(), &Program::ended);
        QVERIFY(program->start());
        frmMain &main = program->mainForm();
        QVERIFY(main.isVisible());
        QVERIFY(!program->isDisplayFormLoaded());
        QVERIFY(!program->isFarewellFormLoaded());
        QCOMPARE(fake->seeds, 1);
        QVERIFY(fake->messages.isEmpty());

        auto *day = control<QComboBox>(main, "cboDate");
        auto *month = control<QComboBox>(main, "cboMonth");
        auto *year = control<QComboBox>(main, "cboYear");
        QCOMPARE(day->count(), 31);
        QCOMPARE(day->itemText(0), u"1"_s);
        QCOMPARE(day->itemText(30), u"31"_s);
        QCOMPARE(month->count(), 12);
        QCOMPARE(month->itemText(0), u"January"_s);
        QCOMPARE(month->itemText(8), u"September"_s);
        QCOMPARE(year->count(), 81);
        QCOMPARE(year->itemText(80), u"2010"_s);
        QCOMPARE(day->currentText() + month->currentText() + year->currentText(),
                 u"1January1930"_s);
        QVERIFY(!day->isEditable() && !month->isEditable() && !year->isEditable());

        QVERIFY(QTest::qWaitForWindowActive(&main));
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(main, "txtName"));
        QCOMPARE(main.windowTitle(), u"Woundwell v1.15"_s);
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

    void promotionRounding_data() {
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("promotion");
        using P = Program::Promotion;
        // With 24 random bits only 2.5 and 5.5 can come up as halves.
        QTest::newRow("0 gives 1") << 0.0f << int(P::CoBrand);
        QTest::newRow("2.5 rounds to 2") << 0.25f << int(P::FullBrand);
        QTest::newRow("just over 2.5 gives 3") << 0.2500001f << int(P::CoBrand);
        QTest::newRow("5.5 rounds to 6") << 0.75f << int(P::FullBrand);
        QTest::newRow("just under 1 gives 7") << 0.99999994f << int(P::AsLaidOut);
        QTest::newRow("1.4 gives 1") << 0.0666f << int(P::CoBrand);
        QTest::newRow("3.6 gives 4") << 0.4333f << int(P::FullBrand);
        QTest::newRow("4.6 gives 5") << 0.6f << int(P::CoBrand);
    }

    void promotionRounding() {
        QFETCH(float, r);
        QFETCH(int, promotion);
        QCOMPARE(int(Program::promotionFor(r)), promotion);
    }

    void promotionShownInTheFooter_data() {
        QTest::addColumn<float>("r");
        QTest::addColumn<QString>("shown");
        QTest::newRow("co-brand to the front") << 0.05f << u"lblCobrand"_s;
        QTest::newRow("full brand to the front") << 0.2f << u"lblFullBrand"_s;
        QTest::newRow("layout order: full brand covers") << 0.95f << u"lblFullBrand"_s;
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

    void nameBoxTakesCapitalLetters() {
        frmMain &main = started();
        auto *name = control<QLineEdit>(main, "txtName");
        QTest::keyClicks(name, u"abc xyz"_s);
        QCOMPARE(name->text(), u"ABC XYZ"_s);
        QTest::keyClick(name, Qt::Key_Backspace);
        QTest::keyClick(name, Qt::Key_Space);
        QCOMPARE(name->text(), u"ABC XY "_s);
        QVERIFY(fake->messages.isEmpty());
    }

    void nameBoxRefusesOtherCharacters_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::newRow("digit") << int(Qt::Key_7) << 0 << u"7"_s;
        QTest::newRow("hyphen") << int(Qt::Key_Minus) << 0 << u"-"_s;
        QTest::newRow("between Z and a") << int(Qt::Key_BracketLeft) << 0 << u"["_s;
        QTest::newRow("accented letter") << int(Qt::Key_Eacute) << 0 << u"\u00e9"_s;
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << u"v"_s;
        QTest::newRow("Ctrl+C") << int(Qt::Key_C) << int(Qt::ControlModifier) << u"c"_s;
    }

    void nameBoxRefusesOtherCharacters() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        frmMain &main = started();
        auto *name = control<QLineEdit>(main, "txtName");
        QTest::keyClicks(name, u"Ann"_s);
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QApplication::sendEvent(name, &press);
        QCOMPARE(name->text(), u"ANN"_s);
        QCOMPARE(fake->messageTexts(), QStringList{u"Please Enter only Letters"_s});
        QCOMPARE(fake->messages.first().icon, MessageIcon::Information);
    }

    void validationMessagesAndFocus_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focusAfter");

        QTest::newRow("no name, wrong date") << QString() << 31 << u"February"_s << 1960
                                             << u"Please Enter Your Name"_s << u"txtName"_s;
        QTest::newRow("30 February") << u"ANN"_s << 30 << u"February"_s << 1960
                                     << u"Please Enter Correct Date of Birth!"_s << u"cboYear"_s;
        QTest::newRow("29 February 1931")
            << u"ANN"_s << 29 << u"February"_s << 1931 << u"Please Enter Correct Date of Birth!"_s
            << u"cboYear"_s;
        QTest::newRow("31 September") << u"ANN"_s << 31 << u"September"_s << 1960
                                      << u"Please Enter Correct Date of Birth !"_s << u"cboYear"_s;
    }

    void validationMessagesAndFocus() {
        QFETCH(QString, name);
        QFETCH(int, day);
        QFETCH(QString, month);
        QFETCH(int, year);
        QFETCH(QString, message);
        QFETCH(QString, focusAfter);

        frmMain &main = started();
        control<QLineEdit>(main, "txtName")->setText(name);
        pickDate(main, day, month, year);
        auto *yearList = control<QComboBox>(main, "cboYear");
        yearList->setFocus();
        // Through the menu item, which must act exactly like the button.
        control<QAction>(main, "mnuFindHealingSign")->trigger();
        QCOMPARE(fake->messageTexts(), QStringList{message});
        QCOMPARE(fake->messages.first().icon, MessageIcon::Information);
        QCOMPARE(fake->messages.first().buttons, MessageButtons::Ok);
        QCOMPARE(main.focusWidget()->objectName(), focusAfter);
        QVERIFY(main.isVisible());
        QVERIFY(!program->isDisplayFormLoaded());
        QVERIFY(!program->isFarewellFormLoaded());
    }

    void searchShowsSignAndReading_data() {
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("sign");
        QTest::newRow("7 June 1933") << 7 << u"June"_s << 1933 << u"Gemini"_s;
        QTest::newRow("2 April 1968") << 2 << u"April"_s << 1968 << u"Aries"_s;
        QTest::newRow("29 March 1977") << 29 << u"March"_s << 1977 << u"Taurus"_s;
        QTest::newRow("29 February 1940") << 29 << u"February"_s << 1940 << u"Cancer"_s;
        QTest::newRow("31 December 2010") << 31 << u"December"_s << 2010 << u"Aquarius"_s;
    }

    void searchShowsSignAndReading() {
        QFETCH(int, day);
        QFETCH(QString, month);
        QFETCH(int, year);
        QFETCH(QString, sign);

        frmMain &main = started();
        frmDisplay &display = search(main, u"ANN"_s, day, month, year);
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

    void searchRightAfterStartUsesFirstOfJanuary1930() {
        frmMain &main = started();
        QTest::keyClicks(control<QLineEdit>(main, "txtName"), u"bo"_s);
        control<QPushButton>(main, "cmdNext")->click();
        QCOMPARE(control<QLabel>(program->displayForm(), "lblHealingSign")->text(), u"Taurus"_s);
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

    void backFromTheMenuWorksLikeTheButton() {
        frmMain &main = started();
        frmDisplay &display = search(main, u"ANN"_s, 7, u"June"_s, 1933);
        control<QAction>(display, "mnuFileBack")->trigger();
        QVERIFY(main.isVisible());
        QVERIFY(!program->isDisplayFormLoaded());
        QVERIFY(program->farewellForm().isHidden());
    }

    void fillWithoutAMatchKeepsTheLayoutReading() {
        frmDisplay &display = program->displayForm();
        display.Fill(QString());
        QCOMPARE(control<QLabel>(display, "lblHealingSign")->text(), QString());
        QCOMPARE(control<QLabel>(display, "lblSignDesc")->text(), signReading(Sign::Taurus));
        display.Fill(u"Leo"_s);
        display.Fill(u"leo"_s);
        QCOMPARE(control<QLabel>(display, "lblHealingSign")->text(), u"leo"_s);
        QCOMPARE(control<QLabel>(display, "lblSignDesc")->text(), signReading(Sign::Leo));
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

    void enterAndEscapeInTheBirthDataWindow_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("searches");
        QTest::newRow("Enter in the name box") << u"txtName"_s << int(Qt::Key_Return) << false;
        QTest::newRow("Enter on a list") << u"cboMonth"_s << int(Qt::Key_Return) << false;
        QTest::newRow("Esc in the name box") << u"txtName"_s << int(Qt::Key_Escape) << false;
        QTest::newRow("Esc on the find button") << u"cmdNext"_s << int(Qt::Key_Escape) << false;
        QTest::newRow("Enter on the find button") << u"cmdNext"_s << int(Qt::Key_Return) << true;
    }

    void enterAndEscapeInTheBirthDataWindow() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, searches);
        frmMain &main = started();
        control<QLineEdit>(main, "txtName")->setText(u"ANN"_s);
        QWidget *target = main.findChild<QWidget *>(focus);
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        if (searches) {
            QVERIFY(program->isDisplayFormLoaded());
            QVERIFY(main.isHidden());
        } else {
            QVERIFY(!program->isMainFormLoaded());
            QVERIFY(program->farewellForm().isVisible());
        }
    }

    void enterAndEscapeInTheResultWindow() {
        frmMain &main = started();
        frmDisplay *display = &search(main, u"ANN"_s, 7, u"June"_s, 1933);
        QVERIFY(QTest::qWaitForWindowActive(display));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!program->isDisplayFormLoaded()); // Enter pressed Exit
        QVERIFY(main.isHidden());

        // Tab to Back, then Enter: back to the birth-data window.
        program.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        fake = std::make_unique<FakePlatform>();
        program = std::make_unique<Program>(*fake);
        frmMain &again = started();
        display = &search(again, u"ANN"_s, 7, u"June"_s, 1933);
        QVERIFY(QTest::qWaitForWindowActive(display));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), u"cmdBack"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(again.isVisible());
        QVERIFY(!program->isDisplayFormLoaded());

        // Esc acts as Exit even with the focus on Back.
        display = &search(again, u"ANN"_s, 7, u"June"_s, 1933);
        QVERIFY(QTest::qWaitForWindowActive(display));
        control<QPushButton>(*display, "cmdBack")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!program->isDisplayFormLoaded());
        QVERIFY(again.isHidden());
        QVERIFY(program->farewellForm().isVisible());
    }

    void tabOrderOfTheBirthDataWindow() {
        frmMain &main = started();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 7; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(visited, (QStringList{u"txtName"_s, u"cboDate"_s, u"cboMonth"_s, u"cboYear"_s,
                                       u"cmdNext"_s, u"cmdExit"_s, u"Picture1"_s, u"txtName"_s}));
    }
};

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
