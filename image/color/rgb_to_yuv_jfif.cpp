// Shifted-straight RGB24 and RGB32 to YUV420, YV12 and YUY2: each
// component raised by 16 with saturation, the JFIF equations rounded to 8
// bits, then the chroma reduced 2:1 by the JPEG box filters with their
// alternating bias. Each row goes through exactly those primitives' rows
// (AddC, BGRToYCbCr_JPEG, SampleDown, Join422) in one pass, over a few
// rows of scratch allocated once per call.
#include "image/color/rgb_to_yuv.h"

#include "image/color/kernel_table.h"
#include "platform/ipp/add_c.h"
#include "platform/ipp/sample_down.h"
#include "platform/ipp/split_join422.h"
#include "platform/ipp/to_ycbcr_rows.h"

#include <vector>

namespace tul::color {
namespace {

class JfifRows {
public:
    JfifRows(int width, int bytesPerPixel)
        : m_bytes(bytesPerPixel), m_scratch(static_cast<std::size_t>(width) * 8 + 2 * ((width + 1) / 2)),
          m_join(tulipp::kJoin422Rows.Active())
    {
        const std::size_t w = static_cast<std::size_t>(width);
        m_bgr = m_scratch.data();
        m_y = m_bgr + 3 * w;
        for (int i = 0; i < 4; ++i)
            m_chroma[i] = m_y + w * (1 + i);
        m_half[0] = m_chroma[3] + w;
        m_half[1] = m_half[0] + (width + 1) / 2;
    }

    void Pair(const Ipp8u* r0, const Ipp8u* r1, Ipp8u* y0, Ipp8u* y1, Ipp8u* u, Ipp8u* v, int w) const
    {
        Convert(r0, y0, m_chroma[0], m_chroma[1], w);
        Convert(r1, y1, m_chroma[2], m_chroma[3], w);
        tulipp::SampleDownH2V2Row(m_chroma[0], m_chroma[2], w, u, w / 2);
        tulipp::SampleDownH2V2Row(m_chroma[1], m_chroma[3], w, v, w / 2);
    }

    void Luma(const Ipp8u* r, Ipp8u* y, int w) const { Convert(r, y, m_chroma[0], m_chroma[1], w); }

    // An odd width's lone pixel takes the chroma of the pair before it
    // (its own, when it is alone) and its Y twice, filling its group.
    void Yuy2(const Ipp8u* r, Ipp8u* d, int w) const
    {
        Convert(r, m_y, m_chroma[0], m_chroma[1], w);
        const int half = (w + 1) / 2;
        for (int c = 0; c < 2; ++c) {
            tulipp::SampleDownH2V1Row(m_chroma[c], w, m_half[c], half);
            if (w % 2 != 0 && w > 1)
                m_half[c][half - 1] = m_half[c][half - 2];
        }
        m_join(m_y, m_half[0], m_half[1], d, w);
        if (w % 2 != 0) {
            d[2 * w] = m_y[w - 1];
            d[2 * w + 1] = m_half[1][half - 1];
        }
    }

private:
    // The pixel row raised by 16 (RGB32 first drops its fourth byte), then
    // the JFIF equations.
    void Convert(const Ipp8u* row, Ipp8u* y, Ipp8u* cb, Ipp8u* cr, int w) const
    {
        static constexpr Ipp8u kRaise[3] = {16, 16, 16};
        if (m_bytes == 4) {
            for (int x = 0; x < w; ++x)
                for (int k = 0; k < 3; ++k)
                    m_bgr[3 * x + k] = row[4 * x + k];
            row = m_bgr;
        }
        tulipp::AddC3Row(row, kRaise, m_bgr, w, 0);
        tulipp::BgrToYCbCrJpegRow(m_bgr, y, cb, cr, w);
    }

    int m_bytes;
    std::vector<Ipp8u> m_scratch;
    Ipp8u *m_bgr, *m_y, *m_chroma[4], *m_half[2];
    tulipp::Join422RowFn m_join;
};

}  // namespace

void VexoShiftedStraightRGB24ToYUV420(const KernelCall& c) { rgb_to_yuv::To420(c, JfifRows(c.width, 3), false); }
void VexoShiftedStraightRGB24ToYV12(const KernelCall& c) { rgb_to_yuv::To420(c, JfifRows(c.width, 3), true); }
void VexoShiftedStraightRGB24ToCCIR601YUY2(const KernelCall& c) { rgb_to_yuv::ToYuy2(c, JfifRows(c.width, 3)); }
void VexoShiftedStraightRGB32ToYUV420(const KernelCall& c) { rgb_to_yuv::To420(c, JfifRows(c.width, 4), false); }
void VexoShiftedStraightRGB32ToYV12(const KernelCall& c) { rgb_to_yuv::To420(c, JfifRows(c.width, 4), true); }
void VexoShiftedStraightRGB32ToCCIR601YUY2(const KernelCall& c) { rgb_to_yuv::ToYuy2(c, JfifRows(c.width, 4)); }

}  // namespace tul::color
