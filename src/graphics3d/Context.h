#pragma once

#include "container/Chain.h"
#include "container/Chainable.h"
#include "graphics3d/Extensions.h"
#include "graphics3d/FrameBuffer.h"
#include "graphics3d/LightStack.h"
#include "graphics3d/MaterialStack.h"
#include "graphics3d/MatrixStack.h"
#include "graphics3d/ModeStack.h"
#include "graphics3d/ShaderStack.h"
#include "graphics3d/TextureStack.h"
#include "object/Object.h"
#include "platform/OpenGL.h"
#include "platform/Win32.h"
#include "types/String.h"

#include <cstdint>

namespace vardel::graphics3d {

// The record of one OpenGL rendering context: the window it draws into, its extension entry points
// and the state last sent to OpenGL through it. There is one per rendering context, kept in a
// process-wide registry, and each thread has a current one. A Context is used only by the thread
// on which its rendering context is current.
class Context : public object::Object, public container::Chainable<Context> {
    VARDEL_CLASS_PATH(object::Object, Context)

    ~Context() override;

    // Finding the Context
    // The calling thread's current Context, possibly null.
    static Context* current();
    // The current Context, or else the one of the thread's current rendering context.
    static Context* get();
    // The Context of the calling thread's current rendering context, created when it has none;
    // becomes the thread's current Context.
    static Context* lookup();
    // A new Context for the current rendering context, linked into the registry and made the
    // thread's current Context. Only lookup() calls it.
    static Context* create();
    // Every Context, in order of creation. The registry holds a reference on each.
    static container::Chain<Context>& contexts();

    // Use
    // Makes the rendering context current on the calling thread, refreshes the frame-buffer size
    // and makes this the thread's current Context. False, changing nothing, when that fails.
    bool makeCurrent();
    // Takes the Context out of the registry once its rendering context has been deleted, so that a
    // later rendering context with the same handle gets a Context of its own. The calling thread
    // forgets it if it was current there. Releases the registry's reference.
    void unlink();

    // The extension entry points of the rendering context.
    Extensions extensions;
    // The window drawn into and its size.
    FrameBuffer frameBuffer;
    // The matrix mode last set.
    MatrixStack matrices;
    // The material last applied.
    MaterialStack materials;
    // The light of each OpenGL light slot.
    LightStack lights;
    // The texture bound to each unit.
    TextureStack textures;
    // The shader and programs last entered.
    ShaderStack shaders;
    // The raster mode last entered.
    ModeStack modes;
    // The index array last bound by an index mesh: its client-memory base, or null when a buffer
    // object holds it, and the OpenGL type and size of its indices.
    const void* indexPointer;
    // The OpenGL type of the indices of that array.
    GLenum indexType;
    // Bytes per index of that array.
    std::int32_t indexSize;
    // The device context the rendering context draws with.
    HDC deviceContext;
    // The window of that device context.
    HWND window;
    // The rendering context this record stands for.
    HGLRC renderingContext;

private:
    // Needs the calling thread's rendering context current.
    Context();
};

} // namespace vardel::graphics3d
