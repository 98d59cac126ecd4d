// How a FIELD_TYPE and the fieldToField flag reshape a resize, applied
// alike by every resize worker before anything else.
#pragma once

#include "image/TulImage.h"

#include <cstddef>

namespace tul {

// The picture a worker actually resizes once a field has been chosen.
struct FieldGeometry {
    int srcStep;         // doubled when one field is read
    int dstStep;         // doubled when one field is written into a field
    int srcHeight;       // halved when one field is read
    int dstHeight;       // halved when one field is written into a field
    int regionHeight;    // halved with the source height
    double yFactor;      // doubled for field-to-frame library resizes
    std::ptrdiff_t srcOffset;  // one source step for the odd field
    std::ptrdiff_t dstOffset;  // one destination step for the odd field into a field
};

// `field` other than FIELD_FRAME selects the odd rows only for FIELD_ODD;
// any other non-zero value means the even rows.
inline FieldGeometry ApplyFieldRule(TulImage::FIELD_TYPE field, bool fieldToField, int srcStep,
                                    int dstStep, int srcHeight, int dstHeight, int regionHeight,
                                    double yFactor)
{
    FieldGeometry g{srcStep, dstStep, srcHeight, dstHeight, regionHeight, yFactor, 0, 0};
    if (field == TulImage::FIELD_FRAME)
        return g;
    const bool odd = field == TulImage::FIELD_ODD;
    g.srcStep = srcStep * 2;
    g.srcHeight = srcHeight / 2;
    g.regionHeight = regionHeight / 2;
    g.srcOffset = odd ? srcStep : 0;
    if (fieldToField) {
        g.dstStep = dstStep * 2;
        g.dstHeight = dstHeight / 2;
        g.dstOffset = odd ? dstStep : 0;
    } else {
        g.yFactor = yFactor * 2.0;
    }
    return g;
}

}  // namespace tul
