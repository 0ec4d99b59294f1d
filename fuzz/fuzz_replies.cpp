// Feeds arbitrary reply reports to every instrument operation. Whatever the
// instrument (or a broken cable) sends, decoding must neither crash nor read
// outside the report.

#include "common/NullPanes.h"
#include "common/Platform.h"
#include "common/UnattendedPrompter.h"
#include "hid/HidBackend.h"
#include "hid/ZrHID.h"
#include "protocol/ErrHdlr.h"
#include "protocol/USBcmds.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>

namespace {

using namespace orvix;

// Each read takes the next chunk of the fuzz input: a length byte, then up
// to that many bytes. An exhausted input times out.
class FuzzBackend : public HidBackend {
public:
    FuzzBackend(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::vector<HidDeviceInfo> enumerate() override { return {}; }
    HidHandle open(const QString&) override { return 1; }
    QByteArray reportDescriptor(HidHandle) override { return {}; }
    int write(HidHandle, const std::uint8_t*, std::size_t length) override { return static_cast<int>(length); }
    int readTimeout(HidHandle, std::uint8_t* data, std::size_t length, int) override {
        if (m_pos >= m_size) return 0;
        const std::size_t wanted = m_data[m_pos++];
        const std::size_t n = std::min({wanted, length, m_size - m_pos});
        std::memcpy(data, m_data + m_pos, n);
        m_pos += n;
        return static_cast<int>(n);
    }
    void close(HidHandle) override {}
    HidApiResult lastResult() const override { return {}; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// Time runs on with every reading, so busy replies end within the budget.
class RacingPlatform : public Platform {
public:
    QString programFolder() const override { return QStringLiteral("/nonexistent/orvix-fuzz"); }
    std::uint32_t milliseconds() const override { return m_ms += 1000; }
    std::uint32_t timerPeriodMin() const override { return 1; }
    std::uint32_t timerPeriodMax() const override { return 1; }
    void sleep(int) override {}
    QDateTime now() const override { return {}; }

private:
    mutable std::uint32_t m_ms = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    FuzzBackend backend(data + 1, size - 1);
    ZrHID hid(backend);
    UnattendedPrompter prompter;
    NullPanes panes;
    RacingPlatform platform;
    ErrHdlr errors(prompter, platform);
    USBcmds cmds(hid, errors, panes, platform);

    HidCaps caps;
    caps.InputReportByteLength = static_cast<std::uint16_t>(data[0] % 80);  // short reports included
    caps.OutputReportByteLength = 64;
    const auto reconnect = [&] {
        if (!hid.DeviceDetected()) hid.AttachDevice(1, 2, caps);
    };

    int lang = 0;
    int prod = 0;
    const std::function<void()> operations[] = {
        [&] { cmds.GetProductFile(1, 1); },   [&] { cmds.GetLanguageFile(2); },
        [&] { cmds.GetUserFile(); },          [&] { cmds.GetNormalizationFile(); },
        [&] { cmds.GetKeyFile(); cmds.GetSerialNumber(); },
        [&] { cmds.GetProductName(3, 0); },   [&] { cmds.GetLanguageDescription(0); },
        [&] { cmds.DeleteProductFile(0, 0); }, [&] { cmds.DeleteLanguageFile(0); },
        [&] { cmds.PingDevice(); },           [&] { cmds.GetCellADC(1); },
        [&] { cmds.AccessLoadCell(); },       [&] { cmds.AccessAccelerometer(3); },
        [&] { cmds.GetNrmlTemp(0); },         [&] { cmds.GetMeasValues(); },
        [&] { cmds.GetSoftwareInfo(1); },     [&] { cmds.GetPgmCkSum(0); },
        [&] { cmds.TestNVM(); },              [&] { cmds.ControlBacklight(2); },
        [&] { cmds.GetSwitchStatus(); },      [&] { cmds.GetAnalogValue(1); },
        [&] { cmds.AccessErrCode(0, 0); },    [&] { cmds.AccessMeasSeq(1); },
        [&] { cmds.AccessLangIdxProdIdx(false, lang, prod); },
        [&] { cmds.GetMaxProducts(); },       [&] { cmds.GetMaxLanguages(); },
        [&] { cmds.IssueUnknownCmd(); },      [&] { cmds.SendText2Display(1, 2, 3, 4); },
    };
    for (const auto& operation : operations) {
        reconnect();
        operation();
    }
    return 0;
}
