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

    explicit Context(graphics3d::Context* renderContext);
    ~Context() override;
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    graphics3d::Context* renderContext;
    graphics3d::MatrixStack* matrices;
    graphics3d::FrameBuffer* frameBuffer;
    std::int32_t width;
    std::int32_t height;
    FontCache fontCache;
};

} // namespace vardel::gui3d
