#include "support/PngPicture.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#include <stb_image.h>

PngPicture PngPicture::load(const std::string& path, int channels)
{
    PngPicture picture;
    int inFile = 0;
    unsigned char* data = stbi_load(path.c_str(), &picture.width, &picture.height, &inFile, channels);
    if (!data) {
        picture.width = picture.height = 0;
        return picture;
    }
    picture.channels = channels;
    picture.pixels.assign(data, data + static_cast<std::size_t>(picture.width) * picture.height * channels);
    stbi_image_free(data);
    return picture;
}
