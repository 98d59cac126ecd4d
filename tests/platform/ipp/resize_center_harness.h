// Runs one ippiResizeCenter_8u_* call on random pictures with guard zones
// and compares the outcome with the plain model, or across levels.
#pragma once

#include "platform/ipp/ippi.h"
#include "tests/platform/ipp/resize_center_model.h"
#include "tests/support/picture.h"
#include "tests/support/simd_levels.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <vector>

namespace tultest {

using ResizeCenterFn = IppStatus (*)(const Ipp8u*, IppiSize, int, IppiRect, Ipp8u*, int, IppiSize, double, double,
                                     double, double, int);

inline ResizeCenterFn CenterFn(int channels)
{
    return channels == 1 ? ippiResizeCenter_8u_C1R : channels == 3 ? ippiResizeCenter_8u_C3R : ippiResizeCenter_8u_C4R;
}

// A call over the whole source picture.
inline CenterCall WholeCall(int channels, IppiSize src, IppiSize dst, double xFactor, double yFactor, double xCenter,
                            double yCenter, int interpolation)
{
    return CenterCall{channels, src, {0, 0, src.width, src.height}, dst, xFactor, yFactor, xCenter, yCenter,
                      interpolation};
}

struct CenterRun {
    IppStatus status = ippStsNoErr;
    int srcStep = 0;
    int dstStep = 0;
    std::vector<unsigned char> src;     // the source image, srcStep per row
    std::vector<unsigned char> before;  // destination before the call
    std::vector<unsigned char> after;   // and after
    bool guardsIntact = true;
};

// srcPad/dstPad: bytes added to each step; misalign: bytes the pictures
// start past their (unaligned) buffers. The source is a heap block that
// ends with its last row, so the sanitizer build catches any read past the
// picture; the destination has guard bytes.
inline CenterRun RunCenter(const CenterCall& call, int srcPad, int dstPad, int misalign, std::uint32_t seed)
{
    CenterRun run;
    run.srcStep = call.srcSize.width * call.channels + srcPad;
    run.dstStep = call.dstSize.width * call.channels + dstPad;
    const std::size_t srcBytes = static_cast<std::size_t>(run.srcStep) * call.srcSize.height;
    const std::size_t dstBytes = static_cast<std::size_t>(run.dstStep) * call.dstSize.height;
    std::vector<unsigned char> src(srcBytes + misalign);
    GuardedBuffer dst(dstBytes + misalign);
    FillRandom(src.data(), src.size(), seed);
    FillRandom(dst, seed ^ 0x9e3779b9u);
    const unsigned char* s = src.data() + misalign;
    unsigned char* d = dst.data() + misalign;
    run.src.assign(s, s + srcBytes);
    run.before.assign(d, d + dstBytes);
    run.status = CenterFn(call.channels)(s, call.srcSize, run.srcStep, call.srcRoi, d, run.dstStep, call.dstSize,
                                         call.xFactor, call.yFactor, call.xCenter, call.yCenter,
                                         call.interpolation);
    run.after.assign(d, d + dstBytes);
    run.guardsIntact = dst.GuardsIntact();
    return run;
}

inline std::string Describe(const CenterCall& c)
{
    std::ostringstream o;
    o << "C" << c.channels << " interp " << c.interpolation << " src " << c.srcSize.width << "x" << c.srcSize.height
      << " roi {" << c.srcRoi.x << "," << c.srcRoi.y << "," << c.srcRoi.width << "," << c.srcRoi.height << "} dst "
      << c.dstSize.width << "x" << c.dstSize.height << " factors " << c.xFactor << "," << c.yFactor << " centre "
      << c.xCenter << "," << c.yCenter;
    return o.str();
}

// The same random pictures (same seed) give the same bytes at every level
// up to the processor's, with guards intact.
inline ::testing::AssertionResult SameAtEveryLevel(const CenterCall& c, int srcPad, int dstPad, int misalign,
                                                   std::uint32_t seed)
{
    CenterRun scalar;
    for (tulipp::SimdLevel level : AvailableSimdLevels()) {
        ScopedSimdLevel scoped(level);
        const CenterRun run = RunCenter(c, srcPad, dstPad, misalign, seed);
        const auto failure = [&] {
            return ::testing::AssertionFailure() << SimdLevelName(level) << " " << Describe(c);
        };
        if (run.status != ippStsNoErr)
            return failure() << ": status " << run.status;
        if (!run.guardsIntact)
            return failure() << ": guard bytes changed";
        if (level == tulipp::SimdLevel::Scalar)
            scalar = run;
        else if (const auto same = SameBytes(scalar.after, run.after); !same)
            return failure() << ": " << same.message();
    }
    return ::testing::AssertionSuccess();
}

// Written pixels within `tolerance` of the model's rounded value, every
// other byte (outside the written rectangle, row padding) untouched.
inline ::testing::AssertionResult MatchesModel(const CenterCall& call, const CenterRun& run, int tolerance)
{
    if (run.status != ippStsNoErr)
        return ::testing::AssertionFailure() << "status " << run.status;
    if (!run.guardsIntact)
        return ::testing::AssertionFailure() << "guard bytes changed";
    const CenterModel model(call, run.src.data(), run.srcStep);
    const std::vector<unsigned char> expected = model.Expected(run.before.data(), run.dstStep);
    const WrittenRect& rect = model.Rect();
    for (int y = 0; y < call.dstSize.height; ++y) {
        for (int b = 0; b < run.dstStep; ++b) {
            const std::size_t at = static_cast<std::size_t>(y) * run.dstStep + b;
            const int x = b / call.channels;
            const bool written = b < call.dstSize.width * call.channels && rect.Contains(x, y);
            const int diff = std::abs(int(expected[at]) - int(run.after[at]));
            if (diff > (written ? tolerance : 0)) {
                return ::testing::AssertionFailure()
                       << (written ? "written" : "untouched") << " pixel (" << x << ", " << y << ") channel "
                       << b % call.channels << ": expected " << int(expected[at]) << ", got " << int(run.after[at])
                       << " (rect x " << rect.x0 << ".." << rect.x1 << ", y " << rect.y0 << ".." << rect.y1 << ")";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace tultest
