#pragma once

namespace vardel::platform::x11 {

// Which block of glext.h declares each OpenGL entry point above 1.1: an extension name such as
// "GL_ARB_vertex_buffer_object" or a version such as "GL_VERSION_1_5". Generated at configure time
// from the glext.h the layer is built with.
class EntryPoints {
public:
    // The block of an entry point, or null when glext.h does not declare it.
    static const char* blockOf(const char* name);
};

} // namespace vardel::platform::x11
