// The similar-image commands and the music-card program (see SimilarImages.h).
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <VxPixWrapper.h>
#include <VxResourceIds.h>

#include "SimilarImages.h"
#include "SimilarRules.h"
#include "TransInternal.h"

static int CALLBACK SimilarRegistCallback(LPCSTR pszPath, HRESULT hr, void* pContext) {
  return SimilarRecordResult(static_cast<VXSIMILARREPORT*>(pContext), pszPath, hr);
}

static CString LoadResString(UINT nID) {
  CString text;
  CResourceLoader loader;
  if (!loader.LoadStringA(nID, text)) text.Format("%u", nID);
  return text;
}

HRESULT RegisterSimilarImages(const CThumbnailList& selection, CVxGUITrans* pTrans) {
  STRINGLIST* pPaths = NULL;
  STRINGLIST** ppTail = &pPaths;
  char path[MAX_PATH * 2];
  for (POSITION pos = selection.GetHeadPosition(); pos;) {
    CThumbnail* p = selection.GetNext(pos);
    if (!p || !p->GetFilePath(path, sizeof(path)) || !path[0]) continue;
    if (STRINGLIST* node = StringListAppend(ppTail, path, 0)) ppTail = &node->pNext;
  }
  if (!pPaths) return E_INVALIDARG;
  VXSIMILARREPORT report;
  HRESULT hr = PSWRegistImageList(pPaths, SimilarRegistCallback, &report);
  FreeStringList(pPaths);
  for (POSITION pos = selection.GetHeadPosition(); pos;) {
    CThumbnail* p = selection.GetNext(pos);
    if (p && p->GetFilePath(path, sizeof(path))) PSWIsIndexed(path);
  }
  HWND hOwner = pTrans ? pTrans->GetSafeHwnd() : NULL;
  CString index = LoadResString(IDS_BROWSER_SIMILAR_SEARCH);
  for (const VXSIMILARMESSAGE& m : SimilarReportMessages(report))
    GuardedMessageBox(hOwner, SimilarMessageText(m, LoadResString(m.nStringID), index), m.nStyle);
  return hr;
}

HRESULT SearchSimilarImages(const CThumbnailList& selection, HWND hMain, HWND hBrowser) {
  CThumbnail* p = selection.GetCount() == 1 ? selection.GetHead() : NULL;
  HRESULT gate = SimilarSearchGate((int)selection.GetCount(), p != NULL, p ? p->GetKindFlags() : 0);
  if (gate != S_OK) return gate;
  char path[MAX_PATH * 2];
  if (!p->GetFilePath(path, sizeof(path))) return E_INVALIDARG;
  HRESULT hr = PSWGetSimilarImageEx(path, NULL);
  if (hr >= 0 && hMain) ::PostMessageA(hMain, WM_REFRESH_FOLDERS, (WPARAM)hBrowser, 0);
  return hr;
}

int OpenSimilarImageList(HWND hMain) { return PSWOpenRegListDlg(hMain); }

// ---- The music-card program ----------------------------------------------------------------

static CString s_strMelodeck;

CString GetMelodeckExePath() {
  if (!s_strMelodeck.IsEmpty()) return s_strMelodeck;
  char folder[MAX_PATH] = "";
  DWORD cb = sizeof(folder) - 1, type = 0;
  HKEY h = NULL;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\QRD\\SD-MelodeckV4.1\\Settings", 0, KEY_READ, &h) ==
      ERROR_SUCCESS) {
    if (::RegQueryValueExA(h, "QRD_Program_Path", NULL, &type, reinterpret_cast<BYTE*>(folder), &cb) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
      folder[0] = 0;
    folder[sizeof(folder) - 1] = 0;
    ::RegCloseKey(h);
  }
  s_strMelodeck = MelodeckExePath(folder);
  return s_strMelodeck;
}

HRESULT PlayTrackWithMelodeck(CThumbnail* pItem, CVxGUITrans* pTrans) {
  const VXAUDIOTRACK* pTrack = pItem ? pItem->GetAudioTrackRecord() : NULL;
  if (!pTrack) return E_INVALIDARG;
  HWND hOwner = pTrans ? pTrans->GetSafeHwnd() : NULL;
  CString exe = GetMelodeckExePath();
  if (exe.IsEmpty() || ::GetFileAttributesA(exe) == INVALID_FILE_ATTRIBUTES) {
    GuardedMessageBoxId(hOwner, IDS_BROWSER_OPEN_FAILED, MB_ICONERROR);
    return E_PENDING;
  }
  CString folder;
  if (CThumbnailPage* pPage = pItem->GetPage()) {
    const CThumbnailGroupInfo& info = pPage->GetGroupInfo();
    if (info.IsFolder())
      folder = info.GetText();
    else if (CThumbnail* pFirst = pPage->GetAt(0))
      folder = pFirst->GetFilePath();
  }
  if (folder.IsEmpty() || ::GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES) return E_INVALIDARG;
  int nDrive = MelodeckDriveNumber(folder);
  if (nDrive == 0 || !CMTLxIsSecuritySDCardDrive(nDrive)) {
    GuardedMessageBoxId(hOwner, IDS_BROWSER_NOT_PROTECTED_CARD, MB_ICONERROR);
    return E_PENDING;
  }
  if (!CThumbnailPage::IsValid_AudioInfo(pItem)) return E_ABORT;
  CString line = MelodeckCommandLine(pItem->GetFilePath(), pTrack->dwTrack, pItem->GetKindFlags());
  INT_PTR r = (INT_PTR)::ShellExecuteA(hOwner, "open", exe, line, NULL, SW_SHOWNORMAL);
  if (r <= 32 && r != SE_ERR_ASSOCINCOMPLETE)
    GuardedMessageBoxId(hOwner, IDS_BROWSER_OPEN_FAILED, MB_ICONERROR);
  return 0;
}
