// A packed 4:2:2 picture (Y0 U Y1 V) resized by the centre kernels
// (cubic, super-sampling, and linear when it blends rows first) straight
// from packed rows to packed rows, planned once.
//
// The result is byte for byte what splitting the picture into its Y, U and
// V planes, resizing the luma plane by one request and both chroma planes
// by another, and joining the planes again (black where a plane resize
// writes nothing) gives: every destination byte is summed from the same
// source samples with the same weights in the same order; only the planes
// between the steps are gone.
#pragma once

#include "platform/ipp/ippdefs.h"
#include "platform/ipp/resize_plan.h"
#include "platform/ipp/simd_level.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tulipp {

class ResizeCenter422Plan {
public:
    ResizeCenter422Plan();
    ~ResizeCenter422Plan();
    ResizeCenter422Plan(ResizeCenter422Plan&&) noexcept;
    ResizeCenter422Plan& operator=(ResizeCenter422Plan&&) noexcept;
    ResizeCenter422Plan(const ResizeCenter422Plan&) = delete;
    ResizeCenter422Plan& operator=(const ResizeCenter422Plan&) = delete;

    // Plans the pair when it can go packed: cubic, super-sampling, or
    // linear over an even source width with rows blended first and an
    // AVX2 level; one channel each, the chroma sizes the luma ones halved
    // across, the same rows read and written for both, pictures two or
    // more pixels wide.
    // `black` is the packed black pixel pair. False (and an empty plan)
    // otherwise, for a request the primitive refuses, or without memory.
    bool Prepare(const ResizeCenterRequest& luma, const ResizeCenterRequest& chroma, const Ipp8u black[4],
                 SimdLevel level = ActiveSimdLevel()) noexcept;
    // One frame: packed rows of the luma request's source and destination
    // sizes, every destination byte written. False, writing nothing, on an
    // empty plan, a null pointer or a step shorter than its row.
    bool Run(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep) noexcept;

    bool Ready() const { return m_impl != nullptr; }
    void Reset() noexcept;

    struct Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

}  // namespace tulipp
