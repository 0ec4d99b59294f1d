#pragma once

#include "common/Text.h"
#include "protocol/ReportTextCodec.h"
#include "sim/InstrumentSimulator.h"

#include <QString>

#include <gtest/gtest.h>

#include <initializer_list>

namespace orvix::sim::test {

constexpr std::size_t kLength = InstrumentSimulator::kReportLength;

// A reply as the tests see it: a byte past its end reads as -1, so a missing
// reply fails the test instead of crashing it.
struct Reply : Report {
    using Report::Report;
    int operator[](std::size_t i) const { return i < size() ? static_cast<int>(data()[i]) : -1; }
};

// An instrument with one open handle and no real waiting.
struct SimulatorTest : ::testing::Test {
    InstrumentSimulator sim;
    HidHandle handle = kInvalidHidHandle;

    SimulatorTest() {
        sim.setLatencyMs(0);
        handle = sim.open(sim.deviceInfo().path);
    }

    // Writes a whole report: the given bytes from byte 0, then zeros.
    int writeReport(std::initializer_list<int> bytes) {
        Report out(kLength, 0);
        std::size_t i = 0;
        for (const int b : bytes) out[i++] = static_cast<std::uint8_t>(b);
        return sim.write(handle, out.data(), out.size());
    }

    // The reply to a command report (ID 1, then the code and its
    // parameters); empty when the read timed out or failed.
    Reply exchange(std::initializer_list<int> command) {
        Report out(kLength, 0);
        out[0] = 1;
        std::size_t i = 1;
        for (const int b : command) out[i++] = static_cast<std::uint8_t>(b);
        EXPECT_EQ(sim.write(handle, out.data(), out.size()), static_cast<int>(kLength));
        return read();
    }

    Reply read(int timeoutMs = 1000) {
        Reply in(kLength, 0);
        const int n = sim.readTimeout(handle, in.data(), in.size(), timeoutMs);
        if (n <= 0) return {};
        in.resize(static_cast<std::size_t>(n));
        return in;
    }

    // Sends a file the way the PC does: product text from byte 3, language
    // text from byte 2, the others from byte 1; the key file one byte per
    // character.
    void upload(std::uint8_t reportId, const QString& text) {
        Report out(kLength, 0);
        out[0] = reportId;
        int index = reportId == 2 ? 3 : reportId == 5 ? 2 : 1;
        if (reportId == 7) {
            for (const QChar c : text) out[static_cast<std::size_t>(index++)] = Cp1252ByteOrRaise(c);
        } else {
            EncodeReportText(text, out, index);
        }
        ASSERT_EQ(sim.write(handle, out.data(), out.size()), static_cast<int>(kLength));
    }
};

// The text of a reply from its start byte, up to the zeros that fill it.
inline QString TextFrom(const Report& reply, int start) {
    QString text;
    DecodeReportText(reply, start, static_cast<int>(reply.size()) - 1, text);
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

// Lines of a file text split at CR LF, without the empty piece after the last.
inline QStringList FileLines(const QString& text) {
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    return lines;
}

inline int SignedAt(const Reply& r, std::size_t high) {
    const int value = r[high] * 256 + r[high + 1];
    return value > 0x7FFF ? value - 65536 : value;
}

}  // namespace orvix::sim::test
