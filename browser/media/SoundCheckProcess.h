// CSoundCheckProcess: the check of movie sound support with an outside sound program. No
// such program is installed in this build: the check starts nothing, awaits nothing and
// reports sound support as not ready until a notification says otherwise.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class VXGUITRANS_API CSoundCheckProcess {
 public:
  explicit CSoundCheckProcess(HWND hBrowser);
  virtual ~CSoundCheckProcess();

  BOOL Check();
  // wParam 0xFFFFFFFF of the notification: lParam nonzero means ready.
  BOOL SetAvailable(WPARAM wParam, LPARAM lParam);
  BOOL IsWaiting() const { return m_hProcess != NULL; }
  // The outside program's answer; 0 tells the browser to report the failure.
  LRESULT OnResult(WPARAM wParam, LPARAM lParam);
  BOOL IsReady() const { return m_bReady; }

 private:
  HWND m_hBrowser;
  HANDLE m_hProcess;
  DWORD m_dwProcessId;
  BOOL m_bReady;
};
