#include "gui3d/FontMap.h"

#include "freetype/Font.h"

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

GLuint FontMap::upload(freetype::Font& font)
{
    graphics::Image& atlas = font.atlas;
    // The binding is put back afterwards, so that the Context's texture records stay true.
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
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
