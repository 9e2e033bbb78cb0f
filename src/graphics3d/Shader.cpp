#include "graphics3d/Shader.h"

namespace vardel::graphics3d {

Shader::Shader() : arrays(0) {}

} // namespace vardel::graphics3d
