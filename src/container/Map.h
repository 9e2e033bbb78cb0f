#pragma once

#include "container/Allocator.h"
#include "object/Object.h"
#include "types/String.h"

#include <cstdint>
#include <memory>
#include <new>

namespace vardel::container {

// An ordered map kept as a treap: a search tree by key that is also a heap by a pseudo-random
// priority, which keeps it balanced on average whatever the order of insertion.
template <typename K, typename V>
class Map : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Map)

    // One entry of the map, a node of the tree.
    struct Node {
        // The value stored under key.
        V value;
        // The key the tree is ordered by.
        K key;
        // The heap priority: no child has a higher one.
        std::int32_t priority;
        // The subtree of smaller keys, or null.
        Node* left;
        // The subtree of greater keys, or null.
        Node* right;
        // The node above, or null for the root.
        Node* parent;
    };

    // Visits the nodes in increasing key order.
    class Iterator {
    public:
        // An iterator standing at node.
        explicit Iterator(Node* node) : node(node) {}
        // The node at the iterator.
        Node& operator*() const { return *node; }
        // The node at the iterator.
        Node* operator->() const { return node; }
        // Moves to the node of the next greater key, or to the end.
        Iterator& operator++()
        {
            node = successor(node);
            return *this;
        }
        // Whether both stand at the same node.
        bool operator==(const Iterator& other) const { return node == other.node; }

    private:
        Node* node;
    };

    // Any start value gives a correct map; only the shape of the tree depends on it.
    Map() : root(nullptr), count(0), seed(1) {}
    ~Map() override { clear(); }

    Map(const Map&) = delete;
    Map& operator=(const Map&) = delete;

    // Lookup
    // The node holding key, or null.
    Node* find(const K& key) const
    {
        Node* node = root;
        while (node && !(node->key == key))
            node = node->key < key ? node->right : node->left;
        return node;
    }

    // Modification
    // Assigns the value of an existing key, otherwise adds a node for it.
    Node* insert(const K& key, const V& value)
    {
        Node* parent = nullptr;
        Node** link = &root;
        while (*link) {
            parent = *link;
            if (parent->key == key) {
                parent->value = value;
                return parent;
            }
            link = key < parent->key ? &parent->left : &parent->right;
        }
        Node* node = new (pool.allocate()) Node{value, key, nextPriority(), nullptr, nullptr, parent};
        *link = node;
        while (node->parent && node->parent->priority < node->priority)
            rotateUp(node);
        ++count;
        return node;
    }

    // Returns every node to the pool, children before parents.
    void clear()
    {
        Node* node = root;
        while (node) {
            if (node->left) {
                node = node->left;
            } else if (node->right) {
                node = node->right;
            } else {
                Node* parent = node->parent;
                if (parent)
                    (parent->left == node ? parent->left : parent->right) = nullptr;
                std::destroy_at(node);
                pool.free(node);
                node = parent;
            }
        }
        root = nullptr;
        count = 0;
    }

    // Iteration
    // An iterator at the node of the smallest key.
    Iterator begin() const
    {
        Node* node = root;
        while (node && node->left)
            node = node->left;
        return Iterator(node);
    }
    // The iterator past the greatest key.
    Iterator end() const { return Iterator(nullptr); }

    // The leftmost node of the right subtree, or else the first ancestor reached from a left child.
    static Node* successor(Node* node)
    {
        if (node->right) {
            node = node->right;
            while (node->left)
                node = node->left;
            return node;
        }
        while (node->parent && node->parent->right == node)
            node = node->parent;
        return node->parent;
    }

    // The top of the tree, or null while the map is empty.
    Node* root;
    // How many entries the map holds.
    std::int32_t count;
    // The state of the pseudo-random priorities.
    std::uint32_t seed;
    // Where the nodes come from and go back to.
    Allocator<Node> pool;

private:
    std::int32_t nextPriority()
    {
        seed = seed * 214013u + 2531011u;
        return static_cast<std::int32_t>((seed >> 16) & 0x7FFF);
    }

    // Lifts a node above its parent, keeping the key order.
    void rotateUp(Node* node)
    {
        Node* parent = node->parent;
        Node* grandparent = parent->parent;
        if (parent->left == node) {
            parent->left = node->right;
            if (node->right)
                node->right->parent = parent;
            node->right = parent;
        } else {
            parent->right = node->left;
            if (node->left)
                node->left->parent = parent;
            node->left = parent;
        }
        parent->parent = node;
        node->parent = grandparent;
        if (!grandparent)
            root = node;
        else if (grandparent->left == parent)
            grandparent->left = node;
        else
            grandparent->right = node;
    }
};

} // namespace vardel::container
