// The prepared conversion a TulImage owns, and the one-shot plan the static
// Convert builds and drops: the admitted descriptions (steps resolved), the
// mode, the CONVERT_INFO with its two blocks, and the resamplers of the
// stage, built once so that a frame only runs them.
#pragma once

#include "image/TulImage.h"
#include "image/resize/ipp_resize.h"
#include "image/resize/vexo_resampler.h"
#include "platform/ipp/resize_plan.h"

#include <cstdint>

namespace tul {

// The stage's resizes (at most two: field by field takes one per field),
// prepared for the plan's geometry and the destination family.
struct StageResamplers {
    int calls = 0;
    TulImage::FIELD_TYPE field[2] = {TulImage::FIELD_FRAME, TulImage::FIELD_FRAME};
    bool fieldToField = false;
    LibraryPlan library[2];  // YUY2 and 4:2:0, library modes
    VexoPlan vexo[2];        // YUY2 and 4:2:0, INTERPOLATION_VEXO
    tulipp::ResizeCenterPlan rgb[2];  // RGB families, every mode
    // RGB calls address rows themselves: offsets and steps of each call.
    std::int64_t srcOffset[2] = {0, 0};
    std::int64_t dstOffset[2] = {0, 0};
    int srcStep[2] = {0, 0};
    int dstStep[2] = {0, 0};
};

struct ConvertPlan {
    ConvertPlan() = default;
    ~ConvertPlan();
    ConvertPlan(const ConvertPlan&) = delete;
    ConvertPlan& operator=(const ConvertPlan&) = delete;

    // Admits the request and plans it, allocating nothing: a status (3 for
    // anything refused). `dst.size` of the plan is the required size.
    ULONG Plan(const PICTURE_INFO& src, const PICTURE_INFO& dst, const CONVERT_MODE& mode);
    // Obtains the intermediate block, the scratch planes and the stage's
    // resamplers for a planned request: 0, or 1 when memory is short.
    ULONG Allocate();
    // Converts one frame by the plan; allocates nothing.
    ULONG Run(const unsigned char* src, unsigned char* dst);

    // The object's side: release, and copy into another object.
    static void Release(TulImage& image);
    static void CopyInto(TulImage& image, const TulImage& other);
    static ULONG Initialize(TulImage& image, PICTURE_INFO* src, PICTURE_INFO* dst,
                            CONVERT_MODE* mode);
    static ULONG Convert(TulImage& image, const unsigned char* src, unsigned char* dst);
    // The object's prepared plan, or null, for the library's own checks.
    static const ConvertPlan* Of(const TulImage& image) { return image.m_convert; }

    // The stage of the destination's family over these resamplers.
    static ULONG RunStage(unsigned char* src, unsigned char* dst, const PICTURE_INFO& srcInfo,
                          const PICTURE_INFO& dstInfo, const CONVERT_MODE& mode,
                          const CONVERT_INFO& info, StageResamplers& resamplers);
    // Prepares `r` for a plan: 0, or 1 when memory is short (a geometry a
    // resampler refuses leaves it empty, and its frames fail with 4).
    static ULONG PrepareResamplers(const PICTURE_INFO& dstInfo, const CONVERT_MODE& mode,
                                   const CONVERT_INFO& info, StageResamplers& r);

    bool ready = false;
    PICTURE_INFO src{};
    PICTURE_INFO dst{};
    CONVERT_MODE mode{};
    CONVERT_INFO info{};
    ULONG required = 0;            // the destination's bytes, once admitted
    int intermediateStep = 0;      // signed step of the colour-converted picture; 0 same format
    ULONG intermediateSize = 0;    // its bytes
    bool useBlock = false;         // converted into info.convertBuffer, not the destination
    // When the stage reads one field only (and every row converts on its
    // own), only that field's rows are converted: the memory row parity of
    // the field (0 or 1), -1 when the whole picture is converted.
    int convertField = -1;
    StageResamplers resamplers;
};

}  // namespace tul
