// TulImage: the exported picture library. Pixel formats and picture
// geometry, aligned memory blocks, processor identification, resizing
// with the primitive library's resamplers or with our own resampler,
// colour conversion between the eight formats, and the field operations
// (extraction, interleaving, field-order swap, deinterlacing).
//
// Sizes and status codes are 32-bit (ULONG, int) whatever the platform;
// every status is a TulImage::TUL_STATUS value.
#pragma once

#include "image/color/kernel_list.h"
#include "platform/ipp/ippdefs.h"
#include "platform/win32/wintypes.h"

#if defined(_WIN32)
#define TUL_API __declspec(dllexport)
#else
#define TUL_API __attribute__((visibility("default")))
#endif

// ---------------------------------------------------------------------------
// Aligned memory block and the raw fill and copy routines.
class TUL_API TulMemory {
public:
    TulMemory();
    virtual ~TulMemory();
    // One owner per block: a copy would release the same block twice.
    TulMemory(const TulMemory&) = delete;
    TulMemory& operator=(const TulMemory&) = delete;

    // Holds a block of `size` bytes aligned to `alignment` (a power of two).
    // Returns the block, or null when it cannot be obtained.
    void* Initialize(unsigned int size, unsigned int alignment);
    void UnInitialize();
    void* GetBuffer();
    unsigned int GetSize();
    unsigned int GetAlignment();
    // Zero-fills the whole held block.
    void Clear();

    static void* Set(void* dest, int value, unsigned int count);
    static void ZeroClear(void* dest, unsigned int count);
    // Forward copy; the ranges must not overlap.
    static void* Copy(void* dest, const void* src, unsigned int count);
    // Overlap-safe copy.
    static void* Move(void* dest, const void* src, unsigned int count);

private:
    void* buffer;
    unsigned int size;
    unsigned int alignment;
};

// ---------------------------------------------------------------------------
// Processor identification. Stateless; every call asks the processor again.
class TUL_API CTulCpuJudgment {
public:
    enum CpuVender : unsigned int {
        VenderUnknown = 0,
        VenderIntel = 1,
        VenderAmd = 2,
        VenderTransmeta = 3,
        VenderCyrix = 4
    };

    CTulCpuJudgment() {}
    ~CTulCpuJudgment() {}
    CTulCpuJudgment& operator=(const CTulCpuJudgment&) { return *this; }

    static bool IsCpuidSupported();
    static CpuVender GetVender();
    static ULONG GetModel();
    static bool IsCrusoe();
    static bool IsSupportSSE2();
};

// ---------------------------------------------------------------------------
// Records of a prepared resize.

// Scratch planes of a YUY2 resize through the primitive resamplers: the
// packed picture is split into Y, U, V planes, each resized, then joined.
// Pointer and step triples lie side by side because the split and join
// primitives take them as arrays of three.
struct TEMP_PLANAR_FORMAT {
    unsigned char* srcPlane[3];
    unsigned char* dstPlane[3];
    int srcPlaneStep[3];
    int dstPlaneStep[3];
};

struct RESIZE_INFO {
    ULONG srcWidth;
    ULONG srcHeight;
    ULONG dstWidth;
    ULONG dstHeight;
    IppiRect srcRegion;
    int srcStep;
    int dstStep;
    int srcMarginX;
    int dstMarginX;
    int dstMarginY;
    bool resizeNeeded;
    double xFactor;
    double yFactor;
    int interpolation;  // an INTERPOLATION_MODE value
    TEMP_PLANAR_FORMAT tempPlanar;
};

namespace tul {
struct ResizePlan;   // the prepared resamplers of a TulImage, internal to the library
struct ConvertPlan;  // the prepared conversion of a TulImage, internal to the library
}

// Records of a conversion, defined after TulImage (they hold its enumerations).
struct PICTURE_INFO;
struct CONVERT_MODE;
struct CONVERT_INFO;

// ---------------------------------------------------------------------------
class TUL_API TulImage {
public:
    // What every library operation returns, as a 32-bit value.
    enum TUL_STATUS : ULONG {
        TUL_SUCCESS = 0,
        TUL_NO_MEMORY = 1,         // memory could not be obtained
        TUL_BUFFER_TOO_SMALL = 2,  // the destination capacity is short of the bytes required
        TUL_INVALID_REQUEST = 3,   // a null pointer (the required size is still reported)
                                   // or a request the library cannot serve
        TUL_FAILED = 4             // the operation failed part-way
    };

    enum COLOR_FORMAT_TYPE : int {
        COLOR_FORMAT_YUY2 = 0,
        COLOR_FORMAT_RGB24 = 1,
        COLOR_FORMAT_RGB32 = 2,
        COLOR_FORMAT_SHIFTED_STRAIGHT_RGB24 = 3,
        COLOR_FORMAT_SHIFTED_STRAIGHT_RGB32 = 4,
        COLOR_FORMAT_YUV420 = 5,
        COLOR_FORMAT_YV12 = 6,
        COLOR_FORMAT_VUYA = 7
    };

    enum INTERPOLATION_MODE : int {
        INTERPOLATION_NEAREST = 0,
        INTERPOLATION_LINEAR = 1,
        INTERPOLATION_CUBIC = 2,
        INTERPOLATION_AUTO = 3,
        INTERPOLATION_VEXO = 4
    };

    // Rows counted in memory order from the first row of the buffer.
    enum FIELD_TYPE : int {
        FIELD_FRAME = 0,
        FIELD_EVEN = 1,
        FIELD_ODD = 2
    };

    TulImage();
    // A copy takes the plan (sizes, factors, margins, mode) and allocates
    // scratch planes of its own; it never shares blocks with the object it copies.
    TulImage(const TulImage& other);
    TulImage& operator=(const TulImage& other);
    virtual ~TulImage();

    // --- Picture geometry ---------------------------------------------------
    static ULONG GetBitPixel(COLOR_FORMAT_TYPE format);
    static ULONG GetPictureSize(COLOR_FORMAT_TYPE format, ULONG width, ULONG height, int step);
    static ULONG GetGenericSize(COLOR_FORMAT_TYPE format, ULONG width, ULONG height, int* step,
                                int* bitPixel);
    static int GetGenericStep(COLOR_FORMAT_TYPE format, ULONG width, ULONG height);
    static void ClearPicture(unsigned char* buffer, COLOR_FORMAT_TYPE format, ULONG width,
                             ULONG height, int step);

    // --- One-call resize ----------------------------------------------------
    // `size` is in-out: the destination capacity on entry, the bytes the
    // destination occupies on return. A negative step is a bottom-up picture.
    static ULONG ResizeYUY2(unsigned char* const src, unsigned char* dst, ULONG* size,
                            ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth,
                            ULONG dstHeight, int dstStep, INTERPOLATION_MODE mode);
    static ULONG ResizeYUV420(unsigned char* const src, unsigned char* dst, ULONG* size,
                              ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth,
                              ULONG dstHeight, int dstStep, INTERPOLATION_MODE mode);
    static ULONG ResizeRGB24(unsigned char* const src, unsigned char* dst, ULONG* size,
                             ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth,
                             ULONG dstHeight, int dstStep, INTERPOLATION_MODE mode);
    static ULONG ResizeRGB32(unsigned char* const src, unsigned char* dst, ULONG* size,
                             ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth,
                             ULONG dstHeight, int dstStep, INTERPOLATION_MODE mode);
    static ULONG Resize(unsigned char* const src, unsigned char* dst, ULONG* size, ULONG srcWidth,
                        ULONG srcHeight, int srcStep, ULONG dstWidth, ULONG dstHeight, int dstStep,
                        COLOR_FORMAT_TYPE format, INTERPOLATION_MODE mode);

    // --- Prepared resize ----------------------------------------------------
    ULONG Initialize(ULONG srcWidth, ULONG srcHeight, ULONG dstWidth, ULONG dstHeight,
                     INTERPOLATION_MODE mode);
    ULONG InitializeEx(ULONG srcWidth, ULONG srcHeight, tagRECT srcRect, ULONG dstWidth,
                       ULONG dstHeight, tagRECT dstRect, INTERPOLATION_MODE mode);
    ULONG ResizeYUY2(unsigned char* const src, unsigned char* dst, ULONG* size);
    ULONG ResizeRGB24(unsigned char* const src, unsigned char* dst, ULONG* size);
    ULONG ResizeRGB32(unsigned char* const src, unsigned char* dst, ULONG* size);

    // --- Colour conversion ----------------------------------------------------
    // One kernel per supported pair of formats, named Source + "To" +
    // Destination (the list is image/color/kernel_list.h). Source and
    // destination have the same width and height; steps are signed and never
    // 0 (no default here); `size` is in-out as for the resizes. A null source
    // or destination only reports the required size and returns
    // TUL_INVALID_REQUEST. Kernels with a 4:2:0 side take `progressive`:
    // false converts the even and the odd rows as two fields.
#define TUL_DECLARE_COLOR_KERNEL(name, source, destination, flag, operation) \
    static ULONG name(TUL_COLOR_KERNEL_PARAMS_##flag);
    TUL_COLOR_KERNELS(TUL_DECLARE_COLOR_KERNEL)
#undef TUL_DECLARE_COLOR_KERNEL

    // Expands a 1-, 4- or 8-bit palette bitmap described by `info` (its
    // width, height, bit count and colour table) into RGB24. Indices are
    // not checked against the table: it must cover every index that occurs.
    static ULONG PaletteToRGB24(unsigned char* const src, unsigned char* dst, ULONG* size, tagBITMAPINFO* info,
                                int srcStep, int dstStep);

    // --- Fields and deinterlacing ----------------------------------------------
    // Rows are counted in memory order from the buffer's first byte; a
    // negative step is a bottom-up picture. The field operations move whole
    // rows of |step| bytes (width only bounds the step from below). A 4:2:0
    // picture of h rows is h luma rows followed by its chroma block, h / 2
    // U rows then h / 2 V rows of |step| / 2 bytes; a field of n rows is
    // the same, its buffer holding GetPictureSize of n rows. Every
    // operation refuses (TUL_INVALID_REQUEST, nothing written) null
    // pointers, a step of 0 or INT32_MIN, a step shorter than the format's
    // row, byte counts beyond 32 bits, and a destination that overlaps its
    // source without being it. An empty picture writes nothing.

    // A frame's field order.
    enum SCAN_TYPE : int {
        SCAN_PROGRESSIVE = 0,
        SCAN_TOP_FIELD_FIRST = 1,     // a swap moves the picture down a row
        SCAN_BOTTOM_FIELD_FIRST = 2   // a swap moves the picture up a row
    };
    static_assert(sizeof(SCAN_TYPE) == 4, "SCAN_TYPE is a 32-bit value");

    enum DEINTERLACE_MODE : int {
        DEINTERLACE_LINE_DOUBLE = 0,  // each row of the kept field written twice
        DEINTERLACE_INTERPOLATE = 1   // the kept field resampled to the frame's height
    };
    static_assert(sizeof(DEINTERLACE_MODE) == 4, "DEINTERLACE_MODE is a 32-bit value");

    // One field into a picture of half the rows (rounded up when the field
    // starts on the first row in memory). `topField` names the displayed
    // field: the first memory row for a top-down picture, the second for a
    // bottom-up one. A 4:2:0 field takes every other row of the frame's
    // chroma block: for heights that are multiples of 4 its planes are the
    // frame's planes' rows of that parity, and the two fields of any frame
    // hold all of its chroma rows between them.
    static ULONG GetFieldYUV420(const unsigned char* src, unsigned char* dst, ULONG width,
                                ULONG height, int step, bool topField);
    static ULONG GetFieldYUY2(const unsigned char* src, unsigned char* dst, ULONG width,
                              ULONG height, int step, bool topField);
    static ULONG GetFieldRGB24(const unsigned char* src, unsigned char* dst, ULONG width,
                               ULONG height, int step, bool topField);
    static ULONG GetFieldRGB32(const unsigned char* src, unsigned char* dst, ULONG width,
                               ULONG height, int step, bool topField);

    // Interleaves two fields into a frame of `height` rows: the first field
    // on the even memory rows of a top-down frame, the second on them for
    // a bottom-up one. The even-row field has (height + 1) / 2 rows, the
    // other height / 2. The frame may not overlap either field.
    static ULONG MakeFrameYUV420(const unsigned char* firstField, const unsigned char* secondField,
                                 unsigned char* frame, ULONG width, ULONG height, int step);
    static ULONG MakeFrameYUY2(const unsigned char* firstField, const unsigned char* secondField,
                               unsigned char* frame, ULONG width, ULONG height, int step);
    static ULONG MakeFrameRGB24(const unsigned char* firstField, const unsigned char* secondField,
                                unsigned char* frame, ULONG width, ULONG height, int step);
    static ULONG MakeFrameRGB32(const unsigned char* firstField, const unsigned char* secondField,
                                unsigned char* frame, ULONG width, ULONG height, int step);

    // Changes the field order by shifting the displayed picture one row
    // (down for SCAN_TOP_FIELD_FIRST, up for SCAN_BOTTOM_FIELD_FIRST; 4:2:0
    // chroma one chroma row per plane); the freed edge row repeats the
    // nearest row of its new field. SCAN_PROGRESSIVE copies. May run in place.
    static ULONG FieldSwapYUV420(const unsigned char* src, unsigned char* dst, ULONG width,
                                 ULONG height, int step, SCAN_TYPE scanType);
    static ULONG FieldSwapYUY2(const unsigned char* src, unsigned char* dst, ULONG width,
                               ULONG height, int step, SCAN_TYPE scanType);
    static ULONG FieldSwapRGB24(const unsigned char* src, unsigned char* dst, ULONG width,
                                ULONG height, int step, SCAN_TYPE scanType);
    static ULONG FieldSwapRGB32(const unsigned char* src, unsigned char* dst, ULONG width,
                                ULONG height, int step, SCAN_TYPE scanType);

    // Rebuilds a progressive frame from one field: the odd memory rows for
    // a top-down SCAN_TOP_FIELD_FIRST or a bottom-up SCAN_BOTTOM_FIELD_FIRST
    // frame, else the even rows. Line doubling repeats each kept row over
    // its neighbour; interpolation resamples the kept field to the frame's
    // height (INTERPOLATION_VEXO by our own resampler for YUY2 and 4:2:0).
    // SCAN_PROGRESSIVE copies. May run in place. An invalid scan type or
    // mode is refused; a resample that cannot be made returns TUL_FAILED.
    static ULONG DeInterlaceYUV420(const unsigned char* src, unsigned char* dst, ULONG width,
                                   ULONG height, int step, SCAN_TYPE scanType,
                                   DEINTERLACE_MODE mode, INTERPOLATION_MODE interpolation);
    static ULONG DeInterlaceYUY2(const unsigned char* src, unsigned char* dst, ULONG width,
                                 ULONG height, int step, SCAN_TYPE scanType, DEINTERLACE_MODE mode,
                                 INTERPOLATION_MODE interpolation);
    static ULONG DeInterlaceRGB24(const unsigned char* src, unsigned char* dst, ULONG width,
                                  ULONG height, int step, SCAN_TYPE scanType,
                                  DEINTERLACE_MODE mode, INTERPOLATION_MODE interpolation);
    static ULONG DeInterlaceRGB32(const unsigned char* src, unsigned char* dst, ULONG width,
                                  ULONG height, int step, SCAN_TYPE scanType,
                                  DEINTERLACE_MODE mode, INTERPOLATION_MODE interpolation);

    // --- Whole conversions ------------------------------------------------------
    // Colour conversion, resize (optionally keeping the display aspect),
    // orientation and field work in one call. Descriptions are admitted
    // alike by every entry: zero sizes, steps of INT32_MIN or shorter than
    // the format's row, sizes past 32 bits, unknown formats, scan types
    // above 2 (when interlace is taken into account), zero aspect terms
    // (when the aspect is kept) and the same buffer for two formats are
    // refused (TUL_INVALID_REQUEST) with nothing written. A step of 0 is
    // the format's default step.

    // Plans a conversion for instance Convert; writes the destination's
    // required size into dst->size. A refused request leaves the object
    // unprepared with its plan released.
    ULONG InitializeConvert(PICTURE_INFO* src, PICTURE_INFO* dst, CONVERT_MODE* mode);
    // One-shot: plans, runs and releases. Null destination pixels only
    // report the required size in dstInfo->size (and return TUL_SUCCESS);
    // dstInfo->size is the capacity on entry.
    static ULONG Convert(const unsigned char* src, unsigned char* dst, PICTURE_INFO* srcInfo,
                         PICTURE_INFO* dstInfo, CONVERT_MODE* mode);
    // Runs the prepared plan; allocates nothing. TUL_FAILED before a
    // successful InitializeConvert.
    ULONG Convert(const unsigned char* src, unsigned char* dst);

    // --- Blending and compositing ---------------------------------------------
    // Weights mix the source in with w and the destination with 1 - w, each
    // turned into an 8-bit alpha (truncated, so mid weights sum to 254). A
    // weight outside [0, 1] is clamped; a NaN weight is refused. Steps are
    // signed, never 0; refusals (TUL_INVALID_REQUEST) write nothing.

    // Mixes src into dst in place; both pictures share width, height, step.
    // RGB32 mixes all four bytes. 4:2:0 chroma rows are |step| / 2 apart.
    static ULONG BlendYUV420(const unsigned char* src, unsigned char* dst, ULONG width, ULONG height,
                             int step, float weight);
    static ULONG BlendYUY2(const unsigned char* src, unsigned char* dst, ULONG width, ULONG height,
                           int step, float weight);
    static ULONG BlendRGB24(const unsigned char* src, unsigned char* dst, ULONG width, ULONG height,
                            int step, float weight);
    static ULONG BlendRGB32(const unsigned char* src, unsigned char* dst, ULONG width, ULONG height,
                            int step, float weight);

    // Mixes src into dst (the displayed field only, for FIELD_EVEN the top
    // one and for FIELD_ODD the bottom one; nothing when src is dst), then
    // resizes or copies the mixed rows into `out`, whose selected rows are
    // painted black first. `outSize` is output only: it receives the bytes
    // `out` occupies, which `out` must hold. TUL_NO_MEMORY or TUL_FAILED
    // leave the rows the call would have written zeroed.
    static ULONG BlendYUV420(const unsigned char* src, unsigned char* dst, unsigned char* out,
                             ULONG* outSize, ULONG srcWidth, ULONG srcHeight, int srcStep,
                             ULONG dstWidth, ULONG dstHeight, int dstStep, float weight,
                             FIELD_TYPE field, INTERPOLATION_MODE mode);
    static ULONG BlendYUY2(const unsigned char* src, unsigned char* dst, unsigned char* out,
                           ULONG* outSize, ULONG srcWidth, ULONG srcHeight, int srcStep,
                           ULONG dstWidth, ULONG dstHeight, int dstStep, float weight,
                           FIELD_TYPE field, INTERPOLATION_MODE mode);
    static ULONG BlendRGB24(const unsigned char* src, unsigned char* dst, unsigned char* out,
                            ULONG* outSize, ULONG srcWidth, ULONG srcHeight, int srcStep,
                            ULONG dstWidth, ULONG dstHeight, int dstStep, float weight,
                            FIELD_TYPE field, INTERPOLATION_MODE mode);
    static ULONG BlendRGB32(const unsigned char* src, unsigned char* dst, unsigned char* out,
                            ULONG* outSize, ULONG srcWidth, ULONG srcHeight, int srcStep,
                            ULONG dstWidth, ULONG dstHeight, int dstStep, float weight,
                            FIELD_TYPE field, INTERPOLATION_MODE mode);

    // out = fg over bg by fg's per-pixel alpha (its fourth byte). Packed
    // top-down pictures without a step: 32-bit rows of 4 x width bytes,
    // 24-bit rows rounded up to 4 bytes. AlphaCompRGB24 composites over an
    // opaque RGB24 background into RGB24. A failure zeroes `out`.
    static ULONG AlphaCompRGB32(unsigned char* const fg, unsigned char* const bg, unsigned char* out,
                                ULONG width, ULONG height);
    static ULONG AlphaCompRGB24(unsigned char* const fg, unsigned char* const bg, unsigned char* out,
                                ULONG width, ULONG height);

    // How much two frames differ: the wrapping sum of absolute differences
    // over every 8th row and every 8th pixel (4:2:0 and YUY2 luma, RGB24
    // (3B + 6G + R) / 10). Packed top-down pictures as above; 0 for a null
    // picture or an empty size.
    static ULONG GetDeltaFromYUV420(const unsigned char* a, const unsigned char* b, ULONG width,
                                    ULONG height);
    static ULONG GetDeltaFromYUY2(const unsigned char* a, const unsigned char* b, ULONG width,
                                  ULONG height);
    static ULONG GetDeltaFromRGB24(const unsigned char* a, const unsigned char* b, ULONG width,
                                   ULONG height);

private:
    // The field geometry of a resize-blend: the factors and margins of the
    // two sizes, and for a field the row offset of the displayed field, the
    // doubled steps and the halved heights. False when no resize is needed.
    static bool GetResizeFactorForBlend(COLOR_FORMAT_TYPE format, FIELD_TYPE field, IppiSize* srcSize,
                                        int* srcStep, int* srcOffset, IppiSize* dstSize, int* dstStep,
                                        int* dstOffset, double* xFactor, double* yFactor,
                                        int* srcMarginX, int* dstMarginX);

    // Converts a picture between any two formats the kernels join, or
    // copies it when both are the same; TUL_INVALID_REQUEST otherwise.
    static ULONG ColorConvert(unsigned char* const src, unsigned char* dst, ULONG* size, ULONG width,
                              ULONG height, COLOR_FORMAT_TYPE srcFormat, COLOR_FORMAT_TYPE dstFormat,
                              int srcStep, int dstStep, bool progressive);

    // Conversion planning: the colour pair and the intermediate picture
    // (destination format at the source size), the factors and margins of
    // the resize, and the field work.
    static bool CheckSupportColorConv(PICTURE_INFO* src, PICTURE_INFO* dst, ULONG* step,
                                      ULONG* size);
    static bool GetResizeFactorEx(PICTURE_INFO* src, PICTURE_INFO* dst, bool keepAspect,
                                  CONVERT_INFO* info);
    static ULONG CheckInterlaceConv(PICTURE_INFO* src, PICTURE_INFO* dst, DEINTERLACE_MODE mode,
                                    CONVERT_INFO* info);
    // Releases the plan's blocks and zeroes the record; null does nothing.
    static void ClearConvertBuffer(CONVERT_INFO* info);

    // The conversion stages, one per destination family: resize, orientation
    // and field work on a picture already in the destination's format.
    static ULONG ConvertYUY2(unsigned char* src, unsigned char* dst, PICTURE_INFO* srcInfo,
                             PICTURE_INFO* dstInfo, CONVERT_MODE* mode, CONVERT_INFO* info);
    static ULONG ConvertYUV420(unsigned char* src, unsigned char* dst, PICTURE_INFO* srcInfo,
                               PICTURE_INFO* dstInfo, CONVERT_MODE* mode, CONVERT_INFO* info);
    static ULONG ConvertRGB24(unsigned char* src, unsigned char* dst, PICTURE_INFO* srcInfo,
                              PICTURE_INFO* dstInfo, CONVERT_MODE* mode, CONVERT_INFO* info);
    static ULONG ConvertRGB32(unsigned char* src, unsigned char* dst, PICTURE_INFO* srcInfo,
                              PICTURE_INFO* dstInfo, CONVERT_MODE* mode, CONVERT_INFO* info);

    // The library's resize machinery prepares and releases the object's plan.
    friend struct tul::ResizePlan;
    // The conversion machinery likewise.
    friend struct tul::ConvertPlan;

    bool m_resizeReady;
    RESIZE_INFO m_resizeInfo;
    // The prepared resamplers, owned; a copy builds its own. Null while
    // nothing is prepared.
    tul::ResizePlan* m_plan;
    // The prepared conversion, owned; a copy builds its own. Null while no
    // conversion is prepared.
    tul::ConvertPlan* m_convert;
};

// ---------------------------------------------------------------------------
// Records of a conversion. 32-bit fields throughout, as on the system's
// native platform; the plan's two blocks are native pointers.

// One picture. `size` is the buffer's bytes: the capacity on entry to the
// static Convert, the required size on return of it and of InitializeConvert.
struct PICTURE_INFO {
    ULONG size;
    ULONG width;
    ULONG height;
    int step;  // signed: negative is bottom-up; 0 the format's default
    ULONG aspectX;  // the display aspect ratio aspectX : aspectY
    ULONG aspectY;
    TulImage::SCAN_TYPE scanType;
    TulImage::COLOR_FORMAT_TYPE colorFormat;
};
static_assert(sizeof(PICTURE_INFO) == 32, "PICTURE_INFO is eight 32-bit fields");

struct CONVERT_MODE {
    bool keepAspect;        // letterbox or pillarbox to keep the display aspect
    bool convertInterlace;  // take the scan types into account
    TulImage::INTERPOLATION_MODE interpolation;
    TulImage::DEINTERLACE_MODE deinterlaceMode;
};
static_assert(sizeof(CONVERT_MODE) == 12, "CONVERT_MODE: two bytes, then two 32-bit fields");

// A conversion's plan.
struct CONVERT_INFO {
    ULONG resizeKind;   // 0 none, 1 whole picture, 2 field by field, 3 even rows only, 4 odd rows only
    ULONG fieldAction;  // 0 none, 1 deinterlace keeping the even rows, 2 the odd rows, 3 field swap
    int srcWidth;       // the picture entering the resize
    int srcHeight;
    int dstWidth;
    int dstHeight;
    int srcStep;  // pitches, never negative
    int dstStep;
    int srcMarginX;  // horizontal margins in pixels, multiples of 4
    int dstMarginX;
    int dstMarginY;
    double xFactor;  // destination over source
    double yFactor;
    TulMemory* convertBuffer;         // the colour-converted intermediate, owned
    TEMP_PLANAR_FORMAT* tempPlanar;   // YUY2 scratch planes of a library resize, owned
};
static_assert(sizeof(ULONG) == 4 && sizeof(int) == 4, "32-bit plan fields");
static_assert(sizeof(CONVERT_INFO) == 64 + 2 * sizeof(void*),
              "CONVERT_INFO: eleven 32-bit fields, padding, two doubles, two pointers");
