// The one-call resizes (each format's entry and the dispatcher) and the
// prepared resizer (Initialize or InitializeEx with rectangles, then a few
// frames), with fuzzed sizes, steps, modes and capacities.
#include "fuzz/fuzz_input.h"

using namespace tul_fuzz;
using TI = TulImage;

namespace {

// Pictures whose pixel count lies between what a run allocates and 32 bits
// are legal but only slow; both sides of that band reach the library.
bool Oversized(uint64_t w, uint64_t h) {
    uint64_t n = w * h;
    return n > kMaxBytes && n <= 0xFFFFFFFFull;
}

void OneCall(Input& in) {
    static const TI::COLOR_FORMAT_TYPE kEntryFormat[] = {TI::COLOR_FORMAT_YUY2, TI::COLOR_FORMAT_YUV420,
                                                         TI::COLOR_FORMAT_RGB24, TI::COLOR_FORMAT_RGB32};
    uint32_t entry = in.Below(5);  // 0..3 a format's own entry, 4 the dispatcher
    auto format = entry < 4 ? kEntryFormat[entry] : in.Enum<TI::COLOR_FORMAT_TYPE>(8);
    auto mode = in.Enum<TI::INTERPOLATION_MODE>(5);
    uint32_t sw = in.Dim(64), sh = in.Dim(48), dw = in.Dim(64), dh = in.Dim(48);
    if (Oversized(sw, sh) || Oversized(dw, dh)) return;
    int sstep = in.Step(RowBytes(format, sw)), dstep = in.Step(RowBytes(format, dw));
    uint32_t capacityKind = in.Below(8);  // 0 null source, 1 null destination, 2 a byte short
    uint64_t dstBytes = PictureBytes(format, dw, dh, dstep);
    if (capacityKind == 2 && dstBytes > 0 && dstBytes <= kMaxBytes) --dstBytes;
    Picture src = MakePicture(SourceBytes(format, sw, sh, sstep), in);
    Picture dst = MakePicture(dstBytes, in);
    if (src.skip || dst.skip) return;
    unsigned char* s = capacityKind == 0 ? nullptr : src.buffer.data();
    unsigned char* d = capacityKind == 1 ? nullptr : dst.buffer.data();
    ULONG capacity = ULONG(dst.buffer.size()), size = capacity;

    ULONG st;
    switch (entry) {
        case 0: st = TI::ResizeYUY2(s, d, &size, sw, sh, sstep, dw, dh, dstep, mode); break;
        case 1: st = TI::ResizeYUV420(s, d, &size, sw, sh, sstep, dw, dh, dstep, mode); break;
        case 2: st = TI::ResizeRGB24(s, d, &size, sw, sh, sstep, dw, dh, dstep, mode); break;
        case 3: st = TI::ResizeRGB32(s, d, &size, sw, sh, sstep, dw, dh, dstep, mode); break;
        default: st = TI::Resize(s, d, &size, sw, sh, sstep, dw, dh, dstep, format, mode); break;
    }
    TUL_FUZZ_EXPECT(IsStatus(st));
    if (!s || !d) TUL_FUZZ_EXPECT(st == TI::TUL_INVALID_REQUEST);
    if (src.huge || dst.huge) TUL_FUZZ_EXPECT(st != TI::TUL_SUCCESS);
    if (st == TI::TUL_BUFFER_TOO_SMALL) TUL_FUZZ_EXPECT(size == capacity);
    if (st == TI::TUL_SUCCESS) {
        // The size reported is the picture the destination's arguments describe.
        TUL_FUZZ_EXPECT(size <= capacity);
        if (dstep != 0) TUL_FUZZ_EXPECT(size == PictureBytes(format, dw, dh, dstep));
    }
}

tagRECT Rect(Input& in, uint32_t w, uint32_t h) {
    // Mostly the whole picture or a part anchored at the top left, as the
    // filter passes them; sometimes any four small signed values.
    uint32_t kind = in.Below(4);
    if (kind == 0) return {0, 0, LONG(w), LONG(h)};
    if (kind == 1) return {0, 0, LONG(w ? in.Below(w + 1) : 0), LONG(h ? in.Below(h + 1) : 0)};
    auto v = [&] { return LONG(int8_t(in.Byte())); };
    return {v(), v(), v(), v()};
}

void Prepared(Input& in) {
    TI image;
    uint32_t sw = in.Dim(64), sh = in.Dim(48), dw = in.Dim(64), dh = in.Dim(48);
    if (Oversized(sw, sh) || Oversized(dw, dh)) return;
    auto mode = in.Enum<TI::INTERPOLATION_MODE>(5);
    ULONG st;
    if (in.Bit()) {
        st = image.Initialize(sw, sh, dw, dh, mode);
    } else {
        tagRECT sr = Rect(in, sw, sh), dr = Rect(in, dw, dh);
        st = image.InitializeEx(sw, sh, sr, dw, dh, dr, mode);
    }
    TUL_FUZZ_EXPECT(IsStatus(st));

    // Frames go in memory order with each format's default row.
    static const TI::COLOR_FORMAT_TYPE kFrameFormat[] = {TI::COLOR_FORMAT_YUY2, TI::COLOR_FORMAT_RGB24,
                                                         TI::COLOR_FORMAT_RGB32};
    for (int frame = 0, frames = 1 + int(in.Below(3)); frame < frames; ++frame) {
        uint32_t kind = in.Below(3);
        auto format = kFrameFormat[kind];
        uint32_t capacityKind = in.Below(8);
        uint64_t dstBytes = RowBytes(format, dw) * dh;
        if (capacityKind == 2 && dstBytes > 0 && dstBytes <= kMaxBytes) --dstBytes;
        Picture src = MakePicture(RowBytes(format, sw) * sh, in);
        Picture dst = MakePicture(dstBytes, in);
        if (src.skip || dst.skip) return;
        unsigned char* s = capacityKind == 0 ? nullptr : src.buffer.data();
        unsigned char* d = capacityKind == 1 ? nullptr : dst.buffer.data();
        ULONG capacity = ULONG(dst.buffer.size()), size = capacity;
        ULONG fs = kind == 0 ? image.ResizeYUY2(s, d, &size) : kind == 1 ? image.ResizeRGB24(s, d, &size)
                                                                        : image.ResizeRGB32(s, d, &size);
        TUL_FUZZ_EXPECT(IsStatus(fs));
        if (st == TI::TUL_SUCCESS && (!s || !d)) TUL_FUZZ_EXPECT(fs == TI::TUL_INVALID_REQUEST);
        if (fs == TI::TUL_SUCCESS) TUL_FUZZ_EXPECT(size <= capacity);
        if (fs == TI::TUL_BUFFER_TOO_SMALL) TUL_FUZZ_EXPECT(size == capacity);
    }
    if (in.Bit()) {
        TI copy(image);  // a copy prepares scratch of its own and releases it alone
        (void)copy;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    if (in.Bit()) Prepared(in);
    else OneCall(in);
    return 0;
}
