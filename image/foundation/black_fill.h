// The black of a packed YUY2 picture, Y 0 and U = V = 127, as one 32-bit
// word (bytes 00 7F 00 7F in memory), and a row fill with it.
#pragma once

#include <cstdint>
#include <cstring>

namespace tul {

constexpr std::uint32_t kYuy2BlackWord = 0x7F007F00u;

// Stores `words` copies of `word` (little-endian) from `dst`.
inline void FillWords(unsigned char* dst, std::uint32_t word, unsigned int words)
{
    for (unsigned int i = 0; i < words; ++i)
        std::memcpy(dst + 4 * static_cast<std::size_t>(i), &word, 4);
}

}  // namespace tul
