#include "CardDialogs.h"

#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>

#include "CardRules.h"

using namespace cardtree;

namespace {
const COLORREF kNoticeBack = 0xFFFAE7;
const COLORREF kNoticeText = 0x7A601F;
const int kButtonW = 98, kButtonH = 30;
const UINT_PTR kFollowTimer = 100;

bool IsAsianCharset(int cs) { return cs == 0 || cs == 128 || cs == 129 || cs == 130 || cs == 134 || cs == 136; }

int GuiCharset() {
  LOGFONTA lf = {};
  ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  return lf.lfCharSet;
}
}  // namespace

void SetGuiFontUnlessAsian(CWnd* pDialog) {
  if (IsAsianCharset(GuiCharset())) return;
  HFONT gui = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  for (HWND child = ::GetWindow(pDialog->GetSafeHwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(gui), TRUE);
}

// ---- CCardNoticeDlg -------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CCardNoticeDlg, CDialog)
  ON_WM_PAINT()
  ON_WM_CTLCOLOR()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_TIMER()
  ON_WM_DESTROY()
  ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

CCardNoticeDlg::CCardNoticeDlg(CWnd* pParent, LPCSTR lpszText, LPCSTR lpszCaption)
    : CDialog(IDD_CARD_NOTICE, pParent),
      m_nStyle(0),
      m_strText(lpszText ? lpszText : ""),
      m_pParent(pParent),
      m_nButtons(0),
      m_bHasIcon(FALSE),
      m_bDragging(FALSE),
      m_rcText(0, 0, 0, 0),
      m_initial(0, 0) {
  for (int& r : m_results) r = IDOK;
  if (lpszCaption && *lpszCaption) {
    m_strCaption = lpszCaption;
  } else if (pParent && pParent->GetSafeHwnd()) {
    pParent->GetWindowText(m_strCaption);
  }
  if (m_strCaption.IsEmpty()) m_strCaption = ResourceString(IDS_NOTICE_CAPTION).c_str();
}

BOOL CCardNoticeDlg::Create(CWnd* pParent) { return CDialog::Create(IDD_CARD_NOTICE, pParent ? pParent : m_pParent); }

BOOL CCardNoticeDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_brush.CreateSolidBrush(kNoticeBack);
  for (int i = 0; i < 5; ++i) {
    m_buttons[i].SubclassDlgItem(IDC_NOTICE_BUTTON1 + i, this);
    m_buttons[i].LoadSizedBitmaps(kButtonW, kButtonH, IDB_NOTICE_BUTTON, IDB_NOTICE_BUTTON_PRESSED,
                                  IDB_NOTICE_BUTTON_FOCUS, IDB_NOTICE_BUTTON_DISABLED);
    m_buttons[i].SetFocusImages(IDB_NOTICE_BUTTON, IDB_NOTICE_BUTTON_HOVER);
    m_buttons[i].SetWindowPos(NULL, 0, 0, kButtonW, kButtonH, SWP_NOMOVE | SWP_NOZORDER);
  }
  m_icon.SubclassDlgItem(IDC_NOTICE_ICON, this);
  SetTimer(kFollowTimer, 100, NULL);
  SetGuiFontUnlessAsian(this);
  CRect rc;
  GetWindowRect(&rc);
  m_initial = CSize(rc.Width(), rc.Height());
  if (!m_strCaption.IsEmpty()) SetWindowText(m_strCaption);
  if (m_nStyle & 0x10000) ::SetForegroundWindow(m_hWnd);
  if (m_nStyle & 0x40000) SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

  const NoticeButtons set = NoticeButtonSet(m_nStyle);
  m_nButtons = set.count;
  for (int i = 0; i < set.count; ++i) {
    m_buttons[i].SetWindowText(ResourceString(set.text[i]).c_str());
    m_results[i] = set.result[i];
    m_buttons[i].ShowWindow(SW_SHOW);
  }
  if (LPCSTR icon = NoticeIcon(m_nStyle)) {
    m_icon.SetIcon(::LoadIconA(NULL, icon));
    m_icon.ShowWindow(SW_SHOW);
    m_bHasIcon = TRUE;
  }
  if (m_nButtons > 0) GotoDlgCtrl(&m_buttons[NoticeDefaultButton(m_nStyle, m_nButtons)]);
  const UINT beep = m_nStyle & 0xF0;
  ::MessageBeep(beep == 16 || beep == 32 || beep == 48 || beep == 64 ? beep : 0);
  // Lay out at once, so that the window has its size before it is first shown.
  CClientDC dc(this);
  LayOut(&dc);
  return FALSE;
}

HFONT CCardNoticeDlg::TextFont() {
  if (IsAsianCharset(GuiCharset())) return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void CCardNoticeDlg::LayOut(CDC* pDC) {
  HGDIOBJ old = ::SelectObject(pDC->GetSafeHdc(), TextFont());
  MONITORINFO mi = {sizeof mi};
  ::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
  const CRect work(mi.rcWork);
  CRect measure(0, 0, static_cast<int>(0.6 * work.Width()), 0);
  const UINT right = (m_nStyle & 0x80000) ? DT_RIGHT : 0;
  ::DrawTextA(pDC->GetSafeHdc(), m_strText, -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | right);
  ::SelectObject(pDC->GetSafeHdc(), old);
  if (measure.Size() == m_rcText.Size() && !m_rcText.IsRectNull()) return;
  const SIZE icon = m_bHasIcon ? SIZE{::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)} : SIZE{0, 0};
  const NoticeLayout l = LayOutNotice(measure.Size(), icon, m_nButtons, SIZE{kButtonW, kButtonH}, m_initial);
  m_rcText = CRect(CPoint(l.textLeft, l.textTop), measure.Size());
  CRect place(work.left + (work.Width() - l.width) / 2, work.top + (work.Height() - l.height) / 2, 0, 0);
  if (m_pParent && m_pParent->GetSafeHwnd() && m_pParent->IsWindowVisible()) {
    CRect parent;
    m_pParent->GetWindowRect(&parent);
    place.left = parent.left + (parent.Width() - l.width) / 2;
    place.top = parent.top + (parent.Height() - l.height) / 2;
  }
  SetWindowPos(&wndTop, place.left, place.top, l.width, l.height, SWP_NOACTIVATE);
  m_icon.SetWindowPos(NULL, 18, 19, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  CRect client;
  GetClientRect(&client);
  for (int i = 0; i < m_nButtons; ++i)
    m_buttons[i].SetWindowPos(NULL, l.buttonX[i], client.bottom - 14 - kButtonH, kButtonW, kButtonH, SWP_NOZORDER);
  Invalidate();
}

void CCardNoticeDlg::OnPaint() {
  CPaintDC dc(this);
  LayOut(&dc);
  HDC hdc = dc.GetSafeHdc();
  HGDIOBJ old = ::SelectObject(hdc, TextFont());
  ::SetTextColor(hdc, RGB(0, 0, 0));
  ::SetBkMode(hdc, TRANSPARENT);
  CRect text(m_rcText);
  ::DrawTextA(hdc, m_strText, -1, &text, DT_WORDBREAK | DT_EXPANDTABS | ((m_nStyle & 0x80000) ? DT_RIGHT : 0));
  ::SelectObject(hdc, old);
  CRect client;
  GetClientRect(&client);
  HBRUSH black = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  ::FrameRect(hdc, &client, black);
  client.DeflateRect(1, 1);
  HBRUSH inner = ::CreateSolidBrush(RGB(0x2D, 0x7C, 0x9C));
  ::FrameRect(hdc, &client, inner);
  ::DeleteObject(inner);
}

BOOL CCardNoticeDlg::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  ::FillRect(pDC->GetSafeHdc(), &client, static_cast<HBRUSH>(m_brush.GetSafeHandle()));
  return TRUE;
}

HBRUSH CCardNoticeDlg::OnCtlColor(CDC* pDC, CWnd*, UINT) {
  pDC->SetBkColor(kNoticeBack);
  pDC->SetTextColor(kNoticeText);
  return static_cast<HBRUSH>(m_brush.GetSafeHandle());
}

BOOL CCardNoticeDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (id >= IDC_NOTICE_BUTTON1 && id < IDC_NOTICE_BUTTON1 + static_cast<UINT>(m_nButtons)) {
    EndDialog(m_results[id - IDC_NOTICE_BUTTON1]);
    return TRUE;
  }
  if (id == IDOK) {  // Enter on a button presses it
    HWND focus = ::GetFocus();
    for (int i = 0; i < m_nButtons; ++i)
      if (m_buttons[i].GetSafeHwnd() == focus) {
        EndDialog(m_results[i]);
        return TRUE;
      }
    return TRUE;
  }
  if (id == IDCANCEL) return TRUE;
  return CDialog::OnCommand(wParam, lParam);
}

void CCardNoticeDlg::OnSysCommand(UINT nID, LPARAM lParam) {
  if ((nID & 0xFFF0) == SC_CLOSE) return;
  CDialog::OnSysCommand(nID, lParam);
}

void CCardNoticeDlg::OnLButtonDown(UINT, CPoint point) {
  m_bDragging = TRUE;
  m_ptDrag = point;
  SetCapture();
}

void CCardNoticeDlg::OnLButtonUp(UINT, CPoint) {
  m_bDragging = FALSE;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
}

void CCardNoticeDlg::OnMouseMove(UINT nFlags, CPoint point) {
  if (!m_bDragging) return;
  if (!(nFlags & MK_LBUTTON)) {
    OnLButtonUp(0, point);
    return;
  }
  CRect rc;
  GetWindowRect(&rc);
  SetWindowPos(NULL, rc.left + point.x - m_ptDrag.x, rc.top + point.y - m_ptDrag.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  MSG msg;
  for (int i = 0; i < 10 && m_pParent && ::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE); ++i) {
    if (!::IsDialogMessageA(m_pParent->GetSafeHwnd(), &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
}

void CCardNoticeDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kFollowTimer || !m_bDragging) return;
  if (!(::GetAsyncKeyState(VK_LBUTTON) & 0x8000)) {
    OnLButtonUp(0, CPoint());
    return;
  }
  POINT pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  OnMouseMove(MK_LBUTTON, pt);
}

void CCardNoticeDlg::OnDestroy() {
  KillTimer(kFollowTimer);
  CDialog::OnDestroy();
}

// ---- the small dialogs ------------------------------------------------------------------

CDriveChangeDlg::CDriveChangeDlg(CWnd* pParent) : CDialog(IDD_DRIVE_CHANGE, pParent), m_nNoMore(0) {}

BOOL CDriveChangeDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetGuiFontUnlessAsian(this);
  SetDlgItemText(IDC_DRIVE_CHANGE_TEXT, m_strMessage);
  return TRUE;
}

BOOL CDriveChangeDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case IDC_DRIVE_CHANGE_YES:
      m_nNoMore = IsDlgButtonChecked(IDC_DRIVE_CHANGE_NO_MORE);
      EndDialog(IDC_DRIVE_CHANGE_YES);
      return TRUE;
    case IDC_DRIVE_CHANGE_NO:
      EndDialog(IDC_DRIVE_CHANGE_NO);
      return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

CImportInfoDlg::CImportInfoDlg(CWnd* pParent) : CDialog(IDD_IMPORT_INFO, pParent) {}

BOOL CImportInfoDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetGuiFontUnlessAsian(this);
  SetDlgItemText(IDC_IMPORT_INFO_TEXT, ResourceString(IDS_CARD_IMPORT_INFO).c_str());
  return TRUE;
}

void CImportInfoDlg::OnOK() {
  if (IsDlgButtonChecked(IDC_IMPORT_INFO_NO_MORE)) CMWriteProfileInt("CardTree", "InitDlg", 1);
  EndDialog(IDOK);
}

namespace cardtree {

int CardMessageBox(HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nStyle) {
  if (!IsHeadless()) return ::MessageBoxA(hOwner, lpszText, lpszCaption, nStyle);
  CCardNoticeDlg dlg(CWnd::FromHandle(hOwner), lpszText, lpszCaption);
  dlg.SetStyle(nStyle);
  return static_cast<int>(dlg.DoModal());
}

}  // namespace cardtree
