#include "common/gui/LinePane.h"

#include "common/CappedLineList.h"

namespace orvix {

LinePane::LinePane(QWidget* parent) : QListWidget(parent) {
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void LinePane::AddLine(const QString& text) {
    if (CappedLineList::MustClearBeforeAdding(count())) {
        clear();
        addItem(CappedLineList::kClearedLine);
    }
    addItem(text);
    setCurrentRow(count() - 1);
}

QStringList LinePane::Lines() const {
    QStringList lines;
    lines.reserve(count());
    for (int i = 0; i < count(); ++i) lines.append(item(i)->text());
    return lines;
}

}  // namespace orvix
