// Raw YUY2: frames of width x height x 2 bytes back to back.
#include "apps/tulrezzo/raw_reader.h"

namespace tulrezzo {

RawReader::RawReader(const std::string& path, const StreamInfo& info) : m_file(path), m_info(info) {}

ReadOutcome RawReader::ReadFrame(BYTE* dst)
{
    const std::size_t want = m_info.FrameBytes();
    const std::size_t got = m_file.Read(dst, want);
    if (got == want) {
        ++m_framesRead;
        return {ReadStatus::Frame, {}};
    }
    if (m_file.Failed())
        return {ReadStatus::Failed, m_file.ReadErrorMessage()};
    if (got == 0)
        return {ReadStatus::End, {}};
    return {ReadStatus::Truncated, m_file.Name() + ": frame " + std::to_string(m_framesRead + 1) +
                                       " is truncated (" + std::to_string(got) + " of " + std::to_string(want) +
                                       " bytes)"};
}

}  // namespace tulrezzo
