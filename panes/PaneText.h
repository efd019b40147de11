// White anti-aliased pane text (the export pane's caption and its tiles' names): GDI+,
// 8 points, the default GUI font's face ("Arial" when its character set is neither ANSI
// nor Shift-JIS), centred across the box from its top.
#pragma once
#include <fw/fw.h>

void DrawPaneText(HDC hdc, LPCSTR lpszText, const RECT& box);
// Keeps GDI+ started while one lives.
class CPaneTextScope {
 public:
  CPaneTextScope();
  ~CPaneTextScope();

 private:
  ULONG_PTR m_token;
};
