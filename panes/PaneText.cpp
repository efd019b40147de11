#include "PaneText.h"

#include <gdiplus.h>

#include <vector>

namespace {
CString PaneFontFace() {
  LOGFONTA lf = {};
  ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  if (lf.lfCharSet != ANSI_CHARSET && lf.lfCharSet != SHIFTJIS_CHARSET) return "Arial";
  return lf.lfFaceName;
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
  int n = ::MultiByteToWideChar(CP_ACP, 0, lpszText, -1, NULL, 0);
  std::vector<wchar_t> text(n > 0 ? n : 1, 0);
  ::MultiByteToWideChar(CP_ACP, 0, lpszText, -1, text.data(), n);
  CString face = PaneFontFace();
  int nf = ::MultiByteToWideChar(CP_ACP, 0, face, -1, NULL, 0);
  std::vector<wchar_t> wface(nf > 0 ? nf : 1, 0);
  ::MultiByteToWideChar(CP_ACP, 0, face, -1, wface.data(), nf);
  Gdiplus::Graphics g(hdc);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  Gdiplus::FontFamily family(wface.data());
  Gdiplus::Font font(family.IsAvailable() ? &family : Gdiplus::FontFamily::GenericSansSerif(), 8,
                     Gdiplus::FontStyleRegular, Gdiplus::UnitPoint);
  Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
  Gdiplus::StringFormat format;
  format.SetAlignment(Gdiplus::StringAlignmentCenter);
  format.SetLineAlignment(Gdiplus::StringAlignmentNear);
  Gdiplus::RectF rc((Gdiplus::REAL)box.left, (Gdiplus::REAL)box.top, (Gdiplus::REAL)(box.right - box.left),
                    (Gdiplus::REAL)(box.bottom - box.top));
  g.DrawString(text.data(), -1, &font, rc, &format, &white);
}
