// A modeless progress window, a runner of per-file work under the common library's
// progress bar, and the chooser of slide-show scenario files.
#pragma once
#include <fw/fw.h>

#include <Kitlib2/ProgressBar.h>

#include <functional>

#include "ResourceDialog.h"

// The bar's position for a step count within a range: never past the range, and 0 for
// an empty range.
int ProgressBarPosition(int steps, int range);
// Percent done after step i of count (0 for no count).
int ProgressPercent(int i, int count);
// Tells the progress window of a running bar that file i of count is at work: the file's
// name in the format (string, number, total) and the percent done (a posted copy).
void ReportFileProgress(CPgBarData* job, const CString& format, const CString& path, int i, int count);

class CProgressDlg : public CResourceDialog {
 public:
  CProgressDlg();
  // Modeless, centred over the parent's window.
  BOOL Create(CWnd* pParent);
  void SetText(LPCSTR lpszText);
  void SetCaption(UINT nStringID);
  void SetRange(int n);
  void StepIt();
  int GetSteps() const { return m_nSteps; }

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  int m_nSteps;
  int m_nRange;
  CWnd* m_pOwner;
};

// Runs a callback over a list of files under the progress bar and reports the steps to
// the progress window, once for each new percent (the status text and the percent done).
// A negative result of the callback, or Cancel, ends the run.
struct CFileBatchJob : CPgBarData {
  typedef int (*Callback)(LPCSTR path, void* context);
  CFileBatchJob(UINT captionId, CWnd* owner);
  void SetCallback(const CStringList* files, Callback callback, void* context);
  // 2 without a file list; otherwise the progress bar's result.
  int Run();
  // The worker as the progress bar runs it (tests call it directly).
  static int Work(CPgBarData* data);

  UINT m_nCaptionID;
  CWnd* m_pOwner;
  const CStringList* m_pFiles;
  Callback m_pfnCallback;
  void* m_pContext;
  int m_nDone;  // files the callback was called for
};

// The scenario folder: the user's application data + "\Norvane\Glimora\vxSlideShow".
CString SlideShowScenarioFolder();
// The first "vxSlideShow_%d.snr" from 1 up that does not exist in the folder.
CString NextScenarioFileName(const CString& folder, const std::function<bool(const CString&)>& exists);
// The chosen path; "" when cancelled. A save may name a new file.
CString ChooseSlideShowScenarioFile(BOOL bOpen);
// The flags of the standard file dialog for opening or saving.
DWORD ScenarioDialogFlags(BOOL bOpen);
