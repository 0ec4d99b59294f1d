#include "common/Text.h"
#include "common/VbError.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <clocale>
#include <string>

using namespace orvix;

namespace {

template <typename F>
int ErrorNumberOf(F&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

struct Special {
    std::uint8_t byte;
    char16_t character;
};
// Written out independently of the implementation's table.
constexpr Special kSpecials[] = {
    {0x80, u'€'}, {0x82, u'‚'}, {0x83, u'ƒ'}, {0x84, u'„'}, {0x85, u'…'}, {0x86, u'†'}, {0x87, u'‡'},
    {0x88, u'ˆ'}, {0x89, u'‰'}, {0x8A, u'Š'}, {0x8B, u'‹'}, {0x8C, u'Œ'}, {0x8E, u'Ž'}, {0x91, u'‘'},
    {0x92, u'’'}, {0x93, u'“'}, {0x94, u'”'}, {0x95, u'•'}, {0x96, u'–'}, {0x97, u'—'}, {0x98, u'˜'},
    {0x99, u'™'}, {0x9A, u'š'}, {0x9B, u'›'}, {0x9C, u'œ'}, {0x9E, u'ž'}, {0x9F, u'Ÿ'},
};

TEST(Cp1252, SpecialCharactersMapBothWays) {
    for (const Special& s : kSpecials) {
        EXPECT_EQ(Cp1252Byte(QChar(s.character)), s.byte) << int(s.byte);
        EXPECT_EQ(Cp1252Char(s.byte), QChar(s.character)) << int(s.byte);
    }
    for (std::uint8_t unassigned : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(Cp1252Char(unassigned).unicode(), unassigned);
}

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        EXPECT_EQ(Cp1252Byte(Cp1252Char(byte)), byte) << b;
        all.append(static_cast<char>(byte));
    }
    const QString text = FromCp1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(ToCp1252Lossy(text), all);
    EXPECT_EQ(text.at(0xE9), QChar(u'é'));
    EXPECT_EQ(text.at(0x80), QChar(u'€'));
}

TEST(Cp1252, ControlRangeAndLatin1KeepTheirByte) {
    // C1 controls come from files read byte for byte and must go back as such.
    for (char16_t c : {u'\u0000', u'A', u'\u007F', u'\u0080', u'\u0085', u'\u009F', u'\u00A0', u'é', u'ÿ'})
        EXPECT_EQ(Cp1252Byte(QChar(c)), static_cast<std::uint8_t>(c)) << int(c);
}

TEST(Cp1252, CharactersWithoutAByte) {
    for (char16_t c : {u'\u0100', u'\u0151', u'\u20AD', u'\u2015', u'\u4E2D', char16_t{0xD83D}, u'\uFFFD'}) {
        EXPECT_FALSE(Cp1252Byte(QChar(c)).has_value()) << int(c);
        EXPECT_EQ(ErrorNumberOf([&] { Cp1252ByteOrRaise(QChar(c)); }), vb::kInvalidCall) << int(c);
    }
    EXPECT_EQ(Cp1252ByteOrRaise(QChar(u'™')), 0x99);
    EXPECT_EQ(Cp1252ByteOrRaise(QChar(u'Z')), 'Z');
}

TEST(Cp1252, LossyEncodingReplacesEachMissingCharacterOnce) {
    struct Case {
        const char16_t* text;
        QByteArray expected;
    };
    const Case cases[] = {
        {u"", QByteArray()},
        {u"a€b—c", QByteArray("a\x80" "b\x97" "c")},
        {u"x😀y", QByteArray("x?y")},           // surrogate pair: one character
        {u"中文", QByteArray("??")},
        {u"\xD83Dz", QByteArray("?z")},          // lone high surrogate
        {u"z\xDE00", QByteArray("z?")},          // lone low surrogate
        {u"😀😀", QByteArray("??")},
    };
    for (const Case& c : cases) EXPECT_EQ(ToCp1252Lossy(QStringView(c.text)), c.expected);
}

TEST(DateTimeStamp, EnglishUpperCaseMonthAnd24HourClock) {
    EXPECT_EQ(DateTimeStamp(QDateTime(QDate(2026, 2, 3), QTime(17, 14, 9))),
              QStringLiteral("2026FEB03, 17:14:09"));
    EXPECT_EQ(DateTimeStamp(QDateTime(QDate(1999, 12, 31), QTime(0, 0, 0, 999))),
              QStringLiteral("1999DEC31, 00:00:00"));
    EXPECT_EQ(DateTimeStamp(QDateTime()), QString());

    const char* months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                            "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(DateTimeStamp(QDateTime(QDate(2024, m, 15), QTime(23, 59, 59))).toStdString(),
                  std::string("2024") + months[m - 1] + "15, 23:59:59");
}

TEST(DateTimeStamp, IgnoresTheUserLocale) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::string previousC = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8");  // if missing, the Qt default still differs
    const QString stamp = DateTimeStamp(QDateTime(QDate(2026, 3, 1), QTime(8, 5, 7)));
    std::setlocale(LC_ALL, previousC.c_str());
    QLocale::setDefault(previous);
    EXPECT_EQ(stamp, QStringLiteral("2026MAR01, 08:05:07"));
}

}  // namespace
