#include "graphics3d/Program.h"

#include "graphics3d/Context.h"

namespace vardel::graphics3d {

Program::Program() : arrays(0) {}

Program::~Program()
{
    if (Context* context = Context::current())
        context->shaders.remove(this);
}

} // namespace vardel::graphics3d
