// An edit that shows a hint in grey while it holds no text, focused or not: a cue banner of
// our own, since the system's needs version 6 of the common controls, which the program
// does not load. The hint is never text of the edit, so typing cannot mix with it.
#pragma once
#include <fw/fw.h>

class CCueEdit : public CWnd {
 public:
  // Takes over the edit of a drop-down combo box (or an edit) and shows the hint in it.
  BOOL Attach(HWND hCombo, const CString& strCue);
  const CString& GetCue() const { return m_strCue; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void DrawCue();
  CString m_strCue;
  bool m_bWasEmpty = false;
};
