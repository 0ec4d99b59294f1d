#pragma once

#include "app/Connection.h"
#include "app/FileIni.h"
#include "common/OperationGuard.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <array>
#include <memory>
#include <vector>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QTabWidget;
class QWidget;

namespace orvix {

struct AppContext;
class CharacterizeTab;
class CustomerListRefresh;
class CustomerTab;
class FileTransferTab;
class LinePane;
class TestCmdsTab;
class UserLists;
class WidgetPanes;
class frmZrHID;

// What differs between the customer build and the demo.
struct MainWindowOptions {
    // The File Transfer, Characterize and Test Cmds tabs.
    bool serviceTabsAvailable = false;
    // Tools > Show (debug pane, HID diagnostics) and its separator.
    bool toolsShowAvailable = false;
    // The Customer tab's language Get File / Delete File buttons.
    bool languageButtonsShown = false;
};

// The main window: tab strip, menus, status bar and debug pane. Each tab is
// its own widget; this class only wires them to the program and runs the
// window's life cycle.
class frmMain : public QMainWindow, public OperationGuard, private IniWindow, private ConnectionView {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Orvix PC Application");
    static constexpr int kWidthTwips = 6600;
    static constexpr int kHeightTwips = 7185;
    static constexpr int kHeightWithDebugTwips = 9085;
    static constexpr int kTabStripWidthTwips = 6200;

    frmMain(AppContext& context, WidgetPanes& panes, const MainWindowOptions& options, QWidget* parent = nullptr);
    ~frmMain() override;

    // The start-up sequence; shows the window.
    void Start();

    void EnableButtons(bool enable) override;
    void UpdateExeTimePanel(std::int32_t milliseconds);
    bool ConfirmAbandonChanges();
    void SSTab_Click(int index);
    void ToolsConnect();

    // While an operation that lets events run is under way, nothing may
    // start a second one or close the window under it.
    void BeginYieldingOperation() override;
    void EndYieldingOperation() override;

    int TwipsPerPixel() const;
    QTabWidget* TabStrip() const { return m_tabs; }
    CustomerTab* Customer() const { return m_customer; }
    FileTransferTab* FileTransfer() const { return m_fileTransfer; }
    CharacterizeTab* Characterize() const { return m_characterize; }
    TestCmdsTab* TestCmds() const { return m_testCmds; }
    CustomerListRefresh* CustomerLists() const { return m_customerLists.get(); }
    frmZrHID* HidDiagnosticsWindow() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void BuildCentralWidget();
    void BuildStatusBar();
    void InitMainWindow();
    void FillFixedLists();
    void SetOuterHeightTwips(int twips);
    void ApplyStartupSize();
    void ShowDebugMessagesToggled();
    void ShowHidDiagnosticsToggled();
    void ShowAbout();
    void SetFileMenuState(bool open, bool save);
    void CheckCharacterizationFolder();
    bool Shutdown();

    // IniWindow
    int TopTwips() const override;
    int LeftTwips() const override;
    void SetTopTwips(int twips) override;
    void SetLeftTwips(int twips) override;
    int CurrentTab() const override;
    void SetCurrentTab(int index) override;
    bool IsTabAvailable(int index) const override;
    void ShowNormal() override;

    // ConnectionView
    void SetUserListMarkers(bool reload) override;
    void RunTabHandler() override;

    AppContext& m_ctx;
    WidgetPanes& m_panes;
    MainWindowOptions m_options;

    QTabWidget* m_tabs = nullptr;
    CustomerTab* m_customer = nullptr;
    FileTransferTab* m_fileTransfer = nullptr;
    CharacterizeTab* m_characterize = nullptr;
    TestCmdsTab* m_testCmds = nullptr;
    QGroupBox* m_fraDebug = nullptr;
    LinePane* m_lstDebug = nullptr;
    std::array<QLabel*, 4> m_panels{};

    QMenu* m_mnuFile = nullptr;
    QAction* m_mnuFileOpen = nullptr;
    QAction* m_mnuFileSave = nullptr;
    QAction* m_mnuFileSaveAs = nullptr;
    QMenu* m_mnuTools = nullptr;
    QAction* m_mnuToolsSep = nullptr;
    QMenu* m_mnuToolsShow = nullptr;
    QAction* m_mnuToolsShowDebugMessages = nullptr;
    QAction* m_mnuToolsShowHIDDiags = nullptr;

    QTimer m_tmrCkConnect;
    QTimer m_tmrPingDevice;
    std::unique_ptr<UserLists> m_userLists;
    std::unique_ptr<CustomerListRefresh> m_customerLists;
    QPointer<frmZrHID> m_hidDiagnostics;

    int m_yieldingOperations = 0;
    bool m_closeRequested = false;
    std::vector<QPointer<QWidget>> m_disabledForOperation;
};

}  // namespace orvix
