#include "graphics3d/CallList.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "graphics3d/ColourMaterial.h"
#include "graphics3d/PlainShader.h"

using namespace vardel::graphics3d;

namespace {

// Counts the activations that a replay of the recorded thunks makes.
class CountingShader : public PlainShader {
public:
    void enter() override { ++enters; }
    void leave() override { ++leaves; }
    int enters = 0;
    int leaves = 0;
};

// Replays one recorded member call: an object entry followed by a thunk entry.
void replayMemberCall(const CallList& list, std::uint32_t at)
{
    ASSERT_EQ(list.entries[at].kind, CallList::objectKind);
    ASSERT_EQ(list.entries[at + 1].kind, CallList::thunkKind);
    list.entries[at + 1].value.thunk(list.entries[at].value.object);
}

} // namespace

TEST(CallList, GrowsByItsCountBetweenFourAnd1024Entries)
{
    CallList list;
    std::vector<std::uint32_t> capacities;
    for (std::uint32_t i = 0; i < 3100; ++i) {
        list.appendCall(glFlush);
        if (capacities.empty() || capacities.back() != list.capacity)
            capacities.push_back(list.capacity);
    }
    EXPECT_EQ(capacities, (std::vector<std::uint32_t>{4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048, 3072, 4096}));
    ASSERT_EQ(list.count, 3100u);
    // Growing keeps what was recorded.
    for (std::uint32_t i = 0; i < list.count; ++i)
        ASSERT_EQ(list.entries[i].value.function, reinterpret_cast<CallList::Function>(glFlush)) << i;
}

TEST(CallList, RecordsArgumentsInParameterOrderBeforeTheCall)
{
    CallList list;
    list.appendCall(glAlphaFunc, GL_GREATER, 0.5f);
    ASSERT_EQ(list.count, 3u);
    EXPECT_EQ(list.entries[0].kind, CallList::argumentKind);
    EXPECT_EQ(list.entries[0].value.argument, std::uintptr_t(GL_GREATER));
    EXPECT_EQ(list.entries[1].value.argument, std::bit_cast<std::uint32_t>(0.5f));
    EXPECT_EQ(list.entries[2].kind, CallList::functionKind);
    EXPECT_EQ(list.entries[2].value.function, reinterpret_cast<CallList::Function>(glAlphaFunc));
}

TEST(ColourMaterial, RecordsItsSevenCallsWithEighteenArguments)
{
    ColourMaterial material;
    material.shininess = 12.5f;
    CallList list;
    ASSERT_TRUE(material.record(list));
    ASSERT_EQ(list.count, 25u);

    std::vector<CallList::Function> functions;
    int arguments = 0;
    for (std::uint32_t i = 0; i < list.count; ++i) {
        if (list.entries[i].kind == CallList::functionKind)
            functions.push_back(list.entries[i].value.function);
        else if (list.entries[i].kind == CallList::argumentKind)
            ++arguments;
    }
    EXPECT_EQ(arguments, 18);
    auto function = [](auto f) { return reinterpret_cast<CallList::Function>(f); };
    EXPECT_EQ(functions, (std::vector<CallList::Function>{function(glMaterialfv), function(glMaterialfv),
                                                          function(glMaterialfv), function(glMaterialfv),
                                                          function(glMaterialf), function(glColorMaterial),
                                                          function(glColor4fv)}));

    // The colours are the material's own arrays, so a replay sees later changes.
    EXPECT_EQ(list.entries[0].value.argument, std::uintptr_t(GL_FRONT_AND_BACK));
    EXPECT_EQ(list.entries[1].value.argument, std::uintptr_t(GL_AMBIENT));
    EXPECT_EQ(list.entries[2].value.argument, reinterpret_cast<std::uintptr_t>(material.ambient));
    EXPECT_EQ(list.entries[14].value.argument, reinterpret_cast<std::uintptr_t>(material.emission));
    EXPECT_EQ(list.entries[18].value.argument, std::bit_cast<std::uint32_t>(12.5f));
    EXPECT_EQ(list.entries[23].value.argument, reinterpret_cast<std::uintptr_t>(material.ambient));
}

TEST(Material, PlainMaterialRecordsNothing)
{
    Material material;
    CallList list;
    EXPECT_FALSE(material.record(list));
    EXPECT_EQ(list.count, 0u);
}

TEST(PlainShader, RecordedThunksEnterAndLeaveTheShader)
{
    CountingShader shader;
    CallList list;
    shader.recordEnter(list);
    shader.recordLeave(list);
    ASSERT_EQ(list.count, 4u);
    EXPECT_EQ(list.entries[0].value.object, static_cast<Shader*>(&shader));

    replayMemberCall(list, 0);
    EXPECT_EQ(shader.enters, 1);
    EXPECT_EQ(shader.leaves, 0);
    replayMemberCall(list, 2);
    EXPECT_EQ(shader.leaves, 1);
}
