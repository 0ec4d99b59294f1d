#include "transfer/gui/FileTransferTab.h"

#include "common/gui/TextPane.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvix {

namespace {

constexpr int kMargin = 4;
constexpr int kSpacing = 3;

// Captions by button index; the screen order differs from the index order.
constexpr std::array<const char16_t*, FileTransferTab::kButtonCount> kCaptions{
    u"Get Key File",          u"Get Normalization File", u"Get Product File",
    u"Get Language File",     u"Get User File",          u"Send Folder to Device",
    u"Send File",             u"Copy Device to Folder",
};

template <typename T>
T* Named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace

FileTransferTab::FileTransferTab(QWidget* parent) : QWidget(parent) {
    for (int i = 0; i < kButtonCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        m_cbFTButton[slot] = Named(new QPushButton(QString::fromUtf16(kCaptions[slot])),
                                   QStringLiteral("cbFTButton(%1)").arg(i));
    }

    m_fraProduct = Named(new QGroupBox, QStringLiteral("fraProduct"));
    m_lblProdIdx = Named(new QLabel(QStringLiteral("ProdIdx")), QStringLiteral("lblProdIdx"));
    m_lblLangIdx = Named(new QLabel(QStringLiteral("LangIdx")), QStringLiteral("lblLangIdx"));
    m_cboProdIdx = Named(new QComboBox, QStringLiteral("cboProdIdx"));
    m_cboLangIdx = Named(new QComboBox, QStringLiteral("cboLangIdx"));
    auto* product = new QGridLayout(m_fraProduct);
    product->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    product->setSpacing(kSpacing);
    product->addWidget(m_cbFTButton[2], 0, 0, 1, 2);
    product->addWidget(m_cbFTButton[3], 1, 0, 1, 2);
    // Label above list keeps the two index pairs side by side in the column.
    product->addWidget(m_lblProdIdx, 2, 0);
    product->addWidget(m_lblLangIdx, 2, 1);
    product->addWidget(m_cboProdIdx, 3, 0);
    product->addWidget(m_cboLangIdx, 3, 1);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(kSpacing + 1);
    buttons->addWidget(m_cbFTButton[0]);
    buttons->addWidget(m_cbFTButton[1]);
    buttons->addWidget(m_fraProduct);
    buttons->addWidget(m_cbFTButton[4]);
    buttons->addWidget(m_cbFTButton[7]);
    buttons->addWidget(m_cbFTButton[5]);
    buttons->addWidget(m_cbFTButton[6]);
    buttons->addStretch(1);

    m_fraFileViewer =
        Named(new QGroupBox(QStringLiteral("File View")), QStringLiteral("fraFileViewer"));
    m_fraFileViewer->setToolTip(QStringLiteral("Click Frame to Clear File View Window"));
    m_utxtFileView = Named(new TextPane, QStringLiteral("utxtFileView"));
    auto* viewer = new QVBoxLayout(m_fraFileViewer);
    viewer->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    viewer->addWidget(m_utxtFileView);

    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(kMargin, kMargin * 2, kMargin, kMargin);
    page->setSpacing(kMargin * 2);
    page->addLayout(buttons);
    page->addWidget(m_fraFileViewer, 1);
}

void FileTransferTab::SetButtonsEnabled(bool enable) {
    for (QPushButton* button : m_cbFTButton) button->setEnabled(enable);
}

void FileTransferTab::SetIndexListsEnabled(bool enable) {
    m_cboProdIdx->setEnabled(enable);
    m_cboLangIdx->setEnabled(enable);
    m_lblProdIdx->setEnabled(enable);
    m_lblLangIdx->setEnabled(enable);
}

QPushButton* FileTransferTab::Button(int index) const {
    return m_cbFTButton.at(static_cast<std::size_t>(index));
}

}  // namespace orvix
