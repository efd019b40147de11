#include "filterkit.h"

#include <algorithm>
#include <new>

namespace aacfilters {

namespace {

LONG g_objects = 0;

class MediaTypeEnum : public Unknown<IEnumMediaTypes> {
 public:
  explicit MediaTypeEnum(const std::vector<AM_MEDIA_TYPE>& types) {
    for (const AM_MEDIA_TYPE& t : types) {
      AM_MEDIA_TYPE copy = {};
      if (SUCCEEDED(CopyMediaType(&copy, &t))) types_.push_back(copy);
    }
  }
  ~MediaTypeEnum() override {
    for (AM_MEDIA_TYPE& t : types_) FreeMediaType(&t);
  }
  STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** out, ULONG* fetched) override {
    if (!out) return E_POINTER;
    if (count > 1 && !fetched) return E_INVALIDARG;
    ULONG n = 0;
    while (n < count && next_ < types_.size()) {
      auto* mt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
      if (!mt) break;
      *mt = AM_MEDIA_TYPE();
      if (FAILED(CopyMediaType(mt, &types_[next_]))) {
        CoTaskMemFree(mt);
        break;
      }
      out[n++] = mt;
      ++next_;
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    next_ += count;
    if (next_ <= types_.size()) return S_OK;
    next_ = types_.size();
    return S_FALSE;
  }
  STDMETHODIMP Reset() override {
    next_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumMediaTypes** out) override {
    if (!out) return E_POINTER;
    auto* e = new (std::nothrow) MediaTypeEnum(types_);
    if (!e) return E_OUTOFMEMORY;
    e->next_ = next_;
    *out = e;
    return S_OK;
  }

 private:
  std::vector<AM_MEDIA_TYPE> types_;
  size_t next_ = 0;
};

class PinEnum : public Unknown<IEnumPins> {
 public:
  explicit PinEnum(Filter* filter) : filter_(filter) { filter_->AddRef(); }
  ~PinEnum() override { filter_->Release(); }
  STDMETHODIMP Next(ULONG count, IPin** out, ULONG* fetched) override {
    if (!out) return E_POINTER;
    if (count > 1 && !fetched) return E_INVALIDARG;
    ULONG n = 0;
    while (n < count && next_ < filter_->PinCount()) {
      out[n] = filter_->PinAt(next_++);
      out[n++]->AddRef();
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    next_ += int(count);
    if (next_ <= filter_->PinCount()) return S_OK;
    next_ = filter_->PinCount();
    return S_FALSE;
  }
  STDMETHODIMP Reset() override {
    next_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumPins** out) override {
    if (!out) return E_POINTER;
    auto* e = new (std::nothrow) PinEnum(filter_);
    if (!e) return E_OUTOFMEMORY;
    e->next_ = next_;
    *out = e;
    return S_OK;
  }

 private:
  Filter* filter_;
  int next_ = 0;
};

}  // namespace

void ObjectMade() { InterlockedIncrement(&g_objects); }
void ObjectGone() { InterlockedDecrement(&g_objects); }
LONG LiveObjects() { return g_objects; }

void FreeMediaType(AM_MEDIA_TYPE* mt) {
  if (!mt) return;
  if (mt->pbFormat) CoTaskMemFree(mt->pbFormat);
  if (mt->pUnk) mt->pUnk->Release();
  *mt = AM_MEDIA_TYPE();
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* to, const AM_MEDIA_TYPE* from) {
  if (!to || !from) return E_POINTER;
  *to = *from;
  to->pbFormat = nullptr;
  to->cbFormat = 0;
  if (from->cbFormat && from->pbFormat) {
    to->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(from->cbFormat));
    if (!to->pbFormat) {
      to->pUnk = nullptr;
      return E_OUTOFMEMORY;
    }
    memcpy(to->pbFormat, from->pbFormat, from->cbFormat);
    to->cbFormat = from->cbFormat;
  }
  if (to->pUnk) to->pUnk->AddRef();
  return S_OK;
}

HRESULT MakeMediaTypeEnum(const std::vector<AM_MEDIA_TYPE>& types, IEnumMediaTypes** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow) MediaTypeEnum(types);
  return *out ? S_OK : E_OUTOFMEMORY;
}

// ---- Pin

Pin::Pin(Filter* filter, const wchar_t* name, PIN_DIRECTION dir) : filter_(filter), dir_(dir) {
  lstrcpynW(name_, name, ARRAYSIZE(name_));
}

Pin::~Pin() {
  if (peer_) peer_->Release();
  FreeMediaType(&mt_);
}

STDMETHODIMP Pin::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IPin) {
    *ppv = static_cast<IPin*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) Pin::AddRef() { return filter_->AddRef(); }
STDMETHODIMP_(ULONG) Pin::Release() { return filter_->Release(); }

HRESULT Pin::TryConnect(IPin* receiver, const AM_MEDIA_TYPE* mt) {
  if (CheckType(mt) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
  HRESULT hr = receiver->ReceiveConnection(this, mt);
  if (FAILED(hr)) return hr;
  peer_ = receiver;
  peer_->AddRef();
  CopyMediaType(&mt_, mt);
  hr = OnConnected(receiver);
  if (FAILED(hr)) {
    receiver->Disconnect();
    peer_->Release();
    peer_ = nullptr;
    FreeMediaType(&mt_);
  }
  return hr;
}

STDMETHODIMP Pin::Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) {
  if (!pReceivePin) return E_POINTER;
  EnterCriticalSection(filter_->Lock());
  HRESULT hr = S_OK;
  PIN_DIRECTION other = PINDIR_OUTPUT;
  if (dir_ != PINDIR_OUTPUT) {
    hr = E_UNEXPECTED;
  } else if (peer_) {
    hr = VFW_E_ALREADY_CONNECTED;
  } else if (filter_->State() != State_Stopped) {
    hr = VFW_E_NOT_STOPPED;
  } else if (FAILED(pReceivePin->QueryDirection(&other)) || other != PINDIR_INPUT) {
    hr = VFW_E_INVALID_DIRECTION;
  } else {
    // A complete type asked for is tried alone; otherwise our own, best first.
    const bool complete = pmt && pmt->majortype != GUID_NULL && pmt->subtype != GUID_NULL &&
                          pmt->formattype != GUID_NULL;
    hr = VFW_E_NO_ACCEPTABLE_TYPES;
    if (complete) {
      hr = TryConnect(pReceivePin, pmt);
    } else {
      AM_MEDIA_TYPE mt = {};
      for (int i = 0; ProposedType(i, &mt); ++i) {
        const bool fits = !pmt || ((pmt->majortype == GUID_NULL || pmt->majortype == mt.majortype) &&
                                   (pmt->subtype == GUID_NULL || pmt->subtype == mt.subtype));
        HRESULT tried = fits ? TryConnect(pReceivePin, &mt) : VFW_E_TYPE_NOT_ACCEPTED;
        FreeMediaType(&mt);
        if (SUCCEEDED(tried)) {
          hr = tried;
          break;
        }
      }
    }
  }
  LeaveCriticalSection(filter_->Lock());
  return hr;
}

STDMETHODIMP Pin::ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt) {
  if (!pConnector || !pmt) return E_POINTER;
  EnterCriticalSection(filter_->Lock());
  HRESULT hr = S_OK;
  PIN_DIRECTION other = PINDIR_INPUT;
  if (dir_ != PINDIR_INPUT) {
    hr = E_UNEXPECTED;
  } else if (peer_) {
    hr = VFW_E_ALREADY_CONNECTED;
  } else if (filter_->State() != State_Stopped) {
    hr = VFW_E_NOT_STOPPED;
  } else if (FAILED(pConnector->QueryDirection(&other)) || other != PINDIR_OUTPUT) {
    hr = VFW_E_INVALID_DIRECTION;
  } else if (CheckType(pmt) != S_OK) {
    hr = VFW_E_TYPE_NOT_ACCEPTED;
  } else {
    peer_ = pConnector;
    peer_->AddRef();
    CopyMediaType(&mt_, pmt);
    hr = OnConnected(pConnector);
    if (FAILED(hr)) {
      peer_->Release();
      peer_ = nullptr;
      FreeMediaType(&mt_);
    }
  }
  LeaveCriticalSection(filter_->Lock());
  return hr;
}

STDMETHODIMP Pin::Disconnect() {
  EnterCriticalSection(filter_->Lock());
  HRESULT hr = S_FALSE;
  if (filter_->State() != State_Stopped) {
    hr = VFW_E_NOT_STOPPED;
  } else if (peer_) {
    OnDisconnected();
    peer_->Release();
    peer_ = nullptr;
    FreeMediaType(&mt_);
    hr = S_OK;
  }
  LeaveCriticalSection(filter_->Lock());
  return hr;
}

STDMETHODIMP Pin::ConnectedTo(IPin** ppPin) {
  if (!ppPin) return E_POINTER;
  EnterCriticalSection(filter_->Lock());
  *ppPin = peer_;
  if (peer_) peer_->AddRef();
  LeaveCriticalSection(filter_->Lock());
  return *ppPin ? S_OK : VFW_E_NOT_CONNECTED;
}

STDMETHODIMP Pin::ConnectionMediaType(AM_MEDIA_TYPE* pmt) {
  if (!pmt) return E_POINTER;
  EnterCriticalSection(filter_->Lock());
  HRESULT hr = VFW_E_NOT_CONNECTED;
  if (peer_) {
    hr = CopyMediaType(pmt, &mt_);
  } else {
    *pmt = AM_MEDIA_TYPE();
  }
  LeaveCriticalSection(filter_->Lock());
  return hr;
}

STDMETHODIMP Pin::QueryPinInfo(PIN_INFO* pInfo) {
  if (!pInfo) return E_POINTER;
  pInfo->pFilter = filter_;
  filter_->AddRef();
  pInfo->dir = dir_;
  lstrcpynW(pInfo->achName, name_, MAX_PIN_NAME);
  return S_OK;
}

STDMETHODIMP Pin::QueryDirection(PIN_DIRECTION* pPinDir) {
  if (!pPinDir) return E_POINTER;
  *pPinDir = dir_;
  return S_OK;
}

STDMETHODIMP Pin::QueryId(LPWSTR* Id) {
  if (!Id) return E_POINTER;
  const size_t bytes = (lstrlenW(name_) + 1) * sizeof(wchar_t);
  *Id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (!*Id) return E_OUTOFMEMORY;
  memcpy(*Id, name_, bytes);
  return S_OK;
}

STDMETHODIMP Pin::QueryAccept(const AM_MEDIA_TYPE* pmt) {
  if (!pmt) return E_POINTER;
  return CheckType(pmt) == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP Pin::EnumMediaTypes(IEnumMediaTypes** ppEnum) {
  if (!ppEnum) return E_POINTER;
  std::vector<AM_MEDIA_TYPE> types;
  AM_MEDIA_TYPE mt = {};
  EnterCriticalSection(filter_->Lock());
  for (int i = 0; ProposedType(i, &mt); ++i) types.push_back(mt);
  LeaveCriticalSection(filter_->Lock());
  HRESULT hr = MakeMediaTypeEnum(types, ppEnum);
  for (AM_MEDIA_TYPE& t : types) FreeMediaType(&t);
  return hr;
}

STDMETHODIMP Pin::QueryInternalConnections(IPin** apPin, ULONG* nPin) { return E_NOTIMPL; }

// ---- MemInputPin

STDMETHODIMP MemInputPin::QueryInterface(REFIID riid, void** ppv) {
  if (ppv && riid == IID_IMemInputPin) {
    *ppv = static_cast<IMemInputPin*>(this);
    AddRef();
    return S_OK;
  }
  return Pin::QueryInterface(riid, ppv);
}

STDMETHODIMP MemInputPin::GetAllocator(IMemAllocator** ppAllocator) {
  if (!ppAllocator) return E_POINTER;
  *ppAllocator = nullptr;
  return VFW_E_NO_ALLOCATOR;  // the sender brings its own
}

STDMETHODIMP MemInputPin::NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) {
  return pAllocator ? S_OK : E_POINTER;
}

STDMETHODIMP MemInputPin::ReceiveMultiple(IMediaSample** pSamples, long nSamples, long* nSamplesProcessed) {
  if (!pSamples || !nSamplesProcessed) return E_POINTER;
  HRESULT hr = S_OK;
  *nSamplesProcessed = 0;
  for (long i = 0; i < nSamples && hr == S_OK; ++i) {
    hr = Receive(pSamples[i]);
    if (hr == S_OK) ++*nSamplesProcessed;
  }
  return hr;
}

// ---- OutputPin

OutputPin::OutputPin(Filter* filter, const wchar_t* name, long buffers, long bufferSize)
    : Pin(filter, name, PINDIR_OUTPUT), buffers_(buffers), bufferSize_(bufferSize) {}

HRESULT OutputPin::OnConnected(IPin* peer) {
  HRESULT hr = peer->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input_));
  if (FAILED(hr)) return VFW_E_NO_TRANSPORT;
  ALLOCATOR_PROPERTIES want = {};
  input_->GetAllocatorRequirements(&want);
  want.cBuffers = std::max(want.cBuffers, buffers_);
  want.cbBuffer = std::max(want.cbBuffer, bufferSize_);
  want.cbAlign = std::max<long>(want.cbAlign, 1);
  // The receiver's allocator first, then one of our own.
  for (int own = 0; own < 2; ++own) {
    IMemAllocator* alloc = nullptr;
    hr = own ? CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                                reinterpret_cast<void**>(&alloc))
             : input_->GetAllocator(&alloc);
    if (FAILED(hr)) continue;
    ALLOCATOR_PROPERTIES got = {};
    hr = alloc->SetProperties(&want, &got);
    if (SUCCEEDED(hr) && got.cbBuffer < want.cbBuffer) hr = VFW_E_SIZENOTSET;
    if (SUCCEEDED(hr)) hr = input_->NotifyAllocator(alloc, FALSE);
    if (SUCCEEDED(hr)) {
      allocator_ = alloc;
      return S_OK;
    }
    alloc->Release();
  }
  input_->Release();
  input_ = nullptr;
  return FAILED(hr) ? hr : VFW_E_NO_ALLOCATOR;
}

void OutputPin::OnDisconnected() {
  if (allocator_) allocator_->Release();
  allocator_ = nullptr;
  if (input_) input_->Release();
  input_ = nullptr;
}

HRESULT OutputPin::Active() { return allocator_ ? allocator_->Commit() : S_OK; }
HRESULT OutputPin::Inactive() { return allocator_ ? allocator_->Decommit() : S_OK; }

HRESULT OutputPin::GetBuffer(IMediaSample** sample) {
  if (!allocator_) return VFW_E_NO_ALLOCATOR;
  return allocator_->GetBuffer(sample, nullptr, nullptr, 0);
}

HRESULT OutputPin::Deliver(IMediaSample* sample) { return input_ ? input_->Receive(sample) : VFW_E_NOT_CONNECTED; }
HRESULT OutputPin::DeliverEndOfStream() { return peer_ ? peer_->EndOfStream() : VFW_E_NOT_CONNECTED; }
HRESULT OutputPin::DeliverBeginFlush() { return peer_ ? peer_->BeginFlush() : VFW_E_NOT_CONNECTED; }
HRESULT OutputPin::DeliverEndFlush() { return peer_ ? peer_->EndFlush() : VFW_E_NOT_CONNECTED; }
HRESULT OutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  return peer_ ? peer_->NewSegment(start, stop, rate) : VFW_E_NOT_CONNECTED;
}

// ---- PassThroughOutputPin

STDMETHODIMP PassThroughOutputPin::QueryInterface(REFIID riid, void** ppv) {
  if (ppv && riid == IID_IMediaSeeking) {
    *ppv = static_cast<IMediaSeeking*>(this);
    AddRef();
    return S_OK;
  }
  return Pin::QueryInterface(riid, ppv);
}

IMediaSeeking* PassThroughOutputPin::Upstream() {
  IMediaSeeking* seeking = nullptr;
  IPin* peer = nullptr;
  if (SUCCEEDED(input_->ConnectedTo(&peer))) {
    peer->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking));
    peer->Release();
  }
  return seeking;
}

// Each call is the upstream's; without one the pin cannot seek.
#define AACFILTERS_FORWARD(call)                          \
  IMediaSeeking* up = Upstream();                         \
  if (!up) return E_NOTIMPL;                              \
  const HRESULT hr = up->call;                            \
  up->Release();                                          \
  return hr

STDMETHODIMP PassThroughOutputPin::GetCapabilities(DWORD* p) { AACFILTERS_FORWARD(GetCapabilities(p)); }
STDMETHODIMP PassThroughOutputPin::CheckCapabilities(DWORD* p) { AACFILTERS_FORWARD(CheckCapabilities(p)); }
STDMETHODIMP PassThroughOutputPin::IsFormatSupported(const GUID* p) { AACFILTERS_FORWARD(IsFormatSupported(p)); }
STDMETHODIMP PassThroughOutputPin::QueryPreferredFormat(GUID* p) { AACFILTERS_FORWARD(QueryPreferredFormat(p)); }
STDMETHODIMP PassThroughOutputPin::GetTimeFormat(GUID* p) { AACFILTERS_FORWARD(GetTimeFormat(p)); }
STDMETHODIMP PassThroughOutputPin::IsUsingTimeFormat(const GUID* p) { AACFILTERS_FORWARD(IsUsingTimeFormat(p)); }
STDMETHODIMP PassThroughOutputPin::SetTimeFormat(const GUID* p) { AACFILTERS_FORWARD(SetTimeFormat(p)); }
STDMETHODIMP PassThroughOutputPin::GetDuration(LONGLONG* p) { AACFILTERS_FORWARD(GetDuration(p)); }
STDMETHODIMP PassThroughOutputPin::GetStopPosition(LONGLONG* p) { AACFILTERS_FORWARD(GetStopPosition(p)); }
STDMETHODIMP PassThroughOutputPin::GetCurrentPosition(LONGLONG* p) { AACFILTERS_FORWARD(GetCurrentPosition(p)); }
STDMETHODIMP PassThroughOutputPin::ConvertTimeFormat(LONGLONG* pTarget, const GUID* pTargetFormat, LONGLONG Source,
                                                     const GUID* pSourceFormat) {
  AACFILTERS_FORWARD(ConvertTimeFormat(pTarget, pTargetFormat, Source, pSourceFormat));
}
STDMETHODIMP PassThroughOutputPin::SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop,
                                                DWORD dwStopFlags) {
  AACFILTERS_FORWARD(SetPositions(pCurrent, dwCurrentFlags, pStop, dwStopFlags));
}
STDMETHODIMP PassThroughOutputPin::GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) {
  AACFILTERS_FORWARD(GetPositions(pCurrent, pStop));
}
STDMETHODIMP PassThroughOutputPin::GetAvailable(LONGLONG* pEarliest, LONGLONG* pLatest) {
  AACFILTERS_FORWARD(GetAvailable(pEarliest, pLatest));
}
STDMETHODIMP PassThroughOutputPin::SetRate(double dRate) { AACFILTERS_FORWARD(SetRate(dRate)); }
STDMETHODIMP PassThroughOutputPin::GetRate(double* pdRate) { AACFILTERS_FORWARD(GetRate(pdRate)); }
STDMETHODIMP PassThroughOutputPin::GetPreroll(LONGLONG* p) { AACFILTERS_FORWARD(GetPreroll(p)); }

#undef AACFILTERS_FORWARD

// ---- StreamPositions

HRESULT StreamPositions::Apply(LONGLONG* current, DWORD currentFlags, LONGLONG* stopAt, DWORD stopFlags,
                               bool* startMoved) {
  *startMoved = false;
  const DWORD how = currentFlags & AM_SEEKING_PositioningBitsMask;
  const DWORD stopHow = stopFlags & AM_SEEKING_PositioningBitsMask;
  if ((how != AM_SEEKING_NoPositioning && !current) || (stopHow != AM_SEEKING_NoPositioning && !stopAt))
    return E_POINTER;
  // Relative to the present start; a stop may also be an increment on the new start.
  auto place = [this](LONGLONG to) { return std::min<LONGLONG>(std::max<LONGLONG>(to, 0), duration); };
  REFERENCE_TIME newStart = start, newStop = stop;
  if (how != AM_SEEKING_NoPositioning) newStart = place(how == AM_SEEKING_AbsolutePositioning ? *current : start + *current);
  if (stopHow == AM_SEEKING_AbsolutePositioning) newStop = place(*stopAt);
  if (stopHow == AM_SEEKING_RelativePositioning) newStop = place(stop + *stopAt);
  if (stopHow == AM_SEEKING_IncrementalPositioning) newStop = place(newStart + *stopAt);
  if (newStop < newStart) return E_INVALIDARG;
  start = newStart;
  stop = newStop;
  *startMoved = how != AM_SEEKING_NoPositioning;
  // The caller learns where it landed.
  if (how != AM_SEEKING_NoPositioning && (currentFlags & AM_SEEKING_ReturnTime)) *current = start;
  if (stopHow != AM_SEEKING_NoPositioning && (stopFlags & AM_SEEKING_ReturnTime)) *stopAt = stop;
  return S_OK;
}

// ---- Filter

Filter::Filter(const CLSID& clsid) : clsid_(clsid) {
  InitializeCriticalSection(&lock_);
  ObjectMade();
}

Filter::~Filter() {
  if (clock_) clock_->Release();
  DeleteCriticalSection(&lock_);
  ObjectGone();
}

STDMETHODIMP Filter::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IPersist || riid == IID_IMediaFilter || riid == IID_IBaseFilter) {
    *ppv = static_cast<IBaseFilter*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) Filter::AddRef() { return InterlockedIncrement(&ref_); }
STDMETHODIMP_(ULONG) Filter::Release() {
  const LONG r = InterlockedDecrement(&ref_);
  if (!r) delete this;
  return r;
}

STDMETHODIMP Filter::GetClassID(CLSID* pClassID) {
  if (!pClassID) return E_POINTER;
  *pClassID = clsid_;
  return S_OK;
}

STDMETHODIMP Filter::Stop() {
  EnterCriticalSection(&lock_);
  HRESULT hr = state_ == State_Stopped ? S_OK : OnStateChange(state_, State_Stopped);
  if (SUCCEEDED(hr)) state_ = State_Stopped;
  LeaveCriticalSection(&lock_);
  return hr;
}

STDMETHODIMP Filter::Pause() {
  EnterCriticalSection(&lock_);
  HRESULT hr = state_ == State_Paused ? S_OK : OnStateChange(state_, State_Paused);
  if (SUCCEEDED(hr)) state_ = State_Paused;
  LeaveCriticalSection(&lock_);
  return hr;
}

STDMETHODIMP Filter::Run(REFERENCE_TIME tStart) {
  EnterCriticalSection(&lock_);
  HRESULT hr = S_OK;
  if (state_ == State_Stopped) {
    hr = OnStateChange(State_Stopped, State_Paused);
    if (SUCCEEDED(hr)) state_ = State_Paused;
  }
  if (SUCCEEDED(hr) && state_ != State_Running) hr = OnStateChange(state_, State_Running);
  if (SUCCEEDED(hr)) state_ = State_Running;
  LeaveCriticalSection(&lock_);
  return hr;
}

STDMETHODIMP Filter::GetState(DWORD dwMilliSecsTimeout, FILTER_STATE* State) {
  if (!State) return E_POINTER;
  *State = state_;
  return S_OK;
}

STDMETHODIMP Filter::SetSyncSource(IReferenceClock* pClock) {
  EnterCriticalSection(&lock_);
  if (pClock) pClock->AddRef();
  if (clock_) clock_->Release();
  clock_ = pClock;
  LeaveCriticalSection(&lock_);
  return S_OK;
}

STDMETHODIMP Filter::GetSyncSource(IReferenceClock** pClock) {
  if (!pClock) return E_POINTER;
  EnterCriticalSection(&lock_);
  *pClock = clock_;
  if (clock_) clock_->AddRef();
  LeaveCriticalSection(&lock_);
  return S_OK;
}

STDMETHODIMP Filter::EnumPins(IEnumPins** ppEnum) {
  if (!ppEnum) return E_POINTER;
  *ppEnum = new (std::nothrow) PinEnum(this);
  return *ppEnum ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP Filter::FindPin(LPCWSTR Id, IPin** ppPin) {
  if (!Id || !ppPin) return E_POINTER;
  for (int i = 0; i < PinCount(); ++i) {
    if (lstrcmpW(PinAt(i)->Name(), Id) == 0) {
      *ppPin = PinAt(i);
      (*ppPin)->AddRef();
      return S_OK;
    }
  }
  *ppPin = nullptr;
  return VFW_E_NOT_FOUND;
}

STDMETHODIMP Filter::QueryFilterInfo(FILTER_INFO* pInfo) {
  if (!pInfo) return E_POINTER;
  lstrcpynW(pInfo->achName, name_, MAX_FILTER_NAME);
  pInfo->pGraph = graph_;
  if (graph_) graph_->AddRef();
  return S_OK;
}

STDMETHODIMP Filter::JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) {
  EnterCriticalSection(&lock_);
  graph_ = pGraph;
  name_[0] = 0;
  if (pName) lstrcpynW(name_, pName, ARRAYSIZE(name_));
  LeaveCriticalSection(&lock_);
  return S_OK;
}

void Filter::Notify(long code, LONG_PTR param1, LONG_PTR param2) {
  IMediaEventSink* sink = nullptr;
  if (graph_ && SUCCEEDED(graph_->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink)))) {
    sink->Notify(code, param1, param2);
    sink->Release();
  }
}

}  // namespace aacfilters
