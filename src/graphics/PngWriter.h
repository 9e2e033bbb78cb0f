#pragma once

#include "types/String.h"

namespace vardel::graphics {

class Image;

// Saves images as PNG files. Images of 1, 3 and 4 bytes per pixel are taken as grey, RGB and RGBA,
// channels in that byte order, rows top first.
class PngWriter {
public:
    // Writes the image to path. An existing file there is replaced only once the whole picture
    // has been written beside it, so a failure leaves it as it was. Returns an empty string on
    // success, otherwise what went wrong, naming the path.
    static types::String write(Image& image, const char* path);
};

} // namespace vardel::graphics
