// CToolBarCtrl and CToolBar: buttons by command id, images from a bitmap strip, idle-time
// updates and fly-by prompts.
#include <fw/toolbar.h>
#include <fw/module.h>

#include <vector>

#include "ctrlutil.h"

IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

// ===== CToolBarCtrl =====

BOOL CToolBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (!fwctl::CreateControl(this, ICC_BAR_CLASSES, TOOLBARCLASSNAMEA, NULL, 0, dwStyle, rect, pParentWnd, nID))
    return FALSE;
  SetButtonStructSize(sizeof(TBBUTTON));
  return TRUE;
}

int CToolBarCtrl::AddBitmap(int nNumButtons, UINT nBitmapID) {
  TBADDBITMAP tbab = {AfxFindResourceHandle(MAKEINTRESOURCEA(nBitmapID), (LPCSTR)RT_BITMAP), nBitmapID};
  return (int)SendMessage(TB_ADDBITMAP, (WPARAM)nNumButtons, (LPARAM)&tbab);
}

int CToolBarCtrl::AddBitmap(int nNumButtons, CBitmap* pBitmap) {
  TBADDBITMAP tbab = {NULL, (UINT_PTR)pBitmap->GetSafeHandle()};
  return (int)SendMessage(TB_ADDBITMAP, (WPARAM)nNumButtons, (LPARAM)&tbab);
}

CSize CToolBarCtrl::GetButtonSize() const {
  DWORD r = (DWORD)SendMessage(TB_GETBUTTONSIZE);
  return CSize(LOWORD(r), HIWORD(r));
}

CToolTipCtrl* CToolBarCtrl::GetToolTips() const {
  return fwctl::Wrap<CToolTipCtrl>((HWND)SendMessage(TB_GETTOOLTIPS));
}

// ===== CToolBar =====

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
  // borders around the buttons
  ON_WM_NCCALCSIZE()
  ON_WM_NCPAINT()
  // fly-by prompts
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

// Light grey of the strips is the see-through colour.
static const COLORREF kStripMask = RGB(192, 192, 192);

CToolBar::CToolBar() : m_sizeButton(23, 22), m_sizeImage(16, 15), m_nIDPrompt(0) {
  m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

CToolBar::~CToolBar() { DestroyWindow(); }

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  return CreateEx(pParentWnd, 0, dwStyle, CRect(0, 0, 0, 0), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID) {
  // The bar styles stay with the object; the control lets its owner place it.
  m_dwStyle = dwStyle & CBRS_ALL;
  m_cxLeftBorder = rcBorders.left;
  m_cyTopBorder = rcBorders.top;
  m_cxRightBorder = rcBorders.right;
  m_cyBottomBorder = rcBorders.bottom;
  DWORD dwCtrl = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
  if (m_dwStyle & CBRS_TOOLTIPS) dwCtrl |= TBSTYLE_TOOLTIPS;
  if (!fwctl::CreateControl(this, ICC_BAR_CLASSES, TOOLBARCLASSNAMEA, NULL, 0, dwCtrl, CRect(0, 0, 0, 0), pParentWnd,
                            nID))
    return FALSE;
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  SetSizes(m_sizeButton, m_sizeImage);
  return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
  m_sizeButton = sizeButton;
  m_sizeImage = sizeImage;
  if (!m_hWnd) return;
  SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
  SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
  RebuildImages();
  Invalidate();
}

void CToolBar::SetHeight(int cyHeight) {
  int cyRoom = cyHeight - m_sizeButton.cy;
  m_cyTopBorder = std::max(cyRoom / 2, 0);
  m_cyBottomBorder = std::max(cyRoom - m_cyTopBorder, 0);
  if (m_hWnd) SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

BOOL CToolBar::LoadBitmap(LPCSTR lpszResourceName) {
  CBitmap bitmap;
  if (!bitmap.LoadBitmap(lpszResourceName)) return FALSE;
  return SetBitmap((HBITMAP)bitmap.GetSafeHandle());
}

BOOL CToolBar::SetBitmap(HBITMAP hbmImageWell) {
  m_bitmap.DeleteObject();
  if (hbmImageWell && !m_bitmap.Attach(::CopyImage(hbmImageWell, IMAGE_BITMAP, 0, 0, 0))) return FALSE;
  return RebuildImages();
}

BOOL CToolBar::RebuildImages() {
  if (!m_hWnd || !m_bitmap.GetSafeHandle()) return TRUE;
  CImageList images;
  // AddMasked changes the bitmap it is given: cut from a copy.
  CBitmap strip;
  if (!images.Create(m_sizeImage.cx, m_sizeImage.cy, ILC_COLOR24 | ILC_MASK, 8, 8) ||
      !strip.Attach(::CopyImage(m_bitmap.GetSafeHandle(), IMAGE_BITMAP, 0, 0, 0)) ||
      images.Add(&strip, kStripMask) < 0)
    return FALSE;
  SendMessage(TB_SETIMAGELIST, 0, (LPARAM)images.GetSafeHandle());
  m_imageList.DeleteImageList();
  m_imageList.Attach(images.Detach());
  Invalidate();
  return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
  while (SendMessage(TB_BUTTONCOUNT) > 0) SendMessage(TB_DELETEBUTTON, 0);
  std::vector<TBBUTTON> buttons;
  int iImage = 0;
  for (int i = 0; i < nIDCount; ++i) {
    TBBUTTON button = {};
    button.fsState = TBSTATE_ENABLED;
    UINT nID = lpIDArray ? lpIDArray[i] : ID_SEPARATOR;
    if (nID == ID_SEPARATOR) {
      button.fsStyle = TBSTYLE_SEP;
      button.iBitmap = 8;  // the separator's width
    } else {
      button.fsStyle = TBSTYLE_BUTTON;
      button.idCommand = (int)nID;
      button.iBitmap = iImage++;
    }
    buttons.push_back(button);
  }
  if (buttons.empty()) return TRUE;
  return (BOOL)SendMessage(TB_ADDBUTTONSA, (WPARAM)buttons.size(), (LPARAM)buttons.data());
}

int CToolBar::GetCount() const { return (int)SendMessage(TB_BUTTONCOUNT); }

int CToolBar::CommandToIndex(UINT nIDFind) const { return (int)SendMessage(TB_COMMANDTOINDEX, nIDFind); }

UINT CToolBar::GetItemID(int nIndex) const {
  TBBUTTON button = {};
  SendMessage(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&button);
  return (UINT)button.idCommand;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  if (!SendMessage(TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect)) ::SetRectEmpty(lpRect);
}

UINT CToolBar::GetButtonStyle(int nIndex) const {
  TBBUTTON button = {};
  SendMessage(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&button);
  return MAKELONG(button.fsStyle, button.fsState ^ TBSTATE_ENABLED);
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
  UINT nID;
  UINT nOld;
  int iImage;
  GetButtonInfo(nIndex, nID, nOld, iImage);
  SetButtonInfo(nIndex, nID, nStyle, iImage);
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const {
  TBBUTTON button = {};
  SendMessage(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&button);
  nID = (UINT)button.idCommand;
  nStyle = MAKELONG(button.fsStyle, button.fsState ^ TBSTATE_ENABLED);
  iImage = button.iBitmap;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage) {
  TBBUTTONINFOA info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_STYLE | TBIF_STATE | TBIF_IMAGE;
  info.idCommand = (int)nID;
  info.fsStyle = (BYTE)LOWORD(nStyle);
  info.fsState = (BYTE)(HIWORD(nStyle) ^ TBSTATE_ENABLED);
  info.iImage = iImage;
  if (info.fsStyle & TBSTYLE_SEP) {
    info.dwMask |= TBIF_SIZE;
    info.cx = (WORD)iImage;  // a separator's "image" is its width
    info.iImage = 0;
  }
  SendMessage(TB_SETBUTTONINFOA, (WPARAM)nIndex, (LPARAM)&info);
  Invalidate();
}

BOOL CToolBar::SetButtonText(int nIndex, LPCSTR lpszText) {
  TBBUTTONINFOA info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
  info.pszText = (LPSTR)lpszText;
  return (BOOL)SendMessage(TB_SETBUTTONINFOA, (WPARAM)nIndex, (LPARAM)&info);
}

CString CToolBar::GetButtonText(int nIndex) const {
  char buffer[256] = "";
  TBBUTTONINFOA info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
  info.pszText = buffer;
  info.cchText = sizeof(buffer);
  SendMessage(TB_GETBUTTONINFOA, (WPARAM)nIndex, (LPARAM)&info);
  return CString(buffer);
}

// The buttons' extent plus the borders; a stretched bar takes the whole length.
CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  SIZE total = {0, 0};
  SendMessage(TB_GETMAXSIZE, 0, (LPARAM)&total);
  CSize size(total.cx + m_cxLeftBorder + m_cxRightBorder, std::max<LONG>(total.cy, m_sizeButton.cy) + m_cyTopBorder + m_cyBottomBorder);
  if (!bHorz) size = CSize(std::max<LONG>(total.cx, m_sizeButton.cx) + m_cxLeftBorder + m_cxRightBorder, total.cy + m_cyTopBorder + m_cyBottomBorder);
  if (bStretch) {
    if (bHorz)
      size.cx = 32767;
    else
      size.cy = 32767;
  }
  return size;
}

namespace {

// Enables and checks one tool bar button for its command.
struct ToolCmdUI : public CCmdUI {
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    CToolBar* pBar = static_cast<CToolBar*>(m_pOther);
    UINT nStyle = pBar->GetButtonStyle((int)m_nIndex);
    UINT nNew = bOn ? (nStyle & ~TBBS_DISABLED) : ((nStyle | TBBS_DISABLED) & ~TBBS_PRESSED);
    if (nNew != nStyle) pBar->SetButtonStyle((int)m_nIndex, nNew);
  }
  void SetCheck(int nCheck) override {
    CToolBar* pBar = static_cast<CToolBar*>(m_pOther);
    UINT nStyle = pBar->GetButtonStyle((int)m_nIndex);
    UINT nNew = nStyle & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
    if (nCheck == 1) nNew |= TBBS_CHECKED;
    if (nCheck == 2) nNew |= TBBS_INDETERMINATE;
    if (nNew != nStyle) pBar->SetButtonStyle((int)m_nIndex, nNew);
  }
  void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
  void SetText(LPCSTR) override {}
};

}  // namespace

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  ToolCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = (UINT)GetCount();
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, state.m_nIndex, (LPARAM)&button);
    if (button.fsStyle & TBSTYLE_SEP) continue;
    state.m_nID = (UINT)button.idCommand;
    state.DoUpdate(pTarget, bDisableIfNoHndler);
  }
}

// ----- borders -----

void CToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
  RECT& rc = lpncsp->rgrc[0];
  rc.left += m_cxLeftBorder;
  rc.top += m_cyTopBorder;
  rc.right = std::max(rc.left, rc.right - m_cxRightBorder);
  rc.bottom = std::max(rc.top, rc.bottom - m_cyBottomBorder);
}

void CToolBar::OnNcPaint() {
  CWindowDC dc(this);
  CRect rcWindow, rcClient;
  GetWindowRect(&rcWindow);
  GetClientRect(&rcClient);
  ClientToScreen(&rcClient);
  rcClient.OffsetRect(-rcWindow.left, -rcWindow.top);
  rcWindow.OffsetRect(-rcWindow.left, -rcWindow.top);
  dc.ExcludeClipRect(&rcClient);
  dc.FillSolidRect(&rcWindow, ::GetSysColor(COLOR_BTNFACE));
}

// ----- fly-by prompts -----

void CToolBar::TrackPrompt(int nIndex) {
  if (!(m_dwStyle & CBRS_FLYBY)) return;
  UINT nID = 0;
  if (nIndex >= 0 && nIndex < GetCount()) {
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&button);
    if (!(button.fsStyle & TBSTYLE_SEP)) nID = (UINT)button.idCommand;
  }
  if (nID == m_nIDPrompt) return;
  m_nIDPrompt = nID;
  CWnd* pOwner = GetOwner();
  if (!pOwner) return;
  if (nID)
    pOwner->SendMessage(WM_SETMESSAGESTRING, nID);
  else
    pOwner->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
}

void CToolBar::OnMouseMove(UINT nFlags, CPoint point) {
  CControlBar::OnMouseMove(nFlags, point);
  if (!(m_dwStyle & CBRS_FLYBY)) return;
  if (m_nIDPrompt == 0) {
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&tme);
  }
  POINT pt = point;
  TrackPrompt(GetToolBarCtrl().HitTest(&pt));
}

void CToolBar::OnMouseLeave() {
  CControlBar::OnMouseLeave();
  TrackPrompt(-1);
}
