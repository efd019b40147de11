#include "FView_Folder.h"

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>

#include "MainWndMessages.h"
#include "ui/ChoiceDialogs.h"
#include "ui/ResourceDialog.h"

namespace {

const UINT_PTR kReadyTimer = 2001;
const UINT kReadyDelayMs = 500;
const COLORREF kBackground = RGB(59, 79, 92);
const char kFolderInfo[] = "VxFolder\\FolderInfo";

// Main-menu commands that the pane takes besides its own range.
const UINT kMappedCommands[] = {ID_FILE_NEW_FOLDER, ID_FILE_RENAME, ID_EDIT_CUT,        ID_EDIT_COPY,
                                ID_FILE_DELETE,     ID_EDIT_PASTE,  ID_FILE_PROPERTIES, ID_FAVORITE_ADD};

}  // namespace

IMPLEMENT_DYNCREATE(CFView_Folder, CFormView)

BEGIN_MESSAGE_MAP(CFView_Folder, CFormView)
  // painting and life
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_TIMER()
  ON_WM_DESTROY()
  // what the frame and the browser send
  ON_MESSAGE(WM_REFRESH_FOLDERS, &CFView_Folder::OnRefreshFolders)
  ON_MESSAGE(WM_FOLDER_TYPE_QUERY, &CFView_Folder::OnFolderTypeQuery)
  ON_MESSAGE(WM_BROWSER_RELOAD, &CFView_Folder::OnReload)
  ON_MESSAGE(WM_REFRESH_TREES, &CFView_Folder::OnRefreshTrees)
  ON_MESSAGE(WM_TREE_FOCUS_CHANGED, &CFView_Folder::OnTreeFocusChanged)
  ON_MESSAGE(WM_FOLDER_ACCEPTED, &CFView_Folder::OnAccepted)
END_MESSAGE_MAP()

CFView_Folder::CFView_Folder()
    : CFormView(IDD_FOLDER_PANE), m_bInitialised(FALSE), m_bPaneActive(FALSE), m_pNotice(NULL) {}

CFView_Folder::~CFView_Folder() { DestroyNotice(); }

void CFView_Folder::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  SetScrollSizes(MM_TEXT, CSize(0, 0));
  SetTimer(kReadyTimer, kReadyDelayMs, NULL);
}

void CFView_Folder::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kReadyTimer) {
    KillTimer(kReadyTimer);
    // The frame's start-up waits for this (with the browser's and the export pane's).
    if (!m_bInitialised) CMWriteProfileInt(EXESTATE_SECTION, EXESTATE_FOLDER_CREATED, 1);
    return;
  }
  CFormView::OnTimer(nIDEvent);
}

void CFView_Folder::OnDestroy() {
  DestroyNotice();
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

void CFView_Folder::Refresh(LPARAM) {
  CMWriteProfileInt(kFolderInfo, "Renewaling", 1);
  if (!m_bInitialised) {
    m_bInitialised = TRUE;
    DestroyNotice();
    SendMessage(WM_TREE_FOCUS_CHANGED, 1, 0);
  } else {
    DestroyNotice();
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

void CFView_Folder::ReopenSelection(int) {}

// ---- Messages ---------------------------------------------------------------------------

LRESULT CFView_Folder::OnFolderTypeQuery(WPARAM, LPARAM) {
  return E_FAIL;  // no current tree to ask
}

LRESULT CFView_Folder::OnReload(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(wParam) == m_hWnd) AfxGetMainWnd()->PostMessage(WM_BROWSER_RELOAD, (WPARAM)m_hWnd, lParam);
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

// ---- Navigation -------------------------------------------------------------------------

BOOL CFView_Folder::GoUp() { return TRUE; }
BOOL CFView_Folder::GoBack() { return FALSE; }
BOOL CFView_Folder::GoForward() { return FALSE; }
void CFView_Folder::OpenFolderByPath() {}
BOOL CFView_Folder::CanGoUp() const { return FALSE; }
BOOL CFView_Folder::CanGoBack() const { return FALSE; }
BOOL CFView_Folder::CanGoForward() const { return FALSE; }

// ---- Menus and commands ------------------------------------------------------------------

void CFView_Folder::OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu) {
  if (bSysMenu || !pPopup) return;
  auto grey = [pPopup](UINT nID) { pPopup->EnableMenuItem(nID, MF_BYCOMMAND | MF_GRAYED); };
  switch (nIndex) {
    case 0:  // without a current tree its folder commands have nothing to act on
      for (UINT nID : {ID_FILE_NEW_FOLDER, ID_FILE_RENAME, ID_FILE_DELETE, ID_FILE_PROPERTIES}) grey(nID);
      break;
    case 1:
      for (UINT nID : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_FAVORITE_ADD}) grey(nID);
      break;
    case 2:
      if (CMenu* pTrees = pPopup->GetSubMenu(2)) {
        while (pTrees->GetMenuItemCount() > 0) pTrees->DeleteMenu(0, MF_BYPOSITION);
      }
      break;
    case 13:
      pPopup->EnableMenuItem(ID_GO_UP, MF_BYCOMMAND | (CanGoUp() ? MF_ENABLED : MF_GRAYED));
      pPopup->EnableMenuItem(ID_GO_BACK, MF_BYCOMMAND | (CanGoBack() ? MF_ENABLED : MF_GRAYED));
      pPopup->EnableMenuItem(ID_GO_FORWARD, MF_BYCOMMAND | (CanGoForward() ? MF_ENABLED : MF_GRAYED));
      grey(ID_GO_OPEN_PATH);
      break;
    default:
      break;
  }
}

BOOL CFView_Folder::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  BOOL bOurs = nID >= ID_FOLDER_COMMAND_FIRST && nID <= ID_FOLDER_COMMAND_LAST;
  for (UINT nMapped : kMappedCommands) bOurs = bOurs || nID == nMapped;
  if (bOurs && !pHandlerInfo) {
    // A folder command with no tree to carry it out: taken, nothing done.
    if (nCode == (int)CN_UPDATE_COMMAND_UI || nCode == CN_COMMAND) return TRUE;
  }
  return CFormView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
