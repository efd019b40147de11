// CAVCHDPlayCtrl: plays an AVCHD scene (a ".cont" content file, or an ".mts"/".m2ts" stream)
// in the movie controller's target window through the scene player of ScorePlayWrapper.dll,
// described to it by the content-information object of ClipFacts (both beside the program,
// loaded by full path). Every failure writes a trace line to the debugger output.
#pragma once
#include <fw/fw.h>

struct IScenePlayer;

class CAVCHDPlayCtrl {
 public:
  // pszPlayerLibrary: the scene player's library by full path; null, ScorePlayWrapper.dll
  // beside the program.
  explicit CAVCHDPlayCtrl(LPCSTR pszPlayerLibrary = NULL);
  virtual ~CAVCHDPlayCtrl();

  // Makes a new player every time (the old one is closed, its library freed).
  HRESULT Initialize();
  HRESULT SetOwner(CWnd* pOwner, RECT rc, BOOL bUseRect);
  HRESULT SetContFileName(const char* pszPath);
  HRESULT Play();
  HRESULT Pause();
  HRESULT Stop();
  HRESULT Close();
  int GetPlayState();  // kWrap* of MovieCtrlRules.h
  double GetCurrentPosition();
  // S_FALSE without seeking when the player is at that very position.
  HRESULT SetCurrentPosition(double dSeconds);
  double GetDuration() const { return m_llDuration > 0 ? double(m_llDuration) * 0.0000001 : 0.0; }
  HRESULT SetWindowPos(int l, int t, int r, int b, BOOL bUseRect);
  HRESULT SetDisplaySize(int nMode);  // 3 full screen, 4 normal
  int GetDisplaySize() const { return m_nDisplaySize; }
  HWND GetOwnerWnd() const { return m_pOwner ? m_pOwner->GetSafeHwnd() : NULL; }
  void Repaint();
  static void Trace(const char* pszStep, bool bFalse = false);

 private:
  HRESULT GiveRect(const RECT& rc);

  CString m_strLibrary;
  LONGLONG m_llDuration;  // 100 ns
  int m_nDisplaySize;
  HMODULE m_hLibrary;
  IScenePlayer* m_pPlayer;
  CWnd* m_pOwner;
  RECT m_rcVideo;
  BOOL m_bUseRect;
};
