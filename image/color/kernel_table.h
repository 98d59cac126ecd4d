// The kernels' table, generated from image/color/kernel_list.h: each
// exported name with its formats, its flag, its operation and a uniform
// way to call it; the admission every kernel shares; and the dispatcher
// behind TulImage::ColorConvert.
#pragma once

#include "image/TulImage.h"
#include "image/color/kernel_call.h"

#include <cstdint>

namespace tul::color {

// The operations, one per distinct conversion (aliases share one).
#define TUL_DECLARE_COLOR_OPERATION(name, source, destination, flag, operation) \
    void operation(const KernelCall& call);
TUL_COLOR_KERNELS(TUL_DECLARE_COLOR_OPERATION)
#undef TUL_DECLARE_COLOR_OPERATION
// The same-format copy of the dispatcher.
void CopyPicture(const KernelCall& call);

// The arguments of any kernel, so tables and tests call every kernel alike.
struct KernelArgs {
    unsigned char* src;
    unsigned char* dst;
    ULONG* size;
    ULONG width;
    ULONG height;
    int srcStep;
    int dstStep;
    bool progressive;  // ignored by kernels that take no flag
};

using ExportedKernel = ULONG (*)(const KernelArgs&);

struct KernelEntry {
    const char* name;
    Format source;
    Format destination;
    bool takesProgressive;
    ExportedKernel call;      // the exported TulImage member
    KernelOperation operation;
};

inline constexpr int kColorKernelCount = 0
#define TUL_COUNT_COLOR_KERNEL(...) +1
    TUL_COLOR_KERNELS(TUL_COUNT_COLOR_KERNEL)
#undef TUL_COUNT_COLOR_KERNEL
    ;
static_assert(kColorKernelCount == 37);

extern const KernelEntry kColorKernels[kColorKernelCount];

// The kernel that converts `source` into `destination`, or null.
const KernelEntry* FindKernel(Format source, Format destination);

// Bytes a destination of `format` occupies at `step` over `height` rows:
// |step| x height packed, (|step| + |step / 2|) x height for 4:2:0. In 64
// bits, so a caller can refuse what does not fit in 32.
std::uint64_t RequiredBytes(Format format, int step, ULONG height);

// Admits the arguments of a conversion from `source` to `destination` and
// runs `operation` under the kernels' protocol:
//  - TUL_INVALID_REQUEST with nothing written (and *size untouched) for a
//    null size pointer, a step of 0 or INT32_MIN, a step shorter than the
//    row the format keeps, a picture too small to hold a chroma sample
//    (4:2:0 narrower or lower than 2), or a source extent or required size
//    beyond 32 bits;
//  - a null source or destination: the required size in *size, then
//    TUL_INVALID_REQUEST;
//  - TUL_BUFFER_TOO_SMALL with nothing written when *size is short;
//  - an empty picture (width or height 0) converts nothing: TUL_SUCCESS;
//  - TUL_FAILED with the required bytes zeroed if the operation throws.
ULONG RunKernel(Format source, Format destination, KernelOperation operation, const KernelArgs& args) noexcept;

// TulImage::ColorConvert: the kernel of the pair, the same-format copy,
// or TUL_INVALID_REQUEST with nothing written for any other pair.
ULONG Dispatch(const KernelArgs& args, Format source, Format destination) noexcept;

}  // namespace tul::color
