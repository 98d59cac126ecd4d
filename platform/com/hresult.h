// HRESULT values with their published numbers, and the tests on them.
// Macros, as on Windows, so code written against the Windows headers
// compiles unchanged (and so a second definition elsewhere stays harmless).
#pragma once

#include "platform/win32/wintypes.h"

#ifndef SUCCEEDED
#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#endif
#ifndef FAILED
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)
#endif

#ifndef S_OK
#define S_OK (static_cast<HRESULT>(0x00000000L))
#endif
#ifndef NOERROR
#define NOERROR S_OK
#endif
#ifndef S_FALSE
#define S_FALSE (static_cast<HRESULT>(0x00000001L))
#endif
#ifndef E_UNEXPECTED
#define E_UNEXPECTED (static_cast<HRESULT>(0x8000FFFFL))
#endif
#ifndef E_NOTIMPL
#define E_NOTIMPL (static_cast<HRESULT>(0x80004001L))
#endif
#ifndef E_NOINTERFACE
#define E_NOINTERFACE (static_cast<HRESULT>(0x80004002L))
#endif
#ifndef E_POINTER
#define E_POINTER (static_cast<HRESULT>(0x80004003L))
#endif
#ifndef E_ABORT
#define E_ABORT (static_cast<HRESULT>(0x80004004L))
#endif
#ifndef E_FAIL
#define E_FAIL (static_cast<HRESULT>(0x80004005L))
#endif
#ifndef E_OUTOFMEMORY
#define E_OUTOFMEMORY (static_cast<HRESULT>(0x8007000EL))
#endif
#ifndef E_INVALIDARG
#define E_INVALIDARG (static_cast<HRESULT>(0x80070057L))
#endif
#ifndef CLASS_E_NOAGGREGATION
#define CLASS_E_NOAGGREGATION (static_cast<HRESULT>(0x80040110L))
#endif
#ifndef CLASS_E_CLASSNOTAVAILABLE
#define CLASS_E_CLASSNOTAVAILABLE (static_cast<HRESULT>(0x80040111L))
#endif

// Win32 error codes folded into the HRESULT space (FACILITY_WIN32 = 7).
constexpr HRESULT HRESULT_FROM_WIN32(DWORD error)
{
    return static_cast<LONG>(error) <= 0
               ? static_cast<HRESULT>(error)
               : static_cast<HRESULT>((error & 0x0000FFFFu) | (7u << 16) | 0x80000000u);
}

static_assert(sizeof(HRESULT) == 4, "HRESULT is 32-bit as on Windows");
static_assert(SUCCEEDED(S_FALSE) && FAILED(E_FAIL), "failure is the sign bit");
// The Win32 codes behind the COM ones, folded as Windows folds them:
// ERROR_OUTOFMEMORY 14, ERROR_INVALID_PARAMETER 87.
static_assert(HRESULT_FROM_WIN32(0) == S_OK, "no error folds to S_OK");
static_assert(HRESULT_FROM_WIN32(14) == E_OUTOFMEMORY, "E_OUTOFMEMORY is FACILITY_WIN32 14");
static_assert(HRESULT_FROM_WIN32(87) == E_INVALIDARG, "E_INVALIDARG is FACILITY_WIN32 87");

// DirectShow's own codes (vfwmsgs.h), those the framework and its graph use.
#define VFW_S_NO_MORE_ITEMS (static_cast<HRESULT>(0x00040103L))
#define VFW_S_NO_STOP_TIME (static_cast<HRESULT>(0x00040270L))
#define VFW_E_INVALIDMEDIATYPE (static_cast<HRESULT>(0x80040200L))
#define VFW_E_INVALIDSUBTYPE (static_cast<HRESULT>(0x80040201L))
#define VFW_E_NEED_OWNER (static_cast<HRESULT>(0x80040202L))
#define VFW_E_ENUM_OUT_OF_SYNC (static_cast<HRESULT>(0x80040203L))
#define VFW_E_ALREADY_CONNECTED (static_cast<HRESULT>(0x80040204L))
#define VFW_E_FILTER_ACTIVE (static_cast<HRESULT>(0x80040205L))
#define VFW_E_NO_TYPES (static_cast<HRESULT>(0x80040206L))
#define VFW_E_NO_ACCEPTABLE_TYPES (static_cast<HRESULT>(0x80040207L))
#define VFW_E_INVALID_DIRECTION (static_cast<HRESULT>(0x80040208L))
#define VFW_E_NOT_CONNECTED (static_cast<HRESULT>(0x80040209L))
#define VFW_E_NO_ALLOCATOR (static_cast<HRESULT>(0x8004020AL))
#define VFW_E_RUNTIME_ERROR (static_cast<HRESULT>(0x8004020BL))
#define VFW_E_BUFFER_NOTSET (static_cast<HRESULT>(0x8004020CL))
#define VFW_E_BUFFER_OVERFLOW (static_cast<HRESULT>(0x8004020DL))
#define VFW_E_BADALIGN (static_cast<HRESULT>(0x8004020EL))
#define VFW_E_ALREADY_COMMITTED (static_cast<HRESULT>(0x8004020FL))
#define VFW_E_BUFFERS_OUTSTANDING (static_cast<HRESULT>(0x80040210L))
#define VFW_E_NOT_COMMITTED (static_cast<HRESULT>(0x80040211L))
#define VFW_E_SIZENOTSET (static_cast<HRESULT>(0x80040212L))
#define VFW_E_NO_SINK (static_cast<HRESULT>(0x80040214L))
#define VFW_E_NOT_FOUND (static_cast<HRESULT>(0x80040216L))
#define VFW_E_CANNOT_CONNECT (static_cast<HRESULT>(0x80040217L))
#define VFW_E_STATE_CHANGED (static_cast<HRESULT>(0x80040223L))
#define VFW_E_NOT_STOPPED (static_cast<HRESULT>(0x80040224L))
#define VFW_E_NOT_PAUSED (static_cast<HRESULT>(0x80040225L))
#define VFW_E_NOT_RUNNING (static_cast<HRESULT>(0x80040226L))
#define VFW_E_WRONG_STATE (static_cast<HRESULT>(0x80040227L))
#define VFW_E_START_TIME_AFTER_END (static_cast<HRESULT>(0x80040228L))
#define VFW_E_TYPE_NOT_ACCEPTED (static_cast<HRESULT>(0x8004022AL))
#define VFW_E_SAMPLE_REJECTED (static_cast<HRESULT>(0x8004022BL))
#define VFW_E_SAMPLE_REJECTED_EOS (static_cast<HRESULT>(0x8004022CL))
#define VFW_E_DUPLICATE_NAME (static_cast<HRESULT>(0x8004022DL))
#define VFW_E_TIMEOUT (static_cast<HRESULT>(0x8004022EL))
#define VFW_E_CIRCULAR_GRAPH (static_cast<HRESULT>(0x80040231L))
#define VFW_E_SAMPLE_TIME_NOT_SET (static_cast<HRESULT>(0x80040249L))
#define VFW_E_MEDIA_TIME_NOT_SET (static_cast<HRESULT>(0x80040251L))

// FACILITY_ITF (4) codes: successes and failures share the code space.
static_assert(SUCCEEDED(VFW_S_NO_MORE_ITEMS) && FAILED(VFW_E_NOT_COMMITTED), "VFW_S_ succeed, VFW_E_ fail");
static_assert(((VFW_S_NO_MORE_ITEMS | VFW_E_NOT_STOPPED | CLASS_E_CLASSNOTAVAILABLE) & 0x7FFF0000) == 0x00040000,
              "DirectShow and class codes are FACILITY_ITF");
