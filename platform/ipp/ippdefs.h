// Records, status codes and constants of the image primitives, with Intel
// IPP's published names and values, so callers read like IPP callers.
#pragma once

#ifdef __cplusplus
#include <cstdint>
extern "C" {
#else
#include <stdint.h>
#endif

typedef unsigned char Ipp8u;
typedef int32_t Ipp32s;
typedef float Ipp32f;
typedef double Ipp64f;

typedef struct {
    int width;
    int height;
} IppiSize;

typedef struct {
    int x;
    int y;
    int width;
    int height;
} IppiRect;

typedef enum {
    ippStsRoundModeNotSupportedErr = -213,
    ippStsResizeNoOperationErr = -201,
    ippStsNotEvenStepErr = -108,
    ippStsChannelOrderErr = -60,
    ippStsAlphaTypeErr = -50,
    ippStsStrideErr = -37,
    ippStsResizeFactorErr = -23,
    ippStsInterpolationErr = -22,
    ippStsMirrorFlipErr = -21,
    ippStsStepErr = -14,
    ippStsContextMatchErr = -17,
    ippStsScaleRangeErr = -13,
    ippStsMemAllocErr = -9,
    ippStsNullPtrErr = -8,
    ippStsSizeErr = -6,
    ippStsBadArgErr = -5,
    ippStsNoMemErr = -4,
    ippStsErr = -2,
    ippStsNoErr = 0,
    ippStsNoOperation = 1,
    ippStsWrongIntersectROI = 29,
    ippStsDoubleSize = 35
} IppStatus;

enum {
    IPPI_INTER_NN = 1,
    IPPI_INTER_LINEAR = 2,
    IPPI_INTER_CUBIC = 4,
    IPPI_INTER_SUPER = 8
};
#define IPPI_SMOOTH_EDGE (1 << 31)

typedef enum {
    ippAxsHorizontal = 0,
    ippAxsVertical = 1,
    ippAxsBoth = 2
} IppiAxis;

typedef enum {
    ippRndZero = 0,
    ippRndNear = 1,
    ippRndFinancial = 2
} IppRoundMode;

typedef enum {
    ippAlphaOver = 0,
    ippAlphaIn = 1,
    ippAlphaOut = 2,
    ippAlphaATop = 3,
    ippAlphaXor = 4,
    ippAlphaPlus = 5,
    ippAlphaOverPremul = 6,
    ippAlphaInPremul = 7,
    ippAlphaOutPremul = 8,
    ippAlphaATopPremul = 9,
    ippAlphaXorPremul = 10,
    ippAlphaPlusPremul = 11
} IppiAlphaType;

#define IPP_MAX_8U 255

#ifdef __cplusplus
}
#endif
