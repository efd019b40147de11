// The exported functions of VxProperty.dll.
#include <cstring>
#include <mutex>
#include <set>

#include "VxProperty.h"
#include "format.h"
#include "propset.h"

using namespace vxprop;

namespace vxprop {

namespace {

std::mutex& Lock() {
  static std::mutex m;
  return m;
}
std::set<PropertySet*>& Live() {
  static std::set<PropertySet*> live;
  return live;
}
PRSCENERESOLVER g_resolver = nullptr;
void* g_resolverContext = nullptr;

}  // namespace

HPRPROPERTY OpenSetOf(bool gathered, FileFacts* facts) {
  if (!gathered) return nullptr;
  auto* set = new (std::nothrow) PropertySet;
  if (!set) return nullptr;
  set->facts = std::move(*facts);
  std::lock_guard<std::mutex> g(Lock());
  Live().insert(set);
  return set;
}

HPRPROPERTY OpenSet(const char* path) {
  FileFacts facts;
  return OpenSetOf(GatherFacts(path, &facts), &facts);
}

PropertySet* FindSet(HPRPROPERTY h) {
  std::lock_guard<std::mutex> g(Lock());
  auto it = Live().find(static_cast<PropertySet*>(h));
  return it == Live().end() ? nullptr : *it;
}

bool CloseSet(HPRPROPERTY h) {
  PropertySet* set = nullptr;
  {
    std::lock_guard<std::mutex> g(Lock());
    auto it = Live().find(static_cast<PropertySet*>(h));
    if (it == Live().end()) return false;
    set = *it;
    Live().erase(it);
  }
  delete set;
  return true;
}

std::string ResolveScene(int a, int b, int c) {
  PRSCENERESOLVER fn;
  void* ctx;
  {
    std::lock_guard<std::mutex> g(Lock());
    fn = g_resolver;
    ctx = g_resolverContext;
  }
  char path[MAX_PATH * 2] = "";
  if (!fn || !fn(a, b, c, path, sizeof path, ctx)) return "";
  path[sizeof path - 1] = '\0';
  return path;
}

}  // namespace vxprop

// ---- Property sets ------------------------------------------------------------------------

VXPROP_API HPRPROPERTY WINAPI PrInitGetPropertyString(LPCSTR pszPath, DWORD) { return OpenSet(pszPath); }

VXPROP_API HPRPROPERTY WINAPI PrInitGetPropertyStringOfHead(LPCSTR pszPath, const void* pHead, DWORD cbHead, DWORD) {
  FileFacts facts;
  return OpenSetOf(GatherHeadFacts(pszPath, pHead, cbHead, &facts), &facts);
}

VXPROP_API HPRPROPERTY WINAPI PrInitGetPropertyStringOfHeadEx(LPCSTR pszPath, const void* pHead, DWORD cbHead,
                                                              const WIN32_FILE_ATTRIBUTE_DATA* pDisk, DWORD) {
  FileFacts facts;
  return OpenSetOf(GatherHeadFacts(pszPath, pHead, cbHead, &facts, pDisk), &facts);
}

VXPROP_API HRESULT WINAPI PrGetFileAttributeData(HPRPROPERTY hProp, WIN32_FILE_ATTRIBUTE_DATA* pData) {
  if (!pData) return E_INVALIDARG;
  PropertySet* set = FindSet(hProp);
  if (!set) return E_HANDLE;
  *pData = set->facts.disk;
  return S_OK;
}

VXPROP_API LPCSTR WINAPI PrGetPropertyString(HPRPROPERTY hProp, DWORD dwId) {
  PropertySet* set = FindSet(hProp);
  if (!set) return "";
  auto it = set->texts.find(dwId);
  if (it == set->texts.end()) it = set->texts.emplace(dwId, PropertyText(set->facts, dwId)).first;
  return it->second.c_str();
}

VXPROP_API HRESULT WINAPI PrGetPropertySysTime(HPRPROPERTY hProp, DWORD dwId, SYSTEMTIME* pTime) {
  if (!pTime) return E_INVALIDARG;
  PropertySet* set = FindSet(hProp);
  if (!set) return E_HANDLE;
  return PropertyTime(set->facts, dwId, pTime) ? S_OK : PR_E_NODATA;
}

VXPROP_API HRESULT WINAPI PrGetCaptureTime(HPRPROPERTY hProp, SYSTEMTIME* pTime) {
  if (!pTime) return E_INVALIDARG;
  PropertySet* set = FindSet(hProp);
  if (!set) return E_HANDLE;
  TimeSource source;
  const SYSTEMTIME t = RecordingTime(set->facts, &source);
  if (source != TimeSource::ExifOriginal && source != TimeSource::ExifDigitized && source != TimeSource::MovieHeader)
    return PR_E_NODATA;
  *pTime = t;
  return S_OK;
}

VXPROP_API HRESULT WINAPI PrExitGetPropertyString(HPRPROPERTY hProp) { return CloseSet(hProp) ? S_OK : E_HANDLE; }

// ---- AVCHD clips --------------------------------------------------------------------------

VXPROP_API HRESULT WINAPI PrSetAVCHDSceneResolver(PRSCENERESOLVER pfn, void* pContext) {
  std::lock_guard<std::mutex> g(Lock());
  g_resolver = pfn;
  g_resolverContext = pfn ? pContext : nullptr;
  return S_OK;
}

VXPROP_API HPRPROPERTY WINAPI PrInitGetAVCHDPropertyString(int a, int b, int c) {
  std::string path = ResolveScene(a, b, c);
  return path.empty() ? nullptr : OpenSet(path.c_str());
}

VXPROP_API HRESULT WINAPI PrGetAVCHDRecTime(HPRPROPERTY hProp, SYSTEMTIME* pTime) {
  if (!pTime) return E_INVALIDARG;
  PropertySet* set = FindSet(hProp);
  if (!set) return E_HANDLE;
  *pTime = RecordingTime(set->facts);
  return S_OK;
}

VXPROP_API HRESULT WINAPI PrGetAVCHDEdit(HPRPROPERTY hProp, int* pnEdited) {
  if (!pnEdited) return E_INVALIDARG;
  PropertySet* set = FindSet(hProp);
  if (!set) return E_HANDLE;
  *pnEdited = set->facts.hasContent && set->facts.content.edited ? 1 : 0;
  return S_OK;
}

// ---- Position, persons, focus -------------------------------------------------------------

namespace {

HRESULT GpsTextsOf(const FileFacts& facts, LPSTR pszLatitude, LPSTR pszLongitude, LPSTR pszAltitude) {
  auto gps = GpsOf(facts);
  if (!gps) return PR_E_NODATA;
  auto put = [](LPSTR out, const std::string& text) {
    if (out) lstrcpynA(out, text.c_str(), PR_GPS_TEXT_MAX);
  };
  put(pszLatitude, gps->latitude);
  put(pszLongitude, gps->longitude);
  put(pszAltitude, gps->altitude);
  return S_OK;
}

}  // namespace

VXPROP_API HRESULT WINAPI PrGetGpsData(LPCSTR pszPath, LPSTR pszLatitude, LPSTR pszLongitude, LPSTR pszAltitude) {
  for (LPSTR out : {pszLatitude, pszLongitude, pszAltitude})
    if (out) *out = '\0';
  if (!pszPath || !*pszPath) return E_INVALIDARG;
  FileFacts facts;
  if (!GatherFacts(pszPath, &facts)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  return GpsTextsOf(facts, pszLatitude, pszLongitude, pszAltitude);
}

VXPROP_API HRESULT WINAPI PrGetGpsDataOf(HPRPROPERTY hProp, LPSTR pszLatitude, LPSTR pszLongitude,
                                         LPSTR pszAltitude) {
  for (LPSTR out : {pszLatitude, pszLongitude, pszAltitude})
    if (out) *out = '\0';
  PropertySet* set = FindSet(hProp);
  if (!set) return E_HANDLE;
  return GpsTextsOf(set->facts, pszLatitude, pszLongitude, pszAltitude);
}

VXPROP_API BOOL WINAPI PrGetPersonsStruct(HPRPROPERTY hProp, PRPERSONS* pPersons) {
  if (!pPersons) return FALSE;
  memset(pPersons, 0, sizeof *pPersons);
  PropertySet* set = FindSet(hProp);
  if (!set) return FALSE;
  std::vector<std::string> names = PersonNamesOf(set->facts);
  for (const std::string& n : names) {
    memcpy(pPersons->persons[pPersons->nCount].szName, n.data(), n.size() < PR_PERSON_NAME_BYTES ? n.size() : PR_PERSON_NAME_BYTES);
    ++pPersons->nCount;
  }
  return pPersons->nCount > 0;
}

VXPROP_API HRESULT WINAPI PrGetFocusPoints(HPRPROPERTY hProp, int* pnColumn, int* pnColumns, int* pnRow, int* pnRows) {
  if (!pnColumn || !pnColumns || !pnRow || !pnRows) return E_INVALIDARG;
  *pnColumn = 0;
  *pnColumns = 1;
  *pnRow = 0;
  *pnRows = 1;
  PropertySet* set = FindSet(hProp);
  if (!set) return E_HANDLE;
  auto area = FocusOf(set->facts);
  if (!area) return S_FALSE;
  *pnColumn = area->column;
  *pnColumns = area->columns;
  *pnRow = area->row;
  *pnRows = area->rows;
  return S_OK;
}

VXPROP_API LPCSTR WINAPI PrSceneModeName(int nCode) { return CameraSceneModeName(nCode); }
