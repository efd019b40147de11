// The import's progress windows: the copy dialog of the import run, the registration
// window the disc-item import feeds, and the card backup's own dialog. The copy runs on
// the engine's worker (every file through the verified copy), so the windows keep
// answering while a large file is read.
#pragma once
#include <fw/fw.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "CardButtons.h"
#include "ImportRun.h"

// The import dialog's private messages: a listed item's check changed, an item was
// double-clicked (wParam its index), the disc-item import is to stop.
#define WM_IMPORT_ITEM_CHECKED 0x8065
#define WM_IMPORT_ITEM_OPEN 0x8066
#define WM_IMPORT_DISC_CANCEL 0x8069

namespace cardtree {

// Runs a copy plan on its own thread. Before each file it posts `message` (wParam the
// 0-based index) to the window, and (wParam -1) once the run has ended.
class CCopyRun {
 public:
  CCopyRun(CopyPlan* plan, CopyOutcome* out) : m_plan(plan), m_out(out) {}
  ~CCopyRun() { Join(); }
  void Start(HWND notify, UINT message);
  void Join();
  // Ends the run before the next file.
  void StopAfterFile() { m_stopAfter = 1; }
  // Ends the file being copied as well: its temporary goes, the card file stays.
  void Abandon() { m_stopNow = 1; }
  bool Running() const { return m_running != 0; }
  DWORD Error() const { return m_error; }
  // A target the system cannot take ("" when none stopped the run).
  const std::string& TooLongTarget() const { return m_tooLong; }
  // The pair being copied.
  void Current(std::string* source, std::string* target, size_t* index, size_t* total);

 private:
  CopyPlan* m_plan;
  CopyOutcome* m_out;
  std::thread m_thread;
  std::atomic<int> m_stopAfter{0}, m_stopNow{0}, m_running{0};
  DWORD m_error = 0;
  std::string m_tooLong;
  std::mutex m_lock;
  std::string m_source, m_target;
  size_t m_index = 0, m_total = 0;
};

// "name.ext 1.50 KB" and "' from' word ' to' " as the progress lines show them.
std::string FileSizeLine(const std::string& path);
std::string FolderLine(const std::string& source, const std::string& target);
// The size text of a file (0 bytes when it cannot be found).
std::string FormatFileSize(const std::string& path);

// A file's capture date and time as "YYYYMMDD" and "HHMMSS" (local). Raw and DNG files
// are dated without the Exif test; with exifOnly a file without Exif data answers 0.
int GetCaptureDateText(LPCSTR path, std::string* dateText, std::string* timeText, int exifOnly);

}  // namespace cardtree

class CCopyProgressDlg : public CDialog {
 public:
  CCopyProgressDlg(CWnd* pParent, cardtree::CopyPlan* plan);
  // 1 every file copied, 2 cancelled between files, 3 stopped, failed or cancelled
  // during a file, -1 when the dialog could not start.
  INT_PTR DoModal() override;
  const cardtree::CopyOutcome& Outcome() const { return m_outcome; }
  int CopiedCount() const { return static_cast<int>(m_outcome.copiedTargets.size()); }
  int m_nOperation;  // 2: copy

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override;
  void OnOK() override {}
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnStop();
  afx_msg void OnCancelButton();
  afx_msg LRESULT OnFileStarted(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
  void Finish();

  cardtree::CopyPlan* m_pPlan;
  cardtree::CopyOutcome m_outcome;
  cardtree::CCopyRun m_run;
  CProgressCtrl m_bar;
  CAnimateCtrl m_animation;
  bool m_bCancelled;
  bool m_bStarted;
};

// The registration window of the disc-item import: modeless, fed by the worker.
class CRegisterProgressDlg : public CDialog {
 public:
  explicit CRegisterProgressDlg(CWnd* pOwner, int nTotal = 0);
  BOOL Create(CWnd* pParent);
  void Start();
  void AddEntry(LPCSTR fileText, LPCSTR sourceFolder, LPCSTR destinationFolder, int index);
  void ShowEntry(int index);
  void SetPos(int position);
  void DisableCancel();
  void Finish();
  int CurrentIndex() const { return m_nCurrent; }

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override;
  void OnOK() override {}
  afx_msg void OnCancelButton();
  afx_msg void OnClose();
  DECLARE_MESSAGE_MAP()
  void AskToStop();

  struct Entry {
    std::string file, source, destination;
  };
  CWnd* m_pOwner;
  std::vector<Entry> m_entries;
  int m_nTotal;
  int m_nCurrent;
  CProgressCtrl m_bar;
  CAnimateCtrl m_animation;
};

// The card backup's dialog: an owner-drawn panel with the file, the folders, the count
// and a bar, dragged by any point; its cancel lets the running file finish.
class CCardBackupProgressDlg : public CDialog {
 public:
  CCardBackupProgressDlg(CWnd* pParent, cardtree::CopyPlan* plan, LPCSTR cardDrives);
  int m_nRunMode;  // 2: copy when the start timer fires
  // 1 every file copied, 2 cancelled, 3 a copy failed.
  int State() const { return m_nState; }
  const cardtree::CopyOutcome& Outcome() const { return m_outcome; }
  // The 1-based number of the file it shows (the oldest the run has not finished).
  int ShownFile() const { return m_nDone; }
  // Upper-cased card paths of the auto-play orders of the cards.
  const std::vector<std::string>& PlayList() const { return m_playList; }

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override;
  void OnOK() override {}
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnCancelButton();
  afx_msg void OnDestroy();
  afx_msg LRESULT OnFileStarted(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  cardtree::CopyPlan* m_pPlan;
  cardtree::CopyOutcome m_outcome;
  cardtree::CCopyRun m_run;
  std::string m_strDrives;
  std::vector<std::string> m_playList;
  CCardHoverButton* m_pCancel;
  CAnimateCtrl m_animation;
  HBRUSH m_clipBack = NULL;  // the background under the clip, for its keyed colour
  int m_nState;
  int m_nTotal, m_nDone;
  std::string m_strFile, m_strFolders;
};
