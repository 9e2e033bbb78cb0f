#pragma once

#include "platform/OpenGL.h"
#include "platform/Win32.h"

// A hidden window of the calling thread with a double-buffered RGBA pixel format (depth and
// stencil) and a rendering context made current on creation. It has no frame, so that Windows
// neither shrinks its client area nor widens it to a captioned window's least size.
class GLWindow {
public:
    GLWindow(int width = 64, int height = 48);
    ~GLWindow();
    GLWindow(const GLWindow&) = delete;
    GLWindow& operator=(const GLWindow&) = delete;

    bool makeCurrent();
    // Deletes the rendering context now (unbinding it first when current).
    void deleteContext();

    HWND window;
    HDC dc;
    HGLRC context;
};

#include <gtest/gtest.h>

namespace vardel::graphics3d {
class Context;
}

// Each test draws with a rendering context and a Context of its own, so that no recorded state
// carries over; the Context leaves the registry with its rendering context.
class GLTest : public ::testing::Test {
protected:
    explicit GLTest(int width = 64, int height = 48) : glWindow(width, height) {}
    void SetUp() override;
    void TearDown() override;

    GLWindow glWindow;
    vardel::graphics3d::Context* context = nullptr;
};
