#pragma once

#include "object/Exception.h"

namespace vardel::freetype {

// A font factory found no usable font file to choose from.
VARDEL_EXCEPTION(NoMatchException, object::Exception);

} // namespace vardel::freetype
