// kernel32's MulDiv on a 64-bit intermediate.
#include "platform/win32/muldiv.h"

#include <cstdint>
#include <limits>

int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    // Round half away from zero: add half the divisor in the product's direction.
    const bool negative = (product < 0) != (denominator < 0);
    std::int64_t den = denominator;
    std::int64_t absProduct = product < 0 ? -product : product;
    std::int64_t absDen = den < 0 ? -den : den;
    std::int64_t q = (absProduct + absDen / 2) / absDen;
    if (negative)
        q = -q;
    if (q > std::numeric_limits<int>::max() || q < std::numeric_limits<int>::min())
        return -1;
    return static_cast<int>(q);
}
