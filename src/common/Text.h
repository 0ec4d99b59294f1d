#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QDateTime>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// Single-byte text as the instrument and the 8-bit files use it: Windows-1252.
namespace orvix {

// The Windows-1252 byte of a character. U+0080..U+009F map to the byte of the
// same value, so that any byte read from a file can be sent back unchanged.
std::optional<std::uint8_t> Cp1252Byte(QChar c);
// As Cp1252Byte; a character without a byte is run-time error 5.
std::uint8_t Cp1252ByteOrRaise(QChar c);
// The character of a Windows-1252 byte; the five unassigned bytes
// (81, 8D, 8F, 90, 9D) decode to U+0081 … so they survive a round trip.
QChar Cp1252Char(std::uint8_t byte);

// Whole texts; characters without a byte are written as "?".
QByteArray ToCp1252Lossy(QStringView text);
QString FromCp1252(QByteArrayView bytes);

// The stamp "yyyymmmdd, hh:nn:ss" upper-cased in English: "2026FEB03, 17:14:09".
QString DateTimeStamp(const QDateTime& when);

}  // namespace orvix
