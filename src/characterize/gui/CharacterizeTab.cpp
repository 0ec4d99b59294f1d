#include "characterize/gui/CharacterizeTab.h"

#include "common/gui/LinePane.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvix {

namespace {

constexpr int kMargin = 4;
constexpr int kSpacing = 3;

constexpr std::array<const char16_t*, CharacterizeTab::kButtonCount> kCaptions{
    u"Set Serial Number",          u"Collect Electrical Cell Data",
    u"Collect Load Cell Data",     u"Collect Accelerometer Data",
    u"Collect Temperature Data",   u"Get Serial Number",
    u"Create Normalization File",  u"Send Normalization File",
};

// Two buttons to a row, in the order an operator works through them: the
// serial number first, the four collections, then the normalisation file.
constexpr std::array<int, CharacterizeTab::kButtonCount> kScreenOrder{0, 5, 1, 2, 3, 4, 6, 7};

template <typename T>
T* Named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace

CharacterizeTab::CharacterizeTab(QWidget* parent) : QWidget(parent) {
    m_fraCharFolder = Named(new QGroupBox(QStringLiteral("Characterization Folder")),
                            QStringLiteral("fraCharFolder"));
    m_txtCharPath = Named(new QLineEdit, QStringLiteral("txtCharPath"));
    m_txtCharPath->setToolTip(QStringLiteral("Double Click to Browse to Folder"));
    // The folder changes only through the folder picker.
    m_txtCharPath->setReadOnly(true);
    auto* folder = new QVBoxLayout(m_fraCharFolder);
    folder->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    folder->addWidget(m_txtCharPath);

    m_lblSN = Named(new QLabel(QStringLiteral("Serial Number:")), QStringLiteral("lblSN"));
    m_txtSN = Named(new QLineEdit, QStringLiteral("txtSN"));
    const int serialWidth = m_txtSN->fontMetrics().horizontalAdvance(QStringLiteral("0000000"));
    m_txtSN->setMaximumWidth(serialWidth + 16);
    auto* serial = new QHBoxLayout;
    serial->setSpacing(kSpacing * 2);
    serial->addWidget(m_lblSN);
    serial->addWidget(m_txtSN);
    serial->addStretch(1);

    auto* buttons = new QGridLayout;
    buttons->setSpacing(kSpacing + 1);
    for (int i = 0; i < kButtonCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        m_cbCharButton[slot] = Named(new QPushButton(QString::fromUtf16(kCaptions[slot])),
                                     QStringLiteral("cbCharButton(%1)").arg(i));
    }
    for (int position = 0; position < kButtonCount; ++position) {
        const int index = kScreenOrder[static_cast<std::size_t>(position)];
        buttons->addWidget(Button(index), position / 2, position % 2);
    }

    m_progressBar1 = Named(new QProgressBar, QStringLiteral("ProgressBar1"));
    m_progressBar1->setRange(0, 100);
    m_progressBar1->setValue(0);

    m_fraData = Named(new QGroupBox(QStringLiteral(" Data ")), QStringLiteral("fraData"));
    m_fraData->setToolTip(QStringLiteral("Click Frame to Clear Data Window"));
    m_lstData = Named(new LinePane, QStringLiteral("lstData"));
    auto* data = new QVBoxLayout(m_fraData);
    data->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    data->addWidget(m_lstData);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(kMargin, kMargin * 2, kMargin, kMargin);
    page->setSpacing(kSpacing * 2);
    page->addWidget(m_fraCharFolder);
    page->addLayout(serial);
    page->addLayout(buttons);
    page->addWidget(m_progressBar1);
    page->addWidget(m_fraData, 1);
}

void CharacterizeTab::SetButtonsEnabled(bool enable) {
    for (QPushButton* button : m_cbCharButton) button->setEnabled(enable);
}

QPushButton* CharacterizeTab::Button(int index) const {
    return m_cbCharButton.at(static_cast<std::size_t>(index));
}

}  // namespace orvix
