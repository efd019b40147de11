// The card import dialog: the card's files as checked thumbnails (listed on a scan
// thread), the destination and the import's options; Start copies the checked files
// through the verified copy, registers them and offers to clean up the card. The same
// object serves the headless backup and listing of the exports.
//
// The class is split over files by concern:
//   CardImportDlg.cpp       set-up, drive list, details, timers, Close, the exports' backup
//   CardImportScan.cpp      the scan thread and the thumbnails
//   CardImportRun.cpp       Start: checks, settings, plan, copy, registration, clean-up
//   CardImportHandlers.cpp  option boxes, duplicate rule, context menu, check all, destroy
//   CardImportDisc.cpp      the card's disc titles: listing, parts, import, deletion
#pragma once
#include <fw/fw.h>
#include <thumblist/ThumbListCtrl.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "CopyProgressDlg.h"
#include "DiscImport.h"
#include "FaceIdentifier.h"
#include "ImportPlan.h"
#include "ImportRegister.h"

// The scan thread asks the dialog's thread to start (lParam 1) or stop a timer (wParam).
#define WM_IMPORT_SCAN_TIMERS (WM_APP + 0x62)

class CCardImportDlg : public CDialog {
 public:
  explicit CCardImportDlg(CWnd* pParent = NULL);
  ~CCardImportDlg() override;
  // IDOK only after an import that completed; IDCANCEL after Close or an error; -1 when
  // there is no card.
  // The folder the import wrote to ("" after Close).
  CString GetDestination() const { return m_strDestination; }
  // Copies every picture and movie of the cards' DCIM folders into today's folder under
  // the destination and registers the copies. The drives are "E:F:" ("" = every card).
  // Answers the number copied (the copies appended to the list), 0 without a card, -1
  // when the destination is refused or a copy failed before any file was copied.
  int BackupCard(LPCSTR drives, LPCSTR destination, CStringList* copied);
  // The card files such a backup would copy; the number appended.
  int ListCardFiles(CStringList* files);

  // The values bound to the controls.
  int m_nBackupMode;
  int m_nFileNameMode;  // radio index: 0 capture time, 1 card names
  int m_nCopyMode;
  int m_nRulePosition;
  int m_nCopyAll;       // 505 checked
  int m_bMonthly, m_bDaily, m_bToday, m_bNamed;
  int m_bClassifyDate, m_bClassifyModel, m_bClassifyScene, m_bClassifyFolder, m_bClassifyFace,
      m_bClassifyPersonal;
  CString m_strFolderName;
  CString m_strKeyword;
  CString m_strDestinationEdit;

  // For tests and the run: the listing's state.
  bool ListingDone() const;
  // The scan thread has ended (thumbnails made, controls enabled again).
  bool ScanDone() const;
  int ListedCount() const { return m_nListed; }
  std::string CardRoot() const { return m_strCardRoot; }
  // Card paths of the checked items, in list order.
  std::vector<std::string> CheckedPaths();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  afx_msg void OnChangeDestination();
  afx_msg void OnBrowseDestination();
  afx_msg void OnMonthlyFolders();
  afx_msg void OnDailyFolders();
  afx_msg void OnTodayFolder();
  afx_msg void OnNamedFolder();
  afx_msg void OnCopyAll();
  afx_msg void OnCopyRule();
  afx_msg void OnRuleChange();
  afx_msg void OnCheckAll();
  afx_msg void OnUncheckAll();
  afx_msg void OnItemProperty();
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnCardDriveChange();
  afx_msg void OnToggleDetails();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnItemOpen(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDiscCancel(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnScanTimers(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  // Set-up.
  int FillCardDriveList();
  void ReadSettings();
  void FillKeywordList();
  void StoreLayout();
  std::string InitialDestination();
  void EnableImportControls(int enable, int withDriveAndClose);
  void ApplyFolderBoxes(int clicked, bool checked);
  static int IsCardDriveReady(const std::string& root);
  void Say(UINT id, UINT icon);

  // The scan.
  static unsigned __stdcall ScanCardThread(void* dialog);
  void Scan();
  void StartScan();
  void StopScan();
  int CountCardFiles();
  int FillCardThumbnails();
  cardtree::ImportSettings PlanSettings() const;

  // Disc titles.
  void CountDiscTitles();
  void AddDiscItems();
  std::vector<cardtree::DiscSelection> CheckedDiscItems();
  uint64_t DiscBytes(const std::vector<cardtree::DiscSelection>& titles);
  cardtree::DiscImportResult RunDiscImport(const std::vector<cardtree::DiscSelection>& titles,
                                           const std::string& destination);
  bool IsDiscRecordable();

  // Start.
  enum RunEnd { kStay, kCloseDone, kCloseFailed };
  RunEnd RunImport();
  int RunCopyDialog(cardtree::CopyPlan* plan, cardtree::CopyOutcome* outcome, int* imported);
  int RegisterImportedFiles(const cardtree::CopyOutcome& outcome, const cardtree::CopyPlan& plan);
  // The registration's settings: the profile's switches, the keyword and the place finder.
  cardtree::RegisterOptions ImportRegisterOptions();
  void StartPlaceFinder();
  void StopPlaceFinder();
  int CreateFolderPath(const std::string& path);
  void SaveSettings();

  CWnd* m_pParent;
  CString m_strDestination;  // handed back to the host
  std::string m_strWorking;  // the destination the run reads
  std::string m_strCardRoot;
  std::vector<char> m_drives;
  int m_nDrivePosition;
  int m_bDetails;
  bool m_bInSection;
  CRect m_rcDialog;
  struct Placed {
    int id;
    CRect rc;
  };
  std::vector<Placed> m_placed;

  CThumbListCtrl m_list;
  CComboBox m_keywords;
  CComboBox m_driveList;
  CComboBox m_ruleList;

  HANDLE m_hScanThread;
  HANDLE m_hListingDone;
  std::atomic<int> m_nStop;
  std::atomic<int> m_bStatusCleared;
  std::atomic<int> m_nListed, m_nShown;
  int m_nFirstDiscIndex;
  int m_bFilesListed;
  int m_bDiscItems;
  std::vector<std::string> m_listed;  // the listed files, in list order
  bool m_bRunning;
  cardtree::DiscSession m_disc;
  std::vector<int> m_discTitles;  // the title of each disc item, in list order
  int m_nDiscImportable;
  int m_nUnsupported;
  int m_nTvSystem;  // the TV system titles must have (0 NTSC, 1 PAL)
  std::atomic<int> m_nDiscCancel;
  CRegisterProgressDlg* m_pRegister;
  HANDLE m_hPlaceFinder;       // set by its start-up thread, which then signals the event
  HANDLE m_hPlaceReady;
  std::thread m_placeStart;
  CFaceIdentifier* m_pFaces;   // the persons of the registration
  int m_nDeletePass;
  int m_nImported;
  size_t m_nSkipped;
};
