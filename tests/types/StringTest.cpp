#include "types/String.h"

#include <gtest/gtest.h>

#include <string>

using vardel::types::String;

namespace {

String ofLength(std::uint32_t n)
{
    return String(std::string(n, 'x').c_str());
}

} // namespace

TEST(String, emptyStringsHoldNoBuffer)
{
    String made;
    String fromEmpty("");
    String copied(fromEmpty);
    for (const String* s : {&made, &fromEmpty, &copied}) {
        EXPECT_EQ(s->data, nullptr);
        EXPECT_EQ(s->capacity, 0u);
        EXPECT_EQ(s->length, 0u);
        EXPECT_STREQ(s->chars(), "");
    }
    String sum = made + fromEmpty;
    EXPECT_EQ(sum.data, nullptr);
    EXPECT_EQ((made + "").data, nullptr);

    String shrunk("abc");
    shrunk = "";
    EXPECT_EQ(shrunk.data, nullptr);
    EXPECT_EQ(shrunk.capacity, 0u);
}

TEST(String, capacityRule)
{
    const std::pair<std::uint32_t, std::uint32_t> expected[] = {
        {1, 64}, {63, 64}, {64, 80}, {79, 80}, {80, 96}, {100, 112}, {127, 128},
        {128, 160}, {1000, 1024}, {1024, 1280}, {0x10000000, 0x14000000},
        {0x20000000, 0x24000000}};
    for (auto [length, capacity] : expected) {
        EXPECT_EQ(String::capacityFor(length), capacity) << length;
    }
    EXPECT_EQ(String::capacityFor(0), 0u);
    EXPECT_EQ(ofLength(63).capacity, 64u);
    EXPECT_EQ(ofLength(64).capacity, 80u);
    EXPECT_EQ(ofLength(80).capacity, 96u);
}

TEST(String, assignmentReusesTheBufferWhenTheTextFits)
{
    String s("short");
    const char* buffer = s.data;
    s = "ten chars!";
    EXPECT_EQ(s.data, buffer);
    EXPECT_EQ(s.capacity, 64u);
    EXPECT_STREQ(s.chars(), "ten chars!");

    s = ofLength(64);
    EXPECT_EQ(s.capacity, 80u);
    EXPECT_EQ(s.length, 64u);
    EXPECT_EQ(s.data[64], 0);

    String other("copy me");
    s = other;
    EXPECT_EQ(s, other);
    EXPECT_NE(s.data, other.data);
    s = s;
    EXPECT_EQ(s, "copy me");
}

TEST(String, appendGrowsInPlaceOrByTheRule)
{
    String s;
    s += "";
    EXPECT_EQ(s.data, nullptr);
    s += "abc";
    EXPECT_EQ(s, "abc");
    EXPECT_EQ(s.capacity, 64u);
    const char* buffer = s.data;
    s += "";
    EXPECT_EQ(s.data, buffer);
    s += std::string(60, 'y').c_str();
    EXPECT_EQ(s.length, 63u);
    EXPECT_EQ(s.data, buffer);
    s += "z";
    EXPECT_EQ(s.length, 64u);
    EXPECT_EQ(s.capacity, 80u);
    EXPECT_EQ(std::string(s.chars()), "abc" + std::string(60, 'y') + "z");

    // Appending a string to itself reads the old text before the buffer is replaced.
    String twice(std::string(40, 'q').c_str());
    twice += twice.chars();
    EXPECT_EQ(std::string(twice.chars()), std::string(80, 'q'));
}

TEST(String, concatenationAndComparison)
{
    String a("Object");
    String path = a + ":" + String("Handler");
    EXPECT_EQ(path, "Object:Handler");
    EXPECT_EQ(path.capacity, 64u);
    EXPECT_EQ(a, "Object");
    EXPECT_FALSE(a == String("Objec"));
    EXPECT_FALSE(a == String("Objecu"));
    EXPECT_TRUE(String() == String(""));
    EXPECT_EQ((ofLength(70) + ofLength(30)).capacity, 112u);
}

TEST(String, lowerCaseLeavesTheSourceAlone)
{
    String mixed("DejaVu Sans BOLD 24");
    String lower = mixed.toLowerCase();
    EXPECT_EQ(lower, "dejavu sans bold 24");
    EXPECT_EQ(mixed, "DejaVu Sans BOLD 24");
    EXPECT_EQ(String().toLowerCase().data, nullptr);
    EXPECT_EQ(mixed.getName(), mixed);
    EXPECT_EQ(mixed.toString(), mixed);
}
