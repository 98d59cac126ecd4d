// The two output formats: Y4M 4:2:2 (each YUY2 frame split into planes)
// and raw YUY2 (frames as they come).
#include "apps/tulrezzo/frame_writer.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/file_name.h"
#include "apps/tulrezzo/file_stream.h"
#include "apps/tulrezzo/y4m_header.h"
#include "platform/ipp/ippi.h"

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
        : RawWriter(path, info), m_size(info.size)
    {
        // "FRAME\n" then the Y, U and V planes: one write per frame.
        m_frame.resize(kFrameLine.size() + m_frameBytes);
        kFrameLine.copy(reinterpret_cast<char*>(m_frame.data()), kFrameLine.size());
        const std::string header = FormatY4mHeader(info, pixelAspect);
        if (!m_file.Write(header.data(), header.size()) || !m_file.Flush())
            throw Failure(m_file.ErrorMessage());
    }

    bool WriteFrame(const BYTE* yuy2) override
    {
        const int width = m_size.width;
        const int height = m_size.height;
        Ipp8u* y = m_frame.data() + kFrameLine.size();
        Ipp8u* planes[3] = {y, y + static_cast<std::size_t>(width) * height,
                            y + static_cast<std::size_t>(width) * height + static_cast<std::size_t>(width / 2) * height};
        int steps[3] = {width, width / 2, width / 2};
        if (ippiSplit422_8u_C2P3R(yuy2, width * 2, planes, steps, IppiSize{width, height}) != ippStsNoErr) {
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
    static constexpr std::string_view kFrameLine = "FRAME\n";
    FrameSize m_size;
    std::vector<BYTE> m_frame;
    std::string m_splitError;
};

}  // namespace

bool OutputKindOf(const std::string& path, OutputKind* kind)
{
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
    return std::make_unique<RawWriter>(path, info);
}

}  // namespace tulrezzo
