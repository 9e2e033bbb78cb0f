#pragma once

#include "io/Timestamp.h"

namespace vardel::system {

// File times belong to the file layer, which sits below this one; the name stays reachable here.
using Timestamp = io::Timestamp;

} // namespace vardel::system
