// The update reminder at start-up, with the clock and the settings store replaced.
#include "core/modHelp.h"
#include "support/FakePlatform.h"

#include <QTest>

using namespace woundwell;
using namespace woundwell::test;
using namespace Qt::StringLiterals;

namespace {
const QString Duration = u"Settings/Duration"_s;
const QString DownloadPage = u"http://www.quorvane.com/woundwell/download-woundwell.html"_s;
} // namespace

class TestReminder : public QObject {
    Q_OBJECT

private slots:
    void firstStartStoresTodayQuietly() {
        FakePlatform fake;
        modHelp::UpdateReminder(fake);
        QVERIFY(fake.messages.isEmpty());
        QVERIFY(fake.opened.isEmpty());
        QCOMPARE(fake.settings.value(Duration), u"2026-12-07"_s);
    }

    void dueAfterMoreThanAFortnightEitherWay_data() {
        QTest::addColumn<int>("daysFromToday");
        QTest::addColumn<bool>("asks");
        QTest::newRow("14 days ago") << -14 << false;
        QTest::newRow("15 days ago") << -15 << true;
        QTest::newRow("14 days ahead") << 14 << false;
        QTest::newRow("15 days ahead") << 15 << true;
        QTest::newRow("today") << 0 << false;
        QTest::newRow("years ago") << -4000 << true;
    }

    void dueAfterMoreThanAFortnightEitherWay() {
        QFETCH(int, daysFromToday);
        QFETCH(bool, asks);
        FakePlatform fake;
        fake.answer = MessageAnswer::No;
        const QString stored = fake.todayDate.addDays(daysFromToday).toString(u"yyyy-MM-dd"_s);
        fake.settings.insert(Duration, stored);
        modHelp::UpdateReminder(fake);
        QCOMPARE(fake.messages.size(), asks ? 1 : 0);
        QCOMPARE(fake.settings.value(Duration), asks ? u"2026-12-07"_s : stored);
        QCOMPARE(fake.settingWrites, asks ? 1 : 0);
        QVERIFY(fake.opened.isEmpty());
        if (asks) {
            const FakePlatform::Message &question = fake.messages.first();
            QCOMPARE(question.text, u"There maybe an update to this software available\r"
                                    "Do you want to check for an update?"_s);
            QCOMPARE(question.icon, MessageIcon::Information);
            QCOMPARE(question.buttons, MessageButtons::YesNo);
        }
    }

    void yesOpensTheDownloadPageOnce() {
        FakePlatform fake;
        fake.answer = MessageAnswer::Yes;
        fake.settings.insert(Duration, u"2026-11-01"_s);
        modHelp::UpdateReminder(fake);
        QCOMPARE(fake.openedAddresses(), QStringList{DownloadPage});
        QCOMPARE(fake.settings.value(Duration), u"2026-12-07"_s);

        // The answer counts as the reminder: nothing more for a fortnight.
        fake.todayDate = fake.todayDate.addDays(14);
        modHelp::UpdateReminder(fake);
        QCOMPARE(fake.messages.size(), 1);
        fake.todayDate = fake.todayDate.addDays(1);
        modHelp::UpdateReminder(fake);
        QCOMPARE(fake.messages.size(), 2);
    }

    void unreadableDateIsLeftAlone_data() {
        QTest::addColumn<QString>("stored");
        QTest::newRow("words") << u"last Tuesday"_s;
        QTest::newRow("another date format") << u"07/12/2026"_s;
        QTest::newRow("no such day") << u"2026-02-30"_s;
        QTest::newRow("binary") << QString::fromLatin1("\x01\x02\xff", 3);
    }

    void unreadableDateIsLeftAlone() {
        QFETCH(QString, stored);
        FakePlatform fake;
        fake.settings.insert(Duration, stored);
        modHelp::UpdateReminder(fake);
        QVERIFY(fake.messages.isEmpty());
        QCOMPARE(fake.settingWrites, 0);
        QCOMPARE(fake.settings.value(Duration), stored);
    }
};

QTEST_GUILESS_MAIN(TestReminder)
#include "tst_reminder.moc"
