#pragma once

#include "hid/ZrHID.h"
#include "protocol/ErrHdlr.h"
#include "protocol/USBcmds.h"
#include "support/FakeHidBackend.h"
#include "support/ScriptedPrompter.h"
#include "support/TestServices.h"

#include <QStringList>

namespace orvix::test {

// The transport and command layer over a scripted backend, with a fixed
// clock and a program folder of their own.
struct ProtocolHarness {
    FakeHidBackend backend;
    ZrHID hid{backend};
    FakePlatform platform;
    ScriptedPrompter prompter;
    RecordingPanes panes;
    ErrHdlr errors{prompter, platform};
    USBcmds cmds{hid, errors, panes, platform};

    // Opens the instrument with reports of the given lengths (ID byte included).
    void connect(std::uint16_t inputLength = 64, std::uint16_t outputLength = 64) {
        HidCaps caps;
        caps.InputReportByteLength = inputLength;
        caps.OutputReportByteLength = outputLength;
        hid.AttachDevice(backend.open(QStringLiteral("fake:0")), backend.open(QStringLiteral("fake:0")), caps);
    }

    // The lines of "Errors.Txt", without their CR LF.
    QStringList errorLog() const {
        QStringList lines = QString::fromLatin1(platform.readFile(ErrHdlr::kLogFileName))
                                .split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
        return lines;
    }
};

// "Err 8, Device Not Connected, PingDevice(), 2026FEB03, 17:14:09": the log
// line of an application error at the harness's fixed time.
inline QString AppErrorLine(const QString& message, const QString& procName) {
    return QStringLiteral("Err 8, ") + message + QStringLiteral(", ") + procName +
           QStringLiteral(", 2026FEB03, 17:14:09");
}

}  // namespace orvix::test
