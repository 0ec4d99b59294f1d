#include "characterize/gui/CharacterizeTab.h"
#include "common/gui/LinePane.h"
#include "common/gui/TextPane.h"
#include "testcmds/TestCmdCatalogue.h"
#include "testcmds/gui/TestCmdsTab.h"
#include "transfer/gui/FileTransferTab.h"
#include "userfiles/gui/CustomerTab.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace orvix {
namespace {

QString S(const char* text) { return QString::fromUtf8(text); }

// The one object of the tab with that objectName; the main window and the UI
// tests find controls by name, so a missing or doubled name is a fault.
QObject* FindOne(const QObject& tab, const QString& name) {
    const QList<QObject*> found = tab.findChildren<QObject*>(name);
    EXPECT_EQ(found.size(), 1) << name.toStdString();
    return found.isEmpty() ? nullptr : found.first();
}

QString CaptionOf(const QObject* object) {
    if (const auto* frame = qobject_cast<const QGroupBox*>(object)) return frame->title();
    if (const auto* button = qobject_cast<const QAbstractButton*>(object)) return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(object)) return label->text();
    return {};
}

struct Control {
    const char* name;
    const char* className;
    const char* caption;                 // "" for controls without one
    const QObject* accessor = nullptr;   // what the tab's accessor returns, when it has one
};

void ExpectControls(const QObject& tab, const std::vector<Control>& controls) {
    for (const Control& control : controls) {
        SCOPED_TRACE(control.name);
        const QObject* found = FindOne(tab, S(control.name));
        if (found == nullptr) continue;
        EXPECT_TRUE(found->inherits(control.className)) << found->metaObject()->className();
        EXPECT_EQ(CaptionOf(found), S(control.caption));
        if (control.accessor != nullptr) {
            EXPECT_EQ(found, control.accessor);
        }
    }
}

QString ArrayName(const char* base, int index) {
    return S(base) + QStringLiteral("(%1)").arg(index);
}

std::vector<QString> ItemTexts(const QComboBox* box) {
    std::vector<QString> texts;
    for (int i = 0; i < box->count(); ++i) texts.push_back(box->itemText(i));
    return texts;
}

// ---------------------------------------------------------------- Customer

TEST(CustomerTab, ControlsCarryTheirNamesAndCaptions) {
    CustomerTab tab;
    ExpectControls(tab, {
        {"fraUserLangSel", "QGroupBox", "Language", tab.LanguageSelFrame()},
        {"cboUserLangList", "QComboBox", "", tab.LanguageList()},
        {"cbUserLang(0)", "QPushButton", "Get File", tab.LanguageButton(0)},
        {"cbUserLang(1)", "QPushButton", "Delete File", tab.LanguageButton(1)},
        {"fraUserProdSel", "QGroupBox", "Product", tab.ProductSelFrame()},
        {"cboUserProdList", "QComboBox", "", tab.ProductList()},
        {"cbUserProd(0)", "QPushButton", "Get File", tab.ProductButton(0)},
        {"cbUserProd(1)", "QPushButton", "Delete File", tab.ProductButton(1)},
        {"cbUserSendFile", "QPushButton", "Send File", tab.SendFileButton()},
        {"fraUserProd", "QGroupBox", "Product", tab.ProductEditorFrame()},
        {"txtUserName", "QLineEdit", "", tab.NameBox()},
        {"txtUserIssue", "QLineEdit", "", tab.IssueBox()},
        {"txtUserKsCkSum", "QLineEdit", "", tab.CheckSumBox()},
        {"chkUserAdvanced", "QCheckBox", "Advanced", tab.AdvancedCheck()},
        {"fraUserAdvanced", "QGroupBox", "", tab.AdvancedFrame()},
        {"txtUserMBias", "QLineEdit", "", tab.MoistureBiasBox()},
        {"txtUserTWBias", "QLineEdit", "", tab.TestWeightBiasBox()},
        {"fraAutoRanging", "QGroupBox", "Auto Ranging"},
        {"cboUserJmpMin", "QComboBox", "", tab.JumpMinList()},
        {"cboUserJmpMax", "QComboBox", "", tab.JumpMaxList()},
        {"fraUserLang", "QGroupBox", "Language", tab.LanguageEditorFrame()},
        {"utxtUserLangDesc", "QLineEdit", "", tab.LanguageDescBox()},
        {"lstUserLang", "QListWidget", "", tab.LanguageLines()},
        {"lblUserLangEdit", "QLabel", "", tab.LanguageEditLabel()},
        {"utxtUserLangEdit", "QLineEdit", "", tab.LanguageEditBox()},
        {"fraUserEmpty", "QGroupBox", "", tab.EmptyFrame()},
    });
    for (int i = 0; i < CustomerTab::kConstantCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(FindOne(tab, ArrayName("txtUserK", i)), tab.ConstantBox(i));
    }

    QStringList labels;
    for (const QLabel* label : tab.findChildren<QLabel*>()) labels.append(label->text());
    for (const char* text : {"Name:", "Issue:", "K1:", "K5:", "K9:", "CkSum:", "Moisture Bias:",
                             "Test Weight Bias:", "Jump Min:", "Jump Max:", "Desc:"}) {
        EXPECT_TRUE(labels.contains(S(text))) << text;
    }

    // Drop-down lists only: the key rules of the tab refuse typing into them.
    for (const QComboBox* list : tab.findChildren<QComboBox*>())
        EXPECT_FALSE(list->isEditable()) << list->objectName().toStdString();
}

TEST(CustomerTab, StartupShowsTheEmptyFrameAndHidesLanguageButtonsAndAdvanced) {
    CustomerTab tab;
    EXPECT_FALSE(tab.EmptyFrame()->isHidden());
    EXPECT_TRUE(tab.ProductEditorFrame()->isHidden());
    EXPECT_TRUE(tab.LanguageEditorFrame()->isHidden());
    EXPECT_FALSE(tab.EditorShown());

    tab.AdvancedCheck()->setChecked(true);
    tab.ApplyStartupState();
    EXPECT_TRUE(tab.LanguageButton(0)->isHidden());
    EXPECT_TRUE(tab.LanguageButton(1)->isHidden());
    EXPECT_FALSE(tab.AdvancedCheck()->isChecked());
    EXPECT_TRUE(tab.AdvancedFrame()->isHidden());
    EXPECT_FALSE(tab.EmptyFrame()->isHidden());
}

int TwipsToPixels(const QWidget& widget, int twips) {
    return (twips * widget.logicalDpiX() + 720) / 1440;
}

TEST(CustomerTab, ProductFrameMovesUpUnderTheShortenedLanguageFrame) {
    CustomerTab tab;
    tab.resize(413, 400);
    tab.show();
    QApplication::processEvents();
    const int fullHeight = tab.LanguageSelFrame()->height();

    tab.ApplyStartupState();
    QApplication::processEvents();
    const QRect language = tab.LanguageSelFrame()->geometry();
    const QRect product = tab.ProductSelFrame()->geometry();
    EXPECT_LT(language.height(), fullHeight);
    EXPECT_GT(product.top(), language.bottom());
    EXPECT_LE(product.top(), language.bottom() + 10);

    // Selection on the left about 2300 twips wide, the editors beside it.
    EXPECT_NEAR(language.width(), TwipsToPixels(tab, 2300), 1);
    tab.ShowUserFrame(2, false);
    QApplication::processEvents();
    const int editorLeft = tab.ProductEditorFrame()->mapTo(&tab, QPoint(0, 0)).x();
    EXPECT_GT(editorLeft, language.right());
    EXPECT_LE(editorLeft, TwipsToPixels(tab, 2400) + 8);
}

struct ShowUserFrameCase {
    int mode;
    bool connected;
    bool sendBefore;
    bool product, language, empty;  // expected shown
    bool sendAfter;
};

TEST(CustomerTab, ShowUserFrameShowsOneFrameAndSetsSendFile) {
    const ShowUserFrameCase cases[] = {
        {1, true, false, false, true, false, true},
        {1, false, true, false, true, false, true},    // not connected: Send File as it was
        {1, false, false, false, true, false, false},
        {2, true, false, true, false, false, true},
        {2, false, true, true, false, false, true},
        {2, false, false, true, false, false, false},
        {3, true, true, false, false, true, false},
        {0, true, true, false, false, false, true},    // other modes: all hidden, Send File kept
        {4, true, false, false, false, false, false},
    };
    for (const ShowUserFrameCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " connected " << c.connected
                                        << " send before " << c.sendBefore);
        CustomerTab tab;
        tab.ShowUserFrame(c.mode == 3 ? 2 : 3, false);  // start from another frame
        tab.SendFileButton()->setEnabled(c.sendBefore);
        tab.ShowUserFrame(c.mode, c.connected);
        EXPECT_EQ(!tab.ProductEditorFrame()->isHidden(), c.product);
        EXPECT_EQ(!tab.LanguageEditorFrame()->isHidden(), c.language);
        EXPECT_EQ(!tab.EmptyFrame()->isHidden(), c.empty);
        EXPECT_EQ(tab.EditorShown(), c.product || c.language);
        EXPECT_EQ(tab.SendFileButton()->isEnabled(), c.sendAfter);
    }
}

TEST(CustomerTab, SetConnectedDisablesSelectionAndEnablesSendOnlyWithAnEditor) {
    struct Case {
        int frame;
        bool connected;
        bool send;
    };
    // The tab is never shown here, as when another tab is current: the rule
    // must look at the frames' own hidden state.
    for (const Case c : {Case{1, true, true}, Case{2, true, true}, Case{3, true, false},
                         Case{0, true, false}, Case{2, false, false}, Case{1, false, false}}) {
        SCOPED_TRACE(testing::Message() << "frame " << c.frame << " connected " << c.connected);
        CustomerTab tab;
        tab.ShowUserFrame(c.frame, false);
        const std::vector<QWidget*> selection{tab.LanguageList(),     tab.LanguageButton(0),
                                              tab.LanguageButton(1),  tab.ProductList(),
                                              tab.ProductButton(0),   tab.ProductButton(1)};
        for (QWidget* control : selection) control->setEnabled(true);
        tab.SendFileButton()->setEnabled(!c.send);

        tab.SetConnected(c.connected);
        for (QWidget* control : selection)
            EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
        EXPECT_EQ(tab.SendFileButton()->isEnabled(), c.send);
    }
}

// ----------------------------------------------------------- File Transfer

TEST(FileTransferTab, ControlsCarryTheirNamesAndCaptions) {
    FileTransferTab tab;
    const char* captions[] = {"Get Key File",          "Get Normalization File",
                              "Get Product File",      "Get Language File",
                              "Get User File",         "Send Folder to Device",
                              "Send File",             "Copy Device to Folder"};
    std::vector<Control> controls{
        {"fraProduct", "QGroupBox", ""},
        {"lblProdIdx", "QLabel", "ProdIdx"},
        {"cboProdIdx", "QComboBox", "", tab.ProdIdxList()},
        {"lblLangIdx", "QLabel", "LangIdx"},
        {"cboLangIdx", "QComboBox", "", tab.LangIdxList()},
        {"fraFileViewer", "QGroupBox", "File View", tab.FileViewFrame()},
        {"utxtFileView", "orvix::TextPane", "", tab.FileView()},
    };
    std::vector<QByteArray> names;
    for (int i = 0; i < FileTransferTab::kButtonCount; ++i)
        names.push_back(ArrayName("cbFTButton", i).toUtf8());
    for (int i = 0; i < FileTransferTab::kButtonCount; ++i)
        controls.push_back({names[static_cast<std::size_t>(i)].constData(), "QPushButton",
                            captions[i], tab.Button(i)});
    ExpectControls(tab, controls);
    EXPECT_FALSE(tab.ProdIdxList()->isEditable());
    EXPECT_FALSE(tab.LangIdxList()->isEditable());
    EXPECT_EQ(tab.ProdIdxList()->count(), 0) << "the main window fills the index lists";
}

TEST(FileTransferTab, EnablingSwitchesEveryButtonAndBothIndexPairs) {
    FileTransferTab tab;
    const std::vector<QWidget*> lists{tab.ProdIdxList(), tab.LangIdxList(),
                                      tab.findChild<QLabel*>(QStringLiteral("lblProdIdx")),
                                      tab.findChild<QLabel*>(QStringLiteral("lblLangIdx"))};
    for (bool enable : {false, true}) {
        tab.SetButtonsEnabled(enable);
        for (int i = 0; i < FileTransferTab::kButtonCount; ++i)
            EXPECT_EQ(tab.Button(i)->isEnabled(), enable) << i;
        for (QWidget* control : lists) EXPECT_NE(control->isEnabled(), enable) << "buttons only";

        tab.SetIndexListsEnabled(enable);
        for (QWidget* control : lists)
            EXPECT_EQ(control->isEnabled(), enable) << control->objectName().toStdString();
    }
}

// ------------------------------------------------------------ Characterize

TEST(CharacterizeTab, ControlsCarryTheirNamesCaptionsAndToolTips) {
    CharacterizeTab tab;
    const char* captions[] = {"Set Serial Number",        "Collect Electrical Cell Data",
                              "Collect Load Cell Data",   "Collect Accelerometer Data",
                              "Collect Temperature Data", "Get Serial Number",
                              "Create Normalization File", "Send Normalization File"};
    std::vector<Control> controls{
        {"fraCharFolder", "QGroupBox", "Characterization Folder"},
        {"txtCharPath", "QLineEdit", "", tab.CharPathBox()},
        {"lblSN", "QLabel", "Serial Number:"},
        {"txtSN", "QLineEdit", "", tab.SerialBox()},
        {"ProgressBar1", "QProgressBar", "", tab.ProgressBar()},
        {"fraData", "QGroupBox", " Data ", tab.DataFrame()},
        {"lstData", "orvix::LinePane", "", tab.DataPane()},
    };
    std::vector<QByteArray> names;
    for (int i = 0; i < CharacterizeTab::kButtonCount; ++i)
        names.push_back(ArrayName("cbCharButton", i).toUtf8());
    for (int i = 0; i < CharacterizeTab::kButtonCount; ++i)
        controls.push_back({names[static_cast<std::size_t>(i)].constData(), "QPushButton",
                            captions[i], tab.Button(i)});
    ExpectControls(tab, controls);
    EXPECT_TRUE(tab.SerialBox()->text().isEmpty());

    for (bool enable : {false, true}) {
        tab.SetButtonsEnabled(enable);
        for (int i = 0; i < CharacterizeTab::kButtonCount; ++i)
            EXPECT_EQ(tab.Button(i)->isEnabled(), enable) << i;
    }
}

TEST(TabWidgets, PaneFramesAndFolderBoxCarryTheirToolTips) {
    FileTransferTab transfer;
    CharacterizeTab characterize;
    TestCmdsTab testCmds;
    const std::pair<const QWidget*, const char*> tips[] = {
        {transfer.FileViewFrame(), "Click Frame to Clear File View Window"},
        {characterize.DataFrame(), "Click Frame to Clear Data Window"},
        {characterize.CharPathBox(), "Double Click to Browse to Folder"},
        {testCmds.ResponseFrame(), "Click Frame to Clear Response Window"},
    };
    for (const auto& [widget, tip] : tips) EXPECT_EQ(widget->toolTip(), S(tip)) << tip;
}

// --------------------------------------------------------------- Test Cmds

TEST(TestCmdsTab, ControlsCarryTheirNamesAndCaptions) {
    TestCmdsTab tab;
    ExpectControls(tab, {
        {"cboTestCmd", "QComboBox", "", tab.TestCmdList()},
        {"cbTestCmdExecute", "QPushButton", "Execute", tab.ExecuteButton()},
        {"cbTCPwrDwn", "QPushButton", "Power Down", tab.PowerDownButton()},
        {"lblTCProdIdx", "QLabel", "ProdIdx", tab.ProdIdxLabel()},
        {"cboTCProdIdx", "QComboBox", "", tab.ProdIdxList()},
        {"lblTCLangIdx", "QLabel", "LangIdx", tab.LangIdxLabel()},
        {"cboTCLangIdx", "QComboBox", "", tab.LangIdxList()},
        {"fraEDS", "QGroupBox", "EDS", tab.EdsFrame()},
        {"optEDS(0)", "QRadioButton", "Enable", tab.EdsOption(0)},
        {"optEDS(1)", "QRadioButton", "Disable", tab.EdsOption(1)},
        {"optEDS(2)", "QRadioButton", "Status", tab.EdsOption(2)},
        {"fraErrCode", "QGroupBox", "Error Code", tab.ErrCodeFrame()},
        {"optErrCode(0)", "QRadioButton", "Info", tab.ErrCodeOption(0)},
        {"optErrCode(1)", "QRadioButton", "Halt", tab.ErrCodeOption(1)},
        {"txtErrCode", "QLineEdit", "", tab.ErrCodeBox()},
        {"fraCkSum", "QGroupBox", "CheckSum", tab.CkSumFrame()},
        {"optCkSum(0)", "QRadioButton", "BootBlock", tab.CkSumOption(0)},
        {"optCkSum(1)", "QRadioButton", "Main", tab.CkSumOption(1)},
        {"fraCellData", "QGroupBox", "Cell Data", tab.CellDataFrame()},
        {"lstCellDataCh", "QListWidget", "", tab.CellDataChList()},
        {"chkLoop", "QCheckBox", "Loop", tab.LoopCheck()},
        {"cbSelectAll", "QPushButton", "Select All", tab.SelectAllButton()},
        {"cbClearAll", "QPushButton", "Clear All", tab.ClearAllButton()},
        {"cbHalt", "QPushButton", "Halt", tab.HaltButton()},
        {"fraText2Display", "QGroupBox", "Display ", tab.Text2DisplayFrame()},
        {"cboDispMenuText", "QComboBox", "", tab.MenuTextList()},
        {"fraTestResponse", "QGroupBox", "Response", tab.ResponseFrame()},
        {"utxtTestResponse", "orvix::TextPane", "", tab.ResponsePane()},
    });

    // Typing is allowed into the command list and the index lists, but never
    // adds an entry; the display text list only offers its entries.
    for (const QComboBox* list : {tab.TestCmdList(), tab.ProdIdxList(), tab.LangIdxList()}) {
        SCOPED_TRACE(list->objectName().toStdString());
        EXPECT_TRUE(list->isEditable());
        EXPECT_EQ(list->insertPolicy(), QComboBox::NoInsert);
    }
    EXPECT_FALSE(tab.MenuTextList()->isEditable());
    EXPECT_EQ(tab.CellDataChList()->selectionMode(), QAbstractItemView::MultiSelection);
}

TEST(TestCmdsTab, StartupHidesEveryParameterControlAndHalt) {
    TestCmdsTab tab;
    EXPECT_EQ(tab.TestCmdList()->currentIndex(), -1);
    EXPECT_EQ(tab.TestCmdList()->currentText(), S("Select Command"));
    for (const QWidget* shown : std::initializer_list<const QWidget*>{
             tab.TestCmdList(), tab.ExecuteButton(), tab.PowerDownButton(), tab.ResponseFrame()})
        EXPECT_FALSE(shown->isHidden()) << shown->objectName().toStdString();
    for (const QWidget* hidden : std::initializer_list<const QWidget*>{
             tab.ProdIdxLabel(), tab.ProdIdxList(), tab.LangIdxLabel(), tab.LangIdxList(),
             tab.EdsFrame(), tab.CkSumFrame(), tab.CellDataFrame(), tab.ErrCodeFrame(),
             tab.HaltButton(), tab.Text2DisplayFrame()})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
}

TEST(TestCmdsTab, OptionGroupsAreExclusiveWithNoneChecked) {
    TestCmdsTab tab;
    struct Group {
        QButtonGroup* group;
        std::function<QRadioButton*(int)> option;
        int count;
    };
    const Group groups[] = {
        {tab.EdsGroup(), [&](int i) { return tab.EdsOption(i); }, 3},
        {tab.ErrCodeGroup(), [&](int i) { return tab.ErrCodeOption(i); }, 2},
        {tab.CkSumGroup(), [&](int i) { return tab.CkSumOption(i); }, 2},
    };
    for (const Group& g : groups) {
        SCOPED_TRACE(g.group->objectName().toStdString());
        EXPECT_TRUE(g.group->exclusive());
        ASSERT_EQ(g.group->buttons().size(), g.count);
        EXPECT_EQ(g.group->checkedId(), -1);
        for (int i = 0; i < g.count; ++i) EXPECT_EQ(g.group->id(g.option(i)), i);

        g.option(0)->setChecked(true);
        g.option(g.count - 1)->setChecked(true);
        EXPECT_FALSE(g.option(0)->isChecked());
        EXPECT_EQ(g.group->checkedId(), g.count - 1);
    }
}

TEST(TestCmdsTab, HaltIsShownExactlyWhileLoopIsChecked) {
    TestCmdsTab tab;
    tab.CellDataFrame()->show();
    tab.LoopCheck()->setChecked(true);
    EXPECT_FALSE(tab.HaltButton()->isHidden());
    tab.LoopCheck()->setChecked(false);
    EXPECT_TRUE(tab.HaltButton()->isHidden());
}

TEST(TestCmdsTab, SetConnectedSwitchesCommandListExecuteAndPowerDown) {
    TestCmdsTab tab;
    for (bool enable : {false, true}) {
        tab.SetConnected(enable);
        EXPECT_EQ(tab.TestCmdList()->isEnabled(), enable);
        EXPECT_EQ(tab.ExecuteButton()->isEnabled(), enable);
        EXPECT_EQ(tab.PowerDownButton()->isEnabled(), enable);
    }
}

TEST(TestCmdsTab, FillsLoadTheCataloguesWithoutRunningHandlers) {
    TestCmdsTab tab;
    int fired = 0;
    const auto count = [&] { ++fired; };
    for (QComboBox* list : {tab.TestCmdList(), tab.MenuTextList()}) {
        QObject::connect(list, &QComboBox::currentIndexChanged, &tab, count);
        QObject::connect(list, &QComboBox::currentTextChanged, &tab, count);
        QObject::connect(list, &QComboBox::editTextChanged, &tab, count);
    }
    QObject::connect(tab.CellDataChList(), &QListWidget::currentRowChanged, &tab, count);

    // Twice: the command and display lists start from empty, the channel list
    // only adds (start-up runs each fill once).
    for (int pass = 0; pass < 2; ++pass) {
        tab.FillTestCmdList();
        tab.FillMenuTextList();
    }
    tab.FillCellDataChList();
    EXPECT_EQ(fired, 0);

    const QComboBox* commands = tab.TestCmdList();
    ASSERT_EQ(commands->count(), 38);
    EXPECT_EQ(commands->itemText(0), S("Get Key File"));
    EXPECT_EQ(commands->itemText(29), S("Get Prototype Data"));
    EXPECT_EQ(commands->itemText(37), S("Initiate Full Cell Measurement"));
    EXPECT_EQ(commands->currentIndex(), -1);
    EXPECT_EQ(commands->currentText(), S("Select Command"));

    const QListWidget* channels = tab.CellDataChList();
    ASSERT_EQ(channels->count(), 22);
    EXPECT_EQ(channels->item(0)->text(), S("Ch0"));
    EXPECT_EQ(channels->item(21)->text(), S("Ch21"));
    EXPECT_TRUE(channels->selectedItems().isEmpty());

    const std::vector<QString> texts = ItemTexts(tab.MenuTextList());
    ASSERT_EQ(texts.size(), 44u);
    const std::pair<int, const char*> spots[] = {
        {0, "Desc"},   {1, "MTA01"},  {12, "MTA12"}, {13, "MTB01"}, {18, "MTC05"},
        {22, "MTD04"}, {29, "MTK01"}, {30, "MTL01"}, {36, "MTM04"}, {43, "MTP04"}};
    for (const auto& [index, text] : spots) EXPECT_EQ(texts[static_cast<std::size_t>(index)], S(text));

    EXPECT_EQ(tab.ProdIdxList()->count(), 0) << "the main window fills the index lists";
}

// -------------------------------------------------------------- Catalogue

TEST(TestCmdCatalogue, CommandsBringUpTheirParameterGroups) {
    struct Case {
        int index;
        TestCmdParams params;
        int preselect;
        const char* edsCaption;
    };
    const Case cases[] = {
        {0, TestCmdParams::None, -1, nullptr},
        {1, TestCmdParams::ProdAndLangIdx, -1, nullptr},
        {3, TestCmdParams::LangIdx, -1, nullptr},
        {13, TestCmdParams::ProdAndLangIdx, -1, nullptr},
        {15, TestCmdParams::CellData, -1, nullptr},
        {20, TestCmdParams::CkSum, 1, nullptr},
        {22, TestCmdParams::Eds, 2, "Vpp Generator"},
        {23, TestCmdParams::Eds, 2, "Backlight"},
        {24, TestCmdParams::Eds, 2, "Factory Test"},
        {25, TestCmdParams::Eds, 2, "LCD Test"},
        {29, TestCmdParams::Unchanged, -1, nullptr},
        {30, TestCmdParams::ErrCode, 0, nullptr},
        {35, TestCmdParams::Text2Display, 0, nullptr},
        {37, TestCmdParams::None, -1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        const TestCmdEntry& entry = kTestCmds[static_cast<std::size_t>(c.index)];
        EXPECT_EQ(entry.params, c.params);
        EXPECT_EQ(entry.preselect, c.preselect);
        const QString caption =
            entry.edsCaption == nullptr ? QString() : QString::fromUtf16(entry.edsCaption);
        EXPECT_EQ(caption, c.edsCaption == nullptr ? QString() : S(c.edsCaption));
    }

    const auto none = ParamVisibility(TestCmdParams::None);
    ASSERT_TRUE(none.has_value());
    EXPECT_EQ(*none, TestCmdParamVisibility{});
    const auto both = ParamVisibility(TestCmdParams::ProdAndLangIdx);
    ASSERT_TRUE(both.has_value());
    EXPECT_TRUE(both->prodIdx && both->langIdx && !both->eds && !both->halt);
    EXPECT_FALSE(ParamVisibility(TestCmdParams::Unchanged).has_value());
}

// The groups as index ranges, independent of the per-entry table.
std::array<std::uint8_t, 4> ExpectedDisplayBytes(int index) {
    const auto in = [index](int first, int last) { return index >= first && index <= last; };
    const auto b1 = static_cast<std::uint8_t>(index + 2);
    if (index == 0) return {b1, 0, 3, 10};
    if (in(1, 12) || in(31, 32) || in(40, 43)) return {b1, 0, 3, 255};
    if (in(22, 23)) return {b1, 0, 3, 2};
    return {b1, 1, 3, 10};
}

TEST(TestCmdCatalogue, DisplayTextBytesFollowTheirGroups) {
    for (int index = 0; index < kDispMenuTextCount; ++index) {
        SCOPED_TRACE(index);
        const auto bytes = DispMenuTextBytes(index);
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(*bytes, ExpectedDisplayBytes(index));
    }
    EXPECT_EQ(DispMenuTextBytes(22), (std::array<std::uint8_t, 4>{24, 0, 3, 2}));     // MTD04
    EXPECT_EQ(DispMenuTextBytes(43), (std::array<std::uint8_t, 4>{45, 0, 3, 255}));   // MTP04
    EXPECT_EQ(DispMenuTextBytes(13), (std::array<std::uint8_t, 4>{15, 1, 3, 10}));    // MTB01
    EXPECT_FALSE(DispMenuTextBytes(-1).has_value());
    EXPECT_FALSE(DispMenuTextBytes(44).has_value());
}

// ------------------------------------------------------------------ Layout

// At the normal window height with the application's 8 pt font every tab,
// in each of its arrangements, must fit without squeezing a control below
// what its text needs.
TEST(TabWidgets, EveryArrangementFitsTheNormalTabPageAt8pt) {
    const QFont original = QApplication::font();
    QFont small = original;
    small.setPointSize(8);
    QApplication::setFont(small);
    const QSize page(413, 400);

    // Shown, so that the style has polished every control before measuring.
    const auto expectFits = [&](QWidget& tab, const char* what) {
        tab.show();
        QApplication::processEvents();
        const QSize needed = tab.minimumSizeHint();
        EXPECT_LE(needed.width(), page.width()) << what;
        EXPECT_LE(needed.height(), page.height()) << what;
    };
    {
        CustomerTab tab;
        tab.ApplyStartupState();
        expectFits(tab, "customer at start-up");
        tab.LanguageButton(0)->show();
        tab.LanguageButton(1)->show();
        tab.ShowUserFrame(2, true);
        tab.AdvancedFrame()->show();
        expectFits(tab, "customer product editor with advanced settings");
        tab.ShowUserFrame(1, true);
        expectFits(tab, "customer language editor");
    }
    {
        FileTransferTab tab;
        expectFits(tab, "file transfer");
        CharacterizeTab characterize;
        expectFits(characterize, "characterize");
    }
    {
        TestCmdsTab tab;
        tab.FillTestCmdList();
        tab.FillMenuTextList();
        tab.FillCellDataChList();
        QWidget* groups[] = {tab.EdsFrame(), tab.CkSumFrame(), tab.CellDataFrame(),
                             tab.ErrCodeFrame(), tab.Text2DisplayFrame()};
        for (QWidget* group : groups) {
            group->show();
            tab.LoopCheck()->setChecked(true);
            expectFits(tab, group->objectName().toUtf8().constData());
            group->hide();
        }
        for (QWidget* index : std::initializer_list<QWidget*>{
                 tab.ProdIdxLabel(), tab.ProdIdxList(), tab.LangIdxLabel(), tab.LangIdxList()})
            index->show();
        expectFits(tab, "test cmds index lists");
    }
    QApplication::setFont(original);
}

}  // namespace
}  // namespace orvix
