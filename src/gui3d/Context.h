#pragma once

#include <cstdint>

#include "object/Object.h"
#include "types/String.h"
#include "graphics3d/Forward.h"
#include "gui3d/FontCache.h"

namespace vardel::gui3d {

// What a root view draws with: its rendering context (counted), that context's matrix stack and
// frame buffer, the frame buffer's size when the root was made, and the root's font maps.
class Context : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Context)

    // The record of renderContext, on whose thread it is made; takes a reference on it.
    explicit Context(graphics3d::Context* renderContext);
    ~Context() override;
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    // The rendering context's record; counted.
    graphics3d::Context* renderContext;
    // That context's matrix stack.
    graphics3d::MatrixStack* matrices;
    // That context's frame buffer.
    graphics3d::FrameBuffer* frameBuffer;
    // The frame buffer's width when the root was made.
    std::int32_t width;
    // The frame buffer's height when the root was made.
    std::int32_t height;
    // The root's font maps.
    FontCache fontCache;
};

} // namespace vardel::gui3d
