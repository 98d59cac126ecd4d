// The colour conversion kernels, listed once. Each line names an exported
// kernel of TulImage, its source and destination formats (the suffix of a
// COLOR_FORMAT_ enumerator), whether it takes the progressive flag (P) or
// not (N), and the operation that carries it out. Two names that share an
// operation are one implementation exported twice.
//
// The list generates the declarations in TulImage, the exported wrappers,
// the dispatcher's table and the tests' parameter lists, so a kernel is
// added or renamed here and nowhere else.
//
// X(name, source, destination, flag, operation)
#pragma once

#define TUL_COLOR_KERNELS(X)                                                                              \
    /* Y'CbCr to Y'CbCr: arrangement and chroma resolution only */                                        \
    X(YUV420ToYV12, YUV420, YV12, N, YUV420ToYV12)                                                        \
    X(YUV420ToCCIR601YUY2, YUV420, YUY2, P, YUV420ToCCIR601YUY2)                                          \
    X(CCIR601YUY2ToYUV420, YUY2, YUV420, P, CCIR601YUY2ToYUV420)                                          \
    X(CCIR601YUY2ToYV12, YUY2, YV12, P, CCIR601YUY2ToYV12)                                                \
    X(CCIR601YUY2ToVUYA, YUY2, VUYA, N, CCIR601YUY2ToVUYA)                                                \
    /* Y'CbCr to RGB */                                                                                   \
    X(YUV420ToRGB24, YUV420, RGB24, P, YUV420ToRGB24)                                                     \
    X(YUV420ToRGB32, YUV420, RGB32, P, YUV420ToRGB32)                                                     \
    X(YUV420ToVexoShiftedStraightRGB24, YUV420, SHIFTED_STRAIGHT_RGB24, P, YUV420ToVexoShiftedStraightRGB24) \
    X(YUV420ToVexoShiftedStraightRGB32, YUV420, SHIFTED_STRAIGHT_RGB32, P, YUV420ToVexoShiftedStraightRGB32) \
    X(CCIR601YUY2ToRGB24, YUY2, RGB24, N, CCIR601YUY2ToRGB24)                                             \
    X(CCIR601YUY2ToRGB32, YUY2, RGB32, N, CCIR601YUY2ToRGB32)                                             \
    X(CCIR601YUY2ToVexoShiftedStraightRGB24, YUY2, SHIFTED_STRAIGHT_RGB24, N,                             \
      CCIR601YUY2ToVexoShiftedStraightRGB24)                                                              \
    X(CCIR601YUY2ToVexoShiftedStraightRGB32, YUY2, SHIFTED_STRAIGHT_RGB32, N,                             \
      CCIR601YUY2ToVexoShiftedStraightRGB32)                                                              \
    /* RGB to Y'CbCr */                                                                                   \
    X(RGB24ToYUV420, RGB24, YUV420, P, RGB24ToYUV420)                                                     \
    X(RGB24ToYV12, RGB24, YV12, P, RGB24ToYV12)                                                           \
    X(RGB24ToCCIR601YUY2, RGB24, YUY2, N, RGB24ToCCIR601YUY2)                                             \
    X(RGB32ToYUV420, RGB32, YUV420, P, RGB32ToYUV420)                                                     \
    X(RGB32ToYV12, RGB32, YV12, P, RGB32ToYV12)                                                           \
    X(RGB32ToCCIR601YUY2, RGB32, YUY2, N, RGB32ToCCIR601YUY2)                                             \
    X(VexoShiftedStraightRGB24ToYUV420, SHIFTED_STRAIGHT_RGB24, YUV420, P, VexoShiftedStraightRGB24ToYUV420) \
    X(VexoShiftedStraightRGB24ToYV12, SHIFTED_STRAIGHT_RGB24, YV12, P, VexoShiftedStraightRGB24ToYV12)    \
    X(VexoShiftedStraightRGB24ToCCIR601YUY2, SHIFTED_STRAIGHT_RGB24, YUY2, N,                             \
      VexoShiftedStraightRGB24ToCCIR601YUY2)                                                              \
    X(VexoShiftedStraightRGB32ToYUV420, SHIFTED_STRAIGHT_RGB32, YUV420, P, VexoShiftedStraightRGB32ToYUV420) \
    X(VexoShiftedStraightRGB32ToYV12, SHIFTED_STRAIGHT_RGB32, YV12, P, VexoShiftedStraightRGB32ToYV12)    \
    X(VexoShiftedStraightRGB32ToCCIR601YUY2, SHIFTED_STRAIGHT_RGB32, YUY2, N,                             \
      VexoShiftedStraightRGB32ToCCIR601YUY2)                                                              \
    /* RGB to RGB: repacking and the 0..255 / 0..219 rescaling */                                         \
    X(RGB32ToRGB24, RGB32, RGB24, N, RGB32ToRGB24)                                                        \
    X(RGB24ToRGB32, RGB24, RGB32, N, RGB24ToRGB32)                                                        \
    X(VexoShiftedStraightRGB32ToVexoShiftedStraightRGB24, SHIFTED_STRAIGHT_RGB32, SHIFTED_STRAIGHT_RGB24, N, \
      RGB32ToRGB24)                                                                                       \
    X(VexoShiftedStraightRGB24ToVexoShiftedStraightRGB32, SHIFTED_STRAIGHT_RGB24, SHIFTED_STRAIGHT_RGB32, N, \
      RGB24ToRGB32)                                                                                       \
    X(RGB24ToVexoShiftedStraightRGB24, RGB24, SHIFTED_STRAIGHT_RGB24, N, RGB24ToVexoShiftedStraightRGB24) \
    X(RGB24ToVexoShiftedStraightRGB32, RGB24, SHIFTED_STRAIGHT_RGB32, N, RGB24ToVexoShiftedStraightRGB32) \
    X(RGB32ToVexoShiftedStraightRGB24, RGB32, SHIFTED_STRAIGHT_RGB24, N, RGB32ToVexoShiftedStraightRGB24) \
    X(RGB32ToVexoShiftedStraightRGB32, RGB32, SHIFTED_STRAIGHT_RGB32, N, RGB32ToVexoShiftedStraightRGB32) \
    X(VexoShiftedStraightRGB24ToRGB24, SHIFTED_STRAIGHT_RGB24, RGB24, N, VexoShiftedStraightRGB24ToRGB24) \
    X(VexoShiftedStraightRGB24ToRGB32, SHIFTED_STRAIGHT_RGB24, RGB32, N, VexoShiftedStraightRGB24ToRGB32) \
    X(VexoShiftedStraightRGB32ToRGB24, SHIFTED_STRAIGHT_RGB32, RGB24, N, VexoShiftedStraightRGB32ToRGB24) \
    X(VexoShiftedStraightRGB32ToRGB32, SHIFTED_STRAIGHT_RGB32, RGB32, N, VexoShiftedStraightRGB32ToRGB32)

// The argument lists of the two kinds of kernel.
#define TUL_COLOR_KERNEL_PARAMS_N                                                                         \
    unsigned char *const src, unsigned char *dst, ULONG *size, ULONG width, ULONG height, int srcStep,   \
        int dstStep
#define TUL_COLOR_KERNEL_PARAMS_P TUL_COLOR_KERNEL_PARAMS_N, bool progressive
