// Dialog templates built in memory (DLGTEMPLATE with DS_SETFONT), for dialogs of the
// outside libraries that have no resource of their own. Texts are ANSI (code page 932).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace dlgkit {

// Predefined window classes of the dialog manager.
enum : WORD { kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082, kListBox = 0x0083 };

class DialogTemplate {
 public:
  // Size and position in dialog units; the font is "MS UI Gothic" 9 pt.
  DialogTemplate(DWORD style, int x, int y, int cx, int cy, const char* title, DWORD exStyle = 0);
  // A control of a predefined class (kButton, ...).
  void Add(WORD atom, DWORD style, int x, int y, int cx, int cy, WORD id, const char* text, DWORD exStyle = 0);
  // A control of a registered class ("SysListView32", ...).
  void Add(const char* className, DWORD style, int x, int y, int cx, int cy, WORD id, const char* text,
           DWORD exStyle = 0);
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }
  // Runs it modally: DialogBoxIndirectParam's answer.
  INT_PTR Run(HWND owner, DLGPROC proc, LPARAM param) const;

 private:
  void AlignDword();
  void PutText(const char* text);
  void AddHeader(DWORD style, DWORD exStyle, int x, int y, int cx, int cy, WORD id);

  std::vector<WORD> words_;
  size_t countAt_ = 0;
};

// The state a dialog procedure keeps in DWLP_USER: WM_INITDIALOG's lParam, stored then
// and read back on every later message (null before it).
template <class T>
T* DialogState(HWND dialog, UINT msg, LPARAM lp) {
  if (msg == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lp);
  return reinterpret_cast<T*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// Where a window of width x height stands centred over owner (over the screen's work
// area when there is no visible owner), never left of or above the screen's origin.
POINT CenteredPosition(HWND owner, int width, int height);
// Moves a window there (its owner: GW_OWNER).
void CenterOverOwner(HWND dialog);

}  // namespace dlgkit
