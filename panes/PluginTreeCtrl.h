// CPluginTreeCtrl: the tree control of one folder-tree plug-in in the folder pane. Its
// events reach the plug-in's exports through the manager; a change of selection becomes
// the open-folder request that it sends to its owner, the pane.
#pragma once
#include <FolderTreePlugin.h>

#include <string>
#include <vector>

class CTreePluginManager;
class CTreePluginEntry;

class CPluginTreeCtrl : public CCheckTreeCtrl {
 public:
  CPluginTreeCtrl();
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, BOOL bMultiSelect, BOOL bNotify);

  void SetPlugin(CTreePluginManager* pManager, CTreePluginEntry* pEntry, int nIndex);
  CTreePluginEntry* GetEntry() const { return m_pEntry; }
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
  afx_msg LRESULT OnRenewLater(WPARAM wParam, LPARAM lParam);
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

  // Kind texts that ask the photo database or the card (PluginTreeKinds.cpp).
  std::string SearchText(HTREEITEM hItem, const PluginItemRecord& record, std::vector<std::string>* pDeleted);
  std::string PrintOrderText(HTREEITEM hItem, const PluginItemRecord& record);
  std::string ClassifyText(HTREEITEM hItem, const PluginItemRecord& record);

  // The item under a client point when the point is on its icon or label.
  HTREEITEM ItemAtIconOrLabel(CPoint point);
  // Asks whether to refresh the tree after its item's folder was found missing; Yes
  // refreshes it (and reloads the browser when bReload).
  void AskFolderGone(const std::string& path, BOOL bReload);
  int ShowText(const CString& strText, UINT nType);
};
