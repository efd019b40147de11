// The main frame: creation, the pane tree, its layout and sizes, and the forwarders that
// the panes call.
#include "MainFrame.h"

#include <BrowserBaseView.h>
#include <BrowserSubView.h>
#include <DynamicSplitterWnd.h>
#include <EnlargedImageView.h>
#include <FocusInfoView.h>
#include <IconView.h>
#include <Kitlib2/Kitlib2.h>
#include <VxDatabase.h>
#include <VxDocument.h>
#include <VxResourceIds.h>

#include "FView_Export.h"
#include "FView_Folder.h"
#include "FView_Toolbar.h"
#include "FramePlacement.h"
#include "MainWndMessages.h"
#include "ui/ProgramFolder.h"

#ifndef NOTIFY_FOR_THIS_SESSION
#define NOTIFY_FOR_THIS_SESSION 0
#endif

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
  // creation and layout
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_SIZING()
  ON_WM_GETMINMAXINFO()
  ON_WM_HELPINFO()
  // menus and prompts
  ON_WM_INITMENUPOPUP()
  ON_WM_MENUSELECT()
  ON_MESSAGE(WM_SETMESSAGESTRING, &CMainFrame::OnSetMessageString)
  // private messages of the panes, the browser and outside programs
  ON_MESSAGE(WM_CHILD_WINDOW_CREATED, &CMainFrame::OnChildWindowCreated)
  ON_MESSAGE(WM_RELAYED_MESSAGE, &CMainFrame::OnRelayedMessage)
  ON_MESSAGE(WM_CARD_CHANGED, &CMainFrame::OnCardChanged)
  ON_MESSAGE(WM_CALENDAR_FOLD, &CMainFrame::OnCalendarFold)
  ON_MESSAGE(WM_VIEW_MODE_CHANGED, &CMainFrame::OnViewModeChanged)
  ON_MESSAGE(WM_SETTINGS_CHANGED, &CMainFrame::OnSettingsChanged)
  ON_MESSAGE(WM_CLOSE_SLIDE_COLLECT, &CMainFrame::OnCloseSlideCollect)
  ON_MESSAGE(WM_SET_SLIDESHOW_MODE, &CMainFrame::OnSetSlideShowMode)
  ON_MESSAGE(WM_QUERY_SLIDE_COLLECT, &CMainFrame::OnQuerySlideCollect)
  ON_MESSAGE(WM_QUERY_ENTRY_EDITOR, &CMainFrame::OnQueryEntryEditor)
  ON_MESSAGE(WM_TREE_FOLDER_DELETED, &CMainFrame::OnTreeFolderDeleted)
  // timers and devices
  ON_WM_TIMER()
  ON_WM_DEVICECHANGE()
  // closing
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_WM_ENABLE()
  // menu commands the frame carries out itself (MainFrameCommands.cpp)
  ON_COMMAND(ID_FILE_PRINT_PHOTOS, &CMainFrame::OnFilePrintPhotos)
  ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_PHOTOS, &CMainFrame::OnUpdateFrameCommand)
  ON_COMMAND(ID_FILE_PRINT_SETUP_EXPORT, &CMainFrame::OnFilePrintSetupExport)
  ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_SETUP_EXPORT, &CMainFrame::OnUpdateFrameCommand)
  ON_COMMAND(ID_VIEW_TOOLBAR_PANE, &CMainFrame::OnViewToolbarPane)
  ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR_PANE, &CMainFrame::OnUpdateFrameCommand)
  ON_COMMAND(ID_VIEW_FOLDER_PANE, &CMainFrame::OnViewFolderPane)
  ON_UPDATE_COMMAND_UI(ID_VIEW_FOLDER_PANE, &CMainFrame::OnUpdateFrameCommand)
  ON_COMMAND(ID_VIEW_EXPORT_PANE, &CMainFrame::OnViewExportPane)
  ON_UPDATE_COMMAND_UI(ID_VIEW_EXPORT_PANE, &CMainFrame::OnUpdateFrameCommand)
  ON_COMMAND(ID_VIEW_REFRESH, &CMainFrame::OnViewRefresh)
  ON_UPDATE_COMMAND_UI(ID_VIEW_REFRESH, &CMainFrame::OnUpdateFrameCommand)
  ON_COMMAND(ID_GO_UP, &CMainFrame::OnGoUp)
  ON_UPDATE_COMMAND_UI(ID_GO_UP, &CMainFrame::OnUpdateGoUp)
  ON_COMMAND(ID_GO_BACK, &CMainFrame::OnGoBack)
  ON_UPDATE_COMMAND_UI(ID_GO_BACK, &CMainFrame::OnUpdateGoBack)
  ON_COMMAND(ID_GO_FORWARD, &CMainFrame::OnGoForward)
  ON_UPDATE_COMMAND_UI(ID_GO_FORWARD, &CMainFrame::OnUpdateGoForward)
  ON_COMMAND(ID_GO_OPEN_PATH, &CMainFrame::OnGoOpenPath)
  ON_UPDATE_COMMAND_UI(ID_GO_OPEN_PATH, &CMainFrame::OnUpdateFrameCommand)
  ON_COMMAND(ID_TOOLS_DB_SEARCH, &CMainFrame::OnToolsDbSearch)
  ON_UPDATE_COMMAND_UI(ID_TOOLS_DB_SEARCH, &CMainFrame::OnUpdateFrameCommand)
  ON_COMMAND_RANGE(ID_SLIDESHOW_PLAY, ID_SLIDESHOW_PLAY_ALL, &CMainFrame::OnSlideShowPlay)
  ON_UPDATE_COMMAND_UI_RANGE(ID_SLIDESHOW_PLAY, ID_SLIDESHOW_PLAY_ALL, &CMainFrame::OnUpdateFrameCommand)
  ON_COMMAND(ID_HELP_MANUAL, &CMainFrame::OnHelpManual)
  ON_UPDATE_COMMAND_UI(ID_HELP_MANUAL, &CMainFrame::OnUpdateFrameCommand)
  ON_COMMAND(ID_HELP_MAP_SITE, &CMainFrame::OnHelpMapSite)
  ON_UPDATE_COMMAND_UI(ID_HELP_MAP_SITE, &CMainFrame::OnUpdateFrameCommand)
  ON_COMMAND(ID_HELP_SUPPORT_SITE, &CMainFrame::OnHelpSupportSite)
  ON_UPDATE_COMMAND_UI(ID_HELP_SUPPORT_SITE, &CMainFrame::OnUpdateFrameCommand)
  ON_COMMAND(ID_HELP_GUIDE, &CMainFrame::OnHelpGuide)
  ON_UPDATE_COMMAND_UI(ID_HELP_GUIDE, &CMainFrame::OnUpdateFrameCommand)
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
    : m_bClientCreated(FALSE),
      m_bPanesRegistered(FALSE),
      m_bStartupDone(FALSE),
      m_nStartupPart(STARTUP_WAIT_PANES),
      m_nStartupPutOffs(0),
      m_bCalendarFold(FALSE),
      m_nSlideShowMode(0),
      m_bNormalStart(FALSE),
      m_bDeviceFollowUp(FALSE),
      m_pBrowserSplitter(new CDynamicSplitterWnd(0)),
      m_pViewSplitter(new CDynamicSplitterWnd(0)),
      m_pDetailSplitter(NULL),
      m_pDbFileObject(NULL),
      m_nSavedPaneId(0),
      m_nSavedPaneStyle(0),
      m_nSavedPaneWidth(-1),
      m_bMenuTracking(FALSE),
      m_hWtsLibrary(LoadSystemLibrary("Wtsapi32.dll")),
      m_bSessionNotify(FALSE),
      m_pKeepAwakeThread(NULL),
      m_hStopKeepAwake(NULL),
      m_nLastWidth(-1),
      m_nLastLeft(INT_MIN),
      m_hMasterViewMenu(NULL),
      m_cardScanner(FALSE),
      m_nCloseRetries(0),
      m_bKeptBeforeExit(FALSE),
      m_bCalendarActive(FALSE),
      m_bFolderShownBefore(FALSE) {
  RegisterRoutedCommands();
}

CMainFrame::~CMainFrame() {
  CMTLTerminateVideoCodecPlugin();
  // The detail splitter belongs to the view splitter, which deletes it.
  delete m_pViewSplitter;
  delete m_pBrowserSplitter;
  if (m_hMasterViewMenu) ::DestroyMenu(m_hMasterViewMenu);
  if (m_hWtsLibrary) ::FreeLibrary(m_hWtsLibrary);
}

// ---- Creation -----------------------------------------------------------------------------

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
  if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
  cs.style &= ~FWS_ADDTOTITLE;
  int nState = CMGetProfileInt("", "WindowShowState", 3);
  CRect rcStored;
  rcStored.top = CMGetProfileInt("", "WindowNormalPosTop", 0);
  rcStored.left = CMGetProfileInt("", "WindowNormalPosLeft", 0);
  rcStored.bottom = CMGetProfileInt("", "WindowNormalPosBottom", FRAME_MIN_HEIGHT);
  rcStored.right = CMGetProfileInt("", "WindowNormalPosRight", FRAME_MIN_WIDTH);
  CRect rcWork;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
  CRect rc = ClampFramePlacement(rcStored, rcWork);
  cs.x = rc.left;
  cs.y = rc.top;
  cs.cx = rc.Width();
  cs.cy = rc.Height();
  if (CWinApp* pApp = AfxGetApp()) pApp->m_nCmdShow = FrameShowCommand(nState);
  return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs) {
  // The panes report ready as they are made (below): a report of a run that was closed
  // before its start-up completed must not count for this one.
  for (LPCSTR pszFlag : {EXESTATE_FOLDER_CREATED, EXESTATE_BROWSER_CREATED, EXESTATE_EXPORT_CREATED})
    CMWriteProfileInt(EXESTATE_SECTION, pszFlag, 0);
  if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
  CString strTitle = CMGetProfileString("ProductInfo", "WindowTitle", "");
  if (!strTitle.IsEmpty()) SetWindowText(strTitle);

  if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR)) return -1;
  SetModeStatusText();
  if (CMGetProfileInt("", "StatusBarVisible", 1) == 0) m_wndStatusBar.ShowWindow(SW_HIDE);
  RecalcLayout();

  if (m_hWtsLibrary) {
    typedef BOOL(WINAPI * RegisterFn)(HWND, DWORD);
    if (RegisterFn pfn = reinterpret_cast<RegisterFn>(::GetProcAddress(m_hWtsLibrary, "WTSRegisterSessionNotification")))
      m_bSessionNotify = pfn(m_hWnd, NOTIFY_FOR_THIS_SESSION);
  }
  StartKeepAwake();
  CMTLInitializeVideoCodecPlugin();

  // The browser starts with the icon view alone.
  m_pViewSplitter->SetActivePane(0, 0);
  m_pViewSplitter->HideColumn(1);

  m_toolManager.SetMainWnd(m_hWnd);
  m_toolManager.LoadToolList();
  m_toolManager.SetCardFolderQuery(&CMainFrame::ShowsCardFolder, this);

  m_pDbFileObject = GetDBFileObject();
  if (m_pDbFileObject) m_pDbFileObject->Open();

  // A classification of an earlier run that ended without clearing its flag must not
  // keep this run from closing: nothing of this run classifies yet.
  if (CMGetProfileInt("VxClassify", "Wait", 0) != 0) CMWriteProfileInt("VxClassify", "Wait", 0);
  return 0;
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  CRect rcClient;
  GetClientRect(&rcClient);
  const DWORD dwStyle = WS_CHILD | WS_VISIBLE;

  // Row splitter: the toolbar over everything else.
  if (!m_wndRowSplitter.CreateStatic(this, 2, 1, dwStyle, AFX_IDW_PANE_FIRST)) return FALSE;
  if (!m_wndRowSplitter.CreateView(0, 0, RUNTIME_CLASS(CFView_Toolbar), CSize(1024, MAINFRAME_TOOLBAR_HEIGHT), pContext))
    return FALSE;
  m_wndRowSplitter.SetRowInfo(0, MAINFRAME_TOOLBAR_HEIGHT, MAINFRAME_TOOLBAR_HEIGHT);

  // Export splitter: everything left of the export pane | the export pane.
  CString strTip;
  m_wndExportSplitter.SetSplitterSize(15, 12);
  m_wndExportSplitter.SetSplitterGap(15, 12);
  strTip.LoadString(ID_VIEW_EXPORT_PANE);
  m_wndExportSplitter.SetToolTipText(strTip);
  m_wndExportSplitter.SetRightButton(TRUE);
  if (!m_wndExportSplitter.CreateStatic(&m_wndRowSplitter, 1, 2, dwStyle, m_wndRowSplitter.IdFromRowCol(1, 0)))
    return FALSE;
  m_wndExportSplitter.SetColumnInfo(0, std::max(0, (int)rcClient.Width() - MAINFRAME_EXPORT_WIDTH), 0);

  // Folder splitter: the folder pane | the browser area.
  m_wndFolderSplitter.SetSplitterSize(15, 12);
  m_wndFolderSplitter.SetSplitterGap(15, 12);
  strTip.LoadString(ID_VIEW_FOLDER_PANE);
  m_wndFolderSplitter.SetToolTipText(strTip);
  m_wndFolderSplitter.SetFixed(FALSE);
  m_wndFolderSplitter.SetLeftButton(TRUE);
  if (!m_wndFolderSplitter.CreateStatic(&m_wndExportSplitter, 1, 2, dwStyle, m_wndExportSplitter.IdFromRowCol(0, 0)))
    return FALSE;
  if (!m_wndFolderSplitter.CreateView(0, 0, RUNTIME_CLASS(CFView_Folder), CSize(MAINFRAME_FOLDER_WIDTH, 0), pContext))
    return FALSE;
  CFormView* pFolder = static_cast<CFormView*>(m_wndFolderSplitter.GetPane(0, 0));
  int nFolderForm = pFolder->GetTotalSize().cx;
  m_wndFolderSplitter.SetColumnInfo(0, nFolderForm + 50, 30);
  m_wndFolderSplitter.SetFoldMemory(nFolderForm + 50, 0);

  // Browser area: the strip over the base view.
  CSize sizeStrip(545, 36), sizeBase(126, 500);
  if (!m_pBrowserSplitter->Create(&m_wndFolderSplitter, RUNTIME_CLASS(CBrowserSubView), &sizeStrip,
                                  RUNTIME_CLASS(CBrowserBaseView), &sizeBase, pContext, false,
                                  m_wndFolderSplitter.IdFromRowCol(0, 1)))
    return FALSE;
  m_pBrowserSplitter->SetSplitterBarSize(0, 0);
  m_pBrowserSplitter->SetResizeEnable(false);

  // Inside the base view: the icon view beside the enlarged view over the focus information.
  CWnd* pBase = m_pBrowserSplitter->GetPane(1, 0);
  CSize sizeIcon(126, 500), sizeEnlarged(400, 500), sizeFocus(400, 200);
  if (!pBase || !m_pViewSplitter->Create(pBase, RUNTIME_CLASS(CIconView), &sizeIcon, NULL, NULL, pContext, true,
                                         AFX_IDW_PANE_FIRST))
    return FALSE;
  m_pViewSplitter->SetResizeEnable(false);
  m_pDetailSplitter = m_pViewSplitter->AddSubDivision(0, 1, RUNTIME_CLASS(CEnlargedImageView), &sizeEnlarged,
                                                      RUNTIME_CLASS(CFocusInfoView), &sizeFocus, pContext, false);
  if (!m_pDetailSplitter) return FALSE;
  m_pDetailSplitter->SplitterWndSize(270, 200);
  m_pDetailSplitter->SetResizeEnable(false);

  // The export pane.
  if (!m_wndExportSplitter.CreateView(0, 1, RUNTIME_CLASS(CFView_Export), CSize(MAINFRAME_EXPORT_WIDTH, 0), pContext))
    return FALSE;
  CFormView* pExport = static_cast<CFormView*>(m_wndExportSplitter.GetPane(0, 1));
  int nExportForm = pExport->GetTotalSize().cx;
  m_wndExportSplitter.SetColumnInfo(1, nExportForm, 0);
  m_wndExportSplitter.SetFoldMemory(nExportForm, 10);

  m_bClientCreated = TRUE;
  SetTimer(MAINFRAME_TIMER_CARD, 1000, NULL);
  return TRUE;
}

// ---- Panes --------------------------------------------------------------------------------

CFView_Toolbar* CMainFrame::GetToolbarPane() const {
  return m_wndRowSplitter.m_hWnd ? dynamic_cast<CFView_Toolbar*>(m_wndRowSplitter.GetPane(0, 0)) : NULL;
}

CFView_Folder* CMainFrame::GetFolderPane() const {
  return m_wndFolderSplitter.m_hWnd ? dynamic_cast<CFView_Folder*>(m_wndFolderSplitter.GetPane(0, 0)) : NULL;
}

CFView_Export* CMainFrame::GetExportPane() const {
  return m_wndExportSplitter.m_hWnd ? dynamic_cast<CFView_Export*>(m_wndExportSplitter.GetPane(0, 1)) : NULL;
}

CWnd* CMainFrame::GetBrowserWindow() const {
  return m_pViewSplitter && m_pViewSplitter->m_hWnd ? m_pViewSplitter->GetPane(0, 0) : NULL;
}

CBrowserSubView* CMainFrame::GetSubView() const {
  if (!m_pBrowserSplitter || !m_pBrowserSplitter->m_hWnd) return NULL;
  // Pane (0, 0), or the parked pane while the strip's row is hidden.
  for (CWnd* pChild = m_pBrowserSplitter->GetWindow(GW_CHILD); pChild; pChild = pChild->GetNextWindow())
    if (CBrowserSubView* pStrip = dynamic_cast<CBrowserSubView*>(pChild)) return pStrip;
  return NULL;
}

CVxDocument* CMainFrame::GetVxDocument() const {
  CWnd* pBrowser = GetBrowserWindow();
  CView* pView = pBrowser ? dynamic_cast<CView*>(pBrowser) : NULL;
  return pView ? dynamic_cast<CVxDocument*>(pView->GetDocument()) : NULL;
}

CBrowserDocument* CMainFrame::GetBrowserDocument() const {
  CVxDocument* pDoc = GetVxDocument();
  return pDoc ? pDoc->GetBrowser() : NULL;
}

// ---- Layout -------------------------------------------------------------------------------

void CMainFrame::OnSize(UINT nType, int cx, int cy) {
  if (!m_bClientCreated) {
    CFrameWnd::OnSize(nType, cx, cy);
    return;
  }
  if (!m_bPanesRegistered) {
    if (CWnd* pBrowser = GetBrowserWindow()) m_toolManager.SetToolWindow(TOOL_BROWSER, pBrowser->m_hWnd);
    if (CWnd* pFolder = GetFolderPane()) m_toolManager.SetToolWindow(TOOL_FOLDER_PANE, pFolder->m_hWnd);
    if (CWnd* pExport = GetExportPane()) m_toolManager.SetToolWindow(TOOL_EXPORT_PANE, pExport->m_hWnd);
    if (CWnd* pToolbar = GetToolbarPane()) m_toolManager.SetToolWindow(TOOL_TOOLBAR_PANE, pToolbar->m_hWnd);
    LoadSplitterSizes();
    StartStartupWait();
    m_bPanesRegistered = TRUE;
  }
  if (nType != SIZE_MINIMIZED && !IsIconic() && IsWindowVisible() && cx != m_nLastWidth && cx > 0 && cy > 0) {
    if (m_pDetailSplitter && m_pDetailSplitter->m_hWnd) m_pDetailSplitter->SetRowInfo(0, std::max(100, cy - 322), 0);
    m_wndExportSplitter.SetColumnInfo(0, std::max(0, cx - MAINFRAME_EXPORT_WIDTH), 0);
    int nFolder, nBrowser, nMin;
    m_wndFolderSplitter.GetColumnInfo(0, nFolder, nMin);
    m_wndFolderSplitter.GetColumnInfo(1, nBrowser, nMin);
    int nNew = FitFolderColumn(nFolder, nBrowser, 498, 568);
    if (nNew >= 0) m_wndFolderSplitter.SetColumnInfo(0, nNew, 0);
    m_wndExportSplitter.RecalcLayout();
    m_wndFolderSplitter.RecalcLayout();
  }
  SetRedraw(TRUE);
  CFrameWnd::OnSize(nType, cx, cy);
  m_nLastWidth = cx;
}

void CMainFrame::OnSizing(UINT fwSide, LPRECT pRect) {
  BOOL bLeftEdge = fwSide == WMSZ_LEFT || fwSide == WMSZ_TOPLEFT || fwSide == WMSZ_BOTTOMLEFT;
  if (bLeftEdge && pRect->left != m_nLastLeft && m_wndExportSplitter.m_hWnd) {
    SetRedraw(FALSE);
    CPoint ptRight(pRect->right, pRect->top);
    ScreenToClient(&ptRight);
    m_wndExportSplitter.SetColumnInfo(0, std::max(0, (int)ptRight.x - 88), 0);
    m_wndExportSplitter.RecalcLayout();
    CFrameWnd::OnSizing(fwSide, pRect);
    SetRedraw(TRUE);
  } else {
    CFrameWnd::OnSizing(fwSide, pRect);
  }
  m_nLastLeft = pRect->left;
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  CRect rcWork;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
  HWND hPlayer = m_toolManager.GetToolWindow(TOOL_SLIDESHOW);
  BOOL bSlideShow = hPlayer && ::IsWindow(hPlayer) && CMGetProfileInt("ExeState", "SlideShow_Created", 0) == 1;
  FrameTrackingLimits(rcWork, bSlideShow, lpMMI->ptMaxSize.y, &lpMMI->ptMinTrackSize, &lpMMI->ptMaxTrackSize);
}

BOOL CMainFrame::OnHelpInfo(HELPINFO* pHelpInfo) { return CFrameWnd::OnHelpInfo(pHelpInfo); }

// ---- Sizes in the profile -----------------------------------------------------------------

void CMainFrame::SaveSplitterSizes() {
  int nCur, nMin;
  if (m_wndRowSplitter.m_hWnd) {
    m_wndRowSplitter.GetRowInfo(0, nCur, nMin);
    CMWriteProfileInt("", "ToolbarViewRowInfoIdealSize", nCur);
    CMWriteProfileInt("", "ToolbarViewRowInfoMinSize", nMin);
  }
  if (m_wndFolderSplitter.m_hWnd && !m_bCalendarFold) {
    m_wndFolderSplitter.GetColumnInfo(0, nCur, nMin);
    CMWriteProfileInt("", "FolderViewColInfoIdealSize", nCur);
    CMWriteProfileInt("", "FolderViewColInfoMinSize", nMin);
  }
  if (m_wndExportSplitter.m_hWnd) {
    m_wndExportSplitter.GetColumnInfo(1, nCur, nMin);
    CMWriteProfileInt("", "ExportViewColInfoIdealSize", nCur);
    CMWriteProfileInt("", "ExportViewColInfoMinSize", nMin);
  }
}

void CMainFrame::LoadSplitterSizes() {
  if (!m_wndRowSplitter.m_hWnd || !m_wndFolderSplitter.m_hWnd || !m_wndExportSplitter.m_hWnd) return;
  int nIdeal = CMGetProfileInt("", "ToolbarViewRowInfoIdealSize", MAINFRAME_TOOLBAR_HEIGHT);
  int nMin = CMGetProfileInt("", "ToolbarViewRowInfoMinSize", 0);
  if (nIdeal <= MAINFRAME_TOOLBAR_HEIGHT - 1) nIdeal = MAINFRAME_TOOLBAR_HEIGHT;
  if (nMin <= MAINFRAME_TOOLBAR_HEIGHT - 1) nMin = MAINFRAME_TOOLBAR_HEIGHT;
  m_wndRowSplitter.SetRowInfo(0, nIdeal, nMin);
  m_wndRowSplitter.RecalcLayout();

  m_wndFolderSplitter.SetColumnInfo(0, CMGetProfileInt("", "FolderViewColInfoIdealSize", MAINFRAME_FOLDER_WIDTH),
                                    CMGetProfileInt("", "FolderViewColInfoMinSize", 0));
  m_wndExportSplitter.SetColumnInfo(1, CMGetProfileInt("", "ExportViewColInfoIdealSize", MAINFRAME_EXPORT_WIDTH),
                                    CMGetProfileInt("", "ExportViewColInfoMinSize", 0));
  m_wndExportSplitter.RecalcLayout();
  m_wndFolderSplitter.RecalcLayout();

  // The browser column keeps its room: the folder column gives way, twice if need be.
  static const int kSteps[][2] = {{500, 568}, {484, 498}};
  for (const auto& step : kSteps) {
    int nFolder, nBrowser;
    m_wndFolderSplitter.GetColumnInfo(0, nFolder, nMin);
    m_wndFolderSplitter.GetColumnInfo(1, nBrowser, nMin);
    int nNew = FitFolderColumn(nFolder, nBrowser, step[0], step[1]);
    if (nNew < 0) continue;
    m_wndFolderSplitter.SetColumnInfo(0, nNew, 0);
    m_wndExportSplitter.RecalcLayout();
    m_wndFolderSplitter.RecalcLayout();
  }
}

void CMainFrame::SetModeStatusText() {
  UINT nText = 0;
  switch (CMGetProfileInt("DepthViewer", "Mode", 1)) {
    case 1: nText = IDS_SHELL_MODE_THUMBNAILS; break;
    case 3: nText = IDS_SHELL_MODE_FILE_INFO; break;
    case 4: nText = IDS_SHELL_MODE_CAMERA_INFO; break;
    case 5: nText = IDS_SHELL_MODE_FOCUS; break;
    case 6: nText = IDS_ZOOM; break;
    default: break;
  }
  CString strText;
  if (nText) strText.LoadString(nText);
  int nPane = m_wndStatusBar.CommandToIndex(ID_INDICATOR_SELECTION);
  if (nPane >= 0) m_wndStatusBar.SetPaneText(nPane, strText);
}

// ---- Forwarders ---------------------------------------------------------------------------

void CMainFrame::RefreshFolderPane() {
  if (CFView_Folder* pFolder = GetFolderPane()) pFolder->RefreshWithNotice(this);
}

void CMainFrame::EnableFolderUpButton(BOOL bEnable) {
  if (CFView_Toolbar* pToolbar = GetToolbarPane()) pToolbar->EnableUpButton(bEnable);
}

void CMainFrame::EnableFolderForwardButton(BOOL bEnable) {
  if (CFView_Toolbar* pToolbar = GetToolbarPane()) pToolbar->EnableForwardButton(bEnable);
}

void CMainFrame::EnableFolderBackButton(BOOL bEnable) {
  if (CFView_Toolbar* pToolbar = GetToolbarPane()) pToolbar->EnableBackButton(bEnable);
}

int CMainFrame::ReleaseToolbarSlideCollect() {
  CFView_Toolbar* pToolbar = GetToolbarPane();
  return pToolbar ? pToolbar->CloseSlideCollectDlg() : 0;
}

BOOL CMainFrame::CanFolderGoUp() {
  CFView_Folder* pFolder = GetFolderPane();
  return pFolder && pFolder->CanGoUp();
}

BOOL CMainFrame::CanFolderGoForward() {
  CFView_Folder* pFolder = GetFolderPane();
  return pFolder && pFolder->CanGoForward();
}

BOOL CMainFrame::CanFolderGoBack() {
  CFView_Folder* pFolder = GetFolderPane();
  return pFolder && pFolder->CanGoBack();
}

BOOL CMainFrame::IsSlideCollectActive() {
  CFView_Toolbar* pToolbar = GetToolbarPane();
  return pToolbar && pToolbar->IsSlideCollectActive();
}

BOOL CMainFrame::IsEntryEditorActive() {
  CFView_Toolbar* pToolbar = GetToolbarPane();
  return pToolbar && pToolbar->IsEntryEditorActive();
}
