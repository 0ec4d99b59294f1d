#include "hid/gui/frmZrHID.h"

#include "common/CappedLineList.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace orvix {

frmZrHID::frmZrHID(CappedLineList& diagnostics, QWidget* parent)
    : QWidget(parent, Qt::Window), m_diagnostics(diagnostics), m_results(new QListWidget(this)) {
    setObjectName(QStringLiteral("frmZrHID"));
    setWindowTitle(QStringLiteral("Zr HID Diagnostics"));
    m_results->setObjectName(QStringLiteral("lstResults"));
    m_results->setUniformItemSizes(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_results);
    resize(520, 420);
    m_results->addItems(m_diagnostics.lines());
    m_diagnostics.setOnChanged([this] { Follow(); });
}

frmZrHID::~frmZrHID() { m_diagnostics.setOnChanged({}); }

// The list only grows, or starts again after it was cleared: add what is
// new, after emptying the view when the list started again.
void frmZrHID::Follow() {
    const QStringList& lines = m_diagnostics.lines();
    const bool restarted = m_results->count() > 0 && !lines.isEmpty() && lines.front() != m_results->item(0)->text();
    if (restarted || lines.size() < m_results->count()) m_results->clear();
    for (qsizetype i = m_results->count(); i < lines.size(); ++i) m_results->addItem(lines[i]);
    m_results->setCurrentRow(m_results->count() - 1);
}

}  // namespace orvix
