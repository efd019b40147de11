// CMusicListRow: the music list's row, which carries a play button and a stop button in
// its title cell (the cell of column id 1). The owner view learns of a press on either.
#pragma once
#include <fw/fw.h>

#include "ImgButton.h"
#include "ListRowCtrl.h"
#include "VxGUITransApi.h"

#define UWM_ROW_PLAY 0x73E  // wParam: the row object
#define UWM_ROW_STOP 0x73F  // wParam: the row object

class VXGUITRANS_API CMusicListRow : public CListRowCtrl {
  DECLARE_DYNAMIC(CMusicListRow)
 public:
  enum { kPlayId = 10, kStopId = 20 };
  CMusicListRow();
  ~CMusicListRow() override;

  CSkinCtrlWnd* Clone(CWnd* pParent, UINT nID) override;
  void SetPlaying(BOOL bPlaying);
  BOOL IsPlaying() const { return m_bPlaying; }
  // The button the title cell shows (null before the window exists).
  CImgButton* GetCurrentButton() const { return m_pCurrent; }
  CImgButton& PlayButton() { return m_play; }
  CImgButton& StopButton() { return m_stop; }
  const RECT& GetButtonRect() const { return m_rcButton; }

  CWnd* m_pOwnerView;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnPlay();
  afx_msg void OnStop();
  DECLARE_MESSAGE_MAP()
  int DrawCellExtra(CDC* pDC, int cell, int x, int height) override;

 private:
  CImgButton m_play, m_stop;
  CImgButton* m_pCurrent;
  RECT m_rcButton;
  int m_nButtonWidth;
  BOOL m_bPlaying;
};
