#include "gui/Window.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "gui/Anchors.h"
#include "GuiTesting.h"

using guitesting::Task;
using guitesting::waitUntil;
using vardel::math::Point;
using vardel::math::Rectangle;

namespace {

// A view that notes each size it is told.
class SizedView : public vardel::gui::View {
public:
    using View::View;
    bool resized(Point size) override
    {
        sizes.add(std::to_string(int(size.x)) + "x" + std::to_string(int(size.y)));
        return true;
    }
    guitesting::Log sizes;
};

} // namespace

TEST(WindowTest, opensOneNativeWindowAndCloseEndsItsThread)
{
    guitesting::X x;
    ASSERT_NE(x.display, nullptr);
    auto* window = new vardel::gui::Window;
    window->setTitle("open once");
    window->setSize(Point(200, 150));
    ASSERT_TRUE(window->open());
    EXPECT_TRUE(window->isRunning());
    EXPECT_EQ(window->frame.width, 200);
    EXPECT_EQ(window->frame.height, 150);
    HWND first = window->handle;
    int threadsOpen = guitesting::settledThreads();
    EXPECT_NE(x.shown("open once"), 0u);

    EXPECT_FALSE(window->open());
    EXPECT_EQ(window->handle, first);
    XSync(x.display, False);
    EXPECT_EQ(x.topLevels("open once").size(), 1u);

    ASSERT_TRUE(window->close());
    EXPECT_FALSE(window->isOpen);
    EXPECT_FALSE(window->isRunning());
    EXPECT_EQ(window->thread.load(), nullptr);
    EXPECT_EQ(window->handle, nullptr);
    EXPECT_TRUE(guitesting::threadsBackTo(threadsOpen - 1));
    EXPECT_TRUE(waitUntil([&] { return x.topLevels("open once").empty(); }));
    EXPECT_FALSE(window->close());

    // Reopened, it is a new native window on a new thread.
    ASSERT_TRUE(window->open());
    EXPECT_NE(x.shown("open once"), 0u);
    window->release();
    EXPECT_TRUE(guitesting::threadsBackTo(threadsOpen - 1));
    EXPECT_TRUE(waitUntil([&] { return x.topLevels("open once").empty(); }));
}

TEST(WindowTest, closeBoxOfAPlainWindowClosesItAndItOpensAgain)
{
    guitesting::X x;
    auto* window = new vardel::gui::Window;
    window->setTitle("close box");
    window->setSize(Point(120, 100));
    ASSERT_TRUE(window->open());
    ::Window native = x.shown("close box");
    ASSERT_NE(native, 0u);

    x.closeBox(native);
    ASSERT_TRUE(waitUntil([&] { return !window->isOpen; }));
    EXPECT_TRUE(waitUntil([&] { return !window->isRunning(); }));
    EXPECT_TRUE(waitUntil([&] { return x.topLevels("close box").empty(); }));
    EXPECT_FALSE(window->close());

    ASSERT_TRUE(window->open());
    EXPECT_NE(x.shown("close box"), 0u);
    window->release();
}

TEST(WindowTest, anchoredViewsFollowTheUsersResize)
{
    guitesting::X x;
    auto* window = new vardel::gui::Window;
    window->setTitle("anchors");
    window->setSize(Point(400, 300));
    auto* stretched = new SizedView(Rectangle(10, 20, 370, 250));
    stretched->anchors = vardel::gui::anchorLeft | vardel::gui::anchorRight | vardel::gui::anchorTop |
                         vardel::gui::anchorBottom;
    auto* fixed = new SizedView(Rectangle(5, 5, 30, 30));
    auto* corner = new SizedView(Rectangle(350, 260, 20, 20));
    corner->anchors = vardel::gui::anchorRight | vardel::gui::anchorBottom;
    for (SizedView* view : {stretched, fixed, corner}) {
        ASSERT_TRUE(window->addView(view));
        view->release();
    }
    ASSERT_TRUE(window->open());
    ::Window native = x.shown("anchors");
    ASSERT_NE(native, 0u);
    stretched->sizes.take();

    XResizeWindow(x.display, native, 500, 360);
    XSync(x.display, False);
    ASSERT_TRUE(stretched->sizes.waitFor("470x310"));
    Task::run(*window, [&] {
        EXPECT_EQ(window->frame.width, 500);
        EXPECT_EQ(window->frame.height, 360);
        // Right and bottom margins stay 20 and 30.
        EXPECT_EQ(stretched->frame.x, 10);
        EXPECT_EQ(stretched->frame.y, 20);
        EXPECT_EQ(stretched->frame.width, 470);
        EXPECT_EQ(stretched->frame.height, 310);
        EXPECT_EQ(stretched->bounds.width, 470);
        RECT placed;
        GetWindowRect(stretched->handle, &placed);
        EXPECT_EQ(placed.right - placed.left, 470);
        EXPECT_EQ(placed.bottom - placed.top, 310);
        EXPECT_EQ(fixed->frame.x, 5);
        EXPECT_EQ(fixed->frame.width, 30);
        EXPECT_EQ(corner->frame.x, 450);
        EXPECT_EQ(corner->frame.y, 320);
        EXPECT_EQ(corner->frame.width, 20);

        // Told the size it has already, nothing moves.
        window->resized(window->frame.size());
        EXPECT_EQ(stretched->frame.width, 470);
        EXPECT_EQ(corner->frame.x, 450);

        // Sized by the program while open: the size changes, the place does not.
        Rectangle before = window->frame;
        window->setSize(Point(300, 200));
        EXPECT_EQ(window->frame.x, before.x);
        EXPECT_EQ(window->frame.y, before.y);
        RECT outer;
        GetWindowRect(window->handle, &outer);
        EXPECT_EQ(outer.right - outer.left, 300);
        EXPECT_EQ(outer.left, static_cast<LONG>(before.x));
        EXPECT_EQ(stretched->frame.width, 270);
    });
    window->release();
}

TEST(WindowTest, closedWindowLaysOutAtOnceAndViewsComeAndGo)
{
    vardel::gui::Window window;
    window.setSize(Point(100, 100));
    auto* view = new SizedView(Rectangle(0, 0, 100, 100));
    view->anchors = vardel::gui::anchorLeft | vardel::gui::anchorRight;
    ASSERT_TRUE(window.addView(view));
    EXPECT_FALSE(window.addView(view));
    window.setSize(Point(150, 120));
    EXPECT_EQ(view->frame.width, 150);
    EXPECT_EQ(view->frame.height, 100);
    EXPECT_EQ(view->sizes.take(), std::vector<std::string>{"150x100"});

    vardel::gui::Window other;
    EXPECT_FALSE(other.removeView(view));
    EXPECT_FALSE(other.addView(view));
    view->retain();
    ASSERT_TRUE(window.removeView(view));
    EXPECT_EQ(view->window, nullptr);
    EXPECT_EQ(view->messenger, nullptr);
    EXPECT_EQ(view->refCount.load(), 2);
    EXPECT_TRUE(other.addView(view));
    view->release();
    view->release();
}

namespace {

// A window that notes its own hooks.
class NotingWindow : public vardel::gui::Window {
public:
    bool keyDown(std::uint32_t key) override { return note("window keyDown " + std::to_string(key)); }
    bool keyUp(std::uint32_t key) override { return note("window keyUp " + std::to_string(key)); }
    bool character(std::uint32_t code, std::uint32_t) override
    {
        return note("window character " + std::string(1, char(code)));
    }
    bool mouseButton(Point p, std::uint32_t button) override
    {
        return note("window button " + std::to_string(int(p.x)) + "," + std::to_string(int(p.y)) + " " +
                    std::to_string(button));
    }
    bool paint(vardel::gui::Context& context, const Rectangle&) override
    {
        return note(context.handle == handle && context.deviceContext == deviceContext ? "window paint"
                                                                                        : "paint elsewhere");
    }
    bool note(const std::string& entry)
    {
        log.add(entry);
        return true;
    }
    guitesting::Log log;
};

class FocusView : public SizedView {
public:
    FocusView(const Rectangle& frame, guitesting::Log& log) : SizedView(frame), log(log) {}
    bool keyDown(std::uint32_t key) override { return note("focus keyDown " + std::to_string(key)); }
    bool mouseWheel(float delta, std::uint32_t) override { return note("focus wheel " + std::to_string(int(delta))); }
    bool focusLost() override { return note("focus lost"); }
    bool paint(vardel::gui::Context&, const Rectangle& area) override
    {
        return note("focus paint " + std::to_string(int(area.width)));
    }
    bool note(const std::string& entry)
    {
        log.add(entry);
        return true;
    }
    guitesting::Log& log;
};

} // namespace

TEST(WindowInputTest, theWindowHearsWhatNoViewCoversAndTheFocusViewTakesKeys)
{
    guitesting::X x;
    x.movePointer(1000, 1000);
    auto* window = new NotingWindow;
    window->setTitle("window input");
    window->setSize(Point(200, 100));
    window->minimumSize = Point(150, 80);
    auto* view = new FocusView(Rectangle(100, 0, 100, 100), window->log);
    window->addView(view);
    view->release();
    ASSERT_TRUE(window->open());
    ASSERT_NE(x.shown("window input"), 0u);
    ASSERT_TRUE(window->log.waitFor("window paint"));
    int left = int(window->frame.x);
    int top = int(window->frame.y);

    x.movePointer(left + 10, top + 20);
    x.button(2, true);
    x.button(2, false);
    x.key(XK_c, true);
    x.key(XK_c, false);
    ASSERT_TRUE(window->log.waitFor("window keyUp 67"));
    // Paints come whenever the server exposes something; the window's own paint has its context.
    auto withoutPaints = [&] {
        std::vector<std::string> seen;
        for (const std::string& entry : window->log.take()) {
            EXPECT_NE(entry, "paint elsewhere");
            if (entry != "window paint" && entry != "focus paint 101") {
                seen.push_back(entry);
            }
        }
        return seen;
    };
    EXPECT_EQ(withoutPaints(), (std::vector<std::string>{"window button 10,20 8192", "window button 10,20 131072",
                                              "window keyDown 67", "window character c", "window keyUp 67"}));

    Task::run(*window, [&] {
        using vardel::gui::Window;
        // Keys and the wheel go to the focus view once there is one; repeats go nowhere.
        window->focusView = view;
        EXPECT_EQ(Window::procedure(window->handle, WM_KEYDOWN, 'D', 1), 0);
        EXPECT_EQ(Window::procedure(window->handle, WM_KEYDOWN, 'D', 1 | (1 << 30)), 0);
        EXPECT_EQ(Window::procedure(window->handle, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0), 1);

        // Limits are the window's sizes once the procedure knows the window.
        MINMAXINFO limits{};
        EXPECT_EQ(Window::procedure(window->handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits)), 0);
        EXPECT_EQ(limits.ptMinTrackSize.x, 150);
        EXPECT_EQ(limits.ptMaxTrackSize.y, 4096);
        // Asked before WM_CREATE (a window with no object yet), it leaves the limits alone.
        MINMAXINFO untouched{};
        EXPECT_EQ(Window::procedure(view->handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&untouched)), 1);
        EXPECT_EQ(untouched.ptMinTrackSize.x, 0);

        // Views paint and resize through the window's messages too.
        auto* paint = new vardel::application::Message(Window::paintView, window);
        paint->addParameter("view", view);
        vardel::application::Messenger::post(paint);
    });
    Task::run(*window, [&] { EXPECT_TRUE(window->removeView(view)); });
    EXPECT_EQ(withoutPaints(), (std::vector<std::string>{"focus keyDown 68", "focus wheel -120", "focus paint 100",
                                                            "focus lost"}));
    EXPECT_EQ(window->focusView, nullptr);
    window->close();
    window->release();
}
