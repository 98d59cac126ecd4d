// Shared plumbing of the libFuzzer harnesses: the fuzzer's bytes turned into
// the arguments of a library call (sizes, signed steps, enumerations,
// weights, picture bytes) and buffers of exactly the size those arguments
// describe, so that one byte read or written too far is AddressSanitizer's
// to report. A harness states what the call may answer with tul_fuzz::Expect.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "image/TulImage.h"

namespace tul_fuzz {

// Pictures larger than this are not allocated: they would only slow the
// run down. Sizes past 32 bits still reach the library (with a one-byte
// buffer) because it must refuse them before touching a byte.
constexpr uint64_t kMaxBytes = 1u << 18;

// Reads arguments from the front of the input; past its end every read
// gives 0, so any input is a whole call.
class Input {
public:
    Input(const uint8_t* data, size_t size) : p_(data), n_(size) {}

    uint8_t Byte() { return n_ ? (--n_, *p_++) : 0; }
    uint32_t U32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= uint32_t(Byte()) << (8 * i);
        return v;
    }
    bool Bit() { return Byte() & 1; }
    // A value in [0, count).
    uint32_t Below(uint32_t count) { return count ? Byte() % count : 0; }

    // A picture dimension: mostly small (0..limit), sometimes an edge
    // value that strains 32-bit arithmetic.
    uint32_t Dim(uint32_t limit) {
        static const uint32_t edges[] = {0x8000u, 0x10000u, 0x40000001u, 0x7FFFFFFFu, 0x80000000u,
                                         0xFFFFFFFFu};
        uint8_t b = Byte();
        if (b >= 248) return edges[b % 6];
        return b % (limit + 1);
    }

    // A signed step for rows of `row` bytes: exact, padded, a byte short,
    // 0, INT32_MIN or any 32-bit value, with either sign.
    int Step(uint64_t row) {
        uint8_t kind = Byte();
        int64_t s;
        switch (kind % 8) {
            case 0: case 1: case 2: s = int64_t(row); break;
            case 3: s = int64_t(row) + 1 + Byte() % 64; break;
            case 4: s = int64_t(row) - 1; break;
            case 5: return 0;
            case 6: return std::numeric_limits<int>::min();
            default: return int(U32());
        }
        if (s > std::numeric_limits<int>::max()) s = std::numeric_limits<int>::max();
        return (kind & 0x80) ? int(-s) : int(s);
    }

    // An enumeration value among `count` valid ones, now and then one
    // outside them.
    template <class E>
    E Enum(int count) {
        uint8_t b = Byte();
        if (b >= 250) return E(b == 255 ? -1 : count + (b - 250));
        return E(b % count);
    }

    // A weight: mostly in [0, 1], sometimes outside it or not a number.
    float Weight() {
        uint8_t b = Byte();
        if (b == 255) return std::numeric_limits<float>::quiet_NaN();
        if (b == 254) return std::numeric_limits<float>::infinity();
        if (b >= 240) return -float(b - 239) / 4.0f;
        return float(b) / 230.0f;
    }

    // What is left of the input, to fill pictures with.
    const uint8_t* Rest() const { return p_; }
    size_t RestSize() const { return n_; }

private:
    const uint8_t* p_;
    size_t n_;
};

// A heap block of exactly `size` bytes (none for 0): AddressSanitizer's
// red zones lie on both sides of it.
class Buffer {
public:
    Buffer() = default;
    explicit Buffer(uint64_t size) : size_(size), bytes_(new uint8_t[size]) {}
    uint8_t* data() { return bytes_.get(); }
    uint64_t size() const { return size_; }

    // Fills the block with the input's remaining bytes, repeated, or a
    // fixed ramp when the input is spent.
    void Fill(const Input& in) {
        const uint8_t* r = in.Rest();
        size_t n = in.RestSize();
        if (n == 0) {
            for (uint64_t i = 0; i < size_; ++i) bytes_[i] = uint8_t(i * 37 + 11);
            return;
        }
        for (uint64_t i = 0; i < size_; i += n) std::memcpy(&bytes_[i], r, std::min<uint64_t>(n, size_ - i));
    }
    std::vector<uint8_t> Snapshot() const { return {bytes_.get(), bytes_.get() + size_}; }
    bool Equals(const std::vector<uint8_t>& before) const {
        return before.size() == size_ && (size_ == 0 || std::memcmp(before.data(), bytes_.get(), size_) == 0);
    }

private:
    uint64_t size_ = 0;
    std::unique_ptr<uint8_t[]> bytes_;
};

// The bytes a picture occupies, in 64 bits: |step| per row, and for the
// 4:2:0 formats the chroma block of |step / 2| per row on top (a step of
// 0 takes the format's default row).
inline bool IsPlanar(TulImage::COLOR_FORMAT_TYPE f) {
    return f == TulImage::COLOR_FORMAT_YUV420 || f == TulImage::COLOR_FORMAT_YV12;
}
inline uint64_t RowBytes(TulImage::COLOR_FORMAT_TYPE f, uint64_t width) {
    if (IsPlanar(f)) return width;
    uint64_t bpp = TulImage::GetBitPixel(f);
    return ((bpp * width + 31) >> 3) & ~uint64_t(3);
}
inline uint64_t PictureBytes(TulImage::COLOR_FORMAT_TYPE f, uint64_t width, uint64_t height, int step) {
    uint64_t pitch = step ? uint64_t(std::llabs(int64_t(step))) : RowBytes(f, width);
    if (IsPlanar(f)) {
        uint64_t half = step ? uint64_t(std::llabs(int64_t(step / 2))) : pitch / 2;
        return (pitch + half) * height;
    }
    return pitch * height;
}

// The bytes the library's own size query gives a picture, for buffers
// that must end exactly where the library says the picture does (an odd
// 4:2:0 height's half chroma row is then the buffer's last bytes):
// GetPictureSize, which must agree with the count above. The query's
// arithmetic is 32-bit by design and wraps (a default row of bpp x width
// wraps past widths of 2^27 already), so for pictures larger than a
// harness allocates the 64-bit count stands, for MakePicture to skip the
// picture or see that it is past 32 bits.
inline uint64_t QueriedBytes(TulImage::COLOR_FORMAT_TYPE f, uint64_t width, uint64_t height, int step) {
    const uint64_t counted = PictureBytes(f, width, height, step);
    if (counted > kMaxBytes) return counted;
    const ULONG queried = TulImage::GetPictureSize(f, ULONG(width), ULONG(height), step);
    if (queried != counted) {
        std::fprintf(stderr, "GetPictureSize(%d, %llu, %llu, %d) = %lu, counted %llu\n", int(f),
                     (unsigned long long)width, (unsigned long long)height, step, (unsigned long)queried,
                     (unsigned long long)counted);
        std::abort();
    }
    return queried;
}

// The bytes a source picture spans: a 4:2:0 one ends with its second
// chroma plane, h / 2 rows of |step / 2| bytes after the first, which for
// an odd height is less than the size above. A source is read, never
// written, so it gets no more than that.
inline uint64_t SourceBytes(TulImage::COLOR_FORMAT_TYPE f, uint64_t width, uint64_t height, int step) {
    if (!IsPlanar(f)) return PictureBytes(f, width, height, step);
    uint64_t pitch = step ? uint64_t(std::llabs(int64_t(step))) : width;
    return pitch * height + 2 * (height / 2) * (pitch / 2);
}

// A buffer for a picture of `bytes`: exact when it is allocatable, one
// byte when it lies past 32 bits (the library must refuse it unread), or
// nothing (`skip`) when it is too large to be worth a run.
struct Picture {
    Buffer buffer;
    bool huge = false;
    bool skip = false;
};
inline Picture MakePicture(uint64_t bytes, const Input& fill) {
    Picture p;
    if (bytes > 0xFFFFFFFFull) {
        p.huge = true;
        p.buffer = Buffer(1);
    } else if (bytes > kMaxBytes) {
        p.skip = true;
    } else {
        p.buffer = Buffer(bytes);
        p.buffer.Fill(fill);
    }
    return p;
}

// A broken promise of the library: print it and stop the run, so the
// fuzzer keeps the input as a crash.
[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: broken rule: %s\n", file, line, what);
    std::abort();
}
#define TUL_FUZZ_EXPECT(cond) \
    do { if (!(cond)) ::tul_fuzz::Fail(#cond, __FILE__, __LINE__); } while (0)

// Every library status is one of the five TUL_STATUS values.
inline bool IsStatus(ULONG s) { return s <= TulImage::TUL_FAILED; }

}  // namespace tul_fuzz
