#include "PaneText.h"

#include <gdiplus.h>

#include <string>
#include <vector>

namespace {
// The face GDI picks for 8 points of the default GUI font ("Arial" when its character set
// is neither ANSI nor Shift-JIS): the stock face may be a substitute name that GDI+ does
// not know.
std::wstring PaneFontFace(HDC hdc) {
  LOGFONTA lf = {};
  ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  if (lf.lfCharSet != ANSI_CHARSET && lf.lfCharSet != SHIFTJIS_CHARSET) return L"Arial";
  lf.lfHeight = -::MulDiv(8, ::GetDeviceCaps(hdc, LOGPIXELSY), 72);
  lf.lfWidth = 0;
  wchar_t szFace[LF_FACESIZE] = L"";
  if (HFONT hFont = ::CreateFontIndirectA(&lf)) {
    HGDIOBJ hOld = ::SelectObject(hdc, hFont);
    ::GetTextFaceW(hdc, LF_FACESIZE, szFace);
    ::SelectObject(hdc, hOld);
    ::DeleteObject(hFont);
  }
  return szFace;
}
}  // namespace

CPaneTextScope::CPaneTextScope() : m_token(0) {
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&m_token, &input, NULL);
}
CPaneTextScope::~CPaneTextScope() {
  if (m_token) Gdiplus::GdiplusShutdown(m_token);
}

void DrawPaneText(HDC hdc, LPCSTR lpszText, const RECT& box) {
  if (!lpszText || !*lpszText) return;
  Gdiplus::Graphics g(hdc);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  Gdiplus::FontFamily family(PaneFontFace(hdc).c_str());
  Gdiplus::Font font(&family, 8, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint);
  if (family.IsAvailable() && font.GetLastStatus() == Gdiplus::Ok) {
    int n = ::MultiByteToWideChar(CP_ACP, 0, lpszText, -1, NULL, 0);
    std::vector<wchar_t> text(n > 0 ? n : 1, 0);
    ::MultiByteToWideChar(CP_ACP, 0, lpszText, -1, text.data(), n);
    Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentNear);
    Gdiplus::RectF rc((Gdiplus::REAL)box.left, (Gdiplus::REAL)box.top, (Gdiplus::REAL)(box.right - box.left),
                      (Gdiplus::REAL)(box.bottom - box.top));
    if (g.DrawString(text.data(), -1, &font, rc, &format, &white) == Gdiplus::Ok) return;
  }
  // GDI+ without the face: the same text through GDI, anti-aliased.
  LOGFONTA lf = {};
  ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  if (lf.lfCharSet != ANSI_CHARSET && lf.lfCharSet != SHIFTJIS_CHARSET) lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
  lf.lfHeight = -::MulDiv(8, ::GetDeviceCaps(hdc, LOGPIXELSY), 72);
  lf.lfWidth = 0;
  lf.lfQuality = ANTIALIASED_QUALITY;
  HFONT hFont = ::CreateFontIndirectA(&lf);
  HGDIOBJ hOld = ::SelectObject(hdc, hFont);
  int nMode = ::SetBkMode(hdc, TRANSPARENT);
  COLORREF old = ::SetTextColor(hdc, RGB(255, 255, 255));
  RECT rc = box;
  ::DrawTextA(hdc, lpszText, -1, &rc, DT_CENTER | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
  ::SetTextColor(hdc, old);
  ::SetBkMode(hdc, nMode);
  ::SelectObject(hdc, hOld);
  ::DeleteObject(hFont);
}
