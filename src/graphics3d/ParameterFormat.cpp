#include "graphics3d/ParameterFormat.h"

#include <cstring>
#include <vector>

#include "graphics3d/Format.h"

namespace vardel::graphics3d {

ParameterFormat::ParameterFormat() : size(0) {}

void ParameterFormat::addComponent(const char* name, std::uint32_t code, std::uint32_t offset)
{
    components.resize(components.count + 1);
    Component& component = components[components.count - 1];
    std::memset(component.name, 0, sizeof(component.name));
    std::strncpy(component.name, name, 64);
    component.offset = offset;
    component.code = code;
    size += format::size(code);
}

void ParameterFormat::append(const ParameterFormat& other)
{
    // Copied first: other may be this format.
    std::vector<Component> added(other.components.begin(), other.components.end());
    std::uint32_t first = components.count;
    components.resize(first + static_cast<std::uint32_t>(added.size()));
    for (std::uint32_t i = 0; i < added.size(); ++i) {
        components[first + i] = added[i];
        components[first + i].offset += size;
    }
    size += other.size;
}

void ParameterFormat::compact()
{
    std::vector<Component> kept;
    for (const Component& component : components) {
        if (component.code)
            kept.push_back(component);
    }
    // The array allocates exactly the count asked of it when it starts empty.
    components.clear();
    if (kept.empty())
        return;
    components.resize(static_cast<std::uint32_t>(kept.size()));
    std::memcpy(components.elements, kept.data(), kept.size() * sizeof(Component));
}

void ParameterFormat::clear()
{
    components.clear();
    size = 0;
}

} // namespace vardel::graphics3d
