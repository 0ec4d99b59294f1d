#include "common/CappedLineList.h"

#include <gtest/gtest.h>

namespace orvix {
namespace {

TEST(CappedLineList, The502ndLineStartsAFreshListWithTheMarker) {
    CappedLineList list;
    for (int i = 0; i < CappedLineList::kMaxLines; ++i) list.add(QString::number(i));
    ASSERT_EQ(list.lines().size(), 501);
    EXPECT_EQ(list.lines().back(), QStringLiteral("500"));

    list.add(QStringLiteral("new"));
    EXPECT_EQ(list.lines(), QStringList({QStringLiteral("--- List Box Cleared ---"), QStringLiteral("new")}));
}

TEST(CappedLineList, TellsItsObserverAboutEveryChange) {
    CappedLineList list;
    int changes = 0;
    list.setOnChanged([&] { ++changes; });
    list.add(QStringLiteral("a"));
    list.clear();
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(list.lines().isEmpty());
}

}  // namespace
}  // namespace orvix
