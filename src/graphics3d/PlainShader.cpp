#include "graphics3d/PlainShader.h"

#include "graphics3d/CallList.h"
#include "graphics3d/Context.h"
#include "graphics3d/Counted.h"
#include "graphics3d/Program.h"

namespace vardel::graphics3d {

namespace {

void enterSlot(Program* program, Program*& recorded)
{
    if (program == recorded)
        return;
    if (recorded)
        recorded->unbind();
    recorded = program;
    if (program)
        program->bind();
}

void leaveSlot(Program* program, Program*& recorded)
{
    if (!program || program != recorded)
        return;
    recorded = nullptr;
    program->unbind();
}

void enterThunk(void* shader)
{
    static_cast<Shader*>(shader)->enter();
}

void leaveThunk(void* shader)
{
    static_cast<Shader*>(shader)->leave();
}

} // namespace

PlainShader::PlainShader() : primaryProgram(nullptr), secondaryProgram(nullptr), baseArrays(vertexArray | normalArray)
{
    update();
}

PlainShader::~PlainShader()
{
    Context* context = Context::current();
    if (context && context->shaders.current == this) {
        leave();
        context->shaders.current = nullptr;
    }
    replaceCounted(secondaryProgram, nullptr);
    replaceCounted(primaryProgram, nullptr);
}

void PlainShader::enter()
{
    ShaderStack& stack = Context::get()->shaders;
    enterSlot(primaryProgram, stack.primaryProgram);
    enterSlot(secondaryProgram, stack.secondaryProgram);
}

void PlainShader::leave()
{
    ShaderStack& stack = Context::get()->shaders;
    leaveSlot(primaryProgram, stack.primaryProgram);
    leaveSlot(secondaryProgram, stack.secondaryProgram);
}

void PlainShader::recordEnter(CallList& list)
{
    list.appendMemberCall(static_cast<Shader*>(this), enterThunk);
}

void PlainShader::recordLeave(CallList& list)
{
    list.appendMemberCall(static_cast<Shader*>(this), leaveThunk);
}

void PlainShader::setPrimaryProgram(Program* program)
{
    replaceCounted(primaryProgram, program);
    update();
}

void PlainShader::setSecondaryProgram(Program* program)
{
    replaceCounted(secondaryProgram, program);
    update();
}

void PlainShader::update()
{
    arrays = baseArrays;
    if (primaryProgram)
        arrays |= primaryProgram->arrays;
    if (secondaryProgram)
        arrays |= secondaryProgram->arrays;
}

} // namespace vardel::graphics3d
