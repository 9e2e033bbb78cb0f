#include "graphics3d/ShaderStack.h"

#include "platform/OpenGL.h"
#include "graphics3d/Extensions.h"
#include "graphics3d/Program.h"
#include "graphics3d/Shader.h"

namespace vardel::graphics3d {

namespace {

struct ClientArray {
    std::uint32_t bit;
    GLenum array;
};

// In the order in which they are switched.
const ClientArray clientArrays[] = {
    {Shader::vertexArray, GL_VERTEX_ARRAY},
    {Shader::normalArray, GL_NORMAL_ARRAY},
    {Shader::colourArray, GL_COLOR_ARRAY},
    {Shader::edgeFlagArray, GL_EDGE_FLAG_ARRAY},
    {Shader::fogCoordinateArray, GL_FOG_COORDINATE_ARRAY_EXT},
    {Shader::weightArray, GL_WEIGHT_ARRAY_ARB},
};

void switchArray(GLenum array, bool enable)
{
    if (enable)
        glEnableClientState(array);
    else
        glDisableClientState(array);
}

} // namespace

ShaderStack::ShaderStack() : current(nullptr), primaryProgram(nullptr), secondaryProgram(nullptr), arrays(0) {}

void ShaderStack::set(Shader* shader)
{
    if (shader == current)
        return;
    Shader* outgoing = current;
    current = shader;
    if (outgoing)
        outgoing->leave();
    if (!shader)
        return;
    setArrays(shader->arrays);
    shader->enter();
}

void ShaderStack::setArrays(std::uint32_t mask)
{
    std::uint32_t changed = mask ^ arrays;
    if (!changed)
        return;
    arrays = mask;
    for (const ClientArray& entry : clientArrays) {
        if (changed & entry.bit)
            switchArray(entry.array, mask & entry.bit);
    }
    for (int unit = 0; unit < 8; ++unit) {
        std::uint32_t bit = Shader::textureCoordinateArray << unit;
        if (!(changed & bit))
            continue;
        // Without multitexture only unit 0 exists, and it is the active one.
        if (glClientActiveTextureARB)
            glClientActiveTextureARB(GL_TEXTURE0_ARB + unit);
        else if (unit != 0)
            continue;
        switchArray(GL_TEXTURE_COORD_ARRAY, mask & bit);
    }
}

void ShaderStack::remove(Program* program)
{
    if (primaryProgram == program)
        primaryProgram = nullptr;
    if (secondaryProgram == program)
        secondaryProgram = nullptr;
}

} // namespace vardel::graphics3d
