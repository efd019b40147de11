// The browser controller's decisions that need no window: which WM_COPYDATA commands are
// taken and how the queue collapses, the texts the browser writes, the file-list branches,
// the sort comparison, rotation angles, AVCHD path parts, the command table of the
// document hints, and progress steps. CVxGUITrans calls them; tests call them directly.
#pragma once
#include <fw/fw.h>

#include <functional>
#include <vector>

// ---- WM_COPYDATA intake -------------------------------------------------------------------
// 1534 and 1536..1538 are taken; every other code is refused.
BOOL TransIsQueuedCode(ULONG_PTR dwCode);

// The queued command block: {code, length, sender's pointer} and the bytes with a NUL.
struct VXQUEUEDHEAD {
  DWORD dwCode;
  DWORD dwLength;
  DWORD dwSenderPtr;  // the low word of the sender's pointer (kept, never used)
};
#define VXQUEUED_HEADER 12
// The block size for dwLength bytes of text; 0 when it would overflow.
SIZE_T TransQueuedBlockSize(DWORD dwLength);

// A replay found another one running (a nested message loop dispatched it): which waiting
// command to drop, as an index into the codes of the queue, oldest first; -1 for none.
// Only a change-folder command that a newer change-folder command supersedes is dropped;
// the add, update and rotation notices are never lost.
int TransSupersededCommand(const DWORD* pdwCodes, int nCount);

// A path of a command is usable: not empty, absolute (drive letter and ":\" or "\\"), and
// shorter than MAX_PATH bytes.
BOOL TransIsCommandPath(LPCSTR pszPath);

// ---- Texts the browser writes --------------------------------------------------------------
// The folder ends with one backslash.
CString TransWithBackslash(LPCSTR pszFolder);
// "%1d|%s|%1d|%s||" (source number, source name, folder type, the folder with one final
// backslash): the change-folder text the browser sends.
CString TransChangeFolderText(int nSource, LPCSTR pszName, int nFolderType, LPCSTR pszFolder);
// WM_COPYDATA size for a text of nLength bytes: the buffer holds nLength + 5 bytes (the tail
// zero) and cbData is that rounded down to a multiple of 4.
DWORD TransCopyDataBufferSize(size_t nLength);
DWORD TransCopyDataSendSize(size_t nLength);

// File lists (GetFileData and the 1626 reply) by their flags.
enum VXLISTBRANCH { VXLIST_SELECTED, VXLIST_MARKED, VXLIST_ALL, VXLIST_SHOWN };
// bAllowAll: flags equal to 1 list every file of the listed folders (GetFileData only).
VXLISTBRANCH TransListBranch(long lFlags, BOOL bAllowAll);
// "0|%d|0|" with the flags' bits 30 and 31 cleared.
CString TransExportHeader(long lFlags);
// One record: the path (at most 519 characters) and "|%1d|0||" with 1 for selected plus 4
// for marked.
void TransAppendExportRecord(CString& out, LPCSTR pszPath, BOOL bSelected, BOOL bMarked);

// The text shown for a system error code that has no text of its own.
CString TransUnknownErrorText(DWORD dwCode);

// ---- Sorting ---------------------------------------------------------------------------------
// Byte order of the sort strings (a missing one counts as empty); an even sort id reverses.
int TransCompareSortStrings(LPCSTR psz1, LPCSTR psz2, UINT nSortID);
// The sort ids the sort command acts on: 11..27 and 29.
BOOL TransIsSortCommandID(UINT nSortID);
// A filter's preview type for folder entries: the mask, or stills and movies for mask 0.
UINT TransFolderPreviewType(UINT nMask);

// ---- Rotation --------------------------------------------------------------------------------
// Degrees reduced to -179..180 by their absolute value (540 -> 180, 360 -> 0, -90 -> 90).
int TransReduceAngle(int nDegrees);

// ---- Folder model ----------------------------------------------------------------------------
// An AVCHD image path "<base>\<x>\<first>\<y>\<second>\<page>" split from its end; FALSE
// when it has too few parts or a number part is no decimal number. The card tree's date
// nodes send "E:\<session>\<list>\<device>\<title>\<yyyy/mm/dd>": first is the title
// list, second the title.
BOOL TransSplitAVCHDPath(LPCSTR pszPath, CString* pBase, int* pnFirst, int* pnSecond, CString* pPage);
// The disc reference of an AVCHD folder's scene on a drive ("E:\"): a scene of a card's
// movie tree (nTree 0 or 1, as the core tells) whose stream is named as a clip names its
// recording day and clip; a part of a disc's title (nTree -1) its playlist number and play
// item.
BOOL TransDiscRefOf(LPCSTR pszBase, int nTree, int nPlaylist, int nPart, const SYSTEMTIME& stRecorded,
                    LPCSTR pszStream, DWORD adwRef[4]);
// The folder-name index of a virtual folder's entry: group number - 1, numbers below 1 take 0.
int TransVirtualGroupIndex(int nGroupNumber);
// Percent of a progress reporter; 0 when nothing is expected.
int TransProgressPercent(int nBase, int nRange, int nDone, int nExpected);
// The item passes the filter: all bits of the mask in its kind word, or a sub-folder.
BOOL TransPassesFilter(UINT nKind, UINT nMask, BOOL bFolder);
// The item is listed: not a companion member without the content flag.
BOOL TransIsListedFlags(UINT nListFlags);
// The view shows the item: a sub-folder, or a listed item that passes the filter.
BOOL TransShowsItem(UINT nKind, UINT nMask, BOOL bFolder, UINT nListFlags);
// The thumbnail cell of a view mode: calendars 160; large icons by the size index (0..4:
// 30, 80, 160, 223, 303; else 160); other modes 80.
int TransThumbnailCell(BOOL bCalendar, BOOL bLargeIcon, int nThumbMode);

// ---- Document hints --------------------------------------------------------------------------
enum VXCMDACTION {
  VXCA_NONE = 0,
  VXCA_ROTATE_RIGHT, VXCA_ROTATE_LEFT, VXCA_DELETE, VXCA_RENAME, VXCA_PROPERTIES,
  VXCA_SELECT_ALL, VXCA_UNSELECT_ALL, VXCA_REVERSE_SELECT, VXCA_MARK_CLEAR, VXCA_MARK_TOGGLE,
  VXCA_MARK_OP2, VXCA_MARK_OP1, VXCA_FAVORITE_ADD, VXCA_MAP, VXCA_SUBFOLDERS, VXCA_RELOAD,
  VXCA_SIMILAR_SEARCH, VXCA_SIMILAR_REGISTER, VXCA_SIMILAR_LIST, VXCA_COPY, VXCA_CUT, VXCA_PASTE,
  VXCA_VIEWMODE, VXCA_SORT, VXCA_FILTER,
};
struct VXCMDROUTE {
  UINT nFirst, nLast;
  VXCMDACTION action;
  BOOL bNotInCalendar;
};
// The route of a command id; null for ids the browser ignores.
const VXCMDROUTE* TransFindCommand(UINT nID);

// The map command: refused without a selection (its message), nothing without the map
// component; in focus mode nothing without the enlarged view's splitter, and back to the
// kept thumbnail mode when the enlarged view is folded away (its row 0 high); else the map.
enum VXMAPSTEP { VXMAP_NO_SELECTION, VXMAP_NOTHING, VXMAP_KEPT_MODE, VXMAP_SHOW };
// nEnlargedHeight: the enlarged view's row height, -1 without the splitter.
VXMAPSTEP TransMapStep(BOOL bSelected, BOOL bMapInUse, BOOL bFocusMode, int nEnlargedHeight);

// Pictures the decoder finished, gathered for the user-interface thread. The decoder's
// threads add; the first id after a Take asks for one posted redraw, so a thousand pictures
// cost a few messages and not a thousand.
class CDecodedBatch {
 public:
  CDecodedBatch() { ::InitializeCriticalSection(&m_cs); }
  ~CDecodedBatch() { ::DeleteCriticalSection(&m_cs); }
  CDecodedBatch(const CDecodedBatch&) = delete;
  CDecodedBatch& operator=(const CDecodedBatch&) = delete;
  // True when the caller is to post the redraw (nothing was waiting).
  bool Add(DWORD id);
  // The ids gathered since the last Take, oldest first.
  std::vector<DWORD> Take();

 private:
  CRITICAL_SECTION m_cs;
  std::vector<DWORD> m_ids;
};

// Runs work(0) .. work(count - 1) on up to `threads` threads of its own, in that order of
// start, and meanwhile (when given) once on the calling thread. goOn is asked on the calling
// thread at least every 10 ms and whenever another thread sends that thread a message; once
// it answers false no further work starts, the running work is waited for and false is
// returned. threads 0: meanwhile, then the work in order on the calling thread, goOn asked
// between pieces once 10 ms have passed.
bool TransRunOnThreads(size_t count, size_t threads, const std::function<void(size_t)>& work,
                       const std::function<bool()>& goOn, const std::function<void()>& meanwhile = nullptr);
