#pragma once

#include "graphics3d/Resource.h"
#include "platform/OpenGL.h"

#include <cstdint>

namespace vardel::graphics3d {

// The raster state: colour mask, depth, stencil, blending and alpha test. Made current through the
// ModeStack of the current Context. A function of -1 disables its test.
class Mode : public Resource {
    VARDEL_CLASS_PATH(Resource, Mode)

    // No depth, stencil, blend or alpha test; all colour channels written, depth not.
    Mode();
    // Leaves the current Context's mode record when it names this mode; OpenGL is not touched.
    ~Mode() override;

    // Activation
    // Sends the whole state to OpenGL; blend equation and colour only where the driver has them.
    virtual void enter();
    // Called when another mode is entered after this one; the base mode sends nothing.
    virtual void leave();

    // Where the near plane lands in the depth buffer, from 0 to 1.
    float depthRangeNear;
    // Where the far plane lands in the depth buffer, from 0 to 1.
    float depthRangeFar;
    // The depth test's comparison, such as GL_LESS, or -1 for no depth test.
    std::int32_t depthFunction;
    // Whether drawing writes the depth buffer.
    bool depthWrite;
    // The stencil operation when the stencil test fails.
    GLenum stencilFail;
    // The stencil operation when the stencil test passes and the depth test fails.
    GLenum stencilDepthFail;
    // The stencil operation when both tests pass.
    GLenum stencilPass;
    // The stencil test's comparison, or -1 for no stencil test.
    std::int32_t stencilFunction;
    // The value the stencil test compares with.
    std::int32_t stencilReference;
    // The bits the stencil test compares.
    std::uint32_t stencilCompareMask;
    // The stencil bits drawing may write.
    std::uint32_t stencilWriteMask;
    // The blend factor of the incoming colour.
    GLenum blendSource;
    // The blend factor of the colour already there.
    GLenum blendDestination;
    // How the two blended colours combine, such as GL_FUNC_ADD.
    GLenum blendEquation;
    // The constant blend colour: red, green, blue, alpha.
    float blendColour[4];
    // Which of red, green, blue and alpha drawing writes.
    bool colourMask[4];
    // The alpha test's comparison, or -1 for no alpha test.
    std::int32_t alphaFunction;
    // The value the alpha test compares with.
    float alphaReference;
};

} // namespace vardel::graphics3d
