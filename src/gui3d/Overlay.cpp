#include "gui3d/Overlay.h"

#include <algorithm>

#include "graphics3d/Context.h"
#include "graphics3d/Extensions.h"
#include "graphics3d/Texture.h"

namespace vardel::gui3d {

namespace {

// Everything the overlay changes: the attribute stack gives it back whole at the end.
constexpr GLbitfield changedState = GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT |
                                    GL_VIEWPORT_BIT | GL_TEXTURE_BIT | GL_TRANSFORM_BIT | GL_CURRENT_BIT |
                                    GL_POLYGON_BIT;

} // namespace

Overlay::Overlay(graphics3d::Context& context)
    : context(context), width(context.frameBuffer.width), height(context.frameBuffer.height),
      foundMode(context.modes.current), foundMatrixMode(context.matrices.mode), enabledTarget(0)
{
    std::copy(context.textures.bound, context.textures.bound + graphics3d::TextureStack::unitCount, foundTextures);
    std::copy(context.textures.targets, context.textures.targets + graphics3d::TextureStack::unitCount, foundTargets);
    glPushAttrib(changedState);
    mode.blendSource = GL_SRC_ALPHA;
    mode.blendDestination = GL_ONE_MINUS_SRC_ALPHA;
    context.modes.set(&mode);
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glViewport(0, 0, width, height);
    context.matrices.setMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    context.matrices.setMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

Overlay::~Overlay()
{
    context.matrices.setMode(GL_MODELVIEW);
    glPopMatrix();
    context.matrices.setMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
    // OpenGL is as it was found; so are the records now, without sending anything again.
    context.modes.current = foundMode;
    context.matrices.mode = foundMatrixMode;
    std::copy(foundTextures, foundTextures + graphics3d::TextureStack::unitCount, context.textures.bound);
    std::copy(foundTargets, foundTargets + graphics3d::TextureStack::unitCount, context.textures.targets);
}

void Overlay::useTexture(graphics3d::Texture* texture)
{
    // The texture stack selects unit 0 only when the binding changes.
    if (graphics3d::glActiveTextureARB) {
        graphics3d::glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    if (enabledTarget && (!texture || texture->target != enabledTarget)) {
        glDisable(enabledTarget);
        enabledTarget = 0;
    }
    if (!texture) {
        return;
    }
    context.textures.set(0, texture);
    if (!enabledTarget) {
        glEnable(texture->target);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        enabledTarget = texture->target;
    }
}

void Overlay::fill(const math::Rectangle& area, const math::Colour4& colour)
{
    useTexture(nullptr);
    glColor4f(colour.red, colour.green, colour.blue, colour.alpha);
    glRectf(area.x, area.y, area.x + area.width, area.y + area.height);
}

} // namespace vardel::gui3d
