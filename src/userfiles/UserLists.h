#pragma once

#include <QString>
#include <QStringList>

namespace orvix {

class USBcmds;
class ZrHID;

// The entries of the Customer tab's language and product lists, read from
// the instrument. A lost connection ends the reading at once: the lists then
// hold what was read before it.
class UserLists {
public:
    static inline const QString kEmptyEntry = QStringLiteral("--Empty--");
    static inline const QString kNoJump = QStringLiteral("--None--");

    UserLists(USBcmds& cmds, const ZrHID& hid) : m_cmds(cmds), m_hid(hid) {}

    // One entry per language index 0–11: its description or "--Empty--".
    QStringList LanguageEntries();
    // One entry per product index 0–19 of a language: its name or "--Empty--".
    QStringList ProductEntries(int langIdx);

private:
    USBcmds& m_cmds;
    const ZrHID& m_hid;
};

}  // namespace orvix
