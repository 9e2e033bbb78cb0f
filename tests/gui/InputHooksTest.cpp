#include "gui/InputHooks.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "gui/Input.h"
#include "gui/View.h"
#include "gui/Window.h"
#include "GuiTesting.h"

using guitesting::Task;
using vardel::gui::KeyFlags;
using vardel::gui::Modifiers;
using vardel::math::Point;
using vardel::math::Rectangle;

namespace {

// Notes every input hook with the modifiers held at the call, and answers `answer`.
template <typename Base>
class Answering : public Base {
public:
    using Base::Base;
    bool keyDown(std::uint32_t key) override { return note("keyDown " + std::to_string(key)); }
    bool keyUp(std::uint32_t key) override { return note("keyUp " + std::to_string(key)); }
    bool character(std::uint32_t code, std::uint32_t) override { return note("character " + std::to_string(code)); }
    bool mouseMoved(Point, std::uint32_t) override { return note("moved"); }
    bool mouseButton(Point, std::uint32_t button) override { return note("button " + std::to_string(button)); }
    bool mouseEntered(Point, std::uint32_t) override { return note("entered"); }
    bool mouseExited() override { return note("exited"); }
    bool mouseWheel(float, std::uint32_t) override { return note("wheel"); }

    bool note(const std::string& entry)
    {
        log.add(entry + " " + std::to_string(Modifiers::current()));
        return answer;
    }
    guitesting::Log log;
    bool answer = true;
};

using AnsweringView = Answering<vardel::gui::View>;
using AnsweringWindow = Answering<vardel::gui::Window>;

// A window at the screen's top left with one view at (40, 30), 120 x 80.
class InputHooksTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(x.display, nullptr);
        x.movePointer(1000, 1000);
        window = new AnsweringWindow;
        window->setTitle("input hooks");
        window->setSize(Point(240, 160));
        view = new AnsweringView(Rectangle(40, 30, 120, 80));
        window->addView(view);
        view->release();
        ASSERT_TRUE(window->open());
        ASSERT_NE(x.shown("input hooks"), 0u);
        left = int(window->frame.x) + 40;
        top = int(window->frame.y) + 30;
    }

    void TearDown() override { window->release(); }

    // The results of the view's and the window's procedures for one message, answered as given.
    std::pair<LRESULT, LRESULT> results(UINT message, WPARAM wParam, LPARAM lParam, bool answer)
    {
        std::pair<LRESULT, LRESULT> both;
        view->answer = answer;
        window->answer = answer;
        Task::run(*window, [&] {
            both.first = vardel::gui::View::procedure(view->handle, message, wParam, lParam);
            both.second = vardel::gui::Window::procedure(window->handle, message, wParam, lParam);
        });
        return both;
    }

    guitesting::X x;
    AnsweringWindow* window = nullptr;
    AnsweringView* view = nullptr;
    int left = 0;
    int top = 0;
};

} // namespace

TEST_F(InputHooksTest, aViewReportsWhetherItsHookHandledTheInputWhileAWindowReportsZero)
{
    using Results = std::pair<LRESULT, LRESULT>;
    for (UINT message : {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONUP}) {
        SCOPED_TRACE(message);
        EXPECT_EQ(results(message, 'A', 1, true), Results(0, 0));
        EXPECT_EQ(results(message, 'A', 1, false), Results(-1, 0));
    }
    // The wheel reports the hook's answer as 1 or 0 everywhere.
    EXPECT_EQ(results(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0, true), Results(1, 1));
    EXPECT_EQ(results(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0, false), Results(0, 0));
    view->log.take();
    window->log.take();

    // An auto-repeat calls no hook: a view reports it unhandled, a window as done. (The leave
    // notice the moves above asked for may still reach the view.)
    EXPECT_EQ(results(WM_KEYDOWN, 'A', 1 | KeyFlags::repeat, true), Results(-1, 0));
    for (const std::string& entry : view->log.peek()) {
        EXPECT_EQ(entry.rfind("keyDown", 0), std::string::npos) << entry;
    }
    EXPECT_TRUE(window->log.peek().empty());

    // A window has no enter and leave hooks: its leave notice is default processing.
    Task::run(*window, [&] { vardel::gui::Window::procedure(window->handle, WM_MOUSELEAVE, 0, 0); });
    EXPECT_TRUE(window->log.peek().empty());
}

TEST_F(InputHooksTest, systemKeysReachTheKeyHooksAndStillGoOnToDefaultProcessing)
{
    view->log.take();
    window->log.take();
    LRESULT asDefault = 0;
    Task::run(*window, [&] { asDefault = DefWindowProcA(window->handle, WM_SYSKEYDOWN, 'A', 1); });
    EXPECT_EQ(results(WM_SYSKEYDOWN, 'A', 1, false), std::make_pair(asDefault, asDefault));
    results(WM_SYSKEYDOWN, 'A', 1 | KeyFlags::repeat, true);
    results(WM_SYSKEYUP, 'A', 1, true);
    for (auto* log : {&view->log, &window->log}) {
        std::vector<std::string> entries = log->take();
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_EQ(entries[0].rfind("keyDown 65", 0), 0u) << entries[0];
        EXPECT_EQ(entries[1].rfind("keyUp 65", 0), 0u) << entries[1];
    }
}

TEST_F(InputHooksTest, theModifiersHeldAreVisibleInEveryHook)
{
    x.movePointer(left + 5, top + 5);
    ASSERT_TRUE(view->log.waitFor("moved 0"));
    view->log.take();

    // Right-hand keys count as their left-hand twins; a click carries them as well as keys do.
    x.key(XK_Control_R, true);
    x.button(1, true);
    x.button(1, false);
    x.key(XK_Alt_R, true);
    x.key(XK_a, true);
    x.key(XK_a, false);
    x.key(XK_Alt_R, false);
    x.key(XK_Control_R, false);
    x.key(XK_Shift_L, true);
    x.movePointer(left + 6, top + 5);
    x.key(XK_Shift_L, false);
    x.movePointer(left + 7, top + 5);
    ASSERT_TRUE(view->log.waitFor("moved 0"));

    std::uint32_t control = Modifiers::control;
    std::uint32_t controlAlt = Modifiers::control | Modifiers::alt;
    std::vector<std::string> seen;
    for (const std::string& entry : view->log.take()) {
        // Key-downs of the modifiers themselves and their characters are not what this is about.
        if (entry.rfind("keyDown 17", 0) != 0 && entry.rfind("keyDown 18", 0) != 0 &&
            entry.rfind("keyDown 16", 0) != 0 && entry.rfind("keyUp 1", 0) != 0 &&
            entry.rfind("character", 0) != 0) {
            seen.push_back(entry);
        }
    }
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "button " + std::to_string(vardel::gui::ButtonState::leftDown) + " " + std::to_string(control),
                        "button " + std::to_string(vardel::gui::ButtonState::leftUp) + " " + std::to_string(control),
                        "keyDown 65 " + std::to_string(controlAlt), "keyUp 65 " + std::to_string(controlAlt),
                        "moved " + std::to_string(Modifiers::shift), "moved 0"}));
}
