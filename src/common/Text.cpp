#include "common/Text.h"

#include "common/VbError.h"

#include <array>

namespace orvix {

namespace {

// Characters of bytes 0x80..0x9F. The five bytes Windows-1252 leaves
// unassigned keep their own value so a byte read from a file goes back out
// unchanged.
constexpr std::array<char16_t, 32> kHighControlRange = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

// The inverse of the table above for characters beyond Latin-1. A switch
// keeps it a constant-time lookup without building a map at start-up; the
// tests check it against the table byte for byte.
std::optional<std::uint8_t> SpecialCharacterByte(char16_t c) {
    switch (c) {
    case u'\u20AC': return 0x80;
    case u'\u201A': return 0x82;
    case u'\u0192': return 0x83;
    case u'\u201E': return 0x84;
    case u'\u2026': return 0x85;
    case u'\u2020': return 0x86;
    case u'\u2021': return 0x87;
    case u'\u02C6': return 0x88;
    case u'\u2030': return 0x89;
    case u'\u0160': return 0x8A;
    case u'\u2039': return 0x8B;
    case u'\u0152': return 0x8C;
    case u'\u017D': return 0x8E;
    case u'\u2018': return 0x91;
    case u'\u2019': return 0x92;
    case u'\u201C': return 0x93;
    case u'\u201D': return 0x94;
    case u'\u2022': return 0x95;
    case u'\u2013': return 0x96;
    case u'\u2014': return 0x97;
    case u'\u02DC': return 0x98;
    case u'\u2122': return 0x99;
    case u'\u0161': return 0x9A;
    case u'\u203A': return 0x9B;
    case u'\u0153': return 0x9C;
    case u'\u017E': return 0x9E;
    case u'\u0178': return 0x9F;
    default: return std::nullopt;
    }
}

// Month names are fixed English, whatever the user's locale.
constexpr std::array<char16_t[4], 12> kMonths = {{
    u"JAN", u"FEB", u"MAR", u"APR", u"MAY", u"JUN",
    u"JUL", u"AUG", u"SEP", u"OCT", u"NOV", u"DEC",
}};

}  // namespace

std::optional<std::uint8_t> Cp1252Byte(QChar c) {
    const char16_t u = c.unicode();
    if (u <= 0xFF) return static_cast<std::uint8_t>(u);
    return SpecialCharacterByte(u);
}

std::uint8_t Cp1252ByteOrRaise(QChar c) {
    const auto byte = Cp1252Byte(c);
    if (!byte) RaiseRuntimeError(vb::kInvalidCall);
    return *byte;
}

QChar Cp1252Char(std::uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F) return QChar(kHighControlRange[byte - 0x80]);
    return QChar(static_cast<char16_t>(byte));
}

QByteArray ToCp1252Lossy(QStringView text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out.append('?');  // one character, one replacement
            ++i;
            continue;
        }
        const auto byte = Cp1252Byte(c);
        out.append(byte ? static_cast<char>(*byte) : '?');
    }
    return out;
}

QString FromCp1252(QByteArrayView bytes) {
    QString out;
    out.reserve(bytes.size());
    for (const char b : bytes) out.append(Cp1252Char(static_cast<std::uint8_t>(b)));
    return out;
}

QString DateTimeStamp(const QDateTime& when) {
    // An invalid time has no stamp; writing an empty one beats throwing from
    // the logging paths that call this.
    if (!when.isValid()) return QString();
    const QDate date = when.date();
    const QTime time = when.time();
    const QChar zero(u'0');
    return QStringLiteral("%1%2%3, %4:%5:%6")
        .arg(date.year(), 4, 10, zero)
        .arg(QStringView(kMonths[static_cast<std::size_t>(date.month() - 1)]))
        .arg(date.day(), 2, 10, zero)
        .arg(time.hour(), 2, 10, zero)
        .arg(time.minute(), 2, 10, zero)
        .arg(time.second(), 2, 10, zero);
}

}  // namespace orvix
