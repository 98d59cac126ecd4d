// Placeholder operations of the Y'CbCr rearranging kernels, until they land.
#include "image/color/kernel_table.h"

namespace tul::color {

void YUV420ToYV12(const KernelCall&) { throw KernelFailure("YUV420ToYV12: not built yet"); }
void YUV420ToCCIR601YUY2(const KernelCall&) { throw KernelFailure("YUV420ToCCIR601YUY2: not built yet"); }
void CCIR601YUY2ToYUV420(const KernelCall&) { throw KernelFailure("CCIR601YUY2ToYUV420: not built yet"); }
void CCIR601YUY2ToYV12(const KernelCall&) { throw KernelFailure("CCIR601YUY2ToYV12: not built yet"); }

}  // namespace tul::color
