// Every colour kernel through its exported name (the table is made from
// the kernel list, so a kernel added there is fuzzed here too), and
// PaletteToRGB24 with a fuzzed BITMAPINFO. Checks the size-query protocol:
// a null picture reports the required size with TUL_INVALID_REQUEST, a
// short capacity writes nothing, success reports the bytes the
// destination's step and height describe.
#include <iterator>

#include "fuzz/fuzz_input.h"

using namespace tul_fuzz;
using TI = TulImage;

namespace {

using KernelCall = ULONG (*)(unsigned char*, unsigned char*, ULONG*, ULONG, ULONG, int, int, bool);

struct Kernel {
    TI::COLOR_FORMAT_TYPE source;
    TI::COLOR_FORMAT_TYPE destination;
    KernelCall call;
};

#define TUL_FUZZ_CALL_N(name)                                                                  \
    [](unsigned char* s, unsigned char* d, ULONG* z, ULONG w, ULONG h, int a, int b, bool) { \
        return TI::name(s, d, z, w, h, a, b);                                                  \
    }
#define TUL_FUZZ_CALL_P(name)                                                                    \
    [](unsigned char* s, unsigned char* d, ULONG* z, ULONG w, ULONG h, int a, int b, bool p) { \
        return TI::name(s, d, z, w, h, a, b, p);                                                 \
    }
#define TUL_FUZZ_KERNEL(name, source, destination, flag, operation) \
    {TI::COLOR_FORMAT_##source, TI::COLOR_FORMAT_##destination, TUL_FUZZ_CALL_##flag(name)},
const Kernel kKernels[] = {TUL_COLOR_KERNELS(TUL_FUZZ_KERNEL)};
#undef TUL_FUZZ_KERNEL

void FuzzKernel(Input& in) {
    const Kernel& k = kKernels[in.Below(std::size(kKernels))];
    uint32_t w = in.Dim(40), h = in.Dim(24);
    int sstep = in.Step(RowBytes(k.source, w)), dstep = in.Step(RowBytes(k.destination, w));
    bool progressive = in.Bit();
    uint32_t capacityKind = in.Below(8);  // 0 null source, 1 null destination, 2 a byte short
    uint64_t required = PictureBytes(k.destination, w, h, dstep);
    uint64_t dstBytes = required;
    if (capacityKind == 2 && dstBytes > 0 && dstBytes <= kMaxBytes) --dstBytes;
    Picture src = MakePicture(SourceBytes(k.source, w, h, sstep), in);
    Picture dst = MakePicture(dstBytes, in);
    if (src.skip || dst.skip) return;
    unsigned char* s = capacityKind == 0 ? nullptr : src.buffer.data();
    unsigned char* d = capacityKind == 1 ? nullptr : dst.buffer.data();
    ULONG capacity = ULONG(dst.buffer.size()), size = capacity;
    auto before = dst.buffer.Snapshot();

    ULONG st = k.call(s, d, &size, w, h, sstep, dstep, progressive);
    TUL_FUZZ_EXPECT(IsStatus(st));
    if (!s || !d) TUL_FUZZ_EXPECT(st == TI::TUL_INVALID_REQUEST);
    if (src.huge || dst.huge) TUL_FUZZ_EXPECT(st != TI::TUL_SUCCESS);
    if (st == TI::TUL_INVALID_REQUEST || st == TI::TUL_BUFFER_TOO_SMALL) {
        TUL_FUZZ_EXPECT(dst.buffer.Equals(before));
    }
    if (st == TI::TUL_SUCCESS) {
        TUL_FUZZ_EXPECT(size == required);
        TUL_FUZZ_EXPECT(size <= capacity);
    }
}

void FuzzPalette(Input& in) {
    static const WORD kBits[] = {1, 4, 8, 0, 2, 24};
    WORD bits = kBits[in.Below(std::size(kBits))];
    uint32_t entries = (bits == 1 || bits == 4 || bits == 8) ? (1u << bits) : 1u;
    // The header and exactly the colour table a bitmap of this depth needs.
    Buffer info(sizeof(BITMAPINFOHEADER) + entries * sizeof(RGBQUAD));
    info.Fill(in);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = LONG(in.Bit() ? int8_t(in.Byte()) : LONG(in.Dim(40)));
    header.biHeight = LONG(in.Bit() ? int8_t(in.Byte()) : LONG(in.Dim(24)));
    header.biPlanes = 1;
    header.biBitCount = bits;
    header.biClrUsed = in.Byte();
    std::memcpy(info.data(), &header, sizeof header);

    uint64_t w = uint64_t(uint32_t(header.biWidth)), h = uint64_t(uint32_t(header.biHeight));
    if (w > 0xFFFF || h > 0xFFFF) {  // negative or edge values: rows are not allocatable
        w = std::min<uint64_t>(w, 0xFFFF);
        h = std::min<uint64_t>(h, 0xFFFF);
    }
    uint64_t srcRow = (w * (bits ? bits : 8) + 7) / 8;
    int sstep = in.Step(srcRow), dstep = in.Step(RowBytes(TI::COLOR_FORMAT_RGB24, w));
    uint32_t capacityKind = in.Below(8);
    uint64_t dstBytes = uint64_t(std::llabs(int64_t(dstep))) * h;
    if (capacityKind == 2 && dstBytes > 0 && dstBytes <= kMaxBytes) --dstBytes;
    Picture src = MakePicture(uint64_t(std::llabs(int64_t(sstep))) * h, in);
    Picture dst = MakePicture(dstBytes, in);
    if (src.skip || dst.skip) return;
    unsigned char* s = capacityKind == 0 ? nullptr : src.buffer.data();
    unsigned char* d = capacityKind == 1 ? nullptr : dst.buffer.data();
    ULONG capacity = ULONG(dst.buffer.size()), size = capacity;
    auto before = dst.buffer.Snapshot();

    ULONG st = TI::PaletteToRGB24(s, d, &size, reinterpret_cast<tagBITMAPINFO*>(info.data()), sstep, dstep);
    TUL_FUZZ_EXPECT(IsStatus(st));
    if (!s || !d) TUL_FUZZ_EXPECT(st == TI::TUL_INVALID_REQUEST);
    if (st == TI::TUL_INVALID_REQUEST || st == TI::TUL_BUFFER_TOO_SMALL) {
        TUL_FUZZ_EXPECT(dst.buffer.Equals(before));
    }
    if (st == TI::TUL_SUCCESS) TUL_FUZZ_EXPECT(size <= capacity);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    if (in.Below(8) == 0) FuzzPalette(in);
    else FuzzKernel(in);
    return 0;
}
