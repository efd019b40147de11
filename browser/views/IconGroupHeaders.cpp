#include "IconGroupHeaders.h"

#include <VxDocument.h>
#include <VxResourceIds.h>

namespace {
HBITMAP HeaderBar() {
  static HBITMAP bar = [] {
    CResourceChanger use;
    return ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDB_GROUP_HEADER));
  }();
  return bar;
}
}  // namespace

CIconGroupHeaders::CIconGroupHeaders() { m_headers.reserve(10); }
CIconGroupHeaders::~CIconGroupHeaders() {}

CString CIconGroupHeaders::LabelOf(const CThumbnailPage* pPage) {
  if (!pPage) return CString();
  CString label = pPage->GetGroupInfo().GetText();
  if (!label.IsEmpty() && label[label.GetLength() - 1] == '\\' &&
      !(label.GetLength() >= 2 && IsDBCSLeadByte(BYTE(label[label.GetLength() - 2]))))
    label = label.Left(label.GetLength() - 1);
  if (label.IsEmpty()) label = pPage->GetName();
  CResourceChanger use;
  CString unknown = CResourceLoader().LoadStringA(IDS_GROUP_UNKNOWN_KEY);
  if (!unknown.IsEmpty() && label.CompareNoCase(unknown) == 0) label = CResourceLoader().LoadStringA(IDS_GROUP_UNKNOWN);
  return label;
}

void CIconGroupHeaders::Rebuild(const CBrowserDocument* pDoc) {
  m_headers.clear();
  if (!pDoc) return;
  const CThumbnailPageList& pages = pDoc->GetPageList();
  for (POSITION pos = pages.GetHeadPosition(); pos;) {
    CThumbnailPage* page = pages.GetNext(pos);
    Add(page, LabelOf(page), CRect());
  }
}

void CIconGroupHeaders::Append(const CIconGroupHeaders& other) {
  m_headers.insert(m_headers.end(), other.m_headers.begin(), other.m_headers.end());
}

void CIconGroupHeaders::Clear() { m_headers.clear(); }

void CIconGroupHeaders::Add(CThumbnailPage* pPage, const CString& label, const CRect& rc) {
  CIconGroupHeader h;
  h.m_pGroup = pPage;
  h.m_strLabel = label;
  h.m_rect = rc;
  m_headers.push_back(h);
}

CThumbnailPage* CIconGroupHeaders::HitTest(CPoint pt) const {
  for (const CIconGroupHeader& h : m_headers)
    if (h.m_rect.PtInRect(pt)) return h.m_pGroup;
  return NULL;
}

void CIconGroupHeaders::Draw(CDC* pDC, const CRect& client, int scrollY) const {
  if (m_headers.empty()) return;
  HBITMAP bar = HeaderBar();
  BITMAP bm = {};
  if (bar) ::GetObjectA(bar, sizeof(bm), &bm);
  HDC mem = bar ? ::CreateCompatibleDC(pDC->GetSafeHdc()) : NULL;
  HGDIOBJ oldBmp = mem ? ::SelectObject(mem, bar) : NULL;
  int oldStretch = pDC->SetStretchBltMode(COLORONCOLOR);
  LOGFONTA lf = {};
  HFONT cur = HFONT(::GetCurrentObject(pDC->GetSafeHdc(), OBJ_FONT));
  ::GetObjectA(cur ? cur : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  lf.lfWeight = 600;
  HFONT bold = ::CreateFontIndirectA(&lf);
  HGDIOBJ oldFont = ::SelectObject(pDC->GetSafeHdc(), bold);
  COLORREF oldText = pDC->SetTextColor(RGB(255, 255, 255));
  int oldMode = pDC->SetBkMode(TRANSPARENT);
  // Drawn in document coordinates: the visible band is client offset by the scroll.
  const int top = client.top + scrollY, bottom = client.bottom + scrollY;
  for (const CIconGroupHeader& h : m_headers) {
    if (h.m_rect.top >= bottom) break;
    if (h.m_rect.bottom - 20 < top) continue;
    if (mem)
      ::StretchBlt(pDC->GetSafeHdc(), client.left, h.m_rect.top, client.Width(), 19, mem, 0, 0, bm.bmWidth, bm.bmHeight,
                   SRCCOPY);
    if (client.Width() - 2 * h.m_rect.left > 70) {
      CRect text(h.m_rect.left + 15, h.m_rect.top, client.Width(), h.m_rect.bottom - 20);
      char buf[MAX_PATH * 2];
      lstrcpynA(buf, h.m_strLabel, sizeof(buf));
      ::DrawTextA(pDC->GetSafeHdc(), buf, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_PATH_ELLIPSIS | DT_NOPREFIX);
    }
  }
  pDC->SetBkMode(oldMode);
  pDC->SetTextColor(oldText);
  ::SelectObject(pDC->GetSafeHdc(), oldFont);
  ::DeleteObject(bold);
  pDC->SetStretchBltMode(oldStretch);
  if (mem) {
    ::SelectObject(mem, oldBmp);
    ::DeleteDC(mem);
  }
}
