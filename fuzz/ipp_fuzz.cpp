// The image primitives of platform/ipp called directly: every primitive of
// ippi.h in one table, each with fuzzed sizes, steps, values, scale
// factors, factors, centres and type codes. A plane holds exactly
// (rows - 1) x step + the last row's bytes, as the primitives address it;
// a refused call (a negative status) must leave every destination as it was.
#include <functional>
#include <iterator>

#include "fuzz/fuzz_input.h"
#include "platform/ipp/ippi.h"

using namespace tul_fuzz;

namespace {

// One plane of `rowBytes` per row and `rows` rows with a fuzzed step. A
// plane the primitive must refuse (no rows, no width, a step not above 0)
// gets one byte, so any access to it is out of bounds.
struct Plane {
    Buffer buffer;
    int step = 0;
    Ipp8u* data() { return buffer.data(); }
};

bool MakePlane(Input& in, Plane& p, int64_t rowBytes, int64_t rows, int step) {
    p.step = step;
    uint64_t bytes = 1;
    if (rowBytes > 0 && rows > 0 && step > 0) bytes = uint64_t(rows - 1) * uint64_t(step) + uint64_t(rowBytes);
    if (bytes > kMaxBytes) return false;
    p.buffer = Buffer(bytes);
    p.buffer.Fill(in);
    return true;
}

bool MakePlane(Input& in, Plane& p, int64_t rowBytes, int64_t rows) {
    return MakePlane(in, p, rowBytes, rows, in.Step(uint64_t(rowBytes > 0 ? rowBytes : 0)));
}

IppiSize Roi(Input& in) { return {int(in.Dim(40)), int(in.Dim(24))}; }
int64_t W(IppiSize r) { return r.width; }
int64_t H(IppiSize r) { return r.height; }

// The destinations a call may write, to compare after a refusal.
struct Outputs {
    std::vector<Plane*> planes;
    std::vector<std::vector<uint8_t>> before;
    void Add(Plane& p) {
        planes.push_back(&p);
        before.push_back(p.buffer.Snapshot());
    }
    bool Unchanged() const {
        for (size_t i = 0; i < planes.size(); ++i)
            if (!planes[i]->buffer.Equals(before[i])) return false;
        return true;
    }
};

bool KnownStatus(IppStatus s) {
    switch (s) {
        case ippStsRoundModeNotSupportedErr: case ippStsResizeNoOperationErr: case ippStsNotEvenStepErr:
        case ippStsChannelOrderErr: case ippStsAlphaTypeErr: case ippStsStrideErr: case ippStsResizeFactorErr:
        case ippStsInterpolationErr: case ippStsMirrorFlipErr: case ippStsStepErr: case ippStsContextMatchErr:
        case ippStsScaleRangeErr: case ippStsMemAllocErr: case ippStsNullPtrErr: case ippStsSizeErr:
        case ippStsBadArgErr: case ippStsNoMemErr: case ippStsErr: case ippStsNoErr: case ippStsNoOperation:
        case ippStsWrongIntersectROI: case ippStsDoubleSize:
            return true;
    }
    return false;
}

// Runs `call` after the planes are made; null is given for plane `nullAt`
// (when it names one) so the null checks are reached too.
using Case = std::function<void(Input&)>;

// What every call must answer: a status of the list, and after a refusal
// every destination as it was.
void Verdict(IppStatus st, const Outputs& out) {
    TUL_FUZZ_EXPECT(KnownStatus(st));
    if (st < 0) TUL_FUZZ_EXPECT(out.Unchanged());
}

// One source and one destination of the same size, `sb` and `db` bytes per
// pixel: the copies, channel conversions, arithmetic and colour rows.
template <class F>
Case OneToOne(int sb, int db, F f) {
    return [=](Input& in) {
        Outputs out;
        IppiSize roi = Roi(in);
        Plane s, d;
        if (!MakePlane(in, s, W(roi) * sb, H(roi)) || !MakePlane(in, d, W(roi) * db, H(roi))) return;
        uint32_t null = in.Below(16);
        out.Add(d);
        IppStatus st = f(null == 0 ? nullptr : s.data(), s.step, null == 1 ? nullptr : d.data(), d.step, roi, in);
        Verdict(st, out);
    };
}

// One picture changed in place.
template <class F>
Case InPlace(int b, F f) {
    return [=](Input& in) {
        Outputs out;
        IppiSize roi = Roi(in);
        Plane d;
        if (!MakePlane(in, d, W(roi) * b, H(roi))) return;
        out.Add(d);
        IppStatus st = f(in.Below(16) == 0 ? nullptr : d.data(), d.step, roi, in);
        Verdict(st, out);
    };
}

// Three planes of `rowBytes[i]` x `rows[i]`, with one step for all (`shared`)
// or a step each; `packed` the packed side's bytes per pixel.
struct Planar {
    Plane p[4];
    int steps[4] = {};
    Ipp8u* ptr[4] = {};
    bool Make(Input& in, int n, const int64_t* rowBytes, const int64_t* rows, bool shared) {
        int common = in.Step(uint64_t(std::max<int64_t>(rowBytes[0], 0)));
        for (int i = 0; i < n; ++i) {
            int step = shared ? common : in.Step(uint64_t(std::max<int64_t>(rowBytes[i], 0)));
            if (!MakePlane(in, p[i], rowBytes[i], rows[i], step)) return false;
            steps[i] = p[i].step;
            ptr[i] = in.Below(32) == 0 ? nullptr : p[i].data();
        }
        return true;
    }
};

// Packed to planes (toPlanes) or planes to packed, with the planes' sizes
// in bytes given from the size of interest.
template <class F>
Case PackedPlanes(int packedBytes, int n, bool toPlanes, bool shared, int chromaDivX, int chromaDivY, F f) {
    return [=](Input& in) {
        Outputs out;
        IppiSize roi = Roi(in);
        Plane packed;
        Planar planes;
        int64_t rowBytes[4], rows[4];
        for (int i = 0; i < n; ++i) {
            // A 4:2:2 row of odd width ends on a lone pixel with a U and no V.
            bool loneU = i == 1 && chromaDivX == 2 && chromaDivY == 1;
            rowBytes[i] = i == 0 ? W(roi) : (W(roi) + (loneU ? 1 : 0)) / chromaDivX;
            rows[i] = i == 0 ? H(roi) : H(roi) / chromaDivY;
        }
        if (!MakePlane(in, packed, W(roi) * packedBytes, H(roi)) || !planes.Make(in, n, rowBytes, rows, shared))
            return;
        if (toPlanes) for (int i = 0; i < n; ++i) out.Add(planes.p[i]);
        else out.Add(packed);
        Ipp8u* pk = in.Below(32) == 0 ? nullptr : packed.data();
        IppStatus st = f(pk, packed.step, planes, roi, in);
        Verdict(st, out);
    };
}

// Separate source and destination sizes: the resamplers.
template <class F>
Case TwoSizes(int b, F f) {
    return [=](Input& in) {
        Outputs out;
        IppiSize sroi = Roi(in), droi = Roi(in);
        Plane s, d;
        if (!MakePlane(in, s, W(sroi) * b, H(sroi)) || !MakePlane(in, d, W(droi) * b, H(droi))) return;
        out.Add(d);
        IppStatus st = f(s.data(), s.step, sroi, d.data(), d.step, droi, in);
        Verdict(st, out);
    };
}

Ipp8u Value(Input& in) { return in.Byte(); }
int Scale(Input& in) { return int(int8_t(in.Byte())) % 40; }
double Factor(Input& in) {
    static const double edge[] = {0.0, -1.0, 1e-9, 1e9, 0.5, 2.0, 1.0, 0.33333};
    uint8_t b = in.Byte();
    return b < 200 ? 0.05 + b / 40.0 : edge[b % 8];
}
double Centre(Input& in) { return double(int8_t(in.Byte())) / 2.0; }
int Interp(Input& in) {
    static const int modes[] = {IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC, IPPI_INTER_SUPER, 0, 3, -1};
    return modes[in.Below(std::size(modes))];
}
Ipp32f Level(Input& in) {
    uint8_t b = in.Byte();
    return b == 255 ? std::numeric_limits<float>::quiet_NaN() : float(int8_t(b)) * 4.0f;
}

// The primitive library's enumerations have no fixed type: a value past
// the bits their enumerators need is undefined before any call, so type
// codes are drawn within those bits (unknown codes still among them).
#define ARGS1 const Ipp8u *s, int ss, Ipp8u *d, int ds, IppiSize r, Input &in
#define ARGSI Ipp8u *d, int ds, IppiSize r, Input &in
#define ARGSP Ipp8u *pk, int ps, Planar &pl, IppiSize r, Input &in
#define ARGS2 const Ipp8u *s, int ss, IppiSize sr, Ipp8u *d, int ds, IppiSize dr, Input &in

const Case kCases[] = {
    [](Input& in) {
        // Aligned blocks: every row 64-byte aligned and the whole block
        // writable; rows past an int are refused with null.
        static const int kBytes[] = {1, 3, 4, 4, 12};
        uint32_t k = in.Below(5);
        int w = int(in.Dim(200)), h = int(in.Dim(64)), step = -7;
        int64_t row = int64_t(w) * kBytes[k];
        if (row <= INT32_MAX && w > 0 && h > 0 && uint64_t(row) * uint64_t(h) > kMaxBytes) return;
        void* p = k == 0 ? static_cast<void*>(ippiMalloc_8u_C1(w, h, &step))
                  : k == 1 ? static_cast<void*>(ippiMalloc_8u_C3(w, h, &step))
                  : k == 2 ? static_cast<void*>(ippiMalloc_8u_AC4(w, h, &step))
                  : k == 3 ? static_cast<void*>(ippiMalloc_32f_C1(w, h, &step))
                           : static_cast<void*>(ippiMalloc_32f_C3(w, h, &step));
        if (w <= 0 || h <= 0 || row > INT32_MAX) TUL_FUZZ_EXPECT(p == nullptr);
        if (p) {
            TUL_FUZZ_EXPECT(step >= row && step % 64 == 0 && reinterpret_cast<uintptr_t>(p) % 64 == 0);
            std::memset(p, 0xA5, size_t(step) * size_t(h));
        }
        ippiFree(p);
    },
    OneToOne(1, 1, [](ARGS1) { (void)in; return ippiCopy_8u_C1R(s, ss, d, ds, r); }),
    OneToOne(3, 3, [](ARGS1) { (void)in; return ippiCopy_8u_C3R(s, ss, d, ds, r); }),
    OneToOne(4, 4, [](ARGS1) { (void)in; return ippiCopy_8u_C4R(s, ss, d, ds, r); }),
    OneToOne(3, 4, [](ARGS1) { (void)in; return ippiCopy_8u_C3AC4R(s, ss, d, ds, r); }),
    OneToOne(4, 3, [](ARGS1) { (void)in; return ippiCopy_8u_AC4C3R(s, ss, d, ds, r); }),
    OneToOne(3, 3, [](ARGS1) {
        int order[3] = {int(in.Below(4)), int(in.Below(4)), int(in.Below(4))};
        return ippiSwapChannels_8u_C3R(s, ss, d, ds, r, order);
    }),
    OneToOne(3, 3, [](ARGS1) {
        Ipp8u v[3] = {Value(in), Value(in), Value(in)};
        return ippiAddC_8u_C3RSfs(s, ss, in.Below(16) ? v : nullptr, d, ds, r, Scale(in));
    }),
    OneToOne(2, 3, [](ARGS1) { (void)in; return ippiYCbCr422ToRGB_8u_C2C3R(s, ss, d, ds, r); }),
    OneToOne(12, 3, [](ARGS1) {
        return ippiConvert_32f8u_C3R(reinterpret_cast<const Ipp32f*>(s), ss, d, ds, r,
                                     IppRoundMode(in.Below(4)));
    }),
    OneToOne(3, 12, [](ARGS1) {
        Ipp32f lo = Level(in), hi = Level(in);
        return ippiScale_8u32f_C3R(s, ss, reinterpret_cast<Ipp32f*>(d), ds, r, lo, hi);
    }),
    OneToOne(12, 3, [](ARGS1) {
        Ipp32f lo = Level(in), hi = Level(in);
        return ippiScale_32f8u_C3R(reinterpret_cast<const Ipp32f*>(s), ss, d, ds, r, lo, hi);
    }),
    OneToOne(1, 1, [](ARGS1) {
        Ipp8u a1 = Value(in), a2 = Value(in);
        return ippiAlphaCompC_8u_C1R(s, ss, a1, s, ss, a2, d, ds, r, IppiAlphaType(in.Below(16)));
    }),
    OneToOne(3, 3, [](ARGS1) {
        Ipp8u a1 = Value(in), a2 = Value(in);
        return ippiAlphaCompC_8u_C3R(s, ss, a1, s, ss, a2, d, ds, r, IppiAlphaType(in.Below(16)));
    }),
    OneToOne(4, 4, [](ARGS1) {
        Ipp8u a1 = Value(in), a2 = Value(in);
        return ippiAlphaCompC_8u_C4R(s, ss, a1, s, ss, a2, d, ds, r, IppiAlphaType(in.Below(16)));
    }),
    OneToOne(4, 4, [](ARGS1) {
        return ippiAlphaComp_8u_AC4R(s, ss, s, ss, d, ds, r, IppiAlphaType(in.Below(16)));
    }),
    InPlace(1, [](ARGSI) { return ippiSet_8u_C1R(Value(in), d, ds, r); }),
    InPlace(4, [](ARGSI) { return ippiSet_8u_C4CR(Value(in), d, ds, r); }),
    InPlace(1, [](ARGSI) { return ippiMirror_8u_C1IR(d, ds, r, IppiAxis(in.Below(4))); }),
    InPlace(3, [](ARGSI) { return ippiMirror_8u_C3IR(d, ds, r, IppiAxis(in.Below(4))); }),
    InPlace(4, [](ARGSI) { return ippiMirror_8u_C4IR(d, ds, r, IppiAxis(in.Below(4))); }),
    InPlace(3, [](ARGSI) {
        int order[3] = {int(in.Below(4)), int(in.Below(4)), int(in.Below(4))};
        return ippiSwapChannels_8u_C3IR(d, ds, r, order);
    }),
    InPlace(3, [](ARGSI) {
        Ipp8u v[3] = {Value(in), Value(in), Value(in)};
        return ippiAddC_8u_C3IRSfs(v, d, ds, r, Scale(in));
    }),
    InPlace(1, [](ARGSI) { return ippiSubC_8u_C1IRSfs(Value(in), d, ds, r, Scale(in)); }),
    InPlace(3, [](ARGSI) {
        Ipp8u v[3] = {Value(in), Value(in), Value(in)};
        return ippiSubC_8u_C3IRSfs(v, d, ds, r, Scale(in));
    }),
    PackedPlanes(3, 3, true, true, 1, 1, [](ARGSP) { (void)in; return ippiCopy_8u_C3P3R(pk, ps, pl.ptr, pl.steps[0], r); }),
    PackedPlanes(4, 4, true, true, 1, 1, [](ARGSP) { (void)in; return ippiCopy_8u_C4P4R(pk, ps, pl.ptr, pl.steps[0], r); }),
    PackedPlanes(4, 4, false, true, 1, 1, [](ARGSP) {
        (void)in;
        const Ipp8u* src[4] = {pl.ptr[0], pl.ptr[1], pl.ptr[2], pl.ptr[3]};
        return ippiCopy_8u_P4C4R(src, pl.steps[0], pk, ps, r);
    }),
    PackedPlanes(2, 3, true, false, 2, 1, [](ARGSP) {
        (void)in;
        return ippiSplit422_8u_C2P3R(pk, ps, in.Below(32) ? pl.ptr : nullptr, pl.steps, r);
    }),
    PackedPlanes(2, 3, false, false, 2, 1, [](ARGSP) {
        const Ipp8u* src[3] = {pl.ptr[0], pl.ptr[1], pl.ptr[2]};
        return ippiJoin422_8u_P3C2R(in.Below(32) ? src : nullptr, pl.steps, pk, ps, r);
    }),
    PackedPlanes(2, 3, true, true, 1, 1, [](ARGSP) { (void)in; return ippiYCbCr422ToRGB_8u_C2P3R(pk, ps, pl.ptr, pl.steps[0], r); }),
    PackedPlanes(3, 3, false, false, 2, 2, [](ARGSP) {
        (void)in;
        const Ipp8u* src[3] = {pl.ptr[0], pl.ptr[1], pl.ptr[2]};
        return ippiYCbCr420ToBGR_8u_P3C3R(src, pl.steps, pk, ps, r);
    }),
    PackedPlanes(3, 3, true, false, 2, 2, [](ARGSP) { (void)in; return ippiRGBToYCbCr420_8u_C3P3R(pk, ps, pl.ptr, pl.steps, r); }),
    PackedPlanes(2, 3, false, true, 1, 1, [](ARGSP) {
        (void)in;
        const Ipp8u* src[3] = {pl.ptr[0], pl.ptr[1], pl.ptr[2]};
        return ippiRGBToYCbCr422_8u_P3C2R(src, pl.steps[0], pk, ps, r);
    }),
    PackedPlanes(3, 3, false, true, 1, 1, [](ARGSP) {
        (void)in;
        const Ipp8u* src[3] = {pl.ptr[0], pl.ptr[1], pl.ptr[2]};
        return ippiYCbCrToBGR_JPEG_8u_P3C3R(src, pl.steps[0], pk, ps, r);
    }),
    PackedPlanes(1, 3, true, true, 1, 1, [](ARGSP) {
        // Planes to planes: the packed side stands in as nothing.
        (void)pk; (void)ps; (void)in;
        const Ipp8u* src[3] = {pl.ptr[0], pl.ptr[1], pl.ptr[2]};
        return ippiYCbCrToRGB_JPEG_8u_P3R(src, pl.steps[0], pl.ptr, pl.steps[0], r);
    }),
    PackedPlanes(3, 3, true, true, 1, 1, [](ARGSP) { (void)in; return ippiBGRToYCbCr_JPEG_8u_C3P3R(pk, ps, pl.ptr, pl.steps[0], r); }),
    TwoSizes(1, [](ARGS2) { (void)in; return ippiSampleDownH2V1_JPEG_8u_C1R(s, ss, sr, d, ds, dr); }),
    TwoSizes(1, [](ARGS2) { (void)in; return ippiSampleDownH2V2_JPEG_8u_C1R(s, ss, sr, d, ds, dr); }),
    TwoSizes(1, [](ARGS2) { (void)in; return ippiSampleUpH2V1_JPEG_8u_C1R(s, ss, sr, d, ds, dr); }),
    TwoSizes(1, [](ARGS2) { (void)in; return ippiSampleUpH2V2_JPEG_8u_C1R(s, ss, sr, d, ds, dr); }),
    TwoSizes(1, [](ARGS2) {
        IppiRect roi{int(int8_t(in.Byte())) / 4, int(int8_t(in.Byte())) / 4, in.Bit() ? sr.width : int(in.Byte() % 48),
                     in.Bit() ? sr.height : int(in.Byte() % 32)};
        double fx = Factor(in), fy = Factor(in), cx = Centre(in), cy = Centre(in);
        return ippiResizeCenter_8u_C1R(s, sr, ss, roi, d, ds, dr, fx, fy, cx, cy, Interp(in));
    }),
    TwoSizes(3, [](ARGS2) {
        IppiRect roi{0, 0, sr.width, sr.height};
        double fx = Factor(in), fy = Factor(in), cx = Centre(in), cy = Centre(in);
        return ippiResizeCenter_8u_C3R(s, sr, ss, roi, d, ds, dr, fx, fy, cx, cy, Interp(in));
    }),
    TwoSizes(4, [](ARGS2) {
        IppiRect roi{int(int8_t(in.Byte())) / 8, int(int8_t(in.Byte())) / 8, sr.width, sr.height};
        double fx = Factor(in), fy = Factor(in), cx = Centre(in), cy = Centre(in);
        return ippiResizeCenter_8u_C4R(s, sr, ss, roi, d, ds, dr, fx, fy, cx, cy, Interp(in));
    }),
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    kCases[in.Byte() % std::size(kCases)](in);
    return 0;
}
