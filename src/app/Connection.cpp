#include "app/Connection.h"

#include "common/Numbers.h"
#include "common/Panes.h"
#include "common/Platform.h"
#include "common/Prompter.h"
#include "common/SessionState.h"
#include "hid/ZrHID.h"
#include "protocol/ErrHdlr.h"
#include "protocol/USBcmds.h"

namespace orvix {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

}  // namespace

Connection::Connection(ZrHID& hid, USBcmds& cmds, Prompter& prompter, Panes& panes, Platform& platform,
                       SessionState& session)
    : m_hid(hid), m_cmds(cmds), m_prompter(prompter), m_panes(panes), m_platform(platform), m_session(session) {}

QString Connection::DidNotDetectMessage() const {
    QString text = QStringLiteral("     Did not Detect Orvix.") + kCrLf + kCrLf +
                   QStringLiteral("Please Attach Orvix to USB Cable,") + kCrLf +
                   QStringLiteral(" and Ensure Orvix is Powered On.") + kCrLf;
    const DiscoveryProblem& problem = m_hid.LastDiscoveryProblem();
    if (!problem.instrumentPresent) return text;
    if (problem.detail == QLatin1String("permission denied"))
        return text + QStringLiteral("An Orvix is attached but access to it was denied: install the udev rule "
                                     "70-orvix.rules (see README) and plug the Orvix in again.") +
               kCrLf;
    return text + QStringLiteral("An Orvix is attached but could not be used (") + problem.detail +
           QStringLiteral("): unplug it and plug it in again.") + kCrLf;
}

void Connection::ConnectToPMT() {
    for (;;) {
        m_hid.FindTheHid();
        if (m_hid.DeviceDetected()) return;
        m_hid.CloseDeviceHandles();
        MessageBoxRequest box;
        box.text = DidNotDetectMessage();
        box.title = ErrHdlr::kApplicationTitle;
        box.icon = MsgIcon::Information;
        box.buttons = MsgButtons::RetryCancel;
        if (m_prompter.messageBox(box) != MsgAnswer::Retry) return;
    }
}

void Connection::Connect() {
    // Searching again while connected would leave the old handles open.
    m_hid.CloseDeviceHandles();
    ConnectToPMT();
    if (m_hid.DeviceDetected()) {
        m_platform.sleep(kSettleMs);
        RefuseOldSoftware();
    }
    const bool connected = m_hid.DeviceDetected();
    if (m_view) m_view->EnableButtons(connected);
    if (connected) m_cmds.AccessLangIdxProdIdx(false, m_session.LangIdx, m_session.ProdIdx);
    if (m_view) {
        m_view->SetUserListMarkers(connected);
        m_view->RunTabHandler();
    }
}

void Connection::RefuseOldSoftware() {
    const QString version = m_cmds.GetSoftwareInfo(1);
    if (Val(version) >= Val(kMinimumVersion)) return;
    MessageBoxRequest box;
    box.text = QStringLiteral("Orvix software is Version ") + version + QStringLiteral(".") + kCrLf +
               kMinimumVersion + QStringLiteral(" or newer is required for this Application.");
    box.title = ErrHdlr::kApplicationTitle;
    box.icon = MsgIcon::Exclamation;
    box.buttons = MsgButtons::Ok;
    m_prompter.messageBox(box);
    m_hid.CloseDeviceHandles();
}

void Connection::Disconnect() { m_hid.CloseDeviceHandles(); }

void Connection::UpdateConnectionStatus() {
    if (m_hid.DeviceDetected()) {
        m_panes.SetStatusPanel(kStatusPanel, QStringLiteral("Connected"));
        return;
    }
    m_panes.SetStatusPanel(kStatusPanel, QStringLiteral("Not Connected"));
    if (m_view) m_view->EnableButtons(false);
}

void Connection::KeepAlive() {
    if (!m_hid.DeviceDetected()) return;
    if (!m_hid.ReportWritten()) m_cmds.PingDevice();
    m_hid.SetReportWritten(false);
}

}  // namespace orvix
