#pragma once

#include "protocol/CommandTable.h"
#include "protocol/ReportTextCodec.h"

#include <QString>

#include <cstdint>
#include <initializer_list>

namespace orvix {

class ErrHdlr;
class ZrHID;

// The instrument's operations. Each one is a sequence of exchanges of one
// command report for at most one reply, and reports its own failures under
// its own name; callers only ever see the returned value.
class USBcmds {
public:
    USBcmds(ZrHID& hid, ErrHdlr& errors);

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

    void PingDevice();
    QString TestNVM();
    QString GetUserFile();

    // File type letters as character codes; kAnyFileType accepts every type.
    static constexpr int kAnyFileType = 86;
    // Uploads a product, language, user or normalisation file in one report.
    // False when it was refused or the report could not be written.
    bool SendFileToDevice(const QString& text, int expectedType);

private:
    using Parameters = std::initializer_list<std::int64_t>;

    // Fills and writes the command report, then reads the reply. Parameters
    // are converted before anything is written, so an out-of-range one sends
    // nothing.
    void SendAndRead(Command command, Parameters parameters);

    // The exchange of operations that end at their first failure: raises
    // error 1 when not connected before the write or after the read.
    void Exchange(Command command, Parameters parameters);

    // The exchange of operations that carry on after a failure: every failed
    // connection check is reported under procName (so a command found
    // disconnected reports twice). True when the reply may be decoded.
    bool ExchangeContinuing(Command command, Parameters parameters, const QString& procName);

    void ReportAppError(int code, const QString& procName);

    // Runs body(result); a failure is reported under procName and the result
    // is returned as it stood.
    template <class T, class Body>
    T LeaveAtOnce(const QString& procName, T initial, Body&& body);
    // Runs one step; a failure is reported and the caller goes on.
    template <class Body>
    bool ContinueStep(const QString& procName, Body&& body);

    ZrHID& m_hid;
    ErrHdlr& m_errors;
    ReportTextCodec m_codec;
};

}  // namespace orvix
