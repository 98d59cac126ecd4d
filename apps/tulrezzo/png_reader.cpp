// PNG reading through libpng's simplified interface, which expands
// palettes, grey and transparency chunks itself and reports every failure
// as a message instead of a long jump.
#include "apps/tulrezzo/png_reader.h"

#include "apps/tulrezzo/app_error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <png.h>

namespace tulrezzo {

namespace {

struct ImageFree {
    void operator()(png_image* image) const { png_image_free(image); }
};

}  // namespace

PngReader::PngReader(const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        throw Failure("cannot open '" + path + "': " + std::strerror(errno));
    const std::string name = "'" + path + "'";
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    const std::unique_ptr<png_image, ImageFree> release(&image);
    if (png_image_begin_read_from_stdio(&image, file.get()) == 0)
        throw Failure(name + ": not a PNG picture that can be read: " + image.message);
    if (image.width < 1 || image.width > static_cast<png_uint_32>(kMaxDimension) || image.height < 1 ||
        image.height > static_cast<png_uint_32>(kMaxDimension))
        throw Failure(name + ": PNG header: size " + std::to_string(image.width) + "x" +
                      std::to_string(image.height) + ": both sides must be 1 to " + std::to_string(kMaxDimension));
    const bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = alpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
    m_info.size = {static_cast<LONG>(image.width), static_cast<LONG>(image.height)};
    m_info.format = alpha ? TulImage::COLOR_FORMAT_RGB32 : TulImage::COLOR_FORMAT_RGB24;
    m_info.step = TightStep(m_info.format, m_info.size.width);
    m_info.interlaceTag = 'p';
    m_pixels.resize(m_info.FrameBytes());
    if (png_image_finish_read(&image, nullptr, m_pixels.data(), m_info.step, nullptr) == 0)
        throw Failure(name + ": the PNG picture cannot be decoded: " + image.message);
}

ReadOutcome PngReader::ReadFrame(BYTE* dst)
{
    if (m_done)
        return {ReadStatus::End, {}};
    m_done = true;
    std::memcpy(dst, m_pixels.data(), m_pixels.size());
    return {ReadStatus::Frame, {}};
}

}  // namespace tulrezzo
