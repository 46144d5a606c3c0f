// Arbitrary text against the two places where typed text meets fixed rules: the key filter of
// the birth-data window's name box, and the refer-a-friend address built from five form fields.
//
// Input: the first byte picks the encoding of the rest (even: UTF-8, odd: UTF-16 in host byte
// order). The text is split at U+001F into the five referral fields; missing fields are empty
// and further separators stay inside the fifth field.
#include "core/BirthData.h"
#include "core/modTellAFriend.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

constexpr char16_t FieldSeparator = 0x1F;
const QString ProductFolder = u"http://www.quorvane.com/woundwell/"_s;

// The UTF-16 code units of a text, for the report.
QString units(const QString &text) {
    QStringList hex;
    for (const QChar ch : text)
        hex.append(QString::number(ch.unicode(), 16));
    return u"["_s + hex.join(u' ') + u"]"_s;
}

[[noreturn]] void fail(const char *what, const QString &detail) {
    std::fprintf(stderr, "%s: %s\n", what, detail.toUtf8().constData());
    std::abort();
}

QString decode(const std::uint8_t *data, std::size_t size) {
    if (size == 0)
        return {};
    const auto *text = data + 1;
    const std::size_t length = size - 1;
    if ((data[0] & 1) == 0)
        return QString::fromUtf8(reinterpret_cast<const char *>(text),
                                 static_cast<qsizetype>(length));
    QString utf16(static_cast<qsizetype>(length / 2), Qt::Uninitialized);
    std::memcpy(utf16.data(), text, (length / 2) * sizeof(char16_t));
    return utf16;
}

// UTF-8 as a web site reads it: a byte order mark at the start is a character like any other.
QString fromUtf8(const QByteArray &bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

bool nameBoxTakes(char16_t c) {
    return (c >= u'A' && c <= u'Z') || c == u' ' || c == u'\r' || c == u'\b';
}

// Every character of the text typed into the name box, one at a time.
void checkNameFilter(const QString &text) {
    for (const QChar ch : text) {
        const char16_t typed = ch.unicode();
        const bool small = typed >= u'a' && typed <= u'z';
        const std::optional<char16_t> kept = woundwell::filterNameCharacter(typed);
        if (!kept) {
            if (small || nameBoxTakes(typed))
                fail("the name box refused a letter, space, carriage return or backspace",
                     QString::number(typed, 16));
            continue;
        }
        if (!nameBoxTakes(*kept))
            fail("the name box let through something other than a capital letter, space, "
                 "carriage return or backspace",
                 QString::number(*kept, 16));
        const char16_t expected = small ? static_cast<char16_t>(typed - u'a' + u'A') : typed;
        if (*kept != expected)
            fail("the name box changed a character it should keep or capitalise",
                 QString::number(typed, 16) + u" -> "_s + QString::number(*kept, 16));
    }
}

std::array<QString, 5> splitFields(const QString &text) {
    std::array<QString, 5> fields;
    qsizetype start = 0;
    for (std::size_t i = 0; i < fields.size() - 1; ++i) {
        const qsizetype end = text.indexOf(QChar(FieldSeparator), start);
        if (end < 0) {
            fields[i] = text.mid(start);
            return fields;
        }
        fields[i] = text.mid(start, end - start);
        start = end + 1;
    }
    fields.back() = text.mid(start);
    return fields;
}

// trimSpaces takes spaces off both ends and nothing else.
void checkTrimmed(const QString &raw, const QString &trimmed) {
    if (trimmed.startsWith(u' ') || trimmed.endsWith(u' '))
        fail("trimSpaces left a space at an end", raw);
    qsizetype leading = 0;
    while (leading < raw.size() && raw.at(leading) == u' ')
        ++leading;
    if (raw.mid(leading, trimmed.size()) != trimmed)
        fail("trimSpaces changed the text between the spaces", raw);
    const QString rest = raw.left(leading) + raw.mid(leading + trimmed.size());
    if (rest.count(u' ') != rest.size())
        fail("trimSpaces removed more than spaces", raw);
}

void checkReferralAddress(const std::array<QString, 5> &raw) {
    std::array<QString, 5> values;
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = woundwell::trimSpaces(raw[i]);
        checkTrimmed(raw[i], values[i]);
    }
    const QString address =
        woundwell::buildReferralAddress(values[0], values[1], values[2], values[3], values[4]);

    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid())
        fail("the referral address is no valid web address", address + u" "_s + url.errorString());
    if (url.scheme() != u"http"_s || url.host() != u"www.quorvane.com"_s ||
        url.path() != u"/qvsw-refer-a-friend.php"_s || url.hasFragment() ||
        !url.userInfo().isEmpty() || url.port() != -1)
        fail("the referral address leads somewhere else", address);

    // The launcher hands the browser this web address; it has to be the address as built.
    if (url.toString(QUrl::FullyEncoded) != address)
        fail("the web address changes the referral address",
             address + u" became "_s + url.toString(QUrl::FullyEncoded));

    // Decoded the way the web site decodes a query: percent-escapes to bytes, bytes as UTF-8.
    const QList<QPair<QString, QString>> items = QUrlQuery(url).queryItems(QUrl::FullyEncoded);
    if (items.size() != 6)
        fail("the referral address does not carry exactly six values", address);
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QString key = u"taf%1"_s.arg(i + 1);
        if (items[i].first != key)
            fail("a referral key is missing or out of order", address);
        const QString arrived =
            fromUtf8(QByteArray::fromPercentEncoding(items[i].second.toLatin1()));
        // Halves of a surrogate pair without their partner cannot be written as UTF-8; they
        // travel as the replacement character.
        const QString &sent = i < 5 ? values[static_cast<std::size_t>(i)] : ProductFolder;
        const QString expected = sent.isValidUtf16() ? sent : fromUtf8(sent.toUtf8());
        if (arrived != expected)
            fail("a referral value did not arrive as typed", key + u": sent "_s + units(expected) +
                                                                 u", arrived "_s + units(arrived) +
                                                                 u" in "_s + address);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QString text = decode(data, size);
    checkNameFilter(text);
    checkReferralAddress(splitFields(text));
    return 0;
}
