// The one guard at the library's exported boundary: runs an operation's
// body and turns anything thrown inside into a status, so no exception
// leaves the library. Temporaries are RAII-held, so unwinding releases them.
#pragma once

#include "image/TulImage.h"

#include <new>

namespace tul {

template <class Body>
ULONG Guarded(Body&& body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return TulImage::TUL_NO_MEMORY;
    } catch (...) {
        return TulImage::TUL_FAILED;
    }
}

}  // namespace tul
