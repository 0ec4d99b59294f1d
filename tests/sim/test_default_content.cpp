#include "sim/DefaultContent.h"

#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace orvix::sim::test {
namespace {

const InstrumentFiles kFiles = DefaultInstrumentFiles();

QString Key(const QString& line) { return line.section(u'=', 0, 0); }
QString Value(const QString& line) { return line.section(u'=', 1); }

bool IsDigits(QStringView text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

// Every line ends with CR LF and no line break hides inside a line.
void ExpectCrLfLines(const QString& text) {
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    EXPECT_EQ(text.count(u'\n'), text.count(QStringLiteral("\r\n")));
    EXPECT_EQ(text.count(u'\r'), text.count(QStringLiteral("\r\n")));
}

TEST(DefaultContent, MenuTagsFollowTheDisplayOrder) {
    const QStringList& tags = MenuTextTags();
    ASSERT_EQ(tags.size(), 43);
    // Spot checks at every group boundary of the display list.
    const std::pair<int, const char*> expected[] = {
        {0, "$MTA01"},  {11, "$MTA12"}, {12, "$MTB01"}, {13, "$MTC01"}, {17, "$MTC05"},
        {18, "$MTD01"}, {23, "$MTE01"}, {27, "$MTJ01"}, {28, "$MTK01"}, {29, "$MTL01"},
        {32, "$MTM01"}, {36, "$MTN01"}, {39, "$MTP01"}, {42, "$MTP04"}};
    for (const auto& [index, tag] : expected) EXPECT_EQ(tags[index], QLatin1String(tag)) << index;
}

TEST(DefaultContent, LanguagesCarryDescriptionAndAllMenuTextsInOrder) {
    const QString descriptions[] = {QStringLiteral("English"), QStringLiteral("Deutsch"),
                                    QStringLiteral("Русский")};
    for (int l = 0; l < kMaxLanguages; ++l) {
        const QString& text = kFiles.languages[static_cast<std::size_t>(l)];
        if (l >= kDefaultLanguageCount) {
            EXPECT_TRUE(text.isEmpty()) << l;
            continue;
        }
        SCOPED_TRACE(l);
        ExpectCrLfLines(text);
        const QStringList lines = FileLines(text);
        ASSERT_EQ(lines.size(), 3 + 43 + 1);
        EXPECT_EQ(lines[0], QStringLiteral("L"));
        EXPECT_EQ(lines[1], QStringLiteral("LngIdx=%1").arg(l));
        EXPECT_EQ(lines[2], QStringLiteral("$Desc=") + descriptions[l]);
        for (int i = 0; i < 43; ++i) {
            const QString& line = lines[3 + i];
            EXPECT_EQ(Key(line), MenuTextTags()[i]);
            EXPECT_EQ(line.count(u'='), 1) << line.toStdString();
            EXPECT_FALSE(Value(line).isEmpty());
            EXPECT_LE(Value(line).size(), 16) << line.toStdString();
        }
        EXPECT_EQ(lines.back(), QStringLiteral("<EOF>"));
    }
}

TEST(DefaultContent, ProductsAreCompleteWithValidConstantsAndJumpsToExistingProducts) {
    const QStringList keys = {QStringLiteral("PrdIdx"), QStringLiteral("LngIdx"), QStringLiteral("$Name"),
                              QStringLiteral("Issue"),  QStringLiteral("K1"),     QStringLiteral("K2"),
                              QStringLiteral("K3"),     QStringLiteral("K4"),     QStringLiteral("K5"),
                              QStringLiteral("K6"),     QStringLiteral("K7"),     QStringLiteral("K8"),
                              QStringLiteral("K9"),     QStringLiteral("TWBias"), QStringLiteral("MBias"),
                              QStringLiteral("JmpMax"), QStringLiteral("JmpMin")};
    int linkedToOthers = 0;
    for (int l = 0; l < kMaxLanguages; ++l) {
        std::set<QString> names;
        for (int p = 0; p < kMaxProducts; ++p) {
            const QString& text = kFiles.products[static_cast<std::size_t>(l)][static_cast<std::size_t>(p)];
            if (l >= kDefaultLanguageCount || p >= kDefaultProductCount) {
                EXPECT_TRUE(text.isEmpty()) << l << "/" << p;
                continue;
            }
            SCOPED_TRACE(QStringLiteral("product %1, language %2").arg(p).arg(l).toStdString());
            ExpectCrLfLines(text);
            const QStringList lines = FileLines(text);
            ASSERT_EQ(lines.size(), 1 + keys.size() + 1);
            EXPECT_EQ(lines.front(), QStringLiteral("P"));
            EXPECT_EQ(lines.back(), QStringLiteral("<EOF>"));
            std::map<QString, QString> values;
            for (int i = 0; i < keys.size(); ++i) {
                const QString& line = lines[1 + i];
                EXPECT_EQ(Key(line), keys[i]);
                EXPECT_EQ(line.count(u'='), 1) << line.toStdString();
                values[Key(line)] = Value(line);
            }
            EXPECT_EQ(values[QStringLiteral("PrdIdx")], QString::number(p));
            EXPECT_EQ(values[QStringLiteral("LngIdx")], QString::number(l));
            EXPECT_TRUE(names.insert(values[QStringLiteral("$Name")]).second) << "names differ";
            EXPECT_EQ(values[QStringLiteral("TWBias")], QStringLiteral("0.0"));
            EXPECT_EQ(values[QStringLiteral("MBias")], QStringLiteral("0.0"));

            int sum = 0;
            for (int k = 1; k <= 9; ++k) {
                const QString constant = values[QStringLiteral("K%1").arg(k)];
                ASSERT_EQ(constant.size(), 4);
                ASSERT_TRUE(IsDigits(constant)) << constant.toStdString();
                sum += constant.left(2).toInt() + constant.right(2).toInt();
            }
            EXPECT_EQ(QStringLiteral("%1").arg(sum % 100, 2, 10, QLatin1Char('0')), QStringLiteral("55"));
            EXPECT_EQ(CommandHandler::ConstantsCheckValue(text), 55);

            for (const char* jump : {"JmpMax", "JmpMin"}) {
                const QString target = values[QLatin1String(jump)];
                ASSERT_TRUE(IsDigits(target));
                EXPECT_LT(target.toInt(), kDefaultProductCount) << jump << " points at an empty slot";
                if (target.toInt() != p) ++linkedToOthers;
            }
        }
    }
    EXPECT_GT(linkedToOthers, 0);
}

TEST(DefaultContent, KeyUserAndNormalisationFiles) {
    EXPECT_EQ(FileLines(kFiles.key), QStringList({QStringLiteral("K"), QStringLiteral("AMSN=X10203-3000-00042"),
                                                  QStringLiteral("Model=OX-200"), QStringLiteral("<EOF>")}));
    ExpectCrLfLines(kFiles.key);

    ExpectCrLfLines(kFiles.user);
    EXPECT_EQ(FileLines(kFiles.user).front(), QStringLiteral("U"));
    EXPECT_EQ(FileLines(kFiles.user).back(), QStringLiteral("<EOF>"));

    // The normalisation layout: type letter, "key = number" lines (template
    // lines without blanks), end marker.
    ExpectCrLfLines(kFiles.normalization);
    const QStringList lines = FileLines(kFiles.normalization);
    ASSERT_GE(lines.size(), 27);
    EXPECT_EQ(lines.front(), QStringLiteral("N"));
    EXPECT_EQ(lines.back(), QStringLiteral("<EOF>"));
    EXPECT_EQ(lines[1], QStringLiteral("AccAa = 9.987E-01"));
    EXPECT_TRUE(lines[lines.size() - 2].startsWith(QStringLiteral("EVo5k = ")));
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        ASSERT_EQ(lines[i].count(u'='), 1) << lines[i].toStdString();
        bool numeric = false;
        Value(lines[i]).trimmed().toDouble(&numeric);
        EXPECT_TRUE(numeric) << lines[i].toStdString();
    }
}

}  // namespace
}  // namespace orvix::sim::test
