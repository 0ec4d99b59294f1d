#pragma once

#include <cstdint>
#include <string_view>

namespace orvix {

// Report IDs of the exchanges with the instrument.
namespace report_id {
constexpr std::uint8_t kCommand = 1;
constexpr std::uint8_t kProductFile = 2;
constexpr std::uint8_t kUserFile = 3;
constexpr std::uint8_t kLanguageFile = 5;
constexpr std::uint8_t kNormalizationFile = 6;
constexpr std::uint8_t kKeyFile = 7;
constexpr std::uint8_t kDataReply = 16;
constexpr std::uint8_t kAckReply = 32;
}  // namespace report_id

// Every command the instrument understands.
enum class Command : std::uint8_t {
    PingDevice = 0x01,
    GetProductFile = 0x02,
    GetUserFile = 0x03,
    GetLanguageFile = 0x05,
    GetNormalizationFile = 0x06,
    GetKeyFile = 0x07,
    GetProductName = 0x12,
    GetLanguageDescription = 0x14,
    SendText2Display = 0x15,
    AccessLangIdxProdIdx = 0x16,
    GetCellADC = 0x1A,
    AccessAccelerometer = 0x1B,
    AccessLoadCell = 0x1C,
    GetNrmlTemp = 0x1D,
    DeleteProductFile = 0x20,
    DeleteLanguageFile = 0x21,
    GetMeasValues = 0x30,
    GetSoftwareInfo = 0x40,
    GetPgmCkSum = 0x41,
    TestNVM = 0x42,
    ControlBacklight = 0x43,
    ControlFactoryTest = 0x44,
    GetSwitchStatus = 0x45,
    ControlVppGenerator = 0x46,
    ControlLCDTest = 0x47,
    GetAnalogValue = 0x48,
    AccessErrCode = 0x49,
    AccessMeasSeq = 0x4A,
    GetMaxTableSizes = 0x50,
    IssueUnknownCmd = 0xF0,
};

// How one command is framed: how many parameter bytes follow the code, how
// long to wait for the reply, which report ID the instrument answers with and
// where the data the program uses starts in it.
struct CommandFraming {
    Command command;
    std::string_view operation;
    int parameterCount;
    int timeoutMs;
    std::uint8_t replyId;
    int replyStart;

    std::uint8_t code() const { return static_cast<std::uint8_t>(command); }
};

// The table entry of a command.
const CommandFraming& Framing(Command command);

// The instrument's limits that the program checks before sending.
constexpr int kMaxProducts = 20;
constexpr int kMaxLanguages = 12;

}  // namespace orvix
