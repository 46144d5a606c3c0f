// The links to the maker's pages, the about window and the farewell window, with the browser
// replaced by a recorder.
#include "app/Program.h"
#include "core/SupportTexts.h"
#include "support/FakePlatform.h"
#include "windows/frmAbout.h"
#include "windows/frmDisplay.h"
#include "windows/frmFarewell.h"
#include "windows/frmMain.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace woundwell;
using namespace woundwell::test;
using namespace Qt::StringLiterals;

namespace {

const QString Site = u"http://www.quorvane.com"_s;

void clickLabel(QWidget &window, const QString &name) {
    auto *label = window.findChild<QLabel *>(name);
    QVERIFY2(label, qPrintable(name));
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
}

// As the desktop delivers a double click: a click, then a second press that arrives as the
// double click, and its release.
void doubleClick(QWidget *widget) {
    const QPoint at = widget->rect().center();
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    const QPoint global = widget->mapToGlobal(at);
    QMouseEvent second(QEvent::MouseButtonDblClick, at, global, Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(widget, &second);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(widget, &release);
}

} // namespace

class TestOutreach : public QObject {
    Q_OBJECT

    std::unique_ptr<FakePlatform> fake;
    modPlanetSign planetSign;
    modTellAFriend tellAFriend;
    std::unique_ptr<QWidget> window;

    // One of the two main windows, built on its own and shown: the birth-data window, or the
    // result window.
    QWidget &mainWindow(bool result) {
        if (result)
            window = std::make_unique<frmDisplay>(*fake);
        else
            window = std::make_unique<frmMain>(*fake, planetSign);
        window->show();
        return *window;
    }

    frmFarewell &farewellWindow() {
        window = std::make_unique<frmFarewell>(*fake, tellAFriend);
        return static_cast<frmFarewell &>(*window);
    }

private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        fake->settings.insert(u"Settings/Duration"_s, u"2026-12-07"_s);
    }

    void cleanup() {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        fake.reset();
    }

    void menuCommandsOpenTheirPage_data() {
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("address");
        for (bool result : {false, true}) {
            const char *window = result ? "result" : "birth data";
            QTest::addRow("%s: online help", window)
                << result << u"mnuOnline"_s << Site + u"/woundwell/woundwell-help.html"_s;
            QTest::addRow("%s: visit", window) << result << u"mnuVisit"_s << Site;
            QTest::addRow("%s: update", window)
                << result << u"mnuUpdate"_s << Site + u"/woundwell/download-woundwell.html"_s;
            QTest::addRow("%s: donate", window)
                << result << u"mnuDonate"_s << Site + u"/donate.html"_s;
            QTest::addRow("%s: make money", window)
                << result << u"mnuMakeMoneyOnline"_s << Site + u"/fully-branded.html"_s;
        }
    }

    void menuCommandsOpenTheirPage() {
        QFETCH(bool, result);
        QFETCH(QString, item);
        QFETCH(QString, address);
        QWidget &window = mainWindow(result);
        const int writes = fake->settingWrites;
        auto *action = window.findChild<QAction *>(item);
        QVERIFY(action);
        action->trigger();
        QCOMPARE(fake->openedAddresses(), QStringList{address});
        action->trigger();
        QCOMPARE(fake->openedAddresses(), (QStringList{address, address}));
        QCOMPARE(fake->settingWrites, writes); // the update command leaves Duration alone
        QCOMPARE(fake->settings.value(u"Settings/Duration"_s), u"2026-12-07"_s);
        QVERIFY(fake->messages.isEmpty());
    }

    void barCommandsActStraightFromTheBar() {
        QWidget &window = mainWindow(false);
        auto *bar = window.findChild<QMenuBar *>();
        QVERIFY(bar);
        QStringList onBar;
        for (QAction *action : bar->actions()) {
            onBar.append(action->text());
            if (action->objectName() == u"mnuDonate"_s ||
                action->objectName() == u"mnuMakeMoneyOnline"_s)
                QVERIFY2(!action->menu(), qPrintable(action->text()));
        }
        QCOMPARE(onBar,
                 (QStringList{u"&File"_s, u"&Help"_s, u"&Donate"_s, u"Make Money &Online"_s}));
    }

    void labelsOpenTheirPage_data() {
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("address");
        for (bool result : {false, true}) {
            const char *window = result ? "result" : "birth data";
            QTest::addRow("%s: forum banner", window) << result << u"Label61"_s << Site;
            QTest::addRow("%s: co-brand", window)
                << result << u"lblCobrand"_s << Site + u"/co-brand.html"_s;
            QTest::addRow("%s: full brand", window)
                << result << u"lblFullBrand"_s << Site + u"/fully-branded.html"_s;
        }
        QTest::newRow("Date Of Birth") << false << u"Label2"_s << Site + u"/fully-branded.html"_s;
    }

    void labelsOpenTheirPage() {
        QFETCH(bool, result);
        QFETCH(QString, label);
        QFETCH(QString, address);
        QWidget &window = mainWindow(result);
        clickLabel(window, label);
        QCOMPARE(fake->openedAddresses(), QStringList{address});
        clickLabel(window, label);
        QCOMPARE(fake->openedAddresses().size(), 2);
    }

    // The second click of a double click is not a click of its own: the page opens once.
    void aDoubleClickOpensOnePage_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("link");
        for (const char *link : {"Label61", "lblCobrand", "lblFullBrand", "Label2"})
            QTest::addRow("birth data: %s", link) << u"frmMain"_s << QString::fromLatin1(link);
        for (const char *link : {"Label61", "lblCobrand", "lblFullBrand"})
            QTest::addRow("result: %s", link) << u"frmDisplay"_s << QString::fromLatin1(link);
        for (const char *link : {"lblHomePage", "Label5"})
            QTest::addRow("about: %s", link) << u"frmAbout"_s << QString::fromLatin1(link);
        for (const char *link : {"lblGoToHome", "Check1"})
            QTest::addRow("farewell: %s", link) << u"frmFarewell"_s << QString::fromLatin1(link);
    }

    void aDoubleClickOpensOnePage() {
        QFETCH(QString, window);
        QFETCH(QString, link);
        if (window == "frmAbout"_L1)
            this->window = std::make_unique<frmAbout>(*fake, nullptr);
        else if (window == "frmFarewell"_L1)
            farewellWindow();
        else
            mainWindow(window == "frmDisplay"_L1);
        this->window->show();
        auto *control = this->window->findChild<QWidget *>(link);
        QVERIFY(control);
        doubleClick(control);
        QCOMPARE(fake->openedAddresses().size(), 1);
        QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
        QCOMPARE(fake->openedAddresses().size(), 2);
    }

    void screenReadersSeeLinksTheyCanFollow() {
        QWidget &window = mainWindow(false);
        QAccessibleInterface *link =
            QAccessible::queryAccessibleInterface(window.findChild<QLabel *>(u"Label2"_s));
        QVERIFY(link);
        QCOMPARE(link->role(), QAccessible::Link);
        QCOMPARE(link->text(QAccessible::Name), u"Date Of Birth"_s);
        QAccessibleActionInterface *actions = link->actionInterface();
        QVERIFY(actions);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(fake->openedAddresses(), QStringList{Site + u"/fully-branded.html"_s});
    }

    // What a screen reader meets is what is seen: every window as a window, the panel around the
    // name and date by what it holds, and a link in a frame by its own words, with the frame's
    // title as its description.
    void screenReadersMeetWhatIsSeen() {
        QCOMPARE(QAccessible::queryAccessibleInterface(&mainWindow(true))->role(),
                 QAccessible::Dialog);
        QWidget &main = mainWindow(false);
        QCOMPARE(QAccessible::queryAccessibleInterface(&main)->role(), QAccessible::Dialog);
        QAccessibleInterface *panel =
            QAccessible::queryAccessibleInterface(main.findChild<QWidget *>(u"Picture1"_s));
        QCOMPARE(panel->role(), QAccessible::Grouping);
        QCOMPARE(panel->text(QAccessible::Name), u"Your name and date of birth"_s);

        frmFarewell &farewell = farewellWindow();
        QCOMPARE(QAccessible::queryAccessibleInterface(&farewell)->role(), QAccessible::Dialog);
        QAccessibleInterface *link =
            QAccessible::queryAccessibleInterface(farewell.findChild<QLabel *>(u"lblGoToHome"_s));
        QCOMPARE(link->text(QAccessible::Name), u"Click Here To Visit Quorvane Softwares"_s);
        QCOMPARE(link->text(QAccessible::Description), u"Download Quorvane Softwares"_s);
    }

    void aboutWindowIsModalAndItsLinksKeepItOpen() {
        QWidget &window = mainWindow(false);
        QStringList seen;
        bool wasModal = false;
        QTimer::singleShot(0, this, [&] {
            QWidget *about = QApplication::activeModalWidget();
            QVERIFY(about);
            seen.append(about->objectName());
            wasModal = about->isModal();
            clickLabel(*about, u"lblHomePage"_s);
            clickLabel(*about, u"Label5"_s);
            seen.append(QApplication::activeModalWidget() == about ? u"still open"_s : u"closed"_s);
            QTest::keyClick(about, Qt::Key_Return);
        });
        window.findChild<QAction *>(u"mnuAbout"_s)->trigger();
        QCOMPARE(seen, (QStringList{u"frmAbout"_s, u"still open"_s}));
        QVERIFY(wasModal);
        QCOMPARE(fake->openedAddresses(), (QStringList{Site, Site + u"/fully-branded.html"_s}));
        QVERIFY(!QApplication::activeModalWidget());

        // Escape closes it too, and each opening starts afresh.
        QTimer::singleShot(0, this, [] {
            QWidget *about = QApplication::activeModalWidget();
            QVERIFY(about);
            QTest::keyClick(about, Qt::Key_Escape);
        });
        window.findChild<QAction *>(u"mnuAbout"_s)->trigger();
        QVERIFY(!QApplication::activeModalWidget());
    }

    void farewellTextIsDrawnAtLoad_data() {
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("text");
        QTest::newRow("0") << 0.0f << 0;
        QTest::newRow("three quarters") << 0.75f << 3;
    }

    void farewellTextIsDrawnAtLoad() {
        QFETCH(float, r);
        QFETCH(int, text);
        fake->randomValues = {r};
        frmFarewell &farewell = farewellWindow();
        QCOMPARE(fake->seeds, 1);
        QCOMPARE(farewell.findChild<QLabel *>(u"Label2"_s)->text(),
                 SupportTexts()[std::size_t(text)]);
    }

    void farewellTextIsKeptForTheRun() {
        fake->randomValues = {0.0f /* co-brand */, 0.6f /* farewell: text 2 */, 0.1f, 0.9f};
        Program program(*fake);
        program.start();
        frmMain &main = program.mainForm();
        main.findChild<QLineEdit *>(u"txtName"_s)->setText(u"ANN"_s);
        main.findChild<QPushButton *>(u"cmdNext"_s)->click();
        const QString picked = program.farewellForm().findChild<QLabel *>(u"Label2"_s)->text();
        QCOMPARE(picked, SupportTexts()[2]);
        program.displayForm().findChild<QPushButton *>(u"cmdBack"_s)->click();
        main.close();
        QVERIFY(program.farewellForm().isVisible());
        QCOMPARE(program.farewellForm().findChild<QLabel *>(u"Label2"_s)->text(), picked);
        QCOMPARE(fake->seeds, 2); // at start-up and at the one load of the farewell window
    }

    void farewellWindowStaysOnTopWithoutTakingFocus() {
        frmFarewell &farewell = farewellWindow();
        QVERIFY(farewell.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(farewell.testAttribute(Qt::WA_ShowWithoutActivating));
        QVERIFY(!(farewell.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(farewell.windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void forumButtonNeverStaysTicked() {
        frmFarewell &farewell = farewellWindow();
        farewell.show();
        auto *forum = farewell.findChild<QPushButton *>(u"Check1"_s);
        QTest::mouseClick(forum, Qt::LeftButton);
        QVERIFY(!forum->isChecked());
        QTest::mouseClick(forum, Qt::LeftButton);
        QVERIFY(!forum->isChecked());
        QCOMPARE(fake->openedAddresses(), (QStringList{Site, Site}));
        clickLabel(farewell, u"lblGoToHome"_s);
        QCOMPARE(fake->openedAddresses().last(), Site + u"/quorvanesoftwares"_s);
    }

    void hiddenExitButtonsNeverTakeTheFocus() {
        frmFarewell &farewell = farewellWindow();
        farewell.show();
        farewell.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&farewell));
        QStringList visited;
        for (int i = 0; i < 10; ++i) {
            visited.append(QApplication::focusWidget()->objectName());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, (QStringList{u"cmdClose"_s, u"Check1"_s, u"Picture1"_s, u"txtName"_s,
                                       u"cmdSubmit"_s, u"txtEmail"_s, u"txtFriendEmail"_s,
                                       u"txtFriendName"_s, u"txtMessage"_s, u"cmdClose"_s}));
    }
};

QTEST_MAIN(TestOutreach)
#include "tst_outreach.moc"
