// The title bar button of one folder-tree plug-in in the folder pane: the plug-in's title
// on a face bitmap; a click shows that plug-in's tree and gives it the focus.
#pragma once
#include <fw/fw.h>

#include <Widgetkit.h>

#include "MainWndMessages.h"

class CTreePluginManager;
class CTreePluginEntry;

// To the folder pane: WM_PARENTNOTIFY with this code and lParam the entry (its tree was
// chosen); WM_TREE_FOCUS_CHANGED with wParam 1 when a title button got the focus.
#define TITLEBUTTON_NOTIFY_CHOSEN 0x740

namespace titlebutton {
enum { kIconColumn = 22, kTextLeft = 26 };
// What a click does for the button's entry.
struct ClickPlan {
  bool makeActive;   // the entry becomes the active one
  bool makeCurrent;  // and the manager's current entry (its tree made once)
  bool notifyPane;   // the pane hears which entry was chosen
};
ClickPlan PlanClick(bool entryActive, bool inIconColumn, bool treeCreated, bool doubleClick);
// The title's colour for the item's state.
COLORREF TitleColor(bool disabled, bool selected, bool focused, bool highlight);
}  // namespace titlebutton

class CImageCheckButton : public CBitmapButtonEx2 {
  DECLARE_DYNAMIC(CImageCheckButton)
 public:
  CImageCheckButton();
  void SetPluginEntry(CTreePluginManager* pManager, CTreePluginEntry* pEntry, int nIndex);
  // Replaces the normal face (14127/14128 or 14131/14132) and repaints at once; FALSE
  // when the bitmap does not load.
  BOOL SetStateBitmap(UINT nBitmapID, BOOL bSelected);
  BOOL IsSelectedFace() const { return m_bSelected; }
  CTreePluginEntry* GetEntry() const { return m_pEntry; }
  int GetIndex() const { return m_nIndex; }

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 protected:
  afx_msg BOOL OnClicked();
  afx_msg BOOL OnDoubleClicked();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  DECLARE_MESSAGE_MAP()

 private:
  void Choose(bool doubleClick);
  bool CursorInIconColumn() const;
  void FocusTree();

  CTreePluginManager* m_pManager;
  CTreePluginEntry* m_pEntry;
  int m_nIndex;
  HWND m_hFocusBefore;
  BOOL m_bSelected;
};
