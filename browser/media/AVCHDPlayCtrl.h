// CAVCHDPlayCtrl: plays an AVCHD scene file (.mts, .m2ts) in the movie controller's target
// window. The player is the movie kit's: DirectShow cannot read MPEG-TS here. Every
// failure writes a trace line to the debugger output.
#pragma once
#include <fw/fw.h>

namespace moviekit {
class Player;
}

class CAVCHDPlayCtrl {
 public:
  CAVCHDPlayCtrl();
  virtual ~CAVCHDPlayCtrl();

  // Makes a new player every time (the old one is closed).
  HRESULT Initialize();
  HRESULT SetOwner(CWnd* pOwner, RECT rc, BOOL bUseRect);
  HRESULT SetContFileName(const char* pszPath);
  HRESULT Play();
  HRESULT Pause();
  HRESULT Stop();
  HRESULT Close();
  int GetPlayState();  // kWrap* of MovieCtrlRules.h
  double GetCurrentPosition();
  // S_FALSE without seeking when the position is already in that whole second.
  HRESULT SetCurrentPosition(double dSeconds);
  double GetDuration() const { return m_llDuration > 0 ? double(m_llDuration) * 0.0000001 : 0.0; }
  HRESULT SetWindowPos(int l, int t, int r, int b, BOOL bUseRect);
  HRESULT SetDisplaySize(int nMode);  // 3 full screen, 4 normal
  int GetDisplaySize() const { return m_nDisplaySize; }
  HWND GetOwnerWnd() const { return m_pOwner ? m_pOwner->GetSafeHwnd() : NULL; }
  void Repaint();
  // The player's own window, when a scene is open.
  HWND GetVideoWnd() const;
  static void Trace(const char* pszStep, bool bFalse = false);

 private:
  void GiveRect();

  LONGLONG m_llDuration;  // 100 ns
  int m_nDisplaySize;
  moviekit::Player* m_pPlayer;
  bool m_bOpen;
  CWnd* m_pOwner;
  RECT m_rcVideo;
  BOOL m_bUseRect;
};
