#pragma once

// OpenGL 1.1 and the enums and entry-point pointer types of its extensions. Extension entry points
// are never declared as functions: they are looked up at run time into pointers of these types.
#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>
#include <GL/glext.h>
#ifdef _WIN32
// The pointer types of the WGL extensions, which our Win32.h declares itself elsewhere.
#include <GL/wglext.h>
#endif
