#pragma once

#include <QString>

namespace orvix {

class Panes;
class Platform;
class Prompter;
class USBcmds;
class ZrHID;

// What the connection needs from the main window.
class ConnectionView {
public:
    virtual ~ConnectionView() = default;
    // Puts the connection-dependent controls into their connected or
    // not-connected state.
    virtual void EnableButtons(bool enable) = 0;
    // Marks the Customer tab's lists for reloading from the instrument.
    virtual void SetUserListMarkers(bool reload) = 0;
    // Runs the tab-selection handler for the current tab.
    virtual void RunTabHandler() = 0;
};

// The one connection to one instrument: making it (with the user's retries),
// refusing instruments whose software is too old, keeping it alive, and
// showing its state.
class Connection {
public:
    static inline const QString kMinimumVersion = QStringLiteral("00.82");
    static constexpr int kStatusPanel = 0;
    static constexpr int kSettleMs = 1000;

    Connection(ZrHID& hid, USBcmds& cmds, Prompter& prompter, Panes& panes, Platform& platform);
    void SetView(ConnectionView* view) { m_view = view; }

    // Searches until the instrument is open or the user gives up.
    void ConnectToPMT();
    // Tools > Connect (also the start-up connect).
    void Connect();
    // Tools > Disconnect.
    void Disconnect();
    // The 200 ms status tick.
    void UpdateConnectionStatus();
    // The 5000 ms keep-alive tick: pings unless other traffic has just shown
    // the instrument alive.
    void KeepAlive();

    // The instrument's current language and product, read at each connect.
    int LangIdx() const { return m_langIdx; }
    int ProdIdx() const { return m_prodIdx; }
    void SetLangIdx(int index) { m_langIdx = index; }
    void SetProdIdx(int index) { m_prodIdx = index; }

    // The retry message; when the instrument was there but unusable, one more
    // line says why and what to do about it.
    QString DidNotDetectMessage() const;

private:
    void RefuseOldSoftware();

    ZrHID& m_hid;
    USBcmds& m_cmds;
    Prompter& m_prompter;
    Panes& m_panes;
    Platform& m_platform;
    ConnectionView* m_view = nullptr;
    int m_langIdx = 0;
    int m_prodIdx = 0;
};

}  // namespace orvix
