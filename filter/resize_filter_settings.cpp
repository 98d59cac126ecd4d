// IResizeSettings on CResizeFilter. Every setting a frame is resized by
// (sizes, background, mode, aspect, deinterlace method) is read and written
// under m_settingsLock for the whole call: Transform holds that lock for a
// whole frame, so a frame never sees half of a change. The deinterlace
// policy is one atomic value read once per frame, so its pair takes no lock
// and never waits for a frame in progress.
#include "filter/resize_filter.h"

#include "filter/frame_bytes.h"

STDMETHODIMP CResizeFilter::SetOutputSize(LONG width, LONG height)
{
    // Sizes that give no frame, or one whose byte count would not fit an
    // allocator's signed 32-bit buffer size, are refused like odd widths.
    if (width % 2 != 0 || tulfilter::FrameBytes(width, height, 2, tulfilter::kMaxOutputFrameBytes) == 0)
        return S_FALSE;
    // The filter lock first: connections are made under it, so the output
    // cannot connect between the test and the store.
    CAutoLock filterLock(&m_csFilter);
    CAutoLock lock(&m_settingsLock);
    if (OutputConnected())
        return S_FALSE;
    m_outWidth = width;
    m_outHeight = height;
    m_srcWidth = 0;
    m_srcHeight = 0;
    return S_OK;
}

STDMETHODIMP CResizeFilter::GetOutputSize(LONG* width, LONG* height, BOOL* canChange)
{
    CAutoLock filterLock(&m_csFilter);
    CAutoLock lock(&m_settingsLock);
    if (width != nullptr)
        *width = m_outWidth;
    if (height != nullptr)
        *height = m_outHeight;
    if (canChange != nullptr)
        *canChange = OutputConnected() ? FALSE : TRUE;
    return S_OK;
}

STDMETHODIMP CResizeFilter::SetBackgroundColor(DWORD color)
{
    CAutoLock lock(&m_settingsLock);
    m_backgroundColor = color;
    return S_OK;
}

STDMETHODIMP CResizeFilter::GetBackgroundColor(DWORD* color)
{
    CAutoLock lock(&m_settingsLock);
    if (color != nullptr)
        *color = m_backgroundColor;
    return S_OK;
}

STDMETHODIMP CResizeFilter::SetResizeMode(LONG mode)
{
    CAutoLock lock(&m_settingsLock);
    m_resizeMode = mode;
    return S_OK;
}

STDMETHODIMP CResizeFilter::GetResizeMode(LONG* mode)
{
    CAutoLock lock(&m_settingsLock);
    if (mode != nullptr)
        *mode = m_resizeMode;
    return S_OK;
}

STDMETHODIMP CResizeFilter::SetOutputAspectRatio(LONG x, LONG y)
{
    // A term of zero or below would divide by zero, or flip the fit.
    if (x <= 0 || y <= 0)
        return S_FALSE;
    CAutoLock lock(&m_settingsLock);
    m_outAspectX = x;
    m_outAspectY = y;
    return S_OK;
}

STDMETHODIMP CResizeFilter::GetOutputAspectRatio(LONG* x, LONG* y)
{
    CAutoLock lock(&m_settingsLock);
    if (x != nullptr)
        *x = m_outAspectX;
    if (y != nullptr)
        *y = m_outAspectY;
    return S_OK;
}

STDMETHODIMP CResizeFilter::SetDeinterlaceMethod(LONG method)
{
    CAutoLock lock(&m_settingsLock);
    m_deinterlaceMethod = method;
    return S_OK;
}

STDMETHODIMP CResizeFilter::GetDeinterlaceMethod(LONG* method)
{
    CAutoLock lock(&m_settingsLock);
    if (method != nullptr)
        *method = m_deinterlaceMethod;
    return S_OK;
}

STDMETHODIMP CResizeFilter::Reserved1(LONG, LONG, LONG) { return S_OK; }

STDMETHODIMP CResizeFilter::Reserved2(LONG, LONG, LONG) { return S_OK; }

STDMETHODIMP CResizeFilter::SetDeinterlacePolicy(LONG policy)
{
    m_deinterlacePolicy.store(policy);
    return S_OK;
}

STDMETHODIMP CResizeFilter::GetDeinterlacePolicy(LONG* policy)
{
    if (policy != nullptr)
        *policy = m_deinterlacePolicy.load();
    return S_OK;
}
