// The main program's dialog base and the scoped switch to the resource library.
//
// The program carries no dialog templates of its own: every dialog derives from
// CResourceDialog, whose template comes from the current resource handle (the
// application makes VxResource.dll that handle at start-up). Code that runs while
// another module's resources are current makes the resource library current for a
// scope with CResourceSwitcher.
#pragma once
#include <fw/fw.h>

class CResourceDialog : public CDialog {
 public:
  CResourceDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);

  // The dialog's end code; -1 when the current resource module has no such template or
  // the dialog fails (an exception while it is created or runs).
  INT_PTR DoModal() override;
};

// While an instance lives, the named library (loaded once, by full path from the
// program folder) is the current resource handle. Nested switchers leave the handle
// alone; only the one that switched restores the previous handle when it ends.
class CResourceSwitcher {
 public:
  explicit CResourceSwitcher(LPCSTR lpszLibrary = "VxResource.dll");
  ~CResourceSwitcher();

  // The library's handle while any switcher lives (null when it could not be loaded).
  static HINSTANCE GetLibrary();
  // Whether this switcher made the library current (and will restore on its end).
  BOOL HasSwitched() const { return m_bSwitched; }

  CResourceSwitcher(const CResourceSwitcher&) = delete;
  CResourceSwitcher& operator=(const CResourceSwitcher&) = delete;

 private:
  BOOL m_bSwitched;
};

// A string of the resource library.
CString LoadResourceText(UINT nID);
