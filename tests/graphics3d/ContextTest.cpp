#include "graphics3d/Context.h"
#include "system/Mutex.h"
#include "graphics/Image.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "support/GLWindow.h"
#include "support/TestThread.h"

using vardel::test::TestThread;

using namespace vardel::graphics3d;

namespace {

int registered()
{
    return Context::contexts().count;
}

} // namespace

TEST_F(GLTest, LookupCreatesOneContextPerRenderingContext)
{
    int before = registered();
    EXPECT_EQ(Context::current(), context);
    EXPECT_EQ(Context::lookup(), context);
    EXPECT_EQ(Context::get(), context);
    EXPECT_EQ(registered(), before);
    EXPECT_EQ(context->deviceContext, glWindow.dc);
    EXPECT_EQ(context->window, glWindow.window);
    EXPECT_EQ(context->frameBuffer.window, glWindow.window);
    EXPECT_EQ(context->className(), "Object:Context");

    // get() keeps the thread's current Context; only lookup() asks for the rendering context.
    GLWindow other;
    ASSERT_NE(other.context, nullptr);
    EXPECT_EQ(Context::get(), context);
    Context* second = Context::lookup();
    EXPECT_NE(second, context);
    EXPECT_EQ(second->renderingContext, other.context);
    EXPECT_EQ(registered(), before + 1);
    EXPECT_EQ(Context::current(), second);

    ASSERT_TRUE(context->makeCurrent());
    EXPECT_EQ(Context::current(), context);
    EXPECT_EQ(wglGetCurrentContext(), glWindow.context);
    other.deleteContext();
    second->unlink();
    EXPECT_EQ(registered(), before);
}

TEST_F(GLTest, FailedMakeCurrentChangesNothing)
{
    GLWindow other(40, 30);
    ASSERT_NE(other.context, nullptr);
    Context* second = Context::lookup();
    ASSERT_TRUE(context->makeCurrent());
    SetWindowPos(other.window, nullptr, 0, 0, 80, 60, SWP_NOZORDER | SWP_NOMOVE);
    other.deleteContext();

    EXPECT_FALSE(second->makeCurrent());
    EXPECT_EQ(Context::current(), context);
    EXPECT_EQ(wglGetCurrentContext(), glWindow.context);
    EXPECT_EQ(second->frameBuffer.width, 40);
    EXPECT_EQ(second->frameBuffer.height, 30);
    second->unlink();
}

TEST_F(GLTest, MakeCurrentAndSetSizeRecordTheWindowSize)
{
    EXPECT_EQ(context->frameBuffer.width, 64);
    EXPECT_EQ(context->frameBuffer.height, 48);
    context->frameBuffer.setSize(120, 90);
    EXPECT_EQ(context->frameBuffer.width, 120);
    EXPECT_EQ(context->frameBuffer.height, 90);

    SetWindowPos(glWindow.window, nullptr, 0, 0, 100, 70, SWP_NOZORDER | SWP_NOMOVE);
    ASSERT_TRUE(context->makeCurrent());
    EXPECT_EQ(context->frameBuffer.width, 100);
    EXPECT_EQ(context->frameBuffer.height, 70);
}

TEST_F(GLTest, CaptureReadsTheWholeBackBufferTopRowFirst)
{
    // Red over the top 10 rows, blue below, an odd width so that rows are not 4-byte aligned.
    context->frameBuffer.setSize(61, 40);
    glViewport(0, 0, 61, 40);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 30, 61, 10);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    vardel::graphics::Image* image = context->frameBuffer.capture();
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->width(), 61);
    ASSERT_EQ(image->height(), 40);
    EXPECT_EQ(image->format(), vardel::graphics::Image::rgb24);
    const unsigned char* pixels = image->pixels();
    auto pixel = [&](int x, int y) {
        const unsigned char* p = pixels + y * image->bytesPerRow() + x * 3;
        return (p[0] << 16) | (p[1] << 8) | p[2];
    };
    for (int x : {0, 30, 60}) {
        EXPECT_EQ(pixel(x, 0), 0xFF0000) << x;
        EXPECT_EQ(pixel(x, 9), 0xFF0000) << x;
        EXPECT_EQ(pixel(x, 10), 0x0000FF) << x;
        EXPECT_EQ(pixel(x, 39), 0x0000FF) << x;
    }
    image->release();
    // The pack alignment of other readers is left as it was.
    GLint alignment = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
}

TEST_F(GLTest, ThreadsWithTheirOwnRenderingContextsGetTheirOwnContexts)
{
    Context* seen[2] = {};
    Context* currentAfter[2] = {};
    // Mesa's software driver races with itself when two threads create contexts at once, so the
    // windows are made one at a time; the Contexts are then looked up together, and both before
    // either goes away, lest the second take the address the first freed.
    vardel::system::Mutex creation;
    std::atomic<int> arrived{0};
    auto meet = [&](int count) {
        for (++arrived; arrived < count;)
            std::this_thread::yield();
    };
    auto body = [&](int i) {
        std::unique_lock lock(creation);
        GLWindow window;
        lock.unlock();
        meet(2);
        if (window.context) {
            seen[i] = Context::get();
            currentAfter[i] = Context::current();
        }
        meet(4);
        if (!window.context)
            return;
        window.deleteContext();
        seen[i]->unlink();
    };
    TestThread first([&] { body(0); }), second([&] { body(1); });
    first.join();
    second.join();
    ASSERT_NE(seen[0], nullptr);
    ASSERT_NE(seen[1], nullptr);
    EXPECT_NE(seen[0], seen[1]);
    EXPECT_NE(seen[0], context);
    EXPECT_EQ(currentAfter[0], seen[0]);
    EXPECT_EQ(currentAfter[1], seen[1]);
    // This thread's current Context is untouched by theirs.
    EXPECT_EQ(Context::current(), context);
}

TEST_F(GLTest, ProcessWideEntryPointsComeFromTheFirstTableOnly)
{
    EXPECT_TRUE(extensionsLoaded);
    ASSERT_NE(vardel::graphics3d::glActiveTextureARB, nullptr);
    EXPECT_EQ(vardel::graphics3d::glActiveTextureARB, context->extensions.glActiveTextureARB);
    EXPECT_EQ(context->extensions.extensionString, glGetString(GL_EXTENSIONS));
    // Mesa offers no vertex blending: absent entries stay null.
    EXPECT_EQ(context->extensions.glWeightPointerARB, nullptr);

    // A later table must not refresh the pointers, whatever its driver returns.
    auto* const marker = reinterpret_cast<PFNGLBLENDCOLOREXTPROC>(&glFlush);
    PFNGLBLENDCOLOREXTPROC saved = glBlendColorEXT;
    glBlendColorEXT = marker;
    {
        GLWindow other;
        ASSERT_NE(other.context, nullptr);
        Context* second = Context::lookup();
        EXPECT_EQ(second->extensions.glBlendColorEXT, saved);
        EXPECT_EQ(glBlendColorEXT, marker);
        other.deleteContext();
        second->unlink();
    }
    glBlendColorEXT = saved;
}

TEST(Extensions, WithoutARenderingContextEveryEntryIsNull)
{
    TestThread([] {
        ASSERT_EQ(wglGetCurrentContext(), nullptr);
        Extensions table;
        EXPECT_EQ(table.extensionString, nullptr);
        for (int i = 0; i < Extensions::entryCount; ++i)
            EXPECT_EQ(table.entry(i), nullptr) << Extensions::entryName(i);
    }).join();
}

TEST(Extensions, EntriesKeepTheirPositionsInTheTable)
{
    struct Position {
        int index;
        const char* name;
    };
    // The first and last entry of each extension's group.
    const Position positions[] = {
        {0, "glActiveTextureARB"}, {33, "glMultiTexCoord4svARB"}, {34, "glGenQueriesARB"},
        {41, "glGetQueryObjectuivARB"}, {42, "glDeleteObjectARB"}, {80, "glGetShaderSourceARB"},
        {81, "glCompressedTexImage1DARB"}, {87, "glGetCompressedTexImageARB"}, {88, "glLoadTransposeMatrixfARB"},
        {91, "glMultTransposeMatrixdARB"}, {92, "glWeightbvARB"}, {101, "glVertexBlendARB"},
        {102, "glBindBufferARB"}, {112, "glGetBufferPointervARB"}, {113, "glVertexAttrib1sARB"},
        {174, "glIsProgramARB"}, {175, "glBindAttribLocationARB"}, {177, "glGetAttribLocationARB"},
        {178, "glElementPointerATI"}, {180, "glDrawRangeElementArrayATI"}, {181, "glTexBumpParameterivATI"},
        {184, "glGetTexBumpParameterfvATI"}, {185, "glGenFragmentShadersATI"},
        {198, "glSetFragmentShaderConstantATI"}, {199, "glMapObjectBufferATI"}, {200, "glUnmapObjectBufferATI"},
        {201, "glPNTrianglesiATI"}, {202, "glPNTrianglesfATI"}, {203, "glNewObjectBufferATI"},
        {214, "glGetVariantArrayObjectivATI"}, {215, "glVertexAttribArrayObjectATI"},
        {216, "glClientActiveVertexStreamATI"}, {252, "glNormalStream3dvATI"}, {253, "glBlendColorEXT"},
        {263, "glTexImage3DEXT"}, {264, "glGenOcclusionQueriesNV"}, {270, "glGetOcclusionQueryuivNV"},
        {271, "glCombinerParameterfvNV"}, {283, "glGetFinalCombinerInputParameterivNV"},
        {284, "wglCreatePbufferARB"}, {288, "wglQueryPbufferARB"}, {289, "wglBindTexImageARB"},
        {291, "wglSetPbufferAttribARB"},
    };
    for (const Position& position : positions)
        EXPECT_STREQ(Extensions::entryName(position.index), position.name);
}

TEST_F(GLTest, EntriesAreReadByPositionAsByName)
{
    const Extensions& table = context->extensions;
    EXPECT_EQ(table.entry(88), reinterpret_cast<Extensions::Entry>(table.glLoadTransposeMatrixfARB));
    EXPECT_EQ(table.entry(255), reinterpret_cast<Extensions::Entry>(table.glBlendEquationEXT));
    EXPECT_NE(table.entry(102), nullptr);
}
