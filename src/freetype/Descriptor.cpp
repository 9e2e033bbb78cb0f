#include "freetype/Descriptor.h"

namespace vardel::freetype {

Descriptor::Descriptor() : style("regular"), width(16.0f), height(16.0f), encoding(0), flags(0) {}

types::String Descriptor::getName() const
{
    return family + " " + style;
}

} // namespace vardel::freetype
