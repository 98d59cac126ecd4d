// Conversion into the output's layout, then the writer.
#include "apps/tulrezzo/output_stage.h"

#include "apps/tulrezzo/y4m_header.h"

namespace tulrezzo {

OutputStage::OutputStage(const StreamInfo& working, PixelFormat stored, const std::string& output, OutputKind kind,
                         const PixelFormat* format)
{
    StreamInfo out = working;
    out.format = format != nullptr ? *format : DefaultOutputFormat(kind, stored);
    out.step = OutputStep(kind, out.format, out.size.width);
    m_convert = std::make_unique<FrameConverter>(working, out, "the frames");
    m_writer = CreateFrameWriter(output, kind, out, PixelAspectFromPictureAspect(out.size, out.pictureAspect));
}

bool OutputStage::Write(const BYTE* frame)
{
    const BYTE* converted = m_convert->Run(frame);
    if (converted == nullptr) {
        m_error = "a frame could not be converted for the output";
        return false;
    }
    if (!m_writer->WriteFrame(converted)) {
        m_error = m_writer->ErrorMessage();
        return false;
    }
    return true;
}

bool OutputStage::Finish()
{
    if (m_writer->Finish())
        return true;
    if (m_error.empty())
        m_error = m_writer->ErrorMessage();
    return false;
}

}  // namespace tulrezzo
