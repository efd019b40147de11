// CSoundCheckProcess: at the browser's start, whether the movie bridge can be used. When the
// movie controller left its stored state (QuickTimeEnv.h) there is nothing to do but report
// ready; when that state is missing the bridge is tried once more here, and after finalising
// it what was stored is taken away again. The check never waits for an answer; the
// browser's VX3D_QUICKTIME_NOTIFY can also set the ready flag.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class VXGUITRANS_API CSoundCheckProcess {
 public:
  explicit CSoundCheckProcess(HWND hBrowser);
  virtual ~CSoundCheckProcess();

  BOOL Check();
  // lParam nonzero sets the ready flag; returns it.
  BOOL SetAvailable(WPARAM wParam, LPARAM lParam);
  BOOL IsWaiting() const { return FALSE; }
  // An outside program's answer: there is none to wait for here.
  LRESULT OnResult(WPARAM, LPARAM) { return m_bReady; }
  BOOL IsReady() const { return m_bReady; }

 private:
  BOOL InitLibrary();
  BOOL FinalizeLibrary();

  CString m_strPath;
  int m_nState;  // -1 idle, 0 the library was initialised by the check
  BOOL m_bSkip;  // the stored state was there: nothing to finalise
  BOOL m_bReady;
  HWND m_hBrowser;
};
