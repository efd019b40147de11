// CVxSlideShowWnd: the browser's full-screen slide show. A borderless top-most frame over
// the whole primary screen in which the slide player component (SlideRunnerWrapper.DLL
// beside the program) shows the pictures with music. The window loads and drives the
// player, watches for the end of a show that does not repeat, keeps the screen saver and
// display sleep away while it lives, and carries a panel of three buttons (close,
// play/pause, settings) that comes with input and goes after two seconds. It reports to
// its owner with VX3D_SLIDESHOW_WND (1 posted once created, 15 sent while closing) and
// deletes itself when destroyed. Decisions are in SlideShowWndRules.h.
#pragma once
#include <fw/fw.h>

#include <SlidePlayer.h>

#include <vector>

#include "ComponentDllLoader.h"
#include "ICGBrowser.h"
#include "SlideShowWndRules.h"

class CHoverBitmapButton;

// The window's own commands (posted by the panel's buttons).
enum { SSWM_PLAY_PAUSE = 1565, SSWM_SETTINGS = 1566 };
enum { SSOWN_CREATED = 1, SSOWN_CLOSING = 15 };

class VXGUITRANS_API CVxSlideShowWnd : public CFrameWnd {
  DECLARE_DYNAMIC(CVxSlideShowWnd)
 public:
  CVxSlideShowWnd();
  ~CVxSlideShowWnd() override;

  // The module beside which the player library lies ("Marlo5.exe"; tests name their own).
  static void SetHostModule(LPCSTR pszModule);

  // E_POINTER without an owner or slides. Lets the running player go; the new lists load
  // at the next first paint or settings reload.
  HRESULT SetItems(CWnd* pOwner, SLD_QUALITY quality, SLD_TYPE type, const std::vector<tagSLD_V_TYPE>* pSlides,
                   const std::vector<tagSLD_A_TYPE>* pMusic, int nRepeat);
  // Lets the player go and gives back the screen saver and sleep settings.
  void ReleasePlayer();
  HRESULT LoadPlayer();
  HRESULT Play();
  HRESULT Stop();
  void Restart();
  void ShowPanelNow();

  BOOL IsOpened() const { return m_bOpened; }
  BOOL IsPlaying() const { return m_bPlaying; }
  BOOL IsPanelShown() const { return m_nPanelAlpha == 0; }
  BOOL HasPlayer() const { return m_pPlayer != NULL; }
  CHoverBitmapButton* GetButton(int n) const { return n >= 0 && n < kSbCount ? m_apButtons[n] : NULL; }
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnClose();
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyUp(UINT, UINT, UINT) {}
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonDblClk(UINT, CPoint) {}
  afx_msg void OnRButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnRButtonUp(UINT, CPoint) {}
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg void OnTimer(UINT_PTR nId);
  afx_msg LRESULT OnDisplayChange(WPARAM, LPARAM);
  afx_msg LRESULT OnImeNotify(WPARAM, LPARAM);
  afx_msg LRESULT OnPlayPause(WPARAM, LPARAM);
  afx_msg LRESULT OnSettings(WPARAM, LPARAM);
  afx_msg LRESULT OnClearRect(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  void HandleKey(UINT nChar, BOOL bRepeat, BOOL bAlt);
  void ShowError(UINT nFormat, HRESULT hr);
  void CreatePanel();
  void LayoutPanel();
  void ResetButtons();
  void HidePanel();
  void SetPlayButton(BOOL bPlayLook);
  void AfterInput();
  bool CursorOverButton() const;
  void UpdateCursor();
  void FillBlack();

  BOOL m_bOpened, m_bPlaying, m_bButtonsOnTop, m_bItemsSet, m_bImeNotified;
  CPoint m_ptLast;
  CWnd* m_pOwner;
  CComponentDllLoader m_loader;
  ISlidePlayer* m_pPlayer;
  SLD_TYPE m_type;
  SLD_QUALITY m_quality;
  int m_nRepeat;
  std::vector<tagSLD_V_TYPE> m_slides;
  std::vector<tagSLD_A_TYPE> m_music;
  EXECUTION_STATE m_prevExecState;
  BOOL m_bSaverWasActive;
  BOOL m_bRestarting;
  HCURSOR m_hButtonCursor, m_hClosedHand, m_hOpenHand, m_hArrow;
  int m_nPanelAlpha;
  CHoverBitmapButton* m_apButtons[kSbCount];
  BOOL m_bPlayLook;
  UINT m_uOwnerMsg;
};
