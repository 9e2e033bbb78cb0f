#pragma once

#include <vector>

#include "platform/x11/Desktop.h"

struct _XDisplay;
struct __GLXFBConfigRec;

namespace vardel::platform::x11 {

// The pixel formats of the display: its window-capable RGBA frame-buffer configurations, numbered
// from 1 in the server's order. Read once through a GLX connection of its own that stays open for
// the life of the process, since closing the last GLX connection makes the driver unload and
// reload (slowly, and leaking a little each time).
class PixelFormats {
public:
    struct Format {
        int configId;
        unsigned long visualId;
        int samples;
        bool slow;
        PIXELFORMATDESCRIPTOR descriptor;
    };

    static const PixelFormats& get();

    int count() const { return static_cast<int>(formats.size()); }
    // Null when index is not a format number.
    const Format* format(int index) const;
    // The closest format to the request, or 0.
    int choose(const PIXELFORMATDESCRIPTOR& request) const;
    // The visual windows are created with until a pixel format is set: that of the best
    // double-buffered RGBA format with 8 bits a channel, depth 24 and stencil 8, so that the usual
    // format needs no new X window. 0 for the display's default visual.
    unsigned long windowVisual() const { return preferredVisual; }
    // The configuration of a format on another connection, or null.
    static __GLXFBConfigRec* config(_XDisplay* display, int configId);

    // Why there are no formats when the display could not even be asked: the error of opening
    // the connection, or of loading GL for it when this process ran out of descriptors or memory.
    // 0 otherwise.
    DWORD unavailable = 0;
    int screenWidth = 0;
    int screenHeight = 0;
    int screenDepth = 24;

private:
    PixelFormats();
    int score(const Format& format, const PIXELFORMATDESCRIPTOR& request) const;

    _XDisplay* display = nullptr;
    std::vector<Format> formats;
    unsigned long preferredVisual = 0;
};

} // namespace vardel::platform::x11
