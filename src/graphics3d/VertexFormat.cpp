#include "graphics3d/VertexFormat.h"

#include "graphics3d/Format.h"

namespace vardel::graphics3d {

VertexFormat::VertexFormat() : components{}, stride(0), componentCount(0) {}

int VertexFormat::addComponent(std::uint32_t code, std::uint32_t arrays)
{
    std::uint32_t slot = 0;
    while (slot < componentCount && components[slot].arrays != 0)
        ++slot;
    if (slot == maxComponents)
        return -1;
    const std::uint32_t size = format::size(code);
    Component& component = components[slot];
    component.code = code;
    component.arrays = arrays;
    component.offset = slot == 0 ? 0 : components[slot - 1].offset + format::size(components[slot - 1].code);
    if (slot == componentCount) {
        ++componentCount;
    } else {
        for (std::uint32_t later = slot + 1; later < componentCount; ++later)
            components[later].offset += size;
    }
    stride += size;
    return static_cast<int>(slot);
}

} // namespace vardel::graphics3d
