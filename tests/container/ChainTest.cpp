#include "container/Chain.h"

#include <gtest/gtest.h>

#include <vector>

#include "object/Object.h"

using vardel::container::Chain;
using vardel::container::Chainable;
using vardel::object::Object;

namespace {

struct Member : Object, Chainable<Member> {
    explicit Member(int id, int* destroyed = nullptr) : id(id), destroyed(destroyed) {}
    ~Member() override
    {
        if (destroyed)
            ++*destroyed;
    }
    int id;
    int* destroyed;
};

// A member of two kinds of chain: through its base and through a link of its own.
struct Both : Member, Chainable<Both> {
    using Member::Member;
};

// A member that is not reference-counted: the chain's hold is its life.
struct Record : Chainable<Record> {
    static inline int alive = 0;
    Record() { ++alive; }
    ~Record() { --alive; }
    void retain() {}
    void release() { delete this; }
};

template <typename T>
std::vector<int> ids(Chain<T>& chain)
{
    std::vector<int> result;
    for (auto& member : chain)
        result.push_back(member.id);
    return result;
}

} // namespace

TEST(Chain, HoldsOneReferenceOnEachMember)
{
    Chain<Member> chain;
    Chain<Member> other;
    EXPECT_EQ(chain.className(), "Object:Chain");
    Member a(1);
    Member b(2);

    chain.append(&a);
    EXPECT_EQ(a.refCount, 2);
    EXPECT_EQ(a.chain, &chain);
    other.remove(&a);
    other.remove(&b);
    EXPECT_EQ(a.refCount, 2);
    EXPECT_EQ(b.refCount, 1);
    EXPECT_EQ(chain.count, 1);

    chain.remove(&a);
    EXPECT_EQ(a.refCount, 1);
    EXPECT_EQ(a.chain, nullptr);
    EXPECT_EQ(a.next, nullptr);
    EXPECT_EQ(chain.count, 0);
    EXPECT_EQ(chain.begin(), chain.end());
}

TEST(Chain, KeepsOrderAndCountThroughAppendsRemovalsAndDestruction)
{
    Chain<Member> chain;
    std::vector<Member*> members;
    for (int id = 0; id < 5; ++id) {
        members.push_back(new Member(id));
        chain.append(members.back());
        members.back()->release();
    }
    EXPECT_EQ(ids(chain), (std::vector<int>{0, 1, 2, 3, 4}));

    chain.remove(members[0]);
    EXPECT_EQ(ids(chain), (std::vector<int>{1, 2, 3, 4}));

    // Destroyed by someone else's hold: the neighbours close up around it.
    Member* middle = members[2];
    middle->retain();
    delete middle;
    EXPECT_EQ(chain.count, 3);
    EXPECT_EQ(ids(chain), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(members[1]->next, static_cast<Chainable<Member>*>(members[3]));
    EXPECT_EQ(members[3]->previous, static_cast<Chainable<Member>*>(members[1]));

    delete members[4];
    EXPECT_EQ(ids(chain), (std::vector<int>{1, 3}));
    EXPECT_EQ(chain.endLink.previous, static_cast<Chainable<Member>*>(members[3]));
}

TEST(Chain, ClearReleasesAndDestroysMembersHeldOnlyByTheChain)
{
    int destroyed = 0;
    Member kept(9, &destroyed);
    {
        Chain<Member> chain;
        for (int id = 0; id < 3; ++id) {
            auto* member = new Member(id, &destroyed);
            chain.append(member);
            member->release();
        }
        chain.append(&kept);
        chain.clear();
        EXPECT_EQ(destroyed, 3);
        EXPECT_EQ(chain.count, 0);
        EXPECT_EQ(kept.refCount, 1);
        EXPECT_EQ(kept.chain, nullptr);

        chain.append(&kept);
    }
    EXPECT_EQ(kept.refCount, 1) << "destroying the chain drops its hold";
}

TEST(Chain, AMemberCanBeInTwoKindsOfChain)
{
    Chain<Member> members;
    Chain<Both> boths;
    auto* both = new Both(1);
    Member plain(2);
    members.append(both);
    members.append(&plain);
    boths.append(both);
    EXPECT_EQ(both->refCount, 3);
    EXPECT_EQ(both->Chainable<Member>::chain, &members);
    EXPECT_EQ(both->Chainable<Both>::chain, &boths);
    EXPECT_EQ(&*boths.begin(), both);
    EXPECT_EQ(&*members.begin(), both);

    members.remove(both);
    boths.remove(both);
    both->retain();
    boths.append(both);
    members.append(both);
    delete both;
    EXPECT_EQ(members.count, 1);
    EXPECT_EQ(boths.count, 0);
    EXPECT_EQ(ids(members), (std::vector<int>{2}));
}

TEST(Chain, AMemberTypeDecidesWhatDroppingItsHoldMeans)
{
    Chain<Record> chain;
    for (int i = 0; i < 4; ++i)
        chain.append(new Record);
    EXPECT_EQ(Record::alive, 4);
    chain.remove(&*chain.begin());
    EXPECT_EQ(Record::alive, 3);
    chain.clear();
    EXPECT_EQ(Record::alive, 0);
}
