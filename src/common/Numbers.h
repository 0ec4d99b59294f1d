#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

// The one place where numbers become text and text becomes numbers. Every
// conversion here is locale-proof: "." is the decimal separator whatever the
// user's locale, because the instrument, the settings file and the
// characterisation files all use it.
namespace orvix {

// Leading-number reading: skips blanks and tabs (also between digits), takes an
// optional sign, digits, one ".", an optional exponent introduced by E or D,
// or an &H / &O prefixed integer; stops at the first other character.
// "" or no number gives 0. A value beyond double range is run-time error 6.
double Val(QStringView text);

// A field that must be a number and nothing else: after trimming blanks, an
// optional sign, digits with at most one ".", an optional exponent. Anything
// else (empty text included) is run-time error 13.
double StrictNumber(QStringView text);

// Conversions to integers round half to even (2.5 -> 2, 3.5 -> 4). A value
// outside the target range, or not finite, is run-time error 6. The text forms
// accept what StrictNumber accepts plus &H / &O integers; other text is error 13.
std::int16_t ToInt16(double value);
std::int16_t ToInt16(QStringView text);
std::int32_t ToInt32(double value);
std::uint8_t ToByte(double value);
std::uint8_t ToByte(QStringView text);

// Format patterns: "###0.0", "#0.0", "#0.000", "0.0", "0.000", "0.00000", "0",
// "0000", "0.000E+00" and any pattern of the same grammar ('#'/'0' integer
// digits, optional '.' with '0' decimals, optional "E+00"/"E-00" exponent).
// Rounds half away from zero on the value first rounded to 15 significant
// digits; never writes "-0". An unsupported pattern is run-time error 5.
QString FormatNumber(double value, QStringView pattern);

// Two upper-case hexadecimal digits of the low byte ("0A").
QString Hex2(unsigned value);
// Upper-case hexadecimal without leading zeros ("3A7E", "0" for zero).
QString Hex(std::uint64_t value);

// Shortest general form of a single-precision value with up to seven
// significant digits: no decimal point for whole numbers, no zero before the
// point below 1 (".5", "-.5"), exponent form "1.5E+07" / "1E-05" when the
// decimal exponent is >= 7 or < -4.
QString SingleGeneral(float value);
// The same with the leading blank that a value of 0 or more carries (" .5").
QString StrSingle(float value);
// Decimal integer with one leading blank for 0 or more (" 1", "-1").
QString StrInt(std::int64_t value);

// Floating-point faults as run-time errors: x/0 -> 11, 0/0 -> 6, a result that
// is not finite -> 6, the square root of a negative -> 5.
double CheckedDivide(double numerator, double denominator);
double CheckedSqrt(double value);
double CheckFinite(double value);

}  // namespace orvix
