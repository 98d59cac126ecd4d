// The property page list ISpecifyPropertyPages hands out.
#pragma once

#include "platform/dshow/media_types.h"

#include <cstddef>

namespace tulfilter {

using TaskAllocator = void* (*)(std::size_t bytes) noexcept;

// One page, page, in an array from allocate (CoTaskMemAlloc for callers
// who free with CoTaskMemFree). E_POINTER for a null list; E_OUTOFMEMORY
// with an empty list (count 0, no array) when the array cannot be had.
HRESULT FillPageList(CAUUID* pages, REFCLSID page, TaskAllocator allocate);

}  // namespace tulfilter
