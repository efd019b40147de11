// CPluginTreeCtrl: the tree control of one folder-tree plug-in in the folder pane. Its
// events reach the plug-in's exports through the manager; a change of selection becomes
// the open-folder request that it sends to its owner, the pane.
//
// Sources by concern:
//   PluginTreeCtrl.cpp   selection, expansion, label editing, context menu, action flags
//   PluginTreeKinds.cpp  the texts of special items (groups, searches, print orders...)
//   PluginTreeDrag.cpp   drag out, drop in (OLE), the clipboard-viewer chain, the icons
#pragma once
#include <FolderTreePlugin.h>

#include <string>
#include <vector>

class CTreePluginManager;
class CTreePluginEntry;
class CPluginTreeCtrl;
class CLimitEdit;

// The drop target registered on each tree: dropped files go to the tree's plug-in.
class CTreeDropTarget : public COleDropTarget {
 public:
  explicit CTreeDropTarget(CPluginTreeCtrl* pTree) : m_pTree(pTree) {}
  DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
  DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
  BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;
  void OnDragLeave(CWnd* pWnd) override;

 private:
  CPluginTreeCtrl* m_pTree;
  // The items selected when the drag came in: unmarked while it is over the tree.
  std::vector<HTREEITEM> m_remembered;
};

// The source of a drag out of a tree: the drag image follows the cursor.
class CTreeDragSource : public COleDropSource {
 public:
  SCODE GiveFeedback(DROPEFFECT dropEffect) override;
};

class CPluginTreeCtrl : public CCheckTreeCtrl {
 public:
  CPluginTreeCtrl();
  ~CPluginTreeCtrl() override;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, BOOL bMultiSelect, BOOL bNotify);

  void SetPlugin(CTreePluginManager* pManager, CTreePluginEntry* pEntry, int nIndex);
  CTreePluginEntry* GetEntry() const { return m_pEntry; }
  CTreePluginManager* GetManager() const { return m_pManager; }
  void SetReady(BOOL bReady) { m_bReady = bReady; }
  BOOL IsReady() const { return m_bReady; }
  BOOL IsMultiSelect() const { return m_bMultiSelect; }
  // After the plug-in refreshed the tree: its items are read again.
  void AfterRenewal();

  // The open-folder request of the current selection.
  std::string BuildRequest(HTREEITEM* phLast);
  // The text a special item (kinds 1..6) stands for.
  std::string KindText(HTREEITEM hItem, const PluginItemRecord& record);
  // Rebuilds the text of every saved search among the first root item and the selected
  // items, so that the database forgets their result files that are gone.
  void RecheckSearchItems();
  // Sends it to the owner (WM_COPYDATA, the folder-change code), then SelectTreeItem.
  void SendFolderChange();
  // Carries out a plug-in's action flags.
  void DoActions(DWORD dwFlags);
  // Hands dropped files to the plug-in as a copy of their block, freed after the call
  // whatever it answers; on success every tree is refreshed and the caret re-opened.
  HRESULT HandDrop(HGLOBAL hDropped, DWORD dwEffect, CPoint point);
  // Runs the plug-in's context menu at a screen point and carries out its flags.
  void RunContextMenu(CPoint ptScreen);
  // Drags the selection (hItem made the caret when it is not selected) out of the tree as
  // files and as the browser's folder format; the effect the target chose. pSource
  // replaces the tree's own drag source (tests).
  DROPEFFECT DragOut(HTREEITEM hItem, COleDropSource* pSource = NULL);
  // A drop the target took: the block is the tree's until the plug-in got it (posted).
  void TakeDrop(HGLOBAL hFiles, DWORD dwEffect, CPoint point);
  CTreeDropTarget& GetDropTarget() { return m_dropTarget; }
  HWND GetNextViewer() const { return m_hNextViewer; }
  // The keys of the folder commands and of the label edit, before translation.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Re-announce the selection even when the program changes it.
  BOOL IsPendingResend() const { return m_bPendingResend; }
  void SetPendingResend(BOOL bPending) { m_bPendingResend = bPending; }

 protected:
  afx_msg void OnSelChanged(NMHDR* pNotify, LRESULT* pResult);
  afx_msg void OnItemExpanding(NMHDR* pNotify, LRESULT* pResult);
  afx_msg void OnSelChanging(NMHDR* pNotify, LRESULT* pResult);
  afx_msg void OnBeginLabelEdit(NMHDR* pNotify, LRESULT* pResult);
  afx_msg void OnEndLabelEdit(NMHDR* pNotify, LRESULT* pResult);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg LRESULT OnEditAgain(WPARAM wParam, LPARAM lParam);
  void EditAgainLater(HTREEITEM hItem);
  afx_msg LRESULT OnRenewLater(WPARAM wParam, LPARAM lParam);
  afx_msg void OnBeginDrag(NMHDR* pNotify, LRESULT* pResult);
  afx_msg LRESULT OnRefreshTrees(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnOpenFolder(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDrawClipboard();
  afx_msg void OnChangeCbChain(HWND hRemoved, HWND hAfter);
  afx_msg void OnDestroy();
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  // The inactive selection in colours that read on the tree's dark background.
  afx_msg void OnCustomDraw(NMHDR* pNotify, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  CTreePluginManager* m_pManager;
  CTreePluginEntry* m_pEntry;
  int m_nIndex;
  BOOL m_bReady;
  BOOL m_bPendingResend;
  BOOL m_bRightArmed;
  // The item whose label edit the plug-in allowed; its end is handled once.
  HTREEITEM m_hEditing;
  // The item whose edit starts again (WM_EDIT_AGAIN): only that one is taken from the post.
  HTREEITEM m_hEditAgain;
  // The label edit, wrapped while it lives so that its text keeps within the limit.
  CLimitEdit* m_pLimitEdit;
  CTreeDropTarget m_dropTarget;
  // A drop waiting for its hand-over to the plug-in.
  HGLOBAL m_hPendingDrop;
  DWORD m_dwDropEffect;
  CPoint m_ptDrop;
  HWND m_hNextViewer;
  // A copy of the system's small icons, the tree's own.
  CImageList m_icons;

  void TakeSystemIcons();
  void WrapEdit(HTREEITEM hItem);
  void UnwrapEdit();

  // Kind texts that ask the photo database or the card (PluginTreeKinds.cpp).
  std::string SearchText(HTREEITEM hItem, const PluginItemRecord& record, std::vector<std::string>* pDeleted);
  std::string PrintOrderText(HTREEITEM hItem, const PluginItemRecord& record);
  std::vector<std::string> GroupChildFiles(HTREEITEM hChild);
  std::string ClassifyText(HTREEITEM hItem, const PluginItemRecord& record);

  // The item under a client point when the point is on its icon or label.
  HTREEITEM ItemAtIconOrLabel(CPoint point);
  // Asks whether to refresh the tree after its item's folder was found missing; Yes
  // refreshes it (and reloads the browser when bReload).
  void AskFolderGone(const std::string& path, BOOL bReload);
  int ShowText(const CString& strText, UINT nType);
};
