// CSoundCheckProcess: whether movies that need the movie-playback bridge (MovBridge.dll in
// the program folder) can play. At start-up the check initialises the bridge once when the
// movie controller left no state behind, records what it reported and finalises it again;
// when the state is there already it only reports readiness. The browser can also set the
// ready flag from its bridge notification. The check never waits for an answer.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class VXGUITRANS_API CSoundCheckProcess {
 public:
  explicit CSoundCheckProcess(HWND hBrowser);
  virtual ~CSoundCheckProcess();

  BOOL Check();
  // wParam 0xFFFFFFFF of the notification: a nonzero lParam makes the check ready.
  BOOL SetAvailable(WPARAM wParam, LPARAM lParam);
  BOOL IsWaiting() const { return FALSE; }
  // No outside program answers in this system; kept for the browser's notification path.
  LRESULT OnResult(WPARAM, LPARAM) { return m_bReady; }
  BOOL IsReady() const { return m_bReady; }
  int GetState() const { return m_nState; }

  // The bridge's file: the program folder's MovBridge.dll.
  static CString BridgePath();

 protected:
  BOOL InitLibrary();
  BOOL FinalizeLibrary();

 private:
  CString m_strPath;
  int m_nState;
  BOOL m_bSkip;
  BOOL m_bReady;
  HWND m_hBrowser;
};
