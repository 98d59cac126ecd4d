// The resize filter through its interfaces: a fuzzed AM_MEDIA_TYPE (real
// and junk GUIDs, a VIDEOINFOHEADER or VIDEOINFOHEADER2 block of a fuzzed
// length) offered to the input pin and connected from a push source, the
// output connected to a sample sink, then a fuzzed run of samples (exact
// buffers, fuzzed lengths, times, flags and attached types), state changes,
// flushes, IResizeSettings calls and IResizeSnapshot stills. Samples go
// straight to the input pin's IMemInputPin from this thread: the source is
// never started, so no thread of its own makes a run flaky.
//
// Checked on the way: QueryAccept agrees with a plain model of the types
// the filter takes, every HRESULT is one the interfaces state, settings
// refusals follow their rules, every delivered sample holds exactly one
// output frame, stills write exactly the bytes they announce, and no COM
// object of the module outlives the run.
#include "fuzz/fuzz_input.h"

#include "filter/framework/media_type.h"
#include "filter/framework/push_source.h"
#include "filter/framework/sample_sink.h"
#include "filter/resize_filter.h"
#include "platform/com/com_ptr.h"
#include "platform/com/module_objects.h"
#include "platform/dshow/dshow_guids.h"

using namespace tul_fuzz;

namespace {

constexpr DWORD kYuy2FourCc = 0x32595559;
constexpr uint64_t kStreamedFrameBytes = 1u << 16;

// A signed picture size: mostly 0..limit, sometimes negative or an edge
// value of 32-bit arithmetic.
LONG Size(Input& in, LONG limit)
{
    static const LONG edges[] = {INT32_MIN, INT32_MAX, -1, 0x10000, 0x40000001, 46342, -2, 0x8000};
    const uint8_t b = in.Byte();
    if (b >= 240)
        return edges[b % 8];
    if (b >= 228)
        return -LONG(b - 227);
    return LONG(b % (limit + 1));
}

GUID Junk(Input& in)
{
    GUID g = MEDIASUBTYPE_YUY2;
    g.Data1 = in.U32();
    return g;
}

// A media type from the input: video or not, YUY2 or not, a format block
// of a fuzzed length holding fuzzed video-info fields, allocated at
// exactly its cbFormat.
CMediaType FuzzType(Input& in)
{
    CMediaType mt;
    const uint8_t kinds = in.Byte();
    const uint32_t major = kinds & 3, sub = (kinds >> 2) & 3, format = (kinds >> 4) & 3;
    mt.SetType(major < 2 ? &MEDIATYPE_Video : major == 2 ? &GUID_NULL : &mt.majortype);
    if (major == 3)
        mt.majortype = Junk(in);
    mt.SetSubtype(sub < 2 ? &MEDIASUBTYPE_YUY2 : &GUID_NULL);
    if (sub == 3)
        mt.subtype = Junk(in);
    const bool layout2 = format == 1 || (format >= 2 && (kinds & 0x40));
    mt.SetFormatType(format == 0 ? &FORMAT_VideoInfo : format == 1 ? &FORMAT_VideoInfo2 : &FORMAT_None);
    if (format == 3)
        mt.formattype = Junk(in);

    const LONG width = Size(in, 64);
    const LONG height = Size(in, 48);
    VIDEOINFOHEADER2 v{};
    BITMAPINFOHEADER& bih = v.bmiHeader;
    const uint8_t fields = in.Byte();
    bih.biSize = (fields & 1) ? in.U32() : sizeof(BITMAPINFOHEADER);
    bih.biWidth = width;
    // Negated in unsigned arithmetic: INT32_MIN stays itself.
    bih.biHeight = (fields & 2) ? LONG(0u - uint32_t(height)) : height;
    bih.biPlanes = 1;
    bih.biBitCount = (fields & 4) ? in.Byte() : 16;
    bih.biCompression = (fields & 8) ? in.U32() : kYuy2FourCc;
    const DWORD exact = DWORD(width) * DWORD(height) * 2u;
    bih.biSizeImage = (fields & 0x10) ? in.U32() : exact;
    if (fields & 0x20) {
        v.rcSource = {Size(in, 64), Size(in, 48), Size(in, 64), Size(in, 48)};
        v.rcTarget = {Size(in, 64), Size(in, 48), Size(in, 64), Size(in, 48)};
    } else if (fields & 0x40) {
        v.rcSource = v.rcTarget = {0, 0, width, height};
    }
    static const DWORD aspects[][2] = {{0, 0}, {4, 3}, {16, 9}, {1, 0}};
    const uint32_t aspect = in.Below(5);
    v.dwPictAspectRatioX = aspect < 4 ? aspects[aspect][0] : in.U32();
    v.dwPictAspectRatioY = aspect < 4 ? aspects[aspect][1] : in.U32();
    v.dwInterlaceFlags = (fields & 0x80) ? in.Byte() : 0;
    v.AvgTimePerFrame = 400000;

    // The same fields in whichever layout the block takes.
    BYTE header[sizeof(VIDEOINFOHEADER2)];
    ULONG headerBytes = sizeof(VIDEOINFOHEADER2);
    if (layout2) {
        std::memcpy(header, &v, sizeof v);
    } else {
        VIDEOINFOHEADER v1{};
        v1.rcSource = v.rcSource;
        v1.rcTarget = v.rcTarget;
        v1.AvgTimePerFrame = v.AvgTimePerFrame;
        v1.bmiHeader = v.bmiHeader;
        std::memcpy(header, &v1, sizeof v1);
        headerBytes = sizeof(VIDEOINFOHEADER);
    }
    ULONG length = headerBytes;
    switch (in.Below(8)) {
        case 4: length = headerBytes - 1 - in.Below(8); break;
        case 5: length = headerBytes + in.Byte(); break;
        case 6: length = in.Byte(); break;
        case 7: length = 0; break;
        default: break;
    }
    if (BYTE* block = mt.AllocFormatBuffer(length)) {
        std::memcpy(block, header, std::min<ULONG>(length, headerBytes));
        for (ULONG i = headerBytes; i < length; ++i)
            block[i] = in.Byte();
    }
    mt.bFixedSizeSamples = in.Bit();
    mt.lSampleSize = in.Bit() ? in.U32() : exact;
    return mt;
}

// What the filter takes, written apart from its code: video, YUY2, a
// VIDEOINFOHEADER or VIDEOINFOHEADER2 block at least as long as its
// header, with a 16-bit picture.
bool Acceptable(const AM_MEDIA_TYPE& mt)
{
    if (!IsEqualGUID(mt.majortype, MEDIATYPE_Video) || !IsEqualGUID(mt.subtype, MEDIASUBTYPE_YUY2) ||
        mt.pbFormat == nullptr)
        return false;
    const BITMAPINFOHEADER* bih = nullptr;
    if (IsEqualGUID(mt.formattype, FORMAT_VideoInfo) && mt.cbFormat >= sizeof(VIDEOINFOHEADER))
        bih = &reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat)->bmiHeader;
    if (IsEqualGUID(mt.formattype, FORMAT_VideoInfo2) && mt.cbFormat >= sizeof(VIDEOINFOHEADER2))
        bih = &reinterpret_cast<const VIDEOINFOHEADER2*>(mt.pbFormat)->bmiHeader;
    return bih != nullptr && bih->biBitCount == 16;
}

// An IMediaSample over a heap block of exactly its size; it lives on the
// harness's stack for one Receive.
class FuzzSample final : public IMediaSample {
public:
    explicit FuzzSample(LONG size) : m_size(size), m_buffer(uint64_t(size)) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        const bool known = riid == IID_IUnknown || riid == IID_IMediaSample;
        *ppv = known ? static_cast<IMediaSample*>(this) : nullptr;
        return known ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetPointer(BYTE** pp) override
    {
        *pp = m_buffer.data();
        return S_OK;
    }
    STDMETHODIMP_(LONG) GetSize() override { return m_size; }
    STDMETHODIMP GetTime(REFERENCE_TIME* s, REFERENCE_TIME* e) override
    {
        if (m_timeResult != VFW_E_SAMPLE_TIME_NOT_SET) {
            *s = m_start;
            *e = m_stop;
        }
        return m_timeResult;
    }
    STDMETHODIMP SetTime(REFERENCE_TIME*, REFERENCE_TIME*) override { return S_OK; }
    STDMETHODIMP IsSyncPoint() override { return m_flags[0]; }
    STDMETHODIMP SetSyncPoint(BOOL) override { return S_OK; }
    STDMETHODIMP IsPreroll() override { return m_flags[1]; }
    STDMETHODIMP SetPreroll(BOOL) override { return S_OK; }
    STDMETHODIMP_(LONG) GetActualDataLength() override { return m_actual; }
    STDMETHODIMP SetActualDataLength(LONG len) override
    {
        if (len < 0 || len > m_size)
            return VFW_E_BUFFER_OVERFLOW;
        m_actual = len;
        return S_OK;
    }
    STDMETHODIMP GetMediaType(AM_MEDIA_TYPE** pp) override
    {
        *pp = m_type ? CreateMediaType(m_type.get()) : nullptr;
        return *pp != nullptr ? S_OK : S_FALSE;
    }
    STDMETHODIMP SetMediaType(AM_MEDIA_TYPE*) override { return S_OK; }
    STDMETHODIMP IsDiscontinuity() override { return m_flags[2]; }
    STDMETHODIMP SetDiscontinuity(BOOL) override { return S_OK; }
    STDMETHODIMP GetMediaTime(LONGLONG*, LONGLONG*) override { return VFW_E_MEDIA_TIME_NOT_SET; }
    STDMETHODIMP SetMediaTime(LONGLONG*, LONGLONG*) override { return S_OK; }

    LONG m_size;
    Buffer m_buffer;
    LONG m_actual = 0;
    HRESULT m_timeResult = VFW_E_SAMPLE_TIME_NOT_SET;
    REFERENCE_TIME m_start = 0;
    REFERENCE_TIME m_stop = 0;
    HRESULT m_flags[3] = {S_OK, S_FALSE, S_FALSE};
    std::unique_ptr<CMediaType> m_type;
};

// The graph of one run: push source (never started) -> filter -> sink.
struct Run {
    ComPtr<CResizeFilter> filter;
    ComPtr<CPushSource> source;
    ComPtr<CSampleSink> sink;
    ComPtr<IMemInputPin> input;
    bool inputConnected = false;
    bool outputConnected = false;
    bool streaming = false;
    bool running = false;
    // Bytes of one output frame while the output is connected.
    uint64_t frameBytes = 0;
    LONG srcWidth = 0;
    LONG srcHeight = 0;
    uint64_t delivered = 0;

    HRESULT Record(IMediaSample* s)
    {
        TUL_FUZZ_EXPECT(outputConnected);
        TUL_FUZZ_EXPECT(uint64_t(s->GetActualDataLength()) == frameBytes);
        TUL_FUZZ_EXPECT(uint64_t(s->GetSize()) >= frameBytes);
        AM_MEDIA_TYPE* type = nullptr;
        if (s->GetMediaType(&type) == S_OK && type != nullptr) {
            // A forwarded format change describes the output frame.
            const BITMAPINFOHEADER* bih = BitmapHeaderOf(*type);
            TUL_FUZZ_EXPECT(bih != nullptr && bih->biSizeImage == frameBytes);
            DeleteMediaType(type);
        }
        ++delivered;
        return S_OK;
    }
};

uint64_t OutputFrame(CResizeFilter& f)
{
    LONG w = 0, h = 0;
    TUL_FUZZ_EXPECT(f.GetOutputSize(&w, &h, nullptr) == S_OK);
    TUL_FUZZ_EXPECT(w > 0 && h > 0 && w % 2 == 0);
    return uint64_t(w) * uint64_t(h) * 2;
}

void Settings(Input& in, Run& r)
{
    CResizeFilter& f = *r.filter.Get();
    IResizeSettings& s = f;
    switch (in.Below(8)) {
        case 0:
        case 1: {
            LONG w0 = 0, h0 = 0;
            s.GetOutputSize(&w0, &h0, nullptr);
            const LONG w = Size(in, 96), h = Size(in, 64);
            const HRESULT hr = s.SetOutputSize(w, h);
            const bool fits = w > 0 && h > 0 && w % 2 == 0 && uint64_t(w) * uint64_t(h) * 2 <= INT32_MAX;
            TUL_FUZZ_EXPECT(hr == ((fits && !r.outputConnected) ? S_OK : S_FALSE));
            LONG w1 = 0, h1 = 0;
            BOOL canChange = 2;
            s.GetOutputSize(&w1, &h1, &canChange);
            TUL_FUZZ_EXPECT(canChange == (r.outputConnected ? FALSE : TRUE));
            TUL_FUZZ_EXPECT(hr == S_OK ? (w1 == w && h1 == h) : (w1 == w0 && h1 == h0));
            break;
        }
        case 2: {
            const LONG mode = in.Bit() ? LONG(in.Below(4)) : LONG(in.U32());
            TUL_FUZZ_EXPECT(s.SetResizeMode(mode) == S_OK);
            LONG got = -5;
            TUL_FUZZ_EXPECT(s.GetResizeMode(&got) == S_OK && got == mode);
            break;
        }
        case 3: {
            const LONG x = Size(in, 20), y = Size(in, 20);
            LONG x0 = 0, y0 = 0, x1 = 0, y1 = 0;
            s.GetOutputAspectRatio(&x0, &y0);
            const HRESULT hr = s.SetOutputAspectRatio(x, y);
            TUL_FUZZ_EXPECT(hr == ((x > 0 && y > 0) ? S_OK : S_FALSE));
            s.GetOutputAspectRatio(&x1, &y1);
            TUL_FUZZ_EXPECT(hr == S_OK ? (x1 == x && y1 == y) : (x1 == x0 && y1 == y0));
            break;
        }
        case 4: {
            const LONG method = in.Bit() ? LONG(in.Below(4)) : LONG(in.U32());
            TUL_FUZZ_EXPECT(s.SetDeinterlaceMethod(method) == S_OK);
            LONG got = -5;
            TUL_FUZZ_EXPECT(s.GetDeinterlaceMethod(&got) == S_OK && got == method);
            break;
        }
        case 5: {
            const LONG policy = in.Bit() ? LONG(in.Below(4)) : LONG(in.U32());
            TUL_FUZZ_EXPECT(s.SetDeinterlacePolicy(policy) == S_OK);
            LONG got = -5;
            TUL_FUZZ_EXPECT(s.GetDeinterlacePolicy(&got) == S_OK && got == policy);
            break;
        }
        case 6: {
            const DWORD color = in.U32();
            TUL_FUZZ_EXPECT(s.SetBackgroundColor(color) == S_OK);
            DWORD got = 0;
            TUL_FUZZ_EXPECT(s.GetBackgroundColor(&got) == S_OK && got == color);
            break;
        }
        default:
            // Null out-parameters are skipped, never written through.
            TUL_FUZZ_EXPECT(s.GetOutputSize(nullptr, nullptr, nullptr) == S_OK);
            TUL_FUZZ_EXPECT(s.GetOutputAspectRatio(nullptr, nullptr) == S_OK);
            TUL_FUZZ_EXPECT(s.GetResizeMode(nullptr) == S_OK && s.GetDeinterlacePolicy(nullptr) == S_OK);
            TUL_FUZZ_EXPECT(s.Reserved1(LONG(in.U32()), 0, 0) == S_OK && s.Reserved2(0, 0, 0) == S_OK);
            {
                CAUUID pages{};
                TUL_FUZZ_EXPECT(f.GetPages(&pages) == S_OK && pages.cElems == 1 && pages.pElems != nullptr);
                CoTaskMemFree(pages.pElems);
                TUL_FUZZ_EXPECT(f.GetPages(nullptr) == E_POINTER);
            }
            {
                // Every interface the filter states, and nothing for an
                // unknown one.
                const GUID known[] = {IID_IResizeSettings, IID_IResizeSnapshot, IID_ISpecifyPropertyPages,
                                      IID_IBaseFilter, IID_IUnknown};
                const GUID asked = in.Bit() ? known[in.Below(5)] : Junk(in);
                void* p = nullptr;
                const HRESULT hr = f.QueryInterface(asked, &p);
                const bool isKnown = std::find(std::begin(known), std::end(known), asked) != std::end(known);
                TUL_FUZZ_EXPECT(isKnown ? (hr == S_OK && p != nullptr) : (hr == E_NOINTERFACE && p == nullptr));
                if (p != nullptr)
                    static_cast<IUnknown*>(p)->Release();
                TUL_FUZZ_EXPECT(f.QueryInterface(asked, nullptr) == E_POINTER);
                TUL_FUZZ_EXPECT(static_cast<IResizeSnapshot&>(f).Reserved(in.U32()) == S_OK);
            }
            break;
    }
}

void Snapshot(Input& in, Run& r)
{
    IResizeSnapshot& s = *r.filter.Get();
    const LONG width = Size(in, 64), height = Size(in, 48);
    const LONG format = in.Bit() ? SNAPSHOT_FORMAT_YUY2 : LONG(in.Byte()) - 8;
    const LONG mode = in.Bit() ? LONG(in.Below(4)) : LONG(in.U32());
    const uint64_t bpp = format == SNAPSHOT_FORMAT_YUY2 ? 2 : 3;
    const uint64_t bytes = (width > 0 && height > 0) ? uint64_t(width) * uint64_t(height) * bpp : 0;
    const bool valid = bytes != 0 && width % 2 == 0 && bytes <= UINT32_MAX;
    auto stated = [](HRESULT hr) { return hr == S_OK || hr == E_INVALIDARG || hr == E_POINTER || hr == E_FAIL; };

    // The null-buffer call only prepares: nothing is written.
    ULONG written = 0xA5A5A5A5u;
    HRESULT hr = s.GetCurrentFrame(nullptr, in.Bit() ? &written : nullptr, width, height, format, mode);
    TUL_FUZZ_EXPECT(stated(hr) && hr != E_POINTER && written == 0xA5A5A5A5u);
    TUL_FUZZ_EXPECT((hr == E_INVALIDARG) == !valid);
    if (!valid || bytes > kMaxBytes)
        return;
    Buffer buffer(bytes);
    std::memset(buffer.data(), 0xEE, bytes);
    const auto before = buffer.Snapshot();
    const bool nullWritten = in.Below(8) == 0;
    hr = s.GetCurrentFrame(buffer.data(), nullWritten ? nullptr : &written, width, height, format, mode);
    TUL_FUZZ_EXPECT(stated(hr) && hr != E_INVALIDARG);
    TUL_FUZZ_EXPECT((hr == E_POINTER) == nullWritten);
    // Either a whole still of the announced size, or nothing at all.
    if (hr == S_OK && written != 0xA5A5A5A5u)
        TUL_FUZZ_EXPECT(written == bytes);
    else
        TUL_FUZZ_EXPECT(buffer.Equals(before));
}

void Deliver(Input& in, Run& r)
{
    const uint64_t frame = (r.srcWidth > 0 && r.srcHeight > 0) ? uint64_t(r.srcWidth) * uint64_t(r.srcHeight) * 2 : 0;
    int64_t length = 0;
    switch (in.Below(6)) {
        case 0: case 1: length = int64_t(frame); break;
        case 2: length = int64_t(frame) - 1 - in.Byte(); break;
        case 3: length = int64_t(frame) + 1 + in.Byte(); break;
        case 4: length = int64_t(in.Byte()) * in.Byte(); break;
        default: length = 0; break;
    }
    length = std::clamp<int64_t>(length, 0, int64_t(kMaxBytes));
    FuzzSample sample{LONG(length)};
    const uint8_t kinds = in.Byte();
    sample.m_actual = (kinds & 1) ? LONG(in.U32() % uint64_t(length + 1)) : LONG(length);
    // Now and then a sample claims more data than its buffer holds.
    const bool overlong = (kinds & 0xC0) == 0xC0;
    if (overlong)
        sample.m_actual = LONG(length) + 1 + in.Byte();
    static const HRESULT flagResults[] = {S_OK, S_FALSE, S_FALSE, E_FAIL};
    for (HRESULT& f : sample.m_flags)
        f = flagResults[in.Below(4)];
    static const HRESULT timeResults[] = {S_OK, S_OK, VFW_S_NO_STOP_TIME, VFW_E_SAMPLE_TIME_NOT_SET};
    sample.m_timeResult = timeResults[(kinds >> 1) & 3];
    sample.m_start = int64_t(in.U32()) * 1000;
    sample.m_stop = sample.m_start + int64_t(in.Byte()) * 1000;
    if ((kinds & 0x38) == 0)
        sample.m_type = std::make_unique<CMediaType>(FuzzType(in));
    sample.m_buffer.Fill(in);

    const uint64_t before = r.delivered;
    const HRESULT hr = r.input->Receive(&sample);
    static const HRESULT stated[] = {S_OK, S_FALSE, VFW_E_WRONG_STATE, VFW_E_BUFFER_OVERFLOW, VFW_E_INVALIDMEDIATYPE,
                                     VFW_E_NOT_CONNECTED, E_UNEXPECTED, VFW_E_RUNTIME_ERROR, E_OUTOFMEMORY};
    TUL_FUZZ_EXPECT(std::find(std::begin(stated), std::end(stated), hr) != std::end(stated));
    if (!r.streaming)
        TUL_FUZZ_EXPECT(hr == VFW_E_WRONG_STATE && r.delivered == before);
    else if (overlong)
        TUL_FUZZ_EXPECT(hr == VFW_E_BUFFER_OVERFLOW || hr == S_FALSE);
    // A sample with an unreadable flag is transformed into nothing.
    if (hr == S_OK && r.outputConnected)
        TUL_FUZZ_EXPECT(r.delivered == before + 1);
}

void Stop(Run& r)
{
    TUL_FUZZ_EXPECT(r.filter->Stop() == S_OK);
    TUL_FUZZ_EXPECT(r.sink->Stop() == S_OK);
    r.streaming = r.running = false;
}

void ConnectOutput(Run& r)
{
    CBasePin* out = r.filter->GetPin(1);
    const HRESULT hr = out->Connect(r.sink->GetPin(0), nullptr);
    TUL_FUZZ_EXPECT(hr == S_OK || !r.inputConnected);
    r.outputConnected = hr == S_OK;
    if (!r.outputConnected)
        return;
    r.frameBytes = OutputFrame(*r.filter.Get());
    // The output type describes the frame the settings give.
    const BITMAPINFOHEADER* bih = BitmapHeaderOf(out->CurrentMediaType());
    TUL_FUZZ_EXPECT(bih != nullptr && uint64_t(bih->biSizeImage) == r.frameBytes);
}

void DisconnectOutput(Run& r)
{
    if (!r.outputConnected)
        return;
    Stop(r);
    TUL_FUZZ_EXPECT(r.filter->GetPin(1)->Disconnect() == S_OK);
    TUL_FUZZ_EXPECT(r.sink->GetPin(0)->Disconnect() == S_OK);
    r.outputConnected = false;
}

void Drive(Input& in)
{
    Run r;
    HRESULT hr = S_OK;
    CUnknown* object = CResizeFilter::CreateInstance(nullptr, &hr);
    TUL_FUZZ_EXPECT(object != nullptr);
    auto* raw = static_cast<CResizeFilter*>(object);
    raw->AddRef();
    r.filter = ComPtr<CResizeFilter>::Attach(raw);
    CBasePin* inputPin = r.filter->GetPin(0);
    TUL_FUZZ_EXPECT(inputPin->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(r.input.ReleaseAndGetAddressOf())) == S_OK);

    for (uint32_t n = in.Below(4); n > 0; --n)
        Settings(in, r);

    const CMediaType type = FuzzType(in);
    const HRESULT accepted = inputPin->QueryAccept(&type);
    TUL_FUZZ_EXPECT(accepted == (Acceptable(type) ? S_OK : S_FALSE));
    // The output pin offers nothing while the input is unconnected.
    TUL_FUZZ_EXPECT(r.filter->GetPin(1)->QueryAccept(&type) == S_FALSE || Acceptable(type));

    CPushSource* rawSource = nullptr;
    TUL_FUZZ_EXPECT(CPushSource::Create(type, [](PushFrame&) { return S_FALSE; }, &rawSource) == S_OK);
    r.source = ComPtr<CPushSource>::Attach(rawSource);
    CSampleSink* rawSink = nullptr;
    TUL_FUZZ_EXPECT(CSampleSink::Create([&r](IMediaSample* s) { return r.Record(s); }, &rawSink) == S_OK);
    r.sink = ComPtr<CSampleSink>::Attach(rawSink);

    hr = r.source->GetPin(0)->Connect(inputPin, in.Bit() ? &type : nullptr);
    r.inputConnected = hr == S_OK;
    TUL_FUZZ_EXPECT(!r.inputConnected || Acceptable(type));
    if (r.inputConnected) {
        LONG w = 0, h = 0;
        if (const BITMAPINFOHEADER* bih = BitmapHeaderOf(type)) {
            w = bih->biWidth;
            h = bih->biHeight == INT32_MIN ? 0 : std::abs(bih->biHeight);
        }
        r.srcWidth = w;
        r.srcHeight = h;
    }
    ConnectOutput(r);

    for (int op = 0; op < 24 && in.RestSize() > 0; ++op) {
        switch (in.Below(12)) {
            case 0: case 1: case 2: case 3:
                Deliver(in, r);
                break;
            case 4:
            case 5: {
                // Streaming commits the output allocator and resizes into
                // every frame: the filter's default 320 x 240 output would
                // make each run slow, so only small frames stream (the
                // resizer's own harness covers large pictures).
                if (r.outputConnected && r.frameBytes > kStreamedFrameBytes)
                    break;
                const bool run = in.Bit();
                hr = r.sink->Pause();
                TUL_FUZZ_EXPECT(hr == S_OK);
                hr = run ? r.filter->Run(0) : r.filter->Pause();
                TUL_FUZZ_EXPECT(hr == S_OK);
                if (run)
                    TUL_FUZZ_EXPECT(r.sink->Run(0) == S_OK);
                r.streaming = true;
                r.running = run;
                break;
            }
            case 6:
                Stop(r);
                break;
            case 7:
                Settings(in, r);
                break;
            case 8:
            case 9:
                Snapshot(in, r);
                break;
            case 10: {
                // Flush, end of stream and a new segment pass downstream.
                IPin* pin = inputPin;
                switch (in.Below(3)) {
                    case 0:
                        hr = pin->BeginFlush();
                        TUL_FUZZ_EXPECT(SUCCEEDED(hr) || hr == VFW_E_NOT_CONNECTED);
                        hr = pin->EndFlush();
                        TUL_FUZZ_EXPECT(SUCCEEDED(hr) || hr == VFW_E_NOT_CONNECTED);
                        break;
                    case 1:
                        hr = pin->EndOfStream();
                        TUL_FUZZ_EXPECT(SUCCEEDED(hr) || hr == VFW_E_NOT_CONNECTED || hr == VFW_E_WRONG_STATE);
                        break;
                    default:
                        hr = pin->NewSegment(0, int64_t(in.U32()) * 1000, 1.0);
                        TUL_FUZZ_EXPECT(SUCCEEDED(hr) || hr == VFW_E_NOT_CONNECTED);
                        break;
                }
                break;
            }
            default:
                // A new output connection, with new settings between.
                DisconnectOutput(r);
                Settings(in, r);
                ConnectOutput(r);
                break;
        }
    }

    Stop(r);
    DisconnectOutput(r);
    if (r.inputConnected) {
        TUL_FUZZ_EXPECT(r.source->GetPin(0)->Disconnect() == S_OK);
        TUL_FUZZ_EXPECT(inputPin->Disconnect() == S_OK);
    }
    r.input = ComPtr<IMemInputPin>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const LONG objectsBefore = ModuleObjectCount();
    Input in(data, size);
    Drive(in);
    // Every filter, pin, allocator and sample of the run is gone.
    TUL_FUZZ_EXPECT(ModuleObjectCount() == objectsBefore);
    return 0;
}
