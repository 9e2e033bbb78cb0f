#pragma once

#include "object/Exception.h"

namespace vardel::freetype {

// FreeType could not open a file as a font face.
VARDEL_EXCEPTION(FreetypeException, object::Exception);

} // namespace vardel::freetype
