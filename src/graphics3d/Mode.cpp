#include "graphics3d/Mode.h"

#include "graphics3d/Context.h"
#include "graphics3d/Extensions.h"

namespace vardel::graphics3d {

Mode::Mode()
    : depthRangeNear(0.0f), depthRangeFar(1.0f), depthFunction(-1), depthWrite(false), stencilFail(GL_KEEP),
      stencilDepthFail(GL_KEEP), stencilPass(GL_KEEP), stencilFunction(-1), stencilReference(0),
      stencilCompareMask(0xFFFFFFFFu), stencilWriteMask(0), blendSource(GL_ONE), blendDestination(GL_ZERO),
      blendEquation(GL_FUNC_ADD), blendColour{0.0f, 0.0f, 0.0f, 0.0f}, colourMask{true, true, true, true},
      alphaFunction(-1), alphaReference(0.0f)
{
}

Mode::~Mode()
{
    if (Context* context = Context::current())
        context->modes.remove(this);
}

void Mode::enter()
{
    glColorMask(colourMask[0], colourMask[1], colourMask[2], colourMask[3]);
    if (depthFunction == -1) {
        glDisable(GL_DEPTH_TEST);
    } else {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(depthFunction);
    }
    glDepthMask(depthWrite);
    glDepthRange(depthRangeNear, depthRangeFar);
    if (stencilFunction == -1) {
        glDisable(GL_STENCIL_TEST);
    } else {
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(stencilFunction, stencilReference, stencilCompareMask);
    }
    glStencilMask(stencilWriteMask);
    glStencilOp(stencilFail, stencilDepthFail, stencilPass);
    if (blendSource == GL_ONE && blendDestination == GL_ZERO) {
        glDisable(GL_BLEND);
    } else {
        glEnable(GL_BLEND);
        glBlendFunc(blendSource, blendDestination);
    }
    if (glBlendEquationEXT)
        glBlendEquationEXT(blendEquation);
    if (glBlendColorEXT)
        glBlendColorEXT(blendColour[0], blendColour[1], blendColour[2], blendColour[3]);
    if (alphaFunction == -1) {
        glDisable(GL_ALPHA_TEST);
    } else {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(alphaFunction, alphaReference);
    }
}

void Mode::leave() {}

} // namespace vardel::graphics3d
