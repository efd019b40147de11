// RecordGateEx.dll: registration lists, searches, classification, hashes and thumbnails.
#include <Kitlib2/CMDIB.h>
#include <RecordGateEx.h>
#include <imaging/imaging.h>

#include <cstdio>
#include <cstring>

namespace {

struct Field {
  const char* name;
  int flag;
  const char* value;  // null: the field is left out
};

// Appends one record with its fields, whole or not at all.
HRESULT AppendRecord(METADATA** ppList, const char* record, const Field* fields, int count) {
  if (!ppList) return E_INVALIDARG;
  METADATA* rec = nullptr;
  if (!MetaAppendRecord(&rec, record)) return E_OUTOFMEMORY;
  for (int i = 0; i < count; ++i) {
    if (fields[i].value && !MetaAddRecordField(rec, fields[i].name, fields[i].flag, fields[i].value)) {
      FreeMetaDataList(rec);
      return E_OUTOFMEMORY;
    }
  }
  METADATA** tail = ppList;
  while (*tail) tail = &(*tail)->pNext;
  *tail = rec;
  return S_OK;
}

const char* Text(LPCSTR s) { return s ? s : ""; }

void FormatTime(char (&buf)[24], long t) { snprintf(buf, sizeof(buf), "%ld", t < 0 ? -1L : t); }

void FormatDms(char (&buf)[48], const int* dms) {
  if (dms)
    snprintf(buf, sizeof(buf), "%d/%d/%d", dms[0], dms[1], dms[2]);
  else
    buf[0] = 0;
}

}  // namespace

// ---- Registration lists ---------------------------------------------------------------------

RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateDateTimeInfoList(METADATA** ppList, long tShot, long tAccess, long tCreate) {
  char shot[24], access[24], create[24];
  FormatTime(shot, tShot);
  FormatTime(access, tAccess);
  FormatTime(create, tCreate);
  const Field f[] = {{VXDB_FLD_SHOTTIME, META_FLAG_NUMBER, shot},
                     {VXDB_FLD_ACCESSTIME, META_FLAG_NUMBER, access},
                     {VXDB_FLD_CREATETIME, META_FLAG_NUMBER, create}};
  return AppendRecord(ppList, VXDB_REC_DATETIME, f, 3);
}

RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateKeywordList(METADATA** ppList, LPCSTR pszKeywords) {
  if (!pszKeywords || !*pszKeywords) return E_INVALIDARG;
  const Field f[] = {{VXDB_FLD_KEYWORDS, META_FLAG_TEXT, pszKeywords}};
  return AppendRecord(ppList, VXDB_REC_KEYWORDS, f, 1);
}

RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateModelList(METADATA** ppList, LPCSTR pszMaker, LPCSTR pszModel) {
  const Field f[] = {{VXDB_FLD_MAKER, META_FLAG_TEXT, Text(pszMaker)}, {VXDB_FLD_MODEL, META_FLAG_TEXT, Text(pszModel)}};
  return AppendRecord(ppList, VXDB_REC_MODEL, f, 2);
}

RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateSceneList(METADATA** ppList, LPCSTR pszScene1, LPCSTR pszScene2,
                                                      LPCSTR pszScene3, LPCSTR pszScene4) {
  const Field f[] = {{VXDB_FLD_SCENE1, META_FLAG_TEXT, Text(pszScene1)},
                     {VXDB_FLD_SCENE2, META_FLAG_TEXT, Text(pszScene2)},
                     {VXDB_FLD_SCENE3, META_FLAG_TEXT, Text(pszScene3)},
                     {VXDB_FLD_SCENE4, META_FLAG_TEXT, Text(pszScene4)}};
  return AppendRecord(ppList, VXDB_REC_SCENE, f, 4);
}

RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateFolderList(METADATA** ppList, LPCSTR pszFolderName, LPCSTR pszFolderPath) {
  const Field f[] = {{VXDB_FLD_FOLDERNAME, META_FLAG_TEXT, Text(pszFolderName)},
                     {VXDB_FLD_FOLDERPATH, META_FLAG_TEXT, Text(pszFolderPath)}};
  return AppendRecord(ppList, VXDB_REC_FOLDER, f, 2);
}

RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateLocationList(METADATA** ppList, int nKind, LPCSTR pszArea, LPCSTR pszCity,
                                                         LPCSTR pszPlace, const int* pnLatitude3,
                                                         const int* pnLongitude3, int nExtra) {
  char kind[16], extra[16], lat[48], lon[48];
  snprintf(kind, sizeof(kind), "%d", nKind);
  snprintf(extra, sizeof(extra), "%d", nExtra);
  FormatDms(lat, pnLatitude3);
  FormatDms(lon, pnLongitude3);
  const Field f[] = {{VXDB_FLD_LOCKIND, META_FLAG_NUMBER, kind},
                     {VXDB_FLD_AREA, META_FLAG_TEXT, Text(pszArea)},
                     {VXDB_FLD_CITY, META_FLAG_TEXT, Text(pszCity)},
                     {VXDB_FLD_PLACE, META_FLAG_TEXT, Text(pszPlace)},
                     {VXDB_FLD_LATITUDE, META_FLAG_NUMBER, lat},
                     {VXDB_FLD_LONGITUDE, META_FLAG_NUMBER, lon},
                     {VXDB_FLD_LOCEXTRA, META_FLAG_NUMBER, extra}};
  return AppendRecord(ppList, VXDB_REC_LOCATION, f, 7);
}

RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateFaceList(METADATA** ppList, LPCSTR pszFace) {
  const Field f[] = {{VXDB_FLD_FACE, META_FLAG_TEXT, Text(pszFace)}};
  return AppendRecord(ppList, VXDB_REC_FACE, f, 1);
}

RECORDGATEEX_API HRESULT WINAPI VxDBWxFreeRegisterList(METADATA** ppList) {
  if (!ppList) return E_INVALIDARG;
  FreeMetaDataList(*ppList);
  *ppList = nullptr;
  return S_OK;
}

// ---- Searches, results, classification --------------------------------------------------

RECORDGATEEX_API HRESULT WINAPI VxDBWxSearch(LPCSTR pszQuery, STRINGLIST** ppPaths) { return VxDBSearch(pszQuery, ppPaths); }
RECORDGATEEX_API HRESULT WINAPI VxDBWxCheckKeyword(LPCSTR pszPath, LPCSTR pszKeyword) {
  return VxDBCheckKeyword(pszPath, pszKeyword);
}

RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateSearchResult(int nKind, LPCSTR pszName, LPCSTR pszQuery, int* pnId) {
  if (!pszQuery || !*pszQuery) return E_INVALIDARG;
  return VxDBSaveResult(nKind, pszName, pszQuery, nullptr, pnId);
}
RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateSearchResultFromList(int nKind, LPCSTR pszName, const STRINGLIST* pPaths,
                                                                 int* pnId) {
  if (!pPaths) return E_INVALIDARG;
  return VxDBSaveResult(nKind, pszName, nullptr, pPaths, pnId);
}
RECORDGATEEX_API HRESULT WINAPI VxDBWxGetSearchResult(int nId, STRINGLIST** ppPaths) { return VxDBLoadResult(nId, ppPaths); }
RECORDGATEEX_API HRESULT WINAPI VxDBWxGetSearchResultList(int nKinds, STRINGLIST** ppSets) {
  return VxDBListResults(nKinds, ppSets);
}
RECORDGATEEX_API HRESULT WINAPI VxDBWxDeleteSearchResult(int nKinds) { return VxDBDeleteResults(nKinds); }
RECORDGATEEX_API HRESULT WINAPI VxDBWxDeleteSearchResultById(int nId) { return VxDBDeleteResult(nId); }

RECORDGATEEX_API HRESULT WINAPI VxDBWxCreateClassifyTags(int nKind, VXDBTAG** ppTags) { return VxDBCreateTags(nKind, ppTags); }
RECORDGATEEX_API void WINAPI VxDBWxFreeClassifyTags(VXDBTAG* pTags) { VxDBFreeTags(pTags); }
RECORDGATEEX_API HRESULT WINAPI VxDBWxGetClassifyResult(const VXDBTAG* pTag, STRINGLIST** ppPaths) {
  if (ppPaths) *ppPaths = nullptr;
  if (!pTag || !pTag->pszQuery || !ppPaths) return E_INVALIDARG;
  return VxDBSearch(pTag->pszQuery, ppPaths);
}
RECORDGATEEX_API HRESULT WINAPI VxDBWxDeleteClassification(LPCSTR pszPath, int nKind, LPCSTR pszValue) {
  return VxDBRemoveFromClass(pszPath, nKind, pszValue);
}

// ---- Hashes and thumbnails -------------------------------------------------------------------

RECORDGATEEX_API HRESULT WINAPI VxDBWxSetSimilarHash(LPCSTR pszPath, ULONGLONG qwHash) {
  return VxDBSetSimilarHash(pszPath, qwHash);
}
RECORDGATEEX_API HRESULT WINAPI VxDBWxGetSimilarHash(LPCSTR pszPath, ULONGLONG* pqwHash) {
  return VxDBGetSimilarHash(pszPath, pqwHash);
}
RECORDGATEEX_API HRESULT WINAPI VxDBWxFindSimilar(ULONGLONG qwHash, int nMaxDistance, int nMaxCount, STRINGLIST** ppPaths) {
  return VxDBFindSimilar(qwHash, nMaxDistance, nMaxCount, ppPaths);
}

RECORDGATEEX_API HRESULT WINAPI VxDBWxSetThumbnailData(LPCSTR pszPath, const BITMAPINFOHEADER* pDib, DWORD cbDib) {
  return VxDBSetThumbnail(pszPath, pDib, cbDib);
}
RECORDGATEEX_API HRESULT WINAPI VxDBWxGetThumbnailData(LPCSTR pszPath, BITMAPINFOHEADER** ppDib, DWORD* pcbDib) {
  return VxDBGetThumbnail(pszPath, ppDib, pcbDib);
}
RECORDGATEEX_API void WINAPI VxDBWxFreeThumbnailData(BITMAPINFOHEADER* pDib) { VxDBFreeBuffer(pDib); }
RECORDGATEEX_API HRESULT WINAPI VxDBWxDeleteThumbnail(LPCSTR pszPath) { return VxDBDeleteThumbnail(pszPath); }

namespace {

// Movies give a frame; a player that hangs costs at most this long.
constexpr DWORD kMovieFrameMillis = 3000;

HRESULT MakeThumbnail(LPCSTR path, int cx, int cy, imaging::Dib* out, imaging::DecodeReport* report) {
  if (imaging::FormatFromExtension(path) != imaging::ImageFormat::Unknown)
    return imaging::DecodeThumbnail(path, cx, cy, out, report);
  HRESULT hr = imaging::DecodeThumbnail(path, cx, cy, out, report);  // a picture under another name
  if (SUCCEEDED(hr)) return hr;
  imaging::MovieInfo movie;
  hr = imaging::GrabMovieFrame(path, cx, cy, out, &movie, kMovieFrameMillis);
  report->info.width = movie.width;
  report->info.height = movie.height;
  return hr;
}

// The kept thumbnail when it serves the box, else one made from the file and kept.
HRESULT Thumbnail(LPCSTR path, int mode, int cx, int cy, imaging::Dib* dib, bool* kept, SIZE* full) {
  *kept = false;
  *full = SIZE{0, 0};
  if (!path || !*path || cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096 || mode < 0 || mode > 2) return E_INVALIDARG;
  if (mode != VXDBWX_THUMB_RENEW) {
    BITMAPINFOHEADER* stored = nullptr;
    DWORD storedSize = 0;
    if (SUCCEEDED(VxDBGetThumbnail(path, &stored, &storedSize))) {
      bool ok = dib->Assign(stored, storedSize);
      VxDBFreeBuffer(stored);
      // Large enough when it reaches the box on one side (it was fitted into a box too).
      if (ok && (dib->Width() >= cx || dib->Height() >= cy)) {
        SIZE fit = imaging::FitSize(dib->Width(), dib->Height(), cx, cy);
        if ((fit.cx != dib->Width() || fit.cy != dib->Height()) && !imaging::Resize(*dib, fit.cx, fit.cy, dib))
          return E_OUTOFMEMORY;
        *kept = true;
        return S_OK;
      }
    }
    if (mode == VXDBWX_THUMB_KEPT) return VXDB_E_NOTFOUND;
  }
  imaging::DecodeReport report;
  HRESULT hr = MakeThumbnail(path, cx, cy, dib, &report);
  if (FAILED(hr)) return hr;
  *full = SIZE{report.info.DisplayWidth(), report.info.DisplayHeight()};
  if (dib->BitCount() != 24 && !imaging::ConvertBitCount(*dib, 24, dib)) return E_OUTOFMEMORY;
  if (dib->TopDown()) dib->SetTopDown(false);
  VxDBSetThumbnail(path, dib->Header(), static_cast<DWORD>(dib->PackedSize()));  // kept for enrolled files
  return S_OK;
}

}  // namespace

RECORDGATEEX_API HRESULT WINAPI VxDBWxGetThumbnailDib(LPCSTR pszPath, int nMode, int cx, int cy, BITMAPINFOHEADER** ppDib,
                                                      DWORD* pcbDib) {
  if (ppDib) *ppDib = nullptr;
  if (pcbDib) *pcbDib = 0;
  if (!ppDib) return E_INVALIDARG;
  imaging::Dib dib;
  bool kept;
  SIZE full;
  HRESULT hr = Thumbnail(pszPath, nMode, cx, cy, &dib, &kept, &full);
  if (FAILED(hr)) return hr;
  void* p = HeapAlloc(GetProcessHeap(), 0, dib.PackedSize());
  if (!p) return E_OUTOFMEMORY;
  memcpy(p, dib.Packed(), dib.PackedSize());
  *ppDib = static_cast<BITMAPINFOHEADER*>(p);
  if (pcbDib) *pcbDib = static_cast<DWORD>(dib.PackedSize());
  return S_OK;
}

RECORDGATEEX_API HRESULT WINAPI VxDBWxGetThumbnailEx(LPCSTR pszPath, int nMode, SIZE size, CCMDIB* pImage, BOOL* pbKept,
                                                     int* pnFullWidth, int* pnFullHeight, DWORD* pdwReserved) {
  if (pbKept) *pbKept = FALSE;
  if (pnFullWidth) *pnFullWidth = 0;
  if (pnFullHeight) *pnFullHeight = 0;
  if (pdwReserved) *pdwReserved = 0;
  if (!pImage) return E_INVALIDARG;
  imaging::Dib dib;
  bool kept;
  SIZE full;
  HRESULT hr = Thumbnail(pszPath, nMode, size.cx, size.cy, &dib, &kept, &full);
  if (FAILED(hr)) return hr;
  if (!pImage->SetDIB(dib.Info(), dib.Bits())) return E_OUTOFMEMORY;
  if (pbKept) *pbKept = kept;
  if (pnFullWidth) *pnFullWidth = full.cx;
  if (pnFullHeight) *pnFullHeight = full.cy;
  return S_OK;
}

RECORDGATEEX_API HRESULT WINAPI VxDBWxGetThumbnail(LPCSTR pszPath, CCMDIB* pImage, void* pReserved) {
  SIZE size = {160, 120};
  BITMAPINFOHEADER* stored = nullptr;
  if (SUCCEEDED(VxDBGetThumbnail(pszPath, &stored, nullptr))) {
    // A changed file makes the kept one count as missing; a kept one gives the size.
    size = SIZE{stored->biWidth, stored->biHeight < 0 ? -stored->biHeight : stored->biHeight};
    VxDBFreeBuffer(stored);
  }
  return VxDBWxGetThumbnailEx(pszPath, VXDBWX_THUMB_RENEW, size, pImage, nullptr, nullptr, nullptr, nullptr);
}
