#pragma once

#include "hid/HidBackend.h"
#include "sim/CommandHandler.h"
#include "sim/DefaultContent.h"
#include "sim/InstrumentState.h"
#include "sim/SensorTruth.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <span>
#include <vector>

namespace orvix::sim {

// A stateful Orvix instrument behind the HidBackend interface: the demo
// application runs on it instead of USB, and flow tests drive the real
// program against it.
//
// The instrument answers each command report with one reply, queued for the
// next readTimeout on any of its open handles; file uploads get none, and
// reports with other IDs are ignored. Opening a handle discards replies not
// yet read, as a newly opened device sees only what arrives after. It
// starts with the factory content of DefaultContent.h. Faults can be
// injected at the transport (unplugging, failed writes and opens, lost or
// replaced replies, latency) and in the replies (busy polls, an illegal
// status).
//
// Failures set lastResult() to an errno code: ENODEV for a handle of an
// unplugged instrument, EBADF for a handle that is not open, EINVAL for a
// report that is empty, missing or longer than kReportLength, EIO for an
// injected write failure, EACCES for a refused open, ENOENT for an unknown
// path. Not thread-safe: the program uses its backend from one thread.
class InstrumentSimulator : public HidBackend {
public:
    // Every report, input or output, is this long including its ID byte:
    // enough for the largest file in one report.
    static constexpr std::uint16_t kReportLength = 4097;
    static constexpr std::uint16_t kVendorId = 0x3A7E;
    static constexpr std::uint16_t kProductId = 0x0102;
    static constexpr std::uint16_t kReleaseNumber = 0x0100;
    static constexpr std::uint16_t kUsagePage = 0xFF00;
    // What illegalStatusOnNextStatusReply() puts into status byte 2.
    static constexpr std::uint8_t kIllegalStatus = 0xEE;
    // Replies queued and not read are dropped beyond this many, as an
    // operating system's report queue would.
    static constexpr std::size_t kMaxPendingReplies = 64;

    InstrumentSimulator();
    InstrumentSimulator(const InstrumentSimulator&) = delete;
    InstrumentSimulator& operator=(const InstrumentSimulator&) = delete;

    // HidBackend
    std::vector<HidDeviceInfo> enumerate() override;
    HidHandle open(const QString& path) override;
    QByteArray reportDescriptor(HidHandle handle) override;
    int write(HidHandle handle, const std::uint8_t* data, std::size_t length) override;
    // Delivers the oldest pending reply after the latency; times out at once
    // when none is pending. A latency beyond timeoutMs times the read out
    // after timeoutMs and leaves the reply pending, like a late answer.
    int readTimeout(HidHandle handle, std::uint8_t* data, std::size_t length, int timeoutMs) override;
    void close(HidHandle handle) override;
    HidApiResult lastResult() const override { return m_lastResult; }

    // --- Presence and discovery ------------------------------------------
    // The instrument's enumeration entry (path "sim:orvix" by default).
    const HidDeviceInfo& deviceInfo() const { return m_deviceInfo; }
    void setDeviceInfo(const HidDeviceInfo& info) { m_deviceInfo = info; }
    // Another HID device on the machine. It enumerates whether or not the
    // instrument is plugged in; an openable one accepts writes, never
    // replies and has no descriptor.
    void addForeignDevice(const HidDeviceInfo& info, bool openable = false);
    // Unplugging drops every handle open so far for good (their writes and
    // reads fail, even after replugging) and the pending replies; the
    // instrument keeps its files and settings, as it runs on its battery.
    void unplug();
    void replug();
    bool isPlugged() const { return m_plugged; }
    int openHandleCount() const { return static_cast<int>(m_handles.size()); }

    // --- Fault injection (each counter adds to what is left) -------------
    // The next count opens of the instrument fail.
    void failNextOpens(int count);
    // The next count writes fail (-1) without reaching the instrument.
    void failNextWrites(int count);
    // The next count commands are carried out but their replies are lost,
    // so the reads time out.
    void dropNextReplies(int count);
    // The next command is carried out and answered with these bytes instead
    // (cut or zero-filled to kReportLength); several queue up in order.
    void injectReply(const QByteArray& report);
    // The next reply whose status byte the PC checks carries kIllegalStatus.
    void illegalStatusOnNextStatusReply();
    // Polls answered "busy" after each start of a cell conversion (0x1A),
    // load-cell reading (0x1C) or measurement (0x4A); 2 by default.
    void setBusyPolls(int polls);
    // Replaces the descriptor the instrument's handles report (an empty one
    // reads as unavailable).
    void setReportDescriptor(const QByteArray& descriptor) { m_descriptor = descriptor; }
    // Time each reply takes to arrive, spent inside readTimeout through the
    // sleep function; 2 ms by default, like a full-speed USB device.
    void setLatencyMs(int ms);
    void setSleepFunction(std::function<void(int ms)> sleep);

    // --- Instrument content ------------------------------------------------
    // File texts as stored; an empty text is a slot without a file (read as
    // "No Data"). Indices outside 0–19 / 0–11 read as empty and are not
    // stored. A text too long for a report, or with a character the link
    // cannot carry, is answered as far as it can be encoded.
    QString productFile(int product, int language) const;
    void setProductFile(int product, int language, const QString& text);
    QString languageFile(int language) const;
    void setLanguageFile(int language, const QString& text);
    QString userFile() const { return m_state.files.user; }
    void setUserFile(const QString& text) { m_state.files.user = text; }
    QString normalizationFile() const { return m_state.files.normalization; }
    void setNormalizationFile(const QString& text) { m_state.files.normalization = text; }
    QString keyFile() const { return m_state.files.key; }
    void setKeyFile(const QString& text) { m_state.files.key = text; }
    // All slots at once, e.g. to start from an empty instrument.
    InstrumentFiles& files() { return m_state.files; }

    int languageIndex() const { return m_state.languageIndex; }
    int productIndex() const { return m_state.productIndex; }
    // Ignored unless both are in range.
    void setCurrentIndices(int language, int product);

    // Software information item 1; "00.82" by default.
    QString softwareVersion() const { return m_state.softwareInfo[1]; }
    void setSoftwareVersion(const QString& version) { m_state.softwareInfo[1] = version; }
    // Items 0–8; others are ignored.
    void setSoftwareInfo(int item, const QString& text);

    // Bit 0 Home, 1 Up, 2 Enter, 3 Down; a set bit is an open switch.
    std::uint8_t switchBits() const { return m_state.switchBits; }
    void setSwitchBits(std::uint8_t bits) { m_state.switchBits = bits; }

    // Command 0x49 with mode 1 pushes its code in as the newest (reply byte
    // 3) and the oldest drops out; mode 2 clears the buffer; any other mode
    // only reads it. Every mode answers the buffer after the change.
    const std::array<std::uint8_t, 5>& errorCodes() const { return m_state.errorCodes; }
    void setErrorCodes(const std::array<std::uint8_t, 5>& codes) { m_state.errorCodes = codes; }

    // 0 the language description, 1–43 a menu text of the current language,
    // -1 before the PC showed anything.
    int displayedText() const { return m_state.displayedText; }

    // The physical instrument behind the sensor readings.
    SensorTruth& sensorTruth() { return m_state.truth; }

    // Everything else the instrument remembers (modes, checksums, busy
    // counters), for tests that need it.
    InstrumentState& state() { return m_state; }

    // --- What the PC sent -----------------------------------------------------
    // Codes of the command reports received, oldest first (the most recent
    // ones only, in a long session).
    const std::vector<std::uint8_t>& commandLog() const { return m_commandLog; }
    // Report IDs of the file reports received, stored or not.
    const std::vector<std::uint8_t>& uploadLog() const { return m_uploadLog; }
    void clearLogs();
    std::size_t pendingReplies() const { return m_replies.size(); }

private:
    struct OpenHandle {
        int foreignDevice = -1;  // index into m_foreign, -1 for the instrument
        unsigned generation = 0;
    };
    struct ForeignDevice {
        HidDeviceInfo info;
        bool openable = false;
    };

    // The open handle, or nullptr with lastResult set.
    const OpenHandle* liveHandle(HidHandle handle);
    void receive(std::span<const std::uint8_t> report);
    void queueReply(Report reply);
    void succeed() { m_lastResult = {0, {}}; }
    void fail(int code) { m_lastResult = {code, {}}; }

    InstrumentState m_state;
    CommandHandler m_handler{m_state, kReportLength};

    HidDeviceInfo m_deviceInfo;
    QByteArray m_descriptor;
    std::vector<ForeignDevice> m_foreign;
    bool m_plugged = true;
    unsigned m_generation = 0;
    std::map<HidHandle, OpenHandle> m_handles;
    HidHandle m_nextHandle = 1;
    std::deque<Report> m_replies;

    int m_failOpens = 0;
    int m_failWrites = 0;
    int m_dropReplies = 0;
    std::deque<Report> m_injectedReplies;
    bool m_illegalStatus = false;
    int m_latencyMs = 2;
    std::function<void(int)> m_sleep;

    std::vector<std::uint8_t> m_commandLog;
    std::vector<std::uint8_t> m_uploadLog;
    HidApiResult m_lastResult;
};

}  // namespace orvix::sim
