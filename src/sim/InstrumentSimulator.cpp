#include "sim/InstrumentSimulator.h"

#include "protocol/CommandTable.h"
#include "sim/InstrumentDescriptor.h"

#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orvix::sim {

namespace {

// A long session (a looping test command) must not grow the log forever.
constexpr std::size_t kMaxLoggedCommands = 65536;

void Log(std::vector<std::uint8_t>& log, std::uint8_t entry) {
    if (log.size() >= kMaxLoggedCommands) log.erase(log.begin(), log.begin() + kMaxLoggedCommands / 2);
    log.push_back(entry);
}

}  // namespace

InstrumentSimulator::InstrumentSimulator()
    : m_descriptor(InstrumentReportDescriptor(kReportLength - 1)),
      m_sleep([](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }) {
    m_deviceInfo.path = QStringLiteral("sim:orvix");
    m_deviceInfo.vendorId = kVendorId;
    m_deviceInfo.productId = kProductId;
    m_deviceInfo.releaseNumber = kReleaseNumber;
    m_deviceInfo.usagePage = kUsagePage;
    m_deviceInfo.usage = 1;
    m_deviceInfo.interfaceNumber = 0;
    m_deviceInfo.manufacturer = QStringLiteral("Orvix Instruments");
    m_deviceInfo.product = QStringLiteral("Orvix Grain Analyser");
}

std::vector<HidDeviceInfo> InstrumentSimulator::enumerate() {
    std::vector<HidDeviceInfo> devices;
    if (m_plugged) devices.push_back(m_deviceInfo);
    for (const ForeignDevice& device : m_foreign) devices.push_back(device.info);
    succeed();
    return devices;
}

HidHandle InstrumentSimulator::open(const QString& path) {
    OpenHandle opened;
    if (m_plugged && path == m_deviceInfo.path) {
        if (m_failOpens > 0) {
            --m_failOpens;
            fail(EACCES);
            return kInvalidHidHandle;
        }
        opened.generation = m_generation;
        // A new handle sees only reports that arrive after it was opened.
        m_replies.clear();
    } else {
        const auto found = std::find_if(m_foreign.begin(), m_foreign.end(),
                                        [&path](const ForeignDevice& d) { return d.info.path == path; });
        if (found == m_foreign.end()) {
            fail(path == m_deviceInfo.path ? ENODEV : ENOENT);
            return kInvalidHidHandle;
        }
        if (!found->openable) {
            fail(EACCES);
            return kInvalidHidHandle;
        }
        opened.foreignDevice = static_cast<int>(found - m_foreign.begin());
    }
    const HidHandle handle = m_nextHandle++;
    m_handles.emplace(handle, opened);
    succeed();
    return handle;
}

const InstrumentSimulator::OpenHandle* InstrumentSimulator::liveHandle(HidHandle handle) {
    const auto found = m_handles.find(handle);
    if (found == m_handles.end()) {
        fail(EBADF);
        return nullptr;
    }
    const OpenHandle& open = found->second;
    if (open.foreignDevice < 0 && (!m_plugged || open.generation != m_generation)) {
        fail(ENODEV);
        return nullptr;
    }
    return &open;
}

QByteArray InstrumentSimulator::reportDescriptor(HidHandle handle) {
    const OpenHandle* open = liveHandle(handle);
    if (open == nullptr) return {};
    if (open->foreignDevice >= 0) {
        fail(EIO);
        return {};
    }
    succeed();
    return m_descriptor;
}

int InstrumentSimulator::write(HidHandle handle, const std::uint8_t* data, std::size_t length) {
    const OpenHandle* open = liveHandle(handle);
    if (open == nullptr) return -1;
    if (data == nullptr || length == 0 || length > kReportLength) {
        fail(EINVAL);
        return -1;
    }
    if (m_failWrites > 0) {
        --m_failWrites;
        fail(EIO);
        return -1;
    }
    if (open->foreignDevice < 0) receive(std::span<const std::uint8_t>(data, length));
    succeed();
    return static_cast<int>(length);
}

void InstrumentSimulator::receive(std::span<const std::uint8_t> report) {
    const std::uint8_t id = report[0];
    if (CommandHandler::IsFileReport(id)) {
        Log(m_uploadLog, id);
        m_handler.upload(report);
        return;
    }
    // Reports of any other ID are not the instrument's: no reply.
    if (id != report_id::kCommand) return;

    Log(m_commandLog, report.size() > 1 ? report[1] : 0);
    Report reply = m_handler.command(report);
    if (!m_injectedReplies.empty()) {
        reply = std::move(m_injectedReplies.front());
        m_injectedReplies.pop_front();
    } else if (m_illegalStatus && CommandHandler::RepliesWithCheckedStatus(report)) {
        m_illegalStatus = false;
        reply[2] = kIllegalStatus;
    }
    if (m_dropReplies > 0) {
        --m_dropReplies;
        return;
    }
    queueReply(std::move(reply));
}

void InstrumentSimulator::queueReply(Report reply) {
    if (m_replies.size() >= kMaxPendingReplies) m_replies.pop_front();
    m_replies.push_back(std::move(reply));
}

int InstrumentSimulator::readTimeout(HidHandle handle, std::uint8_t* data, std::size_t length, int timeoutMs) {
    const OpenHandle* open = liveHandle(handle);
    if (open == nullptr) return -1;
    if (data == nullptr || length == 0) {
        fail(EINVAL);
        return -1;
    }
    succeed();
    if (open->foreignDevice >= 0 || m_replies.empty()) return 0;

    if (m_latencyMs > 0) {
        // A negative time-out waits as long as it takes.
        const bool late = timeoutMs >= 0 && m_latencyMs > timeoutMs;
        const int wait = late ? timeoutMs : m_latencyMs;
        if (wait > 0 && m_sleep) m_sleep(wait);
        if (late) return 0;
    }
    const Report& reply = m_replies.front();
    const std::size_t n = std::min(length, reply.size());
    std::memcpy(data, reply.data(), n);
    m_replies.pop_front();
    return static_cast<int>(n);
}

void InstrumentSimulator::close(HidHandle handle) {
    if (m_handles.erase(handle) == 0) {
        fail(EBADF);
        return;
    }
    succeed();
}

void InstrumentSimulator::addForeignDevice(const HidDeviceInfo& info, bool openable) {
    m_foreign.push_back({info, openable});
}

void InstrumentSimulator::unplug() {
    m_plugged = false;
    ++m_generation;
    m_replies.clear();
}

void InstrumentSimulator::replug() { m_plugged = true; }

void InstrumentSimulator::failNextOpens(int count) { m_failOpens += std::max(count, 0); }
void InstrumentSimulator::failNextWrites(int count) { m_failWrites += std::max(count, 0); }
void InstrumentSimulator::dropNextReplies(int count) { m_dropReplies += std::max(count, 0); }

void InstrumentSimulator::injectReply(const QByteArray& report) {
    Report reply(kReportLength, 0);
    std::copy_n(reinterpret_cast<const std::uint8_t*>(report.constData()),
                std::min<std::size_t>(static_cast<std::size_t>(report.size()), reply.size()), reply.begin());
    m_injectedReplies.push_back(std::move(reply));
}

void InstrumentSimulator::illegalStatusOnNextStatusReply() { m_illegalStatus = true; }

void InstrumentSimulator::setBusyPolls(int polls) { m_state.busyPolls = std::max(polls, 0); }

void InstrumentSimulator::setLatencyMs(int ms) { m_latencyMs = std::max(ms, 0); }

void InstrumentSimulator::setSleepFunction(std::function<void(int ms)> sleep) { m_sleep = std::move(sleep); }

QString InstrumentSimulator::productFile(int product, int language) const {
    if (product < 0 || product >= kMaxProducts || language < 0 || language >= kMaxLanguages) return {};
    return m_state.files.products[static_cast<std::size_t>(language)][static_cast<std::size_t>(product)];
}

void InstrumentSimulator::setProductFile(int product, int language, const QString& text) {
    if (product < 0 || product >= kMaxProducts || language < 0 || language >= kMaxLanguages) return;
    m_state.files.products[static_cast<std::size_t>(language)][static_cast<std::size_t>(product)] = text;
}

QString InstrumentSimulator::languageFile(int language) const {
    if (language < 0 || language >= kMaxLanguages) return {};
    return m_state.files.languages[static_cast<std::size_t>(language)];
}

void InstrumentSimulator::setLanguageFile(int language, const QString& text) {
    if (language < 0 || language >= kMaxLanguages) return;
    m_state.files.languages[static_cast<std::size_t>(language)] = text;
}

void InstrumentSimulator::setCurrentIndices(int language, int product) {
    if (language < 0 || language >= kMaxLanguages || product < 0 || product >= kMaxProducts) return;
    m_state.languageIndex = language;
    m_state.productIndex = product;
}

void InstrumentSimulator::setSoftwareInfo(int item, const QString& text) {
    if (item < 0 || item >= static_cast<int>(m_state.softwareInfo.size())) return;
    m_state.softwareInfo[static_cast<std::size_t>(item)] = text;
}

void InstrumentSimulator::clearLogs() {
    m_commandLog.clear();
    m_uploadLog.clear();
}

}  // namespace orvix::sim
