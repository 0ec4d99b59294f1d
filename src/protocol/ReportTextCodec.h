#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <span>

namespace orvix {

class ErrHdlr;
class ZrHID;

// Text in reports is single-byte Windows-1252, except the value of a "$" key
// (everything after the first "=" that follows a "$", through the line's
// CR LF), which travels as UTF-16LE so product names can be in any script.

// Writes text into bytes from index on and leaves index one past the last
// byte written. A byte beyond the buffer is run-time error 9; a character
// with no single-byte form is run-time error 5.
void EncodeReportText(QStringView text, std::span<std::uint8_t> bytes, int& index);

// Appends the text of bytes[start..last] to out as it goes, so whatever was
// decoded before a failure is kept. An index outside bytes is run-time error 9.
void DecodeReportText(std::span<const std::uint8_t> bytes, int start, int last, QString& out);

// The codec applied to the transport's report buffers.
class ReportTextCodec {
public:
    ReportTextCodec(ZrHID& hid, ErrHdlr& errors);

    // Throws on failure; the calling operation reports it under its own name.
    void CopyStr2OutReport(QStringView text, int& index);
    // Never throws: a failure is reported as "CopyInReport2Str()" and the text
    // decoded so far is returned.
    QString CopyInReport2Str(int startIndex);

private:
    ZrHID& m_hid;
    ErrHdlr& m_errors;
};

}  // namespace orvix
