#include "protocol/ReportTextCodec.h"

#include "common/Text.h"
#include "common/VbError.h"
#include "hid/ZrHID.h"
#include "protocol/ErrHdlr.h"

namespace orvix {

namespace {

void PutByte(std::span<std::uint8_t> bytes, int& index, std::uint8_t value) {
    if (index < 0 || static_cast<std::size_t>(index) >= bytes.size())
        RaiseRuntimeError(vb::kSubscriptOutOfRange);
    bytes[static_cast<std::size_t>(index)] = value;
    ++index;
}

std::uint8_t GetByte(std::span<const std::uint8_t> bytes, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= bytes.size())
        RaiseRuntimeError(vb::kSubscriptOutOfRange);
    return bytes[static_cast<std::size_t>(index)];
}

bool EndsWithCrLf(const QString& text) { return text.endsWith(QStringLiteral("\r\n")); }

}  // namespace

void EncodeReportText(QStringView text, std::span<std::uint8_t> bytes, int& index) {
    bool dollarSeen = false;
    bool wideValue = false;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        if (wideValue) {
            const qsizetype crlf = text.indexOf(QStringLiteral("\r\n"), i);
            const qsizetype segmentEnd = crlf < 0 ? length : crlf + 2;
            for (; i < segmentEnd; ++i) {
                const char16_t unit = text[i].unicode();
                PutByte(bytes, index, static_cast<std::uint8_t>(unit & 0xFF));
                PutByte(bytes, index, static_cast<std::uint8_t>(unit >> 8));
            }
            dollarSeen = false;
            wideValue = false;
            if (i >= length) break;
        }
        const QChar c = text[i];
        if (c == u'$') dollarSeen = true;
        if (c == u'=' && dollarSeen) wideValue = true;
        PutByte(bytes, index, Cp1252ByteOrRaise(c));
    }
}

void DecodeReportText(std::span<const std::uint8_t> bytes, int start, int last, QString& out) {
    bool dollarSeen = false;
    bool wideValue = false;
    for (int i = start; i <= last; ++i) {
        if (wideValue) {
            QString segment;
            // A pair that would end on the last byte is left to the
            // single-byte path below.
            while (!EndsWithCrLf(segment) && i + 2 <= last) {
                const int low = GetByte(bytes, i);
                const int high = GetByte(bytes, i + 1);
                segment.append(QChar(static_cast<char16_t>(high * 256 + low)));
                i += 2;
            }
            dollarSeen = false;
            wideValue = false;
            out.append(segment);
        }
        const QChar c = Cp1252Char(GetByte(bytes, i));
        if (c == u'$') dollarSeen = true;
        if (c == u'=' && dollarSeen) wideValue = true;
        out.append(c);
    }
}

ReportTextCodec::ReportTextCodec(ZrHID& hid, ErrHdlr& errors) : m_hid(hid), m_errors(errors) {}

void ReportTextCodec::CopyStr2OutReport(QStringView text, int& index) {
    EncodeReportText(text, m_hid.OutReportSpan(), index);
}

QString ReportTextCodec::CopyInReport2Str(int startIndex) {
    QString text;
    try {
        DecodeReportText(m_hid.InReportBfr(), startIndex, m_hid.ReportLastIndex(ZrHID::kInputBuffer),
                         text);
    } catch (...) {
        m_errors.LogError(QStringLiteral("CopyInReport2Str()"));
    }
    return text;
}

}  // namespace orvix
