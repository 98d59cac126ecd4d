// The field operations of the four formats: GetField, MakeFrame, FieldSwap
// and DeInterlace (in place or not), with fuzzed sizes, steps, field
// choices, scan types and modes. Refusals must leave the destination as it
// was; each field buffer holds exactly the rows its parity gives it, and
// every buffer the bytes GetPictureSize reports for its rows, no more.
#include "fuzz/fuzz_input.h"

using namespace tul_fuzz;
using TI = TulImage;

namespace {

struct Family {
    TI::COLOR_FORMAT_TYPE format;
    ULONG (*getField)(const unsigned char*, unsigned char*, ULONG, ULONG, int, bool);
    ULONG (*makeFrame)(const unsigned char*, const unsigned char*, unsigned char*, ULONG, ULONG, int);
    ULONG (*fieldSwap)(const unsigned char*, unsigned char*, ULONG, ULONG, int, TI::SCAN_TYPE);
    ULONG (*deInterlace)(const unsigned char*, unsigned char*, ULONG, ULONG, int, TI::SCAN_TYPE,
                         TI::DEINTERLACE_MODE, TI::INTERPOLATION_MODE);
};

#define TUL_FUZZ_FAMILY(fmt, suffix)                                                          \
    {TI::COLOR_FORMAT_##fmt, &TI::GetField##suffix, &TI::MakeFrame##suffix, &TI::FieldSwap##suffix, \
     &TI::DeInterlace##suffix}
const Family kFamilies[] = {TUL_FUZZ_FAMILY(YUV420, YUV420), TUL_FUZZ_FAMILY(YUY2, YUY2),
                            TUL_FUZZ_FAMILY(RGB24, RGB24), TUL_FUZZ_FAMILY(RGB32, RGB32)};
#undef TUL_FUZZ_FAMILY

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const Family& f = kFamilies[in.Below(4)];
    uint32_t op = in.Below(4);
    uint32_t w = in.Dim(40), h = in.Dim(24);
    int step = in.Step(RowBytes(f.format, w));
    uint32_t nullKind = in.Below(16);  // 0 null source (or first field), 1 null destination
    bool inPlace = in.Bit();
    // Rows of the field on the even memory rows, and of the other one.
    uint64_t evenRows = (uint64_t(h) + 1) / 2, oddRows = h / 2;
    uint64_t frameBytes = QueriedBytes(f.format, w, h, step);

    ULONG st;
    Picture dst;
    std::vector<uint8_t> before;
    if (op == 0) {  // GetField
        bool top = in.Bit();
        bool firstRow = top == (step > 0);
        Picture src = MakePicture(frameBytes, in);
        dst = MakePicture(QueriedBytes(f.format, w, firstRow ? evenRows : oddRows, step), in);
        if (src.skip || dst.skip) return 0;
        before = dst.buffer.Snapshot();
        st = f.getField(nullKind == 0 ? nullptr : src.buffer.data(), nullKind == 1 ? nullptr : dst.buffer.data(),
                        w, h, step, top);
    } else if (op == 1) {  // MakeFrame
        bool firstEven = step > 0;
        Picture first = MakePicture(QueriedBytes(f.format, w, firstEven ? evenRows : oddRows, step), in);
        Picture second = MakePicture(QueriedBytes(f.format, w, firstEven ? oddRows : evenRows, step), in);
        dst = MakePicture(frameBytes, in);
        if (first.skip || second.skip || dst.skip) return 0;
        before = dst.buffer.Snapshot();
        st = f.makeFrame(nullKind == 0 ? nullptr : first.buffer.data(), second.buffer.data(),
                         nullKind == 1 ? nullptr : dst.buffer.data(), w, h, step);
    } else {  // FieldSwap, DeInterlace
        auto scan = in.Enum<TI::SCAN_TYPE>(3);
        auto mode = in.Enum<TI::DEINTERLACE_MODE>(2);
        auto interpolation = in.Enum<TI::INTERPOLATION_MODE>(5);
        Picture src = MakePicture(frameBytes, in);
        if (!inPlace) dst = MakePicture(frameBytes, in);
        if (src.skip || dst.skip) return 0;
        Picture& out = inPlace ? src : dst;
        before = out.buffer.Snapshot();
        const unsigned char* s = nullKind == 0 ? nullptr : src.buffer.data();
        unsigned char* d = nullKind == 1 ? nullptr : out.buffer.data();
        st = op == 2 ? f.fieldSwap(s, d, w, h, step, scan) : f.deInterlace(s, d, w, h, step, scan, mode, interpolation);
        if (inPlace) dst = std::move(src);
    }
    TUL_FUZZ_EXPECT(IsStatus(st));
    if (nullKind <= 1) TUL_FUZZ_EXPECT(st == TI::TUL_INVALID_REQUEST);
    if (frameBytes > 0xFFFFFFFFull) TUL_FUZZ_EXPECT(st != TI::TUL_SUCCESS);
    if (st == TI::TUL_INVALID_REQUEST) TUL_FUZZ_EXPECT(dst.buffer.Equals(before));
    return 0;
}
