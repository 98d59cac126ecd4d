// The refusals every two-picture image primitive shares, in the order the
// primitives check them: a null picture (ahead of the size), an empty or
// negative size (ahead of the steps), a step at or below zero, then a
// destination step one byte short of its row (rows written over each
// other). Each refusal writes nothing.
#pragma once

#include "platform/ipp/ippi.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <vector>

namespace tultest {

// `call(src, srcStep, dst, dstStep, roi)` on a 4 x 2 picture whose source
// rows are `srcRow` bytes and destination rows `dstRow` bytes long.
template <class Call>
void ExpectRefusals(Call call, int srcRow, int dstRow)
{
    GuardedBuffer src(512, 1), dst(512, 2);
    Ipp8u *const s = src.data(), *const d = dst.data();
    const IppiSize roi{4, 2};
    SCOPED_TRACE(::testing::Message() << "rows " << srcRow << ", " << dstRow);
    EXPECT_EQ(call(nullptr, srcRow, d, dstRow, roi), ippStsNullPtrErr);
    EXPECT_EQ(call(s, srcRow, nullptr, dstRow, IppiSize{0, 0}), ippStsNullPtrErr);
    EXPECT_EQ(call(s, srcRow, d, dstRow, IppiSize{0, 2}), ippStsSizeErr);
    EXPECT_EQ(call(s, 0, d, dstRow, IppiSize{4, -1}), ippStsSizeErr);
    EXPECT_EQ(call(s, 0, d, dstRow, roi), ippStsStepErr);
    EXPECT_EQ(call(s, srcRow, d, -dstRow, roi), ippStsStepErr);
    EXPECT_EQ(call(s, srcRow, d, dstRow - 1, roi), ippStsStrideErr);
    EXPECT_EQ(dst.Bytes(), std::vector<Ipp8u>(512, 2));
    EXPECT_TRUE(dst.GuardsIntact());
}

}  // namespace tultest
