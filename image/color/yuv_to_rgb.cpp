// Placeholder operations of the Y'CbCr to RGB kernels, until they land.
#include "image/color/kernel_table.h"

namespace tul::color {

void YUV420ToRGB24(const KernelCall&) { throw KernelFailure("YUV420ToRGB24: not built yet"); }
void YUV420ToRGB32(const KernelCall&) { throw KernelFailure("YUV420ToRGB32: not built yet"); }
void YUV420ToVexoShiftedStraightRGB24(const KernelCall&) { throw KernelFailure("YUV420ToVexoShiftedStraightRGB24: not built yet"); }
void YUV420ToVexoShiftedStraightRGB32(const KernelCall&) { throw KernelFailure("YUV420ToVexoShiftedStraightRGB32: not built yet"); }
void CCIR601YUY2ToRGB24(const KernelCall&) { throw KernelFailure("CCIR601YUY2ToRGB24: not built yet"); }
void CCIR601YUY2ToRGB32(const KernelCall&) { throw KernelFailure("CCIR601YUY2ToRGB32: not built yet"); }
void CCIR601YUY2ToVexoShiftedStraightRGB24(const KernelCall&) { throw KernelFailure("CCIR601YUY2ToVexoShiftedStraightRGB24: not built yet"); }
void CCIR601YUY2ToVexoShiftedStraightRGB32(const KernelCall&) { throw KernelFailure("CCIR601YUY2ToVexoShiftedStraightRGB32: not built yet"); }

}  // namespace tul::color
