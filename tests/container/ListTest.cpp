#include "container/List.h"

#include <gtest/gtest.h>

#include <vector>

using vardel::container::List;

TEST(List, AppendsBeforeTheEndItemAndReusesClearedItems)
{
    List<int> list;
    EXPECT_EQ(list.className(), "Object:List");
    EXPECT_EQ(list.first, &list.endItem);
    auto* a = list.append();
    auto* b = list.append();
    a->value = 1;
    b->value = 2;
    list.append()->value = 3;
    EXPECT_EQ(list.count, 3);
    EXPECT_EQ(a->previous, nullptr);
    EXPECT_EQ(list.last()->previous, b);
    EXPECT_EQ(list.last()->next, &list.endItem);
    std::vector<int> values;
    for (int value : list)
        values.push_back(value);
    EXPECT_EQ(values, (std::vector<int>{1, 2, 3}));

    list.clear();
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.first, &list.endItem);
    EXPECT_EQ(list.last(), nullptr);
    EXPECT_EQ(list.begin(), list.end());
    list.append();
    EXPECT_EQ(list.append(), b) << "cleared items go back to the pool";
}
