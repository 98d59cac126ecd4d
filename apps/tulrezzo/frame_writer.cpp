// The stream outputs: Y4M (YUY2 split into 4:2:2 planes, I420 and YV12
// as 4:2:0 planes in Y, U, V order, VUYA as 4:4:4 planes with alpha) and
// raw frames as they come; picture outputs are picture_writer's.
#include "apps/tulrezzo/frame_writer.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/file_name.h"
#include "apps/tulrezzo/file_stream.h"
#include "apps/tulrezzo/picture_writer.h"
#include "apps/tulrezzo/y4m_header.h"
#include "platform/ipp/ippi.h"

#include <cstring>
#include <vector>

namespace tulrezzo {

namespace {

class RawWriter : public FrameWriter {
public:
    RawWriter(const std::string& path, const StreamInfo& info) : m_file(path), m_frameBytes(info.FrameBytes()) {}

    bool WriteFrame(const BYTE* yuy2) override { return m_file.Write(yuy2, m_frameBytes) && m_file.Flush(); }
    bool Finish() override { return m_file.Close(); }
    const std::string& ErrorMessage() const override { return m_file.ErrorMessage(); }

protected:
    OutputFile m_file;
    std::size_t m_frameBytes;
};

class Y4mWriter : public RawWriter {
public:
    Y4mWriter(const std::string& path, const StreamInfo& info, Ratio pixelAspect)
        : RawWriter(path, info), m_size(info.size), m_format(info.format)
    {
        // "FRAME\n" then the Y, U and V planes: one write per frame.
        m_frame.resize(kFrameLine.size() + m_frameBytes);
        kFrameLine.copy(reinterpret_cast<char*>(m_frame.data()), kFrameLine.size());
        const std::string header = FormatY4mHeader(info, pixelAspect);
        if (!m_file.Write(header.data(), header.size()) || !m_file.Flush())
            throw Failure(m_file.ErrorMessage());
    }

    bool WriteFrame(const BYTE* frame) override
    {
        if (!ToPlanes(frame, m_frame.data() + kFrameLine.size())) {
            m_splitError = "cannot write " + m_file.Name() + ": the frame could not be split into planes";
            return false;
        }
        return m_file.Write(m_frame.data(), m_frame.size()) && m_file.Flush();
    }
    const std::string& ErrorMessage() const override
    {
        return m_splitError.empty() ? m_file.ErrorMessage() : m_splitError;
    }

private:
    // The frame's planes in Y4M order at y: Y, U, V, then A for 4:4:4.
    bool ToPlanes(const BYTE* frame, Ipp8u* y) const
    {
        const int width = m_size.width;
        const int height = m_size.height;
        const std::size_t luma = static_cast<std::size_t>(width) * height;
        if (m_format == TulImage::COLOR_FORMAT_YUV420 || m_format == TulImage::COLOR_FORMAT_YV12) {
            const std::size_t chroma = luma / 4;
            const bool swapped = m_format == TulImage::COLOR_FORMAT_YV12;  // V before U
            std::memcpy(y, frame, luma);
            std::memcpy(y + luma, frame + luma + (swapped ? chroma : 0), chroma);
            std::memcpy(y + luma + chroma, frame + luma + (swapped ? 0 : chroma), chroma);
            return true;
        }
        if (m_format == TulImage::COLOR_FORMAT_VUYA) {
            Ipp8u* const planes[4] = {y + 2 * luma, y + luma, y, y + 3 * luma};  // V, U, Y, A bytes
            return ippiCopy_8u_C4P4R(frame, width * 4, planes, width, IppiSize{width, height}) == ippStsNoErr;
        }
        Ipp8u* planes[3] = {y, y + luma, y + luma + static_cast<std::size_t>(width / 2) * height};
        int steps[3] = {width, width / 2, width / 2};
        return ippiSplit422_8u_C2P3R(frame, width * 2, planes, steps, IppiSize{width, height}) == ippStsNoErr;
    }

    static constexpr std::string_view kFrameLine = "FRAME\n";
    FrameSize m_size;
    PixelFormat m_format;
    std::vector<BYTE> m_frame;
    std::string m_splitError;
};

}  // namespace

bool OutputKindOf(const std::string& path, OutputKind* kind, bool pictures)
{
    if (pictures && (HasExtension(path, ".bmp") || HasExtension(path, ".png"))) {
        *kind = HasExtension(path, ".bmp") ? OutputKind::Bmp : OutputKind::Png;
        return true;
    }
    if (path == "-" || HasExtension(path, ".y4m")) {
        *kind = OutputKind::Y4m;
        return true;
    }
    if (HasExtension(path, ".yuv")) {
        *kind = OutputKind::Raw;
        return true;
    }
    return false;
}

std::unique_ptr<FrameWriter> CreateFrameWriter(const std::string& path, OutputKind kind, const StreamInfo& info,
                                               Ratio pixelAspect)
{
    if (kind == OutputKind::Y4m)
        return std::make_unique<Y4mWriter>(path, info, pixelAspect);
    if (kind == OutputKind::Bmp || kind == OutputKind::Png)
        return CreatePictureWriter(path, kind, info);
    return std::make_unique<RawWriter>(path, info);
}

// Without --to: the input's own format where the output holds it, else
// 4:2:0 for Y4M and RGB24 for pictures; RGB32 pictures keep their alpha.
PixelFormat DefaultOutputFormat(OutputKind kind, PixelFormat input)
{
    switch (kind) {
    case OutputKind::Y4m:
        return input == TulImage::COLOR_FORMAT_YUY2 || Is420Format(input) || input == TulImage::COLOR_FORMAT_VUYA
                   ? input
                   : TulImage::COLOR_FORMAT_YUV420;
    case OutputKind::Bmp:
    case OutputKind::Png:
        return input == TulImage::COLOR_FORMAT_RGB32 ? input : TulImage::COLOR_FORMAT_RGB24;
    case OutputKind::Raw:
        break;
    }
    return input;
}

int OutputStep(OutputKind kind, PixelFormat format, LONG width)
{
    // A bitmap's rows are the library's default RGB rows: bottom-up,
    // padded to 4 bytes.
    if (kind == OutputKind::Bmp)
        return TulImage::GetGenericStep(format, static_cast<ULONG>(width), 1);
    return TightStep(format, width);
}

}  // namespace tulrezzo
