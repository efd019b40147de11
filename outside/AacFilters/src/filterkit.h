// The little DirectShow filter kit of the AAC filters: a filter with its state and clock,
// pins that agree a media type, a push output pin with its allocator, and the enumerators.
// Pins count their references on their filter, which owns them.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <vector>

namespace aacfilters {

// Media types owned by value: copies own their format block.
void FreeMediaType(AM_MEDIA_TYPE* mt);
HRESULT CopyMediaType(AM_MEDIA_TYPE* to, const AM_MEDIA_TYPE* from);

// Counts live objects for DllCanUnloadNow.
void ObjectMade();
void ObjectGone();
LONG LiveObjects();

// IUnknown of a heap object with the one interface I (enumerators, class factories),
// counted for DllCanUnloadNow.
template <class I>
class Unknown : public I {
 public:
  Unknown() { ObjectMade(); }
  virtual ~Unknown() { ObjectGone(); }
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == __uuidof(I)) {
      *ppv = static_cast<I*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&ref_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG r = InterlockedDecrement(&ref_);
    if (!r) delete this;
    return r;
  }

 private:
  LONG ref_ = 1;
};

class Filter;

class Pin : public IPin {
 public:
  Pin(Filter* filter, const wchar_t* name, PIN_DIRECTION dir);
  virtual ~Pin();

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP Disconnect() override;
  STDMETHODIMP ConnectedTo(IPin** ppPin) override;
  STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP QueryPinInfo(PIN_INFO* pInfo) override;
  STDMETHODIMP QueryDirection(PIN_DIRECTION* pPinDir) override;
  STDMETHODIMP QueryId(LPWSTR* Id) override;
  STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** ppEnum) override;
  STDMETHODIMP QueryInternalConnections(IPin** apPin, ULONG* nPin) override;
  STDMETHODIMP EndOfStream() override { return S_OK; }
  STDMETHODIMP BeginFlush() override { return S_OK; }
  STDMETHODIMP EndFlush() override { return S_OK; }
  STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

  const wchar_t* Name() const { return name_; }
  bool IsConnected() const { return peer_ != nullptr; }
  IPin* Peer() const { return peer_; }
  const AM_MEDIA_TYPE& Type() const { return mt_; }

 protected:
  // S_OK when the pin takes this type.
  virtual HRESULT CheckType(const AM_MEDIA_TYPE* mt) = 0;
  // The types the pin proposes, best first (none for a pin that only receives).
  virtual bool ProposedType(int index, AM_MEDIA_TYPE* mt) { return false; }
  // After the type is agreed: a failure breaks the connection.
  virtual HRESULT OnConnected(IPin* peer) { return S_OK; }
  virtual void OnDisconnected() {}
  HRESULT TryConnect(IPin* receiver, const AM_MEDIA_TYPE* mt);

  Filter* filter_;
  wchar_t name_[32];
  PIN_DIRECTION dir_;
  IPin* peer_ = nullptr;
  AM_MEDIA_TYPE mt_ = {};
};

// An input pin that samples are pushed to (IMemInputPin) in buffers of the sender's
// allocator.
class MemInputPin : public Pin, public IMemInputPin {
 public:
  MemInputPin(Filter* filter, const wchar_t* name) : Pin(filter, name, PINDIR_INPUT) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return Pin::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return Pin::Release(); }
  STDMETHODIMP GetAllocator(IMemAllocator** ppAllocator) override;
  STDMETHODIMP NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) override;
  STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* pProps) override { return E_NOTIMPL; }
  STDMETHODIMP ReceiveMultiple(IMediaSample** pSamples, long nSamples, long* nSamplesProcessed) override;
  STDMETHODIMP ReceiveCanBlock() override { return S_OK; }
};

// A pin that pushes samples downstream through the receiver's IMemInputPin, with buffers
// from the allocator agreed at connection.
class OutputPin : public Pin {
 public:
  OutputPin(Filter* filter, const wchar_t* name, long buffers, long bufferSize);
  STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }

  HRESULT Active();    // commits the allocator
  HRESULT Inactive();  // decommits it: a waiting GetBuffer returns
  HRESULT GetBuffer(IMediaSample** sample);
  HRESULT Deliver(IMediaSample* sample);
  HRESULT DeliverEndOfStream();
  HRESULT DeliverBeginFlush();
  HRESULT DeliverEndFlush();
  HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

 protected:
  HRESULT OnConnected(IPin* peer) override;
  void OnDisconnected() override;

 private:
  long buffers_, bufferSize_;
  IMemInputPin* input_ = nullptr;
  IMemAllocator* allocator_ = nullptr;
};

// An output pin whose seeking is its upstream's: the renderer asks the pin it is connected
// to, and a filter in the middle hands every call on to the pin that feeds its input.
class PassThroughOutputPin : public OutputPin, public IMediaSeeking {
 public:
  PassThroughOutputPin(Filter* filter, const wchar_t* name, long buffers, long bufferSize, Pin* input)
      : OutputPin(filter, name, buffers, bufferSize), input_(input) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return Pin::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return Pin::Release(); }

  STDMETHODIMP GetCapabilities(DWORD* pCapabilities) override;
  STDMETHODIMP CheckCapabilities(DWORD* pCapabilities) override;
  STDMETHODIMP IsFormatSupported(const GUID* pFormat) override;
  STDMETHODIMP QueryPreferredFormat(GUID* pFormat) override;
  STDMETHODIMP GetTimeFormat(GUID* pFormat) override;
  STDMETHODIMP IsUsingTimeFormat(const GUID* pFormat) override;
  STDMETHODIMP SetTimeFormat(const GUID* pFormat) override;
  STDMETHODIMP GetDuration(LONGLONG* pDuration) override;
  STDMETHODIMP GetStopPosition(LONGLONG* pStop) override;
  STDMETHODIMP GetCurrentPosition(LONGLONG* pCurrent) override;
  STDMETHODIMP ConvertTimeFormat(LONGLONG* pTarget, const GUID* pTargetFormat, LONGLONG Source,
                                 const GUID* pSourceFormat) override;
  STDMETHODIMP SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop, DWORD dwStopFlags) override;
  STDMETHODIMP GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) override;
  STDMETHODIMP GetAvailable(LONGLONG* pEarliest, LONGLONG* pLatest) override;
  STDMETHODIMP SetRate(double dRate) override;
  STDMETHODIMP GetRate(double* pdRate) override;
  STDMETHODIMP GetPreroll(LONGLONG* pllPreroll) override;

 private:
  // The upstream pin's seeking with a reference; null when the input is not connected or
  // its peer cannot seek.
  IMediaSeeking* Upstream();
  Pin* input_;
};

// The seeking of a source of one stream in media time: start, stop and duration, with
// the arithmetic of SetPositions' flags. The owner applies a new start to its stream.
struct StreamPositions {
  REFERENCE_TIME start = 0, stop = 0, duration = 0;
  // Applies SetPositions' arguments clamped to [0, duration]; *startMoved tells whether a
  // start was given (the stream then goes there).
  HRESULT Apply(LONGLONG* current, DWORD currentFlags, LONGLONG* stopAt, DWORD stopFlags, bool* startMoved);
};

// What a seekable source of one stream can do; the current position is the renderer's
// (it knows what has played).
const DWORD kSourceSeekingCaps = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards |
                                 AM_SEEKING_CanSeekBackwards | AM_SEEKING_CanGetStopPos |
                                 AM_SEEKING_CanGetDuration;

class Filter : public IBaseFilter {
 public:
  explicit Filter(const CLSID& clsid);
  virtual ~Filter();

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetClassID(CLSID* pClassID) override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME tStart) override;
  STDMETHODIMP GetState(DWORD dwMilliSecsTimeout, FILTER_STATE* State) override;
  STDMETHODIMP SetSyncSource(IReferenceClock* pClock) override;
  STDMETHODIMP GetSyncSource(IReferenceClock** pClock) override;
  STDMETHODIMP EnumPins(IEnumPins** ppEnum) override;
  STDMETHODIMP FindPin(LPCWSTR Id, IPin** ppPin) override;
  STDMETHODIMP QueryFilterInfo(FILTER_INFO* pInfo) override;
  STDMETHODIMP JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) override;
  STDMETHODIMP QueryVendorInfo(LPWSTR* pVendorInfo) override { return E_NOTIMPL; }

  virtual int PinCount() = 0;
  virtual Pin* PinAt(int index) = 0;
  FILTER_STATE State() const { return state_; }
  CRITICAL_SECTION* Lock() { return &lock_; }
  // Tells the graph (EC_ERRORABORT and the like); nothing without a graph.
  void Notify(long code, LONG_PTR param1, LONG_PTR param2);

 protected:
  // Called under the filter's lock when the state changes; a failure keeps the old state.
  virtual HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) { return S_OK; }

 private:
  LONG ref_ = 1;
  CLSID clsid_;
  CRITICAL_SECTION lock_;
  FILTER_STATE state_ = State_Stopped;
  IReferenceClock* clock_ = nullptr;
  IFilterGraph* graph_ = nullptr;  // not counted: the graph holds us
  wchar_t name_[128] = {};
};

// One enumerator of a fixed list of media types.
HRESULT MakeMediaTypeEnum(const std::vector<AM_MEDIA_TYPE>& types, IEnumMediaTypes** out);

}  // namespace aacfilters
