// GStreamer and GObject call the element through C function pointers, so
// no exception may leave them: an allocation failure or any other
// exception becomes the callback's own failure value.
#pragma once

namespace tulgst {

template <class Result, class Call>
Result Guarded(Result failure, Call call) noexcept
{
    try {
        return call();
    } catch (...) {
        return failure;
    }
}

template <class Call>
void Guarded(Call call) noexcept
{
    try {
        call();
    } catch (...) {
    }
}

}  // namespace tulgst
