#pragma once

#include "hid/HidBackend.h"

#include <QByteArray>

#include <deque>
#include <functional>
#include <set>
#include <vector>

namespace orvix::test {

// A scripted HID backend: replies come from a queue, every written report is
// recorded, and a write, a read time-out or a read failure can be injected at
// any exchange. No real time ever passes.
class FakeHidBackend : public HidBackend {
public:
    // Builds a reply report from its bytes: report ID first.
    static QByteArray Report(std::initializer_list<int> bytes);

    std::vector<HidDeviceInfo> devices;
    QByteArray descriptor;
    std::set<QString> unopenablePaths;
    // Called at every read, e.g. to let a fake clock move on.
    std::function<void()> onRead;
    // The open call with this index (counted from 0) fails with EIO.
    void failOpenAt(int openIndex) { m_failedOpens.insert(openIndex); }

    void queueReply(const QByteArray& report) { m_replies.push_back(report); }
    // Answered when the queue is empty (instead of a time-out).
    void setDefaultReply(const QByteArray& report) { m_defaultReply = report; }
    // Counted from 0 in the order the calls happen.
    void failWriteAt(int writeIndex) { m_failedWrites.insert(writeIndex); }
    void shortWriteAt(int writeIndex) { m_shortWrites.insert(writeIndex); }
    void timeoutReadAt(int readIndex) { m_timedOutReads.insert(readIndex); }
    void failReadAt(int readIndex) { m_failedReads.insert(readIndex); }

    const std::vector<QByteArray>& written() const { return m_written; }
    const std::vector<int>& readTimeouts() const { return m_readTimeouts; }
    const std::vector<HidHandle>& closedHandles() const { return m_closed; }
    const std::vector<QString>& openedPaths() const { return m_opened; }
    int openHandleCount() const { return static_cast<int>(m_opened.size() - m_closed.size()); }
    int readCount() const { return m_reads; }
    std::size_t pendingReplies() const { return m_replies.size(); }

    std::vector<HidDeviceInfo> enumerate() override;
    HidHandle open(const QString& path) override;
    QByteArray reportDescriptor(HidHandle handle) override;
    int write(HidHandle handle, const std::uint8_t* data, std::size_t length) override;
    int readTimeout(HidHandle handle, std::uint8_t* data, std::size_t length,
                    int timeoutMs) override;
    void close(HidHandle handle) override;
    HidApiResult lastResult() const override { return m_lastResult; }

private:
    void succeed() { m_lastResult = {0, {}}; }
    void fail(int code) { m_lastResult = {code, {}}; }

    std::deque<QByteArray> m_replies;
    QByteArray m_defaultReply;
    std::set<int> m_failedOpens;
    int m_openCalls = 0;
    std::set<int> m_failedWrites, m_shortWrites, m_timedOutReads, m_failedReads;
    std::vector<QByteArray> m_written;
    std::vector<int> m_readTimeouts;
    std::vector<HidHandle> m_closed;
    std::vector<QString> m_opened;
    int m_writes = 0;
    int m_reads = 0;
    HidHandle m_nextHandle = 100;
    HidApiResult m_lastResult;
};

}  // namespace orvix::test
