// COM's task allocator: memory handed across interfaces (media type format
// blocks, property page lists, strings) is allocated and freed here.
#pragma once

#include <cstddef>

void* CoTaskMemAlloc(std::size_t cb) noexcept;
void* CoTaskMemRealloc(void* pv, std::size_t cb) noexcept;
void CoTaskMemFree(void* pv) noexcept;
