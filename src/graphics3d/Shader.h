#pragma once

#include "graphics3d/Resource.h"

#include <cstdint>

namespace vardel::graphics3d {

class CallList;

// Which client vertex arrays must be enabled and which program objects bound while geometry is
// drawn. Made current through the ShaderStack of the current Context.
class Shader : public Resource {
    VARDEL_CLASS_PATH(Resource, Shader)

    // Client-array bits: one per OpenGL client array; texture coordinates of unit i are
    // textureCoordinateArray << i. Other bits name no array.
    static constexpr std::uint32_t vertexArray = 0x001;
    // The normal array.
    static constexpr std::uint32_t normalArray = 0x004;
    // The colour array.
    static constexpr std::uint32_t colourArray = 0x010;
    // The vertex weight array.
    static constexpr std::uint32_t weightArray = 0x040;
    // The fog coordinate array.
    static constexpr std::uint32_t fogCoordinateArray = 0x080;
    // The edge flag array.
    static constexpr std::uint32_t edgeFlagArray = 0x100;
    // The texture coordinates of unit 0; shifted left by i for unit i.
    static constexpr std::uint32_t textureCoordinateArray = 0x1000;

    Shader();

    // Activation
    // Binds what the shader needs for drawing; called when the shader becomes current.
    virtual void enter() = 0;
    // Undoes what enter() did that the next shader may not want; called when another shader becomes current.
    virtual void leave() = 0;
    // Records the calls of enter() in list.
    virtual void recordEnter(CallList& list) = 0;
    // Records the calls of leave() in list.
    virtual void recordLeave(CallList& list) = 0;

    // The client arrays the shader needs enabled while it is current.
    std::uint32_t arrays;
};

} // namespace vardel::graphics3d
