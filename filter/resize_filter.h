// CResizeFilter, the "Vexo Tul Rezzo Filter": a transform filter that turns
// every YUY2 input frame into a YUY2 frame of the configured output size,
// stretched or fitted with its aspect kept, deinterlacing interlaced input
// in place first when the resizer slot asks for it. It also keeps a copy
// of the last input frame for IResizeSnapshot.
//
// Locks: the framework's filter lock (connections, state) comes first, its
// receive lock (one sample at a time) second, m_settingsLock last.
// m_settingsLock guards every setting, both resizer slots and the
// last-frame copy; Transform holds it for the whole frame.
#pragma once

#include "filter/core/image_resizer.h"
#include "filter/framework/streams.h"
#include "filter/resize_settings.h"
#include "filter/resize_snapshot.h"

#include <atomic>
#include <memory>

inline constexpr wchar_t kResizeFilterName[] = L"Vexo Tul Rezzo Filter";

class CResizeFilter : public CTransformFilter,
                      public IResizeSettings,
                      public IResizeSnapshot,
                      public ISpecifyPropertyPages {
public:
    // The class factory's creation function: a new filter with no
    // reference yet, aggregated by pUnk when given. On failure *phr is
    // E_OUTOFMEMORY and the result null.
    static CUnknown* CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);
    ~CResizeFilter() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // CTransformFilter
    HRESULT Transform(IMediaSample* pIn, IMediaSample* pOut) override;
    HRESULT CheckInputType(const CMediaType* mtIn) override;
    HRESULT CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) override;
    HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProp) override;
    HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
    HRESULT StopStreaming() override;
    HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* pReceivePin) override;
    // Forgets the input connection's size; otherwise the framework's.
    HRESULT BreakConnect(PIN_DIRECTION direction) override;

    // ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pPages) override;

    // IResizeSettings
    STDMETHODIMP SetOutputSize(LONG width, LONG height) override;
    STDMETHODIMP GetOutputSize(LONG* width, LONG* height, BOOL* canChange) override;
    STDMETHODIMP SetBackgroundColor(DWORD color) override;
    STDMETHODIMP GetBackgroundColor(DWORD* color) override;
    STDMETHODIMP SetResizeMode(LONG mode) override;
    STDMETHODIMP GetResizeMode(LONG* mode) override;
    STDMETHODIMP SetOutputAspectRatio(LONG x, LONG y) override;
    STDMETHODIMP GetOutputAspectRatio(LONG* x, LONG* y) override;
    STDMETHODIMP SetDeinterlaceMethod(LONG method) override;
    STDMETHODIMP GetDeinterlaceMethod(LONG* method) override;
    STDMETHODIMP Reserved1(LONG a, LONG b, LONG c) override;
    STDMETHODIMP Reserved2(LONG a, LONG b, LONG c) override;
    STDMETHODIMP SetDeinterlacePolicy(LONG policy) override;
    STDMETHODIMP GetDeinterlacePolicy(LONG* policy) override;

    // IResizeSnapshot
    STDMETHODIMP GetCurrentFrame(BYTE* buffer, ULONG* written, LONG width, LONG height, LONG format,
                                 LONG mode) override;
    STDMETHODIMP Reserved(ULONG value) override;

    // How often each resizer slot has been prepared: preparation is meant
    // to follow changes of geometry, never frames.
    ULONG StreamPreparations();
    ULONG SnapshotPreparations();

private:
    explicit CResizeFilter(LPUNKNOWN pUnk);

    // Source geometry of one sample (Transform).
    struct SampleGeometry {
        LONG width;
        LONG height;
        LONG aspectX;
        LONG aspectY;
    };

    void ForwardFormatChange(IMediaSample* pIn, IMediaSample* pOut);
    HRESULT CopySampleProperties(IMediaSample* pIn, IMediaSample* pOut);
    void KeepLastFrame(IMediaSample* pIn);
    SampleGeometry ReadSampleGeometry(IMediaSample* pIn);
    void PrepareStreamFor(const SampleGeometry& geometry);
    void ReleaseLastFrame();
    bool OutputConnected() const;
    // Output frame bytes of the current size (settings lock held).
    LONG OutputFrameBytes() const;
    // Resizes the kept frame into a YUY2 frame of width x height, black
    // when there is no whole frame to resize (settings lock held).
    void SnapshotInto(BYTE* frame, LONG srcWidth, LONG srcHeight, LONG width, LONG height);

    LONG m_srcWidth = 0;
    LONG m_srcHeight = 0;
    LONG m_outWidth = 320;
    LONG m_outHeight = 240;
    LONG m_srcAspectX = 1;
    LONG m_srcAspectY = 1;
    LONG m_outAspectX = 1;
    LONG m_outAspectY = 1;
    bool m_srcInterlaced = true;
    DWORD m_backgroundColor = 0;
    LONG m_resizeMode = RESIZE_MODE_FIT;
    LONG m_preparedMode = 0;
    LONG m_deinterlaceMethod = FIELD_FILL_NONE;
    CImageResizer m_streamResizer;
    CImageResizer m_snapshotResizer;
    std::unique_ptr<BYTE[]> m_lastFrame;
    ULONG m_lastFrameSize = 0;
    // Geometry m_snapshotResizer was last prepared for.
    LONG m_snapSrcWidth = 0;
    LONG m_snapSrcHeight = 0;
    LONG m_snapSrcAspectX = 0;
    LONG m_snapSrcAspectY = 0;
    LONG m_snapOutWidth = 0;
    LONG m_snapOutHeight = 0;
    LONG m_snapMode = 0;
    // Read and written without m_settingsLock (Set/GetDeinterlacePolicy).
    std::atomic<LONG> m_deinterlacePolicy{FIELD_POLICY_AUTO};
    CCritSec m_settingsLock;

    // The input connection's picture size, kept at connection so settings
    // and snapshot callers never read the pin's type while a connection is
    // being made; 0 x 0 while unconnected.
    LONG m_connectedWidth = 0;
    LONG m_connectedHeight = 0;
    ULONG m_streamPreparations = 0;
    ULONG m_snapshotPreparations = 0;
};
