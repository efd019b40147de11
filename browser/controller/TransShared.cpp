// Routines the controller's operations share: busy scope and file count, the message pump,
// the missing-file notice, the context menu, the raw developer, a few queries, and the
// guarded message box.
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <VxResourceIds.h>

#include <shlwapi.h>


#include "TransInternal.h"

int CBusyScope::s_nFileCount = 0;
DWORD CBusyScope::s_dwLastReport = 0;

CBusyScope::CBusyScope(CVxGUITrans* pOwner) : m_pOwner(pOwner), m_dwTick(::GetTickCount()) {}

CBusyScope::~CBusyScope() {
  HWND hMain = m_pOwner ? m_pOwner->GetManager() : NULL;
  ::SendNotifyMessageA(hMain, WM_STATUS_PROGRESS, 0, -1);
  NotifyFileCount(m_pOwner);
}

void CBusyScope::CountFilteredFiles(CVxGUITrans* pOwner) {
  CBrowserDocument* pDoc = pOwner ? pOwner->GetBrowserDocument() : NULL;
  if (!pDoc) return;
  UINT mask = pDoc->GetFilterType();
  int n = 0;
  const CThumbnailPageList& pages = pDoc->GetPageList();
  for (POSITION pos = pages.GetHeadPosition(); pos;)
    if (CThumbnailPage* p = pages.GetNext(pos)) n += p->Size(mask);
  s_nFileCount = n;
}

void CBusyScope::NotifyFileCount(CVxGUITrans* pOwner) {
  HWND hMain = pOwner ? pOwner->GetManager() : NULL;
  ::SendNotifyMessageA(hMain, WM_STATUS_FILE_COUNT, 0, s_nFileCount);
}

void CBusyScope::CalcFileCount(CVxGUITrans* pOwner) {
  ++s_nFileCount;
  DWORD now = ::GetTickCount();
  if (now - s_dwLastReport >= 1000) {
    NotifyFileCount(pOwner);
    s_dwLastReport = now;
  }
}

// ---- Message pump -------------------------------------------------------------------------

static BOOL IsStopMessage(const MSG& m) {
  switch (m.message) {
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUIT: return TRUE;
    case WM_NCLBUTTONDOWN: return m.wParam == HTCLOSE;
    case WM_COMMAND: return LOWORD(m.wParam) == ID_APP_EXIT;
    case WM_SYSCOMMAND: return (m.wParam & 0xFFF0) == SC_CLOSE;
  }
  return FALSE;
}

static void PostBack(const MSG& msg) {
  if (msg.message == WM_QUIT)
    ::PostQuitMessage((int)msg.wParam);
  else
    ::PostMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

long PumpMessages(PFNPUMPFILTER pfnFilter, void* pParam) {
  MSG msg;
  CArray<MSG, const MSG&> deferred;
  long result = 0;
  while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    VXPUMPACTION action = pfnFilter ? pfnFilter(msg, pParam) : VXPUMP_DISPATCH;
    if (action == VXPUMP_STOP || IsStopMessage(msg)) {
      // Handled after the long work: put it back.
      PostBack(msg);
      result = E_ABORT;
      break;
    }
    if (action == VXPUMP_DEFER) {
      deferred.Add(msg);
      continue;
    }
    if (msg.message == 0x036A) continue;  // the framework's idle message
    if (!AfxPreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  for (INT_PTR i = 0; i < deferred.GetSize(); ++i) PostBack(deferred[i]);
  return result;
}

bool ScanPumpDue() {
  // A pump asks the server for every message: per file it cost more than the scan itself.
  static DWORD s_last = 0;
  DWORD now = ::GetTickCount();
  if (now - s_last < 8) return false;
  s_last = now;
  return true;
}

VXPUMPACTION ScanPumpFilter(const MSG& msg, void* p) {
  CVxGUITrans* pThis = static_cast<CVxGUITrans*>(p);
  if (pThis && !pThis->IsContinueChangeFolder()) return VXPUMP_STOP;
  if (msg.message != TransMsgs().uDelayCopyData) return VXPUMP_DISPATCH;
  return (!pThis || pThis->HasWaitingFolderChange()) ? VXPUMP_STOP : VXPUMP_DEFER;
}

int CALLBACK DecodeAbortCallback(void* pController) {
  if (!pController) return 1;
  return PumpMessages(ScanPumpFilter, pController) >= 0;
}

void AnswerSentMessages() {
  MSG msg;
  ::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// ---- Message boxes --------------------------------------------------------------------------

static BOOL s_bBoxOpen = FALSE;

int GuardedMessageBox(HWND hOwner, LPCSTR pszText, UINT nStyle) {
  if (s_bBoxOpen) return 0;
  s_bBoxOpen = TRUE;
  CString caption = CMTLGetAppName();
  int r = ::MessageBoxA(hOwner, pszText, caption, nStyle);
  s_bBoxOpen = FALSE;
  return r;
}

int SystemErrorBox(HWND hOwner, DWORD dwError) {
  char* psz = NULL;
  DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             NULL, dwError, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), (LPSTR)&psz, 0, NULL);
  CString text = (n && psz) ? CString(psz) : TransUnknownErrorText(dwError);
  if (psz) ::LocalFree(psz);
  return GuardedMessageBox(hOwner, text, MB_ICONERROR);
}

int GuardedMessageBoxId(HWND hOwner, UINT nStringID, UINT nStyle, LPCSTR pszArg) {
  CString text;
  CResourceLoader loader;
  if (!loader.LoadStringA(nStringID, text)) text.Format("%u", nStringID);
  if (pszArg) text.Replace("%s", pszArg);
  return GuardedMessageBox(hOwner, text, nStyle);
}

int CheckThumbnailFile(CWnd* pWnd, CThumbnail* pItem) {
  if (!pItem) return 0;
  if (pItem->IsValidPath()) return 5;
  CString path = pItem->GetFilePath();
  if (::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return 5;
  UINT id = pItem->IsFolder() ? IDS_BROWSER_FOLDER_MISSING : IDS_BROWSER_FILE_MISSING;
  return GuardedMessageBoxId(pWnd ? pWnd->GetSafeHwnd() : NULL, id, MB_OKCANCEL | MB_ICONERROR, path);
}

// ---- Calls into the main program and outside programs -----------------------------------------

void InvokeBrowserContextMenu(CWnd* pWnd, CPoint pt) {
  static CDllLoader* s_pMain = NULL;
  if (!s_pMain) {
    char exe[MAX_PATH];
    ::GetModuleFileNameA(NULL, exe, MAX_PATH);
    s_pMain = new CDllLoader(::PathFindFileNameA(exe), TRUE);
  }
  typedef void (*PFNMENU)(CWnd*, CPoint);
  PFNMENU pfn = reinterpret_cast<PFNMENU>(s_pMain->GetProcAddress("_Z22ShowBrowserContextMenuP4CWnd6CPoint"));
  if (pfn) pfn(pWnd, pt);
}

CString TransProgramFolder() {
  char exe[MAX_PATH] = "";
  ::GetModuleFileNameA(NULL, exe, MAX_PATH);
  CString s(exe);
  int cut = s.ReverseFind('\\');
  return cut >= 0 ? s.Left(cut) : s;
}

BOOL LaunchRawDeveloper(HWND hOwner, LPCSTR pszPath) {
  CString ini = CMGetProfileString("Common", "RawParam", "corvoraw.ini");
  if (ini.IsEmpty()) return FALSE;
  CString folder = TransProgramFolder();
  CString iniPath = folder + "\\" + ini;
  char exe[256] = "";
  ::GetPrivateProfileStringA("Common", "exename", "", exe, sizeof(exe), iniPath);
  if (!*exe) return FALSE;
  CString program = folder + "\\" + exe;
  CWnd* pMain = AfxGetMainWnd();
  CString args;
  args.Format("-w%08X \"%s\"", (unsigned)(UINT_PTR)(pMain ? pMain->GetSafeHwnd() : NULL), pszPath ? pszPath : "");
  HINSTANCE h = ::ShellExecuteA(hOwner, "open", program, args, folder, SW_SHOWNORMAL);
  return (INT_PTR)h > 32;
}

BOOL IsMyFavoriteDPOF() {
  int v = CMGetProfileInt(VXDOC_SECTION, "MyFavoriteDPOF", 255);
  CMWriteProfileInt(VXDOC_SECTION, "MyFavoriteDPOF", v);
  return v & 1;
}

int PageDriveIndex(CThumbnailPage* pPage) {
  if (!pPage || pPage->IsVirtualFolder()) return -1;
  const CString& folder = pPage->GetGroupInfo().GetText();
  if (folder.GetLength() < 2 || folder[1] != ':') return -1;
  char letter = char(folder[0] & ~0x20);
  return letter >= 'A' && letter <= 'Z' ? letter - 'A' : -1;
}

BOOL IsRemovableDrive(CThumbnailPage* pPage) {
  int drive = PageDriveIndex(pPage);
  if (drive < 0) return FALSE;
  char root[] = {char('A' + drive), ':', '\\', 0};
  return ::GetDriveTypeA(root) == DRIVE_REMOVABLE;
}

void GetPageFolderPath(CThumbnailPage* pPage, CString& out) {
  out.Empty();
  if (!pPage) return;
  const CThumbnailGroupInfo& g = pPage->GetGroupInfo();
  if (!g.GetText().IsEmpty()) {
    out = g.GetText();
    while (out.GetLength() > 3 && out[out.GetLength() - 1] == '\\') out = out.Left(out.GetLength() - 1);
  } else {
    out = pPage->GetName();
  }
}

void DiscardQueuedReloads() {
  // The blocks of queued reloads belong to their senders, who free them after sending.
  MSG msg;
  while (::PeekMessageA(&msg, NULL, WM_BROWSER_RELOAD, WM_BROWSER_RELOAD, PM_REMOVE)) {
  }
}

// ---- The card plug-in's area names ---------------------------------------------------------------

static char s_szCardAudio[64], s_szCardVoice[64];
static BOOL s_bCardNamesRead = FALSE;

static void ReadCardNames() {
  if (s_bCardNamesRead) return;
  s_bCardNamesRead = TRUE;
  CDllLoader loader("CardTree.psp");
  loader.LoadStringA(IDS_BROWSER_CARD_AUDIO, s_szCardAudio, 64);
  loader.LoadStringA(IDS_BROWSER_CARD_VOICE, s_szCardVoice, 64);
}

LPCSTR GetCardAudioAreaName() {
  ReadCardNames();
  return s_szCardAudio;
}
LPCSTR GetCardVoiceAreaName() {
  ReadCardNames();
  return s_szCardVoice;
}

// ---- Pane messenger ------------------------------------------------------------------------------

// The main frame's panes by their entry index, found among its windows by their classes.
static const struct {
  int nIndex;
  LPCSTR pszClass;
} kPaneClasses[] = {{1, "CFView_Folder"}, {2, "CFView_Export"}, {3, "CFView_Toolbar"}};

HWND CVxPaneMessenger::GetPane(int nIndex) const {
  CWnd* pMain = AfxGetMainWnd();
  HWND hMain = pMain ? pMain->GetSafeHwnd() : (m_pOwner ? m_pOwner->GetManager() : NULL);
  if (nIndex == 9 || !hMain) return hMain;
  CRuntimeClass* pClass = NULL;
  for (const auto& pane : kPaneClasses)
    if (pane.nIndex == nIndex) pClass = CRuntimeClass::FromName(pane.pszClass);
  if (!pClass) return NULL;
  struct Search {
    CRuntimeClass* pClass;
    HWND hFound;
  } search = {pClass, NULL};
  ::EnumChildWindows(
      hMain,
      [](HWND h, LPARAM l) -> BOOL {
        Search* p = reinterpret_cast<Search*>(l);
        CWnd* pWnd = CWnd::FromHandlePermanent(h);
        if (pWnd && pWnd->IsKindOf(p->pClass)) {
          p->hFound = h;
          return FALSE;
        }
        return TRUE;
      },
      (LPARAM)&search);
  return search.hFound;
}

LRESULT CVxPaneMessenger::Send(int nIndex, UINT message, WPARAM wParam, LPARAM lParam) const {
  HWND h = GetPane(nIndex);
  if (!h) return 0;
  if (::GetCurrentThreadId() != TransMainThreadId()) return ::PostMessageA(h, message, wParam, lParam);
  return ::SendMessageA(h, message, wParam, lParam);
}
