// The result window on its own: what it shows for an answer, and Back, Exit, Enter and Esc.
#include "core/SignReadings.h"
#include "support/Controls.h"
#include "support/FakePlatform.h"
#include "windows/frmDisplay.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace woundwell;
using namespace woundwell::test;
using namespace Qt::StringLiterals;

class TestResultWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<frmDisplay> display;
    // What the window reported, in order.
    QStringList reports;

    QString healingSign() { return control<QLabel>(*display, "lblHealingSign")->text(); }
    QString reading() { return control<QLabel>(*display, "lblSignDesc")->text(); }

private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        display = std::make_unique<frmDisplay>(*fake);
        reports.clear();
        connect(display.get(), &frmDisplay::closing, this, [this] { reports << u"closing"_s; });
        connect(display.get(), &frmDisplay::backRequested, this, [this] { reports << u"back"_s; });
        display->Fill(u"Gemini"_s);
        display->show();
        display->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(display.get()));
    }

    void cleanup() {
        display.reset();
        fake.reset();
    }

    void showsTheSignAndItsReading_data() {
        QTest::addColumn<QString>("sign");
        for (int i = 0; i < SignCount; ++i)
            QTest::newRow(qPrintable(signName(Sign(i)))) << signName(Sign(i));
    }

    void showsTheSignAndItsReading() {
        QFETCH(QString, sign);
        display->Fill(sign);
        QCOMPARE(healingSign(), sign);
        QCOMPARE(reading(), signReading(*signFromName(sign)));
        QCOMPARE(QApplication::focusWidget(), control<QPushButton>(*display, "cmdExit"));
    }

    void aTextThatNamesNoSignLeavesTheReadingAlone() {
        frmDisplay fresh(*fake);
        fresh.Fill(QString());
        QCOMPARE(control<QLabel>(fresh, "lblHealingSign")->text(), QString());
        QCOMPARE(control<QLabel>(fresh, "lblSignDesc")->text(), signReading(Sign::Taurus));
        fresh.Fill(u"Leo"_s);
        fresh.Fill(u"leo"_s);
        QCOMPARE(control<QLabel>(fresh, "lblHealingSign")->text(), u"leo"_s);
        QCOMPARE(control<QLabel>(fresh, "lblSignDesc")->text(), signReading(Sign::Leo));
    }

    // Besides what Orca says of it as the window opens, a screen reader finds Exit as Qt shows a
    // button: its name, that it is the default one, and the action that presses it.
    void screenReadersFindExitAsAButton() {
        QAccessibleInterface *exit =
            QAccessible::queryAccessibleInterface(control<QPushButton>(*display, "cmdExit"));
        QCOMPARE(exit->role(), QAccessible::PushButton);
        QCOMPARE(exit->text(QAccessible::Name), u"Exit"_s);
        QVERIFY(exit->state().defaultButton && exit->state().focused);
        exit->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(reports, QStringList{u"closing"_s});
    }

    // The sign by a double click and Ctrl+C, the reading by a drag and the context menu's Copy;
    // Enter in a selected label still takes the default button, Exit.
    void theSignAndTheReadingCanBeCopied() {
        auto *sign = control<QLabel>(*display, "lblHealingSign");
        QTest::mouseDClick(sign, Qt::LeftButton, {}, sign->rect().center());
        QTest::keyClick(sign, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"Gemini"_s);

        auto *reading = control<QLabel>(*display, "lblSignDesc");
        QTest::mousePress(reading, Qt::LeftButton, {}, QPoint(1, 1));
        QTest::mouseMove(reading, reading->rect().bottomRight() - QPoint(1, 1));
        QTest::mouseRelease(reading, Qt::LeftButton, {},
                            reading->rect().bottomRight() - QPoint(1, 1));
        QVERIFY(reading->hasSelectedText());
        QContextMenuEvent menuAsked(QContextMenuEvent::Mouse, QPoint(5, 5),
                                    reading->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(reading, &menuAsked);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        const QList<QAction *> actions = menu->actions();
        const auto copy = std::find_if(actions.cbegin(), actions.cend(), [](QAction *action) {
            return action->text().remove(u'&').startsWith(u"Copy"_s);
        });
        QVERIFY(copy != actions.cend());
        (*copy)->trigger();
        menu->close();
        QCOMPARE(QGuiApplication::clipboard()->text(), signReading(Sign::Gemini));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(reports, QStringList{u"closing"_s});
    }

    void backAsksForTheEntriesThenClosesTheWindow_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("button") << u"button"_s;
        QTest::newRow("menu") << u"menu"_s;
        QTest::newRow("Tab to Back, then Enter") << u"keys"_s;
    }

    void backAsksForTheEntriesThenClosesTheWindow() {
        QFETCH(QString, how);
        if (how == u"button"_s) {
            control<QPushButton>(*display, "cmdBack")->click();
        } else if (how == u"menu"_s) {
            control<QAction>(*display, "mnuFileBack")->trigger();
        } else {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), u"cmdBack"_s);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        QCOMPARE(reports, (QStringList{u"back"_s, u"closing"_s}));
        QVERIFY(!display->isVisible());
    }

    void exitClosesTheWindow_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("button") << u"button"_s;
        QTest::newRow("menu") << u"menu"_s;
        QTest::newRow("Enter") << u"Enter"_s;
        QTest::newRow("Esc on Back") << u"Esc"_s;
        QTest::newRow("close box") << u"close"_s;
    }

    void exitClosesTheWindow() {
        QFETCH(QString, how);
        if (how == u"button"_s) {
            control<QPushButton>(*display, "cmdExit")->click();
        } else if (how == u"menu"_s) {
            control<QAction>(*display, "mnuExit")->trigger();
        } else if (how == u"Enter"_s) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else if (how == u"Esc"_s) {
            control<QPushButton>(*display, "cmdBack")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        } else {
            display->close();
        }
        QCOMPARE(reports, QStringList{u"closing"_s});
        QVERIFY(!display->isVisible());
    }
};

QTEST_MAIN(TestResultWindow)
#include "tst_frmdisplay.moc"
