// BMP reading. Every size and offset in the headers is checked against
// the bytes actually present before anything is read through it: a file
// whose header claims more than it holds, a colour table larger than its
// bit depth allows or running into the pixels, and sizes past 32 bits are
// refused with the field named.
#include "apps/tulrezzo/bmp_reader.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/file_stream.h"

#include <cstdint>
#include <cstring>

namespace tulrezzo {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
// BITMAPINFOHEADER and its later, longer forms (V2, V3, V4, V5); the OS/2
// 12-byte header is too old to meet in practice.
constexpr std::uint32_t kInfoHeaderSizes[] = {40, 52, 56, 108, 124};
constexpr std::size_t kMaskBytes = 12;  // the R, G, B masks of BI_BITFIELDS

std::uint32_t Le32(const BYTE* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24; }
unsigned Le16(const BYTE* p) { return p[0] | p[1] << 8; }

class Bytes {
public:
    explicit Bytes(InputFile& file) : m_file(file) {}

    // The next n bytes of the file; a Failure naming `what` when it ends first.
    const BYTE* Take(std::size_t n, const std::string& what)
    {
        m_buffer.resize(n);
        const std::size_t got = m_file.Read(m_buffer.data(), n);
        if (got != n) {
            if (m_file.Failed())
                throw Failure(m_file.ReadErrorMessage());
            throw Failure(m_file.Name() + ": the file ends inside its " + what + " (" + std::to_string(m_offset + got) +
                          " bytes; the headers need " + std::to_string(m_offset + n) + ")");
        }
        m_offset += n;
        return m_buffer.data();
    }
    // Passes over n bytes a piece at a time, so a huge offset costs no memory.
    void Skip(std::uint64_t n, const std::string& what)
    {
        constexpr std::uint64_t kPiece = 1 << 16;
        while (n > 0) {
            const std::size_t piece = static_cast<std::size_t>(n < kPiece ? n : kPiece);
            Take(piece, what);
            n -= piece;
        }
    }
    std::uint64_t Offset() const { return m_offset; }

private:
    InputFile& m_file;
    std::vector<BYTE> m_buffer;
    std::uint64_t m_offset = 0;
};

}  // namespace

BmpReader::BmpReader(const std::string& path)
{
    InputFile file(path);
    m_name = file.Name();
    auto refuse = [&](const std::string& why) { return Failure(m_name + ": BMP header: " + why); };
    Bytes bytes(file);

    const BYTE* fh = bytes.Take(kFileHeaderBytes, "file header");
    if (fh[0] != 'B' || fh[1] != 'M')
        throw Failure(m_name + ": not a BMP picture: it does not begin with BM");
    const std::uint32_t pixelOffset = Le32(fh + 10);

    const std::uint32_t infoSize = Le32(bytes.Take(4, "bitmap header"));
    bool knownSize = false;
    for (std::uint32_t s : kInfoHeaderSizes)
        knownSize = knownSize || s == infoSize;
    if (!knownSize)
        throw refuse("header size " + std::to_string(infoSize) + " is not a BITMAPINFOHEADER (40) or a later form");
    const std::vector<BYTE> ih = [&] {
        const BYTE* rest = bytes.Take(infoSize - 4, "bitmap header");
        std::vector<BYTE> h(4, 0);
        h.insert(h.end(), rest, rest + infoSize - 4);
        return h;
    }();
    const std::int64_t width = static_cast<std::int32_t>(Le32(&ih[4]));
    const std::int64_t height = static_cast<std::int32_t>(Le32(&ih[8]));
    const unsigned planes = Le16(&ih[12]);
    m_bits = static_cast<int>(Le16(&ih[14]));
    const std::uint32_t compression = Le32(&ih[16]);
    const std::uint32_t colorsUsed = Le32(&ih[32]);

    const std::int64_t rows = height < 0 ? -height : height;
    if (width < 1 || width > kMaxDimension || rows < 1 || rows > kMaxDimension)
        throw refuse("size " + std::to_string(width) + "x" + std::to_string(height) + ": both sides must be 1 to " +
                     std::to_string(kMaxDimension));
    if (planes != 1)
        throw refuse("planes " + std::to_string(planes) + ": must be 1");
    if (m_bits != 1 && m_bits != 4 && m_bits != 8 && m_bits != 24 && m_bits != 32)
        throw refuse(std::to_string(m_bits) + " bits per pixel: only 1, 4, 8, 24 and 32 are supported");
    if (compression == BI_BITFIELDS && m_bits == 32) {
        // Only the masks of plain B, G, R, A bytes; anything else would need
        // bit shuffling per pixel.
        const BYTE* masks = infoSize >= 52 ? &ih[40] : bytes.Take(kMaskBytes, "colour masks");
        if (Le32(masks) != 0x00FF0000u || Le32(masks + 4) != 0x0000FF00u || Le32(masks + 8) != 0x000000FFu)
            throw refuse("colour masks other than 8-bit B, G, R bytes are not supported");
    } else if (compression != BI_RGB) {
        throw refuse("compression " + std::to_string(compression) + ": only uncompressed bitmaps are supported");
    }

    m_palette.assign(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    if (m_bits <= 8) {
        const std::uint32_t most = 1u << m_bits;
        if (colorsUsed > most)
            throw refuse("colour table of " + std::to_string(colorsUsed) + " entries: a " + std::to_string(m_bits) +
                         "-bit picture has at most " + std::to_string(most));
        const std::uint32_t entries = colorsUsed != 0 ? colorsUsed : most;
        if (bytes.Offset() + 4u * entries > pixelOffset)
            throw refuse("colour table of " + std::to_string(entries) + " entries runs past the pixel offset " +
                         std::to_string(pixelOffset));
        // Entries past the table stay black, so any index a row holds reads
        // inside the 256 the expansion may look up.
        std::memcpy(&m_palette[sizeof(BITMAPINFOHEADER)], bytes.Take(4u * entries, "colour table"), 4u * entries);
        auto* header = reinterpret_cast<BITMAPINFOHEADER*>(m_palette.data());
        header->biSize = sizeof(BITMAPINFOHEADER);
        header->biWidth = static_cast<LONG>(width);
        header->biHeight = static_cast<LONG>(rows);
        header->biPlanes = 1;
        header->biBitCount = static_cast<WORD>(m_bits);
    }
    if (pixelOffset < bytes.Offset())
        throw refuse("pixel offset " + std::to_string(pixelOffset) + " lies inside the headers");
    bytes.Skip(pixelOffset - bytes.Offset(), "headers before the pixels");

    // Rows are padded to whole 32-bit words; 16384 x 32 bits x 16384 rows
    // is 1 GiB, inside 32 bits.
    m_stride = static_cast<int>((width * m_bits + 31) / 32 * 4);
    const std::size_t pixelBytes = static_cast<std::size_t>(m_stride) * static_cast<std::size_t>(rows);
    // The rows are taken a piece at a time, so memory grows with the bytes
    // the file really holds: a header claiming 16384 x 16384 at 32 bits over
    // a few hundred bytes is refused as truncated, not after a gigabyte
    // was taken for it.
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    std::size_t got = 0;
    while (got < pixelBytes) {
        const std::size_t piece = pixelBytes - got < kPiece ? pixelBytes - got : kPiece;
        m_pixels.resize(got + piece);
        const std::size_t n = file.Read(m_pixels.data() + got, piece);
        got += n;
        if (n != piece)
            break;
    }
    if (got != pixelBytes) {
        if (file.Failed())
            throw Failure(file.ReadErrorMessage());
        throw Failure(m_name + ": the file is truncated: " + std::to_string(width) + "x" + std::to_string(height) +
                      " at " + std::to_string(m_bits) + " bits needs " + std::to_string(pixelBytes) +
                      " bytes of pixels from offset " + std::to_string(pixelOffset) + ", the file holds " +
                      std::to_string(got));
    }

    m_info.size = {static_cast<LONG>(width), static_cast<LONG>(rows)};
    m_info.interlaceTag = 'p';
    m_info.format = m_bits == 32 ? TulImage::COLOR_FORMAT_RGB32 : TulImage::COLOR_FORMAT_RGB24;
    // A positive height is bottom-up: the first row in the file is the
    // picture's last, which a negative step says to the library.
    const int pitch = m_bits <= 8 ? (m_info.size.width * 3 + 3) / 4 * 4 : m_stride;
    m_info.step = height > 0 ? -pitch : pitch;
}

ReadOutcome BmpReader::ReadFrame(BYTE* dst)
{
    if (m_done)
        return {ReadStatus::End, {}};
    m_done = true;
    if (m_bits > 8) {
        std::memcpy(dst, m_pixels.data(), m_pixels.size());
        return {ReadStatus::Frame, {}};
    }
    ULONG size = m_info.FrameBytes();
    const int srcStep = m_info.step < 0 ? -m_stride : m_stride;
    if (TulImage::PaletteToRGB24(m_pixels.data(), dst, &size, reinterpret_cast<tagBITMAPINFO*>(m_palette.data()),
                                 srcStep, m_info.step) != TulImage::TUL_SUCCESS)
        return {ReadStatus::Failed, m_name + ": the palette picture could not be expanded"};
    return {ReadStatus::Frame, {}};
}

}  // namespace tulrezzo
