#include "common/Numbers.h"
#include "common/VbError.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

using namespace orvix;

namespace {

// CTest runs this binary a second time with LC_ALL=de_DE.UTF-8; C++ programs
// start in the "C" locale, so the environment only matters once adopted.
class LocaleFromEnvironment : public ::testing::Environment {
public:
    void SetUp() override { std::setlocale(LC_ALL, ""); }
};
[[maybe_unused]] ::testing::Environment* const kLocaleEnvironment =
    ::testing::AddGlobalTestEnvironment(new LocaleFromEnvironment);

template <typename F>
int ErrorNumberOf(F&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

std::string Str(const QString& s) { return s.toStdString(); }

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// ---- Val -------------------------------------------------------------------

TEST(Val, ReadsTheLeadingNumber) {
    struct Case {
        const char16_t* text;
        double expected;
    };
    const Case cases[] = {
        {u"00.82", 0.82},      {u"12abc", 12},          {u".5", 0.5},
        {u"-3.2E2x", -320},    {u"abc", 0},             {u"1.2.3", 1.2},
        {u"", 0},              {u" 1 2 3", 123},        {u"\t-\t4 .\t5", -4.5},
        {u"+7", 7},            {u"1e", 1},              {u"1e+", 1},
        {u"2.5d-1", 0.25},     {u"1D3", 1000},          {u"1 e 2", 100},
        {u"5.", 5},            {u"-", 0},               {u".", 0},
        {u"--5", 0},           {u"1,5", 1},             {u"-0", 0},
        {u"1e-400", 0},        {u"\n5", 0},             {u"0.1234567890123456789", 0.1234567890123456789},
        {u"1e0000000000000000000002", 100},
    };
    for (const Case& c : cases) {
        const double v = Val(QStringView(c.text));
        EXPECT_EQ(v, c.expected) << Str(QString::fromUtf16(c.text));
        if (v == 0) {
            EXPECT_FALSE(std::signbit(v)) << "negative zero from " << Str(QString::fromUtf16(c.text));
        }
    }
}

TEST(Val, ReadsHexAndOctalIntegers) {
    struct Case {
        const char16_t* text;
        double expected;
    };
    const Case cases[] = {
        {u"&HFFFF", -1},         {u"&hff", 255},           {u"&H7FFF", 32767},
        {u"&H8000", -32768},     {u"&H10000", 65536},      {u"&H0FFFF", 65535},
        {u"&HFFFFFFFF", -1},     {u"&H7FFFFFFF", 2147483647}, {u"&H1G", 1},
        {u"&H", 0},              {u"&X12", 0},             {u" &H 1 0", 16},
        {u"&O17", 15},           {u"&o177777", -1},        {u"&O200000", 65536},
        {u"&O78", 7},            {u"&O37777777777", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Val(QStringView(c.text)), c.expected) << Str(QString::fromUtf16(c.text));
}

TEST(Val, ValuesBeyondDoubleRangeOverflow) {
    for (const char16_t* text : {u"1e400", u"-1e400", u"1e99999999999", u"&H123456789", u"&O40000000000"})
        EXPECT_EQ(ErrorNumberOf([&] { Val(QStringView(text)); }), vb::kOverflow)
            << Str(QString::fromUtf16(text));
    // The largest double still reads; tiny values quietly become zero.
    EXPECT_EQ(Val(u"1.7976931348623157e308"), std::numeric_limits<double>::max());
    EXPECT_EQ(Val(u"0.0000000001e-400"), 0.0);
}

// ---- StrictNumber ------------------------------------------------------------

TEST(StrictNumber, AcceptsOnlyAWholeNumber) {
    struct Case {
        const char16_t* text;
        double expected;
    };
    const Case good[] = {
        {u"12", 12},      {u"  -1.5  ", -1.5}, {u"+.5", 0.5}, {u"3.", 3},
        {u"1e3", 1000},   {u"2.5E-1", 0.25},   {u"-0", 0},    {u"00.82", 0.82},
        {u"1e-400", 0},
    };
    for (const Case& c : good)
        EXPECT_EQ(StrictNumber(QStringView(c.text)), c.expected) << Str(QString::fromUtf16(c.text));

    const char16_t* bad[] = {u"",     u"   ",  u".",    u"-",    u"1.2.3", u"12a", u"1 2",
                             u"1e",   u"1e+",  u"1d3",  u"&H10", u"\t1",   u"1,5", u"e5",
                             u"--1",  u"1-",   u"0x10", u"1e5.0"};
    for (const char16_t* text : bad)
        EXPECT_EQ(ErrorNumberOf([&] { StrictNumber(QStringView(text)); }), vb::kTypeMismatch)
            << Str(QString::fromUtf16(text));

    EXPECT_EQ(ErrorNumberOf([] { StrictNumber(u"-2e308"); }), vb::kOverflow);
}

// ---- integer conversions -----------------------------------------------------

TEST(IntegerConversion, RoundsHalfToEvenThenChecksTheRange) {
    struct Case {
        double value;
        int expected;
    };
    const Case cases[] = {
        {2.5, 2},     {3.5, 4},       {-2.5, -2}, {0.5, 0},     {1.5, 2},   {-1.5, -2},
        {2.4999, 2},  {2.5001, 3},    {-0.4, 0},  {-3.5, -4},   {7, 7},     {32767.4, 32767},
        {-32768.5, -32768},           {0.49999999999999994, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToInt16(c.value), c.expected) << c.value;
        EXPECT_EQ(ToInt32(c.value), c.expected) << c.value;
    }
    EXPECT_EQ(ToInt32(2147483647.4), 2147483647);
    EXPECT_EQ(ToInt32(-2147483648.5), -2147483648LL);
    EXPECT_EQ(ToByte(255.4), 255);
    EXPECT_EQ(ToByte(-0.5), 0);
    EXPECT_EQ(ToByte(254.5), 254);
    EXPECT_EQ(ToByte(0.5), 0);
}

TEST(IntegerConversion, OutOfRangeOrNotFiniteOverflows) {
    for (double v : {32767.5, -32768.6, 40000.0, kInf, -kInf, kNaN})
        EXPECT_EQ(ErrorNumberOf([&] { ToInt16(v); }), vb::kOverflow) << v;
    for (double v : {2147483647.5, -2147483648.6, 1e10, kInf, kNaN})
        EXPECT_EQ(ErrorNumberOf([&] { ToInt32(v); }), vb::kOverflow) << v;
    for (double v : {255.5, 256.0, -0.6, -1.0, kInf, kNaN})
        EXPECT_EQ(ErrorNumberOf([&] { ToByte(v); }), vb::kOverflow) << v;
}

TEST(IntegerConversion, TextFormsAcceptNumbersAndPrefixedIntegers) {
    EXPECT_EQ(ToInt16(u" 12 "), 12);
    EXPECT_EQ(ToInt16(u"2.5"), 2);
    EXPECT_EQ(ToInt16(u"-3.5e0"), -4);
    EXPECT_EQ(ToInt16(u"&HFFFF"), -1);
    EXPECT_EQ(ToInt16(u" &o17 "), 15);
    EXPECT_EQ(ToByte(u"&HFF"), 255);
    EXPECT_EQ(ToByte(u"200"), 200);

    struct Case {
        const char16_t* text;
        int error;
    };
    const Case int16Cases[] = {
        {u"", vb::kTypeMismatch},      {u"12a", vb::kTypeMismatch}, {u"&H", vb::kTypeMismatch},
        {u"&H1G", vb::kTypeMismatch},  {u"&Z1", vb::kTypeMismatch}, {u"1 2", vb::kTypeMismatch},
        {u"40000", vb::kOverflow},     {u"&H10000", vb::kOverflow},
    };
    for (const Case& c : int16Cases)
        EXPECT_EQ(ErrorNumberOf([&] { ToInt16(QStringView(c.text)); }), c.error)
            << Str(QString::fromUtf16(c.text));
    const Case byteCases[] = {
        {u"", vb::kTypeMismatch},  {u"x", vb::kTypeMismatch}, {u"256", vb::kOverflow},
        {u"-1", vb::kOverflow},    {u"&HFFFF", vb::kOverflow},
    };
    for (const Case& c : byteCases)
        EXPECT_EQ(ErrorNumberOf([&] { ToByte(QStringView(c.text)); }), c.error)
            << Str(QString::fromUtf16(c.text));
}

// ---- FormatNumber ----------------------------------------------------------------

TEST(FormatNumber, FormatsFixedPatterns) {
    struct Case {
        double value;
        const char16_t* pattern;
        const char* expected;
    };
    const Case cases[] = {
        {0.0625, u"#0.000", "0.063"},
        {1.0 / 64, u"0.00000", "0.01563"},
        {-20.0, u"###0.0", "-20.0"},
        {2, u"0.0", "2.0"},
        {2.5, u"0", "3"},
        {-2.5, u"0", "-3"},
        {1.0005, u"0.000", "1.001"},
        {1.005, u"0.00", "1.01"},
        {0.05, u"0.0", "0.1"},
        {0.5, u"#0.0", "0.5"},
        {0.5, u"###0.0", "0.5"},
        {0.5, u"#.0", ".5"},
        {12.5, u"#.0", "12.5"},
        {7, u"0000", "0007"},
        {-7, u"0000", "-0007"},
        {12345, u"00", "12345"},
        {1e20, u"0.0", "100000000000000000000.0"},
        {-0.04, u"0.0", "0.0"},
        {-0.0, u"0.000", "0.000"},
        {-0.00049, u"#0.000", "0.000"},
        {-0.0005, u"#0.000", "-0.001"},
        {0.0004, u"0.0", "0.0"},
        {0.96, u"0.0", "1.0"},
        {9.96, u"#0.0", "10.0"},
        {999.96, u"0.0", "1000.0"},
        {123.456, u"0", "123"},
        {0.1 + 0.2, u"0.00000000000000000", "0.30000000000000000"},
        {1234567.891, u"0.00", "1234567.89"},
        {3.7, u"0.", "4."},
        {1e-300, u"0.00", "0.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(FormatNumber(c.value, QStringView(c.pattern))), c.expected)
            << c.value << " with " << Str(QString::fromUtf16(c.pattern));
}

// Every tie k/1000 with "0.00" must round away from zero, even though almost
// none of these values is exactly representable.
TEST(FormatNumber, RoundsDecimalTiesAwayFromZero) {
    for (int k = 0; k <= 20000; ++k) {
        const int hundredths = (k + 5) / 10;
        const std::string digits = std::to_string(hundredths / 100) + "." +
                                   (hundredths % 100 < 10 ? "0" : "") + std::to_string(hundredths % 100);
        const double value = k / 1000.0;
        ASSERT_EQ(Str(FormatNumber(value, u"0.00")), digits) << value;
        if (hundredths != 0) {
            ASSERT_EQ(Str(FormatNumber(-value, u"0.00")), "-" + digits) << -value;
        }
    }
}

TEST(FormatNumber, FormatsScientificPatterns) {
    struct Case {
        double value;
        const char16_t* pattern;
        const char* expected;
    };
    const Case cases[] = {
        {1234.5, u"0.000E+00", "1.235E+03"},
        {0, u"0.000E+00", "0.000E+00"},
        {-0.00012345, u"0.000E+00", "-1.235E-04"},
        {9.9996, u"0.000E+00", "1.000E+01"},
        {1, u"0.000E+00", "1.000E+00"},
        {1e-300, u"0.00E+00", "1.00E-300"},
        {1.5e-5, u"0.0E-00", "1.5E-05"},
        {1.5e5, u"0.0E-00", "1.5E05"},
        {1.5e5, u"0.0E+0", "1.5E+5"},
        {1234.5, u"0E+00", "1E+03"},
        {-5e-324, u"0.000E+00", "-4.941E-324"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(FormatNumber(c.value, QStringView(c.pattern))), c.expected)
            << c.value << " with " << Str(QString::fromUtf16(c.pattern));
}

TEST(FormatNumber, RejectsNonFiniteValuesAndUnknownPatterns) {
    for (double v : {kInf, -kInf, kNaN})
        EXPECT_EQ(ErrorNumberOf([&] { FormatNumber(v, u"0.0"); }), vb::kOverflow) << v;
    for (const char16_t* pattern : {u"", u"abc", u"0.0x", u"0.#", u".", u"0,0", u"0.0E", u"0.0E00",
                                    u"0.0E+", u"0.0E+#", u" 0.0", u"0.0%"})
        EXPECT_EQ(ErrorNumberOf([&] { FormatNumber(1, QStringView(pattern)); }), vb::kInvalidCall)
            << Str(QString::fromUtf16(pattern));
}

// ---- hexadecimal and general forms ---------------------------------------------------

TEST(HexText, IsUpperCase) {
    EXPECT_EQ(Str(Hex2(0x0A)), "0A");
    EXPECT_EQ(Str(Hex2(0xFF)), "FF");
    EXPECT_EQ(Str(Hex2(0x1234)), "34");
    EXPECT_EQ(Str(Hex(0)), "0");
    EXPECT_EQ(Str(Hex(0x3A7E)), "3A7E");
    EXPECT_EQ(Str(Hex(0xFFFFFFFFFFFFFFFFULL)), "FFFFFFFFFFFFFFFF");
}

TEST(SingleGeneral, WritesSevenSignificantDigitsAtMost) {
    struct Case {
        float value;
        const char* expected;
    };
    const Case cases[] = {
        {0.0f, "0"},           {-0.0f, "0"},           {500.0f, "500"},
        {-3.0f, "-3"},         {0.5f, ".5"},           {-0.5f, "-.5"},
        {0.001f, ".001"},      {0.1f, ".1"},           {1234567.0f, "1234567"},
        {3.14159f, "3.14159"}, {1.0f / 3, ".3333333"}, {0.0001f, ".0001"},
        {1e7f, "1E+07"},       {12345678.0f, "1.234568E+07"}, {1e-5f, "1E-05"},
        {-1.5e-5f, "-1.5E-05"}, {3e38f, "3E+38"},      {9999999.0f, "9999999"},
        {99999992.0f, "9.999999E+07"}, {0.00012345f, ".00012345"}, {2.0f / 3, ".6666667"},
        {1e-45f, "1.401298E-45"},
    };
    for (const Case& c : cases) EXPECT_EQ(Str(SingleGeneral(c.value)), c.expected) << c.value;

    for (float v : {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                    std::numeric_limits<float>::quiet_NaN()})
        EXPECT_EQ(ErrorNumberOf([&] { SingleGeneral(v); }), vb::kOverflow);
}

// Thousandths as floats: the float is never exact, yet the text must be the
// decimal that was meant.
TEST(SingleGeneral, ShowsTheDecimalNotTheBinaryExpansion) {
    for (int k = 1; k <= 99999; k += 7) {
        std::string expected = std::to_string(k / 1000) + "." + std::to_string(1000 + k % 1000).substr(1);
        while (expected.back() == '0') expected.pop_back();
        if (expected.back() == '.') expected.pop_back();
        if (expected.rfind("0.", 0) == 0) expected.erase(0, 1);
        ASSERT_EQ(Str(SingleGeneral(static_cast<float>(k) / 1000.0f)), expected) << k;
    }
}

TEST(StrForms, CarryALeadingBlankWhenNotNegative) {
    EXPECT_EQ(Str(StrSingle(0.5f)), " .5");
    EXPECT_EQ(Str(StrSingle(0.0f)), " 0");
    EXPECT_EQ(Str(StrSingle(-0.0f)), " 0");
    EXPECT_EQ(Str(StrSingle(-2.5f)), "-2.5");
    EXPECT_EQ(Str(StrInt(1)), " 1");
    EXPECT_EQ(Str(StrInt(0)), " 0");
    EXPECT_EQ(Str(StrInt(-1)), "-1");
    EXPECT_EQ(Str(StrInt(std::numeric_limits<std::int64_t>::min())), "-9223372036854775808");
}

// ---- floating-point faults ----------------------------------------------------------

TEST(CheckedArithmetic, MapsFaultsToRunTimeErrors) {
    EXPECT_EQ(CheckedDivide(1, 4), 0.25);
    EXPECT_EQ(CheckedDivide(0, -3), 0);
    EXPECT_EQ(CheckedSqrt(6.25), 2.5);
    EXPECT_EQ(CheckedSqrt(0), 0);
    EXPECT_EQ(CheckFinite(-1.5), -1.5);

    struct Case {
        const char* what;
        double (*call)();
        int error;
    };
    const Case cases[] = {
        {"1/0", [] { return CheckedDivide(1, 0); }, vb::kDivisionByZero},
        {"-1/-0", [] { return CheckedDivide(-1, -0.0); }, vb::kDivisionByZero},
        {"inf/0", [] { return CheckedDivide(kInf, 0); }, vb::kDivisionByZero},
        {"0/0", [] { return CheckedDivide(0, 0); }, vb::kOverflow},
        {"NaN/0", [] { return CheckedDivide(kNaN, 0); }, vb::kOverflow},
        {"huge/tiny", [] { return CheckedDivide(1e300, 1e-300); }, vb::kOverflow},
        {"inf/1", [] { return CheckedDivide(kInf, 1); }, vb::kOverflow},
        {"1/NaN", [] { return CheckedDivide(1, kNaN); }, vb::kOverflow},
        {"sqrt(-1)", [] { return CheckedSqrt(-1); }, vb::kInvalidCall},
        {"sqrt(NaN)", [] { return CheckedSqrt(kNaN); }, vb::kOverflow},
        {"finite(inf)", [] { return CheckFinite(-kInf); }, vb::kOverflow},
        {"finite(NaN)", [] { return CheckFinite(kNaN); }, vb::kOverflow},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorNumberOf(c.call), c.error) << c.what;
}

// ---- locale independence --------------------------------------------------------------

TEST(Locale, GermanDecimalCommaChangesNothing) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "de_DE.UTF-8 not installed";
    EXPECT_EQ(Val(u"00.82"), 0.82);
    EXPECT_EQ(Val(u"0,5"), 0);
    EXPECT_EQ(StrictNumber(u"-1.25e1"), -12.5);
    EXPECT_EQ(Str(FormatNumber(1.5, u"0.0")), "1.5");
    EXPECT_EQ(Str(FormatNumber(1234.5, u"0.000E+00")), "1.235E+03");
    EXPECT_EQ(Str(SingleGeneral(1.5f)), "1.5");
    EXPECT_EQ(Str(StrInt(1000000)), " 1000000");
    std::setlocale(LC_ALL, previous.c_str());
}

}  // namespace
