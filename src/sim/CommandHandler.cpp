#include "sim/CommandHandler.h"

#include "common/Text.h"
#include "common/VbError.h"
#include "protocol/CommandTable.h"
#include "protocol/ReportTextCodec.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace orvix::sim {

namespace {

using namespace report_id;

// Status bytes of the polled commands.
constexpr std::uint8_t kConverterBusy = 2;
constexpr std::uint8_t kConverterReady = 3;
constexpr std::uint8_t kConverterTimeout = 4;
constexpr std::uint8_t kMeasurementBusy = 3;
constexpr std::uint8_t kMeasurementDone = 4;
constexpr std::uint8_t kMeasurementError = 5;

// Accelerometer modes: 1 wakes it and 2 reads it, both answering the raw
// axes; 3 adds the level figure; anything else (0 is "sleep") switches it off.
constexpr std::uint8_t kAccelAxes = 2;
constexpr std::uint8_t kAccelAxesAndLevel = 3;
constexpr std::uint8_t kAccelOff = 0;

// Error-code buffer modes.
constexpr std::uint8_t kErrorRaise = 1;
constexpr std::uint8_t kErrorClear = 2;

constexpr std::uint8_t kPowerDown = 9;
constexpr int kMenuTextDisplayOffset = 2;  // the display command's first byte is the text number + 2

// Views, so that a report handled while static objects are still being
// built finds them ready.
constexpr QStringView kCrLf = u"\r\n";
constexpr QStringView kNoData = u"No Data\r\n";
constexpr QStringView kEndOfFile = u"<EOF>\r\n";

std::uint8_t ByteAt(std::span<const std::uint8_t> report, std::size_t index) {
    return index < report.size() ? report[index] : 0;
}

// A reply report under construction; writes past its end are dropped.
class Reply {
public:
    Reply(std::uint8_t id, std::size_t length) : m_bytes(std::max<std::size_t>(length, 1), 0) {
        m_bytes[0] = id;
    }
    void set(std::size_t index, std::uint8_t value) {
        if (index < m_bytes.size()) m_bytes[index] = value;
    }
    // Big-endian, two's complement for negative values.
    void set16(std::size_t index, int value) {
        const auto word = static_cast<std::uint16_t>(value);
        set(index, static_cast<std::uint8_t>(word >> 8));
        set(index + 1, static_cast<std::uint8_t>(word & 0xFF));
    }
    // A text that does not fit, or has a character the link cannot carry,
    // goes out as far as it could be encoded.
    void text(int start, QStringView text) {
        int index = start;
        try {
            EncodeReportText(text, m_bytes, index);
        } catch (const VbError&) {
        }
    }
    Report take() { return std::move(m_bytes); }

private:
    Report m_bytes;
};

QList<QStringView> Lines(QStringView text) { return text.split(kCrLf); }

// The value of a file's first key=value line with this key (both trimmed),
// up to the end of the line.
std::optional<QString> FileValue(QStringView file, QStringView key) {
    for (const QStringView line : Lines(file)) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals >= 0 && line.left(equals).trimmed() == key) return line.mid(equals + 1).trimmed().toString();
    }
    return std::nullopt;
}

// A slot index: plain decimal digits only.
int IndexValue(const std::optional<QString>& value) {
    constexpr int kNotAnIndex = -1;
    if (!value || value->isEmpty() || value->size() > 3) return kNotAnIndex;
    for (const QChar c : *value)
        if (c < u'0' || c > u'9') return kNotAnIndex;
    return value->toInt();
}

// The file ends at its first NUL (the zeros that fill the report) or after
// its "<EOF>" line, whichever comes first.
QString CutAtEnd(QString text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0) text.truncate(nul);
    const qsizetype end = text.indexOf(kEndOfFile);
    if (end >= 0) text.truncate(end + kEndOfFile.size());
    return text;
}

// The key file goes out one Windows-1252 byte per character, "$" or not.
QString SingleByteText(std::span<const std::uint8_t> report, std::size_t start) {
    QString text;
    for (std::size_t i = start; i < report.size(); ++i) text.append(Cp1252Char(report[i]));
    return text;
}

QString WithModelLine(const QString& keyFile, const QString& model) {
    if (FileValue(keyFile, u"Model")) return keyFile;
    QString line = QStringLiteral("Model=") + model;
    line += kCrLf;
    const qsizetype end = keyFile.indexOf(kEndOfFile);
    if (end >= 0) return keyFile.left(end) + line + keyFile.mid(end);
    if (!keyFile.isEmpty() && !keyFile.endsWith(kCrLf)) line.prepend(kCrLf);
    return keyFile + line;
}

bool IsMenuTextLine(QStringView line) { return line.startsWith(u"$MT"); }

int MenuTextCount(const QString& languageFile) {
    const QList<QStringView> lines = Lines(languageFile);
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), IsMenuTextLine));
}

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

}  // namespace

CommandHandler::CommandHandler(InstrumentState& state, std::size_t replyLength)
    : m_state(state), m_replyLength(replyLength) {}

bool CommandHandler::IsFileReport(std::uint8_t reportId) {
    return reportId == kProductFile || reportId == kUserFile || reportId == kLanguageFile ||
           reportId == kNormalizationFile || reportId == kKeyFile;
}

bool CommandHandler::RepliesWithCheckedStatus(std::span<const std::uint8_t> report) {
    const std::uint8_t request = ByteAt(report, 2);
    switch (static_cast<Command>(ByteAt(report, 1))) {
    case Command::GetCellADC:
    case Command::AccessLoadCell: return request != 0;
    case Command::AccessMeasSeq: return request == 0;
    case Command::AccessAccelerometer:
    case Command::GetPgmCkSum:
    case Command::TestNVM:
    case Command::ControlBacklight:
    case Command::ControlFactoryTest:
    case Command::ControlVppGenerator:
    case Command::ControlLCDTest:
    case Command::GetAnalogValue: return true;
    default: return false;
    }
}

int CommandHandler::ConstantsCheckValue(const QString& productFile) {
    int sum = 0;
    for (int k = 1; k <= 9; ++k) {
        const QString value = FileValue(productFile, QStringLiteral("K%1").arg(k)).value_or(QString());
        for (const QStringView half : {QStringView(value).left(2), QStringView(value).right(2)})
            if (half.size() == 2 && IsDigit(half[0]) && IsDigit(half[1])) sum += half.toInt();
    }
    return sum % 100;
}

QString* CommandHandler::productSlot(int product, int language) {
    if (product < 0 || product >= kMaxProducts || language < 0 || language >= kMaxLanguages) return nullptr;
    return &m_state.files.products[static_cast<std::size_t>(language)][static_cast<std::size_t>(product)];
}

QString* CommandHandler::languageSlot(int language) {
    if (language < 0 || language >= kMaxLanguages) return nullptr;
    return &m_state.files.languages[static_cast<std::size_t>(language)];
}

bool CommandHandler::upload(std::span<const std::uint8_t> report) {
    const std::uint8_t id = ByteAt(report, 0);
    if (!IsFileReport(id)) return false;
    const int textStart = id == kProductFile ? 3 : id == kLanguageFile ? 2 : 1;
    QString text;
    try {
        if (id == kKeyFile)
            text = SingleByteText(report, 1);
        else
            DecodeReportText(report, textStart, static_cast<int>(report.size()) - 1, text);
    } catch (const VbError&) {
        return false;
    }
    text = CutAtEnd(text);

    const auto typeIs = [&text](char16_t letter) { return text.startsWith(QChar(letter)); };
    switch (id) {
    case kProductFile: {
        QString* slot = typeIs(u'P') ? productSlot(IndexValue(FileValue(text, u"PrdIdx")),
                                                   IndexValue(FileValue(text, u"LngIdx")))
                                     : nullptr;
        if (slot == nullptr) return false;
        *slot = text;
        return true;
    }
    case kLanguageFile: {
        QString* slot = typeIs(u'L') ? languageSlot(IndexValue(FileValue(text, u"LngIdx"))) : nullptr;
        if (slot == nullptr) return false;
        *slot = text;
        return true;
    }
    case kUserFile:
        if (!typeIs(u'U')) return false;
        m_state.files.user = text;
        return true;
    case kNormalizationFile:
        if (!typeIs(u'N')) return false;
        m_state.files.normalization = text;
        return true;
    default: {
        if (!typeIs(u'K')) return false;
        const QString model = FileValue(m_state.files.key, u"Model").value_or(QStringView(kDefaultModel).toString());
        m_state.files.key = WithModelLine(text, model);
        return true;
    }
    }
}

Report CommandHandler::command(std::span<const std::uint8_t> report) {
    const std::uint8_t code = ByteAt(report, 1);
    const std::uint8_t b2 = ByteAt(report, 2);
    const std::uint8_t b3 = ByteAt(report, 3);
    switch (static_cast<Command>(code)) {
    case Command::PingDevice: return acknowledge(true);
    case Command::GetProductFile: return fileRead(kProductFile, 3, productSlot(b2, b3));
    case Command::GetUserFile: return fileRead(kUserFile, 1, &m_state.files.user);
    case Command::GetLanguageFile: return fileRead(kLanguageFile, 2, languageSlot(b2));
    case Command::GetNormalizationFile: return fileRead(kNormalizationFile, 1, &m_state.files.normalization);
    case Command::GetKeyFile: return fileRead(kKeyFile, 1, &m_state.files.key);
    case Command::GetProductName: return namedValue(4, u"$Name", productSlot(b2, b3));
    case Command::GetLanguageDescription: return namedValue(3, u"$Desc", languageSlot(b2));
    case Command::SendText2Display: return displayText(report);
    case Command::AccessLangIdxProdIdx: return indices(report);
    case Command::GetCellADC: return cellAdc(report);
    case Command::AccessAccelerometer: return accelerometer(b2);
    case Command::AccessLoadCell: return loadCell(b2);
    case Command::GetNrmlTemp: {
        Reply reply(kDataReply, m_replyLength);
        reply.set(2, b2);
        reply.set16(3, TemperatureTenths(m_state.truth, b2));
        return reply.take();
    }
    case Command::DeleteProductFile: {
        QString* slot = productSlot(b2, b3);
        if (slot != nullptr) slot->clear();
        return acknowledge(slot != nullptr);
    }
    case Command::DeleteLanguageFile: {
        QString* slot = languageSlot(b2);
        if (slot != nullptr) slot->clear();
        return acknowledge(slot != nullptr);
    }
    case Command::GetMeasValues: return measuredValues();
    case Command::GetSoftwareInfo: return softwareInfo(b2);
    case Command::GetPgmCkSum: return checksum(b2);
    case Command::TestNVM: {
        Reply reply(kDataReply, m_replyLength);
        reply.set(2, m_state.memoryTestPasses ? 1 : 0);
        return reply.take();
    }
    case Command::ControlBacklight: return switchedMode(m_state.backlightOn, b2, false);
    case Command::ControlFactoryTest: return switchedMode(m_state.factoryTestOn, b2, true);
    case Command::ControlVppGenerator: return switchedMode(m_state.vppOn, b2, false);
    case Command::ControlLCDTest: return switchedMode(m_state.lcdTestOn, b2, false);
    case Command::GetSwitchStatus: {
        Reply reply(kDataReply, m_replyLength);
        reply.set(2, m_state.switchBits);
        return reply.take();
    }
    case Command::GetAnalogValue: return analogValue(b2);
    case Command::AccessErrCode: return errorCodes(b2, b3);
    case Command::AccessMeasSeq: return measurementSequence(b2);
    case Command::GetMaxTableSizes: {
        Reply reply(kDataReply, m_replyLength);
        reply.set(2, kMaxProducts);
        reply.set(3, kMaxLanguages);
        return reply.take();
    }
    case Command::IssueUnknownCmd:
    default: {
        // 0xF0 exists only to be unknown: it answers like any code the
        // firmware has no handler for, echoing the code it refused.
        Reply reply(kDataReply, m_replyLength);
        reply.set(1, kUnknownCommandAnswer);
        reply.set(2, code);
        return reply.take();
    }
    }
}

Report CommandHandler::acknowledge(bool accepted) {
    Reply reply(kAckReply, m_replyLength);
    reply.set(1, accepted ? 1 : 0);
    return reply.take();
}

Report CommandHandler::fileRead(std::uint8_t replyId, int textStart, const QString* file) {
    Reply reply(replyId, m_replyLength);
    reply.text(textStart, file == nullptr || file->isEmpty() ? kNoData : QStringView(*file));
    return reply.take();
}

Report CommandHandler::namedValue(int textStart, QStringView key, const QString* file) {
    Reply reply(kDataReply, m_replyLength);
    if (file == nullptr) {
        reply.text(textStart, kNoData);
    } else {
        // The PC takes what lies between the "=" and the CR LF, so an empty
        // slot answers an empty value rather than "No Data".
        QString line = key.toString();
        line += u'=';
        line += FileValue(*file, key).value_or(QString());
        line += kCrLf;
        reply.text(textStart, line);
    }
    return reply.take();
}

Report CommandHandler::displayText(std::span<const std::uint8_t> report) {
    const int text = ByteAt(report, 2) - kMenuTextDisplayOffset;
    const QString* language = languageSlot(m_state.languageIndex);
    const bool shown = language != nullptr && !language->isEmpty() && text >= 0 && text <= MenuTextCount(*language);
    if (shown) m_state.displayedText = text;
    return acknowledge(shown);
}

Report CommandHandler::indices(std::span<const std::uint8_t> report) {
    constexpr std::uint8_t kSet = 1;
    if (ByteAt(report, 2) == kSet) {
        const int language = ByteAt(report, 3);
        const int product = ByteAt(report, 4);
        // A selection the instrument cannot hold is refused as a whole.
        if (language < kMaxLanguages && product < kMaxProducts) {
            m_state.languageIndex = language;
            m_state.productIndex = product;
        }
    }
    const QString* product = productSlot(m_state.productIndex, m_state.languageIndex);
    const bool intact = product != nullptr && !product->isEmpty() && ConstantsCheckValue(*product) == 55;
    Reply reply(kDataReply, m_replyLength);
    reply.set(2, static_cast<std::uint8_t>(m_state.languageIndex));
    reply.set(3, static_cast<std::uint8_t>(m_state.productIndex));
    reply.set(4, intact ? 1 : 0);
    return reply.take();
}

Report CommandHandler::cellAdc(std::span<const std::uint8_t> report) {
    const std::uint8_t channel = ByteAt(report, 3);
    Reply reply(kDataReply, m_replyLength);
    if (ByteAt(report, 2) == 0) {
        m_state.adcBusyLeft = m_state.busyPolls;
        reply.set(2, kConverterBusy);
    } else if (m_state.adcBusyLeft > 0) {
        --m_state.adcBusyLeft;
        reply.set(2, kConverterBusy);
    } else if (const auto counts = CellAdcCounts(m_state.truth, channel)) {
        reply.set(2, kConverterReady);
        reply.set(3, channel);
        reply.set16(4, *counts);
    } else {
        reply.set(2, kConverterTimeout);
        reply.set(3, channel);
    }
    return reply.take();
}

Report CommandHandler::loadCell(std::uint8_t request) {
    Reply reply(kDataReply, m_replyLength);
    if (request == 0) {
        m_state.loadCellBusyLeft = m_state.busyPolls;
        reply.set(2, kConverterBusy);
    } else if (m_state.loadCellBusyLeft > 0) {
        --m_state.loadCellBusyLeft;
        reply.set(2, kConverterBusy);
    } else {
        const LoadCellCounts counts = ReadLoadCell(m_state.truth);
        reply.set(2, kConverterReady);
        reply.set16(3, counts.output);
        reply.set16(5, counts.excitation);
    }
    return reply.take();
}

Report CommandHandler::accelerometer(std::uint8_t mode) {
    Reply reply(kDataReply, m_replyLength);
    if (mode != 1 && mode != 2 && mode != 3) {
        reply.set(2, kAccelOff);
        return reply.take();
    }
    const auto axes = AccelerometerCounts(m_state.truth);
    reply.set(2, mode == 3 ? kAccelAxesAndLevel : kAccelAxes);
    for (std::size_t axis = 0; axis < axes.size(); ++axis) reply.set16(3 + 2 * axis, axes[axis]);
    if (mode == 3) reply.set16(9, LevelCounts(m_state.truth));
    return reply.take();
}

Report CommandHandler::measurementSequence(std::uint8_t request) {
    constexpr std::uint8_t kPoll = 0, kEmptyCell = 1, kFullCell = 2;
    Reply reply(kDataReply, m_replyLength);
    if (request == kEmptyCell || request == kFullCell) {
        m_state.measurementBusyLeft = m_state.busyPolls;
        reply.set(2, kMeasurementBusy);
    } else if (request == kPoll) {
        const bool busy = m_state.measurementBusyLeft > 0;
        if (busy) --m_state.measurementBusyLeft;
        reply.set(2, busy ? kMeasurementBusy : kMeasurementDone);
    } else {
        reply.set(2, kMeasurementError);
    }
    return reply.take();
}

Report CommandHandler::switchedMode(bool& on, std::uint8_t mode, bool powerDownMode) {
    constexpr std::uint8_t kOff = 0, kOn = 1;
    Reply reply(kDataReply, m_replyLength);
    if (powerDownMode && mode == kPowerDown) {
        // The simulated instrument stays attached so the demo goes on;
        // it only confirms like a switch-off.
        on = false;
        reply.set(2, 0);
        return reply.take();
    }
    if (mode == kOff) on = false;
    if (mode == kOn) on = true;
    // 2 (status) and any other mode only report the state.
    reply.set(2, on ? 1 : 0);
    return reply.take();
}

Report CommandHandler::errorCodes(std::uint8_t mode, std::uint8_t code) {
    auto& codes = m_state.errorCodes;
    if (mode == kErrorRaise) {
        std::copy_backward(codes.begin(), codes.end() - 1, codes.end());
        codes[0] = code;
    } else if (mode == kErrorClear) {
        codes.fill(0);
    }
    Reply reply(kDataReply, m_replyLength);
    for (std::size_t i = 0; i < codes.size(); ++i) reply.set(3 + i, codes[i]);
    return reply.take();
}

Report CommandHandler::analogValue(std::uint8_t channel) {
    // A channel the instrument does not have answers a type the PC cannot
    // scale, which it reports as an illegal response.
    constexpr std::uint8_t kNoSuchChannel = 0xFF;
    Reply reply(kDataReply, m_replyLength);
    if (const auto reading = ReadAnalogChannel(m_state.truth, channel)) {
        reply.set(2, reading->type);
        reply.set16(3, reading->value);
    } else {
        reply.set(2, kNoSuchChannel);
    }
    return reply.take();
}

Report CommandHandler::measuredValues() {
    Reply reply(kDataReply, m_replyLength);
    const auto values = MeasuredValues(m_state.truth);
    for (std::size_t i = 0; i < values.size(); ++i) reply.set16(2 + 2 * i, values[i]);
    return reply.take();
}

Report CommandHandler::softwareInfo(std::uint8_t item) {
    Reply reply(kDataReply, m_replyLength);
    reply.set(2, item);
    // The reply's zero fill ends the text for the PC.
    if (item < m_state.softwareInfo.size()) reply.text(3, m_state.softwareInfo[item]);
    return reply.take();
}

Report CommandHandler::checksum(std::uint8_t item) {
    constexpr std::uint8_t kNoSuchArea = 0, kChecksumValid = 1;
    Reply reply(kDataReply, m_replyLength);
    if (item < m_state.programChecksums.size()) {
        reply.set(2, kChecksumValid);
        reply.set(3, m_state.programChecksums[item]);
    } else {
        reply.set(2, kNoSuchArea);
    }
    return reply.take();
}

}  // namespace orvix::sim
