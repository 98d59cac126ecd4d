// RGB24 and RGB32 to YUV420, YV12 and YUY2 (BT.601 studio range): one
// pass from source rows to destination rows through the primitives' row
// equations (platform/ipp/to_ycbcr_rows.h: exact integers rounded half up
// once, chroma of the block's or pair's exact average), on the fastest
// instruction set the processor has.
#include "image/color/rgb_to_yuv.h"

#include "image/color/kernel_table.h"
#include "platform/ipp/to_ycbcr_rows.h"

namespace tul::color {
namespace {

struct PlainRows {
    tulipp::Rows420Fn pair;
    tulipp::LumaRowFn luma;
    tulipp::Yuy2RowFn yuy2;
    void Pair(const Ipp8u* r0, const Ipp8u* r1, Ipp8u* y0, Ipp8u* y1, Ipp8u* u, Ipp8u* v, int w) const
    {
        pair(r0, r1, y0, y1, u, v, w);
    }
    void Luma(const Ipp8u* r, Ipp8u* y, int w) const { luma(r, y, w); }
    void Yuy2(const Ipp8u* r, Ipp8u* d, int w) const { yuy2(r, d, w); }
};

PlainRows Bgr3() { return {tulipp::kRows420Bgr3.Active(), tulipp::LumaRowScalar<tulipp::ycc::Bgr3>, tulipp::kYuy2RowsBgr3.Active()}; }
PlainRows Bgr4() { return {tulipp::kRows420Bgr4.Active(), tulipp::LumaRowScalar<tulipp::ycc::Bgr4>, tulipp::kYuy2RowsBgr4.Active()}; }

}  // namespace

void RGB24ToYUV420(const KernelCall& c) { rgb_to_yuv::To420(c, Bgr3(), false); }
void RGB24ToYV12(const KernelCall& c) { rgb_to_yuv::To420(c, Bgr3(), true); }
void RGB24ToCCIR601YUY2(const KernelCall& c) { rgb_to_yuv::ToYuy2(c, Bgr3()); }
void RGB32ToYUV420(const KernelCall& c) { rgb_to_yuv::To420(c, Bgr4(), false); }
void RGB32ToYV12(const KernelCall& c) { rgb_to_yuv::To420(c, Bgr4(), true); }
void RGB32ToCCIR601YUY2(const KernelCall& c) { rgb_to_yuv::ToYuy2(c, Bgr4()); }

}  // namespace tul::color
