// ippiAlphaCompC_8u_C1R/_C3R/_C4R (constant alphas) and
// ippiAlphaComp_8u_AC4R (each pixel's own alpha): the scalar rows every
// faster path must match, and the argument checks.
#include "platform/ipp/alpha_comp_rows.h"
#include "platform/ipp/ippi.h"
#include "platform/ipp/row_access.h"

namespace tulipp {

// Each result is computed from its inputs before it is stored, so the
// destination may be either source (in place).
void AlphaCompConstRowScalar(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int bytes, int kA, int kB)
{
    for (int i = 0; i < bytes; ++i)
        dst[i] = AlphaMix(kA, kB, fg[i], bg[i]);
}

void AlphaCompScaledRowScalar(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int bytes, int a, int b)
{
    for (int i = 0; i < bytes; ++i)
        dst[i] = AlphaMixScaled(a, b, fg[i], bg[i]);
}

void AlphaCompPixelRowScalar(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int pixels, const AlphaRule& rule)
{
    const int alphaIn = rule.opaqueAlphaInputs ? 255 : -1;
    for (int x = 0; x < pixels; ++x) {
        const int a = fg[4 * x + 3], b = bg[4 * x + 3];
        const int kA = rule.KA(a, b), kB = rule.KB(a, b);
        const Ipp8u c0 = AlphaMix(kA, kB, fg[4 * x], bg[4 * x]);
        const Ipp8u c1 = AlphaMix(kA, kB, fg[4 * x + 1], bg[4 * x + 1]);
        const Ipp8u c2 = AlphaMix(kA, kB, fg[4 * x + 2], bg[4 * x + 2]);
        const Ipp8u c3 = alphaIn < 0 ? AlphaMix(kA, kB, a, b) : AlphaMix(kA, kB, alphaIn, alphaIn);
        dst[4 * x] = c0;
        dst[4 * x + 1] = c1;
        dst[4 * x + 2] = c2;
        dst[4 * x + 3] = c3;
    }
}

void AlphaOverRgb24RowScalar(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int pixels)
{
    for (int x = 0; x < pixels; ++x) {
        const int a = fg[4 * x + 3];
        const Ipp8u c0 = AlphaMixScaled(a, 255 - a, fg[4 * x], bg[3 * x]);
        const Ipp8u c1 = AlphaMixScaled(a, 255 - a, fg[4 * x + 1], bg[3 * x + 1]);
        const Ipp8u c2 = AlphaMixScaled(a, 255 - a, fg[4 * x + 2], bg[3 * x + 2]);
        dst[3 * x] = c0;
        dst[3 * x + 1] = c1;
        dst[3 * x + 2] = c2;
    }
}

namespace {

// Null pointers, then size, steps and written rows that would overlap,
// then the compositing type.
IppStatus CheckComposite(const Ipp8u* s1, int s1Step, const Ipp8u* s2, int s2Step, const Ipp8u* d, int dStep,
                         IppiSize roi, int pixelBytes, IppiAlphaType type)
{
    if (AnyNull(s1, s2, d))
        return ippStsNullPtrErr;
    const std::int64_t row = RoiRowBytes(roi, pixelBytes);
    if (row == 0)
        return ippStsSizeErr;
    if (BadStep(s1Step, s2Step, dStep))
        return ippStsStepErr;
    if (RowsOverlap(dStep, row, roi.height))
        return ippStsStrideErr;
    if (static_cast<int>(type) < 0 || static_cast<int>(type) > 11)
        return ippStsAlphaTypeErr;
    return ippStsNoErr;
}

IppStatus CompositeConst(const Ipp8u* s1, int s1Step, Ipp8u a, const Ipp8u* s2, int s2Step, Ipp8u b, Ipp8u* d,
                         int dStep, IppiSize roi, IppiAlphaType type, int channels)
{
    const IppStatus status = CheckComposite(s1, s1Step, s2, s2Step, d, dStep, roi, channels, type);
    if (status != ippStsNoErr)
        return status;
    const AlphaRule& rule = kAlphaRules[type];
    const int kA = rule.KA(a, b), kB = rule.KB(a, b);
    const int bytes = roi.width * channels;
    if (ScaledAlphas(kA, kB)) {
        const AlphaCompScaledRowFn row = kAlphaCompScaledRows.Active();
        for (int y = 0; y < roi.height; ++y)
            row(RowAt(s1, s1Step, y), RowAt(s2, s2Step, y), RowAt(d, dStep, y), bytes, kA / 255, kB / 255);
        return ippStsNoErr;
    }
    const AlphaCompConstRowFn row = kAlphaCompConstRows.Active();
    for (int y = 0; y < roi.height; ++y)
        row(RowAt(s1, s1Step, y), RowAt(s2, s2Step, y), RowAt(d, dStep, y), bytes, kA, kB);
    return ippStsNoErr;
}

}  // namespace
}  // namespace tulipp

using namespace tulipp;

extern "C" {

IppStatus ippiAlphaCompC_8u_C1R(const Ipp8u* pSrc1, int src1Step, Ipp8u alpha1, const Ipp8u* pSrc2, int src2Step,
                                Ipp8u alpha2, Ipp8u* pDst, int dstStep, IppiSize roiSize, IppiAlphaType alphaType)
{
    return CompositeConst(pSrc1, src1Step, alpha1, pSrc2, src2Step, alpha2, pDst, dstStep, roiSize, alphaType, 1);
}

IppStatus ippiAlphaCompC_8u_C3R(const Ipp8u* pSrc1, int src1Step, Ipp8u alpha1, const Ipp8u* pSrc2, int src2Step,
                                Ipp8u alpha2, Ipp8u* pDst, int dstStep, IppiSize roiSize, IppiAlphaType alphaType)
{
    return CompositeConst(pSrc1, src1Step, alpha1, pSrc2, src2Step, alpha2, pDst, dstStep, roiSize, alphaType, 3);
}

IppStatus ippiAlphaCompC_8u_C4R(const Ipp8u* pSrc1, int src1Step, Ipp8u alpha1, const Ipp8u* pSrc2, int src2Step,
                                Ipp8u alpha2, Ipp8u* pDst, int dstStep, IppiSize roiSize, IppiAlphaType alphaType)
{
    return CompositeConst(pSrc1, src1Step, alpha1, pSrc2, src2Step, alpha2, pDst, dstStep, roiSize, alphaType, 4);
}

IppStatus ippiAlphaComp_8u_AC4R(const Ipp8u* pSrc1, int src1Step, const Ipp8u* pSrc2, int src2Step, Ipp8u* pDst,
                                int dstStep, IppiSize roiSize, IppiAlphaType alphaType)
{
    const IppStatus status = CheckComposite(pSrc1, src1Step, pSrc2, src2Step, pDst, dstStep, roiSize, 4, alphaType);
    if (status != ippStsNoErr)
        return status;
    const AlphaRule& rule = kAlphaRules[alphaType];
    const AlphaCompPixelRowFn row = kAlphaCompPixelRows.Active();
    for (int y = 0; y < roiSize.height; ++y)
        row(RowAt(pSrc1, src1Step, y), RowAt(pSrc2, src2Step, y), RowAt(pDst, dstStep, y), roiSize.width, rule);
    return ippStsNoErr;
}

}  // extern "C"
