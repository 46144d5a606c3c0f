// The per-character rule of a text box, for keys and for what input methods compose, seen from
// the box: what reaches it, and what is reported.
#include "keyboard/CharacterFilter.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace woundwell;
using namespace Qt::StringLiterals;

namespace {

// Capitals go in, small letters become capitals, everything else is refused.
std::optional<char16_t> capitalsOnly(char16_t c) {
    if (c >= u'a' && c <= u'z')
        return static_cast<char16_t>(c - 32);
    if (c >= u'A' && c <= u'Z')
        return c;
    return std::nullopt;
}

// A text box that writes down the input-method events it is finally given.
class RecordingBox final : public QLineEdit {
public:
    struct Received {
        QString preedit;
        QString commit;
        int replacementStart;
        int replacementLength;
        QList<QInputMethodEvent::Attribute> attributes;
    };
    QList<Received> received;

protected:
    void inputMethodEvent(QInputMethodEvent *event) override {
        received.append({event->preeditString(), event->commitString(), event->replacementStart(),
                         event->replacementLength(), event->attributes()});
        QLineEdit::inputMethodEvent(event);
    }
};

QInputMethodEvent::Attribute attribute(QInputMethodEvent::AttributeType type, int start,
                                       int length) {
    return {type, start, length, QVariant()};
}

} // namespace

class TestCharacterFilter : public QObject {
    Q_OBJECT

    std::unique_ptr<RecordingBox> box;
    std::unique_ptr<QSignalSpy> refused;

private slots:
    void init() {
        box = std::make_unique<RecordingBox>();
        refused = std::make_unique<QSignalSpy>(new CharacterFilter(box.get(), capitalsOnly),
                                               &CharacterFilter::refused);
        box->show();
        box->setFocus();
    }

    void cleanup() {
        refused.reset();
        box.reset();
    }

    void keysMeetTheRule() {
        QTest::keyClicks(box.get(), u"ab"_s);
        QTest::keyClick(box.get(), Qt::Key_1);
        QTest::keyClicks(box.get(), u"C"_s);
        QCOMPARE(box->text(), u"ABC"_s);
        QCOMPARE(refused->count(), 1);
        // Keys that type nothing are the box's own.
        QTest::keyClick(box.get(), Qt::Key_Home);
        QTest::keyClick(box.get(), Qt::Key_Delete);
        QTest::keyClick(box.get(), Qt::Key_Tab);
        QCOMPARE(box->text(), u"BC"_s);
        QCOMPARE(refused->count(), 1);
    }

    void aKeyThatTypesSeveralCharactersGoesWhole() {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, u"a!"_s);
        QApplication::sendEvent(box.get(), &press);
        QCOMPARE(box->text(), QString());
        QCOMPARE(refused->count(), 1);
    }

    void committedTextIsFilteredCharacterByCharacter() {
        QInputMethodEvent event;
        event.setCommitString(u"a\u00e9b2"_s);
        QApplication::sendEvent(box.get(), &event);
        QCOMPARE(box->text(), u"AB"_s);
        QCOMPARE(refused->count(), 2);
        QCOMPARE(box->received.size(), 1);
        QCOMPARE(box->received.first().commit, u"AB"_s);
    }

    void textThatPassesUnchangedIsNotTouched() {
        QInputMethodEvent event(u"XY"_s, {attribute(QInputMethodEvent::Cursor, 2, 1)});
        event.setCommitString(u"AB"_s, -1, 0);
        QApplication::sendEvent(box.get(), &event);
        QCOMPARE(box->received.size(), 1);
        QCOMPARE(box->received.first().preedit, u"XY"_s);
        QCOMPARE(box->received.first().commit, u"AB"_s);
        QCOMPARE(refused->count(), 0);
    }

    void textBeingComposedIsShownAsItWouldGoIn() {
        // Composing "a´b" with the cursor after it and the "´b" underlined.
        QInputMethodEvent event(u"a\u00b4b"_s, {attribute(QInputMethodEvent::Cursor, 3, 1),
                                                attribute(QInputMethodEvent::TextFormat, 1, 2)});
        QApplication::sendEvent(box.get(), &event);
        QCOMPARE(box->received.size(), 1);
        const RecordingBox::Received &got = box->received.first();
        QCOMPARE(got.preedit, u"AB"_s);
        QCOMPARE(got.commit, QString());
        QCOMPARE(got.attributes.size(), 2);
        QCOMPARE(got.attributes[0].start, 2); // the cursor stays at the end
        QCOMPARE(got.attributes[1].start, 1); // the underline covers the B alone
        QCOMPARE(got.attributes[1].length, 1);
        // Nothing is said until the input method commits; nothing is in the text yet.
        QCOMPARE(refused->count(), 0);
        QCOMPARE(box->text(), QString());
    }

    void replacingKeepsItsRange() {
        QTest::keyClicks(box.get(), u"abc"_s);
        QInputMethodEvent event;
        event.setCommitString(u"x9"_s, -2, 2);
        QApplication::sendEvent(box.get(), &event);
        QCOMPARE(box->text(), u"AX"_s);
        QCOMPARE(box->received.last().replacementStart, -2);
        QCOMPARE(box->received.last().replacementLength, 2);
        QCOMPARE(refused->count(), 1);
    }
};

QTEST_MAIN(TestCharacterFilter)
#include "tst_characterfilter.moc"
