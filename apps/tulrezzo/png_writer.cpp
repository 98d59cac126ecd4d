// PNG writing through libpng's simplified interface.
#include "apps/tulrezzo/png_writer.h"

#include <png.h>

namespace tulrezzo {

bool WritePng(const std::string& path, const BYTE* pixels, LONG width, LONG height, int stride, bool alpha,
              std::string* error)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = alpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
    if (png_image_write_to_file(&image, path.c_str(), 0, pixels, stride, nullptr) != 0)
        return true;
    *error = "cannot write '" + path + "': " + image.message;
    png_image_free(&image);
    return false;
}

}  // namespace tulrezzo
