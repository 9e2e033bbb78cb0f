#include "graphics3d/ParameterBuffer.h"

#include <new>

#include "graphics3d/ParameterFormat.h"

namespace vardel::graphics3d {

ParameterBuffer* ParameterBuffer::create(const ParameterFormat& format)
{
    if (format.components.count == 0)
        return nullptr;
    void* memory = ::operator new(sizeof(ParameterBuffer) + format.size, std::nothrow);
    if (!memory)
        return nullptr;
    return new (memory) ParameterBuffer(format);
}

} // namespace vardel::graphics3d
