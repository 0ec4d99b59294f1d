#include "userfiles/gui/CustomerTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvix {

namespace {

// Of the tab's twips geometry only the selection column's width and the
// editors' left edge matter; everything else follows the layouts.
constexpr int kSelectionColumnTwips = 2300;
constexpr int kEditorLeftTwips = 2400;
constexpr int kMargin = 4;
constexpr int kSpacing = 3;

int TwipsToPixels(const QWidget* widget, int twips) {
    return (twips * widget->logicalDpiX() + 720) / 1440;
}

QString ArrayName(const char16_t* base, int index) {
    return QString::fromUtf16(base) + u'(' + QString::number(index) + u')';
}

template <typename T>
T* Named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QGroupBox* Frame(const QString& name, const QString& caption) {
    return Named(new QGroupBox(caption), name);
}

void Tighten(QLayout* layout) {
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kSpacing);
}

QLabel* RightLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// Wide enough for the given sample text and nothing more, so that four-digit
// constants and biases do not take half the editor.
void FitWidthTo(QLineEdit* box, const QString& sample) {
    const int text = box->fontMetrics().horizontalAdvance(sample);
    box->setMinimumWidth(text + 12);
    box->setMaximumWidth(text + 24);
}

}  // namespace

CustomerTab::CustomerTab(QWidget* parent) : QWidget(parent) {
    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(kMargin, kMargin * 2, kMargin, kMargin);
    const int column = TwipsToPixels(this, kSelectionColumnTwips);
    page->setSpacing(std::max(kSpacing, TwipsToPixels(this, kEditorLeftTwips) - kMargin - column));

    QWidget* selection = BuildSelectionColumn();
    selection->setFixedWidth(column);
    page->addWidget(selection);

    // The three editor frames share one place; exactly one is shown at a
    // time, and a hidden frame takes no room in the layout.
    auto* editors = new QVBoxLayout;
    editors->setContentsMargins(0, 0, 0, 0);
    editors->setSpacing(0);
    editors->addWidget(BuildProductEditor(), 1);
    editors->addWidget(BuildLanguageEditor(), 1);
    m_fraUserEmpty = Frame(QStringLiteral("fraUserEmpty"), QString());
    m_fraUserEmpty->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    editors->addWidget(m_fraUserEmpty, 1);
    page->addLayout(editors, 1);

    m_fraUserProd->hide();
    m_fraUserLang->hide();
    m_cbUserSendFile->setEnabled(false);
}

QWidget* CustomerTab::BuildSelectionColumn() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kSpacing * 2);

    auto buildSelector = [](QGroupBox* frame, QComboBox*& list, const QString& listName,
                            std::array<QPushButton*, 2>& buttons, const char16_t* buttonBase) {
        list = Named(new QComboBox, listName);
        buttons[0] = Named(new QPushButton(QStringLiteral("Get File")), ArrayName(buttonBase, 0));
        buttons[1] =
            Named(new QPushButton(QStringLiteral("Delete File")), ArrayName(buttonBase, 1));
        auto* frameLayout = new QVBoxLayout(frame);
        Tighten(frameLayout);
        frameLayout->addWidget(list);
        auto* row = new QHBoxLayout;
        row->setSpacing(kSpacing);
        row->addWidget(buttons[0]);
        row->addWidget(buttons[1]);
        frameLayout->addLayout(row);
        frame->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    };

    m_fraUserLangSel = Frame(QStringLiteral("fraUserLangSel"), QStringLiteral("Language"));
    buildSelector(m_fraUserLangSel, m_cboUserLangList, QStringLiteral("cboUserLangList"),
                  m_cbUserLang, u"cbUserLang");
    m_fraUserProdSel = Frame(QStringLiteral("fraUserProdSel"), QStringLiteral("Product"));
    buildSelector(m_fraUserProdSel, m_cboUserProdList, QStringLiteral("cboUserProdList"),
                  m_cbUserProd, u"cbUserProd");
    m_cbUserSendFile = Named(new QPushButton(QStringLiteral("Send File")),
                             QStringLiteral("cbUserSendFile"));

    layout->addWidget(m_fraUserLangSel);
    layout->addWidget(m_fraUserProdSel);
    layout->addWidget(m_cbUserSendFile);
    layout->addStretch(1);
    return column;
}

QGroupBox* CustomerTab::BuildProductEditor() {
    m_fraUserProd = Frame(QStringLiteral("fraUserProd"), QStringLiteral("Product"));
    auto* grid = new QGridLayout(m_fraUserProd);
    Tighten(grid);

    m_txtUserName = Named(new QLineEdit, QStringLiteral("txtUserName"));
    m_txtUserIssue = Named(new QLineEdit, QStringLiteral("txtUserIssue"));
    grid->addWidget(RightLabel(QStringLiteral("Name:")), 0, 0);
    grid->addWidget(m_txtUserName, 0, 1, 1, 5);
    grid->addWidget(RightLabel(QStringLiteral("Issue:")), 1, 0);
    grid->addWidget(m_txtUserIssue, 1, 1, 1, 5);

    // Three constants to a row keeps the nine visible together with the
    // advanced settings at the normal window height.
    for (int i = 0; i < kConstantCount; ++i) {
        auto* box = Named(new QLineEdit, ArrayName(u"txtUserK", i));
        FitWidthTo(box, QStringLiteral("0000"));
        m_txtUserK[static_cast<std::size_t>(i)] = box;
        const int row = 2 + i / 3;
        const int column = (i % 3) * 2;
        grid->addWidget(RightLabel(QStringLiteral("K%1:").arg(i + 1)), row, column);
        grid->addWidget(box, row, column + 1);
    }

    m_txtUserKsCkSum = Named(new QLineEdit, QStringLiteral("txtUserKsCkSum"));
    m_txtUserKsCkSum->setReadOnly(true);
    FitWidthTo(m_txtUserKsCkSum, QStringLiteral("0000"));
    m_chkUserAdvanced =
        Named(new QCheckBox(QStringLiteral("Advanced")), QStringLiteral("chkUserAdvanced"));
    grid->addWidget(RightLabel(QStringLiteral("CkSum:")), 5, 0);
    grid->addWidget(m_txtUserKsCkSum, 5, 1);
    grid->addWidget(m_chkUserAdvanced, 5, 2, 1, 4);

    m_fraUserAdvanced = Frame(QStringLiteral("fraUserAdvanced"), QString());
    auto* advanced = new QGridLayout(m_fraUserAdvanced);
    Tighten(advanced);
    m_txtUserMBias = Named(new QLineEdit, QStringLiteral("txtUserMBias"));
    m_txtUserTWBias = Named(new QLineEdit, QStringLiteral("txtUserTWBias"));
    FitWidthTo(m_txtUserMBias, QStringLiteral("-0.0"));
    FitWidthTo(m_txtUserTWBias, QStringLiteral("-0.0"));
    advanced->addWidget(RightLabel(QStringLiteral("Moisture Bias:")), 0, 0);
    advanced->addWidget(m_txtUserMBias, 0, 1);
    advanced->addWidget(RightLabel(QStringLiteral("Test Weight Bias:")), 1, 0);
    advanced->addWidget(m_txtUserTWBias, 1, 1);
    advanced->setColumnStretch(2, 1);

    m_fraAutoRanging = Frame(QStringLiteral("fraAutoRanging"), QStringLiteral("Auto Ranging"));
    auto* ranging = new QGridLayout(m_fraAutoRanging);
    Tighten(ranging);
    m_cboUserJmpMin = Named(new QComboBox, QStringLiteral("cboUserJmpMin"));
    m_cboUserJmpMax = Named(new QComboBox, QStringLiteral("cboUserJmpMax"));
    ranging->addWidget(RightLabel(QStringLiteral("Jump Min:")), 0, 0);
    ranging->addWidget(m_cboUserJmpMin, 0, 1);
    ranging->addWidget(RightLabel(QStringLiteral("Jump Max:")), 1, 0);
    ranging->addWidget(m_cboUserJmpMax, 1, 1);
    ranging->setColumnStretch(1, 1);
    advanced->addWidget(m_fraAutoRanging, 2, 0, 1, 3);

    grid->addWidget(m_fraUserAdvanced, 6, 0, 1, 6);
    grid->setRowStretch(7, 1);
    return m_fraUserProd;
}

QGroupBox* CustomerTab::BuildLanguageEditor() {
    m_fraUserLang = Frame(QStringLiteral("fraUserLang"), QStringLiteral("Language"));
    auto* layout = new QVBoxLayout(m_fraUserLang);
    Tighten(layout);

    m_utxtUserLangDesc = Named(new QLineEdit, QStringLiteral("utxtUserLangDesc"));
    auto* descRow = new QHBoxLayout;
    descRow->setSpacing(kSpacing);
    descRow->addWidget(new QLabel(QStringLiteral("Desc:")));
    descRow->addWidget(m_utxtUserLangDesc, 1);
    layout->addLayout(descRow);

    m_lstUserLang = Named(new QListWidget, QStringLiteral("lstUserLang"));
    layout->addWidget(m_lstUserLang, 1);

    // The tag of the selected line sits in front of its text, as a caption.
    m_lblUserLangEdit = Named(new QLabel, QStringLiteral("lblUserLangEdit"));
    m_lblUserLangEdit->setMinimumWidth(m_lblUserLangEdit->fontMetrics().horizontalAdvance(
        QStringLiteral("MTA00")));
    m_utxtUserLangEdit = Named(new QLineEdit, QStringLiteral("utxtUserLangEdit"));
    auto* editRow = new QHBoxLayout;
    editRow->setSpacing(kSpacing);
    editRow->addWidget(m_lblUserLangEdit);
    editRow->addWidget(m_utxtUserLangEdit, 1);
    layout->addLayout(editRow);
    return m_fraUserLang;
}

void CustomerTab::ApplyStartupState() {
    m_cbUserLang[0]->hide();
    m_cbUserLang[1]->hide();
    m_chkUserAdvanced->setChecked(false);
    m_fraUserAdvanced->hide();
}

void CustomerTab::SetConnected(bool enable) {
    m_cboUserLangList->setEnabled(false);
    m_cbUserLang[0]->setEnabled(false);
    m_cbUserLang[1]->setEnabled(false);
    m_cboUserProdList->setEnabled(false);
    m_cbUserProd[0]->setEnabled(false);
    m_cbUserProd[1]->setEnabled(false);
    m_cbUserSendFile->setEnabled(enable && EditorShown());
}

bool CustomerTab::EditorShown() const {
    // isHidden, not isVisible: the answer must not depend on whether this tab
    // is the current page of the tab strip.
    return !m_fraUserProd->isHidden() || !m_fraUserLang->isHidden();
}

void CustomerTab::ShowUserFrame(int mode, bool connected) {
    switch (mode) {
    case 1:
    case 2:
        m_fraUserEmpty->hide();
        m_fraUserProd->setVisible(mode == 2);
        m_fraUserLang->setVisible(mode == 1);
        if (connected) m_cbUserSendFile->setEnabled(true);
        break;
    case 3:
        m_fraUserProd->hide();
        m_fraUserLang->hide();
        m_fraUserEmpty->show();
        m_cbUserSendFile->setEnabled(false);
        break;
    default:
        m_fraUserProd->hide();
        m_fraUserLang->hide();
        m_fraUserEmpty->hide();
        break;
    }
}

QPushButton* CustomerTab::LanguageButton(int index) const {
    return m_cbUserLang.at(static_cast<std::size_t>(index));
}

QPushButton* CustomerTab::ProductButton(int index) const {
    return m_cbUserProd.at(static_cast<std::size_t>(index));
}

QLineEdit* CustomerTab::ConstantBox(int index) const {
    return m_txtUserK.at(static_cast<std::size_t>(index));
}

}  // namespace orvix
