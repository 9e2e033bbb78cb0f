#include "graphics/PngWriter.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "graphics/Image.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace vardel::graphics {

namespace {

// The file being written and the errno of its first failure.
struct Output {
    std::FILE* file;
    int error;

    void check(bool succeeded)
    {
        if (!succeeded && !error) {
            error = errno ? errno : EIO;
        }
    }
};

void writeBytes(void* context, void* data, int size)
{
    auto* output = static_cast<Output*>(context);
    output->check(std::fwrite(data, 1, static_cast<std::size_t>(size), output->file) == static_cast<std::size_t>(size));
}

types::String fault(const char* path, const std::string& what)
{
    return types::String("cannot save ") + path + ": " + what.c_str();
}

} // namespace

types::String PngWriter::write(Image& image, const char* path)
{
    int channels = Image::bytesPerPixel(image.format());
    if (channels != 1 && channels != 3 && channels != 4) {
        return fault(path, "PNG holds grey, RGB or RGBA pixels only");
    }
    if (image.width() <= 0 || image.height() <= 0) {
        return fault(path, "the image has no pixels");
    }
    const unsigned char* pixels = image.lock();
    if (!pixels) {
        image.unlock();
        return fault(path, "out of memory");
    }

    std::string part = std::string(path) + ".part";
    Output output{std::fopen(part.c_str(), "wb"), 0};
    if (!output.file) {
        std::string reason = std::generic_category().message(errno);
        image.unlock();
        return fault(path, reason);
    }
    int encoded = stbi_write_png_to_func(writeBytes, &output, image.width(), image.height(), channels, pixels,
                                         image.bytesPerRow());
    image.unlock();
    // A full disk may show only when the buffered bytes go out.
    output.check(std::fflush(output.file) == 0);
    output.check(std::fclose(output.file) == 0);
    std::error_code ignored;
    if (!encoded || output.error) {
        std::filesystem::remove(part, ignored);
        return fault(path, encoded ? std::generic_category().message(output.error) : "out of memory");
    }
    std::error_code renamed;
    std::filesystem::rename(part, path, renamed);
    if (renamed) {
        std::filesystem::remove(part, ignored);
        return fault(path, renamed.message());
    }
    return {};
}

} // namespace vardel::graphics
