// Placeholder operation of YUY2 to VUYA, until it lands.
#include "image/color/kernel_table.h"

namespace tul::color {

void CCIR601YUY2ToVUYA(const KernelCall&) { throw KernelFailure("CCIR601YUY2ToVUYA: not built yet"); }

}  // namespace tul::color
