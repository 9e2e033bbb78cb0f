#include "gui3d/FontMap.h"

#include <cmath>

#include "freetype/Font.h"
#include "gui3d/Overlay.h"
#include "gui3d/TextLayout.h"

namespace vardel::gui3d {

FontMap::FontMap(freetype::Font* font) : Texture(upload(*font), GL_TEXTURE_2D), font(font)
{
    font->retain();
}

FontMap::~FontMap()
{
    glDeleteTextures(1, &textureName);
    font->release();
}

void FontMap::draw(Overlay& overlay, const char* text, std::uint32_t length, math::Point origin,
                   const math::Colour4& colour)
{
    overlay.useTexture(this);
    glColor4f(colour.red, colour.green, colour.blue, colour.alpha);
    float left = std::floor(origin.x + 0.5f);
    float top = std::floor(origin.y + 0.5f);
    float perColumn = 1.0f / static_cast<float>(font->atlas.width());
    float perRow = 1.0f / static_cast<float>(font->atlas.height());
    glBegin(GL_QUADS);
    TextLayout(*font).place(text, length, [&](const TextLayout::Glyph& glyph) {
        const freetype::GlyphInfo& info = *glyph.info;
        if (info.width <= 0 || info.rows <= 0) {
            return;
        }
        float x0 = left + glyph.x;
        float y0 = top + glyph.y;
        float x1 = x0 + static_cast<float>(info.width);
        float y1 = y0 + static_cast<float>(info.rows);
        float u0 = static_cast<float>(info.x) * perColumn;
        float v0 = static_cast<float>(info.y) * perRow;
        float u1 = static_cast<float>(info.x + info.width) * perColumn;
        float v1 = static_cast<float>(info.y + info.rows) * perRow;
        glTexCoord2f(u0, v0);
        glVertex2f(x0, y0);
        glTexCoord2f(u0, v1);
        glVertex2f(x0, y1);
        glTexCoord2f(u1, v1);
        glVertex2f(x1, y1);
        glTexCoord2f(u1, v0);
        glVertex2f(x1, y0);
    });
    glEnd();
}

math::Rectangle FontMap::measure(const char* text, std::uint32_t length) const
{
    return TextLayout(*font).measure(text, length);
}

GLuint FontMap::upload(freetype::Font& font)
{
    graphics::Image& atlas = font.atlas;
    // The binding is put back afterwards, so that the Context's texture records stay true.
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    // Atlas rows are bytesPerRow apart, which need not be a multiple of 4.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, atlas.bytesPerRow());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, atlas.width(), atlas.height(), 0, GL_ALPHA, GL_UNSIGNED_BYTE,
                 atlas.lock());
    atlas.unlock();
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    return name;
}

} // namespace vardel::gui3d
