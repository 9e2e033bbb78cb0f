#pragma once

#include "graphics/Palette.h"
#include "object/Object.h"
#include "types/String.h"

#include <cstdint>

namespace vardel::graphics {

// A rectangular block of pixels in one of a fixed set of formats. The pixel memory is allocated on
// first access; rows follow one another directly, bytesPerRow() bytes each.
class Image : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Image)

    // The 24-bit format of pictures read back from the screen: red, green and blue bytes in that order.
    static constexpr std::uint32_t rgb24 = 0x00180004;

    // format: a pixel-format code; bits 16 to 23 give the bits per pixel of the known codes.
    Image(std::uint32_t format, int width, int height);
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    ~Image() override;

    // Pixel memory
    virtual unsigned char* pixels();
    virtual void releasePixels();
    unsigned char* lock();
    void unlock();

    // Palette
    virtual bool getPalette(Palette<unsigned char>& out) const;
    virtual bool setPalette(const Palette<unsigned char>& source);

    // Geometry and format
    int width() const { return width_; }
    int height() const { return height_; }
    int bytesPerRow() const { return bytesPerRow_; }
    std::uint32_t format() const { return format_; }
    bool isLocked() const { return locked; }

    // Bytes one pixel of the format takes; 0 for a code that is not a known format.
    static int bytesPerPixel(std::uint32_t format);

protected:
    // The field names carry a trailing underscore where an accessor of the same name exists.
    Palette<unsigned char>* palette;
    int width_;
    int height_;
    int bytesPerRow_;
    std::uint32_t format_;
    unsigned char* pixels_;
    bool locked;
};

} // namespace vardel::graphics
