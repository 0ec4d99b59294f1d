#include "protocol/CommandTable.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace orvix {

namespace {

using namespace report_id;

constexpr std::array kCommands = {
    CommandFraming{Command::PingDevice, "PingDevice", 0, 1000, kAckReply, 1},
    CommandFraming{Command::GetProductFile, "GetProductFile", 2, 3000, kProductFile, 3},
    CommandFraming{Command::GetUserFile, "GetUserFile", 0, 1000, kUserFile, 1},
    CommandFraming{Command::GetLanguageFile, "GetLanguageFile", 1, 6000, kLanguageFile, 2},
    CommandFraming{Command::GetNormalizationFile, "GetNormalizationFile", 0, 3000, kNormalizationFile, 1},
    CommandFraming{Command::GetKeyFile, "GetKeyFile", 0, 1000, kKeyFile, 1},
    CommandFraming{Command::GetProductName, "GetProductName", 2, 2000, kDataReply, 4},
    CommandFraming{Command::GetLanguageDescription, "GetLanguageDescription", 1, 1000, kDataReply, 3},
    CommandFraming{Command::SendText2Display, "SendText2Display", 4, 1000, kAckReply, 1},
    CommandFraming{Command::AccessLangIdxProdIdx, "AccessLangIdxProdIdx", 3, 2000, kDataReply, 2},
    CommandFraming{Command::GetCellADC, "GetCellADC", 2, 2000, kDataReply, 2},
    CommandFraming{Command::AccessAccelerometer, "AccessAccelerometer", 1, 2000, kDataReply, 2},
    CommandFraming{Command::AccessLoadCell, "AccessLoadCell", 1, 2000, kDataReply, 2},
    CommandFraming{Command::GetNrmlTemp, "GetNrmlTemp", 1, 3000, kDataReply, 3},
    CommandFraming{Command::DeleteProductFile, "DeleteProductFile", 2, 3000, kAckReply, 1},
    CommandFraming{Command::DeleteLanguageFile, "DeleteLanguageFile", 1, 3000, kAckReply, 1},
    CommandFraming{Command::GetMeasValues, "GetMeasValues", 1, 2000, kDataReply, 2},
    CommandFraming{Command::GetSoftwareInfo, "GetSoftwareInfo", 1, 3000, kDataReply, 3},
    CommandFraming{Command::GetPgmCkSum, "GetPgmCkSum", 1, 2000, kDataReply, 2},
    CommandFraming{Command::TestNVM, "TestNVM", 0, 2000, kDataReply, 2},
    CommandFraming{Command::ControlBacklight, "ControlBacklight", 1, 1000, kDataReply, 2},
    CommandFraming{Command::ControlFactoryTest, "ControlFactoryTest", 1, 1000, kDataReply, 2},
    CommandFraming{Command::GetSwitchStatus, "GetSwitchStatus", 0, 1000, kDataReply, 2},
    CommandFraming{Command::ControlVppGenerator, "ControlVppGenerator", 1, 1000, kDataReply, 2},
    CommandFraming{Command::ControlLCDTest, "ControlLCDTest", 1, 1000, kDataReply, 2},
    CommandFraming{Command::GetAnalogValue, "GetAnalogValue", 1, 3000, kDataReply, 2},
    CommandFraming{Command::AccessErrCode, "AccessErrCode", 2, 2000, kDataReply, 3},
    CommandFraming{Command::AccessMeasSeq, "AccessMeasSeq", 1, 1000, kDataReply, 2},
    CommandFraming{Command::GetMaxTableSizes, "GetMaxProducts", 0, 1000, kDataReply, 2},
    CommandFraming{Command::IssueUnknownCmd, "IssueUnknownCmd", 0, 1000, kDataReply, 1},
};

}  // namespace

const CommandFraming& Framing(Command command) {
    const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                    [command](const CommandFraming& s) { return s.command == command; });
    // Every enumerator has a row; a missing one is a programming error.
    if (found == kCommands.end()) std::abort();
    return *found;
}

}  // namespace orvix
