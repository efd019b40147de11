#include "FView_Toolbar.h"

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <Widgetkit.h>

#include <algorithm>

#include <textkit/text.h>

#include "EntryEditDlg.h"
#include "ExternalToolManager.h"
#include "FaceClassifyRunner.h"
#include "MainFrame.h"
#include "MainWndMessages.h"
#include "OwnMessages.h"
#include "ui/ProgramFolder.h"
#include "RelayPlan.h"
#include "LauncherListWnd.h"
#include "ToolItemListWnd.h"

namespace {
const COLORREF kListText = RGB(0, 0x36, 0x63);
const COLORREF kListFrame = RGB(0x2D, 0x7C, 0x9C);
const COLORREF kSeparatorLight = RGB(0x51, 0x7F, 0x95);
const COLORREF kSeparatorDark = RGB(0x04, 0x32, 0x48);
const int kRowHeight = 75;
}  // namespace

CToolButtonInfo::~CToolButtonInfo() {
  delete pLauncher;
  delete pList;
  delete pButton;
}

IMPLEMENT_DYNCREATE(CFView_Toolbar, CFormView)

BEGIN_MESSAGE_MAP(CFView_Toolbar, CFormView)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_MESSAGE(WM_KEEP_BEFORE_EXIT, &CFView_Toolbar::OnKeepBeforeExit)
  ON_WM_SIZE()
  ON_WM_TIMER()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_DROPFILES()
  ON_MESSAGE(WM_TOOLBAR_SLIDE_COLLECT, &CFView_Toolbar::OnSlideCollect)
  ON_MESSAGE(WM_VIEW_MODE_CHANGED, &CFView_Toolbar::OnViewModeChanged)
  ON_MESSAGE(WM_TOOLBAR_CLOSE_EDITOR, &CFView_Toolbar::OnCloseEditor)
  ON_MESSAGE(WM_TOOLBAR_CLOSE_PICKER, &CFView_Toolbar::OnCloseImagePicker)
  ON_MESSAGE(WM_RELAYED_MESSAGE, &CFView_Toolbar::OnRelayedMessage)
  ON_MESSAGE(WM_TOOL_LIST_SELECT, &CFView_Toolbar::OnToolListSelect)
  ON_MESSAGE(WM_TOOLBAR_DRAG_ENTER, &CFView_Toolbar::OnItemListDragEnter)
  ON_MESSAGE(WM_TOOLBAR_PAGE_TOOL_CHECK, &CFView_Toolbar::OnPageToolCheck)
  ON_COMMAND_EX(ID_TB_SHOW_LAUNCHER_LIST, &CFView_Toolbar::OnToolbarCommand)
  ON_COMMAND_EX_RANGE(ID_TB_FOLDER_TREE, ID_TB_DISC_LIST + 26, &CFView_Toolbar::OnToolbarCommand)
END_MESSAGE_MAP()

CFView_Toolbar::CFView_Toolbar()
    : CFormView(IDD_TOOLBAR_PANE),
      m_nCurrentCommand(0),
      m_pToolPlugins(NULL),
      m_pTreePlugins(NULL),
      m_hRequester(NULL),
      m_pPpcPlugins(NULL),
      m_pPendingFiles(NULL),
      m_nLastToolState(0),
      m_bToolStateKnown(FALSE),
      m_pKeepAwake(NULL),
      m_nKeepAwakeStop(0),
      m_hKeepAwakeStop(NULL) {
  memset(m_treeEntries, 0, sizeof m_treeEntries);
  memset(m_toolEntries, 0, sizeof m_toolEntries);
}

CFView_Toolbar::~CFView_Toolbar() {
  for (CToolButtonInfo* p : m_buttons) delete p;
  delete m_pPendingFiles;
  delete m_pPpcPlugins;
  delete m_pTreePlugins;
  delete m_pToolPlugins;
}

CToolItemListWnd* CFView_Toolbar::MakeItemList(int nBase, const std::vector<toolbarrules::ListItem>& items) {
  const SIZE rowSize = {toolbarrules::kListWidth, toolbarrules::kListRowHeight};
  CToolItemListWnd* pList = new CToolItemListWnd;
  for (const toolbarrules::ListItem& item : items)
    pList->AddItem(IDB_TB_ITEM, IDB_TB_ITEM_PRESSED, IDB_TB_ITEM_HOT, IDB_TB_ITEM, item.command);
  pList->Create(CPoint(0, 0), rowSize, this, 1, nBase);
  for (const toolbarrules::ListItem& item : items) {
    CString strText = item.text.c_str();
    if (item.textId) strText.LoadString(item.textId);
    pList->SetItemLabel(item.command, strText);
  }
  pList->SetTextColor(kListText);
  pList->SetLineColor(kListText);
  pList->SetCheckColor(kListFrame);
  pList->SetAlignment(20);
  pList->SetRowSize(MeasureItemList(pList));
  return pList;
}

SIZE CFView_Toolbar::MeasureItemList(CToolItemListWnd* pList) {
  return toolbarrules::ItemListRowSize(pList->MeasureLabels());
}

CMainFrame* CFView_Toolbar::GetMainFrame() const { return dynamic_cast<CMainFrame*>(AfxGetMainWnd()); }

int CFView_Toolbar::OnCreate(LPCREATESTRUCT lpcs) {
  if (CFormView::OnCreate(lpcs) == -1) return -1;
  m_pToolPlugins = new CToolPluginManager();
  m_pTreePlugins = new CTreePluginManager();
  m_pPpcPlugins = new CPpcPluginManager();
  m_pFaceClassify = new CFaceClassifyRunner(this);
  CreateButtons();
  LayoutButtons();
  RegisterDropTargets();
  return 0;
}

void CFView_Toolbar::CreateButtons() {
  toolbarrules::Installed installed;
  for (int i = 0; i < m_pTreePlugins->GetEntryCount(); ++i) {
    CTreePluginEntry* pEntry = m_pTreePlugins->GetEntry(i);
    if (!m_pTreePlugins->HasOpenWindow(pEntry)) continue;
    if (installed.treePlugins.size() < toolbarrules::kMaxPluginItems)
      m_treeEntries[installed.treePlugins.size()] = pEntry;
    installed.treePlugins.push_back((LPCSTR)m_pTreePlugins->GetTitle(pEntry, 0));
  }
  for (int i = 0; i < m_pToolPlugins->GetEntryCount(); ++i) {
    CToolPluginEntry* pEntry = m_pToolPlugins->GetEntry(i);
    if (!m_pToolPlugins->HasOpenWindow(pEntry)) continue;
    if (installed.toolPlugins.size() < toolbarrules::kMaxPluginItems)
      m_toolEntries[installed.toolPlugins.size()] = pEntry;
    installed.toolPlugins.push_back((LPCSTR)m_pToolPlugins->GetTitle(pEntry, 0));
  }
  for (int i = 0; i < m_pPpcPlugins->GetCount(); ++i) installed.ppcPlugins.push_back((LPCSTR)m_pPpcPlugins->GetName(i));
  installed.locationPage = ProgramFileExists("PinSpotPage.prp");
  installed.imageEditor = ProgramFileExists("VxEdit.exe");
  installed.turnPicture = ProgramFileExists("TurnPicture.dll");
  installed.toolLibraries = toolbarrules::ToolLibraryItems([](const char* f) { return ProgramFileExists(f) != FALSE; });

  for (const toolbarrules::ButtonPlan& plan : toolbarrules::PlanButtons(installed)) {
    CToolButtonInfo* pInfo = new CToolButtonInfo;
    pInfo->nCommand = plan.command;
    pInfo->nListBase = plan.listBase;
    pInfo->nLabelId = plan.labelId;
    pInfo->nClassKind = plan.classKind;
    pInfo->nGroup = plan.group;
    pInfo->nAttachedKind = plan.attached;
    CBitmapButtonEx* pButton;
    if (plan.kind == toolbarrules::BUTTON_OWNED) {
      CBitmapButtonEX3* p = new CBitmapButtonEX3;
      // A plug-in list takes the choice itself: its button has no owner command.
      if (plan.attached != toolbarrules::ATTACHED_ITEM_LIST) p->SetOwnerCommand(this, plan.command);
      if (plan.classKind == 2) p->SetExtraColor(kListText);
      pButton = p;
    } else {
      pButton = new CBitmapButtonEx21;
    }
    pInfo->pButton = pButton;
    pButton->Create("", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 56, 56), this, plan.command);
    pButton->LoadBitmaps(plan.bitmaps[0], plan.bitmaps[1], plan.bitmaps[2], plan.bitmaps[3]);
    pButton->SetToolTipText(plan.tipId, TRUE);
    if (plan.acceptsFiles) static_cast<CBitmapButtonEX3*>(pButton)->SetAcceptFiles(TRUE);
    const SIZE rowSize = {toolbarrules::kListWidth, toolbarrules::kListRowHeight};
    if (plan.attached == toolbarrules::ATTACHED_ITEM_LIST) {
      pInfo->pList = MakeItemList(plan.listBase, plan.items);
    } else if (plan.attached == toolbarrules::ATTACHED_LAUNCHER) {
      CLauncherListWnd* pLauncher = new CLauncherListWnd;
      pLauncher->Create(CPoint(0, 0), rowSize, this, 1, plan.listBase);
      pLauncher->SetTextColor(kListText);
      pLauncher->SetLineColor(kListText);
      pLauncher->SetAlignment(20);
      pInfo->pLauncher = pLauncher;
    }
    m_buttons.push_back(pInfo);
  }
}

void CFView_Toolbar::LayoutButtons() {
  CRect rcClient;
  GetClientRect(&rcClient);
  std::vector<int> groups;
  for (CToolButtonInfo* p : m_buttons) groups.push_back(p->nGroup);
  std::vector<RECT> places = toolbarrules::LayoutButtons(groups, rcClient.Width());
  for (size_t i = 0; i < m_buttons.size(); ++i) {
    CToolButtonInfo* p = m_buttons[i];
    p->rcWide = p->rcNarrow = places[i];
    if (p->pButton && p->pButton->m_hWnd) p->pButton->MoveWindow(&p->rcWide, TRUE);
    if (p->pList) p->pList->SetPosition(toolbarrules::ListOrigin(p->rcWide, p->pList->GetRowSize().cx));
    if (p->pLauncher) p->pLauncher->SetPosition(toolbarrules::ListOrigin(p->rcWide));
  }
}

void CFView_Toolbar::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  SetScrollSizes(MM_TEXT, CSize(0, 0));  // the row is as high as the frame makes it
  ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
  if (CFrameWnd* pFrame = GetParentFrame()) pFrame->RecalcLayout();
  for (CToolButtonInfo* p : m_buttons)
    if (p->pButton->IsWindowEnabled()) p->pButton->ShowWindow(SW_SHOW);
  SetTimer(IDT_TB_BUTTON_STATES, 100, NULL);
}

// The collection and the person editor ask about unsaved work as they close.
void CFView_Toolbar::CloseOwnDialogs() {
  CloseSlideCollectDlg();
  CloseEntryEditorDlg(0);
  delete m_pFaceClassify;
  m_pFaceClassify = NULL;
}

LRESULT CFView_Toolbar::OnKeepBeforeExit(WPARAM wParam, LPARAM lParam) {
  if (CMTLIsOwnMessage(WM_KEEP_BEFORE_EXIT, wParam, lParam)) CloseOwnDialogs();
  return 0;
}

void CFView_Toolbar::OnDestroy() {
  CFormView::OnDestroy();
  KillTimer(IDT_TB_BUTTON_STATES);
  CloseOwnDialogs();
  StartKeepAwake(FALSE);
  KillTimer(IDT_TB_LIST_AUTOHIDE);
  RevokeDropTargets();
  for (CToolButtonInfo* p : m_buttons) delete p;
  m_buttons.clear();
  delete m_pPendingFiles;
  m_pPendingFiles = NULL;
}

void CFView_Toolbar::OnSize(UINT nType, int cx, int cy) {
  CFormView::OnSize(nType, cx, cy);
  if (AfxGetMainWnd()) LayoutButtons();
}

CToolButtonInfo* CFView_Toolbar::FindToolButton(int nKey, BOOL bByCommand) {
  for (CToolButtonInfo* p : m_buttons)
    if ((bByCommand ? p->nCommand : p->nListBase) == nKey) return p;
  return NULL;
}

void CFView_Toolbar::HideButtonToolTip(CToolButtonInfo* pInfo) {
  if (pInfo && pInfo->pButton) pInfo->pButton->PopToolTip();
}

BOOL CFView_Toolbar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
  if (pHdr && pHdr->code == TTN_SHOW) {
    // A tip that comes while its button's list is open goes beside the list, not over it.
    for (CToolButtonInfo* p : m_buttons) {
      CWnd* pList = p->pButton && (UINT_PTR)p->pButton->m_hWnd == pHdr->idFrom ? GetAttachedWindow(p) : NULL;
      if (!pList || !pList->IsWindowVisible()) continue;
      CRect rcButton, rcTip;
      p->pButton->GetWindowRect(&rcButton);
      ::GetWindowRect(pHdr->hwndFrom, &rcTip);
      MONITORINFO mi = {sizeof mi};
      ::GetMonitorInfoA(::MonitorFromRect(&rcButton, MONITOR_DEFAULTTONEAREST), &mi);
      const POINT at = toolbarrules::TipBesideList(rcButton, rcTip.Size(), mi.rcWork);
      ::SetWindowPos(pHdr->hwndFrom, NULL, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      *pResult = TRUE;
      return TRUE;
    }
  }
  return CFormView::OnNotify(wParam, lParam, pResult);
}

// ---- Painting -------------------------------------------------------------------------

BOOL CFView_Toolbar::OnEraseBkgnd(CDC*) { return TRUE; }

void CFView_Toolbar::OnDraw(CDC*) {}

void CFView_Toolbar::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  CDC mem;
  mem.CreateCompatibleDC(&dc);
  CBitmap left, middle, right;
  if (left.LoadBitmap(IDB_TB_BACK_LEFT) && middle.LoadBitmap(IDB_TB_BACK_MIDDLE) && right.LoadBitmap(IDB_TB_BACK_RIGHT)) {
    CBitmap* pOld = mem.SelectObject(&left);
    dc.BitBlt(0, 0, 143, 165, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(&middle);
    dc.SetStretchBltMode(COLORONCOLOR);
    dc.StretchBlt(143, 0, rc.Width() - 286, 165, &mem, 0, 0, 1, 165, SRCCOPY);
    mem.SelectObject(&right);
    dc.BitBlt(rc.Width() - 143, 0, 143, 165, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(pOld);
  } else {
    dc.FillSolidRect(&rc, RGB(12, 58, 90));
  }

  std::vector<RECT> places;
  std::vector<int> groups;
  for (CToolButtonInfo* p : m_buttons) {
    places.push_back(p->rcWide);
    groups.push_back(p->nGroup);
  }
  for (int x : toolbarrules::SeparatorXs(places, groups)) {
    CRect rcLight(x, 4, x + 1, rc.bottom - 4);
    dc.FillSolidRect(&rcLight, kSeparatorLight);
    CRect rcDark(x - 1, 3, x, rc.bottom - 5);
    dc.FillSolidRect(&rcDark, kSeparatorDark);
  }

  // Labels: white, 8 points, in the program's font, under the buttons.
  CString strFace;
  strFace.LoadString(IDS_UI_FONT_FACE);
  CFont labelFont;
  labelFont.CreateFont(-::MulDiv(8, dc.GetDeviceCaps(LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH,
                       strFace);
  CFont* pOldFont = dc.SelectObject(&labelFont);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(255, 255, 255));
  for (CToolButtonInfo* p : m_buttons) {
    if (!p->nLabelId) continue;
    CString strLabel;
    if (!strLabel.LoadString(p->nLabelId) || strLabel.IsEmpty()) continue;
    CRect rcText(p->rcWide.left, p->rcWide.bottom, p->rcWide.right + 1, kRowHeight);
    CRect rcMeasure(rcText);
    dc.DrawText(strLabel, &rcMeasure, DT_SINGLELINE | DT_CENTER | DT_CALCRECT | DT_NOPREFIX);
    if (rcMeasure.Width() < p->rcWide.Width()) rcText.right = p->rcWide.right;
    dc.DrawText(strLabel, &rcText, DT_SINGLELINE | DT_CENTER | DT_NOPREFIX | DT_NOCLIP);
  }
  dc.SelectObject(pOldFont);
}

// ---- Enabled states -------------------------------------------------------------------

void CFView_Toolbar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == IDT_TB_BUTTON_STATES) {
    KillTimer(IDT_TB_BUTTON_STATES);
    UpdateButtonStates();
    SetTimer(IDT_TB_BUTTON_STATES, 100, NULL);
    return;
  }
  if (nIDEvent == IDT_TB_LIST_AUTOHIDE) {
    OnListHideTimer();
    return;
  }
  CFormView::OnTimer(nIDEvent);
}

void CFView_Toolbar::UpdateButtonStates() {
  CMainFrame* pFrame = GetMainFrame();
  if (!pFrame) return;
  int nState = pFrame->GetExternalToolManager().GetState();
  if (!m_bToolStateKnown) {
    m_bToolStateKnown = TRUE;
    m_nLastToolState = nState;
  } else if (nState != m_nLastToolState) {
    // The browser hears only whether a slide show runs: other changes carry nothing new.
    if (nState == 4 || m_nLastToolState == 4) pFrame->PostMessage(WM_SLIDESHOW_EXISTS, nState == 4 ? 1 : 0, 0);
    m_nLastToolState = nState;
  }
  toolbarrules::Navigation nav = {pFrame->CanFolderGoUp(), pFrame->CanFolderGoBack(), pFrame->CanFolderGoForward()};
  for (CToolButtonInfo* p : m_buttons) {
    BOOL bNow = p->pButton->IsWindowEnabled();
    toolbarrules::EnableChange change = toolbarrules::EnableFor(nState, p->nCommand, p->bStoredEnable, bNow, nav);
    if (change == toolbarrules::ENABLE_KEEP) continue;
    BOOL bWant = change == toolbarrules::ENABLE_ON;
    if (bWant != bNow) p->pButton->EnableWindow(bWant);
  }
}

// The frame's forwarders: the 100 ms pass asks the folder pane itself.
void CFView_Toolbar::EnableUpButton(BOOL) {}
void CFView_Toolbar::EnableForwardButton(BOOL) {}
void CFView_Toolbar::EnableBackButton(BOOL) {}

// ---- Window procedure -----------------------------------------------------------------

LRESULT CFView_Toolbar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // A pointer that only a sender of this process may bring (OwnMessages.h).
  if (ownmsg::IsForeign(message, wParam, lParam)) return 0;
  if (message == WM_TOOLBAR_BUTTON_STATES) {
    for (CToolButtonInfo* p : m_buttons)
      p->bStoredEnable = toolbarrules::StoredStateAfter(p->nCommand, p->bStoredEnable, (DWORD)wParam, (DWORD)lParam);
  } else if (message == WM_TOOLBAR_FILE_LIST_REQUEST) {
    m_hRequester = (HWND)wParam;
    if (CWnd* pMain = AfxGetMainWnd()) pMain->PostMessage(WM_BROWSER_EXPORT_REQUEST, wParam, 0);
  } else if (message == WM_COPYDATA && m_hRequester) {
    // The requester may be another program's window: it gets the usual wait, no more.
    HWND hRequester = m_hRequester;
    m_hRequester = NULL;
    if (::IsWindow(hRequester) && hRequester != m_hWnd)
      CMTLForwardCopyData(hRequester, m_hWnd, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
  }
  if (toolbarrules::IsRelayedMessage(message)) {
    RelayRecord* pRecord = new RelayRecord{message, wParam, lParam};
    return CFormView::WindowProc(WM_RELAYED_MESSAGE, (WPARAM)pRecord, 0);
  }
  return CFormView::WindowProc(message, wParam, lParam);
}

LRESULT CFView_Toolbar::OnRelayedMessage(WPARAM wParam, LPARAM) {
  delete reinterpret_cast<RelayRecord*>(wParam);
  return 0;
}

// ---- Pending files --------------------------------------------------------------------

void CFView_Toolbar::OnDropFiles(HDROP hDrop) {
  delete m_pPendingFiles;
  m_pPendingFiles = new CGFileInfoList(10);
  UINT n = ::DragQueryFileA(hDrop, 0xFFFFFFFF, NULL, 0);
  for (UINT i = 0; i < n; ++i) {
    char sz[520] = "";
    if (!::DragQueryFileA(hDrop, i, sz, sizeof sz)) continue;
    CGFILEINFO info;
    info.path = sz;
    m_pPendingFiles->AddTail(info);
  }
  ::DragFinish(hDrop);
}

CGFileInfoList* CFView_Toolbar::TakePendingFiles() {
  CGFileInfoList* p = m_pPendingFiles;
  m_pPendingFiles = NULL;
  return p;
}

BOOL CFView_Toolbar::TakePendingFileListText(CString& strText) {
  strText.Empty();
  CGFileInfoList* pFiles = TakePendingFiles();
  if (!pFiles) return FALSE;
  strText = "0|0|0|";
  for (POSITION pos = pFiles->GetHeadPosition(); pos;) strText += pFiles->GetNext(pos).path + "|1|0||";
  delete pFiles;
  return TRUE;
}


