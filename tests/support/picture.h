// Test helpers shared by every suite: a buffer with guard zones,
// deterministic random fill, and a byte comparison that names the first
// differing row and column.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tultest {

// Bytes laid around every buffer so that writes past either end show up as
// changed guard bytes even without a sanitizer.
constexpr std::size_t kGuard = 64;
constexpr unsigned char kGuardByte = 0xA5;

// A block of `bytes` with guard zones; data() points past the front guard.
class GuardedBuffer {
public:
    explicit GuardedBuffer(std::size_t bytes, unsigned char fill = 0)
        : m_bytes(bytes), m_store(bytes + 2 * kGuard, kGuardByte)
    {
        std::fill(m_store.begin() + kGuard, m_store.begin() + kGuard + bytes, fill);
    }
    unsigned char* data() { return m_store.data() + kGuard; }
    const unsigned char* data() const { return m_store.data() + kGuard; }
    std::size_t size() const { return m_bytes; }
    unsigned char& operator[](std::size_t i) { return data()[i]; }
    unsigned char operator[](std::size_t i) const { return data()[i]; }
    bool GuardsIntact() const
    {
        for (std::size_t i = 0; i < kGuard; ++i) {
            if (m_store[i] != kGuardByte || m_store[kGuard + m_bytes + i] != kGuardByte)
                return false;
        }
        return true;
    }
    std::vector<unsigned char> Bytes() const { return {data(), data() + m_bytes}; }

private:
    std::size_t m_bytes;
    std::vector<unsigned char> m_store;
};

inline void FillRandom(unsigned char* p, std::size_t n, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    for (std::size_t i = 0; i < n; ++i)
        p[i] = static_cast<unsigned char>(rng() >> 24);
}

inline void FillRandom(GuardedBuffer& b, std::uint32_t seed) { FillRandom(b.data(), b.size(), seed); }

// Compares `rows` rows of `rowBytes` bytes; reports the first difference.
inline ::testing::AssertionResult SameRows(const unsigned char* expected, int expectedStep,
                                           const unsigned char* actual, int actualStep,
                                           int rowBytes, int rows)
{
    for (int r = 0; r < rows; ++r) {
        const unsigned char* e = expected + static_cast<std::ptrdiff_t>(r) * expectedStep;
        const unsigned char* a = actual + static_cast<std::ptrdiff_t>(r) * actualStep;
        for (int c = 0; c < rowBytes; ++c) {
            if (e[c] != a[c]) {
                return ::testing::AssertionFailure()
                       << "first difference at row " << r << ", byte " << c << ": expected "
                       << int(e[c]) << ", got " << int(a[c]);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult SameBytes(const std::vector<unsigned char>& expected,
                                            const std::vector<unsigned char>& actual)
{
    if (expected.size() != actual.size())
        return ::testing::AssertionFailure()
               << "sizes differ: " << expected.size() << " vs " << actual.size();
    return SameRows(expected.data(), 0, actual.data(), 0, static_cast<int>(expected.size()), 1);
}

}  // namespace tultest
