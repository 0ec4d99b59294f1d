#include "testcmds/gui/TestCmdsTab.h"

#include "common/gui/TextPane.h"
#include "testcmds/TestCmdCatalogue.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace orvix {

namespace {

constexpr int kMargin = 4;
constexpr int kSpacing = 3;
constexpr int kCellDataRows = 4;

const QString kSelectCommand = QStringLiteral("Select Command");

template <typename T>
T* Named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QString ArrayName(const char16_t* base, int index) {
    return QString::fromUtf16(base) + u'(' + QString::number(index) + u')';
}

void Tighten(QLayout* layout) {
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kSpacing * 2);
}

QComboBox* EditableList(const QString& name) {
    auto* list = Named(new QComboBox, name);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    return list;
}

// An exclusive group of option buttons, none checked, laid out in a row.
template <std::size_t N>
QButtonGroup* OptionGroup(QObject* owner, const char16_t* base,
                          const std::array<const char16_t*, N>& captions,
                          std::array<QRadioButton*, N>& buttons, QBoxLayout* row) {
    auto* group = new QButtonGroup(owner);
    group->setObjectName(QString::fromUtf16(base));
    group->setExclusive(true);
    for (std::size_t i = 0; i < N; ++i) {
        buttons[i] = Named(new QRadioButton(QString::fromUtf16(captions[i])),
                           ArrayName(base, static_cast<int>(i)));
        group->addButton(buttons[i], static_cast<int>(i));
        row->addWidget(buttons[i]);
    }
    return group;
}

// The parameter groups take turns in one place; each keeps its room while
// hidden so the response pane does not jump as commands are browsed.
void KeepRoomWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

}  // namespace

TestCmdsTab::TestCmdsTab(QWidget* parent) : QWidget(parent) {
    m_fraTestResponse =
        Named(new QGroupBox(QStringLiteral("Response")), QStringLiteral("fraTestResponse"));
    m_fraTestResponse->setToolTip(QStringLiteral("Click Frame to Clear Response Window"));
    m_utxtTestResponse = Named(new TextPane, QStringLiteral("utxtTestResponse"));
    auto* response = new QVBoxLayout(m_fraTestResponse);
    response->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    response->addWidget(m_utxtTestResponse);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(kMargin, kMargin * 2, kMargin, kMargin);
    page->setSpacing(kSpacing * 2);
    page->addWidget(BuildCommandRow());
    page->addWidget(BuildParameterArea());
    page->addWidget(m_fraTestResponse, 1);

    for (QWidget* control : std::initializer_list<QWidget*>{
             m_lblTCProdIdx, m_cboTCProdIdx, m_lblTCLangIdx, m_cboTCLangIdx, m_fraEDS, m_fraCkSum,
             m_fraCellData, m_fraErrCode, m_cbHalt, m_fraText2Display}) {
        control->hide();
    }
    connect(m_chkLoop, &QCheckBox::toggled, m_cbHalt, &QWidget::setVisible);
}

QWidget* TestCmdsTab::BuildCommandRow() {
    m_cboTestCmd = EditableList(QStringLiteral("cboTestCmd"));
    m_cboTestCmd->setEditText(kSelectCommand);
    m_cbTestCmdExecute =
        Named(new QPushButton(QStringLiteral("Execute")), QStringLiteral("cbTestCmdExecute"));
    m_cbTCPwrDwn = Named(new QPushButton(QStringLiteral("Power Down")), QStringLiteral("cbTCPwrDwn"));

    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kSpacing * 2);
    layout->addWidget(m_cboTestCmd, 1);
    layout->addWidget(m_cbTestCmdExecute);
    layout->addWidget(m_cbTCPwrDwn);
    return row;
}

QWidget* TestCmdsTab::BuildParameterArea() {
    m_lblTCProdIdx = Named(new QLabel(QStringLiteral("ProdIdx")), QStringLiteral("lblTCProdIdx"));
    m_cboTCProdIdx = EditableList(QStringLiteral("cboTCProdIdx"));
    m_lblTCLangIdx = Named(new QLabel(QStringLiteral("LangIdx")), QStringLiteral("lblTCLangIdx"));
    m_cboTCLangIdx = EditableList(QStringLiteral("cboTCLangIdx"));
    const int indexWidth = m_cboTCProdIdx->fontMetrics().horizontalAdvance(QStringLiteral("0000"));
    m_cboTCProdIdx->setMinimumWidth(indexWidth + 40);
    m_cboTCLangIdx->setMinimumWidth(indexWidth + 40);
    auto* indices = new QWidget;
    auto* indexRow = new QHBoxLayout(indices);
    indexRow->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    indexRow->setSpacing(kSpacing * 2);
    indexRow->addWidget(m_lblTCProdIdx);
    indexRow->addWidget(m_cboTCProdIdx);
    indexRow->addSpacing(kMargin * 3);
    indexRow->addWidget(m_lblTCLangIdx);
    indexRow->addWidget(m_cboTCLangIdx);
    indexRow->addStretch(1);

    m_fraEDS = Named(new QGroupBox(QStringLiteral("EDS")), QStringLiteral("fraEDS"));
    auto* eds = new QHBoxLayout(m_fraEDS);
    Tighten(eds);
    m_optEDSGroup = OptionGroup<3>(this, u"optEDS", {u"Enable", u"Disable", u"Status"}, m_optEDS,
                                   eds);
    eds->addStretch(1);

    m_fraErrCode =
        Named(new QGroupBox(QStringLiteral("Error Code")), QStringLiteral("fraErrCode"));
    auto* errCode = new QHBoxLayout(m_fraErrCode);
    Tighten(errCode);
    m_optErrCodeGroup =
        OptionGroup<2>(this, u"optErrCode", {u"Info", u"Halt"}, m_optErrCode, errCode);
    m_txtErrCode = Named(new QLineEdit, QStringLiteral("txtErrCode"));
    m_txtErrCode->setMaximumWidth(
        m_txtErrCode->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    errCode->addSpacing(kMargin * 2);
    errCode->addWidget(m_txtErrCode);
    errCode->addStretch(1);

    m_fraCkSum = Named(new QGroupBox(QStringLiteral("CheckSum")), QStringLiteral("fraCkSum"));
    auto* ckSum = new QHBoxLayout(m_fraCkSum);
    Tighten(ckSum);
    m_optCkSumGroup =
        OptionGroup<2>(this, u"optCkSum", {u"BootBlock", u"Main"}, m_optCkSum, ckSum);
    ckSum->addStretch(1);

    m_fraText2Display =
        Named(new QGroupBox(QStringLiteral("Display ")), QStringLiteral("fraText2Display"));
    m_cboDispMenuText = Named(new QComboBox, QStringLiteral("cboDispMenuText"));
    m_cboDispMenuText->setMinimumWidth(
        m_cboDispMenuText->fontMetrics().horizontalAdvance(QStringLiteral("MTA000")) + 40);
    auto* display = new QHBoxLayout(m_fraText2Display);
    Tighten(display);
    display->addWidget(m_cboDispMenuText);
    display->addStretch(1);

    auto* area = new QWidget;
    auto* stack = new QGridLayout(area);
    stack->setContentsMargins(0, 0, 0, 0);
    for (QWidget* group : std::initializer_list<QWidget*>{
             indices, m_fraEDS, m_fraErrCode, m_fraCkSum, m_fraText2Display,
             BuildCellDataFrame()}) {
        KeepRoomWhenHidden(group);
        stack->addWidget(group, 0, 0, Qt::AlignTop);
    }
    return area;
}

QGroupBox* TestCmdsTab::BuildCellDataFrame() {
    m_fraCellData = Named(new QGroupBox(QStringLiteral("Cell Data")), QStringLiteral("fraCellData"));

    // The 22 channels flow in rows, so all are in view without scrolling.
    m_lstCellDataCh = Named(new QListWidget, QStringLiteral("lstCellDataCh"));
    m_lstCellDataCh->setSelectionMode(QAbstractItemView::MultiSelection);
    m_lstCellDataCh->setFlow(QListView::LeftToRight);
    m_lstCellDataCh->setWrapping(true);
    m_lstCellDataCh->setResizeMode(QListView::Adjust);
    m_lstCellDataCh->setUniformItemSizes(true);
    const QFontMetrics metrics = m_lstCellDataCh->fontMetrics();
    const QSize cell(metrics.horizontalAdvance(QStringLiteral("Ch00")) + 14, metrics.height() + 4);
    m_lstCellDataCh->setGridSize(cell);
    m_lstCellDataCh->setFixedHeight(cell.height() * kCellDataRows +
                                    2 * m_lstCellDataCh->frameWidth() + 4);

    m_chkLoop = Named(new QCheckBox(QStringLiteral("Loop")), QStringLiteral("chkLoop"));
    m_cbSelectAll =
        Named(new QPushButton(QStringLiteral("Select All")), QStringLiteral("cbSelectAll"));
    m_cbClearAll = Named(new QPushButton(QStringLiteral("Clear All")), QStringLiteral("cbClearAll"));
    m_cbHalt = Named(new QPushButton(QStringLiteral("Halt")), QStringLiteral("cbHalt"));

    auto* side = new QGridLayout;
    side->setSpacing(kSpacing);
    side->addWidget(m_cbSelectAll, 0, 0);
    side->addWidget(m_cbClearAll, 1, 0);
    side->addWidget(m_chkLoop, 2, 0);
    side->addWidget(m_cbHalt, 3, 0);
    side->setRowStretch(4, 1);

    auto* layout = new QHBoxLayout(m_fraCellData);
    Tighten(layout);
    layout->addWidget(m_lstCellDataCh, 1);
    layout->addLayout(side);
    return m_fraCellData;
}

void TestCmdsTab::SetConnected(bool enable) {
    m_cbTestCmdExecute->setEnabled(enable);
    m_cbTCPwrDwn->setEnabled(enable);
    m_cboTestCmd->setEnabled(enable);
}

void TestCmdsTab::FillTestCmdList() {
    const QSignalBlocker blocker(m_cboTestCmd);
    m_cboTestCmd->clear();
    m_cboTestCmd->addItems(TestCmdCaptions());
    m_cboTestCmd->setCurrentIndex(-1);
    m_cboTestCmd->setEditText(kSelectCommand);
}

void TestCmdsTab::FillCellDataChList() {
    const QSignalBlocker blocker(m_lstCellDataCh);
    m_lstCellDataCh->addItems(CellDataChannelNames());
}

void TestCmdsTab::FillMenuTextList() {
    const QSignalBlocker blocker(m_cboDispMenuText);
    m_cboDispMenuText->clear();
    m_cboDispMenuText->addItems(DispMenuTexts());
}

QRadioButton* TestCmdsTab::EdsOption(int index) const {
    return m_optEDS.at(static_cast<std::size_t>(index));
}

QRadioButton* TestCmdsTab::ErrCodeOption(int index) const {
    return m_optErrCode.at(static_cast<std::size_t>(index));
}

QRadioButton* TestCmdsTab::CkSumOption(int index) const {
    return m_optCkSum.at(static_cast<std::size_t>(index));
}

}  // namespace orvix
