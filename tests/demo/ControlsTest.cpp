#include "demo/Controls.h"

#include <gtest/gtest.h>

#include "platform/Win32.h"
#include "gui/Input.h"

using vardel::demo::Controls;

TEST(Controls, aKeyRunsItsActionOnlyWithExactlyItsModifiers)
{
    Controls controls;
    int plain = 0;
    int withControl = 0;
    ASSERT_TRUE(controls.bind({{'H'}, {VK_F1}}, "help", [&] { ++plain; }));
    ASSERT_TRUE(controls.bind({{'H', Controls::control}}, "other", [&] { ++withControl; }));

    EXPECT_TRUE(controls.press('H', 0));
    EXPECT_TRUE(controls.press(VK_F1, 0));
    EXPECT_TRUE(controls.press('H', Controls::control));
    EXPECT_EQ(plain, 2);
    EXPECT_EQ(withControl, 1);

    EXPECT_FALSE(controls.press('H', Controls::shift));
    EXPECT_FALSE(controls.press('H', Controls::control | Controls::shift));
    EXPECT_FALSE(controls.press('J', 0));
    EXPECT_EQ(plain + withControl, 3);
}

TEST(Controls, aKeyBoundAlreadyOrABindingWithoutKeyOrActionIsRefusedWhole)
{
    Controls controls;
    int first = 0;
    int second = 0;
    ASSERT_TRUE(controls.bind({{'P'}}, "pause", [&] { ++first; }));
    EXPECT_FALSE(controls.bind({{'Q'}, {'P'}}, "quit", [&] { ++second; }));
    EXPECT_FALSE(controls.bind({}, "nothing", [&] { ++second; }));
    EXPECT_FALSE(controls.bind({{'R'}}, "no action", {}));
    EXPECT_FALSE(controls.press('Q', 0)) << "a refused binding binds none of its keys";
    EXPECT_FALSE(controls.press('R', 0));
    controls.press('P', 0);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(controls.helpText(), "P: pause");
}

TEST(Controls, theHelpListsGesturesAndKeysInTheOrderGivenWithTheirNames)
{
    Controls controls;
    controls.describe("Left drag", "turn the camera");
    controls.bind({{'H'}, {VK_F1}}, "show or hide this help", [] {});
    controls.bind({{VK_ESCAPE}, {'S', Controls::control | Controls::shift}}, "leave", [] {});
    controls.bind({{VK_SPACE, Controls::alt}, {'7'}, {VK_F1 + 11}, {0x99}}, "odd keys", [] {});
    EXPECT_EQ(controls.helpText(), "Left drag: turn the camera\n"
                                   "H, F1: show or hide this help\n"
                                   "Esc, Ctrl+Shift+S: leave\n"
                                   "Alt+Space, 7, F12, key 0x99: odd keys");
}

TEST(Controls, aBindingWithAModifierAnswersTheModifiersTheInputReports)
{
    using vardel::gui::Modifiers;
    Controls controls;
    int saved = 0;
    controls.bind({{'S', Controls::control | Controls::shift}}, "save", [&] { ++saved; });
    EXPECT_FALSE(controls.press('S', Modifiers::control));
    EXPECT_TRUE(controls.press('S', Modifiers::control | Modifiers::shift));
    EXPECT_FALSE(controls.press('S', Modifiers::control | Modifiers::shift | Modifiers::alt));
    EXPECT_EQ(saved, 1);
}
