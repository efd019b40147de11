#include "MainStatusBar.h"

#include <VxDocument.h>
#include <VxResourceIds.h>

#include "MainWndMessages.h"
#include "OwnMessages.h"
#include "ui/ProgramFolder.h"
#include "StatusTexts.h"

namespace {

const COLORREF kBackground = RGB(13, 62, 89);
const COLORREF kText = RGB(255, 255, 255);
const COLORREF kProgressFill = RGB(255, 255, 255);
const COLORREF kProgressText = RGB(0, 0, 0);
const int kPaneMarks = 1;
const int kPaneSelection = 2;
const int kPaneFiles = 3;
const int kTextIndent = 24;

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_MARKS, ID_INDICATOR_SELECTION, ID_INDICATOR_FILES};

// Draws a bitmap of the resource library at (x, y), clipped to cx pixels (0: its width).
void DrawResourceBitmap(CDC* pDC, UINT nID, int x, int y, int cx = 0) {
  CBitmap bitmap;
  if (!bitmap.LoadBitmap(nID)) return;
  BITMAP bm = {};
  bitmap.GetBitmap(&bm);
  CDC dcMem;
  if (!dcMem.CreateCompatibleDC(pDC)) return;
  CBitmap* pOld = dcMem.SelectObject(&bitmap);
  pDC->BitBlt(x, y, cx > 0 ? std::min(cx, (int)bm.bmWidth) : bm.bmWidth, bm.bmHeight, &dcMem, 0, 0, SRCCOPY);
  dcMem.SelectObject(pOld);
}

}  // namespace

BEGIN_MESSAGE_MAP(CMainStatusBar, CStatusBar)
  // painting
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  // what the frame and the browser tell it
  ON_MESSAGE(WM_STATUS_PANE_TEXT, &CMainStatusBar::OnPaneText)
  ON_MESSAGE(WM_STATUS_SELECT_COUNT, &CMainStatusBar::OnSelectCount)
  ON_MESSAGE(WM_STATUS_MARK_COUNT, &CMainStatusBar::OnMarkCount)
  ON_MESSAGE(WM_STATUS_PROGRESS, &CMainStatusBar::OnProgress)
  ON_MESSAGE(WM_STATUS_FILE_COUNT, &CMainStatusBar::OnFileCount)
END_MESSAGE_MAP()

CMainStatusBar::CMainStatusBar() : m_nProgressPaneId(ID_INDICATOR_FILES), m_nProgress(0) {
  m_strSelectFormat.LoadString(IDS_STATUS_SELECT_COUNT);
  m_strMarkFormat.LoadString(IDS_STATUS_MARK_COUNT);
  m_strFileCountFormat.LoadString(IDS_STATUS_FILE_COUNT);
  m_strSelectText.Format(m_strSelectFormat, 0);
  m_strMarkText.Format(m_strMarkFormat, 0);
  m_strFileCountText.Format(m_strFileCountFormat, 0);
}

CMainStatusBar::~CMainStatusBar() {}

// ---- Creation ---------------------------------------------------------------------------

BOOL CMainStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  if (!CStatusBar::Create(pParentWnd, dwStyle, nID)) return FALSE;
  if (!SetIndicators(kIndicators, sizeof(kIndicators) / sizeof(kIndicators[0]))) return FALSE;
  CreateTextFont();
  ComputePaneWidths();
  SetPaneStyle(kPaneFiles, GetPaneStyle(kPaneFiles) | SBPS_OWNERDRAW);

  int cxIcon = ::GetSystemMetrics(SM_CXSMICON), cyIcon = ::GetSystemMetrics(SM_CYSMICON);
  static const struct {
    int nPane;
    UINT nIcon;
  } kIcons[] = {{kPaneMarks, IDI_STATUS_MARKS}, {kPaneSelection, IDI_STATUS_SELECTION}};
  for (const auto& icon : kIcons) {
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA(icon.nIcon), RT_GROUP_ICON);
    HICON hIcon = (HICON)::LoadImageA(hInst, MAKEINTRESOURCEA(icon.nIcon), IMAGE_ICON, cxIcon, cyIcon, LR_SHARED);  // the system frees it with the library
    if (hIcon) GetStatusBarCtrl().SetIcon(icon.nPane, hIcon);
  }
  GetStatusBarCtrl().SetBkColor(kBackground);
  SetPaneText(kPaneMarks, m_strMarkText);
  SetPaneText(kPaneSelection, m_strSelectText);
  return TRUE;
}

void CMainStatusBar::CreateTextFont() {
  CString strHeight, strFace;
  strHeight.LoadString(IDS_UI_FONT_HEIGHT);
  strFace.LoadString(IDS_UI_FONT_FACE);
  LOGFONTA lfGui = {};
  ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lfGui), &lfGui);
  LOGFONTA lf = {};
  lf.lfHeight = atoi(strHeight);
  lf.lfCharSet = (lfGui.lfCharSet == ANSI_CHARSET || lfGui.lfCharSet == SHIFTJIS_CHARSET) ? lfGui.lfCharSet : 0;
  lstrcpynA(lf.lfFaceName, strFace, LF_FACESIZE);
  m_font.CreateFontIndirect(&lf);
}

void CMainStatusBar::ComputePaneWidths() {
  // The widest texts: each count format filled with 9999, in the default GUI font.
  HMODULE hRes = LoadProgramLibrary("VxResource.dll");
  static const struct {
    int nPane;
    UINT nFormat;
    BOOL bIcon;
  } kPanes[] = {{kPaneMarks, IDS_STATUS_MARK_COUNT, TRUE},
                {kPaneSelection, IDS_STATUS_SELECT_COUNT, TRUE},
                {kPaneFiles, IDS_STATUS_FILE_COUNT, FALSE}};
  CClientDC dc(this);
  CFont* pOld = dc.SelectObject(CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT)));
  for (const auto& pane : kPanes) {
    CString strFormat, strText;
    if (hRes) strFormat.LoadString(hRes, pane.nFormat);
    strText.Format(strFormat, 9999);
    CSize size = dc.GetTextExtent(strText);
    int nWidth = StatusPaneWidth(size.cx, pane.bIcon ? ::GetSystemMetrics(SM_CXSMICON) : 0);
    UINT nID, nStyle;
    int cx;
    GetPaneInfo(pane.nPane, nID, nStyle, cx);
    SetPaneInfo(pane.nPane, nID, nStyle, nWidth);
  }
  dc.SelectObject(pOld);
  if (hRes) ::FreeLibrary(hRes);
}

// ---- Messages ---------------------------------------------------------------------------

CVxDocument* CMainStatusBar::GetActiveVxDocument() {
  CFrameWnd* pFrame = GetParentFrame();
  CView* pView = pFrame ? pFrame->GetActiveView() : NULL;
  return pView ? dynamic_cast<CVxDocument*>(pView->GetDocument()) : NULL;
}

long CMainStatusBar::GetBrowserFileCount() {
  CVxDocument* pDoc = GetActiveVxDocument();
  return pDoc && pDoc->GetBrowser() ? pDoc->GetBrowser()->GetFileCount() : 0;
}

LRESULT CMainStatusBar::OnPaneText(WPARAM wParam, LPARAM lParam) {
  if (ownmsg::IsForeign(WM_STATUS_PANE_TEXT, wParam, lParam)) return 0;
  int nPane = (int)wParam;
  if (nPane < 0 || nPane >= GetCount()) return 0;
  SetPaneStyle(nPane, GetPaneStyle(nPane) & ~SBPS_OWNERDRAW);
  SetPaneText(nPane, reinterpret_cast<LPCSTR>(lParam));
  RedrawPane(nPane);
  return 1;
}

void CMainStatusBar::ShowCount(int nPane, const CString& strFormat, CString& strText, BOOL bMarks) {
  CVxDocument* pDoc = GetActiveVxDocument();
  if (!pDoc || !pDoc->GetBrowser()) return;
  CBrowserDocument* pBrowser = pDoc->GetBrowser();
  strText.Format(strFormat, bMarks ? pBrowser->GetMarkCount() : pBrowser->GetSelectCount());
  SetPaneText(nPane, strText);
  RedrawPane(nPane);
  Invalidate(FALSE);
}

LRESULT CMainStatusBar::OnSelectCount(WPARAM, LPARAM) {
  ShowCount(kPaneSelection, m_strSelectFormat, m_strSelectText, FALSE);
  return 0;
}

LRESULT CMainStatusBar::OnMarkCount(WPARAM, LPARAM) {
  ShowCount(kPaneMarks, m_strMarkFormat, m_strMarkText, TRUE);
  return 0;
}

LRESULT CMainStatusBar::OnProgress(WPARAM, LPARAM lParam) {
  int nProgress = ClampProgress((int)lParam);
  if (nProgress == m_nProgress) return 0;
  m_nProgress = nProgress;
  if (m_strProgressCaption.IsEmpty()) m_strProgressCaption.LoadString(IDS_STATUS_PROGRESS);
  SetPaneStyle(kPaneFiles, GetPaneStyle(kPaneFiles) | SBPS_OWNERDRAW);
  SetPaneText(kPaneFiles, nProgress == STATUS_PROGRESS_NONE ? "" : (LPCSTR)m_strProgressCaption);
  RedrawPane(kPaneFiles);
  return 1;
}

LRESULT CMainStatusBar::OnFileCount(WPARAM, LPARAM lParam) {
  m_strFileCountText.Format(m_strFileCountFormat, (int)lParam);
  RedrawPane(kPaneFiles);
  return 0;
}

void CMainStatusBar::RedrawPane(int nPane) {
  if (!m_hWnd) return;
  CRect rc;
  GetItemRect(nPane, &rc);
  rc.right += kTextIndent;  // texts reach past their pane's right edge
  RedrawWindow(&rc, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
}

// ---- Painting ---------------------------------------------------------------------------

BOOL CMainStatusBar::OnEraseBkgnd(CDC*) { return TRUE; }

void CMainStatusBar::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);

  CBitmap back;
  if (back.LoadBitmap(IDB_STATUS_BACK)) {
    BITMAP bm = {};
    back.GetBitmap(&bm);
    CDC dcMem;
    dcMem.CreateCompatibleDC(&dc);
    CBitmap* pOld = dcMem.SelectObject(&back);
    dc.StretchBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcMem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    dcMem.SelectObject(pOld);
  } else {
    dc.FillSolidRect(&rcClient, kBackground);
  }
  DrawResourceBitmap(&dc, IDB_STATUS_SEPARATOR, rcClient.right - 16, 2, 16);
  DrawResourceBitmap(&dc, IDB_STATUS_GRIP, rcClient.right - 15, 0, 15);

  CRect rcMarks;
  GetItemRect(kPaneMarks, &rcMarks);
  if (rcMarks.Width() > 0) {
    for (int nPane = kPaneMarks; nPane <= kPaneFiles; ++nPane) {
      CRect rc;
      GetItemRect(nPane, &rc);
      DrawResourceBitmap(&dc, IDB_STATUS_SEPARATOR, rc.left, 2);
    }
    CRect rcSelection;
    GetItemRect(kPaneSelection, &rcSelection);
    DrawResourceBitmap(&dc, IDB_STATUS_MARKS, rcMarks.left + 6, 3);
    DrawResourceBitmap(&dc, IDB_STATUS_SELECTION, rcSelection.left + 6, 3);
  }

  CFont* pOldFont = dc.SelectObject(m_font.GetSafeHandle() ? &m_font : CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT)));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(kText);
  // The frame's messages (menu prompts, the idle text).
  CRect rcMessage;
  GetItemRect(0, &rcMessage);
  rcMessage.left += 4;
  dc.DrawText(GetPaneText(0), &rcMessage, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);

  DrawPaneText(&dc, kPaneMarks, GetPaneText(kPaneMarks), kTextIndent, kTextIndent, kTextIndent, 2);
  DrawPaneText(&dc, kPaneSelection, GetPaneText(kPaneSelection), kTextIndent, 2, kTextIndent, -20);
  if (m_nProgress == STATUS_PROGRESS_NONE)
    DrawPaneText(&dc, kPaneFiles, m_strFileCountText, kTextIndent, kTextIndent, kTextIndent, kTextIndent);
  else
    DrawProgress(&dc);
  dc.SelectObject(pOldFont);
}

void CMainStatusBar::DrawPaneText(CDC* pDC, int nPane, const CString& strText, int nLeftOffset, int nRightOffset,
                                  int nEraseLeft, int nEraseRight) {
  CRect rc;
  GetItemRect(nPane, &rc);
  CRect rcErase(rc.left + nEraseLeft, rc.top, rc.right + nEraseRight, rc.bottom);
  pDC->FillSolidRect(&rcErase, kBackground);
  CRect rcText(rc.left + nLeftOffset, rc.top, rc.right + nRightOffset, rc.bottom);
  pDC->DrawText(strText, &rcText, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
}

void CMainStatusBar::DrawProgress(CDC* pDC) {
  DRAWITEMSTRUCT dis = {};
  dis.CtlType = ODT_STATIC;
  dis.itemID = kPaneFiles;
  dis.hwndItem = m_hWnd;
  dis.hDC = pDC->GetSafeHdc();
  GetItemRect(kPaneFiles, &dis.rcItem);
  CString strKeep = GetPaneText(kPaneFiles);
  dis.itemData = (ULONG_PTR)(LPCSTR)strKeep;
  DrawItem(&dis);
}

void CMainStatusBar::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  if ((int)lpDIS->itemID != kPaneFiles || !(GetPaneStyle(kPaneFiles) & SBPS_OWNERDRAW) || m_nProgress < 0) return;
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  CRect rc = lpDIS->rcItem;
  pDC->FillSolidRect(&rc, kBackground);
  CRect rcFill = rc;
  rcFill.right = rc.left + ProgressFillWidth(rc.Width(), m_nProgress);
  pDC->FillSolidRect(&rcFill, kProgressFill);

  CString strCaption = ProgressCaption(reinterpret_cast<LPCSTR>(lpDIS->itemData), GetBrowserFileCount());
  CFont* pOldFont = pDC->SelectObject(m_font.GetSafeHandle() ? &m_font : CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT)));
  int nOldMode = pDC->SetBkMode(TRANSPARENT);
  const UINT kFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX;
  // White over the dark part, black over the filled part.
  int nSaved = pDC->SaveDC();
  pDC->ExcludeClipRect(&rcFill);
  pDC->SetTextColor(kText);
  pDC->DrawText(strCaption, &rc, kFormat);
  pDC->RestoreDC(nSaved);
  nSaved = pDC->SaveDC();
  pDC->IntersectClipRect(&rcFill);
  pDC->SetTextColor(kProgressText);
  pDC->DrawText(strCaption, &rc, kFormat);
  pDC->RestoreDC(nSaved);
  pDC->SetBkMode(nOldMode);
  pDC->SelectObject(pOldFont);
}
