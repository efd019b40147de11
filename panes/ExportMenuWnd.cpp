#include "ExportMenuWnd.h"

#include "ExportRules.h"

using exporttile::State;

namespace {
const COLORREF kPlainFace = RGB(10, 58, 82);
}

BEGIN_MESSAGE_MAP(CExportMenuWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_SHOWWINDOW()
  ON_WM_TIMER()
  ON_WM_ENABLE()
  ON_WM_SETCURSOR()
  ON_WM_DROPFILES()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CExportMenuWnd::CExportMenuWnd() : m_pOwner(NULL), m_nID(0), m_nState(exporttile::NORMAL), m_lastMouse(-1, -1) {
  m_szName[0] = 0;
  for (HBITMAP& b : m_bitmaps) b = NULL;
}

CExportMenuWnd::~CExportMenuWnd() {
  if (GetSafeHwnd()) DestroyWindow();
}

BOOL CExportMenuWnd::Create(POINT origin, const CExportPluginInfo& info, CWnd* pOwner, UINT nID) {
  m_pOwner = pOwner;
  m_nID = nID;
  lstrcpynA(m_szName, info.szName, sizeof(m_szName));
  char szDescription[EXPORTPLUGIN_TEXT_MAX];
  lstrcpynA(szDescription, info.szDescription, sizeof(szDescription));
  m_strDescription = szDescription;
  m_bitmaps[exporttile::NORMAL] = info.hbmNormal;
  m_bitmaps[exporttile::HOVER] = info.hbmHover;
  m_bitmaps[exporttile::PRESSED] = info.hbmPressed;
  m_bitmaps[exporttile::DISABLED] = info.hbmDisabled;
  LPCSTR lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(NULL, IDC_ARROW));
  CRect rc(origin.x, origin.y, origin.x + exportpane::kTileWidth, origin.y + exportpane::kTileHeight);
  BOOL bCreated =
      CWnd::CreateEx(WS_EX_ACCEPTFILES, lpszClass, m_szName, WS_CHILD | WS_VISIBLE | WS_TABSTOP, rc, pOwner, nID);
  if (!bCreated) return FALSE;
  if (m_tooltip.Create(this)) {
    m_tooltip.Activate(TRUE);
    m_tooltip.AddTool(this, m_strDescription);
  }
  return TRUE;
}

HBITMAP CExportMenuWnd::StateBitmap() const {
  HBITMAP hbm = m_bitmaps[m_nState];
  BITMAP bm;
  if (!hbm || ::GetObjectA(hbm, sizeof(bm), &bm) != sizeof(bm)) return NULL;
  return hbm;
}

void CExportMenuWnd::SetState(State s) {
  if (s == m_nState) return;
  m_nState = s;
  Invalidate(FALSE);
}

BOOL CExportMenuWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void CExportMenuWnd::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  dc.FillSolidRect(&rc, kPlainFace);
  HBITMAP hbm = StateBitmap();
  if (hbm) {
    HDC mem = ::CreateCompatibleDC(dc.GetSafeHdc());
    HGDIOBJ old = ::SelectObject(mem, hbm);
    ::BitBlt(dc.GetSafeHdc(), 0, 0, exportpane::kTileWidth, 70, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
  }
  RECT text = {0, 47, exportpane::kTileWidth, 47 + 70};
  DrawPaneText(dc.GetSafeHdc(), m_szName, text);
}

void CExportMenuWnd::OnLButtonDown(UINT, CPoint) {
  if (m_tooltip.GetSafeHwnd()) m_tooltip.Pop();
  SetState(exporttile::OnButtonDown(m_nState));
}

void CExportMenuWnd::OnLButtonUp(UINT, CPoint) {
  bool bSend = exporttile::ClickSendsCommand(m_nState);
  SetState(exporttile::OnButtonUp(m_nState));
  if (bSend && m_pOwner && m_pOwner->GetSafeHwnd())
    m_pOwner->SendMessage(WM_COMMAND, MAKEWPARAM(m_nID, BN_CLICKED), (LPARAM)m_hWnd);
}

void CExportMenuWnd::OnMouseMove(UINT, CPoint point) {
  if (point == m_lastMouse) return;
  m_lastMouse = point;
  if (m_nState == exporttile::NORMAL && m_tooltip.GetSafeHwnd()) m_tooltip.UpdateTipText(m_strDescription, this);
  SetState(exporttile::OnMouseMove(m_nState));
}

void CExportMenuWnd::OnShowWindow(BOOL bShow, UINT) {
  if (bShow) {
    SetTimer(TIMER_CURSOR, 100, NULL);
    SetTimer(TIMER_OWNER, 100, NULL);
  } else {
    KillTimer(TIMER_CURSOR);
    KillTimer(TIMER_OWNER);
  }
}

void CExportMenuWnd::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == TIMER_CURSOR) {
    POINT pt;
    ::GetCursorPos(&pt);
    bool bOnTile = ::WindowFromPoint(pt) == m_hWnd;
    SetState(exporttile::OnCursorCheck(m_nState, bOnTile));
  } else if (nIDEvent == TIMER_OWNER) {
    // A tile disabled on its own stays so whatever its owner does.
    bool bEnabled = m_pOwner && m_pOwner->GetSafeHwnd() && m_pOwner->IsWindowEnabled() && IsWindowEnabled();
    SetState(exporttile::OnOwnerCheck(m_nState, bEnabled));
  }
}

void CExportMenuWnd::OnEnable(BOOL bEnable) { SetState(bEnable ? exporttile::NORMAL : exporttile::DISABLED); }

BOOL CExportMenuWnd::OnSetCursor(CWnd*, UINT, UINT) {
  ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
  return TRUE;
}

void CExportMenuWnd::OnDropFiles(HDROP hDropInfo) {
  if (m_pOwner && m_pOwner->GetSafeHwnd())
    m_pOwner->SendMessage(WM_DROPFILES, (WPARAM)hDropInfo, (LPARAM)m_hWnd);
  else
    ::DragFinish(hDropInfo);
}

void CExportMenuWnd::OnDestroy() {
  KillTimer(TIMER_CURSOR);
  KillTimer(TIMER_OWNER);
  // The bitmaps are the plug-in's: forget them, never delete them.
  for (HBITMAP& b : m_bitmaps) b = NULL;
  CWnd::OnDestroy();
}

BOOL CExportMenuWnd::PreTranslateMessage(MSG* pMsg) {
  if (m_tooltip.GetSafeHwnd()) m_tooltip.RelayEvent(pMsg);
  return CWnd::PreTranslateMessage(pMsg);
}
