// Placeholder operations of the RGB to Y'CbCr kernels, until they land.
#include "image/color/kernel_table.h"

namespace tul::color {

void RGB24ToYUV420(const KernelCall&) { throw KernelFailure("RGB24ToYUV420: not built yet"); }
void RGB24ToYV12(const KernelCall&) { throw KernelFailure("RGB24ToYV12: not built yet"); }
void RGB24ToCCIR601YUY2(const KernelCall&) { throw KernelFailure("RGB24ToCCIR601YUY2: not built yet"); }
void RGB32ToYUV420(const KernelCall&) { throw KernelFailure("RGB32ToYUV420: not built yet"); }
void RGB32ToYV12(const KernelCall&) { throw KernelFailure("RGB32ToYV12: not built yet"); }
void RGB32ToCCIR601YUY2(const KernelCall&) { throw KernelFailure("RGB32ToCCIR601YUY2: not built yet"); }
void VexoShiftedStraightRGB24ToYUV420(const KernelCall&) { throw KernelFailure("VexoShiftedStraightRGB24ToYUV420: not built yet"); }
void VexoShiftedStraightRGB24ToYV12(const KernelCall&) { throw KernelFailure("VexoShiftedStraightRGB24ToYV12: not built yet"); }
void VexoShiftedStraightRGB24ToCCIR601YUY2(const KernelCall&) { throw KernelFailure("VexoShiftedStraightRGB24ToCCIR601YUY2: not built yet"); }
void VexoShiftedStraightRGB32ToYUV420(const KernelCall&) { throw KernelFailure("VexoShiftedStraightRGB32ToYUV420: not built yet"); }
void VexoShiftedStraightRGB32ToYV12(const KernelCall&) { throw KernelFailure("VexoShiftedStraightRGB32ToYV12: not built yet"); }
void VexoShiftedStraightRGB32ToCCIR601YUY2(const KernelCall&) { throw KernelFailure("VexoShiftedStraightRGB32ToCCIR601YUY2: not built yet"); }

}  // namespace tul::color
