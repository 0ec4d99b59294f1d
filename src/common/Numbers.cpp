#include "common/Numbers.h"

#include "common/VbError.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

// Nothing in this file may go through the C library's locale: no strtod, no
// printf-family formatting, no iostreams. std::from_chars / std::to_chars and
// plain digit arithmetic are used instead.
namespace orvix {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

int OctDigitValue(char16_t c) { return (c >= u'0' && c <= u'7') ? c - u'0' : -1; }

// An "&H" / "&O" integer once its digits are known. Short forms are 16-bit
// values, so &HFFFF is -1 just as the instrument's 16-bit registers read it;
// longer forms are 32-bit. For hexadecimal the width is decided by the number
// of digits written, for octal by the value (&O177777 is the largest 16-bit
// one, and no digit count lines up with 16 bits).
double PrefixedIntegerValue(bool hex, int digitCount, std::uint64_t magnitude) {
    if (hex) {
        if (digitCount <= 4) return static_cast<std::int16_t>(static_cast<std::uint16_t>(magnitude));
        if (digitCount <= 8) return static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
        RaiseRuntimeError(vb::kOverflow);
    }
    if (magnitude <= 0xFFFFu) return static_cast<std::int16_t>(static_cast<std::uint16_t>(magnitude));
    if (magnitude <= 0xFFFFFFFFu)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    RaiseRuntimeError(vb::kOverflow);
}

// Reads the digits of an &H / &O integer starting just after the '&'.
// `skipBlanks` lets Val's habit of ignoring blanks between digits apply.
// Returns the position after the last character consumed.
struct PrefixedScan {
    qsizetype end = 0;
    int digitCount = 0;
    double value = 0;
    bool recognised = false;  // an H or O followed the '&'
};

PrefixedScan ScanPrefixedInteger(QStringView text, qsizetype pos, bool skipBlanks) {
    PrefixedScan scan;
    scan.end = pos;
    if (pos >= text.size()) return scan;
    const char16_t kind = text[pos].unicode();
    const bool hex = kind == u'H' || kind == u'h';
    const bool oct = kind == u'O' || kind == u'o';
    if (!hex && !oct) return scan;
    scan.recognised = true;
    ++pos;
    std::uint64_t magnitude = 0;
    bool overflowed = false;
    qsizetype end = pos;
    while (pos < text.size()) {
        const char16_t c = text[pos].unicode();
        if (skipBlanks && IsBlank(c)) {
            ++pos;
            continue;
        }
        const int digit = hex ? HexDigitValue(c) : OctDigitValue(c);
        if (digit < 0) break;
        ++scan.digitCount;
        if (magnitude > (std::numeric_limits<std::uint64_t>::max() >> 4)) overflowed = true;
        magnitude = magnitude * (hex ? 16u : 8u) + static_cast<unsigned>(digit);
        ++pos;
        end = pos;
    }
    scan.end = end;
    if (overflowed) RaiseRuntimeError(vb::kOverflow);
    if (scan.digitCount > 0) scan.value = PrefixedIntegerValue(hex, scan.digitCount, magnitude);
    return scan;
}

// A cleaned decimal number: sign, integer digits, fraction digits, exponent.
struct DecimalText {
    bool negative = false;
    std::string intDigits;
    std::string fracDigits;
    bool exponentNegative = false;
    std::string exponentDigits;
};

// from_chars reports overflow and underflow alike; the position of the first
// significant digit tells which one happened.
bool IsTooLargeRatherThanTooSmall(const DecimalText& d) {
    long long exponent = 0;
    for (char c : d.exponentDigits) {
        exponent = exponent * 10 + (c - '0');
        if (exponent > 1'000'000'000) break;
    }
    if (d.exponentNegative) exponent = -exponent;
    const auto firstInt = d.intDigits.find_first_not_of('0');
    long long order;
    if (firstInt != std::string::npos) {
        order = static_cast<long long>(d.intDigits.size() - firstInt) - 1;
    } else {
        const auto firstFrac = d.fracDigits.find_first_not_of('0');
        order = -static_cast<long long>(firstFrac) - 1;
    }
    return order + exponent >= 0;
}

double DecimalValue(const DecimalText& d) {
    const bool allZero = d.intDigits.find_first_not_of('0') == std::string::npos &&
                         d.fracDigits.find_first_not_of('0') == std::string::npos;
    if (allZero) return 0.0;

    std::string clean;
    clean.reserve(d.intDigits.size() + d.fracDigits.size() + d.exponentDigits.size() + 4);
    if (d.negative) clean += '-';
    clean += d.intDigits.empty() ? std::string("0") : d.intDigits;
    if (!d.fracDigits.empty()) {
        clean += '.';
        clean += d.fracDigits;
    }
    if (!d.exponentDigits.empty()) {
        clean += 'e';
        if (d.exponentNegative) clean += '-';
        // A silly number of exponent digits would only slow the parser down;
        // anything beyond five digits is out of range either way.
        const auto first = d.exponentDigits.find_first_not_of('0');
        if (first == std::string::npos) {
            clean += '0';
        } else if (d.exponentDigits.size() - first > 5) {
            clean += "99999";
        } else {
            clean.append(d.exponentDigits, first);
        }
    }

    double value = 0;
    const auto [ptr, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (IsTooLargeRatherThanTooSmall(d)) RaiseRuntimeError(vb::kOverflow);
        return 0.0;
    }
    if (ec != std::errc() || ptr != clean.data() + clean.size()) RaiseRuntimeError(vb::kTypeMismatch);
    return value + 0.0;  // no negative zero
}

QStringView TrimSpaces(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ') ++begin;
    while (end > begin && text[end - 1] == u' ') --end;
    return text.sliced(begin, end - begin);
}

// The whole of `text` (already trimmed) as an &H / &O integer, if it is one.
std::optional<double> WholePrefixedInteger(QStringView text) {
    if (text.isEmpty() || text[0] != u'&') return std::nullopt;
    const PrefixedScan scan = ScanPrefixedInteger(text, 1, false);
    if (!scan.recognised || scan.digitCount == 0 || scan.end != text.size())
        RaiseRuntimeError(vb::kTypeMismatch);
    return scan.value;
}

// Round half to even, then the range check on the rounded value.
double RoundToIntegerInRange(double value, double low, double high) {
    if (!std::isfinite(value)) RaiseRuntimeError(vb::kOverflow);
    const double floor = std::floor(value);
    const double fraction = value - floor;  // exact for every double
    double rounded = floor;
    if (fraction > 0.5) {
        rounded = floor + 1;
    } else if (fraction == 0.5) {
        rounded = std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
    }
    if (rounded < low || rounded > high) RaiseRuntimeError(vb::kOverflow);
    return rounded;
}

// ---- formatting -----------------------------------------------------------

// Decimal digits and exponent of a value: value = 0.d1d2d3... x 10^(exponent+1),
// i.e. d1.d2d3... x 10^exponent, rounded to `significant` digits by to_chars.
struct ScientificDigits {
    std::string digits;
    int exponent = 0;
};

ScientificDigits ToScientificDigits(double magnitude, int significant) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::scientific, significant - 1);
    const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    const auto e = text.find('e');
    ScientificDigits out;
    for (char c : text.substr(0, e))
        if (c != '.') out.digits += c;
    const std::string_view exponentText = text.substr(e + 1);
    int exponent = 0;
    std::from_chars(exponentText.data() + (exponentText.front() == '+' ? 1 : 0),
                    exponentText.data() + exponentText.size(), exponent);
    out.exponent = exponent;
    return out;
}

// Keeps the first `keep` digits, rounding half away from zero on the rest.
// Returns true when the rounding carried into a new leading digit.
bool RoundDigitsHalfAway(std::string& digits, std::size_t keep) {
    if (keep >= digits.size()) {
        digits.append(keep - digits.size(), '0');
        return false;
    }
    const bool up = digits[keep] >= '5';
    digits.resize(keep);
    if (!up) return false;
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

struct NumberPattern {
    int integerPlaces = 0;    // '#' and '0' before the point
    int minIntegerDigits = 0;  // the '0' among them
    bool hasPoint = false;
    int decimals = 0;
    bool scientific = false;
    QChar exponentLetter;
    bool exponentSignAlways = false;
    int minExponentDigits = 0;
};

NumberPattern ParsePattern(QStringView pattern) {
    NumberPattern p;
    qsizetype i = 0;
    const qsizetype n = pattern.size();
    for (; i < n && (pattern[i] == u'#' || pattern[i] == u'0'); ++i) {
        ++p.integerPlaces;
        if (pattern[i] == u'0') ++p.minIntegerDigits;
    }
    if (i < n && pattern[i] == u'.') {
        p.hasPoint = true;
        for (++i; i < n && pattern[i] == u'0'; ++i) ++p.decimals;
    }
    if (i < n && (pattern[i] == u'E' || pattern[i] == u'e')) {
        p.scientific = true;
        p.exponentLetter = pattern[i];
        ++i;
        if (i >= n || (pattern[i] != u'+' && pattern[i] != u'-')) RaiseRuntimeError(vb::kInvalidCall);
        p.exponentSignAlways = pattern[i] == u'+';
        for (++i; i < n && pattern[i] == u'0'; ++i) ++p.minExponentDigits;
        if (p.minExponentDigits == 0) RaiseRuntimeError(vb::kInvalidCall);
    }
    if (i != n || p.integerPlaces + p.decimals == 0) RaiseRuntimeError(vb::kInvalidCall);
    return p;
}

bool AllZero(const std::string& digits) {
    return digits.find_first_not_of('0') == std::string::npos;
}

// Formats the digits of a value already scaled by 10^decimals.
QString AssembleFixed(bool negative, std::string scaled, const NumberPattern& p) {
    const auto decimals = static_cast<std::size_t>(p.decimals);
    if (scaled.size() < decimals + 1) scaled.insert(0, decimals + 1 - scaled.size(), '0');
    std::string integer = scaled.substr(0, scaled.size() - decimals);
    const std::string fraction = scaled.substr(scaled.size() - decimals);
    const auto firstSignificant = integer.find_first_not_of('0');
    integer = firstSignificant == std::string::npos ? std::string() : integer.substr(firstSignificant);
    if (integer.size() < static_cast<std::size_t>(p.minIntegerDigits))
        integer.insert(0, static_cast<std::size_t>(p.minIntegerDigits) - integer.size(), '0');

    std::string out;
    if (negative) out += '-';
    out += integer;
    if (p.hasPoint) {
        out += '.';
        out += fraction;
    }
    return QString::fromLatin1(out);
}

QString FormatFixed(double value, const NumberPattern& p) {
    const bool negative = std::signbit(value);
    ScientificDigits sd = ToScientificDigits(std::fabs(value), 15);
    // Digits of |value| x 10^decimals: the 15 digits stand for an integer
    // scaled by 10^(exponent - 14).
    const long long shift = static_cast<long long>(sd.exponent) + p.decimals - 14;
    std::string scaled;
    if (shift >= 0) {
        scaled = sd.digits + std::string(static_cast<std::size_t>(shift), '0');
    } else if (-shift > 15) {
        scaled = "0";
    } else {
        const auto keep = static_cast<std::size_t>(15 + shift);
        if (keep == 0) {
            scaled = sd.digits[0] >= '5' ? "1" : "0";
        } else {
            scaled = sd.digits;
            RoundDigitsHalfAway(scaled, keep);
        }
    }
    const bool writeSign = negative && !AllZero(scaled);
    return AssembleFixed(writeSign, std::move(scaled), p);
}

QString FormatScientific(double value, const NumberPattern& p) {
    const bool negative = std::signbit(value) && value != 0;
    const auto integerPlaces = static_cast<std::size_t>(p.integerPlaces);
    const auto significant = integerPlaces + static_cast<std::size_t>(p.decimals);
    std::string mantissa;
    int exponent = 0;
    if (value == 0) {
        mantissa.assign(significant, '0');
    } else {
        ScientificDigits sd = ToScientificDigits(std::fabs(value), 15);
        mantissa = sd.digits;
        if (RoundDigitsHalfAway(mantissa, significant)) {
            // 9.9996 -> 10.000: one digit more than asked for; drop it.
            mantissa.pop_back();
            ++sd.exponent;
        }
        exponent = sd.exponent - (p.integerPlaces - 1);
    }

    std::string integer = mantissa.substr(0, integerPlaces);
    if (value == 0) {
        integer.assign(static_cast<std::size_t>(p.minIntegerDigits), '0');
    }
    std::string out;
    if (negative) out += '-';
    out += integer;
    if (p.hasPoint) {
        out += '.';
        out += mantissa.substr(integerPlaces);
    }
    out += static_cast<char>(p.exponentLetter.unicode());
    if (exponent < 0) {
        out += '-';
    } else if (p.exponentSignAlways) {
        out += '+';
    }
    std::string exponentDigits = std::to_string(exponent < 0 ? -exponent : exponent);
    if (exponentDigits.size() < static_cast<std::size_t>(p.minExponentDigits))
        exponentDigits.insert(0, static_cast<std::size_t>(p.minExponentDigits) - exponentDigits.size(), '0');
    out += exponentDigits;
    return QString::fromLatin1(out);
}

}  // namespace

double Val(QStringView text) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && IsBlank(text[i].unicode())) ++i;
    };

    skipBlanks();
    if (i < n && text[i] == u'&') return ScanPrefixedInteger(text, i + 1, true).value;

    DecimalText d;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        d.negative = text[i] == u'-';
        ++i;
    }
    bool seenPoint = false;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (IsBlank(c)) continue;
        if (IsDigit(c)) {
            (seenPoint ? d.fracDigits : d.intDigits) += static_cast<char>(c);
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (d.intDigits.empty() && d.fracDigits.empty()) return 0.0;

    if (i < n) {
        const char16_t c = text[i].unicode();
        if (c == u'E' || c == u'e' || c == u'D' || c == u'd') {
            ++i;
            skipBlanks();
            if (i < n && (text[i] == u'+' || text[i] == u'-')) {
                d.exponentNegative = text[i] == u'-';
                ++i;
            }
            for (; i < n; ++i) {
                const char16_t e = text[i].unicode();
                if (IsBlank(e)) continue;
                if (!IsDigit(e)) break;
                d.exponentDigits += static_cast<char>(e);
            }
        }
    }
    return DecimalValue(d);
}

double StrictNumber(QStringView text) {
    const QStringView t = TrimSpaces(text);
    const qsizetype n = t.size();
    qsizetype i = 0;
    DecimalText d;
    if (i < n && (t[i] == u'+' || t[i] == u'-')) {
        d.negative = t[i] == u'-';
        ++i;
    }
    bool seenPoint = false;
    for (; i < n; ++i) {
        const char16_t c = t[i].unicode();
        if (IsDigit(c)) {
            (seenPoint ? d.fracDigits : d.intDigits) += static_cast<char>(c);
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (d.intDigits.empty() && d.fracDigits.empty()) RaiseRuntimeError(vb::kTypeMismatch);
    if (i < n && (t[i] == u'E' || t[i] == u'e')) {
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-')) {
            d.exponentNegative = t[i] == u'-';
            ++i;
        }
        for (; i < n && IsDigit(t[i].unicode()); ++i) d.exponentDigits += static_cast<char>(t[i].unicode());
        if (d.exponentDigits.empty()) RaiseRuntimeError(vb::kTypeMismatch);
    }
    if (i != n) RaiseRuntimeError(vb::kTypeMismatch);
    return DecimalValue(d);
}

std::int16_t ToInt16(double value) {
    return static_cast<std::int16_t>(RoundToIntegerInRange(value, -32768.0, 32767.0));
}

std::int16_t ToInt16(QStringView text) {
    const QStringView t = TrimSpaces(text);
    if (const auto prefixed = WholePrefixedInteger(t)) return ToInt16(*prefixed);
    return ToInt16(StrictNumber(t));
}

std::int32_t ToInt32(double value) {
    return static_cast<std::int32_t>(RoundToIntegerInRange(value, -2147483648.0, 2147483647.0));
}

std::uint8_t ToByte(double value) {
    return static_cast<std::uint8_t>(RoundToIntegerInRange(value, 0.0, 255.0));
}

std::uint8_t ToByte(QStringView text) {
    const QStringView t = TrimSpaces(text);
    if (const auto prefixed = WholePrefixedInteger(t)) return ToByte(*prefixed);
    return ToByte(StrictNumber(t));
}

QString FormatNumber(double value, QStringView pattern) {
    const NumberPattern p = ParsePattern(pattern);
    if (!std::isfinite(value)) RaiseRuntimeError(vb::kOverflow);
    return p.scientific ? FormatScientific(value, p) : FormatFixed(value, p);
}

QString Hex2(unsigned value) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    const QChar text[2] = {QChar(kDigits[(value >> 4) & 0xF]), QChar(kDigits[value & 0xF])};
    return QString(text, 2);
}

QString Hex(std::uint64_t value) {
    return QString::number(static_cast<qulonglong>(value), 16).toUpper();
}

QString SingleGeneral(float value) {
    if (!std::isfinite(value)) RaiseRuntimeError(vb::kOverflow);
    if (value == 0) return QStringLiteral("0");

    const bool negative = value < 0;
    // Seven significant digits of the float itself (not of its double
    // widening, which would show 0.1f as .1000000015).
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                      std::chars_format::scientific, 6);
    const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    const auto e = text.find('e');
    std::string digits;
    for (char c : text.substr(0, e))
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    int exponent = 0;
    const std::string_view exponentText = text.substr(e + 1);
    std::from_chars(exponentText.data() + (exponentText.front() == '+' ? 1 : 0),
                    exponentText.data() + exponentText.size(), exponent);

    std::string out;
    if (negative) out += '-';
    if (exponent >= 7 || exponent < -4) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += exponent < 0 ? "E-" : "E+";
        const std::string exponentDigits = std::to_string(exponent < 0 ? -exponent : exponent);
        if (exponentDigits.size() < 2) out += '0';
        out += exponentDigits;
    } else if (exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            out += digits;
            out.append(integerDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, integerDigits);
            out += '.';
            out.append(digits, integerDigits);
        }
    } else {
        out += '.';
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    }
    return QString::fromLatin1(out);
}

QString StrSingle(float value) {
    const QString text = SingleGeneral(value);
    return value >= 0 ? QLatin1Char(' ') + text : text;
}

QString StrInt(std::int64_t value) {
    const QString text = QString::number(static_cast<qlonglong>(value));
    return value >= 0 ? QLatin1Char(' ') + text : text;
}

double CheckedDivide(double numerator, double denominator) {
    if (denominator == 0) {
        if (numerator == 0 || std::isnan(numerator)) RaiseRuntimeError(vb::kOverflow);
        RaiseRuntimeError(vb::kDivisionByZero);
    }
    return CheckFinite(numerator / denominator);
}

double CheckedSqrt(double value) {
    if (std::isnan(value)) RaiseRuntimeError(vb::kOverflow);
    if (value < 0) RaiseRuntimeError(vb::kInvalidCall);
    return CheckFinite(std::sqrt(value));
}

double CheckFinite(double value) {
    if (!std::isfinite(value)) RaiseRuntimeError(vb::kOverflow);
    return value;
}

}  // namespace orvix
