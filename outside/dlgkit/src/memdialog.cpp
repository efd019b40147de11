#include "dlgkit/memdialog.h"

#include <textkit/text.h>

namespace dlgkit {

DialogTemplate::DialogTemplate(DWORD style, int x, int y, int cx, int cy, const char* title, DWORD exStyle) {
  style |= DS_SETFONT;
  words_.push_back(LOWORD(style));
  words_.push_back(HIWORD(style));
  words_.push_back(LOWORD(exStyle));
  words_.push_back(HIWORD(exStyle));
  countAt_ = words_.size();
  words_.push_back(0);  // number of controls
  words_.push_back(static_cast<WORD>(x));
  words_.push_back(static_cast<WORD>(y));
  words_.push_back(static_cast<WORD>(cx));
  words_.push_back(static_cast<WORD>(cy));
  words_.push_back(0);  // no menu
  words_.push_back(0);  // the dialog class
  PutText(title);
  words_.push_back(9);  // point size
  PutText("MS UI Gothic");
}

void DialogTemplate::AlignDword() {
  if (words_.size() % 2) words_.push_back(0);
}

void DialogTemplate::PutText(const char* text) {
  for (wchar_t c : textkit::AnsiToWide(text ? text : "")) words_.push_back(static_cast<WORD>(c));
  words_.push_back(0);
}

void DialogTemplate::AddHeader(DWORD style, DWORD exStyle, int x, int y, int cx, int cy, WORD id) {
  AlignDword();
  style |= WS_CHILD;
  words_.push_back(LOWORD(style));
  words_.push_back(HIWORD(style));
  words_.push_back(LOWORD(exStyle));
  words_.push_back(HIWORD(exStyle));
  words_.push_back(static_cast<WORD>(x));
  words_.push_back(static_cast<WORD>(y));
  words_.push_back(static_cast<WORD>(cx));
  words_.push_back(static_cast<WORD>(cy));
  words_.push_back(id);
  ++words_[countAt_];
}

void DialogTemplate::Add(WORD atom, DWORD style, int x, int y, int cx, int cy, WORD id, const char* text,
                         DWORD exStyle) {
  AddHeader(style, exStyle, x, y, cx, cy, id);
  words_.push_back(0xFFFF);
  words_.push_back(atom);
  PutText(text);
  words_.push_back(0);  // no creation data
}

void DialogTemplate::Add(const char* className, DWORD style, int x, int y, int cx, int cy, WORD id, const char* text,
                         DWORD exStyle) {
  AddHeader(style, exStyle, x, y, cx, cy, id);
  PutText(className);
  PutText(text);
  words_.push_back(0);
}

INT_PTR DialogTemplate::Run(HWND owner, DLGPROC proc, LPARAM param) const {
  // The vector's block comes from operator new, aligned well beyond the DWORD the dialog
  // manager needs.
  return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), Get(), owner, proc, param);
}

POINT CenteredPosition(HWND owner, int width, int height) {
  RECT area;
  if (!owner || !IsWindowVisible(owner) || !GetWindowRect(owner, &area))
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  int x = area.left + ((area.right - area.left) - width) / 2, y = area.top + ((area.bottom - area.top) - height) / 2;
  return POINT{x < 0 ? 0 : x, y < 0 ? 0 : y};
}

void CenterOverOwner(HWND dialog) {
  RECT r;
  GetWindowRect(dialog, &r);
  POINT at = CenteredPosition(GetWindow(dialog, GW_OWNER), r.right - r.left, r.bottom - r.top);
  SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace dlgkit
