#include "app/gui/frmMain.h"

#include "app/AppContext.h"
#include "app/gui/WidgetPanes.h"
#include "app/gui/frmAbout.h"
#include "characterize/gui/CharacterizeTab.h"
#include "common/Panes.h"
#include "common/Platform.h"
#include "common/Prompter.h"
#include "common/gui/LinePane.h"
#include "common/gui/TextPane.h"
#include "hid/gui/frmZrHID.h"
#include "testcmds/gui/TestCmdsTab.h"
#include "transfer/gui/FileTransferTab.h"
#include "userfiles/UserLists.h"
#include "userfiles/gui/CustomerListRefresh.h"
#include "userfiles/gui/CustomerTab.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTime>
#include <QVBoxLayout>
#include <QWindow>

namespace orvix {

namespace {

constexpr int kCustomerTab = 0;
constexpr int kFileTransferTab = 1;
constexpr int kCharacterizeTab = 2;
constexpr int kTestCmdsTab = 3;
constexpr int kConnectionPanel = 0;
constexpr int kExeTimePanel = 1;
constexpr int kDatePanel = 2;
constexpr int kTimePanel = 3;
constexpr int kDebugFrameHeightTwips = 1800;

// Controls that stay live while an operation runs, so it can be stopped.
bool StaysLiveDuringOperations(const QWidget* widget) {
    static const QStringList kLive = {QStringLiteral("cbHalt"), QStringLiteral("chkLoop"),
                                      QStringLiteral("lstCellDataCh")};
    return kLive.contains(widget->objectName());
}

QAction* NamedAction(QMenu* menu, const QString& text, const char* name) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    return action;
}

void FillNumbers(QComboBox* list, int count) {
    const QSignalBlocker quiet(list);
    list->clear();
    for (int i = 0; i < count; ++i) list->addItem(QString::number(i));
    // The lists start with their first entry selected.
    list->setCurrentIndex(0);
}

}  // namespace

frmMain::frmMain(AppContext& context, WidgetPanes& panes, const MainWindowOptions& options, QWidget* parent)
    : QMainWindow(parent), m_ctx(context), m_panes(panes), m_options(options) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kCaption);
    BuildMenus();
    BuildCentralWidget();
    BuildStatusBar();
    m_panes.Attach(m_lstDebug, m_characterize->DataPane(), m_testCmds->ResponsePane(), m_fileTransfer->FileView(),
                   m_panels);

    m_userLists = std::make_unique<UserLists>(m_ctx.cmds, m_ctx.hid);
    m_customerLists = std::make_unique<CustomerListRefresh>(*m_customer, *m_userLists, m_ctx.panes, m_ctx.session);
    m_customerLists->SetGuard(this);
    m_ctx.connection.SetView(this);

    m_tmrCkConnect.setObjectName(QStringLiteral("tmrCkConnect"));
    m_tmrCkConnect.setInterval(200);
    connect(&m_tmrCkConnect, &QTimer::timeout, this, [this] { m_ctx.connection.UpdateConnectionStatus(); });
    m_tmrPingDevice.setObjectName(QStringLiteral("tmrPingDevice"));
    m_tmrPingDevice.setInterval(5000);
    connect(&m_tmrPingDevice, &QTimer::timeout, this, [this] {
        m_tmrPingDevice.setInterval(5000);
        m_ctx.connection.KeepAlive();
    });
}

frmMain::~frmMain() { m_ctx.connection.SetView(nullptr); }

void frmMain::BuildMenus() {
    m_mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    m_mnuFile->setObjectName(QStringLiteral("mnuFile"));
    m_mnuFileOpen = NamedAction(m_mnuFile, QStringLiteral("Open..."), "mnuFileOpen");
    m_mnuFile->addSeparator();
    m_mnuFileSave = NamedAction(m_mnuFile, QStringLiteral("Save"), "mnuFileSave");
    m_mnuFileSaveAs = NamedAction(m_mnuFile, QStringLiteral("Save As..."), "mnuFileSaveAs");
    m_mnuFile->addSeparator();
    connect(NamedAction(m_mnuFile, QStringLiteral("E&xit"), "mnuFileExit"), &QAction::triggered, this,
            &QWidget::close);

    m_mnuTools = menuBar()->addMenu(QStringLiteral("Tools"));
    m_mnuTools->setObjectName(QStringLiteral("mnuTools"));
    connect(NamedAction(m_mnuTools, QStringLiteral("Connect"), "mnuToolsConnect"), &QAction::triggered, this,
            &frmMain::ToolsConnect);
    connect(NamedAction(m_mnuTools, QStringLiteral("Disconnect"), "mnuToolsDisconnect"), &QAction::triggered, this,
            [this] { m_ctx.connection.Disconnect(); });
    m_mnuToolsSep = m_mnuTools->addSeparator();
    m_mnuToolsSep->setObjectName(QStringLiteral("mnuToolsSep"));
    m_mnuToolsShow = m_mnuTools->addMenu(QStringLiteral("Show"));
    m_mnuToolsShow->setObjectName(QStringLiteral("mnuToolsShow"));
    m_mnuToolsShowDebugMessages = NamedAction(m_mnuToolsShow, QStringLiteral("Debug Messages"), "mnuToolsShowDebugMessages");
    m_mnuToolsShowDebugMessages->setCheckable(true);
    connect(m_mnuToolsShowDebugMessages, &QAction::triggered, this, &frmMain::ShowDebugMessagesToggled);
    m_mnuToolsShowHIDDiags = NamedAction(m_mnuToolsShow, QStringLiteral("HID Diagnostics"), "mnuToolsShowHIDDiags");
    m_mnuToolsShowHIDDiags->setCheckable(true);
    connect(m_mnuToolsShowHIDDiags, &QAction::triggered, this, &frmMain::ShowHidDiagnosticsToggled);

    QMenu* help = menuBar()->addMenu(QStringLiteral("About"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    connect(NamedAction(help, QStringLiteral("&About "), "mnuHelpAbout"), &QAction::triggered, this,
            &frmMain::ShowAbout);
}

void frmMain::BuildCentralWidget() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(3, 3, 3, 0);
    layout->setSpacing(3);

    m_tabs = new QTabWidget(central);
    m_tabs->setObjectName(QStringLiteral("SSTab"));
    m_tabs->setFixedWidth(kTabStripWidthTwips / TwipsPerPixel());
    m_customer = new CustomerTab(m_tabs);
    m_fileTransfer = new FileTransferTab(m_tabs);
    m_characterize = new CharacterizeTab(m_tabs);
    m_testCmds = new TestCmdsTab(m_tabs);
    m_tabs->addTab(m_customer, QStringLiteral("Customer"));
    m_tabs->addTab(m_fileTransfer, QStringLiteral("File Transfer"));
    m_tabs->addTab(m_characterize, QStringLiteral("Characterize"));
    m_tabs->addTab(m_testCmds, QStringLiteral("Test Cmds"));
    m_tabs->tabBar()->setExpanding(true);
    connect(m_tabs, &QTabWidget::currentChanged, this, &frmMain::SSTab_Click);
    layout->addWidget(m_tabs, 1, Qt::AlignLeft);

    m_fraDebug = new QGroupBox(QStringLiteral(" Debug "), central);
    m_fraDebug->setObjectName(QStringLiteral("FraDebug"));
    m_fraDebug->setToolTip(QStringLiteral("Click Frame to Clear Debug Window"));
    m_fraDebug->setFixedHeight(kDebugFrameHeightTwips / TwipsPerPixel());
    auto* debugLayout = new QVBoxLayout(m_fraDebug);
    debugLayout->setContentsMargins(4, 4, 4, 4);
    m_lstDebug = new LinePane(m_fraDebug);
    m_lstDebug->setObjectName(QStringLiteral("lstDebug"));
    debugLayout->addWidget(m_lstDebug);
    m_fraDebug->hide();
    layout->addWidget(m_fraDebug);
    setCentralWidget(central);

    for (QGroupBox* frame : {m_fraDebug, m_characterize->DataFrame(), m_testCmds->ResponseFrame(),
                             m_fileTransfer->FileViewFrame()})
        frame->installEventFilter(this);
}

void frmMain::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    bar->setSizeGripEnabled(false);
    const char* names[] = {"sbPanelConnection", "sbPanelExeTime", "sbPanelDate", "sbPanelTime"};
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        m_panels[i] = new QLabel(bar);
        m_panels[i]->setObjectName(QLatin1String(names[i]));
        bar->addWidget(m_panels[i], i == 0 ? 2 : 1);
    }
    m_panels[kConnectionPanel]->setText(QStringLiteral("Not Connected"));
    // The date and time panels keep themselves current.
    auto* clock = new QTimer(this);
    const auto tick = [this] {
        m_panels[kDatePanel]->setText(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
        m_panels[kTimePanel]->setText(QLocale().toString(QTime::currentTime(), QLocale::ShortFormat));
    };
    connect(clock, &QTimer::timeout, this, tick);
    clock->start(1000);
    tick();
}

int frmMain::TwipsPerPixel() const {
    const QScreen* screen = this->screen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return std::max(1, static_cast<int>(1440.0 / (dpi > 0 ? dpi : 96.0) + 0.5));
}

void frmMain::SetOuterHeightTwips(int twips) {
    // A pane just hidden or shown must count before the window is resized.
    centralWidget()->layout()->activate();
    layout()->activate();
    const int frameExtra = frameGeometry().height() - height();
    resize(width(), twips / TwipsPerPixel() - frameExtra);
}

void frmMain::InitMainWindow() {
    for (int tab = kFileTransferTab; tab <= kTestCmdsTab; ++tab) m_tabs->setTabEnabled(tab, m_options.serviceTabsAvailable);
    m_mnuToolsSep->setVisible(m_options.toolsShowAvailable);
    m_mnuToolsShow->menuAction()->setVisible(m_options.toolsShowAvailable);
    m_customer->ApplyStartupState();
    if (m_options.languageButtonsShown) {
        m_customer->LanguageButton(0)->show();
        m_customer->LanguageButton(1)->show();
    }
    // Sized last: the window may only be as small as what it shows allows.
    ApplyStartupSize();
}

void frmMain::ApplyStartupSize() {
    const int frameExtraWidth = frameGeometry().width() - width();
    resize(kWidthTwips / TwipsPerPixel() - frameExtraWidth, height());
    SetOuterHeightTwips(kHeightTwips);
}

void frmMain::Start() {
    m_ctx.errors.SetShowErrorDialogs(true);
    m_mnuToolsShowHIDDiags->setChecked(false);
    m_mnuToolsShowDebugMessages->setChecked(false);
    m_tmrCkConnect.start();
    m_tmrPingDevice.start();
    InitMainWindow();
    m_ctx.ini.AccessIniFile(0, *this);
    m_characterize->CharPathBox()->setText(m_ctx.ini.CharPath());
    FillFixedLists();
    ToolsConnect();
    show();
    // Only a shown window knows the size of its frame, which the outer
    // width and height include.
    ApplyStartupSize();
    m_characterize->SerialBox()->clear();
    m_ctx.timer.LogTimerResolution(m_ctx.panes);
}

void frmMain::FillFixedLists() {
    FillNumbers(m_fileTransfer->ProdIdxList(), kMaxProducts);
    FillNumbers(m_testCmds->ProdIdxList(), kMaxProducts);
    FillNumbers(m_fileTransfer->LangIdxList(), kMaxLanguages);
    FillNumbers(m_testCmds->LangIdxList(), kMaxLanguages);
    m_testCmds->FillTestCmdList();
    m_testCmds->FillCellDataChList();
    m_testCmds->FillMenuTextList();
}

void frmMain::ToolsConnect() { m_ctx.connection.Connect(); }

void frmMain::EnableButtons(bool enable) {
    m_characterize->SetButtonsEnabled(enable);
    m_fileTransfer->SetButtonsEnabled(enable);
    m_mnuFileOpen->setEnabled(enable);
    if (!enable) {
        m_mnuFileSave->setEnabled(false);
        m_mnuFileSaveAs->setEnabled(false);
    }
    m_fileTransfer->SetIndexListsEnabled(enable);
    m_testCmds->SetConnected(enable);
    m_customer->SetConnected(enable);
    m_ctx.panes.MessageToDebug(QStringLiteral("EnableButtons"));
}

void frmMain::UpdateExeTimePanel(std::int32_t milliseconds) {
    m_ctx.panes.SetStatusPanel(kExeTimePanel, QString::number(milliseconds) + QStringLiteral(" mS"));
}

void frmMain::SetFileMenuState(bool open, bool save) {
    m_mnuFileOpen->setEnabled(open);
    m_mnuFileSave->setEnabled(save);
    m_mnuFileSaveAs->setEnabled(save);
}

void frmMain::SSTab_Click(int index) {
    switch (index) {
    case kCustomerTab:
        SetFileMenuState(true, m_customer->EditorShown());
        m_customerLists->RequestRefresh();
        break;
    case kFileTransferTab: SetFileMenuState(true, true); break;
    case kCharacterizeTab:
        SetFileMenuState(false, false);
        CheckCharacterizationFolder();
        break;
    case kTestCmdsTab: SetFileMenuState(false, true); break;
    default: SetFileMenuState(false, false); break;
    }
    m_ctx.panes.MessageToDebug(QStringLiteral("SSTab_Click"));
}

void frmMain::CheckCharacterizationFolder() {
    while (!QDir(m_ctx.ini.CharPath()).exists()) {
        MessageBoxRequest box;
        box.text = QStringLiteral("Characterization Path Not Found, Choose New Path?");
        box.title = ErrHdlr::kApplicationTitle;
        box.icon = MsgIcon::Exclamation;
        box.buttons = MsgButtons::YesNo;
        if (m_ctx.prompter.messageBox(box) != MsgAnswer::Yes) {
            m_ctx.ini.SetCharPath(m_ctx.platform.programFolder());
            m_characterize->CharPathBox()->setText(m_ctx.ini.CharPath());
            return;
        }
        const QString chosen = m_ctx.prompter.browseForFolder(
            m_ctx.ini.CharPath(), QStringLiteral("Select Destination Folder for Characterization Files"));
        if (!chosen.isEmpty()) {
            m_ctx.ini.SetCharPath(chosen);
            m_characterize->CharPathBox()->setText(chosen);
        }
    }
}

bool frmMain::ConfirmAbandonChanges() {
    if (!m_ctx.session.NeedsSaved) return true;
    MessageBoxRequest box;
    box.text = QStringLiteral("Abandon Changes?");
    box.title = ErrHdlr::kApplicationTitle;
    box.icon = MsgIcon::Exclamation;
    box.buttons = MsgButtons::YesNo;
    box.defaultButton = MsgAnswer::No;
    return m_ctx.prompter.messageBox(box) == MsgAnswer::Yes;
}

void frmMain::ShowDebugMessagesToggled() {
    const bool show = m_mnuToolsShowDebugMessages->isChecked();
    m_fraDebug->setVisible(show);
    SetOuterHeightTwips(show ? kHeightWithDebugTwips : kHeightTwips);
}

void frmMain::ShowHidDiagnosticsToggled() {
    if (!m_mnuToolsShowHIDDiags->isChecked()) {
        if (m_hidDiagnostics) m_hidDiagnostics->hide();
        return;
    }
    if (!m_hidDiagnostics) m_hidDiagnostics = new frmZrHID(m_ctx.hid.Diagnostics(), this);
    m_hidDiagnostics->show();
    m_hidDiagnostics->raise();
}

frmZrHID* frmMain::HidDiagnosticsWindow() const { return m_hidDiagnostics; }

void frmMain::ShowAbout() {
    frmAbout about(this);
    about.exec();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (m_yieldingOperations > 0) {
        // Closing now would destroy the window under the running operation.
        m_closeRequested = true;
        event->ignore();
        return;
    }
    if (!Shutdown()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool frmMain::Shutdown() {
    if (!ConfirmAbandonChanges()) return false;
    m_ctx.ini.AccessIniFile(1, *this);
    m_ctx.hid.CloseDeviceHandles();
    // Nothing may talk to the closed instrument after this.
    m_tmrCkConnect.stop();
    m_tmrPingDevice.stop();
    m_customerLists->Timer().stop();
    if (m_hidDiagnostics) m_hidDiagnostics->close();
    return true;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == m_fraDebug) m_lstDebug->clear();
        if (watched == m_characterize->DataFrame()) m_characterize->DataPane()->clear();
        if (watched == m_testCmds->ResponseFrame()) m_testCmds->ResponsePane()->ClearPane();
        if (watched == m_fileTransfer->FileViewFrame()) m_fileTransfer->FileView()->ClearPane();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::BeginYieldingOperation() {
    if (m_yieldingOperations++ > 0) return;
    m_disabledForOperation.clear();
    QWidget* page = m_tabs->currentWidget();
    const auto controls = page ? page->findChildren<QWidget*>() : QList<QWidget*>();
    for (QWidget* control : controls) {
        const bool actionable = qobject_cast<QAbstractButton*>(control) || qobject_cast<QComboBox*>(control) ||
                                qobject_cast<QLineEdit*>(control) ||
                                (qobject_cast<QAbstractItemView*>(control) && !qobject_cast<LinePane*>(control));
        if (!actionable || StaysLiveDuringOperations(control) || !control->isEnabled()) continue;
        control->setEnabled(false);
        m_disabledForOperation.emplace_back(control);
    }
    m_tabs->tabBar()->setEnabled(false);
    m_mnuFile->menuAction()->setEnabled(false);
    m_mnuTools->menuAction()->setEnabled(false);
}

void frmMain::EndYieldingOperation() {
    if (m_yieldingOperations == 0 || --m_yieldingOperations > 0) return;
    for (const QPointer<QWidget>& control : m_disabledForOperation)
        if (control) control->setEnabled(true);
    m_disabledForOperation.clear();
    m_tabs->tabBar()->setEnabled(true);
    m_mnuFile->menuAction()->setEnabled(true);
    m_mnuTools->menuAction()->setEnabled(true);
    if (m_closeRequested) {
        m_closeRequested = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

int frmMain::TopTwips() const { return pos().y() * TwipsPerPixel(); }
int frmMain::LeftTwips() const { return pos().x() * TwipsPerPixel(); }
void frmMain::SetTopTwips(int twips) { move(pos().x(), twips / TwipsPerPixel()); }
void frmMain::SetLeftTwips(int twips) { move(twips / TwipsPerPixel(), pos().y()); }
int frmMain::CurrentTab() const { return m_tabs->currentIndex(); }

void frmMain::SetCurrentTab(int index) {
    // Restoring the tab is not the user selecting it: no handler runs.
    const QSignalBlocker quiet(m_tabs);
    m_tabs->setCurrentIndex(index);
}

bool frmMain::IsTabAvailable(int index) const { return m_tabs->isTabEnabled(index); }

void frmMain::ShowNormal() {
    if (isMaximized() || isMinimized() || isFullScreen()) showNormal();
}

void frmMain::SetUserListMarkers(bool reload) { m_customerLists->SetMarkers(reload); }

void frmMain::RunTabHandler() { SSTab_Click(m_tabs->currentIndex()); }

}  // namespace orvix
