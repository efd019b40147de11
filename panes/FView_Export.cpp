#include "FView_Export.h"

#include <Kitlib2/Kitlib2.h>
#include <VxDocument.h>
#include <VxResourceIds.h>

#include <shlwapi.h>

#include "ExportMenuWnd.h"
#include "ExportRules.h"
#include "MainWndMessages.h"
#include "PaneText.h"

namespace {
const COLORREF kBackground = RGB(10, 58, 82);

}  // namespace

IMPLEMENT_DYNCREATE(CFView_Export, CFormView)

BEGIN_MESSAGE_MAP(CFView_Export, CFormView)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_DESTROY()
  ON_MESSAGE(WM_KEEP_BEFORE_EXIT, &CFView_Export::OnKeepBeforeExit)
  ON_WM_SIZE()
  ON_WM_CTLCOLOR()
  ON_WM_DROPFILES()
  ON_COMMAND_RANGE(CFView_Export::TILE_COMMAND_FIRST, CFView_Export::TILE_COMMAND_LAST, &CFView_Export::OnTileCommand)
  ON_MESSAGE(WM_EXPORT_BUSY, &CFView_Export::OnExportBusyEnd)
  ON_MESSAGE(WM_EXPORT_FINISHED, &CFView_Export::OnExportFinished)
END_MESSAGE_MAP()

CFView_Export::CFView_Export() : CFormView(IDD_EXPORT_PANE), m_nFirstId(0), m_nLastScope(0), m_pPrintSettings(NULL) {}
CFView_Export::~CFView_Export() {
  DestroyTiles();
  delete m_pPrintSettings;
}

void CFView_Export::OnInitialUpdate() {
  CMWriteProfileInt("VxExport", "MailModal", 0);
  CFormView::OnInitialUpdate();
  SetScrollSizes(MM_TEXT, CSize(0, 0));
  m_manager.Load(m_strPluginFolder.IsEmpty() ? NULL : (LPCSTR)m_strPluginFolder);
  BuildTiles();
  // The frame's start-up waits for this (with the folder pane's and the browser's).
  CMWriteProfileInt(EXESTATE_SECTION, EXESTATE_EXPORT_CREATED, 1);
  CMWriteProfileInt("ExportMenu", "Modal", 0);
  CMTLAllowSetForegroundWindow();
  LoadPrinterSettings();
}

void CFView_Export::BuildTiles() {
  DestroyTiles();
  if (m_manager.GetEntryCount() == 0) return;
  CString strMenuKey = CMGetKeyPosition() + "\\ExportMenu";
  ::SHDeleteKeyA(HKEY_CURRENT_USER, strMenuKey);
  std::vector<int> orders(m_manager.GetEntryCount(), 0);
  std::vector<bool> have(orders.size(), false);
  std::vector<CExportPluginInfo> infos(orders.size());
  for (int i = 0; i < (int)orders.size() && i < exportpane::kMaxTiles; ++i) {
    if (m_manager.GetInfo(i, &infos[i]) < 0) continue;
    orders[i] = infos[i].nOrder;
    have[i] = true;
    CMWriteProfileInt(CString("ExportMenu\\") + infos[i].szName, "index", i);
  }
  std::vector<int> plan = exportpane::PlanTiles(orders, have);
  for (int nEntry : plan) {
    CExportMenuWnd* pWnd = new CExportMenuWnd;
    POINT origin = exportpane::TileOrigin((int)m_tiles.size());
    if (!pWnd->Create(origin, infos[nEntry], this, exportpane::kFirstTileCommand + nEntry)) {
      delete pWnd;
      continue;
    }
    m_tiles.push_back({pWnd, exportpane::kFirstTileCommand + nEntry, orders[nEntry], nEntry});
  }
  SetScrollSizes(MM_TEXT, CSize(0, 0));
}

void CFView_Export::DestroyTiles() {
  for (Tile& t : m_tiles) delete t.pWnd;
  m_tiles.clear();
}

CExportMenuWnd* CFView_Export::GetTile(int nPosition) const {
  return nPosition >= 0 && nPosition < (int)m_tiles.size() ? m_tiles[nPosition].pWnd : NULL;
}

// The plug-ins clean up after themselves as they are unloaded (an uploader's ended runs).
void CFView_Export::Finish() {
  m_manager.Unload();
  DestroyTiles();
  delete m_pPrintSettings;
  m_pPrintSettings = NULL;
  CMWriteProfileInt(EXESTATE_SECTION, EXESTATE_EXPORT_CREATED, 0);
  CMWriteProfileInt("ExportMenu", "Modal", 0);
}

LRESULT CFView_Export::OnKeepBeforeExit(WPARAM wParam, LPARAM lParam) {
  if (!CMTLIsOwnMessage(WM_KEEP_BEFORE_EXIT, wParam, lParam)) return 0;
  Finish();
  return 0;
}

void CFView_Export::OnDestroy() {
  Finish();
  CFormView::OnDestroy();
}

BOOL CFView_Export::OnEraseBkgnd(CDC*) { return TRUE; }

void CFView_Export::OnDraw(CDC*) {}

void CFView_Export::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  dc.FillSolidRect(&rc, kBackground);
  CBitmap background, caption;
  CDC mem;
  mem.CreateCompatibleDC(&dc);
  if (background.LoadBitmap(IDB_EXPORT_BACKGROUND)) {
    CBitmap* pOld = mem.SelectObject(&background);
    dc.StretchBlt(0, 0, rc.Width(), rc.Height(), &mem, 0, 0, 66, 1, SRCCOPY);
    mem.SelectObject(pOld);
  }
  if (caption.LoadBitmap(IDB_EXPORT_CAPTION)) {
    CBitmap* pOld = mem.SelectObject(&caption);
    dc.BitBlt(0, 0, 66, 35, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(pOld);
  }
  CPaneTextScope gdiplus;
  CString strCaption;
  strCaption.LoadString(IDS_EXPORT_CAPTION);
  RECT box = {0, 10, rc.Width(), rc.Height()};
  DrawPaneText(dc.GetSafeHdc(), strCaption, box);
}

void CFView_Export::OnSize(UINT nType, int cx, int cy) {
  static int s_nLastWidth = 0;
  CFormView::OnSize(nType, cx, cy);
  if (cx >= 1 && cx <= 99 && cy > 0 && cx != s_nLastWidth) Invalidate(FALSE);
  s_nLastWidth = cx;
}

HBRUSH CFView_Export::OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor) {
  static CBrush s_brush(kBackground);
  if (nCtlColor == CTLCOLOR_EDIT || nCtlColor == CTLCOLOR_LISTBOX) return NULL;
  pDC->SetBkColor(kBackground);
  if (nCtlColor == CTLCOLOR_STATIC) pDC->SetTextColor(RGB(255, 255, 255));
  return (HBRUSH)s_brush.GetSafeHandle();
}

int CFView_Export::FindEntryById(int nID) const {
  for (const Tile& t : m_tiles)
    if (t.nID == nID) return t.nEntry;
  return -1;
}

BOOL CFView_Export::GetEntryDescription(int nEntry, CString* pstrDescription) const {
  if (pstrDescription) pstrDescription->Empty();
  CExportPluginInfo info;
  if (nEntry < 0 || m_manager.GetInfo(nEntry, &info) < 0) return FALSE;
  if (pstrDescription) *pstrDescription = info.szDescription;
  return TRUE;
}

CString CFView_Export::TileName(int nEntry) const {
  for (const Tile& t : m_tiles)
    if (t.nEntry == nEntry) return t.pWnd->GetName();
  return CString();
}

void CFView_Export::OnInitMenuPopup(CMenu* pPopup, UINT, BOOL bSysMenu) {
  if (bSysMenu || !pPopup) return;
  while (pPopup->GetMenuItemCount() > 0) pPopup->DeleteMenu(0, MF_BYPOSITION);
  UINT nGrey = GetSafeHwnd() && !IsWindowEnabled() ? MF_GRAYED : 0;
  for (size_t k = 0; k < m_tiles.size(); ++k) {
    CString strText;
    strText.Format("&%01d %s", (int)k + 1, m_tiles[k].pWnd->GetName());
    // The id follows the tile's entry so that the frame's route to its command holds.
    pPopup->AppendMenu(MF_STRING | nGrey, ID_EXPORT_FIRST + m_tiles[k].nEntry, strText);
  }
}

LRESULT CFView_Export::OnExportBusyEnd(WPARAM, LPARAM) {
  // The plug-in's window closed (a stray or repeated message only enables).
  EnableWindow(TRUE);
  return 0;
}

LRESULT CFView_Export::OnExportFinished(WPARAM, LPARAM lParam) {
  // A failed export frees the pane now; a successful one when its window closes. No tile
  // runs again from here.
  if (exportpane::ShouldEnableOnFinished(lParam)) EnableWindow(TRUE);
  return 0;
}

BOOL CFView_Export::PreTranslateMessage(MSG* pMsg) {
  // Drops on a tile are the pane's: it sees them before the tile.
  if (pMsg->message == WM_DROPFILES) {
    for (const Tile& t : m_tiles)
      if (t.pWnd->GetSafeHwnd() == pMsg->hwnd) {
        SendMessage(WM_DROPFILES, pMsg->wParam, (LPARAM)pMsg->hwnd);
        return TRUE;
      }
  }
  return CFormView::PreTranslateMessage(pMsg);
}

int CFView_Export::MessageBoxId(UINT nText, UINT nType, LPCSTR lpszArg, LPCSTR lpszArg2) {
  CString strFormat, strText;
  strFormat.LoadString(nText);
  if (lpszArg2)
    strText.Format(strFormat, lpszArg ? lpszArg : "", lpszArg2);
  else if (lpszArg)
    strText.Format(strFormat, lpszArg);
  else
    strText = strFormat;
  CWnd* pMain = AfxGetMainWnd();
  return ::MessageBoxA(pMain ? pMain->GetSafeHwnd() : GetSafeHwnd(), strText, CMTLGetAppName(), nType);
}

BOOL CFView_Export::RefuseInBrowserMode() {
  CVxDocument* pDoc = dynamic_cast<CVxDocument*>(GetDocument());
  CBrowserDocument* pBrowser = pDoc ? pDoc->GetBrowser() : NULL;
  if (!pBrowser) return FALSE;
  if (pBrowser->GetBrowserStatus().IsMonthCalendarMode()) {
    MessageBoxId(IDS_PANES_NOT_IN_MONTH_VIEW, MB_OK | MB_ICONSTOP);
    return TRUE;
  }
  if (pBrowser->GetBrowserStatus().IsMusicMode()) {
    MessageBoxId(IDS_PANES_NOT_IN_MUSIC_VIEW, MB_OK | MB_ICONSTOP);
    return TRUE;
  }
  return FALSE;
}
