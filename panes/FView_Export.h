// CFView_Export: the export pane at the right of the main window, a form view (template
// 6500) with one tile per export type of the export plug-ins. A tile's click, files
// dropped on a tile, an item of the export menus or the frame's print commands run an
// export; the pane stays disabled while the plug-in's window is open, so that one export
// runs at a time.
//
// Sources by concern:
//   FView_Export.cpp        creation, tiles, painting, menus, the finished-export messages
//   FView_ExportRun.cpp     the tile command and drops: checks, scope, the plug-in's run
//   FView_ExportPrint.cpp   printer settings, print set-up and printing
#pragma once
#include <fw/fw.h>

#include <vector>

#include "ExportPluginManager.h"

class CExportMenuWnd;

class CFView_Export : public CFormView {
  DECLARE_DYNCREATE(CFView_Export)
 public:
  CFView_Export();
  ~CFView_Export() override;

  // Command ids of the tiles: 1124 + entry index.
  enum { TILE_COMMAND_FIRST = 1124, TILE_COMMAND_LAST = 1153 };
  // The tile that takes the marked files without asking.
  enum { TILE_COMMAND_MARKED = 1126 };

  // The entry index of the tile with that command id; -1 when none.
  int FindEntryById(int nID) const;
  // The description of an export entry; FALSE when there is no such entry.
  BOOL GetEntryDescription(int nEntry, CString* pstrDescription) const;
  int GetEntryCount() const { return (int)m_tiles.size(); }
  CExportMenuWnd* GetTile(int nPosition) const;

  // Deletes every item of the popup and appends one per tile in tile order (id 29301 +
  // the tile's entry index, text "&%01d " + its name), greyed while the pane is disabled.
  void OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu);
  // Print commands (kinds 0 to 3 of the printing plug-in) and printer setup.
  long OnPrint(int nKind);
  void OnPrintSetup();

  // Where the plug-ins are looked for; the program folder when empty. Set before the
  // initial update.
  void SetPluginFolder(LPCSTR lpszFolder) { m_strPluginFolder = lpszFolder; }
  // Too long for an upload: longer than 600 seconds or larger than 2,097,152,000 bytes.
  static BOOL IsMovieTooLong(LPCSTR lpszPath);

  void OnInitialUpdate() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnKeepBeforeExit(WPARAM, LPARAM);
  void Finish();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnTileCommand(UINT nID);
  afx_msg LRESULT OnExportBusyEnd(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnExportFinished(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDropFiles(HDROP hDropInfo);
  DECLARE_MESSAGE_MAP()

 private:
  struct Tile {
    CExportMenuWnd* pWnd;
    int nID;
    int nOrder;
    int nEntry;
  };
  void BuildTiles();
  void DestroyTiles();
  // Month calendar and music refuse exports (messages 787 and 62020); TRUE when refused.
  BOOL RefuseInBrowserMode();
  // The toolbar closes its slide collection and its entry editor; FALSE when the user
  // keeps the editor open.
  BOOL CloseToolbarDialogs();
  // Takes the files the export may use out of the list: unsupported ones are counted,
  // the walk stops at the first movie too long; FALSE after message 148.
  BOOL FilterFiles(CGFileInfoList* pFiles, int nFilter, int* pnRemoved, BOOL* pbTooLong);
  // Shows the message of a check code; FALSE when the export must end.
  BOOL ActOnCheckCode(int nCode, int nEntry, int nFilter);
  // The check code of a filtered list and its message; FALSE when the export must end.
  BOOL AcceptFiles(const CGFileInfoList& files, int nRemoved, BOOL bTooLong, int nEntry, int nFilter);
  // Hands over the printer settings (bPrintMode) and the browser, then runs the plug-in
  // between the auto-run guard's writes.
  void RunExport(int nEntry, CGFileInfoList* pFiles, int nScope, ICGBrowser* pBrowser, BOOL bPrintMode);
  int MessageBoxId(UINT nText, UINT nType, LPCSTR lpszArg = NULL, LPCSTR lpszArg2 = NULL);
  CString TileName(int nEntry) const;
  void LoadPrinterSettings();

  CExportPluginManager m_manager;
  std::vector<Tile> m_tiles;
  int m_nFirstId;
  int m_nLastScope;
  CPrintDialog* m_pPrintSettings;
  CString m_strPluginFolder;
};
