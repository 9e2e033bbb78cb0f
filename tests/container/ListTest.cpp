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

TEST(List, RemovesItemsFromAnyPlaceAndKeepsTheRestLinked)
{
    List<int> list;
    List<int>::Item* items[4];
    for (int i = 0; i < 4; ++i) {
        items[i] = list.append();
        items[i]->value = i;
    }
    auto values = [&list] {
        std::vector<int> seen;
        for (int value : list)
            seen.push_back(value);
        return seen;
    };
    EXPECT_EQ(list.remove(items[1]), items[2]);
    EXPECT_EQ(items[2]->previous, items[0]);
    EXPECT_EQ(list.remove(items[0]), items[2]);
    EXPECT_EQ(list.first, items[2]);
    EXPECT_EQ(items[2]->previous, nullptr);
    EXPECT_EQ(list.remove(items[3]), &list.endItem);
    EXPECT_EQ(list.last(), items[2]);
    EXPECT_EQ(values(), (std::vector<int>{2}));
    list.remove(items[2]);
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.last(), nullptr);
    EXPECT_EQ(list.begin(), list.end());
    list.append()->value = 7;
    EXPECT_EQ(values(), (std::vector<int>{7}));
}
