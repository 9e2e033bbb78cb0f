#include "graphics/Image.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iterator>

namespace vardel::graphics {

namespace {

// Every known pixel-format code. The low 16 bits number the format, bits 16 to 23 hold its bits
// per pixel. Formats 9 and 11 are taken at their stated 16 bits.
constexpr std::uint32_t knownFormats[] = {
    0x00200001, 0x00100002, 0x00100003, 0x00180004, 0x00240005, 0x00080006, 0x00180007,
    0x00200008, 0x00100009, 0x0040000A, 0x0010000B, 0x0040000C, 0x0008000D, 0x0010000E,
    0x0010000F, 0x00200010, 0x00100011, 0x00200012, 0x10400013, 0x10300014, 0x10400015,
    0x10300016, 0x10100017, 0x10200018, 0x30800019, 0x3060001A, 0x3080001B, 0x3060001C,
};

// width times the bytes per pixel, or 0 when that does not fit the 32-bit field.
int rowBytes(std::uint32_t format, int width)
{
    long long bytes = static_cast<long long>(width) * Image::bytesPerPixel(format);
    return bytes < INT_MIN || bytes > INT_MAX ? 0 : static_cast<int>(bytes);
}

} // namespace

Image::Image(std::uint32_t format, int width, int height)
    : palette(nullptr), width_(width), height_(height), bytesPerRow_(rowBytes(format, width)),
      format_(format), pixels_(nullptr), locked(false)
{
}

Image::~Image()
{
    std::free(pixels_);
    if (palette) {
        palette->release();
    }
}

int Image::bytesPerPixel(std::uint32_t format)
{
    if (std::find(std::begin(knownFormats), std::end(knownFormats), format) == std::end(knownFormats)) {
        return 0;
    }
    return static_cast<int>(((format >> 16) & 0xFF) + 7) / 8;
}

unsigned char* Image::pixels()
{
    // A negative size would turn into a huge allocation: such an image has no pixel memory.
    if (!pixels_ && width_ >= 0 && height_ >= 0) {
        std::size_t bytes = static_cast<std::size_t>(height_) * static_cast<std::size_t>(bytesPerRow_);
        pixels_ = static_cast<unsigned char*>(std::malloc(bytes));
    }
    return pixels_;
}

void Image::releasePixels() {}

unsigned char* Image::lock()
{
    unsigned char* memory = pixels();
    if (memory) {
        locked = true;
    }
    return memory;
}

void Image::unlock()
{
    releasePixels();
    locked = false;
}

bool Image::getPalette(Palette<unsigned char>& out) const
{
    if (!palette) {
        return false;
    }
    out = *palette;
    return true;
}

bool Image::setPalette(const Palette<unsigned char>& source)
{
    if (!palette) {
        palette = new Palette<unsigned char>();
    }
    *palette = source;
    return true;
}

} // namespace vardel::graphics
