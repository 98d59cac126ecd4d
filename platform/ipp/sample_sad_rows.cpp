// The scalar row of the sampled sums of absolute differences.
#include "platform/ipp/sample_sad_rows.h"

namespace tulipp {

template <int Apart>
std::uint64_t SampleSadRowScalar(const Ipp8u* a, const Ipp8u* b, std::int64_t bytes)
{
    std::uint64_t sum = 0;
    for (std::int64_t k = 0; k < bytes; k += Apart)
        sum += static_cast<std::uint64_t>(a[k] > b[k] ? a[k] - b[k] : b[k] - a[k]);
    return sum;
}

template std::uint64_t SampleSadRowScalar<8>(const Ipp8u*, const Ipp8u*, std::int64_t);
template std::uint64_t SampleSadRowScalar<16>(const Ipp8u*, const Ipp8u*, std::int64_t);

}  // namespace tulipp
