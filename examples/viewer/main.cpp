// Shows a lit triangle mesh read from a small text file (see MeshFile.h) in a window, with an
// orbit camera: left drag turns and tilts, right drag or the wheel moves closer or away.
//
//   viewer [FILE.mesh]      (shape.mesh beside the program when no file is named)
//
// What to copy for your own program:
// - a gui::Window subclass whose closeRequested() ends the application;
// - a gui::OpenGL view (a native child window with a rendering context) that makes its
//   rendering objects in open(), draws them in draw() and lets them go in close(), all on the
//   window's thread; its gui3d::Root turns input into a camera;
// - reading a file through io::File and its stream, with one-line errors for bad input.

#include <cstdio>
#include <string>

#include "object/Release.h"
#include "application/Application.h"
#include "gui/Anchors.h"
#include "gui/Window.h"
#include "MeshFile.h"
#include "ViewerView.h"

using namespace vardel;

namespace {

class ViewerWindow : public gui::Window {
public:
    ViewerWindow()
    {
        setTitle("Vardel viewer");
        setSize(math::Point(640.0f, 480.0f));
        minimumSize = math::Point(200.0f, 150.0f);
    }

    // Closed here, while the overrides the window thread may call are still this class's.
    ~ViewerWindow() override { close(); }

    bool closeRequested() override
    {
        application::Application::quit();
        return true;
    }
};

class ViewerApplication : public application::Application {
public:
    explicit ViewerApplication(const MeshFile& mesh) : mesh(mesh) {}

    bool ready() override
    {
        window = new ViewerWindow;
        view = new ViewerView(math::Rectangle(0.0f, 0.0f, 640.0f, 480.0f), mesh);
        view->anchors = gui::anchorLeft | gui::anchorRight | gui::anchorTop | gui::anchorBottom;
        window->addView(view);
        if (!window->open()) {
            return fail("cannot open a window: no display answers");
        }
        view->opened.wait();
        if (view->failed) {
            return fail("cannot draw: no OpenGL pixel format or buffers");
        }
        return true;
    }

    bool quitting() override
    {
        window->close();
        object::releaseAndClear(window);
        object::releaseAndClear(view);
        return true;
    }

private:
    bool fail(const char* why)
    {
        std::fprintf(stderr, "viewer: %s\n", why);
        if (window) {
            window->close();
        }
        object::releaseAndClear(window);
        object::releaseAndClear(view);
        return false;
    }

    const MeshFile& mesh;
    ViewerWindow* window = nullptr;
    ViewerView* view = nullptr;
};

// shape.mesh in the folder of the program.
std::string besideProgram(const char* program, const char* name)
{
    std::string path = program;
    std::string::size_type slash = path.find_last_of("/\\");
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + name;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2) {
        std::fprintf(stderr, "usage: viewer [FILE.mesh]\n");
        return 2;
    }
    std::string path = argc == 2 ? argv[1] : besideProgram(argv[0], "shape.mesh");
    MeshFile mesh;
    std::string error;
    if (!mesh.load(path.c_str(), error)) {
        std::fprintf(stderr, "viewer: %s\n", error.c_str());
        return 1;
    }
    auto* application = new ViewerApplication(mesh);
    int status = application->run() ? 0 : 1;
    application->release();
    return status;
}
