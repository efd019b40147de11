// The COM server: class objects of the two filters, and their registration as classes
// and as DirectShow filters (regsvr32).
#include <new>
#include <string>

#include "AacFilters.h"
#include "AacRules.h"
#include "Filters.h"
#include "filterkit.h"

using namespace aacfilters;

namespace {

HINSTANCE g_module = nullptr;
LONG g_locks = 0;

struct FilterClass {
  const CLSID* clsid;
  const wchar_t* name;
  IBaseFilter* (*create)();
};

const FilterClass kClasses[] = {
    {&CLSID_KTAACSplitter, L"KTAACSplitterFilter", &CreateSplitter},
    {&CLSID_KTAACDecoder, L"KTAACDecoderFilter", &CreateDecoder},
};

class ClassFactory : public Unknown<IClassFactory> {
 public:
  explicit ClassFactory(const FilterClass& cls) : cls_(cls) {}
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IBaseFilter* filter = cls_.create();
    if (!filter) return E_OUTOFMEMORY;
    const HRESULT hr = filter->QueryInterface(riid, ppv);
    filter->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock)
      InterlockedIncrement(&g_locks);
    else
      InterlockedDecrement(&g_locks);
    return S_OK;
  }

 private:
  const FilterClass& cls_;
};

HRESULT SetKey(HKEY root, const wchar_t* path, const wchar_t* name, const wchar_t* value) {
  HKEY key = nullptr;
  LONG err = RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (err == ERROR_SUCCESS) {
    err = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                         DWORD((lstrlenW(value) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
  return HRESULT_FROM_WIN32(err);
}

std::wstring ClsidKey(const CLSID& clsid) {
  wchar_t text[40] = {};
  StringFromGUID2(clsid, text, 40);
  return std::wstring(L"CLSID\\") + text;
}

HRESULT RegisterComClass(const FilterClass& cls, const wchar_t* path) {
  const std::wstring key = ClsidKey(*cls.clsid), inproc = key + L"\\InprocServer32";
  HRESULT hr = SetKey(HKEY_CLASSES_ROOT, key.c_str(), nullptr, cls.name);
  if (SUCCEEDED(hr)) hr = SetKey(HKEY_CLASSES_ROOT, inproc.c_str(), nullptr, path);
  if (SUCCEEDED(hr)) hr = SetKey(HKEY_CLASSES_ROOT, inproc.c_str(), L"ThreadingModel", L"Both");
  return hr;
}

// The filters' pins as the graph's intelligent connection looks them up. The splitter is
// tried before the system's own parser (Wine's GStreamer splitter is "preferred") and
// refuses at connection every file that is not AAC sound alone.
HRESULT RegisterFilters(IFilterMapper2* mapper) {
  static const GUID raw = WaveSubtype(kWaveFormatRawAac), adts = WaveSubtype(kWaveFormatAdtsAac);
  static const REGPINTYPES stream[] = {{&MEDIATYPE_Stream, &GUID_NULL}};
  static const REGPINTYPES aac[] = {{&MEDIATYPE_Audio, &raw}, {&MEDIATYPE_Audio, &adts}};
  static const REGPINTYPES pcm[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}};
  REGFILTERPINS2 splitterPins[2] = {};
  splitterPins[0].nMediaTypes = 1;
  splitterPins[0].lpMediaType = stream;
  splitterPins[1].dwFlags = REG_PINFLAG_B_OUTPUT;
  splitterPins[1].nMediaTypes = 2;
  splitterPins[1].lpMediaType = aac;
  REGFILTERPINS2 decoderPins[2] = {};
  decoderPins[0].nMediaTypes = 2;
  decoderPins[0].lpMediaType = aac;
  decoderPins[1].dwFlags = REG_PINFLAG_B_OUTPUT;
  decoderPins[1].nMediaTypes = 1;
  decoderPins[1].lpMediaType = pcm;
  const REGFILTERPINS2* pins[] = {splitterPins, decoderPins};
  const DWORD merits[] = {MERIT_PREFERRED + 0x100, MERIT_NORMAL};
  for (int i = 0; i < 2; ++i) {
    REGFILTER2 rf = {};
    rf.dwVersion = 2;
    rf.dwMerit = merits[i];
    rf.cPins2 = 2;
    rf.rgPins2 = pins[i];
    const HRESULT hr = mapper->RegisterFilter(*kClasses[i].clsid, kClasses[i].name, nullptr,
                                              &CLSID_LegacyAmFilterCategory, nullptr, &rf);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

IFilterMapper2* Mapper() {
  IFilterMapper2* mapper = nullptr;
  CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                   reinterpret_cast<void**>(&mapper));
  return mapper;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  for (const FilterClass& cls : kClasses) {
    if (rclsid != *cls.clsid) continue;
    auto* factory = new (std::nothrow) ClassFactory(cls);
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return LiveObjects() == 0 && g_locks == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  wchar_t path[MAX_PATH] = {};
  if (!GetModuleFileNameW(g_module, path, MAX_PATH)) return HRESULT_FROM_WIN32(GetLastError());
  for (const FilterClass& cls : kClasses) {
    const HRESULT hr = RegisterComClass(cls, path);
    if (FAILED(hr)) return hr;
  }
  const HRESULT init = CoInitialize(nullptr);
  IFilterMapper2* mapper = Mapper();
  HRESULT hr = mapper ? RegisterFilters(mapper) : REGDB_E_CLASSNOTREG;
  if (mapper) mapper->Release();
  if (SUCCEEDED(init)) CoUninitialize();
  return hr;
}

STDAPI DllUnregisterServer() {
  const HRESULT init = CoInitialize(nullptr);
  if (IFilterMapper2* mapper = Mapper()) {
    for (const FilterClass& cls : kClasses)
      mapper->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, *cls.clsid);
    mapper->Release();
  }
  if (SUCCEEDED(init)) CoUninitialize();
  for (const FilterClass& cls : kClasses) RegDeleteTreeW(HKEY_CLASSES_ROOT, ClsidKey(*cls.clsid).c_str());
  return S_OK;
}
