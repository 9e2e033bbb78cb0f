#include "container/Chain.h"

#include <gtest/gtest.h>

#include <vector>

#include "object/Object.h"

using vardel::container::Chain;
using vardel::container::Chainable;

namespace {

struct Member : vardel::object::Object, Chainable<Member> {
    static inline int destroyed = 0;
    explicit Member(int id) : id(id) {}
    ~Member() override { ++destroyed; }
    int id;
};

// A member of two kinds of chain: through its base and through a link of its own.
struct Both : Member, Chainable<Both> {
    using Member::Member;
};

// Not reference-counted: the chain's hold is its life.
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
    EXPECT_EQ(chain.begin(), chain.end());
    Member a(1);
    chain.append(&a);
    EXPECT_EQ(a.refCount, 2);
    other.remove(&a);
    EXPECT_EQ(a.refCount, 2) << "removal through another chain changes nothing";
    EXPECT_EQ(chain.count, 1);
    chain.remove(&a);
    EXPECT_EQ(a.refCount, 1);
    EXPECT_EQ(a.chain, nullptr);
    EXPECT_EQ(chain.count, 0);

    auto* held = new Member(2);
    chain.append(held);
    held->release();
    chain.append(&a);
    Member::destroyed = 0;
    chain.clear();
    EXPECT_EQ(Member::destroyed, 1) << "the member held only by the chain is gone";
    EXPECT_EQ(a.refCount, 1);
    chain.append(&a);
}

TEST(Chain, ADestroyedMemberLeavesItsChainsConsistent)
{
    Chain<Member> members;
    Chain<Both> boths;
    std::vector<Member*> all;
    for (int id = 0; id < 4; ++id) {
        all.push_back(new Both(id));
        members.append(all.back());
        all.back()->release();
    }
    auto* both = static_cast<Both*>(all[2]);
    boths.append(both);
    EXPECT_EQ(both->Chainable<Member>::chain, &members);
    EXPECT_EQ(both->Chainable<Both>::chain, &boths);
    EXPECT_EQ(&*boths.begin(), both);

    delete both;
    EXPECT_EQ(members.count, 3);
    EXPECT_EQ(boths.count, 0);
    EXPECT_EQ(boths.begin(), boths.end());
    EXPECT_EQ(ids(members), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(all[3]->previous, static_cast<Chainable<Member>*>(all[1]));
    delete all[3];
    EXPECT_EQ(members.endLink.previous, static_cast<Chainable<Member>*>(all[1]));
}

TEST(Chain, AMemberTypeDecidesWhatDroppingItsHoldMeans)
{
    Chain<Record> chain;
    for (int i = 0; i < 4; ++i)
        chain.append(new Record);
    chain.remove(&*chain.begin());
    EXPECT_EQ(Record::alive, 3);
    chain.clear();
    EXPECT_EQ(Record::alive, 0);
}
