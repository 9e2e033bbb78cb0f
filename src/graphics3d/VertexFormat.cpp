#include "graphics3d/VertexFormat.h"

#include "graphics3d/Format.h"

namespace vardel::graphics3d {

VertexFormat::VertexFormat() : components{}, stride(0), componentCount(0) {}

int VertexFormat::addComponent(std::uint32_t code, std::uint32_t arrays)
{
    const std::uint32_t type = format::elementType(code);
    // Readers take the elements as the type says: the component must hold them all.
    if (componentCount == maxComponents || arrays == 0 || format::glType(type) == 0 ||
        format::size(code) < (type & 0xF) * format::elementCount(code))
        return -1;
    Component& component = components[componentCount];
    component.code = code;
    component.arrays = arrays;
    component.offset = stride;
    stride += format::size(code);
    return static_cast<int>(componentCount++);
}

} // namespace vardel::graphics3d
