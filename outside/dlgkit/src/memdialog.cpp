#include "dlgkit/memdialog.h"

namespace dlgkit {

namespace {

std::wstring Wide(const char* text) {
  if (!text || !*text) return std::wstring();
  int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring w(static_cast<size_t>(n > 0 ? n : 1), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, &w[0], n);
  w.resize(wcslen(w.c_str()));
  return w;
}

}  // namespace

DialogTemplate::DialogTemplate(DWORD style, int x, int y, int cx, int cy, const char* title) {
  style |= DS_SETFONT;
  words_.push_back(LOWORD(style));
  words_.push_back(HIWORD(style));
  words_.push_back(0);  // extended style
  words_.push_back(0);
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
  for (wchar_t c : Wide(text)) words_.push_back(static_cast<WORD>(c));
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

void CenterOverOwner(HWND dialog) {
  RECT r, area;
  GetWindowRect(dialog, &r);
  HWND owner = GetWindow(dialog, GW_OWNER);
  if (!owner || !GetWindowRect(owner, &area)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  int w = r.right - r.left, h = r.bottom - r.top;
  int x = area.left + ((area.right - area.left) - w) / 2, y = area.top + ((area.bottom - area.top) - h) / 2;
  SetWindowPos(dialog, nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace dlgkit
