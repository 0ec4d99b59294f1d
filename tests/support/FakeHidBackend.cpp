#include "support/FakeHidBackend.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orvix::test {

QByteArray FakeHidBackend::Report(std::initializer_list<int> bytes) {
    QByteArray report;
    for (const int b : bytes) report.append(static_cast<char>(b));
    return report;
}

std::vector<HidDeviceInfo> FakeHidBackend::enumerate() {
    succeed();
    return devices;
}

HidHandle FakeHidBackend::open(const QString& path) {
    if (m_failedOpens.count(m_openCalls++) != 0) {
        fail(EIO);
        return kInvalidHidHandle;
    }
    if (unopenablePaths.count(path) != 0) {
        fail(EACCES);
        return kInvalidHidHandle;
    }
    succeed();
    m_opened.push_back(path);
    return m_nextHandle++;
}

QByteArray FakeHidBackend::reportDescriptor(HidHandle) {
    succeed();
    return descriptor;
}

int FakeHidBackend::write(HidHandle, const std::uint8_t* data, std::size_t length) {
    const int index = m_writes++;
    if (m_failedWrites.count(index) != 0) {
        fail(EIO);
        return -1;
    }
    m_written.emplace_back(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
    if (m_shortWrites.count(index) != 0) {
        succeed();
        return static_cast<int>(length) - 1;
    }
    succeed();
    return static_cast<int>(length);
}

int FakeHidBackend::readTimeout(HidHandle, std::uint8_t* data, std::size_t length,
                                int timeoutMs) {
    const int index = m_reads++;
    m_readTimeouts.push_back(timeoutMs);
    if (onRead) onRead();
    if (m_failedReads.count(index) != 0) {
        fail(EIO);
        return -1;
    }
    QByteArray reply;
    if (m_timedOutReads.count(index) == 0) {
        if (!m_replies.empty()) {
            reply = m_replies.front();
            m_replies.pop_front();
        } else {
            reply = m_defaultReply;
        }
    }
    if (reply.isEmpty()) {
        succeed();
        return 0;
    }
    const std::size_t n = std::min<std::size_t>(length, static_cast<std::size_t>(reply.size()));
    std::memcpy(data, reply.constData(), n);
    succeed();
    return static_cast<int>(n);
}

void FakeHidBackend::close(HidHandle handle) {
    succeed();
    m_closed.push_back(handle);
}

}  // namespace orvix::test
