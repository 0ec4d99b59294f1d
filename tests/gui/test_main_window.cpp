#include "app/AppContext.h"
#include "app/gui/WidgetPanes.h"
#include "app/gui/frmAbout.h"
#include "app/gui/frmMain.h"
#include "hid/gui/frmZrHID.h"
#include "characterize/gui/CharacterizeTab.h"
#include "common/QtEventPump.h"
#include "common/gui/LinePane.h"
#include "common/gui/TextPane.h"
#include "sim/InstrumentSimulator.h"
#include "support/ScriptedPrompter.h"
#include "support/TestServices.h"
#include "testcmds/gui/TestCmdsTab.h"
#include "transfer/gui/FileTransferTab.h"
#include "userfiles/gui/CustomerTab.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace orvix::test {
namespace {

const QString kDidNotDetect = QStringLiteral(
    "     Did not Detect Orvix.\r\n\r\nPlease Attach Orvix to USB Cable,\r\n and Ensure Orvix is Powered On.\r\n");

// The whole program over the simulator, with scripted answers and a
// program folder of its own.
struct MainWindowTest : ::testing::Test {
    sim::InstrumentSimulator sim;
    FakePlatform platform;
    ScriptedPrompter prompter;
    QtEventPump pump;
    WidgetPanes panes{pump};
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<frmMain> window;

    MainWindowTest() {
        sim.setLatencyMs(0);
        sim.setSleepFunction([](int) {});
    }
    ~MainWindowTest() override {
        if (window) {
            window->setAttribute(Qt::WA_DeleteOnClose, false);
            ctx->session.NeedsSaved = false;
            window->close();
        }
    }

    void build(const MainWindowOptions& options = {}) {
        ctx = std::make_unique<AppContext>(sim, prompter, panes, pump, platform);
        window = std::make_unique<frmMain>(*ctx, panes, options);
    }
    void writeSettings(const QByteArray& text) {
        QFile file(QDir(platform.programFolder()).filePath(QStringLiteral("Settings.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    void startWithSettings(const MainWindowOptions& options = {}) {
        writeSettings("TabSelect=0\r\n");
        build(options);
        window->Start();
    }
    static bool waitUntil(const std::function<bool()>& done, int ms = 2000) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < ms) QTest::qWait(5);
        return done();
    }
    template <class T>
    T* control(const char* name) const {
        return window->findChild<T*>(QLatin1String(name));
    }
    QStringList debugLines() const { return control<LinePane>("lstDebug")->Lines(); }
    QString statusPanel(int i) const {
        const char* names[] = {"sbPanelConnection", "sbPanelExeTime", "sbPanelDate", "sbPanelTime"};
        return control<QLabel>(names[i])->text();
    }
};

TEST_F(MainWindowTest, AFirstRunStartsInOrderAndFillsTheCustomerListsFromTheInstrument) {
    build();
    prompter.expectMessage(QStringLiteral("Ini File Not Found.  ") +
                           QDir::toNativeSeparators(QDir(platform.programFolder()).filePath(QStringLiteral("Settings.ini"))) +
                           QStringLiteral(" Created."));
    window->Start();

    EXPECT_TRUE(ctx->errors.ShowErrorDialogs());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Orvix PC Application"));
    EXPECT_TRUE(ctx->hid.DeviceDetected());
    EXPECT_TRUE(QFile::exists(QDir(platform.programFolder()).filePath(QStringLiteral("Settings.ini"))));
    // Only the Customer tab is available, and nothing shows the hidden menu.
    for (int tab = 1; tab < 4; ++tab) EXPECT_FALSE(window->TabStrip()->isTabEnabled(tab)) << tab;
    EXPECT_FALSE(control<QMenu>("mnuToolsShow")->menuAction()->isVisible());
    EXPECT_TRUE(control<QPushButton>("cbUserLang(0)")->isHidden());
    EXPECT_EQ(control<QComboBox>("cboProdIdx")->count(), 20);
    EXPECT_EQ(control<QComboBox>("cboTCLangIdx")->count(), 12);
    EXPECT_EQ(control<QComboBox>("cboTestCmd")->currentIndex(), -1);

    const QStringList lines = debugLines();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines.mid(lines.size() - 2),
              QStringList({QStringLiteral("MinTmrResolution= 1"), QStringLiteral("MaxTmrResolution= 1000000")}));
    EXPECT_LT(lines.indexOf(QStringLiteral("EnableButtons")), lines.indexOf(QStringLiteral("SSTab_Click")));

    QComboBox* languages = control<QComboBox>("cboUserLangList");
    QComboBox* products = control<QComboBox>("cboUserProdList");
    ASSERT_TRUE(waitUntil([&] { return products->isEnabled(); }));
    EXPECT_EQ(languages->count(), 12);
    EXPECT_EQ(languages->itemText(0), QStringLiteral("English"));
    EXPECT_EQ(languages->itemText(11), QStringLiteral("--Empty--"));
    EXPECT_EQ(products->count(), 20);
    EXPECT_EQ(products->itemText(0), QStringLiteral("Wheat"));
    EXPECT_EQ(control<QComboBox>("cboUserJmpMax")->itemText(0), QStringLiteral("--None--"));
    EXPECT_TRUE(languages->isEnabled());
}

TEST_F(MainWindowTest, WithoutAnInstrumentCancelLeavesEveryConnectionControlDisabled) {
    sim.unplug();
    prompter.expectMessage(kDidNotDetect, MsgAnswer::Cancel);
    startWithSettings({true, true, true});
    QTest::qWait(250);  // one status tick after the start-up
    EXPECT_EQ(statusPanel(0), QStringLiteral("Not Connected"));
    for (const char* name : {"cbFTButton(0)", "cbFTButton(7)", "cbCharButton(0)", "cbCharButton(7)",
                             "cbTestCmdExecute", "cbTCPwrDwn", "cbUserSendFile", "cbUserProd(0)"})
        EXPECT_FALSE(control<QWidget>(name)->isEnabled()) << name;
    for (const char* name : {"cboTestCmd", "cboProdIdx", "cboLangIdx", "cboUserLangList", "cboUserProdList"})
        EXPECT_FALSE(control<QWidget>(name)->isEnabled()) << name;
    EXPECT_FALSE(control<QAction>("mnuFileOpen")->isEnabled());
    EXPECT_FALSE(control<QAction>("mnuFileSave")->isEnabled());
    // The status tick keeps saying so.
    const qsizetype before = debugLines().count(QStringLiteral("EnableButtons"));
    QTest::qWait(450);
    EXPECT_GE(debugLines().count(QStringLiteral("EnableButtons")), before + 1);
}

TEST_F(MainWindowTest, OldInstrumentSoftwareIsRefusedAndUnpluggingIsNoticed) {
    sim.setSoftwareVersion(QStringLiteral("00.81"));
    prompter.expectMessage(QStringLiteral("Orvix software is Version 00.81.\r\n00.82 or newer is required for this Application."));
    startWithSettings();
    EXPECT_FALSE(ctx->hid.DeviceDetected());

    sim.setSoftwareVersion(QStringLiteral("00.82"));
    window->ToolsConnect();
    ASSERT_TRUE(ctx->hid.DeviceDetected());
    EXPECT_TRUE(waitUntil([&] { return statusPanel(0) == QStringLiteral("Connected"); }));
    sim.unplug();
    ctx->hid.SetReportWritten(false);
    ctx->connection.KeepAlive();
    EXPECT_TRUE(waitUntil([&] { return statusPanel(0) == QStringLiteral("Not Connected"); }, 400));
    EXPECT_FALSE(control<QWidget>("cbFTButton(0)")->isEnabled());
}

TEST_F(MainWindowTest, ThePingSkipsATickAfterOtherTraffic) {
    startWithSettings();
    const auto pings = [&] { return std::count(sim.commandLog().begin(), sim.commandLog().end(), 0x01); };
    ctx->connection.KeepAlive();  // start-up traffic: no ping
    EXPECT_EQ(pings(), 0);
    ctx->connection.KeepAlive();
    EXPECT_EQ(pings(), 1);
}

TEST_F(MainWindowTest, TheCharacterizeTabInsistsOnAnExistingFolder) {
    startWithSettings({true, true, true});
    ctx->ini.SetCharPath(QDir(platform.programFolder()).filePath(QStringLiteral("deleted")));
    const QString question = QStringLiteral("Characterization Path Not Found, Choose New Path?");
    prompter.expectMessage(question, MsgAnswer::Yes);
    prompter.expectFolder(QString());  // the user cancels the picker
    prompter.expectMessage(question, MsgAnswer::No);
    window->TabStrip()->setCurrentIndex(2);
    EXPECT_EQ(control<QLineEdit>("txtCharPath")->text(), platform.programFolder());
    EXPECT_FALSE(control<QAction>("mnuFileOpen")->isEnabled());
    EXPECT_FALSE(control<QAction>("mnuFileSave")->isEnabled());
}

TEST_F(MainWindowTest, MenusFollowTheTabAndTheDebugPaneToggles) {
    startWithSettings({true, true, true});
    window->TabStrip()->setCurrentIndex(3);
    EXPECT_FALSE(control<QAction>("mnuFileOpen")->isEnabled());
    EXPECT_TRUE(control<QAction>("mnuFileSaveAs")->isEnabled());
    window->TabStrip()->setCurrentIndex(0);
    EXPECT_TRUE(control<QAction>("mnuFileOpen")->isEnabled());
    EXPECT_FALSE(control<QAction>("mnuFileSave")->isEnabled());  // no editor shown

    QAction* debugMessages = control<QAction>("mnuToolsShowDebugMessages");
    const int normalHeight = 7185 / window->TwipsPerPixel();
    EXPECT_EQ(window->frameGeometry().height(), normalHeight) << "min " << window->minimumSizeHint().height()
        << " tabs min " << window->TabStrip()->minimumSizeHint().height();
    debugMessages->trigger();
    EXPECT_FALSE(control<QGroupBox>("FraDebug")->isHidden());
    EXPECT_EQ(window->frameGeometry().height(), 9085 / window->TwipsPerPixel());
    debugMessages->trigger();
    EXPECT_TRUE(control<QGroupBox>("FraDebug")->isHidden());
    EXPECT_EQ(window->frameGeometry().height(), normalHeight);
}

TEST_F(MainWindowTest, PanesKeepTheirLimitsAndClearOnAFrameClick) {
    startWithSettings({true, true, true});
    control<LinePane>("lstDebug")->clear();
    for (int i = 0; i < 502; ++i) panes.MessageToDebug(QString::number(i));
    EXPECT_EQ(debugLines(), QStringList({QStringLiteral("--- List Box Cleared ---"), QStringLiteral("501")}));

    panes.MessageToResponse(QStringLiteral("one"), 1);
    panes.MessageToResponse(QStringLiteral("two"), 2);
    EXPECT_EQ(control<TextPane>("utxtTestResponse")->StoredText(), QStringLiteral("onetwo"));

    QTest::mouseClick(control<QGroupBox>("fraTestResponse"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(control<TextPane>("utxtTestResponse")->StoredText().isEmpty());
    QTest::mouseClick(control<QGroupBox>("fraData"), Qt::LeftButton, {}, QPoint(5, 5));  // empty: nothing happens
    EXPECT_EQ(control<LinePane>("lstData")->count(), 0);
}

TEST_F(MainWindowTest, ClosingWithUnsavedEditsAndNoKeepsEverything) {
    startWithSettings();
    const QByteArray settings = platform.readFile(QStringLiteral("Settings.ini"));
    ctx->session.NeedsSaved = true;
    prompter.expectMessage(QStringLiteral("Abandon Changes?"), MsgAnswer::No);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(platform.readFile(QStringLiteral("Settings.ini")), settings);
    EXPECT_EQ(prompter.shownMessages().back().defaultButton, MsgAnswer::No);

    ctx->session.NeedsSaved = false;
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(ctx->hid.DeviceDetected());
    EXPECT_TRUE(platform.readFile(QStringLiteral("Settings.ini")).startsWith("PosMainTop="));
}

TEST_F(MainWindowTest, ARunningOperationLocksTheWindowAndDefersClosing) {
    startWithSettings({true, true, true});
    window->TabStrip()->setCurrentIndex(1);
    window->BeginYieldingOperation();
    EXPECT_FALSE(window->TabStrip()->tabBar()->isEnabled());
    EXPECT_FALSE(control<QWidget>("cbFTButton(2)")->isEnabled());
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    window->EndYieldingOperation();
    EXPECT_TRUE(control<QWidget>("cbFTButton(2)")->isEnabled());
    EXPECT_TRUE(waitUntil([&] { return !window->isVisible(); }));
}

TEST_F(MainWindowTest, HidDiagnosticsShowTheTransportsStoryAndFollowIt) {
    startWithSettings({true, true, true});
    QAction* diagnostics = control<QAction>("mnuToolsShowHIDDiags");
    diagnostics->trigger();
    frmZrHID* hidWindow = window->HidDiagnosticsWindow();
    ASSERT_NE(hidWindow, nullptr);
    EXPECT_TRUE(hidWindow->isVisible());
    EXPECT_EQ(hidWindow->windowTitle(), QStringLiteral("Zr HID Diagnostics"));
    QListWidget* results = hidWindow->Results();
    EXPECT_EQ(results->objectName(), QStringLiteral("lstResults"));
    EXPECT_EQ(results->count(), ctx->hid.Diagnostics().lines().size());
    EXPECT_TRUE(results->findItems(QStringLiteral("  My Device Detected"), Qt::MatchExactly).size() == 1);

    diagnostics->trigger();
    EXPECT_FALSE(hidWindow->isVisible());
    ctx->cmds.PingDevice();  // lines accumulate while hidden
    EXPECT_EQ(results->count(), ctx->hid.Diagnostics().lines().size());
    EXPECT_EQ(results->item(results->count() - 1)->text(), ctx->hid.Diagnostics().lines().back());
}

TEST(WidgetPanesCursor, OneRestoreEndsAnyNumberOfBusyCalls) {
    QtEventPump pump;
    WidgetPanes panes(pump);
    panes.SetBusyCursor(true);
    panes.SetBusyCursor(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    panes.SetBusyCursor(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, TheExecutionTimeGoesToTheSecondPanel) {
    startWithSettings();
    window->UpdateExeTimePanel(1250);
    EXPECT_EQ(statusPanel(1), QStringLiteral("1250 mS"));
}

TEST(AboutWindow, ShowsTheVersionAsMajorMinorRevision) {
    EXPECT_EQ(frmAbout::VersionLine(2, 5, 7), QStringLiteral("Version 2.5.7"));
    frmAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("lblLine1"))->text(), QStringLiteral("Orvix PC Application"));
    EXPECT_TRUE(about.findChild<QLabel*>(QStringLiteral("lblLine1"))->font().bold());
    EXPECT_TRUE(about.findChild<QLabel*>(QStringLiteral("lblLine2"))->text().startsWith(QStringLiteral("Version ")));
    EXPECT_NE(about.findChild<QPushButton*>(QStringLiteral("cmdOK")), nullptr);
}

}  // namespace
}  // namespace orvix::test
