#include "TransRules.h"

#include <string.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include <textkit/path.h>
#include <textkit/records.h>
#include <textkit/text.h>

#include <VxBDEdit.h>
#include <VxResourceIds.h>

#include "MainWndMessages.h"

BOOL TransIsQueuedCode(ULONG_PTR dwCode) {
  return dwCode == CDID_CHANGE_FOLDER || dwCode == CDID_ADD_FILES || dwCode == CDID_UPDATE_FILES ||
         dwCode == CDID_ROTATION_FILES;
}

SIZE_T TransQueuedBlockSize(DWORD dwLength) {
  if (dwLength > 0xFFFFFFFFu - (VXQUEUED_HEADER + 1)) return 0;
  return (SIZE_T)dwLength + VXQUEUED_HEADER + 1;
}

int TransSupersededCommand(const DWORD* pdwCodes, int nCount) {
  if (!pdwCodes) return -1;
  for (int i = 0; i < nCount; ++i) {
    if (pdwCodes[i] != CDID_CHANGE_FOLDER) continue;
    for (int j = i + 1; j < nCount; ++j)
      if (pdwCodes[j] == CDID_CHANGE_FOLDER) return i;
    break;
  }
  return -1;
}

BOOL TransIsCommandPath(LPCSTR pszPath) {
  if (!pszPath || !*pszPath) return FALSE;
  size_t n = strlen(pszPath);
  if (n >= MAX_PATH) return FALSE;
  char c = pszPath[0];
  BOOL bDrive = ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && pszPath[1] == ':' && pszPath[2] == '\\';
  BOOL bUnc = pszPath[0] == '\\' && pszPath[1] == '\\' && pszPath[2] && pszPath[2] != '\\';
  return bDrive || bUnc;
}

CString TransWithBackslash(LPCSTR pszFolder) {
  return CString(textkit::WithTrailingSeparator(pszFolder ? pszFolder : "").c_str());
}

CString TransChangeFolderText(int nSource, LPCSTR pszName, int nFolderType, LPCSTR pszFolder) {
  std::string text = textkit::WriteRecordText(nSource, pszName ? pszName : "", nFolderType,
                                              {(LPCSTR)TransWithBackslash(pszFolder)});
  return CString(text.c_str());
}

DWORD TransCopyDataBufferSize(size_t nLength) { return (DWORD)(nLength + 5); }
DWORD TransCopyDataSendSize(size_t nLength) { return (DWORD)((nLength + 5) & ~(size_t)3); }

VXLISTBRANCH TransListBranch(long lFlags, BOOL bAllowAll) {
  DWORD f = (DWORD)lFlags;
  if (f & 0x80000000u) return VXLIST_SELECTED;
  if (f & 0x20000000u) return VXLIST_MARKED;
  if (bAllowAll && f == 1) return VXLIST_ALL;
  return VXLIST_SHOWN;
}

CString TransExportHeader(long lFlags) {
  CString s;
  s.Format("0|%d|0|", (int)((DWORD)lFlags & ~0xC0000000u));
  return s;
}

void TransAppendExportRecord(CString& out, LPCSTR pszPath, BOOL bSelected, BOOL bMarked) {
  CString path(pszPath ? pszPath : "");
  if (path.GetLength() > 519) path = path.Left(519);
  CString rec;
  rec.Format("%s|%1d|0||", (LPCSTR)path, (bSelected ? 1 : 0) + (bMarked ? 4 : 0));
  out += rec;
}

CString TransUnknownErrorText(DWORD dwCode) {
  CString s;
  s.Format("Error 0x%08X", (unsigned)dwCode);
  return s;
}

int TransCompareSortStrings(LPCSTR psz1, LPCSTR psz2, UINT nSortID) {
  const char* a = psz1 ? psz1 : "";
  const char* b = psz2 ? psz2 : "";
  int r = (nSortID & 1) ? strcmp(a, b) : strcmp(b, a);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

BOOL TransIsSortCommandID(UINT nSortID) { return (nSortID >= 11 && nSortID <= 27) || nSortID == 29; }

UINT TransFolderPreviewType(UINT nMask) { return nMask ? nMask : 0x1200; }

int TransReduceAngle(int nDegrees) {
  long long a = nDegrees < 0 ? -(long long)nDegrees : nDegrees;
  int r = (int)(a % 360);
  return r > 180 ? r - 360 : r;
}

static BOOL ParseDecimal(const std::string& s, int* pn) {
  if (s.empty() || s.size() > 9) return FALSE;
  int n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return FALSE;
    n = n * 10 + (c - '0');
  }
  *pn = n;
  return TRUE;
}

BOOL TransSplitAVCHDPath(LPCSTR pszPath, CString* pBase, int* pnFirst, int* pnSecond, CString* pPage) {
  if (!pszPath) return FALSE;
  // From the end: page, second index, a part, first index, a part, and the base folder.
  std::vector<std::string> parts = textkit::Split(textkit::WithoutTrailingSeparator(pszPath), '\\');
  size_t n = parts.size();
  if (n < 6) return FALSE;
  int nFirst = 0, nSecond = 0;
  const std::string& page = parts[n - 1];
  if (page.empty() || !ParseDecimal(parts[n - 4], &nFirst) || !ParseDecimal(parts[n - 2], &nSecond)) return FALSE;
  std::string base;
  for (size_t i = 0; i + 5 < n; ++i) base += parts[i] + "\\";
  if (pBase) *pBase = base.c_str();
  if (pnFirst) *pnFirst = nFirst;
  if (pnSecond) *pnSecond = nSecond;
  if (pPage) *pPage = page.c_str();
  return TRUE;
}

BOOL TransDiscRefOf(LPCSTR pszBase, int nTree, int nPlaylist, int nPart, const SYSTEMTIME& stRecorded,
                    LPCSTR pszStream, DWORD adwRef[4]) {
  if (!pszBase || !pszStream || nTree < -1 || nTree > 1) return FALSE;
  const char letter = (char)toupper((unsigned char)pszBase[0]);
  if (letter < 'A' || letter > 'Z' || pszBase[1] != ':' || pszBase[2] != '\\' || pszBase[3]) return FALSE;
  if (nTree < 0) {
    if (nPlaylist < 0 || nPlaylist > 99999 || nPart < 0) return FALSE;
    adwRef[0] = VXBD_REF_DISC;
    adwRef[1] = VxBDMakeGroup(letter - 'A', VXBD_TREE_DISC);
    adwRef[2] = (DWORD)nPlaylist;
    adwRef[3] = (DWORD)nPart;
    return TRUE;
  }
  const char* name = strrchr(pszStream, '\\');
  const int clip = VxBDClipNumber(name ? name + 1 : pszStream);
  if (clip < 0) return FALSE;
  adwRef[0] = VXBD_REF_CARD;
  adwRef[1] = VxBDMakeGroup(letter - 'A', nTree);
  adwRef[2] = VxBDDayKey(stRecorded);
  adwRef[3] = (DWORD)clip;
  return TRUE;
}

int TransVirtualGroupIndex(int nGroupNumber) { return nGroupNumber < 1 ? 0 : nGroupNumber - 1; }

int TransProgressPercent(int nBase, int nRange, int nDone, int nExpected) {
  if (nExpected <= 0) return 0;
  return nBase + (int)((long long)nRange * nDone / nExpected);
}

BOOL TransPassesFilter(UINT nKind, UINT nMask, BOOL bFolder) { return bFolder || (nKind & nMask) == nMask; }

BOOL TransIsListedFlags(UINT nListFlags) { return !((nListFlags & 1) && !(nListFlags & 2)); }

BOOL TransShowsItem(UINT nKind, UINT nMask, BOOL bFolder, UINT nListFlags) {
  return bFolder || (TransPassesFilter(nKind, nMask, FALSE) && TransIsListedFlags(nListFlags));
}

int TransThumbnailCell(BOOL bCalendar, BOOL bLargeIcon, int nThumbMode) {
  static const int kSizes[] = {30, 80, 160, 223, 303};
  if (bCalendar) return 160;
  if (!bLargeIcon) return 80;
  return (nThumbMode >= 0 && nThumbMode <= 4) ? kSizes[nThumbMode] : 160;
}

// Commands by their resource names; ranges carry their value in the command object.
static const VXCMDROUTE kRoutes[] = {
    {ID_ROTATE_RIGHT, ID_ROTATE_RIGHT, VXCA_ROTATE_RIGHT, FALSE},
    {ID_ROTATE_LEFT, ID_ROTATE_LEFT, VXCA_ROTATE_LEFT, FALSE},
    {ID_FILE_DELETE, ID_FILE_DELETE, VXCA_DELETE, FALSE},
    {ID_FILE_RENAME, ID_FILE_RENAME, VXCA_RENAME, TRUE},
    {ID_FILE_PROPERTIES, ID_FILE_PROPERTIES, VXCA_PROPERTIES, FALSE},
    {ID_EDIT_SELECT_ALL_FILES, ID_EDIT_SELECT_ALL_FILES, VXCA_SELECT_ALL, TRUE},
    {ID_EDIT_UNSELECT_ALL, ID_EDIT_UNSELECT_ALL, VXCA_UNSELECT_ALL, TRUE},
    {ID_EDIT_INVERT_SELECTION, ID_EDIT_INVERT_SELECTION, VXCA_REVERSE_SELECT, TRUE},
    {ID_MARK_CLEAR_ALL, ID_MARK_CLEAR_ALL, VXCA_MARK_CLEAR, FALSE},
    {ID_MARK_TOGGLE, ID_MARK_TOGGLE, VXCA_MARK_TOGGLE, FALSE},
    {ID_MARK_COPY_TO, ID_MARK_COPY_TO, VXCA_MARK_OP2, FALSE},
    {ID_MARK_MOVE_TO, ID_MARK_MOVE_TO, VXCA_MARK_OP1, FALSE},
    {ID_FAVORITE_ADD, ID_FAVORITE_ADD, VXCA_FAVORITE_ADD, FALSE},
    {ID_VIEW_MAP, ID_VIEW_MAP, VXCA_MAP, FALSE},
    {ID_VIEW_SUBFOLDERS, ID_VIEW_SUBFOLDERS, VXCA_SUBFOLDERS, FALSE},
    {ID_VIEW_REFRESH, ID_VIEW_REFRESH, VXCA_RELOAD, TRUE},
    {ID_SIMILAR_SEARCH, ID_SIMILAR_SEARCH, VXCA_SIMILAR_SEARCH, FALSE},
    {ID_SIMILAR_REGISTER, ID_SIMILAR_REGISTER, VXCA_SIMILAR_REGISTER, FALSE},
    {ID_SIMILAR_LIST, ID_SIMILAR_LIST, VXCA_SIMILAR_LIST, FALSE},
    {ID_EDIT_COPY, ID_EDIT_COPY, VXCA_COPY, TRUE},
    {ID_EDIT_CUT, ID_EDIT_CUT, VXCA_CUT, TRUE},
    {ID_EDIT_PASTE, ID_EDIT_PASTE, VXCA_PASTE, FALSE},
    {ID_VIEWMODE_FIRST, ID_VIEWMODE_FIRST + 18, VXCA_VIEWMODE, FALSE},
    {ID_SORT_FIRST, ID_SORT_FIRST + 26, VXCA_SORT, FALSE},
    {ID_FILTER_FIRST, ID_FILTER_LAST, VXCA_FILTER, FALSE},
};

const VXCMDROUTE* TransFindCommand(UINT nID) {
  for (const VXCMDROUTE& r : kRoutes)
    if (nID >= r.nFirst && nID <= r.nLast) return &r;
  return NULL;
}

VXMAPSTEP TransMapStep(BOOL bSelected, BOOL bMapInUse, BOOL bFocusMode, int nEnlargedHeight) {
  if (!bSelected) return VXMAP_NO_SELECTION;
  if (!bMapInUse) return VXMAP_NOTHING;
  if (bFocusMode) {
    if (nEnlargedHeight < 0) return VXMAP_NOTHING;
    if (nEnlargedHeight == 0) return VXMAP_KEPT_MODE;
  }
  return VXMAP_SHOW;
}

bool CDecodedBatch::Add(DWORD id) {
  ::EnterCriticalSection(&m_cs);
  bool first = m_ids.empty();
  m_ids.push_back(id);
  ::LeaveCriticalSection(&m_cs);
  return first;
}

std::vector<DWORD> CDecodedBatch::Take() {
  std::vector<DWORD> ids;
  ::EnterCriticalSection(&m_cs);
  ids.swap(m_ids);
  ::LeaveCriticalSection(&m_cs);
  return ids;
}

bool TransRunOnThreads(size_t count, size_t threads, const std::function<void(size_t)>& work,
                       const std::function<bool()>& goOn, const std::function<void()>& meanwhile) {
  if (count == 0) {
    if (meanwhile) meanwhile();
    return goOn();
  }
  if (threads == 0) {
    if (meanwhile) meanwhile();
    DWORD asked = ::GetTickCount();
    for (size_t i = 0; i < count; ++i) {
      work(i);
      // The clock alone: a look at the queue would cost a round trip to Wine's server per
      // piece.
      if (::GetTickCount() - asked >= 10) {
        if (!goOn()) return false;
        asked = ::GetTickCount();
      }
    }
    return goOn();
  }
  std::atomic<size_t> next{0}, done{0};
  std::atomic<bool> stop{false};
  HANDLE finished = ::CreateEventA(NULL, TRUE, FALSE, NULL);
  if (!finished) return false;
  threads = std::max<size_t>(1, std::min(threads, count));
  std::vector<std::thread> workers;
  for (size_t t = 0; t < threads; ++t)
    workers.emplace_back([&] {
      for (size_t i; !stop && (i = next++) < count;) {
        work(i);
        if (++done == count) ::SetEvent(finished);
      }
    });
  if (meanwhile) meanwhile();
  bool going = true;
  while (done < count) {
    if (!(going = goOn())) {
      stop = true;
      break;
    }
    ::MsgWaitForMultipleObjects(1, &finished, FALSE, 10, QS_SENDMESSAGE);
  }
  for (std::thread& t : workers) t.join();
  ::CloseHandle(finished);
  return going && goOn();
}
