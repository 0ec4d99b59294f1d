#include "userfiles/UserLists.h"

#include "hid/ZrHID.h"
#include "protocol/CommandTable.h"
#include "protocol/USBcmds.h"

namespace orvix {

namespace {

QString EntryFor(const QString& text) { return text.isEmpty() ? UserLists::kEmptyEntry : text; }

}  // namespace

QStringList UserLists::LanguageEntries() {
    QStringList entries;
    for (int index = 0; index < kMaxLanguages; ++index) {
        const QString description = m_cmds.GetLanguageDescription(index);
        if (!m_hid.DeviceDetected()) break;
        entries.append(EntryFor(description));
    }
    return entries;
}

QStringList UserLists::ProductEntries(int langIdx) {
    QStringList entries;
    for (int index = 0; index < kMaxProducts; ++index) {
        const QString name = m_cmds.GetProductName(index, langIdx);
        if (!m_hid.DeviceDetected()) break;
        entries.append(EntryFor(name));
    }
    return entries;
}

}  // namespace orvix
