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
    // The pixel memory, allocated on first use; null when it cannot be had.
    virtual unsigned char* pixels();
    // Tells that the caller is done with the memory pixels() gave; the base image keeps it.
    virtual void releasePixels();
    // The pixel memory, marking the image locked while the caller works on it; null when there is none.
    unsigned char* lock();
    // Ends a lock(), handing the memory back through releasePixels().
    void unlock();

    // Palette
    // Copies the palette into out; false when the image has none.
    virtual bool getPalette(Palette<unsigned char>& out) const;
    // Gives the image a copy of source as its palette; true.
    virtual bool setPalette(const Palette<unsigned char>& source);

    // Geometry and format
    // Pixels in a row.
    int width() const { return width_; }
    // Rows of pixels.
    int height() const { return height_; }
    // Bytes from one row to the next.
    int bytesPerRow() const { return bytesPerRow_; }
    // The pixel-format code.
    std::uint32_t format() const { return format_; }
    // Whether lock() holds the memory.
    bool isLocked() const { return locked; }

    // Bytes one pixel of the format takes; 0 for a code that is not a known format.
    static int bytesPerPixel(std::uint32_t format);

protected:
    // The field names carry a trailing underscore where an accessor of the same name exists.
    Palette<unsigned char>* palette;
    // Pixels in a row.
    int width_;
    // Rows of pixels.
    int height_;
    // Bytes from one row to the next.
    int bytesPerRow_;
    // The pixel-format code.
    std::uint32_t format_;
    // The pixel memory, or null before it is needed.
    unsigned char* pixels_;
    // Whether lock() holds the memory.
    bool locked;
};

} // namespace vardel::graphics
