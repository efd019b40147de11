// Control bars and the status bar.
#include <fw/fw.h>

#include <vector>

// ----- CControlBar -----

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
  ON_WM_CREATE()
  ON_MESSAGE(WM_SIZEPARENT, &CControlBar::OnSizeParent)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, &CControlBar::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CControlBar::CControlBar()
    : m_dwStyle(0), m_cxLeftBorder(6), m_cxRightBorder(6), m_cyTopBorder(2), m_cyBottomBorder(2),
      m_bAutoDelete(FALSE) {}

CControlBar::~CControlBar() {}

void CControlBar::PostNcDestroy() {
  if (m_bAutoDelete) delete this;
}

int CControlBar::OnCreate(LPCREATESTRUCT lpcs) { return CWnd::OnCreate(lpcs); }

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size;
  size.cx = (bStretch && bHorz ? 32767 : 0);
  size.cy = (bStretch && !bHorz ? 32767 : 0);
  return size;
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
  AFX_SIZEPARENTPARAMS* lpLayout = (AFX_SIZEPARENTPARAMS*)lParam;
  DWORD dwStyle = m_dwStyle;
  if (!(GetStyle() & WS_VISIBLE) || !(dwStyle & CBRS_ALIGN_ANY)) return 0;
  CRect rect(lpLayout->rect);
  CSize sizeAvail = rect.Size();
  BOOL bHorz = (dwStyle & CBRS_ORIENT_HORZ) != 0;
  CSize size = CalcFixedLayout(lpLayout->bStretch, bHorz);
  size.cx = std::min(size.cx, sizeAvail.cx);
  size.cy = std::min(size.cy, sizeAvail.cy);
  if (bHorz) {
    lpLayout->sizeTotal.cy += size.cy;
    lpLayout->sizeTotal.cx = std::max(lpLayout->sizeTotal.cx, size.cx);
    if (dwStyle & CBRS_ALIGN_TOP) {
      lpLayout->rect.top += size.cy;
    } else {
      rect.top = rect.bottom - size.cy;
      lpLayout->rect.bottom -= size.cy;
    }
  } else {
    lpLayout->sizeTotal.cx += size.cx;
    lpLayout->sizeTotal.cy = std::max(lpLayout->sizeTotal.cy, size.cy);
    if (dwStyle & CBRS_ALIGN_LEFT) {
      lpLayout->rect.left += size.cx;
    } else {
      rect.left = rect.right - size.cx;
      lpLayout->rect.right -= size.cx;
    }
  }
  rect.right = rect.left + size.cx;
  rect.bottom = rect.top + size.cy;
  if (lpLayout->hDWP) AfxRepositionWindow(lpLayout, m_hWnd, &rect);
  return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  if (!(GetStyle() & WS_VISIBLE)) return 0;
  if (CFrameWnd* pTarget = GetParentFrame()) OnUpdateCmdUI(pTarget, (BOOL)wParam);
  return 0;
}

// ----- CStatusBarCtrl -----

IMPLEMENT_DYNAMIC(CStatusBarCtrl, CWnd)

BOOL CStatusBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  return CWnd::Create(STATUSCLASSNAMEA, nullptr, dwStyle, rect, pParentWnd, nID);
}

int CStatusBarCtrl::GetTextLength(int nPane, int* pType) const {
  LRESULT r = SendMessage(SB_GETTEXTLENGTHA, nPane);
  if (pType) *pType = HIWORD(r);
  return LOWORD(r);
}

CString CStatusBarCtrl::GetText(int nPane, int* pType) const {
  CString text;
  int nLen = GetTextLength(nPane, pType);
  LRESULT r = SendMessage(SB_GETTEXTA, nPane, (LPARAM)text.GetBufferSetLength(nLen));
  text.ReleaseBuffer(LOWORD(r) < nLen ? LOWORD(r) : nLen);
  return text;
}

void CStatusBarCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

// Owner-drawn panes arrive as the parent's WM_DRAWITEM, reflected here.
BOOL CStatusBarCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return AfxReflectDrawItem(this, message, lParam, pResult) || CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// ----- CStatusBar -----

namespace {

const int kPaneBorder = 6;  // pixels around a pane's text

struct StatusCmdUI : public CCmdUI {
  void Enable(BOOL bOn) override;
  void SetCheck(int nCheck) override;
  void SetText(LPCSTR lpszText) override;
};

}  // namespace

struct CStatusBar::Pane {
  UINT nID;
  UINT nStyle;
  int cxText;
  CString strText;
  BOOL bPending;  // text not sent to the control yet
};

void StatusCmdUI::Enable(BOOL bOn) {
  m_bEnableChanged = TRUE;
  CStatusBar* pBar = static_cast<CStatusBar*>(m_pOther);
  UINT nStyle = pBar->GetPaneStyle((int)m_nIndex) & ~SBPS_DISABLED;
  if (!bOn) nStyle |= SBPS_DISABLED;
  pBar->SetPaneStyle((int)m_nIndex, nStyle);
}

void StatusCmdUI::SetCheck(int nCheck) {
  CStatusBar* pBar = static_cast<CStatusBar*>(m_pOther);
  UINT nStyle = pBar->GetPaneStyle((int)m_nIndex) & ~SBPS_POPOUT;
  if (nCheck) nStyle |= SBPS_POPOUT;
  pBar->SetPaneStyle((int)m_nIndex, nStyle);
}

void StatusCmdUI::SetText(LPCSTR lpszText) { static_cast<CStatusBar*>(m_pOther)->SetPaneText((int)m_nIndex, lpszText); }

void AFXAPI AfxStatusPaneRights(const int* pcxText, const UINT* pnStyle, int nCount, int cxClient, int cxFirstBorder,
                                int cxGap, int* pRights) {
  int cxExtra = cxClient + cxGap;
  int nStretch = 0;
  for (int i = 0; i < nCount; i++) {
    if (pnStyle[i] & SBPS_STRETCH) ++nStretch;
    cxExtra -= pcxText[i] + kPaneBorder + cxGap;
  }
  int right = cxFirstBorder;
  for (int i = 0; i < nCount; i++) {
    right += pcxText[i] + kPaneBorder;
    if ((pnStyle[i] & SBPS_STRETCH) && cxExtra > 0) {
      // Stretching panes share the room left; the first ones take the odd pixels last.
      int cxAdd = cxExtra / nStretch;
      right += cxAdd;
      cxExtra -= cxAdd;
      --nStretch;
    }
    pRights[i] = right;
    right += cxGap;
  }
}

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
  ON_WM_SIZE()
  ON_MESSAGE(WM_SETTEXT, &CStatusBar::OnSetText)
  ON_MESSAGE(WM_GETTEXT, &CStatusBar::OnGetText)
  ON_MESSAGE(WM_GETTEXTLENGTH, &CStatusBar::OnGetTextLength)
  ON_MESSAGE(SB_SETMINHEIGHT, &CStatusBar::OnSetMinHeight)
END_MESSAGE_MAP()

CStatusBar::CStatusBar() : m_nMinHeight(0), m_pData(nullptr), m_nCount(0) {}

CStatusBar::~CStatusBar() { delete[] m_pData; }

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) { return CreateEx(pParentWnd, 0, dwStyle, nID); }

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  // The bar styles stay with the object; the control lets the frame place it.
  m_dwStyle = dwStyle & CBRS_ALL;
  dwStyle &= ~CBRS_ALL;
  dwStyle |= CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
  if (pParentWnd->GetStyle() & WS_THICKFRAME) dwStyle |= SBARS_SIZEGRIP;
  dwStyle |= dwCtrlStyle;
  return CWnd::Create(STATUSCLASSNAMEA, nullptr, dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CStatusBar::PreCreateWindow(CREATESTRUCT& cs) { return CWnd::PreCreateWindow(cs); }

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  delete[] m_pData;
  m_pData = nullptr;
  m_nCount = 0;
  if (nIDCount <= 0) return TRUE;
  m_pData = new Pane[nIDCount];
  m_nCount = nIDCount;
  HDC hdc = ::GetDC(nullptr);
  HFONT hFont = (HFONT)SendMessage(WM_GETFONT);
  HGDIOBJ hOldFont = ::SelectObject(hdc, hFont ? (HGDIOBJ)hFont : ::GetStockObject(DEFAULT_GUI_FONT));
  for (int i = 0; i < nIDCount; i++) {
    Pane& pane = m_pData[i];
    pane.nID = lpIDArray ? lpIDArray[i] : ID_SEPARATOR;
    pane.nStyle = SBPS_NORMAL;
    pane.cxText = 0;
    pane.bPending = TRUE;
    if (pane.nID != ID_SEPARATOR) {
      pane.strText.LoadString(pane.nID);
      SIZE size = {};
      ::GetTextExtentPoint32A(hdc, pane.strText, pane.strText.GetLength(), &size);
      pane.cxText = size.cx;
    } else {
      pane.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
      if (i == 0) pane.nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;
    }
  }
  ::SelectObject(hdc, hOldFont);
  ::ReleaseDC(nullptr, hdc);
  UpdateAllPanes(TRUE, TRUE);
  return TRUE;
}

void CStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText) {
  if (!m_hWnd || m_nCount == 0) return;
  if (bUpdateRects) {
    CRect rect;
    GetClientRect(&rect);
    int borders[3] = {0, 0, 0};
    DefWindowProc(SB_GETBORDERS, 0, (LPARAM)borders);
    std::vector<int> cx(m_nCount), rights(m_nCount);
    std::vector<UINT> styles(m_nCount);
    for (int i = 0; i < m_nCount; i++) {
      cx[i] = m_pData[i].cxText;
      styles[i] = m_pData[i].nStyle;
    }
    AfxStatusPaneRights(cx.data(), styles.data(), m_nCount, rect.Width() - borders[0], borders[0], borders[2],
                        rights.data());
    DefWindowProc(SB_SETPARTS, m_nCount, (LPARAM)rights.data());
  }
  if (bUpdateText) {
    for (int i = 0; i < m_nCount; i++) {
      if (m_pData[i].bPending) SetPaneText(i, m_pData[i].strText, TRUE);
    }
  }
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
  for (int i = 0; i < m_nCount; i++) {
    if (m_pData[i].nID == nIDFind) return i;
  }
  return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
  return nIndex >= 0 && nIndex < m_nCount ? m_pData[nIndex].nID : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  ::SetRectEmpty(lpRect);
  if (nIndex >= 0 && nIndex < m_nCount) ::SendMessageA(m_hWnd, SB_GETRECT, nIndex, (LPARAM)lpRect);
}

void CStatusBar::GetPaneText(int nIndex, CString& rString) const {
  rString = nIndex >= 0 && nIndex < m_nCount ? m_pData[nIndex].strText : CString();
}

CString CStatusBar::GetPaneText(int nIndex) const {
  CString s;
  GetPaneText(nIndex, s);
  return s;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate) {
  if (nIndex < 0 || nIndex >= m_nCount) return FALSE;
  Pane& pane = m_pData[nIndex];
  if (!lpszNewText) lpszNewText = "";
  if (!pane.bPending && pane.strText == lpszNewText) return TRUE;
  pane.strText = lpszNewText;
  if (!bUpdate || !m_hWnd) {
    pane.bPending = TRUE;
    return TRUE;
  }
  pane.bPending = FALSE;
  // The style's low word are the control's text flags; owner-drawn panes get the text as item data.
  WPARAM wParam = (WPARAM)(LOWORD(pane.nStyle) | nIndex);
  LPARAM lParam = (pane.nStyle & SBPS_DISABLED) ? 0 : (LPARAM)(LPCSTR)pane.strText;
  DefWindowProc(SB_SETTEXTA, wParam, lParam);
  return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
  if (nIndex < 0 || nIndex >= m_nCount) {
    nID = 0;
    nStyle = 0;
    cxWidth = 0;
    return;
  }
  nID = m_pData[nIndex].nID;
  nStyle = m_pData[nIndex].nStyle;
  cxWidth = m_pData[nIndex].cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
  if (nIndex < 0 || nIndex >= m_nCount) return;
  Pane& pane = m_pData[nIndex];
  BOOL bLayout = FALSE;
  pane.nID = nID;
  if (pane.nStyle != nStyle) {
    if ((pane.nStyle ^ nStyle) & SBPS_STRETCH) bLayout = TRUE;
    pane.nStyle = nStyle;
    pane.bPending = TRUE;
  }
  if (cxWidth != pane.cxText) {
    pane.cxText = cxWidth;
    bLayout = TRUE;
  }
  if (bLayout) UpdateAllPanes(TRUE, FALSE);
  if (pane.bPending) SetPaneText(nIndex, pane.strText, TRUE);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
  return nIndex >= 0 && nIndex < m_nCount ? m_pData[nIndex].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
  if (nIndex < 0 || nIndex >= m_nCount) return;
  SetPaneInfo(nIndex, m_pData[nIndex].nID, nStyle, m_pData[nIndex].cxText);
}

void CStatusBar::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CStatusBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return AfxReflectDrawItem(this, message, lParam, pResult) ||
         CControlBar::OnChildNotify(message, wParam, lParam, pResult);
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL) {
  // Tall enough for a line of the bar's font inside the control's borders.
  HDC hdc = ::GetDC(nullptr);
  HFONT hFont = (HFONT)SendMessage(WM_GETFONT);
  HGDIOBJ hOldFont = ::SelectObject(hdc, hFont ? (HGDIOBJ)hFont : ::GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA tm = {};
  ::GetTextMetricsA(hdc, &tm);
  ::SelectObject(hdc, hOldFont);
  ::ReleaseDC(nullptr, hdc);
  int borders[3] = {0, 0, 0};
  DefWindowProc(SB_GETBORDERS, 0, (LPARAM)borders);
  CSize size(32767, tm.tmHeight - tm.tmInternalLeading - 1 + borders[1] * 2 + ::GetSystemMetrics(SM_CYBORDER) * 2 + 4);
  if (size.cy < m_nMinHeight) size.cy = m_nMinHeight;
  return size;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL) {
  StatusCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = (UINT)m_nCount;
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
    state.m_nID = m_pData[state.m_nIndex].nID;
    // Panes are never greyed for lack of a handler: programs set their texts directly.
    state.DoUpdate(pTarget, FALSE);
  }
  UpdateAllPanes(FALSE, TRUE);
}

void CStatusBar::OnSize(UINT nType, int cx, int cy) {
  CControlBar::OnSize(nType, cx, cy);
  UpdateAllPanes(TRUE, FALSE);
}

// The window text is the text of the separator pane (the frame's messages go there).
LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
  int nIndex = CommandToIndex(ID_SEPARATOR);
  if (nIndex < 0) return -1;
  return SetPaneText(nIndex, (LPCSTR)lParam) ? TRUE : -1;
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
  int nIndex = CommandToIndex(ID_SEPARATOR);
  if (nIndex < 0 || wParam == 0) return 0;
  lstrcpynA((LPSTR)lParam, m_pData[nIndex].strText, (int)wParam);
  return lstrlenA((LPCSTR)lParam);
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) {
  int nIndex = CommandToIndex(ID_SEPARATOR);
  return nIndex < 0 ? 0 : m_pData[nIndex].strText.GetLength();
}

LRESULT CStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM) {
  m_nMinHeight = (int)wParam;
  LRESULT r = Default();
  if (CFrameWnd* pFrame = GetParentFrame()) pFrame->RecalcLayout();
  return r;
}
