// The exported functions of VxPixWrapper.dll.
#include <RecordGate.h>
#include <RecordGateEx.h>

#include "VxPixWrapper.h"
#include "imaging/com.h"
#include "similar.h"

using namespace psw;

namespace {

STRINGLIST* ToList(const std::vector<Match>& matches) {
  STRINGLIST* list = nullptr;
  STRINGLIST** tail = &list;
  for (const Match& m : matches) {
    STRINGLIST* node = StringListAppend(tail, m.path.c_str(), m.distance);
    if (!node) {
      FreeStringList(list);
      return nullptr;
    }
    tail = &node->pNext;
  }
  return list;
}

}  // namespace

PSW_API HRESULT WINAPI PSWInitDatabase(void) { return VxDBWInitDatabase(); }

PSW_API HRESULT WINAPI PSWExitDatabase(void) { return VxDBWExitDatabase(0); }

PSW_API HRESULT WINAPI PSWRegistImageList(const STRINGLIST* pPaths, PSWREGISTPROC pfn, void* pContext) {
  if (!pPaths) return E_INVALIDARG;
  imaging::ComScope com;
  HRESULT overall = S_OK;
  VxDBWBeginBatch();
  for (const STRINGLIST* s = pPaths; s; s = s->pNext) {
    HRESULT hr = RegisterPicture(s->pszText);
    if (FAILED(hr)) overall = S_FALSE;
    if (pfn && !pfn(s->pszText, hr, pContext)) {
      overall = HRESULT_FROM_WIN32(ERROR_CANCELLED);
      break;
    }
  }
  VxDBWEndBatch();
  return overall;
}

PSW_API BOOL WINAPI PSWIsIndexed(LPCSTR pszPath) {
  ULONGLONG hash = 0;
  return pszPath && *pszPath && VxDBWxGetSimilarHash(pszPath, &hash) == S_OK;
}

PSW_API HRESULT WINAPI PSWGetSimilarImageEx(LPCSTR pszPath, STRINGLIST** ppResult) {
  if (ppResult) *ppResult = nullptr;
  if (!pszPath || !*pszPath) return E_INVALIDARG;
  uint64_t hash = 0;
  HRESULT hr = ReferenceHash(pszPath, &hash);
  if (FAILED(hr)) return hr;
  std::vector<Match> matches;
  hr = FindSimilar(hash, PSW_DEFAULT_DISTANCE, pszPath, &matches);
  if (FAILED(hr)) return hr;

  // Only the last search is kept; the folder trees show it through the profile.
  std::string name = SearchName(pszPath);
  int id = 0;
  VxDBWxDeleteSearchResult(VXDB_RESULT_SIMILAR);
  STRINGLIST* list = ToList(matches);
  if (!matches.empty() && !list) return E_OUTOFMEMORY;
  if (list) VxDBWxCreateSearchResultFromList(VXDB_RESULT_SIMILAR, name.c_str(), list, &id);
  WriteSearchProfile(PSW_PROFILE_TYPE, name, MakeQuery(hash, PSW_DEFAULT_DISTANCE, pszPath), id);

  if (ppResult)
    *ppResult = list;
  else
    FreeStringList(list);
  return matches.empty() ? S_FALSE : S_OK;
}

PSW_API HRESULT WINAPI PSWGetSimilarImageList(LPCSTR pszQuery, STRINGLIST** ppResult) {
  if (!ppResult) return E_INVALIDARG;
  *ppResult = nullptr;
  if (!pszQuery) return E_INVALIDARG;
  std::string query = pszQuery;
  if (query.find(VXDB_RESULT_MARKER) != std::string::npos) return VxDBWxSearch(pszQuery, ppResult);
  SimilarQuery q;
  if (!ParseQuery(query, &q)) return E_INVALIDARG;
  uint64_t hash = 0;
  if (q.hash) {
    hash = *q.hash;
  } else {
    HRESULT hr = ReferenceHash(q.path, &hash);
    if (FAILED(hr)) return hr;
  }
  std::vector<Match> matches;
  HRESULT hr = FindSimilar(hash, q.distance, q.path, &matches);
  if (FAILED(hr)) return hr;
  if (matches.empty()) return VXDB_E_NOTFOUND;
  *ppResult = ToList(matches);
  return *ppResult ? S_OK : E_OUTOFMEMORY;
}
