// What the controller's files share inside the library: the registered messages, the
// process-wide state, and the small helper classes of the controller.
#pragma once
#include <fw/fw.h>


#include <VxDocument.h>
#include <VxGUIDB.h>

#include "ItemViewLink.h"
#include "ReportCtrl.h"
#include "MainWndMessages.h"
#include "TransRules.h"
#include "VxGUITrans.h"

// The browser's registered messages (both the main program and this library register
// them by name, so the ids agree).
struct VXTRANSMSGS {
  UINT uErrorDisplay, uDelayCopyData, uOutProjectTask, uQuickTimeNotify, uDragDropKey, uZoomModeWnd, uSlideShowWnd;
  UINT uPicturesDecoded;  // the decoder's batch of finished pictures waits (CDecodedBatch)
};
const VXTRANSMSGS& TransMsgs();

// The thread that loaded the library (the user-interface thread).
DWORD TransMainThreadId();
// The controller that GetCGBrowser answers.
extern CVxGUITrans* g_pTransController;
// The source number of the previous folder change (-1 before the first).
extern int g_nTransPrevSource;

// Counts files found by a scan and sends the percent (1862) when it changes.
class CProgressReporter {
 public:
  CProgressReporter(CVxGUITrans* pOwner, int nExpected, int nBase = 0, int nRange = 100);
  void Step();
  int GetDone() const { return m_nDone; }

 private:
  CVxGUITrans* m_pOwner;
  int m_nBase, m_nRange, m_nDone, m_nExpected, m_nLastSent;
};
// The reporter of the running scan (null between scans).
extern CProgressReporter* g_pTransProgress;

// The file-find callback object of the scans: hands each item to FileFindCallBack.
class CTransFindCallback : public IThumbnailPage_AddFolderCallback {
 public:
  CVxGUITrans* m_pOwner = NULL;
  long OnAddThumbnail(CThumbnail* pThumbnail) override { return CVxGUITrans::FileFindCallBack(pThumbnail, m_pOwner); }
};
extern CTransFindCallback g_transFindCallback;

// While it lives the status bar shows work; at its end it sends progress -1 and the count.
class CBusyScope {
 public:
  explicit CBusyScope(CVxGUITrans* pOwner);
  ~CBusyScope();
  static void CountFilteredFiles(CVxGUITrans* pOwner);
  static void NotifyFileCount(CVxGUITrans* pOwner);
  static void CalcFileCount(CVxGUITrans* pOwner);
  static void SetFileCount(int n) { s_nFileCount = n; }
  static int GetFileCount() { return s_nFileCount; }

 private:
  CVxGUITrans* m_pOwner;
  DWORD m_dwTick;
  static int s_nFileCount;
  static DWORD s_dwLastReport;
};

// An interlocked counter: IsBusy when more than one holds it.
class CRefLock {
 public:
  LONG Lock() { return ::InterlockedIncrement(&m_l); }
  LONG Unlock() { return ::InterlockedDecrement(&m_l); }
  BOOL IsBusy() const { return m_l > 1; }
  BOOL IsLocked() const { return m_l != 0; }

 private:
  volatile LONG m_l = 0;
};

// Reaches the main frame's panes by their index (9: the main frame itself).
class CVxPaneMessenger {
 public:
  CVxPaneMessenger(CView* pView, CWnd* pFrame, CVxGUITrans* pOwner) : m_pView(pView), m_pFrame(pFrame), m_pOwner(pOwner) {}
  HWND GetPane(int nIndex) const;
  // Posted off the user-interface thread, else sent.
  LRESULT Send(int nIndex, UINT message, WPARAM wParam, LPARAM lParam) const;

 private:
  CView* m_pView;
  CWnd* m_pFrame;
  CVxGUITrans* m_pOwner;
};

// While it lives the export pane is disabled.
class CExportPaneLock {
 public:
  explicit CExportPaneLock(CVxGUITrans* pOwner);
  ~CExportPaneLock();
  int* m_pSlideShowFlag = NULL;

 private:
  CVxGUITrans* m_pOwner;
};

// The message pump of long work: E_ABORT when a message stops it (that message is posted
// back), 0 when the queue is empty, 1 on another failure. The filter tells for each
// message whether it is dispatched, stops the pump, or waits (posted again once the pump
// is done, so that the long work goes on).
enum VXPUMPACTION { VXPUMP_DISPATCH, VXPUMP_STOP, VXPUMP_DEFER };
typedef VXPUMPACTION (*PFNPUMPFILTER)(const MSG& msg, void* pParam);
// The filter of folder scans: a waiting folder change or a closing stops them; the other
// queued commands wait until the scan is done.
VXPUMPACTION ScanPumpFilter(const MSG& msg, void* pController);
long PumpMessages(PFNPUMPFILTER pfnFilter, void* pParam);
// Whether a scan pumps at this item: at most every 8 ms (user-interface thread only).
bool ScanPumpDue();
int CALLBACK DecodeAbortCallback(void* pController);
// Answers what other threads have sent this one (a change of folder is only queued then),
// leaving posted messages where they are: for long work that must not dispatch input.
void AnswerSentMessages();
// 5 when the file is there, else the missing-file notice's answer (1 OK, 2 Cancel, 0 not shown).
int CheckThumbnailFile(CWnd* pWnd, CThumbnail* pItem);
void InvokeBrowserContextMenu(CWnd* pWnd, CPoint pt);
// The title of a ".cont" file through the content-information library: written (TRUE when
// saved), or read (1 with a title, 0 without, -1 when the library does not load).
BOOL RenameContentTitle(LPCSTR pszPath, LPCSTR pszTitle);
int ReadContentTitle(LPCSTR pszPath, CString* pTitle);
BOOL LaunchRawDeveloper(HWND hOwner, LPCSTR pszPath);
BOOL IsMyFavoriteDPOF();
BOOL IsRemovableDrive(CThumbnailPage* pPage);
// The page's drive as 0 for A: ... 25 for Z:; -1 for a virtual folder or a path without one.
int PageDriveIndex(CThumbnailPage* pPage);
void GetPageFolderPath(CThumbnailPage* pPage, CString& out);
// Removes queued 1656 messages of the thread; their blocks belong to their senders.
void DiscardQueuedReloads();
// The card plug-in's audio and voice area names (read once).
LPCSTR GetCardAudioAreaName();
LPCSTR GetCardVoiceAreaName();
// Appends the members a content file names, each in the content file's folder; how many.
int TransAppendContMembers(LPCSTR pszContPath, CStringList& out);
// A message box of the controller's family (caption: the program's name); while one is
// open another is not shown and counts as 0.
int GuardedMessageBox(HWND hOwner, LPCSTR pszText, UINT nStyle);
// The system's text for an error code (its number when it has none) in such a box.
int SystemErrorBox(HWND hOwner, DWORD dwError);
// The same with a string of the resource library (%s replaced by pszArg when given).
int GuardedMessageBoxId(HWND hOwner, UINT nStringID, UINT nStyle, LPCSTR pszArg = NULL);
// The program folder (no trailing backslash).
CString TransProgramFolder();
// The Windows and system folders and the shell's special folders may not be renamed.
BOOL IsProtectedFolder(LPCSTR pszPath);
// Moves the file's record in the thumbnail library's database once the file has moved
// (the old path gone, the new one there); else answers whether the new path is there.
int MoveFileWithRecord(LPCSTR pszOld, LPCSTR pszNew);
// Removes the files' photo-database records under a progress bar.
void DeleteRecords(const CStringList& list);

// Calls f(item) for every item of every page of the document; the calendar page, whose
// items are the pages' own again, only with bCalendar. f answers false to stop the walk.
template <class F>
void ForEachPageItem(const CBrowserDocument* pDoc, bool bCalendar, F f) {
  if (!pDoc) return;
  const CThumbnailPageList& pages = pDoc->GetPageList();
  for (POSITION pos = pages.GetHeadPosition(); pos;) {
    CThumbnailPage* pPage = pages.GetNext(pos);
    if (!pPage || (!bCalendar && pPage->GetType() == VXPAGE_CALENDAR)) continue;
    for (int i = 0; i < pPage->GetCount(); ++i)
      if (CThumbnail* p = pPage->GetAt(i))
        if (!f(p)) return;
  }
}
// The view shows the item under the filter mask.
inline BOOL IsShownUnder(CThumbnail* p, UINT nMask) {
  return TransShowsItem(p->GetKindFlags(), nMask, p->IsFolder(), p->GetListFlags());
}
