#include "common/CappedLineList.h"

namespace orvix {

void CappedLineList::add(const QString& line) {
    if (MustClearBeforeAdding(m_lines.size())) {
        m_lines.clear();
        m_lines.append(kClearedLine);
    }
    m_lines.append(line);
    notify();
}

void CappedLineList::clear() {
    m_lines.clear();
    notify();
}

void CappedLineList::notify() {
    if (m_onChanged) m_onChanged();
}

}  // namespace orvix
