#include "container/Map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

using IntMap = vardel::container::Map<int, int>;

namespace {

// Checks links, key order and the heap order of priorities below a node; returns its size.
int checkSubtree(const IntMap::Node* node, const IntMap::Node* parent)
{
    if (!node)
        return 0;
    EXPECT_EQ(node->parent, parent);
    EXPECT_TRUE(!parent || node->priority <= parent->priority);
    EXPECT_TRUE(!node->left || node->left->key < node->key);
    EXPECT_TRUE(!node->right || node->right->key > node->key);
    return 1 + checkSubtree(node->left, node) + checkSubtree(node->right, node);
}

} // namespace

TEST(Map, KeepsKeyOrderAndHeapOrderWhateverTheInsertionOrder)
{
    std::vector<int> keys(500);
    std::iota(keys.begin(), keys.end(), -250);
    std::shuffle(keys.begin(), keys.end(), std::mt19937(7));
    IntMap map;
    EXPECT_EQ(map.className(), "Object:Map");
    for (int key : keys)
        map.insert(key, key * 2);
    EXPECT_EQ(checkSubtree(map.root, nullptr), 500);
    int expected = -250;
    for (auto& node : map) {
        EXPECT_EQ(node.key, expected);
        EXPECT_EQ(node.value, expected++ * 2);
    }
    EXPECT_EQ(expected, 250);
    EXPECT_EQ(map.find(17)->value, 34);
    EXPECT_EQ(map.find(250), nullptr);

    auto* node = map.find(5);
    EXPECT_EQ(map.insert(5, 55), node);
    EXPECT_EQ(node->value, 55);
    EXPECT_EQ(map.count, 500) << "an existing key is overwritten";
}

TEST(Map, ClearReturnsEveryNodeToThePool)
{
    IntMap map;
    for (int key = 0; key < 100; ++key)
        map.insert(key * 7 % 100, key);
    auto* block = map.pool.lastBlock;
    map.clear();
    EXPECT_EQ(map.root, nullptr);
    EXPECT_EQ(map.count, 0);
    EXPECT_EQ(map.begin(), map.end());
    for (int key = 0; key < 100; ++key)
        map.insert(key, key);
    EXPECT_EQ(map.pool.lastBlock, block) << "the new nodes fit in the slots given back";
}
