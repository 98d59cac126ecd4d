// Number parsing and ratio reduction for sizes, rates and aspects.
#include "apps/tulrezzo/numbers.h"

#include <limits>
#include <numeric>

namespace tulrezzo {

bool ParseNumber(std::string_view text, LONG* value)
{
    if (text.empty() || text.size() > 10)
        return false;
    std::int64_t result = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        result = result * 10 + (c - '0');
    }
    if (result > std::numeric_limits<LONG>::max())
        return false;
    *value = static_cast<LONG>(result);
    return true;
}

bool ParsePair(std::string_view text, std::string_view separators, LONG* first, LONG* second)
{
    const std::size_t at = text.find_first_of(separators);
    if (at == std::string_view::npos)
        return false;
    LONG a = 0;
    LONG b = 0;
    if (!ParseNumber(text.substr(0, at), &a) || !ParseNumber(text.substr(at + 1), &b))
        return false;
    *first = a;
    *second = b;
    return true;
}

std::string FrameSizeProblem(FrameSize size)
{
    if (size.width <= 0 || size.height <= 0)
        return "width and height must be at least 1";
    if (size.width > kMaxDimension || size.height > kMaxDimension)
        return "larger than " + std::to_string(kMaxDimension) + "x" + std::to_string(kMaxDimension);
    if (size.width % 2 != 0)
        return "width must be even (YUY2 stores pixels in pairs)";
    return {};
}

Ratio ReduceRatio(std::int64_t num, std::int64_t den)
{
    const std::int64_t common = std::gcd(num, den);
    if (common > 1) {
        num /= common;
        den /= common;
    }
    constexpr std::int64_t limit = std::numeric_limits<LONG>::max();
    while (num > limit || den > limit) {
        num = (num + 1) / 2;
        den = (den + 1) / 2;
    }
    return {static_cast<LONG>(num), static_cast<LONG>(den)};
}

std::string FormatSize(FrameSize size) { return std::to_string(size.width) + "x" + std::to_string(size.height); }

}  // namespace tulrezzo
