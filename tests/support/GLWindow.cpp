#include "support/GLWindow.h"

#include "graphics3d/Context.h"

namespace {

const char* const className = "vardel::test::glwindow";

void registerClass()
{
    // Once, by whichever thread makes the first window.
    [[maybe_unused]] static const ATOM registered = [] {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = className;
        return RegisterClassExA(&windowClass);
    }();
}

} // namespace

GLWindow::GLWindow(int width, int height) : window(nullptr), dc(nullptr), context(nullptr)
{
    registerClass();
    window = CreateWindowExA(0, className, "gl", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    if (!window)
        return;
    dc = GetDC(window);
    PIXELFORMATDESCRIPTOR request = {};
    request.nSize = sizeof(request);
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = 24;
    request.cAlphaBits = 8;
    request.cDepthBits = 24;
    request.cStencilBits = 8;
    request.iLayerType = PFD_MAIN_PLANE;
    int format = ChoosePixelFormat(dc, &request);
    if (!format || !SetPixelFormat(dc, format, &request))
        return;
    context = wglCreateContext(dc);
    makeCurrent();
}

GLWindow::~GLWindow()
{
    deleteContext();
    if (window)
        DestroyWindow(window);
}

bool GLWindow::makeCurrent()
{
    return wglMakeCurrent(dc, context);
}

void GLWindow::deleteContext()
{
    if (!context)
        return;
    if (wglGetCurrentContext() == context)
        wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
    context = nullptr;
}

void GLTest::SetUp()
{
    ASSERT_NE(glWindow.context, nullptr) << "no OpenGL context";
    context = vardel::graphics3d::Context::lookup();
    ASSERT_EQ(context->renderingContext, glWindow.context);
}

void GLTest::TearDown()
{
    glWindow.deleteContext();
    if (context)
        context->unlink();
}
