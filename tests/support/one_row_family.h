// The conformance adapter of every row family that turns one input row
// into one output row, each counted in groups of pixels (YUY2: 4 bytes
// per 2 pixels; RGB24: 3 bytes per pixel), the input holding exactly the
// groups the row's pixels touch so a read past it trips the guards.
#pragma once

#include "tests/support/simd_conformance.h"

namespace tultest {

template <typename Fn>
struct OneRowFamily {
    using Row = Fn;
    using Inputs = RowInput<Ipp8u>;
    tulipp::RowSet<Row> rows;
    int inBytes, outBytes;            // a group's bytes
    int inPixels = 1, outPixels = 1;  // a group's pixels
    int lanes = 16;
    int variants = 1;
    static std::size_t Groups(int n, int pixels) { return std::size_t((n + pixels - 1) / pixels); }
    Inputs Make(int n, int, int offset, std::mt19937& rng) const
    {
        return RandomRowInput<Ipp8u>(std::size_t(inBytes) * Groups(n, inPixels), offset, rng, 0, 255);
    }
    std::vector<RowOutput> Outputs(const Inputs&, int n) const { return {{std::size_t(outBytes), Groups(n, outPixels)}}; }
    void Call(Row row, const Inputs& in, void* const* out, int n) const { row(in.data(), static_cast<Ipp8u*>(out[0]), n); }
};

}  // namespace tultest
