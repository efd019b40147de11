// Helpers of the control tests: the resource library, a host window, screenshots and
// timed actions inside modal loops.
#pragma once
#include <fw/fw.h>

#include <functional>
#include <string>
#include <vector>

#include "ctl_res.h"
#include "picture.h"
#include "testkit.h"

namespace ctltest {

// Pumping and the log come from the shared kit.
using fwtest::g_log;
using fwtest::Joined;
using fwtest::Log;
using fwtest::PumpPending;

// The test resource library, loaded once; ResourceScope makes it current for a scope.
HINSTANCE ResourceDll();
class ResourceScope : public fwtest::ResourceHandleScope {
 public:
  ResourceScope() : ResourceHandleScope(ResourceDll()) {}
};

// A shown top-level window of ours that holds controls; it logs the prompts and
// notifications its children send ("prompt:<id>", "pop:<id>").
class CHostWnd : public CWnd {
 public:
  BOOL Make(int cx, int cy);
  ~CHostWnd() override;

 protected:
  afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// The client area of a window as drawn now (repainted first).
class Shot : public testsupport::Picture {
 public:
  explicit Shot(CWnd* pWnd) : Picture(pWnd->m_hWnd, kClient) {}
  // Saves it (screenshots\<name>.png) when the environment asks for screenshots (FW_CTL_SHOTS).
  void Keep(const char* name) const;
};

// Calls action() from a thread timer every 30 ms until it returns true (it can drive a
// modal dialog that runs its own loop); stops with the object.
class TimedAction {
 public:
  explicit TimedAction(std::function<bool()> action);
  ~TimedAction();

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  UINT_PTR m_id;
};

// The visible dialog window of this thread whose class is "#32770", or NULL.
HWND FindThreadDialog(HWND hExclude = NULL);

// A file in the temporary folder with the given text, deleted with the object.
class TempFile {
 public:
  TempFile(const char* name, const char* text);
  ~TempFile();
  const CString& Path() const { return m_path; }

 private:
  CString m_path;
};

}  // namespace ctltest
