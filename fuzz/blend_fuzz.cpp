// Blending and compositing: the simple blends, the resize-blends (fields,
// modes, a shared source and destination), AlphaCompRGB32/RGB24 and the
// GetDeltaFrom measures, with fuzzed sizes, steps and weights. Every
// picture's buffer holds the bytes GetPictureSize reports for it, no more.
#include "fuzz/fuzz_input.h"

using namespace tul_fuzz;
using TI = TulImage;

namespace {

struct Family {
    TI::COLOR_FORMAT_TYPE format;
    ULONG (*blend)(const unsigned char*, unsigned char*, ULONG, ULONG, int, float);
    ULONG (*resizeBlend)(const unsigned char*, unsigned char*, unsigned char*, ULONG*, ULONG, ULONG, int, ULONG,
                         ULONG, int, float, TI::FIELD_TYPE, TI::INTERPOLATION_MODE);
};

#define TUL_FUZZ_FAMILY(fmt)                                                                               \
    {TI::COLOR_FORMAT_##fmt,                                                                               \
     static_cast<ULONG (*)(const unsigned char*, unsigned char*, ULONG, ULONG, int, float)>(&TI::Blend##fmt), \
     static_cast<ULONG (*)(const unsigned char*, unsigned char*, unsigned char*, ULONG*, ULONG, ULONG, int,   \
                           ULONG, ULONG, int, float, TI::FIELD_TYPE, TI::INTERPOLATION_MODE)>(&TI::Blend##fmt)}
const Family kFamilies[] = {TUL_FUZZ_FAMILY(YUV420), TUL_FUZZ_FAMILY(YUY2), TUL_FUZZ_FAMILY(RGB24),
                            TUL_FUZZ_FAMILY(RGB32)};
#undef TUL_FUZZ_FAMILY

void SimpleBlend(Input& in, const Family& f) {
    uint32_t w = in.Dim(40), h = in.Dim(24);
    int step = in.Step(RowBytes(f.format, w));
    float weight = in.Weight();
    uint32_t nullKind = in.Below(16);
    uint64_t bytes = QueriedBytes(f.format, w, h, step);
    Picture src = MakePicture(bytes, in), dst = MakePicture(bytes, in);
    if (src.skip || dst.skip) return;
    auto before = dst.buffer.Snapshot();
    ULONG st = f.blend(nullKind == 0 ? nullptr : src.buffer.data(), nullKind == 1 ? nullptr : dst.buffer.data(), w,
                       h, step, weight);
    TUL_FUZZ_EXPECT(IsStatus(st));
    if (nullKind <= 1 || std::isnan(weight)) TUL_FUZZ_EXPECT(st == TI::TUL_INVALID_REQUEST);
    if (src.huge) TUL_FUZZ_EXPECT(st != TI::TUL_SUCCESS);
    if (st == TI::TUL_INVALID_REQUEST) TUL_FUZZ_EXPECT(dst.buffer.Equals(before));
}

void ResizeBlend(Input& in, const Family& f) {
    uint32_t sw = in.Dim(40), sh = in.Dim(24), dw = in.Dim(40), dh = in.Dim(24);
    int sstep = in.Step(RowBytes(f.format, sw)), dstep = in.Step(RowBytes(f.format, dw));
    float weight = in.Weight();
    auto field = in.Enum<TI::FIELD_TYPE>(3);
    auto mode = in.Enum<TI::INTERPOLATION_MODE>(5);
    uint32_t kind = in.Below(16);  // 0 null out, 1 null source, 2 one picture as source and destination
    uint64_t srcBytes = QueriedBytes(f.format, sw, sh, sstep);
    uint64_t outBytes = QueriedBytes(f.format, dw, dh, dstep);
    if (srcBytes > kMaxBytes || outBytes > kMaxBytes) {
        if (srcBytes <= 0xFFFFFFFFull && outBytes <= 0xFFFFFFFFull) return;
    }
    Picture src = MakePicture(srcBytes, in), dst = MakePicture(srcBytes, in), out = MakePicture(outBytes, in);
    if (src.skip || dst.skip || out.skip) return;
    unsigned char* s = kind == 1 ? nullptr : kind == 2 ? dst.buffer.data() : src.buffer.data();
    unsigned char* o = kind == 0 ? nullptr : out.buffer.data();
    ULONG outSize = 0xA5A5A5A5u;
    auto dstBefore = dst.buffer.Snapshot();
    ULONG st = f.resizeBlend(s, dst.buffer.data(), o, &outSize, sw, sh, sstep, dw, dh, dstep, weight, field, mode);
    TUL_FUZZ_EXPECT(IsStatus(st));
    if (kind <= 1 || std::isnan(weight)) TUL_FUZZ_EXPECT(st == TI::TUL_INVALID_REQUEST);
    if (src.huge || out.huge) TUL_FUZZ_EXPECT(st != TI::TUL_SUCCESS);
    if (st == TI::TUL_INVALID_REQUEST) TUL_FUZZ_EXPECT(dst.buffer.Equals(dstBefore));
    if (st == TI::TUL_SUCCESS) TUL_FUZZ_EXPECT(outSize == outBytes);
}

void AlphaComp(Input& in) {
    uint32_t w = in.Dim(40), h = in.Dim(24);
    bool rgb24 = in.Bit();
    uint32_t nullKind = in.Below(16);
    uint64_t fgBytes = QueriedBytes(TI::COLOR_FORMAT_RGB32, w, h, 0);
    uint64_t outBytes = rgb24 ? QueriedBytes(TI::COLOR_FORMAT_RGB24, w, h, 0) : fgBytes;
    Picture fg = MakePicture(fgBytes, in), bg = MakePicture(outBytes, in), out = MakePicture(outBytes, in);
    if (fg.skip || bg.skip || out.skip) return;
    unsigned char* a = nullKind == 0 ? nullptr : fg.buffer.data();
    unsigned char* b = nullKind == 1 ? nullptr : bg.buffer.data();
    unsigned char* o = nullKind == 2 ? nullptr : out.buffer.data();
    auto before = out.buffer.Snapshot();
    ULONG st = rgb24 ? TI::AlphaCompRGB24(a, b, o, w, h) : TI::AlphaCompRGB32(a, b, o, w, h);
    TUL_FUZZ_EXPECT(IsStatus(st));
    if (nullKind <= 2) TUL_FUZZ_EXPECT(st == TI::TUL_INVALID_REQUEST && out.buffer.Equals(before));
    if (fg.huge || out.huge) TUL_FUZZ_EXPECT(st != TI::TUL_SUCCESS);
}

void Delta(Input& in) {
    static const TI::COLOR_FORMAT_TYPE kFormats[] = {TI::COLOR_FORMAT_YUV420, TI::COLOR_FORMAT_YUY2,
                                                     TI::COLOR_FORMAT_RGB24};
    uint32_t which = in.Below(3);
    uint32_t w = in.Dim(64), h = in.Dim(48);
    uint64_t bytes = QueriedBytes(kFormats[which], w, h, 0);
    // The measure has no status to refuse with: pictures it cannot hold
    // are the caller's to avoid, so only allocatable ones are passed.
    if (bytes > kMaxBytes) return;
    Picture a = MakePicture(bytes, in), b = MakePicture(bytes, in);
    if (which == 0) (void)TI::GetDeltaFromYUV420(a.buffer.data(), b.buffer.data(), w, h);
    else if (which == 1) (void)TI::GetDeltaFromYUY2(a.buffer.data(), b.buffer.data(), w, h);
    else (void)TI::GetDeltaFromRGB24(a.buffer.data(), b.buffer.data(), w, h);
    // A null picture measures 0.
    TUL_FUZZ_EXPECT(TI::GetDeltaFromYUY2(nullptr, b.buffer.data(), w, h) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    switch (in.Below(4)) {
        case 0: SimpleBlend(in, kFamilies[in.Below(4)]); break;
        case 1: ResizeBlend(in, kFamilies[in.Below(4)]); break;
        case 2: AlphaComp(in); break;
        default: Delta(in); break;
    }
    return 0;
}
