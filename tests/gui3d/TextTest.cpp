#include "gui3d/FontMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "freetype/Font.h"
#include "freetype/FontFactory.h"
#include "graphics3d/Context.h"
#include "graphics3d/Mode.h"
#include "graphics3d/PointLight.h"
#include "graphics3d/Texture.h"
#include "gui/Anchors.h"
#include "gui3d/Label.h"
#include "gui3d/Overlay.h"
#include "gui3d/Root.h"
#include "gui3d/TextLayout.h"

#include "support/FontFiles.h"
#include "support/GLWindow.h"

using vardel::gui3d::FontMap;
using vardel::gui3d::Overlay;
using vardel::gui3d::TextLayout;
using vardel::math::Colour4;
using vardel::math::Point;
// Not "Rectangle": Windows headers declare a function of that name.
using Box = vardel::math::Rectangle;

namespace {

constexpr int width = 240;
constexpr int height = 120;
const Colour4 white{1, 1, 1, 1};

// The pixels that are not the clear colour, and the box around them.
struct Ink {
    int count = 0;
    int left = width;
    int top = height;
    int right = -1;
    int bottom = -1;
    std::vector<int> rows;

    bool inside(const Box& box) const
    {
        return count == 0 || (left >= box.x && top >= box.y && right < box.x + box.width && bottom < box.y + box.height);
    }
};

// A window big enough for a few lines, a root on it and DejaVu Sans at the demo's size.
class TextTest : public GLTest {
protected:
    TextTest() : GLTest(width, height) {}

    void SetUp() override
    {
        GLTest::SetUp();
        vardel::freetype::FontFactory factory;
        factory.scan(dejavuFolder.c_str());
        vardel::freetype::Descriptor wanted;
        wanted.family = "DejaVu Sans";
        wanted.width = 14;
        wanted.height = 14;
        font = factory.createFont(wanted);
        ASSERT_NE(font, nullptr);
        ASSERT_EQ(font->descriptor.family, "DejaVu Sans");
        root = new vardel::gui3d::Root(context);
        map = root->guiContext.fontCache.mapFor(font);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override
    {
        if (root) {
            root->release();
        }
        if (font) {
            font->release();
        }
        GLTest::TearDown();
    }

    void draw(const char* text, Point origin, const Colour4& colour = white)
    {
        Overlay overlay(*context);
        map->draw(overlay, text, static_cast<std::uint32_t>(std::strlen(text)), origin, colour);
    }

    Box measure(const char* text) { return map->measure(text, static_cast<std::uint32_t>(std::strlen(text))); }

    // Reads the window back, top row first.
    Ink ink()
    {
        std::vector<unsigned char> pixels(width * height * 4);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        Ink found;
        found.rows.assign(height, 0);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const unsigned char* pixel = &pixels[((height - 1 - y) * width + x) * 4];
                if (pixel[0] || pixel[1] || pixel[2]) {
                    ++found.count;
                    ++found.rows[y];
                    found.left = std::min(found.left, x);
                    found.right = std::max(found.right, x);
                    found.top = std::min(found.top, y);
                    found.bottom = std::max(found.bottom, y);
                }
            }
        }
        return found;
    }

    vardel::freetype::Font* font = nullptr;
    vardel::gui3d::Root* root = nullptr;
    FontMap* map = nullptr;
};

Box moved(Box box, Point by)
{
    return Box(box.x + by.x, box.y + by.y, box.width, box.height);
}

} // namespace

TEST_F(TextTest, textIsDrawnInItsColourInsideTheBoxItMeasuresAndFillsIt)
{
    const char* text = "Jumpy fox, 50 fps";
    Point origin(20, 30);
    Box box = moved(measure(text), origin);
    draw(text, origin, Colour4{0, 1, 0, 1});
    Ink drawn = ink();
    ASSERT_GT(drawn.count, 100);
    EXPECT_TRUE(drawn.inside(box)) << drawn.left << "," << drawn.top << " to " << drawn.right << "," << drawn.bottom;
    // The box is no wider than the glyphs' pixels and advances need, nor taller than the line.
    EXPECT_LE(box.x + box.width - drawn.right, 3.0f);
    EXPECT_LE(drawn.left - box.x, 2.0f);
    EXPECT_NEAR(box.height, font->ascent + font->descent, 1.0f);

    std::vector<unsigned char> pixels(width * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int pureGreen = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        EXPECT_EQ(pixels[i], 0);
        EXPECT_EQ(pixels[i + 2], 0);
        pureGreen += pixels[i + 1] == 255;
    }
    EXPECT_GT(pureGreen, 8) << "fully covered pixels stay whole: the atlas is sampled at its texel centres";
}

TEST_F(TextTest, aNewlineStartsTheNextLineOneLineHeightDown)
{
    Box one = measure("Hx");
    Box two = measure("Hx\nHx");
    EXPECT_FLOAT_EQ(two.width, one.width);
    EXPECT_FLOAT_EQ(two.height, one.height + font->lineHeight);
    EXPECT_GT(font->lineHeight, 14.0f);
    EXPECT_LT(font->lineHeight, 20.0f);

    draw("H\nH", Point(10, 5));
    Ink drawn = ink();
    // Two letters of equal height, one above the other, with the gap between them empty.
    int firstTop = drawn.top;
    int firstBottom = firstTop;
    while (drawn.rows[firstBottom + 1] > 0) {
        ++firstBottom;
    }
    int secondTop = firstBottom + 1;
    while (secondTop < height && drawn.rows[secondTop] == 0) {
        ++secondTop;
    }
    EXPECT_EQ(secondTop - firstTop, static_cast<int>(font->lineHeight));
    EXPECT_EQ(drawn.bottom - secondTop, firstBottom - firstTop);
}

TEST_F(TextTest, charactersBeyondTheAtlasAndBrokenBytesShowTheMissingGlyphBoxAndNothingElse)
{
    // Two bytes of UTF-8 reach the upper half of the atlas.
    Box accented = measure("\xC3\xA9");
    EXPECT_FLOAT_EQ(accented.width, font->glyphs[0xE9].advance.x);

    const vardel::freetype::GlyphInfo& box = font->missing;
    ASSERT_GT(box.width, 0) << "DejaVu Sans shows its box for control characters";
    // A character beyond the atlas is one box, whatever the length of its bytes; a byte that
    // makes no character is one box of its own.
    for (const char* text : {"\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xFF", "\xC3", "\x80"}) {
        EXPECT_FLOAT_EQ(measure(text).width, std::max(box.advance.x, box.bearing.x + box.width)) << text;
    }
    EXPECT_FLOAT_EQ(measure("\xE2\x82").width, measure("\xFF\xFF").width) << "a cut character is two broken bytes";

    draw("\xF0\x9F\x98\x80", Point(30, 20));
    Ink drawn = ink();
    EXPECT_EQ(drawn.right - drawn.left + 1, box.width);
    EXPECT_EQ(drawn.bottom - drawn.top + 1, box.rows);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextTest, anOverlayLeavesOpenGLAndTheContextsRecordsAsItFoundThem)
{
    // A 3D frame's state, entered through the records as the cloth's frame enters it.
    vardel::graphics3d::Mode depth;
    depth.depthFunction = GL_LESS;
    depth.depthWrite = true;
    context->modes.set(&depth);
    vardel::graphics3d::PointLight light;
    context->lights.set(0, &light);
    GLuint name = 0;
    glGenTextures(1, &name);
    vardel::graphics3d::Texture texture(name, GL_TEXTURE_2D);
    context->textures.set(0, &texture);
    context->matrices.setMode(GL_MODELVIEW);
    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    glViewport(4, 4, 32, 32);
    const GLfloat lookAt[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, -400, 1};
    glLoadMatrixf(lookAt);
    glColor4f(0.25f, 0.5f, 0.75f, 1);

    auto* label = new vardel::gui3d::Label(font, vardel::gui::anchorLeft | vardel::gui::anchorTop);
    label->setText("state");
    label->background = Colour4{0.2f, 0.2f, 0.2f, 0.5f};
    root->addView(label);
    label->release();
    root->draw();

    EXPECT_EQ(context->modes.current, &depth);
    EXPECT_EQ(context->lights.slots[0], &light);
    EXPECT_EQ(context->textures.bound[0], &texture);
    EXPECT_EQ(context->textures.bound[1], nullptr);
    EXPECT_EQ(context->matrices.mode, static_cast<GLenum>(GL_MODELVIEW));

    GLint value = 0;
    glGetIntegerv(GL_MATRIX_MODE, &value);
    EXPECT_EQ(value, GL_MODELVIEW);
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LESS);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(static_cast<GLuint>(value), name);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 4);
    EXPECT_EQ(viewport[2], 32);
    GLfloat matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    EXPECT_EQ(std::memcmp(matrix, lookAt, sizeof matrix), 0);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[1], 0.5f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    // The label was drawn all the same: in the top-left corner, on its background.
    glViewport(0, 0, width, height);
    Ink drawn = ink();
    EXPECT_GT(drawn.count, 100);
    EXPECT_TRUE(drawn.inside(label->frame));
    EXPECT_EQ(drawn.left, static_cast<int>(label->margin));
    EXPECT_EQ(drawn.top, static_cast<int>(label->margin));

    glDeleteTextures(1, &name);
}

TEST_F(TextTest, labelsKeepToTheirCornersAndHiddenOnesAreNotDrawn)
{
    auto* label = new vardel::gui3d::Label(font, vardel::gui::anchorRight | vardel::gui::anchorBottom);
    label->setText("H: help\nsecond line");
    root->addView(label);
    label->release();
    Point origin;
    Box frame = label->place(Point(width, height), origin);
    EXPECT_FLOAT_EQ(frame.x + frame.width, width - label->margin);
    EXPECT_FLOAT_EQ(frame.y + frame.height, height - label->margin);

    label->visible = false;
    root->draw();
    EXPECT_EQ(ink().count, 0);

    label->visible = true;
    root->draw();
    Ink drawn = ink();
    EXPECT_GT(drawn.count, 100);
    EXPECT_TRUE(drawn.inside(frame));
    EXPECT_GE(drawn.bottom, frame.y + frame.height - font->descent - 2) << "the second line reaches the bottom";
}

TEST_F(TextTest, aFewHundredCharactersMeasureWithoutARenderingContext)
{
    std::string text;
    for (int line = 0; line < 8; ++line) {
        text += "Left drag: turn and tilt the camera (" + std::to_string(line) + ")\n";
    }
    TextLayout layout(*font);
    Box box = layout.measure(text.c_str(), static_cast<std::uint32_t>(text.size()));
    EXPECT_GT(box.width, 200.0f);
    EXPECT_FLOAT_EQ(box.height, 8 * font->lineHeight - font->lineHeight + font->ascent + font->descent);
}
