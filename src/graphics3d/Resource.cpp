#include "graphics3d/Resource.h"

namespace vardel::graphics3d {

Resource::Resource() = default;

types::String Resource::getName() const
{
    return name;
}

} // namespace vardel::graphics3d
