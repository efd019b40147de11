// The AAC splitter and decoder in DirectShow graphs: the DLL beside the test for pins,
// connections, bad files and runs into a sink of our own (no sound device needed), and the
// filters registered in the prefix for a file rendered by the graph itself.
#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>

#include <program.h>
#include <tempfolder.h>

#include <algorithm>
#include <string>
#include <vector>

#include "AacFilters.h"
#include "AacRules.h"
#include "filterkit.h"

using testsupport::Fixture;

namespace {

std::wstring Wide(const std::string& s) {
  wchar_t w[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, w, MAX_PATH);
  return w;
}

template <class T>
void ReleaseOf(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

// The filters of the build's own DLL, whatever the prefix has registered.
IBaseFilter* MakeFilter(const CLSID& clsid) {
  static HMODULE dll = LoadLibraryA((testsupport::ProgramFolder() + "\\AacFilters.dll").c_str());
  if (!dll) return nullptr;
  auto get = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(GetProcAddress(dll, "DllGetClassObject"));
  IClassFactory* factory = nullptr;
  if (!get || FAILED(get(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)))) return nullptr;
  IBaseFilter* filter = nullptr;
  factory->CreateInstance(nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter));
  factory->Release();
  return filter;
}

IPin* PinOf(IBaseFilter* filter, const wchar_t* name) {
  IPin* pin = nullptr;
  filter->FindPin(name, &pin);
  return pin;
}

// A sink taking any PCM as fast as it comes: what arrived, and the end of the stream.
class Sink : public aacfilters::Filter {
 public:
  Sink() : Filter(GUID_NULL), pin_(this) { ended_ = CreateEventA(nullptr, TRUE, FALSE, nullptr); }
  ~Sink() override { CloseHandle(ended_); }
  int PinCount() override { return 1; }
  aacfilters::Pin* PinAt(int) override { return &pin_; }
  HANDLE Ended() const { return ended_; }
  LONGLONG Bytes() const { return pin_.bytes; }
  REFERENCE_TIME LastEnd() const { return pin_.lastEnd; }
  int BadTimes() const { return pin_.badTimes; }

 private:
  struct InputPin : aacfilters::MemInputPin {
    explicit InputPin(Sink* sink) : MemInputPin(sink, L"In"), sink(sink) {}
    STDMETHODIMP Receive(IMediaSample* s) override {
      if (sink->State() == State_Stopped) return VFW_E_WRONG_STATE;
      bytes += s->GetActualDataLength();
      REFERENCE_TIME t0 = 0, t1 = 0;
      // Times run on without gaps or overlaps from block to block.
      if (FAILED(s->GetTime(&t0, &t1)) || t1 <= t0 || (lastEnd >= 0 && t0 != lastEnd)) ++badTimes;
      lastEnd = t1;
      return S_OK;
    }
    STDMETHODIMP EndOfStream() override {
      SetEvent(sink->ended_);
      return S_OK;
    }
    HRESULT CheckType(const AM_MEDIA_TYPE* mt) override {
      return mt->majortype == MEDIATYPE_Audio && mt->subtype == MEDIASUBTYPE_PCM ? S_OK : S_FALSE;
    }
    Sink* sink;
    LONGLONG bytes = 0;
    REFERENCE_TIME lastEnd = -1;
    int badTimes = 0;
  };
  InputPin pin_;
  HANDLE ended_;
};

// The sound renderer put in the graph by its class, as the players do: Wine's device
// enumerator rewrites the sound renderers' registry entries at every enumeration in every
// process, so one looked up while other processes build graphs is missing at times.
void AddSoundRenderer(IGraphBuilder* graph) {
  IBaseFilter* renderer = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_DSoundRender, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                             reinterpret_cast<void**>(&renderer)),
            S_OK);
  EXPECT_EQ(graph->AddFilter(renderer, L"Default DirectSound Device"), S_OK);
  renderer->Release();
}

// A graph of the file source, the two filters and (once connected that far) our sink.
struct Chain {
  IGraphBuilder* graph = nullptr;
  IBaseFilter* source = nullptr;
  IBaseFilter* splitter = nullptr;
  IBaseFilter* decoder = nullptr;
  Sink* sink = nullptr;

  // Without our sink the decoder's output is left for the graph to render.
  HRESULT Build(const std::string& file, bool withSink = true) {
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                  reinterpret_cast<void**>(&graph));
    if (SUCCEEDED(hr)) hr = CoCreateInstance(CLSID_AsyncReader, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                             reinterpret_cast<void**>(&source));
    if (FAILED(hr)) return hr;
    IFileSourceFilter* load = nullptr;
    source->QueryInterface(IID_IFileSourceFilter, reinterpret_cast<void**>(&load));
    hr = load->Load(Wide(file).c_str(), nullptr);
    load->Release();
    if (FAILED(hr)) return hr;
    splitter = MakeFilter(CLSID_KTAACSplitter);
    decoder = MakeFilter(CLSID_KTAACDecoder);
    if (withSink) sink = new Sink;
    if (!splitter || !decoder) return E_FAIL;
    graph->AddFilter(source, L"AsyncReader");
    graph->AddFilter(splitter, L"KTAACSplitterFilter");
    graph->AddFilter(decoder, L"KTAACDecoderFilter");
    if (sink) graph->AddFilter(sink, L"Sink");
    return S_OK;
  }
  // Pin to pin, no filters put between.
  HRESULT Link(IBaseFilter* from, const wchar_t* out, IBaseFilter* to, const wchar_t* in) {
    IPin* a = PinOf(from, out);
    IPin* b = PinOf(to, in);
    HRESULT hr = a && b ? graph->ConnectDirect(a, b, nullptr) : VFW_E_NOT_FOUND;
    ReleaseOf(a);
    ReleaseOf(b);
    return hr;
  }
  HRESULT LinkAll() {
    HRESULT hr = Link(source, L"Output", splitter, L"Input");
    if (SUCCEEDED(hr)) hr = Link(splitter, L"Output", decoder, L"XForm In");
    if (SUCCEEDED(hr)) hr = Link(decoder, L"XForm Out", sink, L"In");
    return hr;
  }
  // The graph's control, with no clock: the sink takes the sound as fast as it comes.
  IMediaControl* UnclockedControl() {
    IMediaFilter* timing = nullptr;
    graph->QueryInterface(IID_IMediaFilter, reinterpret_cast<void**>(&timing));
    timing->SetSyncSource(nullptr);
    timing->Release();
    IMediaControl* control = nullptr;
    graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
    return control;
  }
  ~Chain() {
    if (graph) {
      IMediaControl* control = nullptr;
      if (SUCCEEDED(graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control)))) {
        control->Stop();
        control->Release();
      }
    }
    ReleaseOf(source);
    ReleaseOf(splitter);
    ReleaseOf(decoder);
    ReleaseOf(sink);
    ReleaseOf(graph);
  }
};

class AacFilters : public ::testing::Test {
 protected:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
  void TearDown() override { CoUninitialize(); }
};

TEST_F(AacFilters, PinsHaveTheirNamesAndDirections) {
  struct Expect {
    CLSID clsid;
    const wchar_t* in;
    const wchar_t* out;
  };
  for (const Expect& e : {Expect{CLSID_KTAACSplitter, L"Input", L"Output"},
                          Expect{CLSID_KTAACDecoder, L"XForm In", L"XForm Out"}}) {
    IBaseFilter* filter = MakeFilter(e.clsid);
    ASSERT_TRUE(filter);
    CLSID clsid = {};
    filter->GetClassID(&clsid);
    EXPECT_EQ(clsid, e.clsid);
    IEnumPins* pins = nullptr;
    ASSERT_EQ(filter->EnumPins(&pins), S_OK);
    std::vector<std::wstring> seen;
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
      PIN_INFO info = {};
      pin->QueryPinInfo(&info);
      EXPECT_EQ(info.pFilter, filter);
      ReleaseOf(info.pFilter);
      seen.push_back(std::wstring(info.dir == PINDIR_INPUT ? L"in:" : L"out:") + info.achName);
      pin->Release();
    }
    pins->Release();
    EXPECT_EQ(seen, (std::vector<std::wstring>{std::wstring(L"in:") + e.in, std::wstring(L"out:") + e.out}));
    IPin* none = nullptr;
    EXPECT_EQ(filter->FindPin(L"input", &none), VFW_E_NOT_FOUND);  // names are exact
    filter->Release();
  }
}

TEST_F(AacFilters, ConnectionRules) {
  Chain c;
  ASSERT_EQ(c.Build(Fixture("tone.m4a")), S_OK);
  // The decoder has no output type before its input knows the stream.
  EXPECT_EQ(c.Link(c.decoder, L"XForm Out", c.sink, L"In"), VFW_E_NO_ACCEPTABLE_TYPES);
  // Output to output, and a splitter fed what is not a byte stream.
  EXPECT_EQ(c.Link(c.splitter, L"Output", c.decoder, L"XForm Out"), VFW_E_INVALID_DIRECTION);
  IPin* input = PinOf(c.splitter, L"Input");
  AM_MEDIA_TYPE audio = {};
  audio.majortype = MEDIATYPE_Audio;
  EXPECT_EQ(input->QueryAccept(&audio), S_FALSE);
  audio.majortype = MEDIATYPE_Stream;
  EXPECT_EQ(input->QueryAccept(&audio), S_OK);
  input->Release();

  ASSERT_EQ(c.LinkAll(), S_OK);
  EXPECT_EQ(c.Link(c.source, L"Output", c.splitter, L"Input"), VFW_E_ALREADY_CONNECTED);
  // The compressed type: raw AAC of the file's rate and channels, with its config.
  IPin* out = PinOf(c.splitter, L"Output");
  AM_MEDIA_TYPE mt = {};
  ASSERT_EQ(out->ConnectionMediaType(&mt), S_OK);
  int rate = 0, channels = 0, configSize = 0;
  EXPECT_TRUE(aacfilters::ReadAacType(mt, &rate, &channels, nullptr, &configSize));
  EXPECT_EQ(mt.subtype, aacfilters::WaveSubtype(kWaveFormatRawAac));
  EXPECT_EQ(rate, 44100);
  EXPECT_EQ(channels, 2);
  EXPECT_GE(configSize, 2);
  aacfilters::FreeMediaType(&mt);
  out->Release();
  // The decoder's output takes PCM of that rate only.
  IPin* pcm = PinOf(c.decoder, L"XForm Out");
  ASSERT_EQ(aacfilters::MakePcmType(48000, 2, &mt), S_OK);
  EXPECT_EQ(pcm->QueryAccept(&mt), S_FALSE);
  aacfilters::FreeMediaType(&mt);
  ASSERT_EQ(aacfilters::MakePcmType(44100, 2, &mt), S_OK);
  EXPECT_EQ(pcm->QueryAccept(&mt), S_OK);
  aacfilters::FreeMediaType(&mt);
  // Connections hold while the graph runs.
  IMediaControl* control = nullptr;
  c.graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
  EXPECT_TRUE(SUCCEEDED(control->Pause()));
  EXPECT_EQ(pcm->Disconnect(), VFW_E_NOT_STOPPED);
  control->Stop();
  control->Release();
  pcm->Release();
}

// What the splitter's input refuses when the graph connects the file source to it.
TEST_F(AacFilters, FilesThatAreNotAacSoundAreRefusedAtConnection) {
  const std::string folder = testsupport::NewTempFolder("aac");
  const std::string empty = folder + "\\empty.m4a";
  CloseHandle(CreateFileA(empty.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  for (const std::string& file : {Fixture("garbage.m4a"), Fixture("tone.wav"), Fixture("movie.mp4"),
                                  Fixture("tone.mp3"), Fixture("garbage.mts"), empty}) {
    Chain c;
    const HRESULT built = c.Build(file);
    if (FAILED(built)) continue;  // the source itself refused it
    // The source tries each of its types and says none was taken.
    const HRESULT hr = c.Link(c.source, L"Output", c.splitter, L"Input");
    EXPECT_TRUE(hr == VFW_E_TYPE_NOT_ACCEPTED || hr == VFW_E_NO_ACCEPTABLE_TYPES) << file << " " << std::hex << hr;
    IPin* in = PinOf(c.splitter, L"Input");
    IPin* peer = nullptr;
    EXPECT_EQ(in->ConnectedTo(&peer), VFW_E_NOT_CONNECTED) << file;
    in->Release();
    IPin* out = PinOf(c.splitter, L"Output");
    IEnumMediaTypes* types = nullptr;
    out->EnumMediaTypes(&types);
    AM_MEDIA_TYPE* mt = nullptr;
    EXPECT_EQ(types->Next(1, &mt, nullptr), S_FALSE) << file;  // nothing to offer
    types->Release();
    out->Release();
  }
  testsupport::RemoveTree(folder);
}

// Each file runs through the chain to the end of its stream; the PCM that arrives is the
// file's length of sound (the encoder's priming and padding within a tenth of a second).
TEST_F(AacFilters, FilesRunToTheEndIntoTheSink) {
  struct Case {
    const char* file;
    double seconds;  // of sound in the file; 0: cut short, some but less than whole
    int bytesPerSecond;
  };
  const Case cases[] = {{"tone.m4a", 1.5, 44100 * 4}, {"tone_cover.m4a", 1.5, 44100 * 4}, {"tone.aac", 1.0, 48000 * 2}, {"tone_cut.m4a", 0, 44100 * 4}};
  for (const Case& k : cases) {
    Chain c;
    ASSERT_EQ(c.Build(Fixture(k.file)), S_OK) << k.file;
    ASSERT_EQ(c.LinkAll(), S_OK) << k.file;
    IMediaControl* control = c.UnclockedControl();
    ASSERT_TRUE(SUCCEEDED(control->Run())) << k.file;
    EXPECT_EQ(WaitForSingleObject(c.sink->Ended(), 5000), WAIT_OBJECT_0) << k.file;
    control->Stop();
    control->Release();
    const double got = double(c.sink->Bytes()) / k.bytesPerSecond;
    if (k.seconds > 0) {
      EXPECT_NEAR(got, k.seconds, 0.1) << k.file;
      EXPECT_NEAR(c.sink->LastEnd() / 1e7, k.seconds, 0.1) << k.file;
    } else {
      EXPECT_GT(got, 0.2) << k.file;
      EXPECT_LT(got, 1.4) << k.file;
    }
    EXPECT_EQ(c.sink->BadTimes(), 0) << k.file;
  }
}

// Frames spoilt in the middle of the sound: the damaged ones are skipped (or the decoder
// gives up on the stream), never read past or crashed on, and the graph still stops.
TEST_F(AacFilters, DamagedFramesInTheMiddleAreSurvived) {
  const std::string folder = testsupport::NewTempFolder("aac");
  const std::string file = folder + "\\spoilt.m4a";
  std::string bytes;
  {
    HANDLE h = CreateFileA(Fixture("tone.m4a").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    bytes.resize(GetFileSize(h, nullptr));
    DWORD got = 0;
    ReadFile(h, &bytes[0], DWORD(bytes.size()), &got, nullptr);
    CloseHandle(h);
  }
  for (int seed = 1; seed <= 3; ++seed) {
    std::string spoilt = bytes;
    // A run of noise in the frames' data (behind the header and index at the front).
    unsigned x = 2463534242u * seed;
    for (size_t i = spoilt.size() / 2; i < spoilt.size() / 2 + 600 * seed && i < spoilt.size(); ++i) {
      x ^= x << 13, x ^= x >> 17, x ^= x << 5;
      spoilt[i] = char(x);
    }
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    WriteFile(h, spoilt.data(), DWORD(spoilt.size()), &put, nullptr);
    CloseHandle(h);
    Chain c;
    ASSERT_EQ(c.Build(file), S_OK);
    ASSERT_EQ(c.LinkAll(), S_OK) << seed;
    IMediaControl* control = c.UnclockedControl();
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    WaitForSingleObject(c.sink->Ended(), 3000);
    const DWORD t0 = GetTickCount();
    EXPECT_TRUE(SUCCEEDED(control->Stop())) << seed;
    EXPECT_LT(GetTickCount() - t0, 1000u) << seed;
    control->Release();
    EXPECT_LE(double(c.sink->Bytes()) / (44100 * 4), 1.6) << seed;
  }
  testsupport::RemoveTree(folder);
}

// Stop while the stream is held up downstream (a paused graph whose sink never ends)
// and run again: the stream starts over.
TEST_F(AacFilters, StopAndRunAgainPlaysFromTheStart) {
  Chain c;
  ASSERT_EQ(c.Build(Fixture("tone.m4a")), S_OK);
  ASSERT_EQ(c.LinkAll(), S_OK);
  IMediaControl* control = c.UnclockedControl();
  for (int round = 0; round < 2; ++round) {
    ResetEvent(c.sink->Ended());
    const LONGLONG before = c.sink->Bytes();
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    EXPECT_EQ(WaitForSingleObject(c.sink->Ended(), 5000), WAIT_OBJECT_0);
    const DWORD t0 = GetTickCount();
    EXPECT_TRUE(SUCCEEDED(control->Stop()));
    EXPECT_LT(GetTickCount() - t0, 1000u);
    EXPECT_NEAR(double(c.sink->Bytes() - before) / (44100 * 4), 1.5, 0.1) << round;
  }
  control->Release();
}

// The graph seeks through the sound renderer, which asks the decoder, which asks the
// splitter: paused before playing, and while playing (the stream is flushed and goes on
// from the new place); the rest plays in real time to the end.
TEST_F(AacFilters, TheGraphSeeksThroughTheFilters) {
  struct Case {
    const char* file;
    double seconds;   // of the file
    bool whilePlaying;
  };
  const Case cases[] = {{"tone_long.m4a", 4.0, false}, {"tone_long.m4a", 4.0, true}, {"tone_long.aac", 4.0, false}};
  for (const Case& k : cases) {
    const std::string what = std::string(k.file) + (k.whilePlaying ? " playing" : " paused");
    Chain c;
    ASSERT_EQ(c.Build(Fixture(k.file), false), S_OK) << what;
    ASSERT_EQ(c.Link(c.source, L"Output", c.splitter, L"Input"), S_OK) << what;
    ASSERT_EQ(c.Link(c.splitter, L"Output", c.decoder, L"XForm In"), S_OK) << what;
    AddSoundRenderer(c.graph);
    IPin* pcm = PinOf(c.decoder, L"XForm Out");
    ASSERT_EQ(c.graph->Render(pcm), S_OK) << what;
    pcm->Release();
    IMediaSeeking* seeking = nullptr;
    IMediaControl* control = nullptr;
    IMediaEvent* events = nullptr;
    c.graph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking));
    c.graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
    c.graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&events));
    DWORD caps = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanGetDuration;
    EXPECT_EQ(seeking->CheckCapabilities(&caps), S_OK) << what;
    LONGLONG duration = 0;
    EXPECT_EQ(seeking->GetDuration(&duration), S_OK) << what;
    EXPECT_NEAR(duration / 1e7, k.seconds, 0.1) << what;

    const double target = k.seconds - 0.8;
    LONGLONG to = LONGLONG(target * 1e7);
    DWORD t0 = GetTickCount();
    if (k.whilePlaying) {
      ASSERT_TRUE(SUCCEEDED(control->Run())) << what;
      Sleep(300);
      t0 = GetTickCount();
    } else {
      ASSERT_TRUE(SUCCEEDED(control->Pause())) << what;
    }
    ASSERT_EQ(seeking->SetPositions(&to, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning), S_OK)
        << what;
    LONGLONG now = 0;
    EXPECT_EQ(seeking->GetCurrentPosition(&now), S_OK) << what;
    EXPECT_NEAR(now / 1e7, target, 0.15) << what;
    if (!k.whilePlaying) {
      t0 = GetTickCount();
      ASSERT_TRUE(SUCCEEDED(control->Run())) << what;
    }
    long code = 0;
    EXPECT_EQ(events->WaitForCompletion(5000, &code), S_OK) << what;
    EXPECT_EQ(code, EC_COMPLETE) << what;
    // What was left played in real time: neither poured out nor the whole file.
    const DWORD took = GetTickCount() - t0;
    EXPECT_GT(took, 500u) << what;
    EXPECT_LT(took, 2500u) << what;
    EXPECT_EQ(seeking->GetCurrentPosition(&now), S_OK) << what;
    EXPECT_NEAR(now / 1e7, k.seconds, 0.15) << what;
    const DWORD s0 = GetTickCount();
    EXPECT_TRUE(SUCCEEDED(control->Stop())) << what;
    EXPECT_LT(GetTickCount() - s0, 1000u) << what;
    events->Release();
    control->Release();
    seeking->Release();
  }
}

// The graph builds the chain itself from the filters registered in the prefix and plays
// the file in real time on the sound device to its end.
TEST_F(AacFilters, RenderFileUsesTheRegisteredFiltersAndPlaysToTheEnd) {
  IBaseFilter* probe = nullptr;
  const HRESULT registered = CoCreateInstance(CLSID_KTAACSplitter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                              reinterpret_cast<void**>(&probe));
  ReleaseOf(probe);
  ASSERT_EQ(registered, S_OK) << "the set-up registers AacFilters.dll in the prefix";
  for (const char* file : {"tone.m4a", "tone.aac"}) {
    IGraphBuilder* graph = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                               reinterpret_cast<void**>(&graph)),
              S_OK);
    AddSoundRenderer(graph);
    ASSERT_EQ(graph->RenderFile(Wide(Fixture(file)).c_str(), nullptr), S_OK) << file;
    std::vector<CLSID> classes;
    std::string names;  // what the graph holds, for the failure message
    IEnumFilters* filters = nullptr;
    graph->EnumFilters(&filters);
    IBaseFilter* f = nullptr;
    while (filters->Next(1, &f, nullptr) == S_OK) {
      CLSID clsid = {};
      f->GetClassID(&clsid);
      classes.push_back(clsid);
      FILTER_INFO info = {};
      f->QueryFilterInfo(&info);
      ReleaseOf(info.pGraph);
      char name[MAX_FILTER_NAME * 2] = {};
      WideCharToMultiByte(CP_ACP, 0, info.achName, -1, name, sizeof name, nullptr, nullptr);
      names += std::string(names.empty() ? "" : ", ") + name;
      f->Release();
    }
    filters->Release();
    auto has = [&](const CLSID& id) { return std::find(classes.begin(), classes.end(), id) != classes.end(); };
    EXPECT_TRUE(has(CLSID_KTAACSplitter)) << file << ": " << names;
    EXPECT_TRUE(has(CLSID_KTAACDecoder)) << file << ": " << names;
    IMediaControl* control = nullptr;
    IMediaEvent* events = nullptr;
    graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
    graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&events));
    const DWORD t0 = GetTickCount();
    EXPECT_TRUE(SUCCEEDED(control->Run())) << file;
    long code = 0;
    EXPECT_EQ(events->WaitForCompletion(5000, &code), S_OK) << file;
    EXPECT_EQ(code, EC_COMPLETE) << file;
    EXPECT_GT(GetTickCount() - t0, 800u) << file;  // played in time, not poured out
    const DWORD s0 = GetTickCount();
    EXPECT_TRUE(SUCCEEDED(control->Stop())) << file;
    EXPECT_LT(GetTickCount() - s0, 1000u) << file;
    events->Release();
    control->Release();
    graph->Release();
  }
}

}  // namespace
