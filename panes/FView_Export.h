// CFView_Export: the export pane at the right of the main window, a form view (template
// 6500) that shows one tile per export plug-in. What it does so far: it stands in its
// cell, reports at start-up that it exists (ExeState VxExport_Created), fills the export
// menus with its entries, refuses printing where the browser's mode does not allow it,
// and answers the frame's calls for a pane whose plug-in host holds no exports.
#pragma once
#include <fw/fw.h>

class CFView_Export : public CFormView {
  DECLARE_DYNCREATE(CFView_Export)
 public:
  CFView_Export();
  ~CFView_Export() override;

  // Command ids of the tiles: 1124 + entry index.
  enum { TILE_COMMAND_FIRST = 1124, TILE_COMMAND_LAST = 1153 };

  // The entry index of the tile with that command id; -1 when none.
  int FindEntryById(int nID) const;
  // The description of an export entry; FALSE when there is no such entry.
  BOOL GetEntryDescription(int nEntry, CString* pstrDescription) const;
  int GetEntryCount() const { return 0; }

  // Deletes every item of the popup and appends one per export entry (ids 29301 up,
  // texts "&%01d " + the entry's name), greyed while the pane is disabled.
  void OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu);
  // Print commands (kinds 0 to 3 of the printing plug-in) and printer setup.
  long OnPrint(int nKind);
  void OnPrintSetup();

  void OnInitialUpdate() override;

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnDestroy();
  afx_msg void OnTileCommand(UINT nID);
  DECLARE_MESSAGE_MAP()

 private:
  // Month calendar and music refuse exports (messages 787 and 62020); TRUE when refused.
  BOOL RefuseInBrowserMode();
};
