#include "gui3d/Root.h"

#include <gtest/gtest.h>

#include "freetype/FontFactory.h"
#include "freetype/Font.h"
#include "graphics3d/Context.h"
#include "gui/Anchors.h"
#include "gui/Input.h"
#include "gui/OpenGL.h"
#include "gui/Window.h"
#include "GuiTesting.h"

using guitesting::Task;
using vardel::gui::ButtonState;
using vardel::math::Point;
using vardel::math::Rectangle;

namespace {

std::string point(Point p)
{
    return std::to_string(int(p.x)) + "," + std::to_string(int(p.y));
}

class NotingGL : public vardel::gui::OpenGL {
public:
    using OpenGL::OpenGL;
    bool mouseButton(Point p, std::uint32_t button) override
    {
        log.add("view button " + point(p) + " " + std::to_string(button));
        return true;
    }
    bool resized(Point size) override
    {
        log.add("view resized");
        return OpenGL::resized(size);
    }
    bool keyDown(std::uint32_t key) override
    {
        log.add("view keyDown " + std::to_string(key));
        return true;
    }
    guitesting::Log log;
};

class NotingRoot : public vardel::gui3d::Root {
public:
    NotingRoot(vardel::graphics3d::Context* context, guitesting::Log& log) : Root(context), log(log) {}
    bool mouseMoved(Point p, std::uint32_t buttons) override
    {
        log.add("root moved " + point(p));
        return Root::mouseMoved(p, buttons);
    }
    bool mouseButton(Point p, std::uint32_t button) override
    {
        log.add("root button " + point(p) + " " + std::to_string(button));
        return Root::mouseButton(p, button);
    }
    bool mouseEntered(Point p, std::uint32_t buttons) override
    {
        log.add("root entered");
        return Root::mouseEntered(p, buttons);
    }
    bool mouseExited() override
    {
        log.add("root exited");
        return Root::mouseExited();
    }
    guitesting::Log& log;
};

// A 3D view that notes its hooks; consumes what `consumes` says.
class Widget : public vardel::gui3d::View {
public:
    Widget(const Rectangle& frame, guitesting::Log& log, const char* name) : View(frame), log(log), name(name) {}
    bool keyDown(std::uint32_t key) override { return note("keyDown " + std::to_string(key)); }
    bool mouseMoved(Point p, std::uint32_t) override { return note("moved " + point(p)); }
    bool mouseButton(Point p, std::uint32_t) override { return note("button " + point(p)); }
    bool mouseEntered(Point p, std::uint32_t) override { return note("entered " + point(p)); }
    bool mouseExited() override { return note("exited"); }
    bool resized(Point size) override { return note("resized " + point(size)); }
    bool removed() override { return note("removed"); }
    bool note(const std::string& entry)
    {
        log.add(name + " " + entry);
        return consumes;
    }
    guitesting::Log& log;
    std::string name;
    bool consumes = true;
};

class RootTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(x.display, nullptr);
        x.movePointer(1000, 1000);
        window = new vardel::gui::Window;
        window->setTitle("root");
        window->setSize(Point(200, 150));
        view = new NotingGL(Rectangle(0, 0, 200, 150));
        view->anchors = vardel::gui::anchorLeft | vardel::gui::anchorRight | vardel::gui::anchorTop |
                        vardel::gui::anchorBottom;
        window->addView(view);
        view->release();
        ASSERT_TRUE(window->open());
        ASSERT_NE(x.shown("root"), 0u);
        Task::run(*window, [&] { root = new NotingRoot(view->renderContext, log); });
        left = int(window->frame.x);
        top = int(window->frame.y);
        view->log.take();
    }

    void TearDown() override
    {
        Task::run(*window, [&] {
            if (root) {
                root->release();
            }
        });
        window->release();
    }

    guitesting::X x;
    guitesting::Log log;
    vardel::gui::Window* window = nullptr;
    NotingGL* view = nullptr;
    NotingRoot* root = nullptr;
    int left = 0;
    int top = 0;
};

} // namespace

TEST_F(RootTest, inputPassesThroughUntilEnabledThenReachesTheRoot)
{
    x.movePointer(left + 10, top + 20);
    x.button(1, true);
    x.button(1, false);
    ASSERT_TRUE(view->log.waitFor("view button 10,20 " + std::to_string(ButtonState::leftUp)));
    EXPECT_EQ(view->log.take(), (std::vector<std::string>{"view button 10,20 4096", "view button 10,20 65536"}));
    EXPECT_TRUE(log.peek().empty());

    Task::run(*window, [&] { root->enableInput(); });
    x.movePointer(left + 30, top + 40);
    x.button(3, true);
    ASSERT_TRUE(log.waitFor("root button 30,40 " + std::to_string(ButtonState::rightDown)));
    x.button(3, false);
    x.movePointer(left + 300, top + 40);
    ASSERT_TRUE(log.waitFor("root exited"));
    EXPECT_EQ(log.take(), (std::vector<std::string>{"root entered", "root moved 30,40", "root button 30,40 16384",
                                                    "root button 30,40 262144", "root exited"}));
    EXPECT_TRUE(view->log.peek().empty());
}

TEST_F(RootTest, sizeChangesReachTheRootAndStillTheView)
{
    Task::run(*window, [&] {
        EXPECT_EQ(root->size.x, 200);
        EXPECT_EQ(root->size.y, 150);
        EXPECT_EQ(root->guiContext.width, 200);
        EXPECT_EQ(root->guiContext.renderContext, view->renderContext);
        auto* widget = new Widget(Rectangle(150, 100, 40, 40), log, "corner");
        widget->anchors = vardel::gui::anchorRight | vardel::gui::anchorBottom;
        EXPECT_TRUE(root->addView(widget));
        EXPECT_FALSE(root->addView(widget));
        widget->release();
    });
    XResizeWindow(x.display, x.shown("root"), 260, 170);
    XSync(x.display, False);
    ASSERT_TRUE(log.waitFor("corner resized 40,40"));
    ASSERT_TRUE(view->log.waitFor("view resized"));
    Task::run(*window, [&] {
        EXPECT_EQ(root->size.x, 260);
        EXPECT_EQ(root->size.y, 170);
        EXPECT_EQ(root->previousSize.x, 260);
        Widget& widget = static_cast<Widget&>(*root->views.begin());
        EXPECT_EQ(widget.frame.x, 210);
        EXPECT_EQ(widget.frame.y, 120);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], 260);
        root->resized(root->size);
    });
    EXPECT_EQ(log.take(), std::vector<std::string>{"corner resized 40,40"});
}

TEST_F(RootTest, hitTestIncludesTheEdgesAndTracksHover)
{
    Task::run(*window, [&] {
        auto* a = new Widget(Rectangle(10, 10, 50, 40), log, "a");
        auto* b = new Widget(Rectangle(100, 10, 20, 20), log, "b");
        a->localTransform = vardel::graphics::Transform<float>(2, 0, 0, 0, 2, 0);
        a->setFrame();
        root->addView(a);
        root->addView(b);
        a->release();
        b->release();
        log.take();

        EXPECT_TRUE(root->mouseButton(Point(60, 50), ButtonState::leftDown));
        EXPECT_FALSE(root->mouseButton(Point(60.5f, 50), ButtonState::leftDown));
        EXPECT_TRUE(root->mouseMoved(Point(30, 20), 0));
        EXPECT_TRUE(root->mouseMoved(Point(110, 20), 0));
        b->acceptsInput = false;
        EXPECT_FALSE(root->mouseMoved(Point(110, 20), 0));
        EXPECT_EQ(root->hoverView, nullptr);
        a->consumes = false;
        EXPECT_FALSE(root->mouseButton(Point(20, 20), ButtonState::leftUp));
        EXPECT_FALSE(root->mouseWheel(120, 0));
    });
    std::vector<std::string> widgets;
    for (const std::string& entry : log.take()) {
        if (entry.rfind("root", 0) != 0) {
            widgets.push_back(entry);
        }
    }
    EXPECT_EQ(widgets, (std::vector<std::string>{"a button 25,20", "a entered 30,20", "a moved 10,5",
                                                    "a exited", "b entered 110,20", "b moved 10,10", "b exited",
                                                    "a button 5,5"}));
}

TEST_F(RootTest, theRootReportsZeroForRepeatsAndUntakenInputAndHandsKeysToTheFocusView)
{
    Task::run(*window, [&] {
        using vardel::gui3d::Root;
        root->enableInput();
        auto* a = new Widget(Rectangle(10, 10, 50, 40), log, "a");
        auto* plain = new vardel::gui3d::View(Rectangle(100, 10, 20, 20));
        root->addView(a);
        root->addView(plain);
        a->release();
        plain->release();
        a->consumes = false;
        log.take();

        // A plain 3D view takes nothing, so a root over it alone finds no taker.
        EXPECT_FALSE(root->mouseButton(Point(110, 20), ButtonState::leftDown));
        EXPECT_EQ(Root::procedure(root->handle, WM_LBUTTONDOWN, 0, MAKELPARAM(20, 20)), 0);
        EXPECT_EQ(Root::procedure(root->handle, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0), 0);
        root->focusView = a;
        EXPECT_EQ(Root::procedure(root->handle, WM_KEYDOWN, 'K', 1), 0);
        EXPECT_EQ(Root::procedure(root->handle, WM_KEYDOWN, 'K', 1 | vardel::gui::KeyFlags::repeat), 0);
        // A system key reaches the focus view once, not the view under the root as well.
        LRESULT asDefault = DefWindowProcA(root->handle, WM_SYSKEYDOWN, 'S', 1);
        EXPECT_EQ(Root::procedure(root->handle, WM_SYSKEYDOWN, 'S', 1), asDefault);
        root->focusView = nullptr;
    });
    EXPECT_TRUE(view->log.take().empty());
    std::vector<std::string> widgets;
    for (const std::string& entry : log.take()) {
        if (entry.rfind("a ", 0) == 0 && entry.find("entered") == std::string::npos &&
            entry.find("moved") == std::string::npos && entry.find("exited") == std::string::npos) {
            widgets.push_back(entry);
        }
    }
    EXPECT_EQ(widgets, (std::vector<std::string>{"a button 10,10", "a keyDown 75", "a keyDown 83"}));
}

TEST_F(RootTest, destroyingTheRootRestoresTheProcedureAndLetsViewsGo)
{
    Task::run(*window, [&] {
        auto* widget = new Widget(Rectangle(0, 0, 10, 10), log, "w");
        root->addView(widget);
        EXPECT_EQ(GetWindowLongPtrA(view->handle, GWLP_WNDPROC),
                  reinterpret_cast<LONG_PTR>(vardel::gui3d::Root::procedure));
        root->release();
        root = nullptr;
        EXPECT_EQ(GetWindowLongPtrA(view->handle, GWLP_WNDPROC),
                  reinterpret_cast<LONG_PTR>(vardel::gui::OpenGL::procedure));
        EXPECT_EQ(widget->root, nullptr);
        EXPECT_EQ(widget->messenger, nullptr);
        EXPECT_EQ(widget->refCount.load(), 1);
        widget->release();
    });
    EXPECT_EQ(log.take(), std::vector<std::string>{"w removed"});
    x.movePointer(left + 10, top + 20);
    x.button(1, true);
    x.button(1, false);
    EXPECT_TRUE(view->log.waitFor("view button 10,20 65536"));
}

TEST_F(RootTest, fontMapsHoldTheAtlasAsATextureUntilTheRootGoes)
{
    vardel::freetype::FontFactory factory;
    factory.scan("/usr/share/fonts/truetype/dejavu");
    vardel::freetype::Descriptor wanted;
    wanted.family = "DejaVu Sans";
    wanted.width = 24;
    wanted.height = 24;
    vardel::freetype::Font* font = factory.createFont(wanted);
    ASSERT_NE(font, nullptr);
    GLuint texture = 0;
    Task::run(*window, [&] {
        vardel::gui3d::FontCache& cache = root->guiContext.fontCache;
        vardel::gui3d::FontMap* map = cache.mapFor(font);
        EXPECT_EQ(cache.mapFor(font), map);
        EXPECT_EQ(cache.maps.count, 1);
        EXPECT_EQ(map->font, font);
        texture = map->textureName;
        ASSERT_TRUE(glIsTexture(texture));
        GLint width = 0;
        GLint bound = -1;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glBindTexture(GL_TEXTURE_2D, 0);
        EXPECT_EQ(width, font->atlas.width());
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        EXPECT_EQ(font->refCount.load(), 2);

        root->release();
        root = nullptr;
        EXPECT_FALSE(glIsTexture(texture));
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(bound, 0);
    });
    EXPECT_EQ(font->refCount.load(), 1);
    font->release();
}
