#include "gui/View.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "gui/Input.h"
#include "gui/Window.h"
#include "GuiTesting.h"

using guitesting::Task;
using guitesting::waitUntil;
using vardel::gui::ButtonState;
using vardel::math::Point;
using vardel::math::Rectangle;

namespace {

std::string point(Point p)
{
    return std::to_string(int(p.x)) + "," + std::to_string(int(p.y));
}

// A view that notes every input hook with its arguments.
class InputView : public vardel::gui::View {
public:
    using View::View;
    bool keyDown(std::uint32_t key) override { return note("keyDown " + std::to_string(key)); }
    bool keyUp(std::uint32_t key) override { return note("keyUp " + std::to_string(key)); }
    bool character(std::uint32_t code, std::uint32_t modifiers) override
    {
        return note("character " + std::string(1, char(code)) + " " + std::to_string(modifiers));
    }
    bool mouseMoved(Point p, std::uint32_t buttons) override
    {
        return note("moved " + point(p) + " " + std::to_string(buttons));
    }
    bool mouseButton(Point p, std::uint32_t button) override
    {
        return note("button " + point(p) + " " + std::to_string(button));
    }
    bool mouseEntered(Point p, std::uint32_t) override { return note("entered " + point(p)); }
    bool mouseExited() override { return note("exited"); }
    bool mouseWheel(float delta, std::uint32_t) override { return note("wheel " + std::to_string(int(delta))); }

    bool note(const std::string& entry)
    {
        log.add(entry);
        return true;
    }
    guitesting::Log log;
};

// A window at the screen's top left with one view at (40, 30), 120 x 80, its top-left corner
// at screen point (left, top).
class ViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(x.display, nullptr);
        x.movePointer(1000, 1000);
        window = new vardel::gui::Window;
        window->setTitle("views");
        window->setSize(Point(240, 160));
        view = new InputView(Rectangle(40, 30, 120, 80));
        window->addView(view);
        view->release();
        ASSERT_TRUE(window->open());
        ASSERT_NE(x.shown("views"), 0u);
        left = int(window->frame.x) + 40;
        top = int(window->frame.y) + 30;
    }

    void TearDown() override { window->release(); }

    guitesting::X x;
    vardel::gui::Window* window = nullptr;
    InputView* view = nullptr;
    int left = 0;
    int top = 0;
};

} // namespace

TEST_F(ViewTest, childWindowSitsAtTheFrameAndMovesWithIt)
{
    Task::run(*window, [&] {
        EXPECT_EQ(view->bounds.x, 0);
        EXPECT_EQ(view->bounds.width, 120);
        EXPECT_EQ(view->globalTransform.tx, 40);
        EXPECT_EQ(view->globalTransform.ty, 30);
        RECT placed;
        GetWindowRect(view->handle, &placed);
        EXPECT_EQ(placed.left, left);
        EXPECT_EQ(placed.top, top);
        EXPECT_EQ(placed.right - placed.left, 120);

        view->frame = Rectangle(10, 12, 60, 50);
        view->setFrame();
        GetWindowRect(view->handle, &placed);
        EXPECT_EQ(placed.left, int(window->frame.x) + 10);
        EXPECT_EQ(placed.bottom - placed.top, 50);
        EXPECT_EQ(view->globalTransform.tx, 10);
        EXPECT_EQ(view->bounds.height, 50);
    });
}

TEST_F(ViewTest, mouseEntersMovesPressesAndLeavesOnce)
{
    x.movePointer(left + 5, top + 6);
    ASSERT_TRUE(view->log.waitFor("moved 5,6 " + std::to_string(ButtonState::leftUp | ButtonState::middleUp |
                                                                  ButtonState::rightUp)));
    EXPECT_EQ(view->log.take(), (std::vector<std::string>{"entered 5,6", "moved 5,6 458752"}));

    x.movePointer(left + 7, top + 8);
    x.button(1, true);
    ASSERT_TRUE(view->log.waitFor("button 7,8 " + std::to_string(ButtonState::leftDown)));
    x.movePointer(left + 9, top + 8);
    std::string dragged = "moved 9,8 " + std::to_string(ButtonState::leftDown | ButtonState::middleUp |
                                                         ButtonState::rightUp);
    ASSERT_TRUE(view->log.waitFor(dragged));
    x.button(1, false);
    ASSERT_TRUE(view->log.waitFor("button 9,8 " + std::to_string(ButtonState::leftUp)));
    x.button(3, true);
    x.button(3, false);
    ASSERT_TRUE(view->log.waitFor("button 9,8 " + std::to_string(ButtonState::rightUp)));
    x.button(4, true);
    x.button(4, false);
    ASSERT_TRUE(view->log.waitFor("wheel 120"));
    EXPECT_EQ(view->log.take(),
              (std::vector<std::string>{"moved 7,8 458752", "button 7,8 4096", dragged, "button 9,8 65536",
                                        "button 9,8 16384", "button 9,8 262144", "wheel 120"}));

    x.movePointer(left - 20, top + 8);
    ASSERT_TRUE(view->log.waitFor("exited"));
    x.movePointer(left - 21, top + 8);
    x.movePointer(left + 2, top + 2);
    ASSERT_TRUE(view->log.waitFor("moved 2,2 458752"));
    EXPECT_EQ(view->log.take(), (std::vector<std::string>{"exited", "entered 2,2", "moved 2,2 458752"}));
}

TEST_F(ViewTest, keysReachTheViewWithoutRepeatsAndCharactersCarryModifiers)
{
    x.movePointer(left + 5, top + 5);
    ASSERT_TRUE(view->log.waitFor("moved 5,5 458752"));
    view->log.take();
    x.key(XK_Shift_L, true);
    x.key(XK_b, true);
    x.key(XK_b, false);
    x.key(XK_Shift_L, false);
    ASSERT_TRUE(view->log.waitFor("keyUp 16"));
    EXPECT_EQ(view->log.take(), (std::vector<std::string>{"keyDown 16", "keyDown 66", "character B 1", "keyUp 66",
                                                          "keyUp 16"}));

    Task::run(*window, [&] {
        EXPECT_EQ(vardel::gui::View::procedure(view->handle, WM_KEYDOWN, 'B', 1 | (1 << 30)), -1);
        EXPECT_EQ(vardel::gui::View::procedure(view->handle, WM_KEYDOWN, 'B', 1), 0);
    });
    EXPECT_EQ(view->log.take(), std::vector<std::string>{"keyDown 66"});
}

TEST_F(ViewTest, invalidateNeedsAWindowAndAnOpenView)
{
    InputView outside(Rectangle(0, 0, 10, 10));
    EXPECT_FALSE(outside.invalidate());
    EXPECT_TRUE(view->invalidate());
    std::thread other([&] { EXPECT_TRUE(view->invalidate()); });
    other.join();
    ASSERT_TRUE(window->close());
    EXPECT_FALSE(view->invalidate());
    EXPECT_EQ(view->handle.load(), nullptr);
}
