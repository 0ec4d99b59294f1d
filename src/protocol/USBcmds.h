#pragma once

#include "protocol/CommandTable.h"
#include "protocol/ErrHdlr.h"
#include "protocol/ReportTextCodec.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <initializer_list>

namespace orvix {

class Panes;
class Platform;
class ZrHID;

// The instrument's operations. Each one is a sequence of exchanges of one
// command report for at most one reply, and reports its own failures under
// its own name; callers only ever see the returned value.
//
// Two error flows exist. File operations (and GetSoftwareInfo) end at their
// first failure. Measurement and service operations carry on with the next
// step, so every connection check that fails reports again; they then return
// their initial value. An exchange that failed decodes nothing.
class USBcmds {
public:
    USBcmds(ZrHID& hid, ErrHdlr& errors, Panes& panes, const Platform& platform);

    // "005, Type: Info": an instrument error code and its class.
    static QString ErrorCodeText(int code);
    // Two-byte reply values are big-endian.
    static int UnsignedValue(std::uint8_t high, std::uint8_t low);
    static int SignedValue(std::uint8_t high, std::uint8_t low);

    // Bounds-checked reads of the last reply (run-time error 9 past its end).
    std::uint8_t ReplyByte(int index) const;
    int ReplyUnsigned(int highIndex) const;
    int ReplySigned(int highIndex) const;

    ReportTextCodec& Codec() { return m_codec; }

    // How long the instrument may answer "busy" before the program gives up.
    static constexpr int kAdcBusyBudgetMs = 10000;
    static constexpr int kMeasSeqBusyBudgetMs = 60000;

    // --- files ---------------------------------------------------------
    QString GetProductFile(int prodIdx, int langIdx);
    QString GetLanguageFile(int langIdx);
    QString GetUserFile();
    QString GetNormalizationFile();
    QString GetKeyFile();
    QString GetProductName(int prodIdx, int langIdx);
    QString GetLanguageDescription(int langIdx);
    QString GetSerialNumber();
    const QString& KeyAMSN() const { return m_keyAMSN; }
    const QString& KeyModel() const { return m_keyModel; }

    // File type letters as character codes; kAnyFileType accepts every type.
    static constexpr int kAnyFileType = 86;
    // Uploads a product, language, user or normalisation file in one report.
    // False when it was refused or the report could not be written.
    bool SendFileToDevice(const QString& text, int expectedType);
    void SendConstKeyFile(const QString& serial);
    // True when the delete command was written, whether or not a reply came
    // (the instrument may have deleted the file).
    bool DeleteProductFile(int prodIdx, int langIdx);
    bool DeleteLanguageFile(int langIdx);

    // --- measurement, status and service --------------------------------
    void PingDevice();
    QString GetCellADC(int channel);
    QString AccessLoadCell();
    QString AccessAccelerometer(int mode);
    QString GetNrmlTemp(int sensor);
    QString GetMeasValues();
    QString GetSoftwareInfo(int item);
    QString GetPgmCkSum(int item);
    QString TestNVM();
    QString ControlVppGenerator(int mode);
    QString ControlBacklight(int mode);
    QString ControlFactoryTest(int mode);
    QString ControlLCDTest(int mode);
    QString GetSwitchStatus();
    QString GetAnalogValue(int channel);
    QString AccessErrCode(int mode, int code);
    QString AccessMeasSeq(int which);
    QString AccessLangIdxProdIdx(bool setMode, int& langIdx, int& prodIdx);
    int GetMaxProducts();
    int GetMaxLanguages();
    int IssueUnknownCmd();
    bool SendText2Display(int b1, int b2, int b3, int b4);

private:
    using Parameters = std::initializer_list<std::int64_t>;

    // Fills and writes the command report, then reads the reply. Parameters
    // are converted before anything is written, so one that is no byte sends
    // nothing. False when the write failed (there is then nothing to read).
    bool SendAndRead(Command command, Parameters parameters);

    // The exchange of operations that end at their first failure: raises
    // error 1 when not connected before the write or after the read.
    void Exchange(Command command, Parameters parameters);

    // The exchange of operations that carry on after a failure: every failed
    // connection check is reported under procName. True when the reply may be
    // decoded.
    bool ExchangeContinuing(Command command, Parameters parameters, const QString& procName);

    // A start request, then polls for as long as the status byte says busy
    // (writing busyTrace each time) and the budget lasts.
    struct PollOutcome {
        bool replied = false;  // a reply to decode is in the input buffer
        int status = 0;
        bool outOfTime = false;
    };
    PollOutcome Poll(Command command, Parameters start, Parameters poll, int busyStatus,
                     const QString& busyTrace, int budgetMs, const QString& procName);

    QString PolledAdcReading(Command command, Parameters start, Parameters poll, const QString& procName,
                             const std::function<QString()>& decode);
    QString FileRead(Command command, Parameters parameters, const QString& procName);
    QString NamedValueRead(Command command, Parameters parameters, const QString& procName);
    QString TwoStateCommand(Command command, Parameters parameters, const QString& procName,
                            const QString& offText, const QString& onText);
    bool Delete(Command command, Parameters parameters, const QString& procName);
    int TableSize(const QString& procName, int replyIndex, int defaultSize);
    void TraceReplyBytes(int first, int last);
    void ExtractKeyEntry(const QString& text, const QString& key, QString& value);

    static void CheckProductIndex(int prodIdx);
    static void CheckLanguageIndex(int langIdx);

    void ReportAppError(int code, const QString& procName);

    // Runs body(result); a failure is reported under procName and the result
    // is returned as it stood.
    template <class T, class Body>
    T LeaveAtOnce(const QString& procName, T initial, Body&& body) {
        T result = std::move(initial);
        try {
            body(result);
        } catch (...) {
            m_errors.LogError(procName);
        }
        return result;
    }

    // Runs one step; a failure is reported and the caller goes on.
    template <class Body>
    bool ContinueStep(const QString& procName, Body&& body) {
        try {
            body();
            return true;
        } catch (...) {
            m_errors.LogError(procName);
            return false;
        }
    }

    ZrHID& m_hid;
    ErrHdlr& m_errors;
    Panes& m_panes;
    const Platform& m_platform;
    ReportTextCodec m_codec;
    QString m_keyAMSN;
    QString m_keyModel;
};

}  // namespace orvix
