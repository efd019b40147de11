// CMusicView: the music list of the browser base view. The music list itself comes with
// the media windows; until then the view is empty and takes the browser's reload, folder
// change and music stop messages without acting on them.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class VXGUITRANS_API CMusicView : public CView {
  DECLARE_DYNCREATE(CMusicView)
 public:
  CMusicView();
  ~CMusicView() override;

  // How many of each message arrived (the view has nothing to reload or stop yet).
  int m_nReloads, m_nFolderChanges, m_nStops;

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnReload(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnBeforeFolderChange(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMusicStop(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
