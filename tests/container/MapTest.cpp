#include "container/Map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

using vardel::container::Map;
using IntMap = Map<int, int>;

namespace {

// Checks the links, the key order and the heap order of the priorities below a node; returns the
// number of nodes.
int checkSubtree(const IntMap::Node* node, const IntMap::Node* parent)
{
    if (!node)
        return 0;
    EXPECT_EQ(node->parent, parent);
    EXPECT_GE(node->priority, 0);
    EXPECT_LE(node->priority, 0x7FFF);
    if (parent) {
        EXPECT_LE(node->priority, parent->priority);
    }
    if (node->left) {
        EXPECT_LT(node->left->key, node->key);
    }
    if (node->right) {
        EXPECT_GT(node->right->key, node->key);
    }
    return 1 + checkSubtree(node->left, node) + checkSubtree(node->right, node);
}

} // namespace

TEST(Map, IteratesInKeyOrderAndKeepsTheHeapWhateverTheInsertionOrder)
{
    std::vector<int> keys(500);
    std::iota(keys.begin(), keys.end(), -250);
    std::shuffle(keys.begin(), keys.end(), std::mt19937(7));

    IntMap map;
    EXPECT_EQ(map.className(), "Object:Map");
    for (int key : keys)
        map.insert(key, key * 2);
    EXPECT_EQ(map.count, 500);
    EXPECT_EQ(checkSubtree(map.root, nullptr), 500);

    int expected = -250;
    for (auto& node : map) {
        EXPECT_EQ(node.key, expected);
        EXPECT_EQ(node.value, expected * 2);
        ++expected;
    }
    EXPECT_EQ(expected, 250);

    ASSERT_NE(map.find(-250), nullptr);
    EXPECT_EQ(map.find(17)->value, 34);
    EXPECT_EQ(map.find(250), nullptr);
}

TEST(Map, SortedInsertionStaysShallow)
{
    IntMap map;
    for (int key = 0; key < 4096; ++key)
        map.insert(key, 0);
    std::vector<int> depths;
    for (auto& node : map) {
        int depth = 0;
        for (auto* up = &node; up->parent; up = up->parent)
            ++depth;
        depths.push_back(depth);
    }
    EXPECT_LT(*std::max_element(depths.begin(), depths.end()), 60) << "the priorities do not balance the tree";
}

TEST(Map, InsertingAnExistingKeyOverwritesItsValue)
{
    IntMap map;
    auto* node = map.insert(5, 50);
    map.insert(3, 30);
    EXPECT_EQ(map.insert(5, 55), node);
    EXPECT_EQ(map.count, 2);
    EXPECT_EQ(map.find(5)->value, 55);
}

TEST(Map, PrioritiesFollowTheGenerator)
{
    IntMap map;
    std::uint32_t seed = map.seed;
    map.insert(1, 1);
    seed = seed * 214013u + 2531011u;
    EXPECT_EQ(map.root->priority, static_cast<int>((seed >> 16) & 0x7FFF));
    EXPECT_EQ(map.seed, seed);
}

TEST(Map, ClearReturnsEveryNodeToThePool)
{
    IntMap map;
    std::vector<IntMap::Node*> nodes;
    for (int key = 0; key < 100; ++key)
        nodes.push_back(map.insert(key * 7 % 100, key));
    map.clear();
    EXPECT_EQ(map.root, nullptr);
    EXPECT_EQ(map.count, 0);
    EXPECT_EQ(map.begin(), map.end());

    // A hundred new nodes fit in the slots given back; none comes from a new block.
    auto* block = map.pool.lastBlock;
    for (int key = 0; key < 100; ++key) {
        auto* node = map.insert(key, key);
        EXPECT_NE(std::find(nodes.begin(), nodes.end(), node), nodes.end());
    }
    EXPECT_EQ(map.pool.lastBlock, block);
}
