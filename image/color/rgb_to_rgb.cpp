// Placeholder operations of the RGB to RGB kernels, until they land.
#include "image/color/kernel_table.h"

namespace tul::color {

void RGB32ToRGB24(const KernelCall&) { throw KernelFailure("RGB32ToRGB24: not built yet"); }
void RGB24ToRGB32(const KernelCall&) { throw KernelFailure("RGB24ToRGB32: not built yet"); }
void RGB24ToVexoShiftedStraightRGB24(const KernelCall&) { throw KernelFailure("RGB24ToVexoShiftedStraightRGB24: not built yet"); }
void RGB24ToVexoShiftedStraightRGB32(const KernelCall&) { throw KernelFailure("RGB24ToVexoShiftedStraightRGB32: not built yet"); }
void RGB32ToVexoShiftedStraightRGB24(const KernelCall&) { throw KernelFailure("RGB32ToVexoShiftedStraightRGB24: not built yet"); }
void RGB32ToVexoShiftedStraightRGB32(const KernelCall&) { throw KernelFailure("RGB32ToVexoShiftedStraightRGB32: not built yet"); }
void VexoShiftedStraightRGB24ToRGB24(const KernelCall&) { throw KernelFailure("VexoShiftedStraightRGB24ToRGB24: not built yet"); }
void VexoShiftedStraightRGB24ToRGB32(const KernelCall&) { throw KernelFailure("VexoShiftedStraightRGB24ToRGB32: not built yet"); }
void VexoShiftedStraightRGB32ToRGB24(const KernelCall&) { throw KernelFailure("VexoShiftedStraightRGB32ToRGB24: not built yet"); }
void VexoShiftedStraightRGB32ToRGB32(const KernelCall&) { throw KernelFailure("VexoShiftedStraightRGB32ToRGB32: not built yet"); }

}  // namespace tul::color
