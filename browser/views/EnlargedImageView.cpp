#include "EnlargedImageView.h"

#include <Kitlib2/Kitlib2.h>
#include <VxDocument.h>
#include <VxGUIDB.h>
#include <VxProperty.h>
#include <VxResourceIds.h>

#include "EnlargedImageRules.h"
#include "ImgButton.h"
#include "MainWndMessages.h"
#include "MovieCtrl.h"
#include "MovieCtrlBar.h"
#include "TransInternal.h"

#define VXTIMER_POSITION 10
#define VXTIMER_SEEK 11
#define VXTIMER_WINDOW 12
#define VXTIMER_RETRY 13
#define VXPROP_CAPTION 0x70000
#define WM_MOVIE_API_END 1865

// ---- The message --------------------------------------------------------------------------

void CEnlargedMessage::SetMessage(UINT nID) {
  if (!m_strText.IsEmpty() || nID == m_nID) return;
  m_strText = CResourceLoader().LoadStringA(nID);
  m_nID = nID;
}

void CEnlargedMessage::SetFormattedMessage(UINT nID, double dValue) {
  if (!m_strText.IsEmpty() || nID == m_nID) return;
  CResourceLoader().LoadFormatString(m_strText, nID, dValue);
  m_nID = nID;
}

void CEnlargedMessage::AppendMessage(UINT nID) {
  if (m_strText.IsEmpty() || nID == m_nID) return;
  CString more = CResourceLoader().LoadStringA(nID), joined;
  joined.Format("%s%s", (LPCSTR)m_strText, (LPCSTR)more);
  m_strText = joined;
  m_nID = nID;
}

void CEnlargedMessage::Draw(CDC* pDC) {
  CWnd* pWnd = CWnd::FromHandle(::WindowFromDC(pDC->GetSafeHdc()));
  CRect rcClient;
  if (pWnd) pWnd->GetClientRect(&rcClient);
  if (rcClient.Height() <= 0) return;
  CRect rc = rcClient;
  pDC->DrawText(m_strText, &rc, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK | DT_CENTER);
  rc.OffsetRect(rcClient.CenterPoint() - rc.CenterPoint());
  COLORREF oldText = pDC->SetTextColor(RGB(255, 255, 255)), oldBack = pDC->SetBkColor(RGB(0, 0, 0));
  pDC->DrawText(m_strText, &rc, DT_NOPREFIX | DT_WORDBREAK | DT_CENTER);
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBack);
}

// ---- The view -------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CEnlargedImageView, CScrollView)

BEGIN_MESSAGE_MAP(CEnlargedImageView, CScrollView)
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_WM_MOVE()
  ON_WM_TIMER()
  ON_WM_HSCROLL()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONUP()
  ON_WM_CONTEXTMENU()
  ON_WM_MOUSEWHEEL()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CEnlargedImageView::CEnlargedImageView()
    : m_szLoadBox{0, 0},
      m_pPlayBtn(NULL),
      m_pFullBtn(NULL),
      m_pSlider(NULL),
      m_nPlayID(0),
      m_nFullID(0),
      m_nSliderID(0),
      m_bDragging(FALSE),
      m_nLastSought(-1),
      m_bMovieLoaded(FALSE),
      m_pMovie(NULL),
      m_rcWindow(),
      m_bSeeking(FALSE),
      m_pShown(new CFileTime),
      m_hCaptionFont(NULL),
      m_bRepeat(TRUE),
      m_bRetryPending(FALSE) {
  // The view never scrolls: its drawing stays in client coordinates.
  SetCenter(FALSE);
}

CEnlargedImageView::~CEnlargedImageView() {
  for (CWnd* p : {(CWnd*)m_pPlayBtn, (CWnd*)m_pFullBtn, (CWnd*)m_pSlider}) {
    if (p && ::IsWindow(p->m_hWnd)) p->DestroyWindow();
    delete p;
  }
  delete m_pShown;
  if (m_hCaptionFont) ::DeleteObject(m_hCaptionFont);
}

CVxDocument* CEnlargedImageView::GetDocument() const { return dynamic_cast<CVxDocument*>(m_pDocument); }

HWND CEnlargedImageView::GetMainWindow() const {
  CWnd* pMain = AfxGetMainWnd();
  return pMain ? pMain->GetSafeHwnd() : NULL;
}

BOOL CEnlargedImageView::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  return CScrollView::PreCreateWindow(cs);
}

void CEnlargedImageView::OnInitialUpdate() {
  CScrollView::OnInitialUpdate();
  SetScrollSizes(MM_TEXT, CSize(0, 0));
  CVxDocument* pDoc = GetDocument();
  if (pDoc && pDoc->GetBrowser()) m_pMovie = static_cast<CMovieCtrl*>(pDoc->GetBrowser()->GetMoviePlayer());
  GetWindowRect(&m_rcWindow);
  if (!m_hCaptionFont) {
    LOGFONTA lf = {};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    LOGFONTA font = {};
    CClientDC dc(this);
    font.lfHeight = -::MulDiv(14, dc.GetDeviceCaps(LOGPIXELSY), 72);
    font.lfCharSet = lf.lfCharSet;
    lstrcpynA(font.lfFaceName, lf.lfFaceName, LF_FACESIZE);
    m_hCaptionFont = ::CreateFontIndirectA(&font);
  }
}

void CEnlargedImageView::GetVideoRect(RECT* p) {
  CRect rc;
  GetClientRect(&rc);
  *p = EnlargedVideoRect(rc);
}
void CEnlargedImageView::GetPlayBtnRect(RECT* p) {
  CRect rc;
  GetClientRect(&rc);
  *p = EnlargedPlayBtnRect(rc);
}
void CEnlargedImageView::GetFullBtnRect(RECT* p) {
  CRect rc;
  GetClientRect(&rc);
  *p = EnlargedFullBtnRect(rc);
}
void CEnlargedImageView::GetSliderRect(RECT* p) {
  CRect rc;
  GetClientRect(&rc);
  *p = EnlargedSliderRect(rc);
}
void CEnlargedImageView::GetDrawRect(int w, int h, CRect& rect) { rect = EnlargedDrawRect(w, h, rect); }

UINT CEnlargedImageView::GetNewWndID() {
  std::vector<UINT> used;
  for (CWnd* p = GetWindow(GW_CHILD); p; p = p->GetNextWindow()) used.push_back((UINT)p->GetDlgCtrlID());
  return EnlargedNewWndID(used);
}

void CEnlargedImageView::DropRetry() {
  // A retry that will not run must not leave its guard up: the next picture that fails,
  // here or in the next run, would get no retry at all.
  if (!m_bRetryPending) return;
  KillTimer(VXTIMER_RETRY);
  m_bRetryPending = FALSE;
  CMWriteProfileInt(VXDOC_SECTION, "Wait", 0);
}

void CEnlargedImageView::ResetFocusView() {
  DropRetry();
  if (m_message.HasText()) {
    m_message.Clear();
    Invalidate();
  }
  for (CWnd* p : {(CWnd*)m_pPlayBtn, (CWnd*)m_pFullBtn, (CWnd*)m_pSlider})
    if (p && ::IsWindow(p->m_hWnd)) p->ShowWindow(SW_HIDE);
  if (m_pMovie) m_pMovie->Close();
  KillTimer(VXTIMER_POSITION);
  KillTimer(VXTIMER_SEEK);
  KillTimer(VXTIMER_WINDOW);
  m_bMovieLoaded = FALSE;
  m_picture.Empty();
  m_buffer.Empty();
  m_strCaption.Empty();
  Invalidate();
  if (CVxDocument* pDoc = GetDocument())
    if (pDoc->GetBrowser()) pDoc->GetBrowser()->SetFocusItemID(VXID_NONE);
  m_pShown->Clear();
}

void CEnlargedImageView::OnUpdate(CView*, LPARAM lHint, CObject* pHint) {
  if (pHint) return;
  BOOL bShown = m_bMovieLoaded || !m_picture.IsEmpty();
  auto clearMessage = [this] {
    if (m_message.HasText()) {
      m_message.Clear();
      Invalidate();
    }
  };
  if (!IsWindowVisible() || IsIconic()) {
    clearMessage();
    if (bShown) ResetFocusView();
    return;
  }
  if (lHint < 1 || lHint > 4) return;
  clearMessage();
  if (lHint != 1) {
    if (bShown) ResetFocusView();
    return;
  }
  CVxDocument* pVx = GetDocument();
  CBrowserDocument* pDoc = pVx ? pVx->GetBrowser() : NULL;
  if (!pDoc || pDoc->GetSelectCount() != 1) {
    if (bShown) ResetFocusView();
    return;
  }
  if (m_bMovieLoaded && m_pMovie && !m_pMovie->IsOpen()) ResetFocusView();
  CThumbnail* pItem = pDoc->GetLastSelectedItem();
  CFileTime identity;
  if (!pItem || FAILED(identity.Extract(pItem))) return;
  bShown = m_bMovieLoaded || !m_picture.IsEmpty();
  // The same file stays on screen.
  if (bShown && !m_pShown->IsEmpty() && *m_pShown == identity) return;
  if (bShown) ResetFocusView();

  CFrameWnd* pFrame = GetParentFrame();
  CView* pActive = pFrame ? pFrame->GetActiveView() : NULL;
  m_message.Clear();
  m_buffer.Empty();
  UINT kind = pItem->GetKindFlags();
  if (kind & VXKIND_STILL) {
    if (SUCCEEDED(LoadPicture(pItem))) *m_pShown = identity;
  } else if (kind & VXKIND_MOVIE) {
    HRESULT hr = LoadMovie(pItem);
    if (FAILED(hr)) {
      DWORD disc[4] = {};
      pItem->GetDiscRef(disc);
      VXMOVIEMESSAGE m = EnlargedMovieMessage(EnlargedMovieRoad(kind, disc[0] != 0) == VXMOVIE_API,
                                              m_pMovie && !m_pMovie->IsQuickTimeUsable(), hr);
      if (m.nFirst == IDS_MOVIE_NEEDS_PLAYER)
        m_message.SetFormattedMessage(m.nFirst, 6.5);
      else if (m.nFirst)
        m_message.SetMessage(m.nFirst);
      if (m.nAppend) m_message.AppendMessage(m.nAppend);
    }
    Invalidate();
    if (SUCCEEDED(hr) && m_pMovie && m_pMovie->IsOpen()) {
      if (CMGetProfileInt(VXDOC_SECTION, "VideoStart", 0) == 1) {
        m_pMovie->TogglePlay(0);
        CMWriteProfileInt(VXDOC_SECTION, "VideoStart", 0);
      } else {
        m_pMovie->Stop();
        m_pMovie->Seek(0.0, 0);
        m_pMovie->Pause();
      }
    }
    UpdateWindow();
    if (SUCCEEDED(hr)) *m_pShown = identity;
  }
  if (pActive && pFrame && pActive != this) {
    pFrame->SetActiveView(pActive);
    pActive->SetFocus();
  }
  pDoc->SetFocusItemID(pItem->GetUniqueID(VXID_SLOT_VIEW));
}

HRESULT CEnlargedImageView::LoadPicture(CThumbnail* pItem) {
  if (!pItem) return E_PENDING;  // 0x8000000A
  m_bMovieLoaded = FALSE;
  CString path = pItem->GetFilePath();
  m_strCaption.Empty();
  if (HPRPROPERTY h = ::PrInitGetPropertyString(path, 0)) {
    if (LPCSTR p = ::PrGetPropertyString(h, VXPROP_CAPTION)) m_strCaption = p;
    ::PrExitGetPropertyString(h);
  }
  m_strPicturePath = path;
  m_szLoadBox = LoadBox();
  // Decoded no larger than the monitor needs, upright by its Exif orientation.
  long r = m_picture.LoadFit(path, m_szLoadBox, CMDIB_LOAD_UPRIGHT);
  if (r < 0) {
    m_picture.Empty();
    // One retry: the file may still be being written.
    if (CMGetProfileInt(VXDOC_SECTION, "Wait", 0) == 0) {
      CMWriteProfileInt(VXDOC_SECTION, "Wait", 1);
      m_bRetryPending = SetTimer(VXTIMER_RETRY, 600, NULL) != 0;
      return E_FAIL;
    }
    CMWriteProfileInt(VXDOC_SECTION, "Wait", 0);
    return (HRESULT)r;
  }
  CMWriteProfileInt(VXDOC_SECTION, "Wait", 0);
  if (!CreateStillImageBuffer()) return E_FAIL;
  Invalidate();
  return (HRESULT)r;
}

SIZE CEnlargedImageView::LoadBox() {
  CRect rc;
  GetClientRect(&rc);
  MONITORINFO mi = {sizeof(mi)};
  HMONITOR h = ::MonitorFromWindow(GetSafeHwnd(), MONITOR_DEFAULTTONEAREST);
  if (!h || !::GetMonitorInfoA(h, &mi)) ::SetRect(&mi.rcMonitor, 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  return EnlargedLoadBox(mi.rcMonitor, rc.Size());
}

BOOL CEnlargedImageView::CreateStillImageBuffer() {
  m_buffer.Empty();
  if (m_picture.IsEmpty()) return TRUE;
  CRect rc;
  if (m_bMovieLoaded)
    GetVideoRect(&rc);
  else
    GetClientRect(&rc);
  if (rc.Width() <= 0 || rc.Height() <= 0) return TRUE;
  // A view grown beyond the box the picture was cut down to (another monitor) loads it
  // again; a failure keeps the smaller picture.
  if (!m_bMovieLoaded && EnlargedNeedsReload(m_picture.GetDimensions(), m_szLoadBox, rc.Size())) {
    SIZE box = LoadBox();
    CCMDIB larger;
    if (larger.LoadFit(m_strPicturePath, box, CMDIB_LOAD_UPRIGHT) >= 0) m_picture = larger;
    m_szLoadBox = box;
  }
  // The picture fitted (not stretched) into the target, so the caption's scale holds.
  CRect fit = EnlargedDrawRect(m_picture.GetWidth(), m_picture.GetHeight(), CRect(0, 0, rc.Width(), rc.Height()));
  return m_picture.ResizeFilter(CSize(std::max(1, fit.Width()), std::max(1, fit.Height())), &m_buffer, 33) >= 0;
}

HRESULT CEnlargedImageView::LoadMovie(CThumbnail* pItem) {
  if (!m_pMovie || !pItem || pItem->GetKindFlags() == VXKIND_MOVIE || m_bMovieLoaded) return E_FAIL;
  m_pMovie->m_bGoNext = FALSE;
  m_bRepeat = TRUE;
  CString path = pItem->GetFilePath();
  UINT kind = pItem->GetKindFlags();
  DWORD disc[4] = {};
  pItem->GetDiscRef(disc);
  VXMOVIEROAD road = EnlargedMovieRoad(kind, disc[0] != 0);
  if (road != VXMOVIE_AVCHD) {
    BITMAPINFOHEADER bih = {};
    CString codec;
    if (CCMDIB::GetInfo(path, &bih, &codec) < 0) return (HRESULT)0x8007065E;
  }
  m_pMovie->SetTarget(this, 0);
  RECT rcVideo;
  GetVideoRect(&rcVideo);
  rcVideo.left += 1;
  HRESULT hr = E_FAIL;
  switch (road) {
    case VXMOVIE_API:
      m_bRepeat = CMGetProfileInt("Settings\\Device\\GMRPLAY", "Continue", 0) == 0;
      hr = m_pMovie->OpenQuickTime(path, rcVideo, m_bRepeat);
      if (FAILED(hr))
        hr = EnlargedApiOpenFailure(hr, (size_t)pItem->GetFileName().GetLength(), (size_t)path.GetLength());
      break;
    case VXMOVIE_AVCHD: hr = m_pMovie->OpenAvchd(path, rcVideo, 1); break;
    case VXMOVIE_DISC: hr = m_pMovie->OpenDiscPlayer(rcVideo, disc, 1); break;
    default: hr = m_pMovie->OpenDirectShow(path, rcVideo); break;
  }
  if (FAILED(hr)) return hr;
  m_bMovieLoaded = TRUE;
  MakeMovieControls();
  int ticks = EnlargedTicks(m_pMovie->GetDuration());
  m_pPlayBtn->ShowWindow(SW_SHOW);
  m_pPlayBtn->EnableWindow(ticks > 0);
  m_pFullBtn->ShowWindow(SW_SHOW);
  m_pFullBtn->EnableWindow(ticks > 0 && !m_pMovie->IsVideoRectEmpty());
  m_pSlider->SetPos(0);
  if (ticks > 0) {
    m_pSlider->SetRange(0, ticks, FALSE);
    SetTimer(VXTIMER_POSITION, 200, NULL);
  } else {
    m_pSlider->SetRange(0, 1, FALSE);
  }
  m_pSlider->SetTicFreq(1);
  m_pSlider->ShowWindow(SW_SHOW);
  m_pSlider->EnableWindow(ticks > 0);
  SetTimer(VXTIMER_WINDOW, 500, NULL);
  return hr;
}

void CEnlargedImageView::MakeMovieControls() {
  CResourceChanger res;
  CResourceLoader strings;
  RECT rc;
  const struct {
    CImgButton** pp;
    UINT* pId;
    void (CEnlargedImageView::*place)(RECT*);
    UINT normal, selected, focus, disabled;
  } buttons[] = {
      {&m_pPlayBtn, &m_nPlayID, &CEnlargedImageView::GetPlayBtnRect, IDB_MOVIE_PLAY, IDB_MOVIE_PLAY_SELECTED,
       IDB_MOVIE_PLAY_FOCUS, IDB_MOVIE_PLAY_DISABLED},
      {&m_pFullBtn, &m_nFullID, &CEnlargedImageView::GetFullBtnRect, IDB_MOVIE_ZOOM, IDB_MOVIE_ZOOM_SELECTED,
       IDB_MOVIE_ZOOM_FOCUS, IDB_MOVIE_ZOOM_DISABLED},
  };
  const CString tips[] = {strings.LoadStringA(IDS_MOVIE_PLAY) + "/" + strings.LoadStringA(IDS_MOVIE_PAUSE),
                          strings.LoadStringA(IDS_ZOOM)};
  for (int i = 0; i < 2; ++i) {
    if (*buttons[i].pp) continue;
    CImgButton* p = new CImgButton;
    *buttons[i].pId = GetNewWndID();
    (this->*buttons[i].place)(&rc);
    if (!p->Create(tips[i], WS_CHILD | BS_OWNERDRAW, rc, this, *buttons[i].pId)) {
      delete p;
      continue;
    }
    p->LoadBitmaps(buttons[i].normal, buttons[i].selected, buttons[i].focus, buttons[i].disabled);
    p->SizeToContent();
    p->SetToolTipText(tips[i], TRUE);
    *buttons[i].pp = p;
  }
  if (!m_pSlider) {
    CMovieCtrlBar* p = new CMovieCtrlBar;
    m_nSliderID = GetNewWndID();
    GetSliderRect(&rc);
    if (p->Create(WS_CHILD | TBS_AUTOTICKS | TBS_HORZ, rc, this, m_nSliderID)) {
      p->SetChannelBitmaps(IDB_MOVIE_CHANNEL, IDB_MOVIE_CHANNEL_LEFT, IDB_MOVIE_CHANNEL_RIGHT);
      p->SetThumbBitmaps(IDB_MOVIE_THUMB, IDB_MOVIE_THUMB_PRESSED, IDB_MOVIE_THUMB_HOT, IDB_MOVIE_THUMB_DISABLED);
      p->EnableToolTips(TRUE);
      m_pSlider = p;
    } else {
      delete p;
    }
  }
  PlaceMovieControls();
}

// The channel runs across the bar's own client area, 6 pixels in from each side.
void CEnlargedImageView::FitSliderChannel() {
  if (!m_pSlider || !m_pSlider->GetSafeHwnd()) return;
  CRect rc;
  m_pSlider->GetClientRect(&rc);
  rc.DeflateRect(6, 0);
  m_pSlider->SetChannelRect(rc);
}

void CEnlargedImageView::PlaceMovieControls() {
  RECT rc;
  // The buttons keep the size of their pictures.
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (m_pPlayBtn && m_pPlayBtn->GetSafeHwnd()) {
    GetPlayBtnRect(&rc);
    m_pPlayBtn->SetWindowPos(NULL, rc.left, rc.top, 0, 0, flags | SWP_NOSIZE);
  }
  if (m_pFullBtn && m_pFullBtn->GetSafeHwnd()) {
    GetFullBtnRect(&rc);
    m_pFullBtn->SetWindowPos(NULL, rc.left, rc.top, 0, 0, flags | SWP_NOSIZE);
  }
  if (m_pSlider && m_pSlider->GetSafeHwnd()) {
    GetSliderRect(&rc);
    m_pSlider->SetWindowPos(NULL, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, flags);
    FitSliderChannel();
  }
}

BOOL CEnlargedImageView::OnEraseBkgnd(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, RGB(0, 0, 0));
  return TRUE;
}

void CEnlargedImageView::OnDraw(CDC* pDC) {
  if (!IsWindowVisible() || IsIconic()) return;
  if (m_message.HasText()) {
    m_message.Draw(pDC);
    return;
  }
  if (m_buffer.IsEmpty()) {
    for (CWnd* p : {(CWnd*)m_pPlayBtn, (CWnd*)m_pFullBtn, (CWnd*)m_pSlider})
      if (p && ::IsWindow(p->m_hWnd)) p->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (m_pMovie && m_pMovie->IsOpen() && (m_pMovie->IsPlaying() || m_pMovie->GetDiscPlayerKind() == 2))
      m_pMovie->RedrawVideo();
    return;
  }
  // The fitted picture, centred.
  CRect rcClient;
  GetClientRect(&rcClient);
  CRect at = EnlargedDrawRect(m_buffer.GetWidth(), m_buffer.GetHeight(), rcClient);
  m_buffer.Draw(pDC->GetSafeHdc(), at.left, at.top);
  if (m_strCaption.IsEmpty()) return;
  int cx = EnlargedCaptionWidth(m_picture.GetWidth(), m_picture.GetHeight(), m_buffer.GetWidth(), m_buffer.GetHeight());
  RECT band;
  GetFullBtnRect(&band);
  CRect rc((rcClient.right - cx) / 2, band.top, rcClient.right, band.bottom);
  HGDIOBJ old = m_hCaptionFont ? pDC->SelectObject(CFont::FromHandle(m_hCaptionFont)) : NULL;
  COLORREF oldColor = pDC->SetTextColor(RGB(255, 255, 255));
  int oldMode = pDC->SetBkMode(TRANSPARENT);
  pDC->DrawText(m_strCaption, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX);
  pDC->SetBkMode(oldMode);
  pDC->SetTextColor(oldColor);
  if (old) pDC->SelectObject(CFont::FromHandle((HFONT)old));
}

void CEnlargedImageView::OnSize(UINT nType, int cx, int cy) {
  CScrollView::OnSize(nType, cx, cy);
  if (m_bMovieLoaded && m_pMovie) {
    RECT rc;
    GetVideoRect(&rc);
    rc.left += 1;
    m_pMovie->SetVideoRect(rc, 0);
  } else {
    CreateStillImageBuffer();
  }
  PlaceMovieControls();
  GetWindowRect(&m_rcWindow);
}

void CEnlargedImageView::OnMove(int x, int y) {
  CScrollView::OnMove(x, y);
  GetWindowRect(&m_rcWindow);
}

void CEnlargedImageView::OnTimer(UINT_PTR nIDEvent) {
  switch (nIDEvent) {
    case VXTIMER_RETRY:
      KillTimer(VXTIMER_RETRY);
      m_bRetryPending = FALSE;
      OnUpdate(NULL, VXHINT_SELECTION, NULL);
      break;
    case VXTIMER_POSITION:
      if (!m_pMovie || m_pMovie->GetTarget() != this) break;
      KillTimer(VXTIMER_POSITION);
      if (!m_bDragging) UpdatePlayPosFromMovie();
      SetTimer(VXTIMER_POSITION, 200, NULL);
      break;
    case VXTIMER_SEEK: UpdatePlayPosFromSlider(); break;
    case VXTIMER_WINDOW: {
      CRect rc;
      GetWindowRect(&rc);
      if (!m_bDragging && !::EqualRect(&rc, &m_rcWindow)) {
        m_rcWindow = rc;
        RECT video;
        GetVideoRect(&video);
        if (m_pMovie) m_pMovie->SetVideoRect(video, 0);
      }
      break;
    }
    default: CScrollView::OnTimer(nIDEvent);
  }
}

void CEnlargedImageView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (nSBCode == SB_THUMBTRACK) {
    m_bDragging = TRUE;
    SetTimer(VXTIMER_SEEK, 1000, NULL);
  } else if (nSBCode == SB_ENDSCROLL) {
    KillTimer(VXTIMER_SEEK);
  } else if (nSBCode == SB_THUMBPOSITION) {
    UpdatePlayPosFromSlider();
  }
  if (nSBCode == SB_ENDSCROLL || nSBCode == SB_THUMBPOSITION) m_bDragging = FALSE;
  if (!m_bDragging) m_nLastSought = -1;
  if (nSBCode != SB_THUMBPOSITION && nSBCode != SB_THUMBTRACK) UpdatePlayPosFromSlider();
}

void CEnlargedImageView::UpdatePlayPosFromSlider() {
  if (!m_pMovie || !m_pSlider || !m_pSlider->GetSafeHwnd()) return;
  KillTimer(VXTIMER_POSITION);
  m_bSeeking = TRUE;
  int pos = m_pSlider->GetPos();
  BOOL bSeek = TRUE;
  if (m_bDragging) {
    if (pos == m_nLastSought)
      bSeek = FALSE;
    else
      m_nLastSought = pos;
  }
  if (bSeek) m_pMovie->Seek(pos > 0 ? pos * 0.1 : 0.0, 0);
  m_bSeeking = FALSE;
  SetTimer(VXTIMER_POSITION, 200, NULL);
}

// A movie that ended goes on to the next entry of the browser's list when it lies on the
// same page: the main window is asked to select it (a movie starts playing). FALSE when
// there is none to go on to.
BOOL CEnlargedImageView::GoOnToNextEntry() {
  CVxDocument* pVx = GetDocument();
  CBrowserDocument* pDoc = pVx ? pVx->GetBrowser() : NULL;
  ICGBrowser* pBrowser = GetCGBrowser();
  if (!pDoc || !pBrowser) return FALSE;
  CThumbnail* pSelected = pDoc->GetLastSelectedItem();
  CGFileInfoList list;
  if (!pSelected || FAILED(pBrowser->GetFileData(&list, 0))) return FALSE;
  std::vector<CThumbnail*> items;
  std::vector<const void*> pages;
  int nSelected = -1;
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    CThumbnail* p = pDoc->GetThumbnail(list.GetNext(pos).path);
    if (p == pSelected && nSelected < 0) nSelected = (int)items.size();
    items.push_back(p);
    pages.push_back(p ? p->GetPage() : NULL);
  }
  int next = EnlargedNextEntry(pages, nSelected);
  if (next < 0 || !items[next]) return FALSE;
  if (items[next]->HasKind(VXKIND_MOVIE)) CMWriteProfileInt(VXDOC_SECTION, "VideoStart", 1);
  HWND hMain = AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : NULL;
  if (!hMain) return FALSE;
  ::PostMessageA(hMain, WM_BROWSER_NEXT_THUMBNAIL, (WPARAM)GetSafeHwnd(),
                 (LPARAM)items[next]->GetUniqueID(VXID_SLOT_VIEW));
  return TRUE;
}

void CEnlargedImageView::UpdatePlayPosFromMovie() {
  if (m_bSeeking || !m_pMovie || !m_pSlider || !m_pSlider->GetSafeHwnd()) return;
  if (m_pMovie->m_bGoNext) {
    m_pMovie->m_bGoNext = FALSE;
    if (!GoOnToNextEntry()) {
      m_pMovie->Stop();
      m_pMovie->Seek(0.0, 0);
      m_pMovie->Pause();
    }
  }
  double pos = 0;
  m_pMovie->GetPosition(pos);
  double duration = m_pMovie->GetDuration();
  int value = EnlargedTicks(pos);
  if (pos >= duration && m_bRepeat && m_pMovie->IsPlaying()) {
    m_pMovie->Stop();
    m_pMovie->Seek(0.0, 0);
    if (!m_pMovie->IsFullScreen() && m_pMovie->GetTarget() == this) m_pMovie->TogglePlay(0);
    value = 0;
  }
  if (value != m_pSlider->GetPos()) {
    m_pSlider->SetPos(value);
    m_pSlider->UpdateWindow();
  }
}

void CEnlargedImageView::MovieCtrl_FullScreenMode(int nOn) {
  if (m_pMovie) m_pMovie->ToggleFullScreen(nOn);
  if (CVxDocument* pDoc = GetDocument()) pDoc->UpdateAllViews(this, VXHINT_VIEWMODE, NULL);
}

BOOL CEnlargedImageView::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT id = LOWORD(wParam);
  HWND hMain = GetMainWindow();
  if (m_bMovieLoaded && m_pMovie) {
    if (id == m_nPlayID && m_nPlayID) m_pMovie->TogglePlay(0);
    if (id == m_nFullID && m_nFullID && hMain)
      ::SendMessageA(hMain, WM_BROWSER_CHANGE_MODE, (WPARAM)m_hWnd, CGVIEW_ZOOM);
    m_bDragging = FALSE;
  } else if (!m_picture.IsEmpty() && id == m_nFullID && m_nFullID) {
    if (hMain) ::SendMessageA(hMain, WM_BROWSER_CHANGE_MODE, (WPARAM)m_hWnd, CGVIEW_ZOOM);
    m_bDragging = FALSE;
  }
  return CScrollView::OnCommand(wParam, lParam);
}

void CEnlargedImageView::OnLButtonDblClk(UINT, CPoint point) {
  CRect rc;
  GetClientRect(&rc);
  if (m_pMovie && m_pMovie->IsOpen() && point.y >= rc.bottom - 25) return;
  if (m_picture.IsEmpty()) {
    if (!m_pMovie) return;
    if (m_pMovie->IsFullScreen()) {
      m_pMovie->TogglePlay(0);
      MovieCtrl_FullScreenMode(1);
      return;
    }
  }
  if (HWND hMain = GetMainWindow()) ::SendMessageA(hMain, WM_BROWSER_CHANGE_MODE, (WPARAM)m_hWnd, CGVIEW_ZOOM);
}

void CEnlargedImageView::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_pMovie && m_pMovie->IsFullScreen()) m_pMovie->TogglePlay(0);
  CScrollView::OnLButtonDown(nFlags, point);
}

void CEnlargedImageView::OnRButtonUp(UINT nFlags, CPoint point) {
  if (m_pMovie && m_pMovie->IsFullScreen()) {
    MovieCtrl_FullScreenMode(0);
    return;
  }
  CScrollView::OnRButtonUp(nFlags, point);
}

void CEnlargedImageView::OnContextMenu(CWnd* pWnd, CPoint point) {
  if (m_pMovie && m_pMovie->IsFullScreen()) return;
  CPoint cursor;
  ::GetCursorPos(&cursor);
  InvokeBrowserContextMenu(pWnd ? pWnd : this, cursor);
}

BOOL CEnlargedImageView::OnMouseWheel(UINT, short, CPoint) {
  if (m_pSlider && ::GetFocus() == m_pSlider->GetSafeHwnd()) UpdatePlayPosFromSlider();
  return FALSE;
}

BOOL CEnlargedImageView::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_MOVIE_API_END) {
    if (m_pMovie && !m_bRepeat) m_pMovie->m_bGoNext = TRUE;
    return CScrollView::PreTranslateMessage(pMsg);
  }
  if (m_pMovie && m_pMovie->IsFullScreen()) {
    if (pMsg->message == WM_LBUTTONUP || pMsg->message == WM_RBUTTONDOWN || pMsg->message == WM_RBUTTONDBLCLK)
      return TRUE;
    if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) && !(pMsg->lParam & 0x40000000)) {
      MovieCtrl_FullScreenMode(0);
      return pMsg->wParam == 0x34 && (::GetKeyState(VK_CONTROL) & 0x8000);
    }
  }
  return CScrollView::PreTranslateMessage(pMsg);
}

void CEnlargedImageView::OnDestroy() {
  DropRetry();
  if (m_pMovie) m_pMovie->Close();
  m_pMovie = NULL;
  CScrollView::OnDestroy();
}
