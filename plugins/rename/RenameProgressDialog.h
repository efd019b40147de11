// The rename tool's two progress windows: the one over a rename run, and the wait
// window of a long preview.
#pragma once
#include <ProgressMessageDlg.h>
#include <ui/ProgressDialogs.h>

// Over a rename run: the common progress dialog, centred on the rename dialog, without
// its Cancel button (a run is not cancelled half-way).
class CRenameProgressDialog : public CProgressDlg {
 public:
  BOOL Create(CWnd* pParent) { return CProgressDlg::Create(pParent); }
  void SetTitle(UINT nStringID) { SetCaption(nStringID); }
  void Step() { StepIt(); }

 protected:
  BOOL OnInitDialog() override;
};

// While the preview of many files is built: the program's message-and-bar window in the
// system's own colours.
class CRenameWaitDlg : public CProgressMessageDlg {
 protected:
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  BOOL OnInitDialog() override;
  DECLARE_MESSAGE_MAP()
};
