// The refer-a-friend form of the farewell window: prompts, the e-mail boxes' key filter, the
// checks on submission and the address the browser receives.
#include "core/modTellAFriend.h"
#include "support/FakePlatform.h"
#include "windows/frmFarewell.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrlQuery>

using namespace woundwell;
using namespace woundwell::test;
using namespace Qt::StringLiterals;

namespace {

QUrlQuery queryOf(const QString &address) {
    return QUrlQuery(QUrl(address, QUrl::StrictMode));
}

} // namespace

class TestReferral : public QObject {
    Q_OBJECT

    std::unique_ptr<FakePlatform> fake;
    modTellAFriend values;
    std::unique_ptr<frmFarewell> farewell;

    QLineEdit *box(const char *name) {
        return farewell->findChild<QLineEdit *>(QString::fromLatin1(name));
    }
    QPlainTextEdit *message() { return farewell->findChild<QPlainTextEdit *>(u"txtMessage"_s); }
    void submit() { farewell->findChild<QPushButton *>(u"cmdSubmit"_s)->click(); }

    // Types into a box the way a user gets there: focus moved by the keyboard.
    void typeInto(QWidget *target, const QString &text) {
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(target, text);
    }

    void fill(const QString &name, const QString &email, const QString &friendName,
              const QString &friendEmail) {
        box("txtName")->setText(name);
        box("txtEmail")->setText(email);
        box("txtFriendName")->setText(friendName);
        box("txtFriendEmail")->setText(friendEmail);
    }

private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        values = {};
        farewell = std::make_unique<frmFarewell>(*fake, values);
        farewell->show();
        farewell->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(farewell.get()));
    }

    void cleanup() {
        farewell.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        fake.reset();
    }

    void boxesStartWithTheirPrompts() {
        QCOMPARE(box("txtName")->text(), u"Your Name"_s);
        QCOMPARE(box("txtEmail")->text(), u"Your Email Address"_s);
        QCOMPARE(box("txtFriendName")->text(), u"Friend's Name"_s);
        QCOMPARE(box("txtFriendEmail")->text(), u"Friend's Email Address"_s);
        QCOMPARE(message()->toPlainText(), u"Your Message\n"_s);
    }

    void promptsClearOnEntryAndReturnWhenLeftEmpty() {
        QLineEdit *name = box("txtName");
        name->setText(u"  Your Name "_s);
        // The prompt goes once control is back in the event loop, after the focus is reported.
        name->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(name->text(), QString());
        box("txtEmail")->setFocus(Qt::TabFocusReason);
        QCOMPARE(name->text(), u"Your Name"_s);
        QTRY_COMPARE(box("txtEmail")->text(), QString());

        // Spaces only count as empty; anything else is kept.
        QTest::keyClicks(box("txtEmail"), u"a@b.c"_s);
        name->setFocus(Qt::TabFocusReason);
        QCOMPARE(box("txtEmail")->text(), u"a@b.c"_s);
        QTest::keyClicks(name, u"   "_s);
        box("txtEmail")->setFocus(Qt::TabFocusReason);
        QCOMPARE(name->text(), u"Your Name"_s);
    }

    void hiddenMessageBoxKeepsItsLineBreakUntilEmptied() {
        message()->setFocus(Qt::TabFocusReason);
        QCOMPARE(message()->toPlainText(), u"Your Message\n"_s); // not the bare prompt
        message()->clear();
        box("txtName")->setFocus(Qt::TabFocusReason);
        QCOMPARE(message()->toPlainText(), u"Your Message"_s);

        fill(u"Ann"_s, u"ann@x.org"_s, u"Bob"_s, u"bob@y.org"_s);
        submit();
        QCOMPARE(fake->messageTexts(), QStringList{u"Please Enter Your Message"_s});
        QVERIFY(fake->opened.isEmpty());
    }

    void emailBoxesRefuseSpaces() {
        for (const char *name : {"txtEmail", "txtFriendEmail"}) {
            fake->messages.clear();
            QLineEdit *email = box(name);
            typeInto(email, u"ann @x"_s);
            QCOMPARE(email->text(), u"ann@x"_s);
            QCOMPARE(fake->messageTexts(), QStringList{u"Email Address Cannot Contain Space"_s});
            QCOMPARE(fake->messages.first().icon, MessageIcon::Critical);
            QCOMPARE(QApplication::focusWidget(), email);
        }
        fake->messages.clear();
        typeInto(box("txtName"), u"Ann Lee"_s);
        QCOMPARE(box("txtName")->text(), u"Ann Lee"_s);
        QVERIFY(fake->messages.isEmpty());
    }

    void emailBoxesRefuseComposedSpaces() {
        QLineEdit *email = box("txtEmail");
        typeInto(email, u"ann"_s);
        QInputMethodEvent composed;
        composed.setCommitString(u"@x .org"_s);
        QApplication::sendEvent(email, &composed);
        QCOMPARE(email->text(), u"ann@x.org"_s);
        QCOMPARE(fake->messageTexts(), QStringList{u"Email Address Cannot Contain Space"_s});
        QCOMPARE(QApplication::focusWidget(), email);
    }

    void submissionChecksInOrder_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("email");
        QTest::addColumn<QString>("friendName");
        QTest::addColumn<QString>("friendEmail");
        QTest::addColumn<QString>("refusal");

        const QString proper = u"Please Enter Proper Email Address"_s;
        QTest::newRow("all prompts") << u"Your Name"_s << u"Your Email Address"_s
                                     << u"Friend's Name"_s << u"Friend's Email Address"_s << proper;
        QTest::newRow("same address") << u"Ann"_s << u"a@x.org"_s << u"Bob"_s << u" a@x.org "_s
                                      << u"Please Enter Distinct Email Addresses"_s;
        QTest::newRow("same address, both empty") << u"Ann"_s << QString() << u"Bob"_s << QString()
                                                  << u"Please Enter Distinct Email Addresses"_s;
        QTest::newRow("no @") << u"Ann"_s << u"ax.org"_s << u"Bob"_s << u"b@y.org"_s << proper;
        QTest::newRow("friend without @")
            << u"Ann"_s << u"a@x.org"_s << u"Bob"_s << u"by.org"_s << proper;
        QTest::newRow("no dot") << u"Ann"_s << u"a@x"_s << u"Bob"_s << u"b@y.org"_s << proper;
        QTest::newRow("name still the prompt") << u"Your Name"_s << u"a@x.org"_s << u"Bob"_s
                                               << u"b@y.org"_s << u"Please Enter Your Name"_s;
        QTest::newRow("name of spaces")
            << u"   "_s << u"a@x.org"_s << u"Bob"_s << u"b@y.org"_s << u"Please Enter Your Name"_s;
        QTest::newRow("friend's name still the prompt")
            << u"Ann"_s << u"a@x.org"_s << u" Friend's Name "_s << u"b@y.org"_s
            << u"Please Enter Your Friend's Name"_s;
    }

    void submissionChecksInOrder() {
        QFETCH(QString, name);
        QFETCH(QString, email);
        QFETCH(QString, friendName);
        QFETCH(QString, friendEmail);
        QFETCH(QString, refusal);
        fill(name, email, friendName, friendEmail);
        submit();
        QCOMPARE(fake->messageTexts(), QStringList{refusal});
        QCOMPARE(fake->messages.first().icon, MessageIcon::Critical);
        QCOMPARE(fake->messages.first().buttons, MessageButtons::Ok);
        QVERIFY(fake->opened.isEmpty());
        QCOMPARE(box("txtName")->text(), name); // the form stays as it was
    }

    void addressesDifferingInCaseAreDistinct() {
        fill(u"Ann"_s, u"Ann@X.org"_s, u"Bob"_s, u"ann@x.org"_s);
        submit();
        QVERIFY(fake->messages.isEmpty());
        QCOMPARE(fake->opened.size(), 1);
    }

    void untouchedFormSendsTheTrimmedEntries() {
        fill(u"  Ann Lee  "_s, u" ann@x.org"_s, u"Bob "_s, u"bob@y.org"_s);
        submit();
        QVERIFY(fake->messages.isEmpty());
        QCOMPARE(values.ReferrerName, u"Ann Lee"_s);
        QCOMPARE(values.ReferralMessage, u"Your Message\r\n"_s);
        QCOMPARE(fake->openedAddresses(), QStringList{values.ReferralAddress});
        QCOMPARE(values.ReferralAddress,
                 u"http://www.quorvane.com/qvsw-refer-a-friend.php?taf1=Ann%20Lee"
                 "&taf2=ann%40x.org&taf3=Your%20Message%0D%0A&taf4=Bob&taf5=bob%40y.org"
                 "&taf6=http://www.quorvane.com/woundwell/"_s);

        // Nothing else happens, and a second press submits again.
        QVERIFY(farewell->isVisible());
        QCOMPARE(box("txtName")->text(), u"  Ann Lee  "_s);
        submit();
        QCOMPARE(fake->opened.size(), 2);
    }

    void awkwardEntriesArriveAsTyped_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("ampersand and equals") << u"Ann & Bob=1"_s << u"a&taf5=evil@x.org"_s;
        QTest::newRow("hash") << u"No #1"_s << u"#fragment"_s;
        QTest::newRow("plus") << u"A+B"_s << u"1 + 1"_s;
        QTest::newRow("percent") << u"100%"_s << u"%41%2"_s;
        QTest::newRow("line breaks") << u"Ann"_s << u"line one\r\nline two\nthree"_s;
        QTest::newRow("letters beyond ASCII") << u"Zoë Ångström"_s << u"Grüße, 東京 ✓"_s;
        QTest::newRow("tabs kept") << u"\tAnn\t"_s << u"\tx"_s;
    }

    void awkwardEntriesArriveAsTyped() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        const QString address =
            buildReferralAddress(name, u"a@x.org"_s, text, text, u"b+c@y.org"_s);
        const QUrl url(address, QUrl::StrictMode);
        QVERIFY(url.isValid());
        QVERIFY(!url.hasFragment());
        QCOMPARE(url.toString(QUrl::RemoveQuery),
                 u"http://www.quorvane.com/qvsw-refer-a-friend.php"_s);
        const QUrlQuery query = queryOf(address);
        const auto items = query.queryItems(QUrl::FullyDecoded);
        QStringList keys;
        for (const auto &item : items)
            keys.append(item.first);
        QCOMPARE(keys,
                 (QStringList{u"taf1"_s, u"taf2"_s, u"taf3"_s, u"taf4"_s, u"taf5"_s, u"taf6"_s}));
        QCOMPARE(query.queryItemValue(u"taf1"_s, QUrl::FullyDecoded), name);
        QCOMPARE(query.queryItemValue(u"taf3"_s, QUrl::FullyDecoded), text);
        QCOMPARE(query.queryItemValue(u"taf4"_s, QUrl::FullyDecoded), text);
        QCOMPARE(query.queryItemValue(u"taf5"_s, QUrl::FullyDecoded), u"b+c@y.org"_s);
        QCOMPARE(query.queryItemValue(u"taf6"_s, QUrl::FullyDecoded),
                 u"http://www.quorvane.com/woundwell/"_s);
        // What the browser is handed is the same address, byte for byte.
        QCOMPARE(QString::fromLatin1(url.toEncoded()), address);
    }

    void tellAFriendChecksEveryValueItself_data() {
        QTest::addColumn<int>("emptied");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("name") << 0 << u"Please Enter Your Name"_s;
        QTest::newRow("email") << 1 << u"Please Enter Your Email"_s;
        QTest::newRow("message") << 2 << u"Please Enter Your Message"_s;
        QTest::newRow("friend's name") << 3 << u"Please Enter Your Friend's Name"_s;
        QTest::newRow("friend's email") << 4 << u"Please Enter Your Friend's Email"_s;
    }

    void tellAFriendChecksEveryValueItself() {
        QFETCH(int, emptied);
        QFETCH(QString, refusal);
        modTellAFriend own;
        std::array<QString *, 5> fields{&own.ReferrerName, &own.ReferrerEmail, &own.ReferralMessage,
                                        &own.FriendName, &own.FriendEmail};
        for (std::size_t i = 0; i < fields.size(); ++i)
            *fields[i] = u"value "_s + QString::number(i);
        for (const QString &blank :
             {QString(), u"   "_s, referralFields()[std::size_t(emptied)].placeholder}) {
            fake->messages.clear();
            *fields[std::size_t(emptied)] = blank;
            own.TellAFriend(*fake, nullptr);
            QCOMPARE(fake->messageTexts(), QStringList{refusal});
            QVERIFY(fake->opened.isEmpty());
            QVERIFY(own.ReferralAddress.isEmpty());
        }
    }
};

QTEST_MAIN(TestReferral)
#include "tst_referral.moc"
