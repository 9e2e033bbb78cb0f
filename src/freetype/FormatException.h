#pragma once

#include "object/Exception.h"

namespace vardel::freetype {

// A font file opened as a face but gave no usable font.
VARDEL_EXCEPTION(FormatException, object::Exception);

} // namespace vardel::freetype
