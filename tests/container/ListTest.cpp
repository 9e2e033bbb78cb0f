#include "container/List.h"

#include <gtest/gtest.h>

#include <vector>

using vardel::container::List;

namespace {

std::vector<int> values(const List<int>& list)
{
    std::vector<int> result;
    for (int value : list)
        result.push_back(value);
    return result;
}

} // namespace

TEST(List, AppendsInOrderBehindTheEndItem)
{
    List<int> list;
    EXPECT_EQ(list.className(), "Object:List");
    EXPECT_EQ(list.first, &list.endItem);
    EXPECT_EQ(list.last(), nullptr);

    auto* a = list.append();
    a->value = 1;
    EXPECT_EQ(list.first, a);
    EXPECT_EQ(list.last(), a);
    EXPECT_EQ(a->previous, nullptr);
    EXPECT_EQ(a->next, &list.endItem);
    list.append()->value = 2;
    list.append()->value = 3;
    EXPECT_EQ(list.count, 3);
    EXPECT_EQ(values(list), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.last()->previous->previous, a);
    EXPECT_EQ(list.endItem.next, nullptr);
}

TEST(List, ClearedListIsEmptyAndReusesItsItems)
{
    List<int> list;
    auto* a = list.append();
    auto* b = list.append();
    list.clear();
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.first, &list.endItem);
    EXPECT_EQ(list.endItem.previous, nullptr);
    EXPECT_TRUE(values(list).empty());

    // Items went back to the pool: the last one returned is handed out first.
    auto* c = list.append();
    auto* d = list.append();
    EXPECT_EQ(c, b);
    EXPECT_EQ(d, a);
    c->value = 7;
    d->value = 8;
    EXPECT_EQ(values(list), (std::vector<int>{7, 8}));
}

TEST(List, GrowsPastOneBlockOfItems)
{
    List<int> list;
    for (int i = 0; i < 1000; ++i)
        list.append()->value = i;
    EXPECT_EQ(list.count, 1000);
    int expected = 0;
    for (int value : list)
        EXPECT_EQ(value, expected++);
    EXPECT_EQ(expected, 1000);
}
