#pragma once

// The fixed lists of the Test Cmds tab. The tab fills its controls from these
// tables and the execution code dispatches on the same indices, so the two can
// never disagree about which command sits where.

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

namespace orvix {

// The parameter controls a command brings up when it is chosen.
enum class TestCmdParams : std::uint8_t {
    None,
    ProdAndLangIdx,  // lblTCProdIdx, cboTCProdIdx, lblTCLangIdx, cboTCLangIdx
    LangIdx,         // lblTCLangIdx, cboTCLangIdx
    Eds,             // fraEDS, captioned per command
    CkSum,           // fraCkSum
    CellData,        // fraCellData
    ErrCode,         // fraErrCode
    Text2Display,    // fraText2Display
    Unchanged,       // every parameter control keeps the visibility it had
};

struct TestCmdEntry {
    const char16_t* caption;
    TestCmdParams params;
    // The option button of the group checked when the command is chosen
    // (optEDS, optCkSum, optErrCode), or the cboDispMenuText index it is reset
    // to; -1 when the command sets none.
    int preselect;
    // The caption fraEDS takes for the command; null for the other groups.
    const char16_t* edsCaption;
};

inline constexpr int kTestCmdCount = 38;

inline constexpr std::array<TestCmdEntry, kTestCmdCount> kTestCmds{{
    {u"Get Key File", TestCmdParams::None, -1, nullptr},
    {u"Get Product File", TestCmdParams::ProdAndLangIdx, -1, nullptr},
    {u"Get Product Name", TestCmdParams::ProdAndLangIdx, -1, nullptr},
    {u"Get All Product Names for LangIdx", TestCmdParams::LangIdx, -1, nullptr},
    {u"Delete Product", TestCmdParams::ProdAndLangIdx, -1, nullptr},
    {u"Delete All Products for LangIdx", TestCmdParams::LangIdx, -1, nullptr},
    {u"Delete All Products", TestCmdParams::None, -1, nullptr},
    {u"Get Language File", TestCmdParams::LangIdx, -1, nullptr},
    {u"Get Language Description", TestCmdParams::LangIdx, -1, nullptr},
    {u"List All Language Descriptions", TestCmdParams::None, -1, nullptr},
    {u"Delete Language", TestCmdParams::LangIdx, -1, nullptr},
    {u"Delete All Languages", TestCmdParams::None, -1, nullptr},
    {u"Get Selected ProdIdx and LangIdx", TestCmdParams::None, -1, nullptr},
    {u"Set ProdIdx and LangIdx", TestCmdParams::ProdAndLangIdx, -1, nullptr},
    {u"Get User File", TestCmdParams::None, -1, nullptr},
    {u"Get All Cell Data", TestCmdParams::CellData, -1, nullptr},
    {u"Get Accelerometer PosXYZ", TestCmdParams::None, -1, nullptr},
    {u"Get Measured Values", TestCmdParams::None, -1, nullptr},
    {u"Get Normalized Temperatures", TestCmdParams::None, -1, nullptr},
    {u"Get Software Info", TestCmdParams::None, -1, nullptr},
    {u"Get Program Space Checksum", TestCmdParams::CkSum, 1, nullptr},
    {u"Test NVM", TestCmdParams::None, -1, nullptr},
    {u"Control Vpp Generator", TestCmdParams::Eds, 2, u"Vpp Generator"},
    {u"Control Backlight", TestCmdParams::Eds, 2, u"Backlight"},
    {u"Control Factory Test Mode", TestCmdParams::Eds, 2, u"Factory Test"},
    {u"Control LCD Test", TestCmdParams::Eds, 2, u"LCD Test"},
    {u"Get Switch Status", TestCmdParams::None, -1, nullptr},
    {u"Get Analog Values", TestCmdParams::None, -1, nullptr},
    {u"Ping Device", TestCmdParams::None, -1, nullptr},
    {u"Get Prototype Data", TestCmdParams::Unchanged, -1, nullptr},
    {u"Issue Error Code", TestCmdParams::ErrCode, 0, nullptr},
    {u"Get Error Code Buffer", TestCmdParams::None, -1, nullptr},
    {u"Get Max Number of Products", TestCmdParams::None, -1, nullptr},
    {u"Get Max Number of Languages", TestCmdParams::None, -1, nullptr},
    {u"Issue Unknown Command", TestCmdParams::None, -1, nullptr},
    {u"Send Text to Display", TestCmdParams::Text2Display, 0, nullptr},
    {u"Initiate Empty Cell Measurement", TestCmdParams::None, -1, nullptr},
    {u"Initiate Full Cell Measurement", TestCmdParams::None, -1, nullptr},
}};

// Which parameter controls are shown for a group; cbHalt is part of every
// rule (always hidden: chkLoop alone brings it back).
struct TestCmdParamVisibility {
    bool prodIdx;  // lblTCProdIdx and cboTCProdIdx
    bool langIdx;  // lblTCLangIdx and cboTCLangIdx
    bool eds;
    bool ckSum;
    bool cellData;
    bool errCode;
    bool halt;
    bool text2Display;

    friend constexpr bool operator==(const TestCmdParamVisibility&,
                                     const TestCmdParamVisibility&) = default;
};

// nullopt for TestCmdParams::Unchanged: the rule leaves every control as it is.
constexpr std::optional<TestCmdParamVisibility> ParamVisibility(TestCmdParams params) {
    TestCmdParamVisibility v{};
    switch (params) {
    case TestCmdParams::None: break;
    case TestCmdParams::ProdAndLangIdx: v.prodIdx = v.langIdx = true; break;
    case TestCmdParams::LangIdx: v.langIdx = true; break;
    case TestCmdParams::Eds: v.eds = true; break;
    case TestCmdParams::CkSum: v.ckSum = true; break;
    case TestCmdParams::CellData: v.cellData = true; break;
    case TestCmdParams::ErrCode: v.errCode = true; break;
    case TestCmdParams::Text2Display: v.text2Display = true; break;
    case TestCmdParams::Unchanged: return std::nullopt;
    }
    return v;
}

inline QString TestCmdCaption(int index) {
    return QString::fromUtf16(kTestCmds.at(static_cast<std::size_t>(index)).caption);
}

inline QStringList TestCmdCaptions() {
    QStringList captions;
    for (const TestCmdEntry& entry : kTestCmds) captions.append(QString::fromUtf16(entry.caption));
    return captions;
}

// lstCellDataCh: the list index is the channel number.
inline constexpr int kCellDataChannelCount = 22;

inline QStringList CellDataChannelNames() {
    QStringList names;
    for (int channel = 0; channel < kCellDataChannelCount; ++channel)
        names.append(QStringLiteral("Ch") + QString::number(channel));
    return names;
}

// The group of a display text fixes bytes 2 to 4 of the display command.
enum class DispTextGroup : std::uint8_t { Description, A, B, C };

struct DispMenuTextEntry {
    const char16_t* text;
    DispTextGroup group;
};

inline constexpr int kDispMenuTextCount = 44;

// cboDispMenuText: the list index is the text's number.
inline constexpr std::array<DispMenuTextEntry, kDispMenuTextCount> kDispMenuTexts{{
    {u"Desc", DispTextGroup::Description},
    {u"MTA01", DispTextGroup::A}, {u"MTA02", DispTextGroup::A}, {u"MTA03", DispTextGroup::A},
    {u"MTA04", DispTextGroup::A}, {u"MTA05", DispTextGroup::A}, {u"MTA06", DispTextGroup::A},
    {u"MTA07", DispTextGroup::A}, {u"MTA08", DispTextGroup::A}, {u"MTA09", DispTextGroup::A},
    {u"MTA10", DispTextGroup::A}, {u"MTA11", DispTextGroup::A}, {u"MTA12", DispTextGroup::A},
    {u"MTB01", DispTextGroup::C},
    {u"MTC01", DispTextGroup::C}, {u"MTC02", DispTextGroup::C}, {u"MTC03", DispTextGroup::C},
    {u"MTC04", DispTextGroup::C}, {u"MTC05", DispTextGroup::C},
    {u"MTD01", DispTextGroup::C}, {u"MTD02", DispTextGroup::C}, {u"MTD03", DispTextGroup::C},
    {u"MTD04", DispTextGroup::B}, {u"MTD05", DispTextGroup::B},
    {u"MTE01", DispTextGroup::C},
    {u"MTF01", DispTextGroup::C},
    {u"MTG01", DispTextGroup::C},
    {u"MTH01", DispTextGroup::C},
    {u"MTJ01", DispTextGroup::C},
    {u"MTK01", DispTextGroup::C},
    {u"MTL01", DispTextGroup::C}, {u"MTL02", DispTextGroup::A}, {u"MTL03", DispTextGroup::A},
    {u"MTM01", DispTextGroup::C}, {u"MTM02", DispTextGroup::C}, {u"MTM03", DispTextGroup::C},
    {u"MTM04", DispTextGroup::C},
    {u"MTN01", DispTextGroup::C}, {u"MTN02", DispTextGroup::C}, {u"MTN03", DispTextGroup::C},
    {u"MTP01", DispTextGroup::A}, {u"MTP02", DispTextGroup::A}, {u"MTP03", DispTextGroup::A},
    {u"MTP04", DispTextGroup::A},
}};

inline QStringList DispMenuTexts() {
    QStringList texts;
    for (const DispMenuTextEntry& entry : kDispMenuTexts) texts.append(QString::fromUtf16(entry.text));
    return texts;
}

// The four bytes of the display command for a list index; nullopt outside
// the list, where nothing may be sent.
constexpr std::optional<std::array<std::uint8_t, 4>> DispMenuTextBytes(int index) {
    if (index < 0 || index >= kDispMenuTextCount) return std::nullopt;
    const auto first = static_cast<std::uint8_t>(index + 2);
    switch (kDispMenuTexts[static_cast<std::size_t>(index)].group) {
    case DispTextGroup::Description: return std::array<std::uint8_t, 4>{first, 0, 3, 10};
    case DispTextGroup::A: return std::array<std::uint8_t, 4>{first, 0, 3, 255};
    case DispTextGroup::B: return std::array<std::uint8_t, 4>{first, 0, 3, 2};
    case DispTextGroup::C: return std::array<std::uint8_t, 4>{first, 1, 3, 10};
    }
    return std::nullopt;
}

}  // namespace orvix
