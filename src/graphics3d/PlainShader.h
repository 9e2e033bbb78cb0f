#pragma once

#include "graphics3d/ConstantList.h"
#include "graphics3d/Shader.h"

#include <cstdint>

namespace vardel::graphics3d {

class Program;

// A shader of the fixed-function pipeline: a set of client arrays, plus up to two optional program
// objects bound while it is current.
class PlainShader : public Shader {
    VARDEL_CLASS_PATH(Shader, PlainShader)

    // Needs the vertex and normal arrays.
    PlainShader();
    // Leaves the current Context's shader stack first when it is the current shader there, so that
    // the stack never names a destroyed shader or its programs.
    ~PlainShader() override;

    // Activation
    // Binds each program that is not the one recorded for its slot, unbinding the recorded one.
    void enter() override;
    // Unbinds and forgets each of its programs that is recorded for its slot.
    void leave() override;
    // Records the calls of enter() in list.
    void recordEnter(CallList& list) override;
    // Records the calls of leave() in list.
    void recordLeave(CallList& list) override;

    // Configuration
    // Each takes a reference on the new program, gives back the old one and updates the arrays.
    void setPrimaryProgram(Program* program);
    // The same for the secondary program.
    void setSecondaryProgram(Program* program);
    // arrays := baseArrays with the arrays of the programs present.
    void update();

    // The constants the programs read.
    ConstantList constants;
    // The first program bound while the shader is current, or null.
    Program* primaryProgram;
    // The second program bound while the shader is current, or null.
    Program* secondaryProgram;
    // The client arrays the shader needs without any program.
    std::uint32_t baseArrays;
};

} // namespace vardel::graphics3d
