// The birth-data window on its own, with the desktop replaced by a recorder: the lists, typing
// a name (keys and input methods), the checks, the lookup, and the keys that leave it.
#include "core/ChironPlacement.h"
#include "core/Promotion.h"
#include "core/Version.h"
#include "core/modPlanetSign.h"
#include "support/Controls.h"
#include "support/FakePlatform.h"
#include "windows/frmMain.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace woundwell;
using namespace woundwell::test;
using namespace Qt::StringLiterals;

class TestBirthDataWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<FakePlatform> fake;
    modPlanetSign planetSign;
    std::unique_ptr<frmMain> main;
    std::unique_ptr<QSignalSpy> found;
    std::unique_ptr<QSignalSpy> closing;

    QLineEdit *name() { return control<QLineEdit>(*main, "txtName"); }

    void pickDate(int day, const QString &month, int year) {
        control<QComboBox>(*main, "cboDate")->setCurrentText(QString::number(day));
        control<QComboBox>(*main, "cboMonth")->setCurrentText(month);
        control<QComboBox>(*main, "cboYear")->setCurrentText(QString::number(year));
    }

    // What an input method hands the box when the user finishes composing.
    void commit(const QString &text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(name(), &event);
    }

private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        planetSign = {};
        main = std::make_unique<frmMain>(*fake, planetSign);
        found = std::make_unique<QSignalSpy>(main.get(), &frmMain::signFound);
        closing = std::make_unique<QSignalSpy>(main.get(), &frmMain::closing);
        main->show();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
    }

    void cleanup() {
        found.reset();
        closing.reset();
        main.reset();
        fake.reset();
    }

    void opensWithTheListsFilledAndTheFocusOnTheName() {
        auto *day = control<QComboBox>(*main, "cboDate");
        auto *month = control<QComboBox>(*main, "cboMonth");
        auto *year = control<QComboBox>(*main, "cboYear");
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
        QCOMPARE(QApplication::focusWidget(), name());
        QCOMPARE(main->windowTitle(), u"Woundwell v"_s + ProgramVersion);
    }

    void nameBoxTakesCapitalLetters() {
        QTest::keyClicks(name(), u"abc xyz"_s);
        QCOMPARE(name()->text(), u"ABC XYZ"_s);
        QTest::keyClick(name(), Qt::Key_Backspace);
        QTest::keyClick(name(), Qt::Key_Space);
        QCOMPARE(name()->text(), u"ABC XY "_s);
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
        QTest::keyClicks(name(), u"Ann"_s);
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QApplication::sendEvent(name(), &press);
        QCOMPARE(name()->text(), u"ANN"_s);
        QCOMPARE(fake->messageTexts(), QStringList{u"Please Enter only Letters"_s});
        QCOMPARE(fake->messages.first().icon, MessageIcon::Information);
    }

    // A key held with Alt or Meta is an access key or nothing; it never types its character.
    void altKeysTypeNothing_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("searches");
        QTest::newRow("Alt+1") << int(Qt::Key_1) << int(Qt::AltModifier) << false;
        QTest::newRow("Alt+Q") << int(Qt::Key_Q) << int(Qt::AltModifier) << false;
        QTest::newRow("Alt+Shift+X")
            << int(Qt::Key_X) << int(Qt::AltModifier | Qt::ShiftModifier) << false;
        QTest::newRow("Meta+B") << int(Qt::Key_B) << int(Qt::MetaModifier) << false;
        QTest::newRow("Alt+W, the access key") << int(Qt::Key_W) << int(Qt::AltModifier) << true;
    }

    void altKeysTypeNothing() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, searches);
        QTest::keyClicks(name(), u"ann"_s);
        QTest::keyClick(name(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(name()->text(), u"ANN"_s);
        QVERIFY(fake->messages.isEmpty());
        // An access key clicks its button the way a mouse does, a moment later.
        QTRY_COMPARE(found->count(), searches ? 1 : 0);
    }

    // Dead keys, compose sequences and input methods such as IBus hand over text, not keys;
    // each character meets the rule as if it had been typed in turn.
    void composedTextMeetsTheSameRule_data() {
        QTest::addColumn<QString>("committed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("refusals");
        QTest::newRow("dead key: e acute") << u"\u00e9"_s << u"ANN"_s << 1;
        QTest::newRow("letters") << u"lee"_s << u"ANNLEE"_s << 0;
        QTest::newRow("capital letters") << u"LEE"_s << u"ANNLEE"_s << 0;
        QTest::newRow("letters around refused ones") << u"a1-b"_s << u"ANNAB"_s << 2;
        QTest::newRow("space") << u" "_s << u"ANN "_s << 0;
        QTest::newRow("ideographs") << u"\u674e\u5a1c"_s << u"ANN"_s << 2;
    }

    void composedTextMeetsTheSameRule() {
        QFETCH(QString, committed);
        QFETCH(QString, kept);
        QFETCH(int, refusals);
        QTest::keyClicks(name(), u"ann"_s);
        commit(committed);
        QCOMPARE(name()->text(), kept);
        QCOMPARE(fake->messageTexts(),
                 QStringList(qsizetype(refusals), u"Please Enter only Letters"_s));
    }

    void composedTextReplacesWhatTheInputMethodSays() {
        QTest::keyClicks(name(), u"annx"_s);
        QInputMethodEvent event;
        event.setCommitString(u"\u00e9e"_s, -1, 1); // the x goes, then é (refused) and e
        QApplication::sendEvent(name(), &event);
        QCOMPARE(name()->text(), u"ANNE"_s);
        QCOMPARE(fake->messageTexts(), QStringList{u"Please Enter only Letters"_s});
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

        this->name()->setText(name);
        pickDate(day, month, year);
        control<QComboBox>(*main, "cboYear")->setFocus();
        // Through the menu item, which must act exactly like the button.
        control<QAction>(*main, "mnuFindHealingSign")->trigger();
        QCOMPARE(fake->messageTexts(), QStringList{message});
        QCOMPARE(fake->messages.first().icon, MessageIcon::Information);
        QCOMPARE(fake->messages.first().buttons, MessageButtons::Ok);
        QCOMPARE(main->focusWidget()->objectName(), focusAfter);
        QVERIFY(main->isVisible());
        QCOMPARE(found->count(), 0);
        QCOMPARE(planetSign.ChironSign, QString());
    }

    void findLooksUpTheDateShown_data() {
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("sign");
        QTest::newRow("7 June 1933") << 7 << u"June"_s << 1933 << u"Gemini"_s;
        QTest::newRow("2 April 1968") << 2 << u"April"_s << 1968 << u"Aries"_s;
        QTest::newRow("29 February 1940") << 29 << u"February"_s << 1940 << u"Cancer"_s;
        QTest::newRow("31 December 2010") << 31 << u"December"_s << 2010 << u"Aquarius"_s;
    }

    void findLooksUpTheDateShown() {
        QFETCH(int, day);
        QFETCH(QString, month);
        QFETCH(int, year);
        QFETCH(QString, sign);
        name()->setText(u"ANN"_s);
        pickDate(day, month, year);
        control<QPushButton>(*main, "cmdNext")->click();
        QCOMPARE(found->count(), 1);
        QCOMPARE(planetSign.ChironSign, sign);
        QVERIFY(fake->messages.isEmpty());
        // Where the answer goes is not the window's business: it stays as it was.
        QVERIFY(main->isVisible());
        QCOMPARE(closing->count(), 0);
    }

    void findRightAfterOpeningUsesFirstOfJanuary1930() {
        QTest::keyClicks(name(), u"bo"_s);
        control<QPushButton>(*main, "cmdNext")->click();
        QCOMPARE(planetSign.ChironSign, u"Taurus"_s);
    }

    void enterAndEscape_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("searches");
        QTest::newRow("Enter in the name box") << u"txtName"_s << int(Qt::Key_Return) << false;
        QTest::newRow("Enter on a list") << u"cboMonth"_s << int(Qt::Key_Return) << false;
        QTest::newRow("Esc in the name box") << u"txtName"_s << int(Qt::Key_Escape) << false;
        QTest::newRow("Esc on the find button") << u"cmdNext"_s << int(Qt::Key_Escape) << false;
        QTest::newRow("Enter on the find button") << u"cmdNext"_s << int(Qt::Key_Return) << true;
    }

    void enterAndEscape() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, searches);
        name()->setText(u"ANN"_s);
        QWidget *target = main->findChild<QWidget *>(focus);
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        QCOMPARE(found->count(), searches ? 1 : 0);
        QCOMPARE(closing->count(), searches ? 0 : 1);
        QCOMPARE(main->isVisible(), searches);
    }

    // Back shows the window again as the user left it: the control that had the focus has it
    // again, a name with the caret where it was and nothing selected that was not.
    void theFocusComesBackAfterASearch_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("focusAfter");
        QTest::addColumn<QString>("nameAfterTyping");
        QTest::newRow("find button clicked") << u"click"_s << false << u"cmdNext"_s << u"ANN"_s;
        QTest::newRow("Alt+W") << u"access key"_s << false << u"txtName"_s << u"ANEN"_s;
        QTest::newRow("File menu") << u"menu"_s << false << u"txtName"_s << u"ANEN"_s;
        QTest::newRow("Alt+W, name selected") << u"access key"_s << true << u"txtName"_s << u"E"_s;
        QTest::newRow("Enter on the find button")
            << u"Enter"_s << false << u"cmdNext"_s << u"ANN"_s;
    }

    void theFocusComesBackAfterASearch() {
        QFETCH(QString, how);
        QFETCH(bool, selected);
        QFETCH(QString, focusAfter);
        QFETCH(QString, nameAfterTyping);
        QTest::keyClicks(name(), u"ann"_s);
        name()->cursorBackward(false);
        if (selected)
            name()->selectAll();
        auto *find = control<QPushButton>(*main, "cmdNext");
        // The answer takes the window's place, as the program does it.
        connect(main.get(), &frmMain::signFound, main.get(), &QWidget::hide);
        if (how == "click"_L1) {
            QTest::mouseClick(find, Qt::LeftButton);
        } else if (how == "access key"_L1) {
            QTest::keyClick(main.get(), Qt::Key_W, Qt::AltModifier);
        } else if (how == "menu"_L1) {
            QTest::keyClick(main.get(), Qt::Key_F, Qt::AltModifier);
            QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
        } else {
            QTest::keyClick(name(), Qt::Key_Tab);
            QTest::keyClick(control<QWidget>(*main, "cboDate"), Qt::Key_Tab);
            QTest::keyClick(control<QWidget>(*main, "cboMonth"), Qt::Key_Tab);
            QTest::keyClick(control<QWidget>(*main, "cboYear"), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), find);
            QTest::keyClick(find, Qt::Key_Return);
        }
        QTRY_COMPARE(found->count(), 1);
        QVERIFY(!main->isVisible());

        main->show();
        // The control the window hands the focus to as it becomes active again.
        QWidget *focus = main->focusWidget();
        QVERIFY(focus != nullptr);
        QCOMPARE(focus->objectName(), focusAfter);
        if (focus == name()) {
            QCOMPARE(name()->hasSelectedText(), selected);
            QCOMPARE(name()->cursorPosition(), selected ? 3 : 2);
        }
        QTest::keyClick(focus, Qt::Key_E);
        QCOMPARE(name()->text(), nameAfterTyping);
    }

    void exitMenuItemClosesTheWindow() {
        control<QAction>(*main, "mnuExit")->trigger();
        QCOMPARE(closing->count(), 1);
        QVERIFY(!main->isVisible());
    }

    void tabOrder() {
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 7; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(visited, (QStringList{u"txtName"_s, u"cboDate"_s, u"cboMonth"_s, u"cboYear"_s,
                                       u"cmdNext"_s, u"cmdExit"_s, u"Picture1"_s, u"txtName"_s}));
    }

    // What a screen reader finds of a date list besides what Orca says on Tab: the item it shows
    // as its text, where the list draws it, and the action that opens the list.
    void screenReadersReadAndOpenADateList() {
        auto *month = control<QComboBox>(*main, "cboMonth");
        month->setCurrentText(u"June"_s);
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(month);
        QAccessibleTextInterface *text = list->textInterface();
        QVERIFY(text);
        QCOMPARE(text->text(0, text->characterCount()), u"June"_s);
        const QRect third = text->characterRect(2);
        QVERIFY(QRect(month->mapToGlobal(QPoint()), month->size()).contains(third));
        QCOMPARE(text->offsetAtPoint(third.center()), 2);
        list->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(month->view()->isVisible() && list->state().expanded);
    }

    void promotionBroughtToTheFront_data() {
        QTest::addColumn<int>("promotion");
        QTest::addColumn<QString>("shown");
        QTest::newRow("co-brand") << int(Promotion::CoBrand) << u"lblCobrand"_s;
        QTest::newRow("full brand") << int(Promotion::FullBrand) << u"lblFullBrand"_s;
        QTest::newRow("as laid out: full brand covers")
            << int(Promotion::AsLaidOut) << u"lblFullBrand"_s;
    }

    void promotionBroughtToTheFront() {
        QFETCH(int, promotion);
        QFETCH(QString, shown);
        main->bringToFront(Promotion(promotion));
        auto *cobrand = control<QLabel>(*main, "lblCobrand");
        QCOMPARE(cobrand->parentWidget()->childAt(cobrand->geometry().center())->objectName(),
                 shown);
        // The one behind is hidden, so that no screen reader announces it.
        QCOMPARE(cobrand->isVisible() + control<QLabel>(*main, "lblFullBrand")->isVisible(), 1);
    }
};

QTEST_MAIN(TestBirthDataWindow)
#include "tst_frmmain.moc"
