#pragma once

#include "math/Colour4.h"
#include "math/Rectangle.h"
#include "graphics3d/Forward.h"
#include "graphics3d/Mode.h"
#include "graphics3d/TextureStack.h"

namespace vardel::gui3d {

// Drawing in window pixels over a finished 3D frame. While an Overlay lives, the current Context
// draws on the whole window with y growing downwards from its top-left corner, blending by alpha,
// without depth test, lighting, culling or client arrays; its mode is entered through the
// Context's stacks. Its end leaves OpenGL and the Context's records as they were found, so that
// the next frame's state caches stay true. On the thread of the current Context, one at a time.
class Overlay {
public:
    // Saves the state and sets up 2D drawing on the window of context.
    explicit Overlay(graphics3d::Context& context);
    ~Overlay();
    Overlay(const Overlay&) = delete;
    Overlay& operator=(const Overlay&) = delete;

    // Drawing
    // Colours what follows by the texture's alpha, or not at all with null.
    void useTexture(graphics3d::Texture* texture);
    // Covers area (window pixels) with colour, blended by its alpha.
    void fill(const math::Rectangle& area, const math::Colour4& colour);

    // The Context drawn with.
    graphics3d::Context& context;
    // The window's width in pixels, as it is now.
    int width;
    // The window's height in pixels, as it is now.
    int height;

private:
    graphics3d::Mode mode;
    graphics3d::Mode* foundMode;
    graphics3d::Texture* foundTextures[graphics3d::TextureStack::unitCount];
    GLenum foundTargets[graphics3d::TextureStack::unitCount];
    GLenum foundMatrixMode;
    // The target enabled on unit 0 for the texture in use; 0 for none.
    GLenum enabledTarget;
};

} // namespace vardel::gui3d
