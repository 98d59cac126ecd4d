// PNG reading through libpng's simplified interface, which expands
// palettes, grey and transparency chunks itself and reports every failure
// as a message instead of a long jump.
#include "apps/tulrezzo/png_reader.h"

#include "apps/tulrezzo/app_error.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <png.h>
#include <sys/stat.h>

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
    // Deflate packs at most 1032 bytes into one, and a row holds at least
    // a filter byte and one bit a pixel: a header claiming more than the
    // file can hold is refused before a frame's worth of memory is taken.
    struct stat info {};
    const bool sized = fstat(fileno(file.get()), &info) == 0 && S_ISREG(info.st_mode);
    const std::uint64_t fileBytes = sized ? static_cast<std::uint64_t>(info.st_size) : 0;
    const std::uint64_t leastRaw = std::uint64_t{image.height} * ((image.width + 7) / 8 + 1);
    if (sized && leastRaw > 1032 * fileBytes + 1024)
        throw Failure(name + ": PNG header: size " + std::to_string(image.width) + "x" +
                      std::to_string(image.height) + " is more than a file of " + std::to_string(fileBytes) +
                      " bytes can hold");
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
