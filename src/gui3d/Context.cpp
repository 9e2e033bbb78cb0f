#include "gui3d/Context.h"

#include "graphics3d/Context.h"

namespace vardel::gui3d {

Context::Context(graphics3d::Context* renderContext)
    : renderContext(renderContext), matrices(&renderContext->matrices), frameBuffer(&renderContext->frameBuffer),
      width(renderContext->frameBuffer.width), height(renderContext->frameBuffer.height)
{
    renderContext->retain();
}

Context::~Context()
{
    renderContext->release();
}

} // namespace vardel::gui3d
