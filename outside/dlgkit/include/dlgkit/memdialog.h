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
  DialogTemplate(DWORD style, int x, int y, int cx, int cy, const char* title);
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

// Centres a window over its owner (or the screen's work area without one).
void CenterOverOwner(HWND dialog);

}  // namespace dlgkit
