#include "ZoomWndController.h"

#include <VxGUIDB.h>

#include "MovieCtrl.h"
#include "MovieCtrlRules.h"
#include "VxZoomWnd.h"

CZoomItemList::CZoomItemList() : m_nGroup(-1), m_nItem(-1) {}

void CZoomItemList::AddGroup(const CList<CThumbnail*, CThumbnail*>& list) {
  std::vector<CThumbnail*> g;
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    CThumbnail* p = list.GetNext(pos);
    if (p) g.push_back(p);
  }
  if (g.empty()) return;
  m_groups.push_back(g);
  if (m_nGroup < 0) m_nGroup = m_nItem = 0;
}

void CZoomItemList::Clear() {
  m_groups.clear();
  m_nGroup = m_nItem = -1;
}

BOOL CZoomItemList::SetCurrent(const CThumbnail* pItem) {
  for (size_t g = 0; g < m_groups.size(); ++g)
    for (size_t i = 0; i < m_groups[g].size(); ++i)
      if (m_groups[g][i] == pItem) {
        m_nGroup = (int)g;
        m_nItem = (int)i;
        return TRUE;
      }
  return FALSE;
}

CThumbnail* CZoomItemList::GetCurrentItem() const {
  if (m_nGroup < 0 || m_nGroup >= (int)m_groups.size()) return NULL;
  return m_groups[m_nGroup][m_nItem];
}

bool CZoomItemList::HasPrevGroup() const { return m_nGroup > 0; }
bool CZoomItemList::HasPrevItem() const { return m_nGroup >= 0 && m_nItem > 0; }
bool CZoomItemList::HasNextGroup() const { return m_nGroup >= 0 && m_nGroup + 1 < (int)m_groups.size(); }
bool CZoomItemList::HasNextItem() const { return m_nGroup >= 0 && m_nItem + 1 < (int)m_groups[m_nGroup].size(); }

void CZoomItemList::MovePrevGroup() {
  if (!HasPrevGroup()) return;
  --m_nGroup;
  m_nItem = 0;
}
void CZoomItemList::MovePrevItem() {
  if (m_nItem > 0) {
    --m_nItem;
  } else if (HasPrevGroup()) {
    --m_nGroup;
    m_nItem = (int)m_groups[m_nGroup].size() - 1;
  }
}
void CZoomItemList::MoveNextItem() {
  if (m_nGroup < 0) return;
  if (m_nItem + 1 < (int)m_groups[m_nGroup].size()) {
    ++m_nItem;
  } else if (HasNextGroup()) {
    ++m_nGroup;
    m_nItem = 0;
  }
}
void CZoomItemList::MoveNextGroup() {
  if (!HasNextGroup()) return;
  ++m_nGroup;
  m_nItem = 0;
}
void CZoomItemList::MoveFirst() {
  if (!m_groups.empty()) m_nGroup = m_nItem = 0;
}

CZoomWndController::CZoomWndController() : m_hBackground(NULL), m_pWnd(NULL), m_pMovie(NULL) {}
CZoomWndController::~CZoomWndController() {
  if (m_pWnd && ::IsWindow(m_pWnd->GetSafeHwnd())) m_pWnd->DestroyWindow();  // deletes itself
  m_pWnd = NULL;
  Destroy();
}

void CZoomWndController::AddItem(const CList<CThumbnail*, CThumbnail*>& list) { m_items.AddGroup(list); }

HWND CZoomWndController::GetWindow() const { return m_pWnd ? m_pWnd->GetSafeHwnd() : NULL; }

namespace {
const DWORD kMovie = 0x1000;
bool IsMovie(DWORD k) { return (k & kMovie) != 0; }
// The file kind whose items cannot be marked.
const int kUnmarkableKind = 55;
}  // namespace

int CZoomWndController::Open(CThumbnail* pItem, CWnd* pOwner, HBITMAP hBackground, CMovieCtrl* pMovie) {
  if (m_hBackground && m_hBackground != hBackground) ::DeleteObject(m_hBackground);
  m_hBackground = hBackground;
  if (!pItem || !CThumbnail::CheckThumbnailPointer(pItem) || !pItem->IsValidPath() || !m_items.SetCurrent(pItem)) {
    m_items.Clear();
    return 0;
  }
  const int ex = ::GetSystemMetrics(SM_CXEDGE), ey = ::GetSystemMetrics(SM_CYEDGE);
  CRect rc(-ex, -ey, ::GetSystemMetrics(SM_CXSCREEN) + ex, ::GetSystemMetrics(SM_CYSCREEN) + ey);
  m_pMovie = pMovie;
  const CString path = pItem->GetFilePath();
  const DWORD kind = pItem->GetKindFlags();
  const BOOL bMovie = IsMovie(kind);
  const BOOL bMarkable = pItem->GetFileKind() != kUnmarkableKind;
  CVxZoomWnd* pWnd = new CVxZoomWnd();
  pWnd->SetOwner(pOwner);
  pWnd->SetNoPictureBitmap(hBackground);
  pWnd->SetMovieCtrl(pMovie);
  pWnd->SetImage(path, pItem->IsZoomPicture() && !bMovie, bMarkable, bMovie, TRUE);
  pWnd->m_bOpened = FALSE;
  pWnd->m_bWantAnimation = TRUE;
  pWnd->m_bReady = FALSE;
  if (!pWnd->Create(NULL, "6D1F3A27-94C0-4B58-A1E6-3C7B20F95D84", WS_POPUP | WS_VISIBLE, rc, pOwner, NULL, 0)) {
    m_items.Clear();  // the frame deleted itself
    return 0;
  }
  m_pWnd = pWnd;
  m_pWnd->Invalidate();
  m_pWnd->UpdateWindow();
  // The opening animation runs in the first paint. Wait for it with a bound, letting paints
  // through: a paint that never comes, or an animation cut short, must not hang the browser.
  const DWORD start = ::GetTickCount();
  while (m_pWnd && !m_pWnd->m_bOpened && ::GetTickCount() - start < 2000) {
    MSG msg;
    while (::PeekMessageA(&msg, m_pWnd->GetSafeHwnd(), WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageA(&msg);
    ::Sleep(10);
  }
  m_pWnd->m_bOpened = TRUE;
  if (bMovie) {
    BOOL bShow = pItem->IsZoomPicture();
    if (FAILED(PlayMovie(pItem, FALSE))) bShow = FALSE;
    m_pWnd->SetImage(path, bShow, bMarkable, TRUE, TRUE);
  }
  m_pWnd->m_bReady = TRUE;
  m_pWnd->Invalidate();
  m_pWnd->UpdateWindow();
  return 1;
}

int CZoomWndController::Show(CThumbnail* pItem) {
  if (!m_pWnd || !pItem) return 0;
  if (m_pMovie && m_pMovie->IsOpen()) {
    m_pWnd->m_bMovieClosing = TRUE;
    m_pMovie->Close();
    m_pWnd->m_bMovieClosing = FALSE;
  }
  m_pWnd->m_bReady = FALSE;
  m_pWnd->m_bChanging = TRUE;
  m_pWnd->Invalidate();
  m_pWnd->UpdateWindow();
  const DWORD kind = pItem->GetKindFlags();
  BOOL bMovie = IsMovie(kind), bShow = pItem->IsZoomPicture();
  if (bMovie && FAILED(PlayMovie(pItem, FALSE))) bMovie = bShow = FALSE;
  const CString path = pItem->GetFilePath();
  m_pWnd->m_bReady = TRUE;
  m_pWnd->m_bChanging = FALSE;
  m_pWnd->SetImage(path, bShow, pItem->GetFileKind() != kUnmarkableKind, bMovie, TRUE);
  return 0;
}

HRESULT CZoomWndController::PlayMovie(CThumbnail* pItem, BOOL bStart) {
  if (!m_pMovie || !pItem || !m_pWnd) return E_FAIL;
  const DWORD kind = pItem->GetKindFlags();
  if (kind == kMovie) return E_FAIL;
  const CString path = pItem->GetFilePath();
  const bool bAvchd = (kind & 0x1040) == 0x1040;
  const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
  CRect rc(0, 0, cx, cy);
  if (!bAvchd) {
    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof(bih);
    if (CCMDIB::GetInfo(path, &bih) < 0) return HRESULT_FROM_WIN32(ERROR_BAD_FORMAT);
    const int w = bih.biWidth, h = bih.biHeight < 0 ? -bih.biHeight : bih.biHeight;
    const int left = (cx - w) / 2, top = (cy - h) / 2;
    rc = CRect(left, top, left + w, top + h);
    if (left < 0) rc.left = 0, rc.right = cx;
    if (top < 0) rc.top = 0, rc.bottom = cy;
  }
  m_pWnd->m_bMovieBusy = TRUE;
  m_pMovie->SetTarget(m_pWnd, FALSE);
  DWORD ref[4] = {};
  pItem->GetDiscRef(ref);
  HRESULT hr;
  switch (ChooseMovieRoute(kind, ref[0])) {
    case kMovieRouteQuickTime: hr = m_pMovie->OpenQuickTime(path, rc, TRUE); break;
    case kMovieRouteAvchd: hr = m_pMovie->OpenAvchd(path, rc, bStart); break;
    case kMovieRouteDisc: hr = m_pMovie->OpenDiscPlayer(rc, ref + 1, bStart); break;
    default: hr = m_pMovie->OpenDirectShow(path, rc); break;
  }
  m_pWnd->m_bMovieBusy = FALSE;
  return hr;
}

BOOL CZoomWndController::Close() {
  if (!m_pWnd || !::IsWindow(m_pWnd->GetSafeHwnd())) return FALSE;
  m_pWnd->SendMessage(WM_CLOSE);
  return TRUE;
}

void CZoomWndController::Destroy() {
  if (m_pMovie && m_pMovie->IsOpen()) m_pMovie->Close();
  if (m_hBackground) ::DeleteObject(m_hBackground);
  m_hBackground = NULL;
  m_pWnd = NULL;
  m_items.Clear();
}

CString CZoomWndController::GetCurrentPath() const { return m_pWnd ? m_pWnd->GetPath() : CString(); }

void CZoomWndController::SendKey(UINT nKey) {
  if (m_pWnd) m_pWnd->SendMessage(WM_KEYDOWN, nKey, 0);
}

BOOL CZoomWndController::ShowFirst() {
  m_items.MoveFirst();
  Show(m_items.GetCurrentItem());
  return TRUE;
}
BOOL CZoomWndController::ShowPrevGroup() {
  m_items.MovePrevGroup();
  Show(m_items.GetCurrentItem());
  return TRUE;
}
BOOL CZoomWndController::ShowPrevItem() {
  m_items.MovePrevItem();
  Show(m_items.GetCurrentItem());
  return TRUE;
}
BOOL CZoomWndController::ShowNextItem() {
  m_items.MoveNextItem();
  Show(m_items.GetCurrentItem());
  return TRUE;
}
BOOL CZoomWndController::ShowNextGroup() {
  m_items.MoveNextGroup();
  Show(m_items.GetCurrentItem());
  return TRUE;
}
