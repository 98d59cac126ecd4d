// Whole conversions: the static Convert (with size queries, short
// capacities and one buffer for both pictures) and InitializeConvert
// followed by the instance Convert, over every format pair, scan type,
// interpolation and deinterlace mode, with fuzzed sizes, steps and aspects.
#include "fuzz/fuzz_input.h"

using namespace tul_fuzz;
using TI = TulImage;

namespace {

PICTURE_INFO Describe(Input& in) {
    PICTURE_INFO p{};
    p.colorFormat = in.Enum<TI::COLOR_FORMAT_TYPE>(8);
    p.width = in.Dim(40);
    p.height = in.Dim(24);
    p.step = in.Step(RowBytes(p.colorFormat, p.width));
    p.aspectX = in.Below(20);
    p.aspectY = in.Below(12);
    p.scanType = in.Enum<TI::SCAN_TYPE>(3);
    return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    PICTURE_INFO si = Describe(in), di = Describe(in);
    CONVERT_MODE mode{};
    mode.keepAspect = in.Bit();
    mode.convertInterlace = in.Bit();
    mode.interpolation = in.Enum<TI::INTERPOLATION_MODE>(5);
    mode.deinterlaceMode = in.Enum<TI::DEINTERLACE_MODE>(2);
    bool prepared = in.Bit();
    if (std::getenv("TUL_FUZZ_PRINT")) {  // describes a kept input when investigating it
        for (const PICTURE_INFO* p : {&si, &di})
            std::fprintf(stderr, "format %d %ux%u step %d aspect %u:%u scan %d\n", int(p->colorFormat), p->width,
                         p->height, p->step, p->aspectX, p->aspectY, int(p->scanType));
        std::fprintf(stderr, "keepAspect %d interlace %d interpolation %d deinterlace %d prepared %d\n",
                     mode.keepAspect, mode.convertInterlace, int(mode.interpolation), int(mode.deinterlaceMode),
                     int(prepared));
    }
    uint32_t bufferKind = in.Below(16);  // 0 null destination, 1 a byte short, 2 one buffer for both

    uint64_t srcBytes = SourceBytes(si.colorFormat, si.width, si.height, si.step);
    uint64_t required = PictureBytes(di.colorFormat, di.width, di.height, di.step);
    uint64_t dstBytes = required;
    if (bufferKind == 1 && dstBytes > 0 && dstBytes <= kMaxBytes) --dstBytes;
    if (bufferKind == 2) srcBytes = dstBytes = std::max(srcBytes, dstBytes);
    Picture src = MakePicture(srcBytes, in);
    Picture dst = MakePicture(dstBytes, in);
    if (src.skip || dst.skip) return 0;
    unsigned char* s = src.buffer.data();
    unsigned char* d = bufferKind == 0 ? nullptr : bufferKind == 2 ? s : dst.buffer.data();
    bool describable = !src.huge && !dst.huge;

    if (!prepared) {
        ULONG capacity = ULONG(dst.buffer.size());
        di.size = capacity;
        auto before = dst.buffer.Snapshot();
        ULONG st = TI::Convert(s, d, &si, &di, &mode);
        TUL_FUZZ_EXPECT(IsStatus(st));
        if (!describable) TUL_FUZZ_EXPECT(st != TI::TUL_SUCCESS || !d);
        if (st == TI::TUL_SUCCESS && describable) TUL_FUZZ_EXPECT(di.size == required);
        if (st == TI::TUL_SUCCESS && d) TUL_FUZZ_EXPECT(di.size <= capacity);
        if (st == TI::TUL_BUFFER_TOO_SMALL || st == TI::TUL_INVALID_REQUEST) {
            if (d != s) TUL_FUZZ_EXPECT(dst.buffer.Equals(before));
        }
        return 0;
    }

    TI image;
    ULONG st = image.InitializeConvert(&si, &di, &mode);
    TUL_FUZZ_EXPECT(IsStatus(st));
    if (!describable) TUL_FUZZ_EXPECT(st != TI::TUL_SUCCESS);
    if (st == TI::TUL_SUCCESS) TUL_FUZZ_EXPECT(di.size == required);
    // The instance Convert trusts the destination to hold what the plan
    // reported; a short buffer is the caller's fault, so it is not passed.
    if (st == TI::TUL_SUCCESS && bufferKind == 1) return 0;
    for (int run = 0, runs = 1 + int(in.Below(2)); run < runs; ++run) {
        ULONG cs = image.Convert(s, d);
        TUL_FUZZ_EXPECT(IsStatus(cs));
        if (st != TI::TUL_SUCCESS) TUL_FUZZ_EXPECT(cs != TI::TUL_SUCCESS);
        if (!d) TUL_FUZZ_EXPECT(cs != TI::TUL_SUCCESS);
    }
    return 0;
}
