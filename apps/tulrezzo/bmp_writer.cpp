// BMP layout: every field little-endian, rows on 4-byte boundaries.
#include "apps/tulrezzo/bmp_writer.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/file_stream.h"
#include "apps/tulrezzo/numbers.h"

#include <cstring>

namespace tulrezzo {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
// 2835 pixels per metre is 72 dots per inch, what most writers put there.
constexpr LONG kPixelsPerMetre = 2835;

void Put16(BYTE* at, unsigned value)
{
    at[0] = static_cast<BYTE>(value);
    at[1] = static_cast<BYTE>(value >> 8);
}

void Put32(BYTE* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<BYTE>(value >> (8 * i));
}

}  // namespace

std::vector<BYTE> BmpHeaders(LONG width, LONG height, int bits)
{
    if (width < 1 || height < 1 || width > kMaxDimension || height > kMaxDimension || (bits != 24 && bits != 32))
        return {};
    const std::size_t imageBytes = BmpStride(width, bits) * static_cast<std::size_t>(height);
    const std::size_t offset = kFileHeaderBytes + kInfoHeaderBytes;
    std::vector<BYTE> file(offset, 0);

    BYTE* h = file.data();
    h[0] = 'B';
    h[1] = 'M';
    Put32(h + 2, static_cast<std::uint32_t>(offset + imageBytes));
    Put32(h + 10, static_cast<std::uint32_t>(offset));

    BYTE* info = h + kFileHeaderBytes;
    Put32(info, kInfoHeaderBytes);
    Put32(info + 4, static_cast<std::uint32_t>(width));
    Put32(info + 8, static_cast<std::uint32_t>(height));
    Put16(info + 12, 1);  // planes
    Put16(info + 14, static_cast<unsigned>(bits));
    Put32(info + 16, 0);  // BI_RGB
    Put32(info + 20, static_cast<std::uint32_t>(imageBytes));
    Put32(info + 24, kPixelsPerMetre);
    Put32(info + 28, kPixelsPerMetre);
    return file;
}

std::size_t BmpStride(LONG width, int bits)
{
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) / 8 + 3) & ~static_cast<std::size_t>(3);
}

std::vector<BYTE> EncodeBmp24(const BYTE* pixels, LONG width, LONG height)
{
    std::vector<BYTE> file = pixels != nullptr ? BmpHeaders(width, height, 24) : std::vector<BYTE>{};
    if (file.empty())
        return file;
    const std::size_t line = static_cast<std::size_t>(width) * 3;
    const std::size_t stride = BmpStride(width, 24);
    const std::size_t offset = file.size();
    file.resize(offset + stride * static_cast<std::size_t>(height), 0);
    for (LONG r = 0; r < height; ++r)
        std::memcpy(file.data() + offset + stride * r, pixels + line * r, line);
    return file;
}

void WriteBmp24(const std::string& path, const BYTE* pixels, LONG width, LONG height)
{
    const std::vector<BYTE> file = EncodeBmp24(pixels, width, height);
    OutputFile out(path);
    if (file.empty())
        throw Failure("cannot write " + out.Name() + ": no picture to write");
    if (!out.Write(file.data(), file.size()) || !out.Close())
        throw Failure(out.ErrorMessage());
}

}  // namespace tulrezzo
