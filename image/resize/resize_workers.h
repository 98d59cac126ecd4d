// The library's internal resize vocabulary: scale factors with the
// broadcast-width table, the primitive interpolation constant of a mode,
// releasing a plan's records, and the one-call library-backed workers
// and the own resamplers (plan, then run once) that the entry points and later the conversion
// stages use. Workers take non-negative steps and return true on success.
#pragma once

#include "image/TulImage.h"

namespace tul {

// Factors destination over source, with the broadcast-width overrides and
// their horizontal margins (either margin pointer may be null). False when
// the sizes are equal: nothing to resize.
bool GetResizeFactor(IppiSize src, IppiSize dst, double* xFactor, double* yFactor,
                     int* srcMarginX, int* dstMarginX);
// IPPI_INTER_* for a mode; modes other than 0 to 2 take super-sampling
// when neither factor enlarges, else cubic.
int GetInterpolation(TulImage::INTERPOLATION_MODE mode, double xFactor, double yFactor);

// Release the scratch planes (each of the six that is held) and zero the record.
void ClearTempBuffer(TEMP_PLANAR_FORMAT* t);
void ClearResizeBuffer(RESIZE_INFO* r);

// `temp` holds scratch planes sized for the two frames (AllocatePlanes).
bool IppResizeYUY2(unsigned char* src, unsigned char* dst, int srcStep, int dstStep,
                   IppiSize srcSize, IppiSize dstSize, IppiRect srcRegion, double xFactor,
                   double yFactor, TulImage::INTERPOLATION_MODE mode, TEMP_PLANAR_FORMAT* temp,
                   TulImage::FIELD_TYPE field, bool fieldToField);
bool IppResizeYUV420(unsigned char* src, unsigned char* dst, int srcStep, int dstStep,
                     IppiSize srcSize, IppiSize dstSize, IppiRect srcRegion, double xFactor,
                     double yFactor, TulImage::INTERPOLATION_MODE mode, TulImage::FIELD_TYPE field,
                     bool fieldToField);

// The own resampler, planned and run once: the field rule, the source crop
// by srcMarginX and the placement by dstMarginX and dstMarginY (half of each
// on the left and at the top). The destination outside the picture is left
// as it was.
bool VexoResizeYUY2(unsigned char* src, unsigned char* dst, int srcStep, int dstStep,
                    IppiSize srcSize, IppiSize dstSize, int srcMarginX, int dstMarginX,
                    int dstMarginY, TulImage::FIELD_TYPE field, bool fieldToField);
bool VexoResizeYUV420(unsigned char* src, unsigned char* dst, int srcStep, int dstStep,
                      IppiSize srcSize, IppiSize dstSize, int srcMarginX, int dstMarginX,
                      int dstMarginY, TulImage::FIELD_TYPE field, bool fieldToField);

}  // namespace tul
