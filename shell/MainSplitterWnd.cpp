#include "MainSplitterWnd.h"

#include <VxResourceIds.h>

namespace {

const int kZoneHalfHeight = 69;  // the button zone is 138 pixels high
const int kButtonWidth = 12;
const UINT_PTR kToolId = 1;

// Bar colours: whole bar, lower half.
const COLORREF kBarPlain = RGB(5, 67, 98);
const COLORREF kBarPlainLower = RGB(4, 62, 90);
const COLORREF kBarPlainLowerRight = RGB(4, 61, 90);
const COLORREF kBarLit = RGB(1, 82, 119);
const COLORREF kBarLitLower = RGB(1, 75, 109);
const COLORREF kBorder = RGB(10, 58, 82);

BOOL IsColumnBar(int ht) { return ht >= CSplitterWnd::hSplitterBar1 && ht <= CSplitterWnd::hSplitterBar15; }

}  // namespace

BEGIN_MESSAGE_MAP(CMainSplitterWnd, CSplitterWnd)
  // creation and layout
  ON_WM_CREATE()
  ON_WM_SIZE()
  // the collapse button
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_SETCURSOR()
  ON_MESSAGE(WM_MOUSEHOVER, &CMainSplitterWnd::OnMouseHover)
  ON_MESSAGE(WM_MOUSELEAVE, &CMainSplitterWnd::OnMouseLeave)
END_MESSAGE_MAP()

CMainSplitterWnd::CMainSplitterWnd()
    : m_bFixed(TRUE),
      m_bLeftButton(FALSE),
      m_bRightButton(FALSE),
      m_bLeftHover(FALSE),
      m_bRightHover(FALSE),
      m_bPressed(FALSE),
      m_bClicked(FALSE),
      m_bCalendarFold(FALSE) {
  m_fold.nSavedWidth = 0;
  m_fold.nSavedMin = 0;
  m_cxSplitter = m_cySplitter = 1;
  m_cxSplitterGap = m_cySplitterGap = 1;
}

CMainSplitterWnd::~CMainSplitterWnd() {}

void CMainSplitterWnd::SetSplitterSize(int cx, int cy) {
  m_cxSplitter = cx;
  m_cySplitter = cy;
}

void CMainSplitterWnd::SetSplitterGap(int cx, int cy) {
  m_cxSplitterGap = cx;
  m_cySplitterGap = cy;
}

void CMainSplitterWnd::SetToolTipText(const CString& strText) {
  m_strToolTip = strText;
  if (m_tooltip.m_hWnd) m_tooltip.UpdateTipText(m_strToolTip, this, kToolId);
}

// ---- Creation and layout ---------------------------------------------------------------

int CMainSplitterWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CSplitterWnd::OnCreate(lpcs) == -1) return -1;
  if (m_tooltip.Create(this, TTS_ALWAYSTIP)) {
    CRect rc;
    GetClientRect(&rc);
    m_tooltip.AddTool(this, m_strToolTip, &rc, kToolId);
  }
  return 0;
}

BOOL CMainSplitterWnd::PreTranslateMessage(MSG* pMsg) {
  if (m_tooltip.m_hWnd) m_tooltip.RelayEvent(pMsg);
  return CSplitterWnd::PreTranslateMessage(pMsg);
}

void CMainSplitterWnd::OnSize(UINT nType, int cx, int cy) {
  CSplitterWnd::OnSize(nType, cx, cy);
  if (!m_bLeftButton || IsIconic() || !IsWindowVisible() || m_nCols < 2) return;
  int nCol0 = KeepBrowserColumn(m_pColInfo[0].nCurSize, m_pColInfo[1].nCurSize);
  if (nCol0 < 0) return;
  m_pColInfo[0].nIdealSize = nCol0;
  RelayoutNow();
}

void CMainSplitterWnd::RelayoutNow() {
  SetRedraw(FALSE);
  RecalcLayout();
  SetRedraw(TRUE);
  RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// ---- Folding ---------------------------------------------------------------------------

void CMainSplitterWnd::FoldLeft() {
  if (m_nCols < 2) return;
  ToggleLeftColumn(m_pColInfo[0], m_pColInfo[1], m_fold);
  RelayoutNow();
}

void CMainSplitterWnd::FoldRight() {
  if (m_nCols < 2) return;
  ToggleRightColumn(m_pColInfo[1], m_fold);
  RecalcLayout();
}

int CMainSplitterWnd::ToggleCollapse() {
  if (m_nCols < 2 || (!m_bLeftButton && !m_bRightButton)) return -1;
  BOOL bUnfolded;
  if (m_bLeftButton) {
    bUnfolded = ToggleLeftColumn(m_pColInfo[0], m_pColInfo[1], m_fold);
  } else {
    bUnfolded = ToggleRightColumn(m_pColInfo[1], m_fold);
  }
  RelayoutNow();
  return bUnfolded ? 5 : 0;
}

// ---- The button zone -------------------------------------------------------------------

CRect CMainSplitterWnd::ZoneOfBar(int ht) {
  CRect rcLimit = m_rectLimit;  // the hit rectangle narrows the tracking limit: keep it
  CRect rc;
  GetHitRect(ht, rc);
  m_rectLimit = rcLimit;
  int nCentre = (rc.top + rc.bottom) / 2;
  rc.top = nCentre - kZoneHalfHeight;
  rc.bottom = nCentre + kZoneHalfHeight;
  return rc;
}

BOOL CMainSplitterWnd::GetButtonZone(CPoint pt, CRect* pZone) {
  if (m_nCols < 2) return FALSE;
  int ht = HitTest(pt);
  if (!IsColumnBar(ht)) return FALSE;
  CRect rc = ZoneOfBar(ht);
  if (!rc.PtInRect(pt)) return FALSE;
  if (pZone) *pZone = rc;
  return TRUE;
}

BOOL CMainSplitterWnd::GetBarButtonZone(CRect* pZone) {
  if (m_nCols < 2) return FALSE;
  *pZone = ZoneOfBar(hSplitterBar1);
  return TRUE;
}

void CMainSplitterWnd::TrackHover() {
  TRACKMOUSEEVENT tme = {};
  tme.cbSize = sizeof(tme);
  tme.dwFlags = TME_HOVER | TME_LEAVE;
  tme.hwndTrack = m_hWnd;
  tme.dwHoverTime = HOVER_DEFAULT;
  ::TrackMouseEvent(&tme);
}

void CMainSplitterWnd::RepaintBar(BOOL bErase) {
  if (m_nCols < 2) return;
  CRect rcLimit = m_rectLimit;  // as in ZoneOfBar
  CRect rc;
  GetHitRect(hSplitterBar1, rc);
  m_rectLimit = rcLimit;
  RedrawWindow(&rc, NULL, RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW | (bErase ? RDW_ERASE : 0));
}

// ---- Mouse -----------------------------------------------------------------------------

void CMainSplitterWnd::OnMouseMove(UINT nFlags, CPoint pt) {
  if (m_bTracking) {
    CSplitterWnd::OnMouseMove(nFlags, pt);
    return;
  }
  BOOL bInZone = GetButtonZone(pt, NULL);
  if (m_bLeftButton) {
    if (bInZone) {
      if (!m_bLeftHover) {
        TrackHover();
        m_bLeftHover = TRUE;
        RepaintBar(TRUE);
      }
      // A press that moves with the left button alone held drags the bar.
      if (m_bPressed && (nFlags & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == MK_LBUTTON) {
        m_bLeftHover = FALSE;
        StartTracking(HitTest(pt));
      }
      m_bPressed = FALSE;
      return;
    }
    m_bPressed = FALSE;
    if (m_bLeftHover) {
      m_bLeftHover = FALSE;
      RepaintBar(TRUE);
    }
  }
  if (m_bRightButton) {
    if (bInZone) {
      if (m_bLeftHover) return;
      if (!m_bRightHover) {
        TrackHover();
        m_bRightHover = TRUE;
        RepaintBar(TRUE);
      }
      return;
    }
    if (m_bRightHover) {
      m_bRightHover = FALSE;
      RepaintBar(FALSE);
      CSplitterWnd::OnMouseMove(nFlags, CPoint(-1, -1));
      return;
    }
  }
  // The split cursor never shows on a fixed splitter.
  if (!m_bRightButton && !m_bFixed)
    CSplitterWnd::OnMouseMove(nFlags, pt);
  else
    CSplitterWnd::OnMouseMove(nFlags, CPoint(-1, -1));
}

void CMainSplitterWnd::OnLButtonDown(UINT nFlags, CPoint pt) {
  if (m_bLeftHover || m_bRightHover) m_bClicked = TRUE;
  if (m_bFixed) return;
  if (m_bLeftHover) {
    // The press may still become a click: the next move decides.
    MSG msg;
    while (::PeekMessageA(&msg, m_hWnd, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
    }
    m_bPressed = TRUE;
    return;
  }
  CSplitterWnd::OnLButtonDown(nFlags, pt);
}

void CMainSplitterWnd::OnLButtonUp(UINT nFlags, CPoint pt) {
  m_bPressed = FALSE;
  if (m_bFixed && !m_bRightHover) m_bClicked = FALSE;
  if (m_bLeftHover && m_bClicked)
    FoldLeft();
  else if (m_bRightHover && m_bClicked)
    FoldRight();
  else
    CSplitterWnd::OnLButtonUp(nFlags, pt);
  m_bClicked = FALSE;
}

BOOL CMainSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest == HTCLIENT && pWnd == this && !m_bTracking) {
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    if (GetButtonZone(pt, NULL)) {
      ::SetCursor(::LoadCursorA(NULL, IDC_HAND));
      return TRUE;
    }
  }
  return CSplitterWnd::OnSetCursor(pWnd, nHitTest, message);
}

LRESULT CMainSplitterWnd::OnMouseHover(WPARAM, LPARAM) {
  if (!m_tooltip.m_hWnd) return 0;
  CRect rcZone;
  if (GetBarButtonZone(&rcZone)) m_tooltip.SetToolRect(this, kToolId, &rcZone);
  m_tooltip.Activate(TRUE);
  if (m_bLeftHover && m_bCalendarFold) m_tooltip.Activate(FALSE);
  return 0;
}

LRESULT CMainSplitterWnd::OnMouseLeave(WPARAM, LPARAM) {
  m_bLeftHover = m_bRightHover = FALSE;
  RepaintBar(FALSE);
  if (m_tooltip.m_hWnd) m_tooltip.Pop();
  return 0;
}

// ---- Tracking and keyboard -------------------------------------------------------------

void CMainSplitterWnd::StartTracking(int ht) {
  CSplitterWnd::StartTracking(ht);
  // A bar stays at least 500 pixels away from the splitter's right side.
  if (m_bTracking) m_rectLimit.right -= FOLD_BROWSER_MIN;
}

BOOL CMainSplitterWnd::DoKeyboardSplit() {
  if (m_bFixed) return TRUE;
  return CSplitterWnd::DoKeyboardSplit();
}

// ---- Drawing ---------------------------------------------------------------------------

void CMainSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) {
  if (!pDC || (nType != splitBorder && nType != splitBar)) {
    CSplitterWnd::OnDrawSplitter(pDC, nType, rect);
    return;
  }
  if (nType == splitBorder) {
    CBrush brush(kBorder);
    CRect rc = rect;
    pDC->FrameRect(&rc, &brush);
    rc.DeflateRect(1, 1);
    pDC->FrameRect(&rc, &brush);
    return;
  }
  CSplitterWnd::OnDrawSplitter(pDC, nType, rect);
  pDC->FillSolidRect(&rect, kBarPlain);
  BOOL bColumnBar = rect.Height() > rect.Width();
  if (!bColumnBar || (!m_bLeftButton && !m_bRightButton) || m_nCols < 2) return;

  // The lit colours show on the side whose column the button brings back.
  BOOL bFolded = m_bLeftButton ? IsColumnFolded(m_pColInfo[0]) : IsColumnFolded(m_pColInfo[1]);
  BOOL bLit = m_bLeftButton ? bFolded : !bFolded;
  BOOL bHover = m_bLeftButton ? m_bLeftHover : m_bRightHover;
  COLORREF crWhole = bLit ? kBarLit : kBarPlain;
  COLORREF crLower = bLit ? kBarLitLower : (m_bLeftButton ? kBarPlainLower : kBarPlainLowerRight);
  UINT nBitmap;
  if (bLit)
    nBitmap = bHover && !(m_bLeftButton && m_bCalendarFold) ? IDB_SPLITTER_RIGHT_HOT : IDB_SPLITTER_RIGHT;
  else
    nBitmap = bHover ? IDB_SPLITTER_LEFT_HOT : IDB_SPLITTER_LEFT;

  pDC->FillSolidRect(&rect, crWhole);
  CRect rcLower = rect;
  rcLower.top = rect.bottom / 2;
  pDC->FillSolidRect(&rcLower, crLower);

  CRect rcZone;
  if (!GetBarButtonZone(&rcZone)) return;
  CBitmap bitmap;
  if (!bitmap.LoadBitmap(nBitmap)) return;
  CDC dcMem;
  if (!dcMem.CreateCompatibleDC(pDC)) return;
  CBitmap* pOld = dcMem.SelectObject(&bitmap);
  pDC->BitBlt(rcZone.left, rcZone.top, kButtonWidth, rcZone.Height(), &dcMem, 0, 0, SRCCOPY);
  dcMem.SelectObject(pOld);
}
