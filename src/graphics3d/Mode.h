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
    virtual void leave();

    float depthRangeNear;
    float depthRangeFar;
    std::int32_t depthFunction;
    bool depthWrite;
    GLenum stencilFail;
    GLenum stencilDepthFail;
    GLenum stencilPass;
    std::int32_t stencilFunction;
    std::int32_t stencilReference;
    std::uint32_t stencilCompareMask;
    std::uint32_t stencilWriteMask;
    GLenum blendSource;
    GLenum blendDestination;
    GLenum blendEquation;
    float blendColour[4];
    bool colourMask[4];
    std::int32_t alphaFunction;
    float alphaReference;
};

} // namespace vardel::graphics3d
