#include "protocol/ReportTextCodec.h"

#include "support/ProtocolHarness.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvix::test {
namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<std::uint8_t> bytes;
    for (const int v : values) bytes.push_back(static_cast<std::uint8_t>(v));
    return bytes;
}

std::vector<std::uint8_t> Encode(const QString& text, std::size_t capacity = 64) {
    std::vector<std::uint8_t> bytes(capacity, 0);
    int index = 0;
    EncodeReportText(text, bytes, index);
    bytes.resize(static_cast<std::size_t>(index));
    return bytes;
}

QString Decode(const std::vector<std::uint8_t>& bytes, int start = 0) {
    QString text;
    DecodeReportText(bytes, start, static_cast<int>(bytes.size()) - 1, text);
    return text;
}

const QString kNameAndConstant = QStringLiteral("$Name=Ab\r\nK1=2\r\n");
const std::vector<std::uint8_t> kNameAndConstantBytes =
    Bytes({0x24, 0x4E, 0x61, 0x6D, 0x65, 0x3D, 0x41, 0x00, 0x62, 0x00, 0x0D, 0x00, 0x0A, 0x00,
           0x4B, 0x31, 0x3D, 0x32, 0x0D, 0x0A});

TEST(ReportTextCodec, DollarValuesTravelAsUtf16AndEverythingElseAsSingleBytes) {
    EXPECT_EQ(Encode(kNameAndConstant), kNameAndConstantBytes);
    // Decoding needs one byte after the last wide pair, as a report always has.
    std::vector<std::uint8_t> report = kNameAndConstantBytes;
    report.push_back(0);
    EXPECT_EQ(Decode(report), kNameAndConstant + QChar(u'\0'));
}

TEST(ReportTextCodec, WhichLinesGoWide) {
    const struct {
        const char16_t* text;
        std::initializer_list<int> bytes;
    } cases[] = {
        // "=" without a "$" stays single-byte.
        {u"Issue=3\r\n", {'I', 's', 's', 'u', 'e', '=', '3', 0x0D, 0x0A}},
        // A "$" line without "=" keeps the flag into the next line.
        {u"$A\r\nB=1\r\nC", {'$', 'A', 0x0D, 0x0A, 'B', '=', '1', 0, 0x0D, 0, 0x0A, 0, 'C'}},
        // A wide value without CR LF runs to the end of the text.
        {u"$N=\u0416", {'$', 'N', '=', 0x16, 0x04}},
        // Windows-1252 letters keep their single byte.
        {u"D=\u00e9\u20ac", {'D', '=', 0xE9, 0x80}},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(Encode(text), Bytes(c.bytes)) << text.toStdString();
    }
}

TEST(ReportTextCodec, CyrillicProductNamesRoundTrip) {
    const QString text = QStringLiteral("P\r\n$Name=\u041f\u0448\u0435\u043d\u0438\u0446\u0430\r\nK1=2\r\n");
    std::vector<std::uint8_t> report = Encode(text);
    report.resize(report.size() + 4, 0);
    EXPECT_TRUE(Decode(report).startsWith(text));
}

TEST(ReportTextCodec, APairEndingOnTheLastByteIsReadAsTwoSingleBytes) {
    // The pair 16 04 is a Cyrillic letter, unless it ends the report.
    EXPECT_EQ(Decode(Bytes({'$', '=', 0x16, 0x04})), QStringLiteral("$=\x16\x04"));
    EXPECT_EQ(Decode(Bytes({'$', '=', 0x16, 0x04, 0})), QStringLiteral("$=\u0416") + QChar(u'\0'));
}

TEST(ReportTextCodec, EncodingFailsCleanlyOnTextThatDoesNotFit) {
    const struct {
        QString text;
        std::size_t capacity;
        int error;
    } cases[] = {
        {QStringLiteral("ABCDE"), 4, vb::kSubscriptOutOfRange},
        {QStringLiteral("$N=Ab"), 4, vb::kSubscriptOutOfRange},
        {QStringLiteral("A\u0416"), 8, vb::kInvalidCall},  // no single-byte form
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes(c.capacity, 0);
        int index = 0;
        try {
            EncodeReportText(c.text, bytes, index);
            ADD_FAILURE() << "no error for " << c.text.toStdString();
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), c.error) << c.text.toStdString();
        }
    }
}

TEST(ReportTextCodec, CopyInReport2StrKeepsTheFillBytesAndReportsBadStarts) {
    ProtocolHarness h;
    h.connect(8, 8);
    h.backend.queueReply(FakeHidBackend::Report({3, 'U', '\r', '\n'}));
    EXPECT_EQ(h.cmds.GetUserFile(), QString::fromUtf16(u"U\r\n\0\0\0\0", 7));

    // A start past the end decodes nothing; a negative one is reported.
    EXPECT_EQ(h.cmds.Codec().CopyInReport2Str(8), QString());
    EXPECT_EQ(h.cmds.Codec().CopyInReport2Str(-1), QString());
    EXPECT_EQ(h.errorLog(),
              QStringList({QStringLiteral("Err 9, Subscript out of range, CopyInReport2Str(), 2026FEB03, 17:14:09")}));
}

}  // namespace
}  // namespace orvix::test
