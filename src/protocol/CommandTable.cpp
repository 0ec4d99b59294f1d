#include "protocol/CommandTable.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace orvix {

namespace {

using namespace report_id;

constexpr std::array kCommands = {
    CommandSpec{Command::PingDevice, "PingDevice", 0, 1000, kAckReply, 1},
    CommandSpec{Command::GetProductFile, "GetProductFile", 2, 3000, kProductFile, 3},
    CommandSpec{Command::GetUserFile, "GetUserFile", 0, 1000, kUserFile, 1},
    CommandSpec{Command::GetLanguageFile, "GetLanguageFile", 1, 6000, kLanguageFile, 2},
    CommandSpec{Command::GetNormalizationFile, "GetNormalizationFile", 0, 3000, kNormalizationFile, 1},
    CommandSpec{Command::GetKeyFile, "GetKeyFile", 0, 1000, kKeyFile, 1},
    CommandSpec{Command::GetProductName, "GetProductName", 2, 2000, kDataReply, 4},
    CommandSpec{Command::GetLanguageDescription, "GetLanguageDescription", 1, 1000, kDataReply, 3},
    CommandSpec{Command::SendText2Display, "SendText2Display", 4, 1000, kAckReply, 1},
    CommandSpec{Command::AccessLangIdxProdIdx, "AccessLangIdxProdIdx", 3, 2000, kDataReply, 2},
    CommandSpec{Command::GetCellADC, "GetCellADC", 2, 2000, kDataReply, 2},
    CommandSpec{Command::AccessAccelerometer, "AccessAccelerometer", 1, 2000, kDataReply, 2},
    CommandSpec{Command::AccessLoadCell, "AccessLoadCell", 1, 2000, kDataReply, 2},
    CommandSpec{Command::GetNrmlTemp, "GetNrmlTemp", 1, 3000, kDataReply, 3},
    CommandSpec{Command::DeleteProductFile, "DeleteProductFile", 2, 3000, kAckReply, 1},
    CommandSpec{Command::DeleteLanguageFile, "DeleteLanguageFile", 1, 3000, kAckReply, 1},
    CommandSpec{Command::GetMeasValues, "GetMeasValues", 1, 2000, kDataReply, 2},
    CommandSpec{Command::GetSoftwareInfo, "GetSoftwareInfo", 1, 3000, kDataReply, 3},
    CommandSpec{Command::GetPgmCkSum, "GetPgmCkSum", 1, 2000, kDataReply, 2},
    CommandSpec{Command::TestNVM, "TestNVM", 0, 2000, kDataReply, 2},
    CommandSpec{Command::ControlBacklight, "ControlBacklight", 1, 1000, kDataReply, 2},
    CommandSpec{Command::ControlFactoryTest, "ControlFactoryTest", 1, 1000, kDataReply, 2},
    CommandSpec{Command::GetSwitchStatus, "GetSwitchStatus", 0, 1000, kDataReply, 2},
    CommandSpec{Command::ControlVppGenerator, "ControlVppGenerator", 1, 1000, kDataReply, 2},
    CommandSpec{Command::ControlLCDTest, "ControlLCDTest", 1, 1000, kDataReply, 2},
    CommandSpec{Command::GetAnalogValue, "GetAnalogValue", 1, 3000, kDataReply, 2},
    CommandSpec{Command::AccessErrCode, "AccessErrCode", 2, 2000, kDataReply, 3},
    CommandSpec{Command::AccessMeasSeq, "AccessMeasSeq", 1, 1000, kDataReply, 2},
    CommandSpec{Command::GetMaxTableSizes, "GetMaxProducts", 0, 1000, kDataReply, 2},
    CommandSpec{Command::IssueUnknownCmd, "IssueUnknownCmd", 0, 1000, kDataReply, 1},
};

}  // namespace

const CommandSpec& Spec(Command command) {
    const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                    [command](const CommandSpec& s) { return s.command == command; });
    // Every enumerator has a row; a missing one is a programming error.
    if (found == kCommands.end()) std::abort();
    return *found;
}

}  // namespace orvix
