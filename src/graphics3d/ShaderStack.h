#pragma once

#include "object/Object.h"
#include "types/String.h"

#include <cstdint>

namespace vardel::graphics3d {

class Program;
class Shader;

// The shader last entered, the program objects it bound and the client arrays enabled. The
// pointers are observers: shaders and programs clear them when destroyed.
class ShaderStack : public object::Object {
    VARDEL_CLASS_PATH(object::Object, ShaderStack)

    ShaderStack();

    // Unless the shader is the current one: records it, leaves the outgoing shader, brings the
    // client arrays in line with the new shader and enters it. Null only leaves the current one.
    void set(Shader* shader);
    // Enables and disables client arrays so that exactly those of the mask are enabled (bits as in
    // Shader::arrays).
    void setArrays(std::uint32_t mask);
    // Forgets a program that is being destroyed, without touching OpenGL.
    void remove(Program* program);

    // The shader last entered, or null.
    Shader* current;
    // The program bound in the first slot, or null.
    Program* primaryProgram;
    // The program bound in the second slot, or null.
    Program* secondaryProgram;
    // The client arrays enabled now.
    std::uint32_t arrays;
};

} // namespace vardel::graphics3d
