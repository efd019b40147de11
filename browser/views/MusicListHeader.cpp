// The multi-image header strip: images, font, cloning, width and painting.
#include "MusicListHeader.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CMusicListHeader, CSkinCtrlWnd)

BEGIN_MESSAGE_MAP(CMusicListHeader, CSkinCtrlWnd)
  ON_WM_CREATE()
  ON_WM_ERASEBKGND()
  ON_WM_MOUSEMOVE()
  ON_WM_SETCURSOR()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONUP()
  ON_WM_CAPTURECHANGED()
  ON_WM_SIZE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CMusicListHeader::CMusicListHeader()
    : m_nMinWidth(0),
      m_nSortColumn(-1),
      m_pFont(nullptr),
      m_rcDrawn(0, 0, 0, 0),
      m_nLayoutWidth(0),
      m_nSavedLayoutWidth(0),
      m_bWidthPinned(FALSE),
      m_nHoverKind(listheader::kHoverNone),
      m_bDragging(FALSE),
      m_nHotColumn(-1),
      m_ptPress(0, 0),
      m_nPrevX(0),
      m_nDragWidth(0),
      m_nPressedColumn(-1),
      m_crText(RGB(0, 0, 0)),
      m_bSuppressClick(FALSE),
      m_bSeparator(FALSE),
      m_crSeparator(RGB(0, 0, 0)),
      m_bResizable(TRUE),
      m_bHeaderLook(FALSE) {
  for (auto& h : m_hCursors) h = nullptr;
  for (auto& p : m_pImages) p = nullptr;
}

CMusicListHeader::~CMusicListHeader() {
  FreeImages();
  delete m_pFont;
}

HRESULT CMusicListHeader::CreateInstance(UINT, CMusicListHeader** ppOut) {
  if (!ppOut) return 0x80000002;
  try {
    *ppOut = new CMusicListHeader;
  } catch (...) {
    *ppOut = nullptr;
  }
  return *ppOut ? 0 : 0x80000002;
}

void CMusicListHeader::FreeImages() {
  for (auto& p : m_pImages) {
    FreeDIB(p);
    p = nullptr;
  }
}

BOOL CMusicListHeader::SetImages(const std::vector<BITMAPINFO*>& images, const CSize* pCell, COLORREF key) {
  if (images.size() < kParts) return FALSE;
  FreeImages();
  for (int i = 0; i < kParts; i++) m_pImages[i] = CopyDIB(images[i]);
  if (pCell && m_pImages[0]) {
    CRect rc(0, 0, m_pImages[0]->bmiHeader.biWidth, std::abs(m_pImages[0]->bmiHeader.biHeight));
    for (int i = 0; i < kParts; i++) {
      if (m_pImages[i] && !listheader::CombineColourKey(m_pImages[i], images[0], rc, key)) {
        FreeImages();
        return FALSE;
      }
    }
  }
  return TRUE;
}

BOOL CMusicListHeader::SetImagesFromBitmaps(const std::vector<HBITMAP>& bitmaps, HBITMAP* pBackground, COLORREF key) {
  if (bitmaps.size() < kParts) return FALSE;
  FreeImages();
  BITMAPINFO* bg = nullptr;
  if (pBackground && *pBackground && !BitmapToDIB(*pBackground, &bg)) return FALSE;
  BOOL ok = TRUE;
  for (int i = 0; i < kParts && ok; i++) {
    if (!bitmaps[i]) continue;
    if (!BitmapToDIB(bitmaps[i], &m_pImages[i])) {
      ok = FALSE;
    } else if (bg) {
      CRect rc(0, 0, m_pImages[i]->bmiHeader.biWidth, std::abs(m_pImages[i]->bmiHeader.biHeight));
      ok = listheader::CombineColourKey(m_pImages[i], bg, rc, key);
    }
  }
  FreeDIB(bg);
  if (!ok) FreeImages();
  return ok;
}

BOOL CMusicListHeader::LoadImages(const UINT ids[listheader::kPartImages], const UINT* pBackground, COLORREF key) {
  std::vector<LPCSTR> names(kParts, nullptr);
  for (int i = 0; i < kParts; i++) names[i] = ids[i] ? MAKEINTRESOURCEA(ids[i]) : nullptr;
  LPCSTR bg = pBackground && *pBackground ? MAKEINTRESOURCEA(*pBackground) : nullptr;
  return LoadImagesByName(names.data(), bg, key);
}

BOOL CMusicListHeader::LoadImagesByName(const LPCSTR names[listheader::kPartImages], LPCSTR background, COLORREF key) {
  auto load = [](LPCSTR name) {
    return (HBITMAP)::LoadImageA(AfxFindResourceHandle(name, RT_BITMAP), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  };
  std::vector<HBITMAP> bitmaps(kParts, nullptr);
  HBITMAP hBackground = nullptr;
  bool ok = true;
  for (int i = 0; i < kParts; i++)
    if (names[i] && !(bitmaps[i] = load(names[i]))) ok = false;
  if (background && !(hBackground = load(background))) ok = false;
  BOOL result = ok && SetImagesFromBitmaps(bitmaps, hBackground ? &hBackground : nullptr, key);
  for (HBITMAP h : bitmaps)
    if (h) ::DeleteObject(h);
  if (hBackground) ::DeleteObject(hBackground);
  return result;
}

void CMusicListHeader::SetFont(CFont* pFont) {
  CFont* pCopy = CopyFont(pFont);
  if (!pCopy) return;
  delete m_pFont;
  m_pFont = pCopy;
}

CSkinCtrlWnd* CMusicListHeader::Clone(CWnd* pParent, UINT nID) {
  CMusicListHeader* p = new CMusicListHeader;
  p->m_nMinWidth = m_nMinWidth;
  p->m_columns = m_columns;
  p->m_nSortColumn = m_nSortColumn;
  for (int i = 0; i < kParts; i++) p->m_pImages[i] = CopyDIB(m_pImages[i]);
  if (m_pFont) p->SetFont(m_pFont);
  CloneTo(p, pParent, nID);
  if (!p->GetSafeHwnd()) {
    delete p;
    return nullptr;
  }
  return p;
}

std::vector<BITMAPINFO*> CMusicListHeader::GetItemList() {
  return std::vector<BITMAPINFO*>(m_pImages, m_pImages + listheader::kListImages);
}

void CMusicListHeader::Relayout() {
  if (!GetSafeHwnd() || !m_pImages[0]) return;
  int sum = 0;
  for (auto& c : m_columns) sum += c.width;
  CRect rc;
  GetWindowRect(&rc);
  if (CWnd* pParent = GetParent()) pParent->ScreenToClient(&rc);
  int cx = listheader::StripWidth(sum, rc.Width(), m_nMinWidth);
  MoveWindow(rc.left, rc.top, cx, std::abs(m_pImages[0]->bmiHeader.biHeight), FALSE);
  Invalidate(FALSE);
  UpdateWindow();
}

void CMusicListHeader::SetOrigin(int x, int y) {
  CSkinCtrlWnd::SetOrigin(x, y);
  Relayout();
  RecalcLayout();  // the grab zones move with the columns
}

int CMusicListHeader::OnCreate(LPCREATESTRUCT lpcs) {
  if (CSkinCtrlWnd::OnCreate(lpcs) == -1) return -1;
  if (!m_hCursors[0]) m_hCursors[0] = ::LoadCursor(nullptr, IDC_ARROW);
  for (int i = 1; i < 3; i++)
    if (!m_hCursors[i]) m_hCursors[i] = ::LoadCursor(nullptr, IDC_SIZEWE);
  return 0;
}

void CMusicListHeader::RenderColumn(CDC* pDC, const Column* pColumn, int cx, int cy, bool sort, bool pressed) {
  if (!m_bHeaderLook) {
    RenderStripColumn(pDC, pColumn, cx, cy, sort, pressed);
    return;
  }
  Column filler = {0, "", cx, FALSE, 0, DT_LEFT, 0};
  Column c = pColumn ? *pColumn : filler;
  c.width = cx;
  int look = !pColumn ? kLookNoRightEdge : pressed && sort ? kLookPressed : 0;
  CBitmap* pBmp = RenderHeaderImage(pDC, c, look, FALSE);
  if (!pBmp) {
    pDC->FillSolidRect(0, 0, cx, cy, ::GetSysColor(COLOR_BTNFACE));
    return;
  }
  DrawBitmap(pDC, pBmp, 0, 0, cx, cy, FALSE, FALSE);
  delete pBmp;
}

void CMusicListHeader::RenderStripColumn(CDC* pDC, const Column* pColumn, int cx, int cy, bool sort, bool pressed) {
  const BITMAPINFO* face = !pColumn  ? m_pImages[kFiller]
                           : pressed ? m_pImages[kFacePressed]
                           : sort    ? m_pImages[kFaceSort]
                                     : m_pImages[kFace];
  if (!face) face = m_pImages[kFace];
  if (face)
    DrawDIB(pDC, face, 0, 0, cx, cy, TRUE, FALSE);
  else
    pDC->FillSolidRect(0, 0, cx, cy, ::GetSysColor(COLOR_BTNFACE));
  if (!pColumn) return;
  if (const BITMAPINFO* sep = m_pImages[kSeparator]) {
    int w = sep->bmiHeader.biWidth;
    DrawDIB(pDC, sep, cx - w, 0, cx, cy, TRUE, FALSE);
  }
  CFont* pOld = m_pFont ? pDC->SelectObject(m_pFont) : nullptr;
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(sort ? RGB(255, 255, 255) : RGB(220, 226, 232));
  CRect text(4, 0, cx - 4, cy);
  pDC->DrawText(pColumn->title, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  if (pOld) pDC->SelectObject(pOld);
}

void CMusicListHeader::OnDraw(CDC* pDC) {
  int state = GetState();
  if (!pDC || !skinctrl::ValidState(state)) return;
  bool pressed;
  if (state == skinctrl::kNormal || state == skinctrl::kHover || state == skinctrl::kDisabled)
    pressed = false;
  else if (state == skinctrl::kPressed)
    pressed = true;
  else
    return;
  CRect rc;
  GetClientRect(&rc);
  int cx = std::max(rc.Width(), 1), cy = std::max(rc.Height(), 1);
  POINT origin;
  GetOrigin(&origin);
  // Wide enough for what the origin scrolls into view.
  int cxAll = cx + std::max(0, (int)origin.x);
  CDC mem;
  mem.CreateCompatibleDC(pDC);
  CBitmap strip;
  strip.CreateCompatibleBitmap(pDC, cxAll, cy);
  CBitmap* pOld = mem.SelectObject(&strip);
  mem.FillSolidRect(0, 0, cxAll, cy, RGB(0, 0, 0));
  int x = 0;
  auto render = [&](const Column* pColumn, int width, bool sort) {
    if (width <= 0) return;
    CDC piece;
    piece.CreateCompatibleDC(pDC);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(pDC, width, cy);
    CBitmap* p = piece.SelectObject(&bmp);
    RenderColumn(&piece, pColumn, width, cy, sort, pressed);
    piece.SelectObject(p);
    DrawBitmap(&mem, &bmp, x, 0, x + width, cy, FALSE, FALSE);
    x += width;
  };
  // The sort column, or the column under a press, takes the pressed look.
  for (size_t i = 0; i < m_columns.size(); i++)
    render(&m_columns[i], m_columns[i].width, (int)i == m_nSortColumn || (int)i == m_nPressedColumn);
  if (x < cxAll) render(nullptr, cxAll - x, false);
  // The strip scrolls with the panel's horizontal offset.
  pDC->BitBlt(0, 0, cx, cy, &mem, std::max(0, (int)origin.x), 0, SRCCOPY);
  m_rcDrawn = CRect(origin.x, 0, origin.x + cx, cy);
  mem.SelectObject(pOld);
}
