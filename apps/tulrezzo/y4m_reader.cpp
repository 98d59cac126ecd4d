// Y4M frames: a "FRAME" line, then the Y plane (W x H), the U plane and
// the V plane (W/2 x H each for 4:2:2, W/2 x H/2 for 4:2:0, which is the
// library's I420 layout as it stands).
#include "apps/tulrezzo/y4m_reader.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/y4m_header.h"
#include "platform/ipp/ippi.h"

namespace tulrezzo {

namespace {

// Longer lines are not Y4M; the limit keeps a wrong file from being read
// whole into memory before it is refused.
constexpr std::size_t kMaxHeaderLine = 4096;
constexpr std::size_t kMaxFrameHeader = 1024;
constexpr std::size_t kJoinSlack = 64;

}  // namespace

Y4mReader::Y4mReader(const std::string& path, bool toYuy2) : m_file(path)
{
    try {
        m_info = ParseY4mHeader(ReadHeaderLine());
    } catch (const AppError& e) {
        throw Failure(m_file.Name() + ": " + e.what());
    }
    m_stored = m_info.format;
    if (toYuy2)
        m_info.format = TulImage::COLOR_FORMAT_YUY2;
}

std::string Y4mReader::ReadHeaderLine()
{
    std::string line;
    for (;;) {
        const int c = m_file.ReadByte();
        if (c == EOF) {
            if (m_file.Failed())
                throw Failure(m_file.ReadErrorMessage());
            if (line.empty())
                throw Failure("the input is empty: no Y4M header");
            throw Failure("the input ends inside its Y4M header");
        }
        if (c == '\n')
            return line;
        line.push_back(static_cast<char>(c));
        if (line.size() == kY4mMagic.size() && line != kY4mMagic)
            throw Failure("not a Y4M stream: it does not begin with YUV4MPEG2");
        if (line.size() > kMaxHeaderLine)
            throw Failure("Y4M header: longer than " + std::to_string(kMaxHeaderLine) + " bytes");
    }
}

std::string Y4mReader::FrameName() const { return "frame " + std::to_string(m_framesRead + 1); }

ReadOutcome Y4mReader::ReadFrameHeader()
{
    std::string line;
    for (;;) {
        const int c = m_file.ReadByte();
        if (c == EOF) {
            if (m_file.Failed())
                return {ReadStatus::Failed, m_file.ReadErrorMessage()};
            if (line.empty())
                return {ReadStatus::End, {}};
            return {ReadStatus::Truncated, m_file.Name() + ": the input ends inside the header of " + FrameName()};
        }
        if (c == '\n')
            break;
        line.push_back(static_cast<char>(c));
        if (line.size() > kMaxFrameHeader)
            break;
    }
    const bool framed = line.compare(0, kY4mFrameMagic.size(), kY4mFrameMagic) == 0 &&
                        (line.size() == kY4mFrameMagic.size() || line[kY4mFrameMagic.size()] == ' ');
    if (!framed || line.size() > kMaxFrameHeader)
        return {ReadStatus::Failed, m_file.Name() + ": " + FrameName() + " does not begin with a FRAME header"};
    return {ReadStatus::Frame, {}};
}

ReadOutcome Y4mReader::ReadFrame(BYTE* dst)
{
    ReadOutcome header = ReadFrameHeader();
    if (header.status != ReadStatus::Frame)
        return header;
    // 4:2:0 kept as it is goes straight to the caller.
    const bool asStored = m_stored == m_info.format && m_stored != TulImage::COLOR_FORMAT_YUY2;
    const std::size_t want = PictureBytes(m_stored, m_info.size, 0);
    // The stored frame is held only once a frame arrives, so a header alone
    // (or 4:2:0 kept as it is) costs no frame of memory. Slack after the V
    // plane: the vector join loads whole 16-byte chroma blocks and may look
    // a few bytes past the last one it uses.
    if (!asStored && m_planes.empty())
        m_planes.resize(want + kJoinSlack);
    BYTE* planesAt = asStored ? dst : m_planes.data();
    const std::size_t got = m_file.Read(planesAt, want);
    if (got < want) {
        if (m_file.Failed())
            return {ReadStatus::Failed, m_file.ReadErrorMessage()};
        return {ReadStatus::Truncated, m_file.Name() + ": " + FrameName() + " is truncated (" + std::to_string(got) +
                                           " of " + std::to_string(want) + " bytes)"};
    }
    const int width = m_info.size.width;
    const int height = m_info.size.height;
    if (asStored) {
        ++m_framesRead;
        return {ReadStatus::Frame, {}};
    }
    if (m_stored != TulImage::COLOR_FORMAT_YUY2) {
        // The library's own 4:2:0 to 4:2:2 kernel; an interlaced stream's
        // chroma rows belong to their fields and are taken per field.
        ULONG size = m_info.FrameBytes();
        if (TulImage::YUV420ToCCIR601YUY2(m_planes.data(), dst, &size, static_cast<ULONG>(width),
                                          static_cast<ULONG>(height), width, width * 2,
                                          !m_info.Interlaced()) != TulImage::TUL_SUCCESS)
            return {ReadStatus::Failed, m_file.Name() + ": " + FrameName() + " could not be converted to YUY2"};
        ++m_framesRead;
        return {ReadStatus::Frame, {}};
    }
    const Ipp8u* planes[3] = {m_planes.data(), m_planes.data() + static_cast<std::size_t>(width) * height,
                              m_planes.data() + static_cast<std::size_t>(width) * height +
                                  static_cast<std::size_t>(width / 2) * height};
    int steps[3] = {width, width / 2, width / 2};
    if (ippiJoin422_8u_P3C2R(planes, steps, dst, width * 2, IppiSize{width, height}) != ippStsNoErr)
        return {ReadStatus::Failed, m_file.Name() + ": " + FrameName() + " could not be converted to YUY2"};
    ++m_framesRead;
    return {ReadStatus::Frame, {}};
}

}  // namespace tulrezzo
