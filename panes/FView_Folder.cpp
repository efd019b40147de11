#include "FView_Folder.h"

#include <Kitlib2/Kitlib2.h>
#include <VxDocument/CommandObject.h>
#include <VxResourceIds.h>

#include "ImageCheckButton.h"
#include "MainWndMessages.h"
#include "OwnMessages.h"
#include "PluginTreeCtrl.h"
#include "ui/ChoiceDialogs.h"
#include "ui/ResourceDialog.h"

namespace {

const COLORREF kBackground = RGB(59, 79, 92);
const char kFolderInfo[] = "VxFolder\\FolderInfo";

CString& PluginFolder() {
  static CString s;
  return s;
}

}  // namespace

void CFView_Folder::SetPluginFolder(LPCSTR lpszFolder) { PluginFolder() = lpszFolder ? lpszFolder : ""; }

IMPLEMENT_DYNCREATE(CFView_Folder, CFormView)

BEGIN_MESSAGE_MAP(CFView_Folder, CFormView)
  // painting and life
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_TIMER()
  ON_WM_DESTROY()
  ON_MESSAGE(WM_KEEP_BEFORE_EXIT, &CFView_Folder::OnKeepBeforeExit)
  // what the frame and the browser send
  ON_MESSAGE(WM_REFRESH_FOLDERS, &CFView_Folder::OnRefreshFolders)
  ON_MESSAGE(WM_FOLDER_TYPE_QUERY, &CFView_Folder::OnFolderTypeQuery)
  ON_MESSAGE(WM_BROWSER_RELOAD, &CFView_Folder::OnReload)
  ON_MESSAGE(WM_REFRESH_TREES, &CFView_Folder::OnRefreshTrees)
  ON_MESSAGE(WM_TREE_FOCUS_CHANGED, &CFView_Folder::OnTreeFocusChanged)
  ON_MESSAGE(WM_FOLDER_ACCEPTED, &CFView_Folder::OnAccepted)
  ON_WM_POWERBROADCAST()
  // sections
  ON_WM_SIZE()
  ON_WM_PARENTNOTIFY()
  ON_WM_SETCURSOR()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_COPYDATA()
  // navigation
  ON_MESSAGE(WM_SELECT_CLASSIFY_ROOTS, &CFView_Folder::OnSelectClassifyRoots)
  ON_MESSAGE(WM_STORE_HISTORY_BACK, &CFView_Folder::OnStoreHistoryBack)
  ON_MESSAGE(WM_STORE_HISTORY_FORWARD, &CFView_Folder::OnStoreHistoryForward)
  ON_MESSAGE(WM_FOLDER_GO_BACK, &CFView_Folder::OnGoBack)
  ON_MESSAGE(WM_FOLDER_GO_FORWARD, &CFView_Folder::OnGoForward)
  ON_MESSAGE(WM_FOLDER_GO_UP, &CFView_Folder::OnGoUp)
  ON_MESSAGE(WM_OPEN_FOLDER, &CFView_Folder::OnOpenFolder)
  ON_MESSAGE(WM_FOLDER_NAV_BUTTONS, &CFView_Folder::OnNavigationButtons)
END_MESSAGE_MAP()

HWND CFView_Folder::s_hBrowserView = NULL;

CFView_Folder::CFView_Folder()
    : CFormView(IDD_FOLDER_PANE),
      m_manager(PluginFolder()),
      m_bInitialised(FALSE),
      m_bPaneActive(FALSE),
      m_pNotice(NULL),
      m_nCurrentTree(0),
      m_hCurrentTree(NULL),
      m_pDragUpper(NULL),
      m_pDragLower(NULL),
      m_nDragLine(-1),
      m_bNavigating(FALSE) {}

CFView_Folder::~CFView_Folder() { DestroyNotice(); }

void CFView_Folder::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  SetScrollSizes(MM_TEXT, CSize(0, 0));
  CreateSections();
  // The frame's start-up waits for this (with the browser's and the export pane's).
  if (!m_bInitialised) CMWriteProfileInt(EXESTATE_SECTION, EXESTATE_FOLDER_CREATED, 1);
}

void CFView_Folder::OnUpdate(CView*, LPARAM, CObject* pHint) {
  if (!pHint || !pHint->IsKindOf(RUNTIME_CLASS(CSendCommandObject))) return;
  UINT nID = static_cast<CSendCommandObject*>(pHint)->GetID();
  if (nID >= ID_VIEWMODE_FIRST && nID <= ID_VIEWMODE_LAST) {
    PostMessage(WM_FOLDER_NAV_BUTTONS);
  } else if (nID == ID_MUSIC_DISPLAY_CHANGED) {
    m_manager.ChangeSetting();
    CString strMusic = CMGetProfileString("ImportPlugin\\Music", "Display", "");
    CTreePluginEntry* pCurrent = CurrentEntry();
    if (!strMusic.IsEmpty() && m_strCurrentTitle == strMusic && pCurrent && pCurrent->m_pTreeWnd) {
      m_manager.SetCurrentFolder(" ");  // the same folder must go out again
      pCurrent->m_pTreeWnd->SendFolderChange();
    }
  }
}

void CFView_Folder::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kPendingTimer) {
    KillTimer(kPendingTimer);
    std::string text;
    text.swap(m_strPendingText);
    if (!text.empty()) ForwardChange(text);
    return;
  }
  CFormView::OnTimer(nIDEvent);
}

LRESULT CFView_Folder::OnKeepBeforeExit(WPARAM wParam, LPARAM lParam) {
  if (!CMTLIsOwnMessage(WM_KEEP_BEFORE_EXIT, wParam, lParam)) return 0;
  SaveTreeState();
  return 0;
}

void CFView_Folder::OnDestroy() {
  DestroyNotice();
  DestroySections();
  CFormView::OnDestroy();
}

// ---- Painting ---------------------------------------------------------------------------

BOOL CFView_Folder::OnEraseBkgnd(CDC*) { return TRUE; }

void CFView_Folder::OnDraw(CDC*) {}

void CFView_Folder::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  dc.FillSolidRect(&rc, kBackground);
}

// ---- Refresh ----------------------------------------------------------------------------

void CFView_Folder::RefreshWithNotice(CWnd*, LPARAM lMode) {
  if (!m_pNotice) {
    CResourceSwitcher res;
    m_pNotice = new CNoticeDlg(this);
    if (m_pNotice->Create(this)) {
      CString strText;
      strText.LoadString(IDS_PANES_REFRESHING);
      m_pNotice->SetText(strText);
      m_pNotice->CenterWindow();
      m_pNotice->ShowWindow(SW_SHOWNA);
      m_pNotice->UpdateWindow();
    }
  }
  Refresh(lMode);
}

LRESULT CFView_Folder::OnRefreshFolders(WPARAM wParam, LPARAM lParam) {
  RefreshWithNotice(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), lParam);
  return 0;
}

LRESULT CFView_Folder::OnRefreshTrees(WPARAM, LPARAM lParam) {
  Refresh(lParam);
  return 0;
}

void CFView_Folder::Refresh(LPARAM lMode) {
  CMWriteProfileInt(kFolderInfo, "Renewaling", 1);
  if (!m_bInitialised) {
    m_bInitialised = TRUE;
    DestroyNotice();
    m_manager.SetCurrentFolder("???");
    // SetCurrentOne may remove an entry: walk a copy of the list.
    CTypedPtrArray<CPtrArray, CTreePluginEntry*> entries;
    for (int i = 0; i < m_manager.GetEntryCount(); ++i) entries.Add(m_manager.GetEntry(i));
    for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
      CTreePluginEntry* p = entries[i];
      BOOL bCurrent = m_manager.GetTitle(p, m_manager.GetKind(p)) == m_strCurrentTitle;
      m_manager.SetCurrentOne(p, this);
      if (m_manager.IndexOf(p) < 0) {
        DropButtonOf(p);  // its plug-in failed to create its tree
      } else if (bCurrent && p->m_pTreeWnd && p->m_bCreated) {
        m_hCurrentTree = p->m_pTreeWnd->m_hWnd;
        p->m_pTreeWnd->SendFolderChange();
        p->m_pTreeWnd->SetFocus();
      }
    }
    Relayout();
    m_manager.MarkTreesReady();
    SendMessage(WM_TREE_FOCUS_CHANGED, 1, 0);
  } else {
    CTreePluginEntry* pCurrent = CurrentEntry();
    CPluginTreeCtrl* pTree = pCurrent ? pCurrent->m_pTreeWnd : NULL;
    HTREEITEM hCaret = pTree ? pTree->GetSelectedItem() : NULL;
    auto display = [](LPCSTR lpszPlugin) {
      return CMGetProfileString(CString("ImportPlugin\\") + lpszPlugin, "Display", "");
    };
    CString strCategory = display("Category"), strCard = display("MemoryCard"), strSearch = display("Search"),
            strMusic = display("Music");
    auto is = [&](const CString& strTitle, const CString& strDisplay) {
      return !strDisplay.IsEmpty() && strTitle == strDisplay;
    };
    BOOL bReopen = FALSE;
    if (is(m_strCurrentTitle, strCard)) {
      m_manager.SetCurrentFolder(" ");
      bReopen = TRUE;
    }
    if (lMode == -1 || lMode == 0) {
      m_manager.Refresh(FALSE);
      if (lMode == 0 &&
          (is(m_strCurrentTitle, strCategory) || is(m_strCurrentTitle, strSearch) || is(m_strCurrentTitle, strMusic))) {
        m_manager.SetCurrentFolder(" ");
        bReopen = TRUE;
      }
    } else {
      // Only the trees the database fills change with it.
      for (int i = 0; i < m_manager.GetEntryCount(); ++i) {
        CTreePluginEntry* p = m_manager.GetEntry(i);
        CString strTitle = m_manager.GetTitle(p, m_manager.GetKind(p));
        if (!is(strTitle, strCategory) && !is(strTitle, strSearch)) continue;
        m_manager.RenewalTree(p, NULL);
        if (p == pCurrent) {
          m_manager.SetCurrentFolder(" ");
          bReopen = TRUE;
        }
      }
    }
    DestroyNotice();
    if (pTree && pTree->GetSafeHwnd() && (bReopen || pTree->GetSelectedItem() != hCaret)) pTree->SendFolderChange();
  }
  CMWriteProfileInt(kFolderInfo, "Renewaling", 0);
}

void CFView_Folder::DestroyNotice() {
  if (!m_pNotice) return;
  if (m_pNotice->m_hWnd) m_pNotice->DestroyWindow();
  delete m_pNotice;
  m_pNotice = NULL;
}

void CFView_Folder::RenewalTrees() {
  if (m_bInitialised) Refresh(-1);
}

// ---- Messages ---------------------------------------------------------------------------

namespace {
}  // namespace

LRESULT CFView_Folder::OnFolderTypeQuery(WPARAM wParam, LPARAM lParam) {
  // Only a sender of this process may hand over the block (OwnMessages.h).
  if (!lParam || ownmsg::IsForeign(WM_FOLDER_TYPE_QUERY, wParam, lParam)) return E_FAIL;
  const FOLDERTYPEQUERY* query = reinterpret_cast<const FOLDERTYPEQUERY*>(lParam);
  CTreePluginEntry* pEntry = NULL;
  if (!TreeNumberOf(m_hCurrentTree, &pEntry) || !pEntry) return E_FAIL;
  return m_manager.IsFolderType(pEntry, query->a, query->b) == S_OK ? 0 : E_FAIL;
}

LRESULT CFView_Folder::OnReload(WPARAM wParam, LPARAM lParam) {
  HWND hFrom = reinterpret_cast<HWND>(wParam);
  CWnd* pMain = AfxGetMainWnd();
  if ((hFrom == m_hWnd || TreeNumberOf(hFrom, NULL) > 0) && pMain && pMain->GetSafeHwnd())
    pMain->PostMessage(WM_BROWSER_RELOAD, (WPARAM)m_hWnd, lParam);
  return 0;
}

LRESULT CFView_Folder::OnTreeFocusChanged(WPARAM wParam, LPARAM) {
  m_bPaneActive = wParam == 1;
  if (m_bPaneActive) {
    if (CFrameWnd* pFrame = GetParentFrame()) pFrame->SetActiveView(this);
  }
  return 0;
}

LRESULT CFView_Folder::OnAccepted(WPARAM, LPARAM) { return 0; }

UINT CFView_Folder::OnPowerBroadcast(UINT, LPARAM) {
  // Back from a suspension the screen may hold anything: the pane and its trees are drawn
  // again at once.
  RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return TRUE;
}

// ---- Navigation -------------------------------------------------------------------------

BOOL CFView_Folder::GoBack() { return StepHistory(-1); }
BOOL CFView_Folder::GoForward() { return StepHistory(1); }
// The calendars (view codes 10 and 11, as the document stores the browser's view) show
// dates, not folders: the folder history does not apply there.
BOOL CFView_Folder::BrowserShowsCalendar() {
  int nCode = BrowserViewCode();
  return nCode == 10 || nCode == 11;
}

int CFView_Folder::BrowserViewCode() { return CMGetProfileInt("DepthViewer", "Mode", 1); }

BOOL CFView_Folder::CanGoBack() const { return !BrowserShowsCalendar() && m_history.CanBack(); }
BOOL CFView_Folder::CanGoForward() const { return !BrowserShowsCalendar() && m_history.CanForward(); }

// ---- Menus and commands ------------------------------------------------------------------

namespace {

// The pane's own command ranges, counted from ID_FOLDER_COMMAND_FIRST.
enum CommandRange { kFolderMenu = 0, kOpenWindow = 20, kToggleTree = 40, kSettingPanel = 60, kRangeSize = 10 };

// Main-menu commands and the folder command each stands for.
struct MappedCommand {
  UINT nID;
  int nFolderCommand;
};
const MappedCommand kMapped[] = {
    {ID_FILE_NEW_FOLDER, PLUGIN_FOLDER_OPEN},
    {ID_FILE_RENAME, PLUGIN_FOLDER_RENAME},
    {ID_EDIT_CUT, PLUGIN_FOLDER_CUT},
    {ID_EDIT_COPY, PLUGIN_FOLDER_COPY},
    {ID_FILE_DELETE, PLUGIN_FOLDER_DELETE},
    {ID_EDIT_PASTE, PLUGIN_FOLDER_PASTE},
    {ID_FILE_PROPERTIES, PLUGIN_FOLDER_PROPERTIES},
    {ID_FAVORITE_ADD, PLUGIN_FOLDER_FAVOURITE},
};

// The Go popup, known by its items: its position in the view menu moves with the items
// the frame and the toolbar take out of it.
bool IsGoPopup(CMenu* pPopup) {
  for (int i = 0, n = pPopup ? (int)pPopup->GetMenuItemCount() : 0; i < n; ++i)
    if (pPopup->GetMenuItemID(i) == ID_GO_UP || pPopup->GetMenuItemID(i) == ID_GO_OPEN_PATH) return true;
  return false;
}

}  // namespace

CTreePluginEntry* CFView_Folder::CurrentEntry() const {
  CTreePluginEntry* p = NULL;
  return TreeNumberOf(m_hCurrentTree, &p) ? p : NULL;
}

void CFView_Folder::OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu) {
  if (bSysMenu || !pPopup) return;
  if (IsGoPopup(pPopup)) {
    pPopup->EnableMenuItem(ID_GO_UP, MF_BYCOMMAND | (CanGoUp() ? MF_ENABLED : MF_GRAYED));
    pPopup->EnableMenuItem(ID_GO_BACK, MF_BYCOMMAND | (CanGoBack() ? MF_ENABLED : MF_GRAYED));
    pPopup->EnableMenuItem(ID_GO_FORWARD, MF_BYCOMMAND | (CanGoForward() ? MF_ENABLED : MF_GRAYED));
    CTreePluginEntry* pDisk = EntryByTitle(LoadResourceText(IDS_TREE_TITLE_DISK));
    bool disk = pDisk && pDisk->m_pTreeWnd && pDisk->m_pTreeWnd->IsWindowEnabled() && m_manager.IsActive(pDisk);
    pPopup->EnableMenuItem(ID_GO_OPEN_PATH, MF_BYCOMMAND | (disk ? MF_ENABLED : MF_GRAYED));
    return;
  }
  if (nIndex == 0 || nIndex == 1) {
    // The folder commands follow the current plug-in's folder menu, position by position.
    CMenu menu;
    CTreePluginEntry* pEntry = CurrentEntry();
    bool has = pEntry && m_manager.HasExport(pEntry, "GetFolderMenu");
    if (has) m_manager.GetFolderMenu(pEntry, &menu);
    CMenu* pFolder = has && menu.GetSafeHmenu() ? menu.GetSubMenu(0) : NULL;
    for (const MappedCommand& c : kMapped) {
      bool file = c.nID == ID_FILE_NEW_FOLDER || c.nID == ID_FILE_RENAME || c.nID == ID_FILE_DELETE ||
                  c.nID == ID_FILE_PROPERTIES;
      if (file != (nIndex == 0)) continue;
      UINT state = pFolder ? pFolder->GetMenuState(c.nFolderCommand, MF_BYPOSITION) : (UINT)-1;
      bool grey = state == (UINT)-1 || (state & MF_GRAYED);
      pPopup->EnableMenuItem(c.nID, MF_BYCOMMAND | (grey ? MF_GRAYED : MF_ENABLED));
    }
    if (menu.GetSafeHmenu()) menu.DestroyMenu();
    return;
  }
  if (nIndex == 2) {
    if (CMenu* pTrees = pPopup->GetSubMenu(2)) {
      while (pTrees->GetMenuItemCount() > 0) pTrees->DeleteMenu(0, MF_BYPOSITION);
      int n = 0;
      for (int i = 0; i < m_manager.GetEntryCount() && n < kRangeSize; ++i) {
        CTreePluginEntry* p = m_manager.GetEntry(i);
        if (!p->m_pTreeWnd) continue;
        CString strItem;
        strItem.Format("&%01d %s", n + 1, (LPCSTR)m_manager.GetTitle(p, m_manager.GetKind(p)));
        pTrees->AppendMenu(MF_STRING | (m_manager.IsShown(p) ? MF_CHECKED : 0), ID_VIEW_TREE_FIRST + n, strItem);
        ++n;
      }
    }
    for (int i = 0; i < (int)pPopup->GetMenuItemCount(); ++i)
      if (IsGoPopup(pPopup->GetSubMenu(i))) OnInitMenuPopup(pPopup->GetSubMenu(i), (UINT)i, FALSE);
    return;
  }
}

void CFView_Folder::RunCommand(UINT nID) {
  int offset = (int)nID - ID_FOLDER_COMMAND_FIRST;
  int range = offset / 20 * 20, n = offset - range;
  if (n >= kRangeSize) return;  // handled, no action
  CTreePluginEntry* pCurrent = CurrentEntry();
  switch (range) {
    case kFolderMenu:
      if (pCurrent && pCurrent->m_pTreeWnd) {
        HWND hFocus = ::GetFocus();
        DWORD dwFlags = m_manager.FolderMenu(pCurrent, n);
        if (hFocus && ::IsWindow(hFocus)) ::SendMessageA(hFocus, WM_SETFOCUS, 0, 0);
        pCurrent->m_pTreeWnd->DoActions(dwFlags);
      }
      break;
    case kOpenWindow:
      if (CImageCheckButton* pButton = GetButton(n))
        if (m_manager.IndexOf(pButton->GetEntry()) >= 0)
          m_manager.OpenWindow(pButton->GetEntry(), m_manager.GetKind(pButton->GetEntry()), pButton);
      break;
    case kToggleTree: ToggleTree(n); break;
    case kSettingPanel: {
      int k = 0;
      for (int i = 0; i < m_manager.GetEntryCount(); ++i) {
        CTreePluginEntry* p = m_manager.GetEntry(i);
        if (!p->m_pTreeWnd || !m_manager.HasExport(p, "OpenSettingPanel")) continue;
        if (k++ == n) {
          m_manager.OpenSettingPanel(p, this);
          break;
        }
      }
      break;
    }
  }
}

BOOL CFView_Folder::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  UINT nOurs = 0;
  if (nID >= ID_FOLDER_COMMAND_FIRST && nID <= ID_FOLDER_COMMAND_LAST) nOurs = nID;
  for (const MappedCommand& c : kMapped)
    if (nID == c.nID) nOurs = ID_FOLDER_COMMAND_FIRST + kFolderMenu + c.nFolderCommand;
  if (nOurs && !pHandlerInfo) {
    if (nCode == CN_COMMAND) RunCommand(nOurs);
    if (nCode == (int)CN_UPDATE_COMMAND_UI || nCode == CN_COMMAND) return TRUE;
  }
  return CFormView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
