// The conversion entry points: InitializeConvert keeps a plan in the
// object, the instance Convert runs it frame after frame without
// allocating, and the static Convert plans, runs and drops one per call.
// Both Converts admit and run through the same ConvertPlan.
#include "image/color/kernel_table.h"
#include "image/convert/convert_plan.h"
#include "image/resize/status_guard.h"

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <memory>

namespace tul {
namespace {

using T = TulImage;

bool Overlap(const unsigned char* a, std::uint64_t aBytes, const unsigned char* b, std::uint64_t bBytes)
{
    const auto x = reinterpret_cast<std::uintptr_t>(a), y = reinterpret_cast<std::uintptr_t>(b);
    return x < y + bBytes && y < x + aBytes;
}

}  // namespace

ULONG ConvertPlan::Run(const unsigned char* s, unsigned char* d)
{
    if (s == nullptr || d == nullptr)
        return T::TUL_INVALID_REQUEST;
    const bool differ = src.colorFormat != dst.colorFormat;
    const bool same = s == d;
    // The same buffer cannot be resized into, nor converted between two
    // formats (the kernel would overwrite input it has not read); other
    // overlaps are refused as the field operations refuse them.
    const std::uint64_t srcBytes = color::RequiredBytes(src.colorFormat, src.step, src.height);
    if ((same && (differ || info.resizeKind != 0)) || (!same && Overlap(s, srcBytes, d, required)))
        return T::TUL_INVALID_REQUEST;
    auto* source = const_cast<unsigned char*>(s);  // read only; the kernels take it non-const
    const bool progressive = src.scanType == T::SCAN_PROGRESSIVE;
    const bool flip = (src.step < 0) != (dst.step < 0);
    const bool stage = info.resizeKind != 0 || info.fieldAction != 0 || info.srcStep != info.dstStep || flip;
    if (!stage) {
        if (same)
            return T::TUL_SUCCESS;
        ULONG capacity = required;
        if (differ)
            return T::ColorConvert(source, d, &capacity, src.width, src.height, src.colorFormat,
                                   dst.colorFormat, src.step, dst.step, progressive);
        // A 4:2:0 picture ends with its second chroma plane; for an odd
        // height that is half a row short of its reported size, and the
        // half row belongs to no plane, so the copy reads no further.
        const std::uint64_t span =
            FormatOf(src.colorFormat).family == FormatFamily::Planar420
                ? static_cast<std::uint64_t>(PlanesOf420(std::abs(static_cast<std::int64_t>(src.step)), src.height).end)
                : srcBytes;
        std::memcpy(d, s, static_cast<std::size_t>(std::min<std::uint64_t>(span, required)));
        return T::TUL_SUCCESS;
    }
    unsigned char* stageSource = source;
    if (differ) {
        unsigned char* target = useBlock ? static_cast<unsigned char*>(info.convertBuffer->GetBuffer()) : d;
        ULONG capacity = useBlock ? intermediateSize : required;
        ULONG r;
        if (convertField < 0) {
            r = T::ColorConvert(source, target, &capacity, src.width, src.height, src.colorFormat,
                                dst.colorFormat, src.step, intermediateStep, progressive);
        } else {
            // The field's rows: every other row from the field's first, both
            // sides keeping their orientation.
            const std::size_t from = static_cast<std::size_t>(convertField) * std::abs(src.step);
            const ULONG to = static_cast<ULONG>(convertField) * static_cast<ULONG>(info.srcStep);
            capacity -= to;
            r = T::ColorConvert(source + from, target + to, &capacity, src.width, src.height / 2,
                                src.colorFormat, dst.colorFormat, 2 * src.step, 2 * intermediateStep,
                                progressive);
        }
        if (r != T::TUL_SUCCESS)
            return r;
        stageSource = target;
    }
    return RunStage(stageSource, d, src, dst, mode, info, resamplers);
}

void ConvertPlan::Release(TulImage& image)
{
    delete image.m_convert;
    image.m_convert = nullptr;
}

// A fresh plan, admitted and planned again from the prepared copies, with
// blocks and resamplers of its own; the copy stays unprepared without them.
void ConvertPlan::CopyInto(TulImage& image, const TulImage& other)
{
    Release(image);
    const ConvertPlan* from = other.m_convert;
    if (from == nullptr || !from->ready)
        return;
    Guarded([&]() -> ULONG {
        auto plan = std::make_unique<ConvertPlan>();
        if (plan->Plan(from->src, from->dst, from->mode) != T::TUL_SUCCESS ||
            plan->Allocate() != T::TUL_SUCCESS)
            return T::TUL_FAILED;
        plan->ready = true;
        image.m_convert = plan.release();
        return T::TUL_SUCCESS;
    });
}

ULONG ConvertPlan::Initialize(TulImage& image, PICTURE_INFO* src, PICTURE_INFO* dst, CONVERT_MODE* mode)
{
    if (src == nullptr || dst == nullptr || mode == nullptr)
        return T::TUL_INVALID_REQUEST;
    Release(image);
    auto plan = std::make_unique<ConvertPlan>();
    ULONG status = plan->Plan(*src, *dst, *mode);
    if (plan->required != 0)
        dst->size = plan->required;
    if (status == T::TUL_SUCCESS)
        status = plan->Allocate();
    if (status != T::TUL_SUCCESS)
        return status;  // the plan goes with `plan`: the object stays unprepared
    plan->ready = true;
    image.m_convert = plan.release();
    return T::TUL_SUCCESS;
}

ULONG ConvertPlan::Convert(TulImage& image, const unsigned char* src, unsigned char* dst)
{
    ConvertPlan* plan = image.m_convert;
    if (plan == nullptr || !plan->ready)
        return T::TUL_FAILED;
    return plan->Run(src, dst);
}

}  // namespace tul

ULONG TulImage::InitializeConvert(PICTURE_INFO* src, PICTURE_INFO* dst, CONVERT_MODE* mode)
{
    return tul::Guarded([&] { return tul::ConvertPlan::Initialize(*this, src, dst, mode); });
}

ULONG TulImage::Convert(const unsigned char* src, unsigned char* dst)
{
    return tul::Guarded([&] { return tul::ConvertPlan::Convert(*this, src, dst); });
}

ULONG TulImage::Convert(const unsigned char* src, unsigned char* dst, PICTURE_INFO* srcInfo,
                        PICTURE_INFO* dstInfo, CONVERT_MODE* mode)
{
    if (src == nullptr || srcInfo == nullptr || dstInfo == nullptr || mode == nullptr)
        return TUL_INVALID_REQUEST;
    return tul::Guarded([&]() -> ULONG {
        tul::ConvertPlan plan;
        const ULONG status = plan.Plan(*srcInfo, *dstInfo, *mode);
        // A size query is answered once the descriptions are admitted.
        if (dst == nullptr && plan.required != 0) {
            dstInfo->size = plan.required;
            return TUL_SUCCESS;
        }
        if (status != TUL_SUCCESS)
            return status;
        if (dstInfo->size < plan.required)
            return TUL_BUFFER_TOO_SMALL;
        dstInfo->size = plan.required;
        const ULONG allocated = plan.Allocate();
        return allocated != TUL_SUCCESS ? allocated : plan.Run(src, dst);
    });
}
