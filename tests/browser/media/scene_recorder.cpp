// scene_recorder.dll: a stand-in for the AVCHD scene player (ScorePlayWrapper.dll) that
// writes down every call the play control makes, with its arguments, and fails the calls
// the test names. The test loads it too, to set it up and read what it wrote.
#include <windows.h>

#include <ScenePlayer.h>

#include <cstdio>
#include <new>
#include <string>

namespace {

CRITICAL_SECTION g_cs;
std::string g_log;      // one line per call
std::string g_failing;  // ",Name,Name," of the calls that fail
LONGLONG g_position = 0, g_duration = 0;

void Write(const std::string& line) {
  EnterCriticalSection(&g_cs);
  g_log += line + "\n";
  LeaveCriticalSection(&g_cs);
}
HRESULT Answer(const char* name, const std::string& args = std::string()) {
  Write(args.empty() ? std::string(name) : std::string(name) + " " + args);
  EnterCriticalSection(&g_cs);
  const bool fail = g_failing.find("," + std::string(name) + ",") != std::string::npos;
  LeaveCriticalSection(&g_cs);
  return fail ? E_FAIL : S_OK;
}
std::string Num(LONGLONG v) {
  char buf[32];
  snprintf(buf, sizeof buf, "%lld", (long long)v);
  return buf;
}

class Recorder final : public IScenePlayer {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = NULL;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IScenePlayer)) return E_NOINTERFACE;
    *ppv = static_cast<IScenePlayer*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return n;
  }
  HRESULT STDMETHODCALLTYPE SetOwner(HWND) override { return Answer("SetOwner"); }
  HRESULT STDMETHODCALLTYPE SetRect(const RECT* p) override {
    return Answer("SetRect", p ? Num(p->left) + " " + Num(p->top) + " " + Num(p->right) + " " + Num(p->bottom)
                               : std::string("whole"));
  }
  HRESULT STDMETHODCALLTYPE SetParam(const DWORD* p) override {
    return Answer("SetParam", p ? Num(p[0]) + " " + Num(p[1]) : std::string("null"));
  }
  HRESULT STDMETHODCALLTYPE Reserved6() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetContent(IUnknown*, int n, const SCENEQUALITY* p) override {
    std::string args = Num(n);
    for (int i = 0; p && i < n; ++i) args += " " + Num(p[i].dwMaxBitRate) + "/" + Num(p[i].dwLevel);
    return Answer("SetContent", args);
  }
  HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* p) override {
    if (p) *p = g_duration;
    return Answer("GetDuration");
  }
  HRESULT STDMETHODCALLTYPE SetRange(LONGLONG a, LONGLONG b) override {
    return Answer("SetRange", Num(a) + " " + Num(b));
  }
  HRESULT STDMETHODCALLTYPE Close() override { return Answer("Close"); }
  HRESULT STDMETHODCALLTYPE Play() override { return Answer("Play"); }
  HRESULT STDMETHODCALLTYPE Pause() override { return Answer("Pause"); }
  HRESULT STDMETHODCALLTYPE Stop() override { return Answer("Stop"); }
  HRESULT STDMETHODCALLTYPE Seek(LONGLONG t) override { return Answer("Seek", Num(t)); }
  HRESULT STDMETHODCALLTYPE Repaint() override { return Answer("Repaint"); }
  HRESULT STDMETHODCALLTYPE GetPosition(LONGLONG* p) override {
    if (p) *p = g_position;
    return Answer("GetPosition");
  }
  HRESULT STDMETHODCALLTYPE GetState(int* pn, int* ps) override {
    if (pn) *pn = kScenePaused;
    if (ps) *ps = 0;
    return Answer("GetState");
  }

 private:
  LONG refs_ = 1;
};

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) InitializeCriticalSection(&g_cs);
  if (reason == DLL_PROCESS_DETACH) DeleteCriticalSection(&g_cs);
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllCreateInstance(REFCLSID clsid, REFIID iid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = NULL;
  if (!IsEqualCLSID(clsid, CLSID_ScenePlayer)) return CLASS_E_CLASSNOTAVAILABLE;
  Recorder* p = new (std::nothrow) Recorder();
  if (!p) return E_OUTOFMEMORY;
  const HRESULT hr = p->QueryInterface(iid, ppv);
  p->Release();
  return hr;
}

// Empties the record; `failing` names the calls that fail (",SetContent,GetDuration,").
extern "C" __declspec(dllexport) void WINAPI RecorderReset(const char* failing, LONGLONG position, LONGLONG duration) {
  EnterCriticalSection(&g_cs);
  g_log.clear();
  g_failing = std::string(",") + (failing ? failing : "") + ",";
  g_position = position;
  g_duration = duration;
  LeaveCriticalSection(&g_cs);
}

// The record so far, cut to fit `size` bytes.
extern "C" __declspec(dllexport) void WINAPI RecorderLog(char* out, int size) {
  if (!out || size <= 0) return;
  EnterCriticalSection(&g_cs);
  lstrcpynA(out, g_log.c_str(), size);
  LeaveCriticalSection(&g_cs);
}
