#pragma once

#include "object/Object.h"
#include "types/String.h"

#include <cstdint>

namespace vardel::graphics3d {

// What a shader needs of a program object: the client arrays it reads and a way to bind and unbind
// it.
class Program : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Program)

    Program();
    // Leaves the program records of the current Context that still name it.
    ~Program() override;

    // Makes the program current in OpenGL.
    virtual void bind() = 0;
    // Stops using the program in OpenGL.
    virtual void unbind() = 0;

    // Client arrays, bits as in Shader::arrays.
    std::uint32_t arrays;
};

} // namespace vardel::graphics3d
