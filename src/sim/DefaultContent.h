#pragma once

#include "protocol/CommandTable.h"

#include <QString>
#include <QStringList>

#include <array>

namespace orvix::sim {

// The files an instrument holds. An empty text is a slot without a file.
struct InstrumentFiles {
    // Indexed [language][product]: each product file names its grain in one
    // language.
    std::array<std::array<QString, kMaxProducts>, kMaxLanguages> products;
    std::array<QString, kMaxLanguages> languages;
    QString user;
    QString normalization;
    QString key;
};

// The instrument as it leaves the factory.
inline constexpr char16_t kDefaultSerial[] = u"X10203-3000-00042";
inline constexpr char16_t kDefaultModel[] = u"OX-200";
// Languages 0 English, 1 German and 2 Russian; the other slots are empty.
inline constexpr int kDefaultLanguageCount = 3;
// Products 0–5 in each of those languages.
inline constexpr int kDefaultProductCount = 6;

// The tags of the 43 menu texts of a language file, in file order
// ("$MTA01" … "$MTP04"); the display shows them by this position.
const QStringList& MenuTextTags();

InstrumentFiles DefaultInstrumentFiles();

}  // namespace orvix::sim
