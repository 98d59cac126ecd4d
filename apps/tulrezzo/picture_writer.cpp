// One file a frame, written whole and closed before the next frame.
#include "apps/tulrezzo/picture_writer.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/bmp_writer.h"
#include "apps/tulrezzo/file_stream.h"
#include "apps/tulrezzo/png_writer.h"

namespace tulrezzo {

namespace {

class PictureWriter : public FrameWriter {
public:
    PictureWriter(const std::string& pattern, OutputKind kind, const StreamInfo& info)
        : m_pattern(pattern), m_kind(kind), m_info(info)
    {
        std::string problem;
        ParseNumberedName(pattern, &m_name, &problem);
    }

    bool WriteFrame(const BYTE* frame) override
    {
        ++m_frames;
        if (m_frames > 1 && !m_name.numbered) {
            m_error = "'" + m_pattern + "' holds one picture and the input has more frames: name the pictures "
                      "with a number, e.g. frame-%04d" + m_pattern.substr(m_pattern.size() - 4) +
                      ", or take one with --frames 1";
            return false;
        }
        const std::string path = NameOfFrame(m_name, m_frames);
        const LONG width = m_info.size.width;
        const LONG height = m_info.size.height;
        const bool alpha = m_info.format == TulImage::COLOR_FORMAT_RGB32;
        if (m_kind == OutputKind::Png)
            return WritePng(path, frame, width, height, m_info.Step(), alpha, &m_error);
        const std::vector<BYTE> headers = BmpHeaders(width, height, alpha ? 32 : 24);
        try {
            OutputFile out(path);
            if (!out.Write(headers.data(), headers.size()) || !out.Write(frame, m_info.FrameBytes()) ||
                !out.Close()) {
                m_error = out.ErrorMessage();
                return false;
            }
        } catch (const AppError& e) {
            m_error = e.what();
            return false;
        }
        return true;
    }
    bool Finish() override { return true; }
    const std::string& ErrorMessage() const override { return m_error; }

private:
    std::string m_pattern;
    NumberedName m_name;
    OutputKind m_kind;
    StreamInfo m_info;
    ULONG m_frames = 0;
    std::string m_error;
};

}  // namespace

std::unique_ptr<FrameWriter> CreatePictureWriter(const std::string& pattern, OutputKind kind, const StreamInfo& info)
{
    return std::make_unique<PictureWriter>(pattern, kind, info);
}

}  // namespace tulrezzo
