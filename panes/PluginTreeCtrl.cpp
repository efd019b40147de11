#include "PluginTreeCtrl.h"

#include <MainWndMessages.h>
#include <OwnMessages.h>

#include <vector>

#include <textkit/path.h>
#include <textkit/text.h>

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>

#include "FolderTextRules.h"
#include "PluginTreeRules.h"
#include "ui/LimitEdit.h"
#include "ui/ResourceDialog.h"
#include "TreePluginManager.h"

namespace {
// Posted to itself: label editing starts again once the refused edit has ended.
const UINT WM_EDIT_AGAIN = WM_APP + 0x1A0;
static_assert(ownmsg::Listed(WM_EDIT_AGAIN, ownmsg::kOwnRecord), "its row in OwnMessages.h");
// Posted to itself: the tree is built again once the refused selection change is over
// (the plug-in deletes the items that the change is still working on).
const UINT WM_RENEW_LATER = WM_APP + 0x1A1;
}  // namespace

BEGIN_MESSAGE_MAP(CPluginTreeCtrl, CCheckTreeCtrl)
  ON_NOTIFY_REFLECT(TVN_SELCHANGED, &CPluginTreeCtrl::OnSelChanged)
  ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, &CPluginTreeCtrl::OnItemExpanding)
  ON_NOTIFY_REFLECT(TVN_SELCHANGING, &CPluginTreeCtrl::OnSelChanging)
  ON_NOTIFY_REFLECT(TVN_BEGINLABELEDIT, &CPluginTreeCtrl::OnBeginLabelEdit)
  ON_NOTIFY_REFLECT(TVN_ENDLABELEDIT, &CPluginTreeCtrl::OnEndLabelEdit)
  ON_WM_RBUTTONDOWN()
  ON_WM_RBUTTONUP()
  ON_MESSAGE(WM_EDIT_AGAIN, &CPluginTreeCtrl::OnEditAgain)
  ON_MESSAGE(WM_RENEW_LATER, &CPluginTreeCtrl::OnRenewLater)
  ON_NOTIFY_REFLECT(TVN_BEGINDRAG, &CPluginTreeCtrl::OnBeginDrag)
  ON_MESSAGE(WM_REFRESH_TREES, &CPluginTreeCtrl::OnRefreshTrees)
  ON_MESSAGE(WM_OPEN_FOLDER, &CPluginTreeCtrl::OnOpenFolder)
  ON_WM_DRAWCLIPBOARD()
  ON_WM_CHANGECBCHAIN()
  ON_WM_DESTROY()
  ON_WM_CONTEXTMENU()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_ERASEBKGND()
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, &CPluginTreeCtrl::OnCustomDraw)
END_MESSAGE_MAP()

CPluginTreeCtrl::CPluginTreeCtrl()
    : m_pManager(NULL),
      m_pEntry(NULL),
      m_nIndex(-1),
      m_bReady(FALSE),
      m_bPendingResend(FALSE),
      m_bRightArmed(FALSE),
      m_hEditing(NULL),
      m_hEditAgain(NULL),
      m_pLimitEdit(NULL),
      m_dropTarget(this),
      m_hPendingDrop(NULL),
      m_dwDropEffect(DROPEFFECT_NONE),
      m_hNextViewer(NULL) {}

CPluginTreeCtrl::~CPluginTreeCtrl() {
  if (m_hPendingDrop) ::GlobalFree(m_hPendingDrop);
  delete m_pLimitEdit;
}

BOOL CPluginTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, BOOL bMultiSelect,
                             BOOL bNotify) {
  m_bMultiSelect = bMultiSelect ? 1 : 0;
  m_bNotify = bMultiSelect ? 0 : (bNotify ? 1 : 0);
  if (!CTreeCtrl::Create(dwStyle, rect, pParentWnd, nID)) return FALSE;
  TakeSystemIcons();
  m_dropTarget.Register(this);
  m_hNextViewer = ::SetClipboardViewer(m_hWnd);
  return TRUE;
}

void CPluginTreeCtrl::SetPlugin(CTreePluginManager* pManager, CTreePluginEntry* pEntry, int nIndex) {
  m_pManager = pManager;
  m_pEntry = pEntry;
  m_nIndex = nIndex;
}

void CPluginTreeCtrl::AfterRenewal() {
  RecheckSearchItems();
  Invalidate();
}

std::string CPluginTreeCtrl::BuildRequest(HTREEITEM* phLast) {
  std::vector<foldertext::SelectedItem> items;
  HTREEITEM hLast = NULL;
  // While the plug-in's folder thread walks, the tree's items are on their way: the folder
  // it walks to (the text the plug-in stored after its first "|") stands for them.
  const bool walking = m_pManager && m_pEntry && m_pManager->IsDoThread(m_pEntry);
  for (HTREEITEM h = GetFirstSelectedItem(); h; h = GetNextSelectedItem(h)) {
    foldertext::SelectedItem item;
    const PluginItemRecord* pRecord = reinterpret_cast<const PluginItemRecord*>(GetItemData(h));
    if (!pRecord) {
      item.hasRecord = false;
      items.push_back(item);
      continue;
    }
    item.kind = (int)pRecord->kind;
    item.path = pRecord->path ? pRecord->path : "";
    if (item.kind >= 1 && item.kind <= 6) {
      item.kindText = KindText(h, *pRecord);
    } else if (walking) {
      std::string stored = (LPCSTR)CMGetProfileString("VxFolder\\FolderInfo", "OpenFolder", "");
      size_t bar = stored.find('|');
      item.path = bar == std::string::npos ? std::string() : stored.substr(bar + 1);
      items.push_back(item);
      if (!hLast) hLast = h;
      break;
    }
    items.push_back(item);
    hLast = h;
  }
  if (phLast) *phLast = hLast;
  return foldertext::BuildRequest(items);
}

void CPluginTreeCtrl::SendFolderChange() {
  HTREEITEM hLast = NULL;
  std::string text = BuildRequest(&hLast);
  COPYDATASTRUCT cds = {CDID_CHANGE_FOLDER, 0, NULL};
  std::vector<char> block = foldertext::PaddedBlock(text);
  cds.cbData = (DWORD)block.size();
  cds.lpData = block.data();
  if (CWnd* pOwner = GetParent()) pOwner->SendMessage(WM_COPYDATA, (WPARAM)m_hWnd, (LPARAM)&cds);
  if (m_pManager && text.size() >= 2) m_pManager->SelectTreeItem(m_pEntry, hLast);
}

void CPluginTreeCtrl::DoActions(DWORD dwFlags) {
  if (!m_pManager) return;
  if (dwFlags & PLUGIN_ACTION_REFRESH_OTHERS) m_pManager->RefreshAllExcept(m_pEntry, FALSE);
  if ((dwFlags & PLUGIN_ACTION_RELOAD) && GetParent()) GetParent()->PostMessage(WM_BROWSER_RELOAD, (WPARAM)m_hWnd, 0);
  if (dwFlags & PLUGIN_ACTION_REOPEN) SendFolderChange();
  if ((dwFlags & PLUGIN_ACTION_EDIT_LABEL) && GetSelectedItem()) {
    SetFocus();
    EditLabel(GetSelectedItem());
  }
}

HRESULT CPluginTreeCtrl::HandDrop(HGLOBAL hDropped, DWORD dwEffect, CPoint point) {
  if (!m_pManager || !hDropped) return E_INVALIDARG;
  SIZE_T cb = ::GlobalSize(hDropped);
  HGLOBAL hCopy = cb ? ::GlobalAlloc(GMEM_MOVEABLE, cb) : NULL;
  if (!hCopy) return E_OUTOFMEMORY;
  void* pFrom = ::GlobalLock(hDropped);
  void* pTo = ::GlobalLock(hCopy);
  if (pFrom && pTo) memcpy(pTo, pFrom, cb);
  if (pTo) ::GlobalUnlock(hCopy);
  if (pFrom) ::GlobalUnlock(hDropped);
  HRESULT hr = m_pManager->Drop(m_pEntry, hCopy, dwEffect, point.x, point.y);
  ::GlobalFree(hCopy);
  if (hr != S_OK) return hr;  // a failed drop changes nothing
  m_pManager->Refresh(TRUE);
  SendFolderChange();
  if (GetParent()) GetParent()->PostMessage(WM_BROWSER_RELOAD, (WPARAM)m_hWnd, 0);
  return S_OK;
}

void CPluginTreeCtrl::OnSelChanged(NMHDR* pNotify, LRESULT* pResult) {
  NMTREEVIEWA* pnm = reinterpret_cast<NMTREEVIEWA*>(pNotify);
  *pResult = 0;
  if (IsSilent()) return;  // a step inside a multi-selection change
  if (pnm->action == TVC_UNKNOWN) {
    // The program moved the caret (a plug-in, the browser's own change): the old item
    // keeps no mark, and the browser already shows the folder unless asked again.
    if (pnm->itemOld.hItem && pnm->itemOld.hItem != pnm->itemNew.hItem)
      SetItemState(pnm->itemOld.hItem, 0, TVIS_SELECTED | TVIS_FOCUSED);
    if (!m_bPendingResend) return;
  }
  m_bPendingResend = FALSE;
  SendFolderChange();
}

void CPluginTreeCtrl::OnItemExpanding(NMHDR* pNotify, LRESULT* pResult) {
  NMTREEVIEWA* pnm = reinterpret_cast<NMTREEVIEWA*>(pNotify);
  HTREEITEM hItem = pnm->itemNew.hItem;
  if (pnm->action == TVE_COLLAPSE) {
    // The caret inside the collapsing item moves up to it: that move is announced.
    for (HTREEITEM h = GetSelectedItem(); h; h = GetParentItem(h))
      if (GetParentItem(h) == hItem) m_bPendingResend = TRUE;
  }
  *pResult = 0;
  if (m_pManager) m_pManager->ExpandTree(m_pEntry, hItem);
}

namespace {

const PluginItemRecord* RecordOf(CTreeCtrl* pTree, HTREEITEM hItem) {
  return hItem ? reinterpret_cast<const PluginItemRecord*>(pTree->GetItemData(hItem)) : NULL;
}

// A record's kind as the control reads it: outside 0..6 it is a folder.
int KindOf(const PluginItemRecord* pRecord) {
  int kind = pRecord ? (int)pRecord->kind : PLUGIN_ITEM_FOLDER;
  return kind >= PLUGIN_ITEM_FOLDER && kind <= PLUGIN_ITEM_DISC_DATE ? kind : PLUGIN_ITEM_FOLDER;
}

std::string PathOf(const PluginItemRecord* pRecord) {
  return pRecord && pRecord->path ? pRecord->path : "";
}

}  // namespace

int CPluginTreeCtrl::ShowText(const CString& strText, UINT nType) {
  CWnd* pMain = AfxGetMainWnd();
  return ::MessageBoxA(pMain ? pMain->GetSafeHwnd() : m_hWnd, strText, CMTLGetAppName(), nType);
}

void CPluginTreeCtrl::AskFolderGone(const std::string& path, BOOL bReload) {
  CString strText;
  strText.Format(LoadResourceText(IDS_TREE_FOLDER_GONE), path.c_str());
  if (ShowText(strText, MB_YESNO | MB_ICONSTOP) != IDYES) return;
  m_bPendingResend = TRUE;
  PostMessage(WM_RENEW_LATER, bReload, 0);
}

LRESULT CPluginTreeCtrl::OnRenewLater(WPARAM wParam, LPARAM) {
  if (m_pManager) m_pManager->RenewalTree(m_pEntry, NULL);
  if (wParam && GetParent()) GetParent()->PostMessage(WM_BROWSER_RELOAD, (WPARAM)m_hWnd, 0);
  return 0;
}

void CPluginTreeCtrl::OnSelChanging(NMHDR* pNotify, LRESULT* pResult) {
  NMTREEVIEWA* pnm = reinterpret_cast<NMTREEVIEWA*>(pNotify);
  *pResult = 0;
  bool altArrow = (::GetKeyState(VK_MENU) & 0x8000) &&
                  ((::GetKeyState(VK_LEFT) & 0x8000) || (::GetKeyState(VK_RIGHT) & 0x8000));
  const PluginItemRecord* pRecord = RecordOf(this, pnm->itemNew.hItem);
  std::string path = PathOf(pRecord);
  treerules::Selection verdict = treerules::JudgeSelection(pnm->action == TVC_UNKNOWN, altArrow, KindOf(pRecord), path,
                                                           treerules::RealFolders());
  if (verdict == treerules::Selection::Allow) return;
  *pResult = 1;
  if (verdict == treerules::Selection::Missing) {
    AskFolderGone(treerules::PathToTest(KindOf(pRecord), path), TRUE);
  } else if (UINT nText = treerules::SelectionText(verdict)) {
    ShowText(LoadResourceText(nText), MB_OK | MB_ICONSTOP);
  }
}

void CPluginTreeCtrl::OnBeginLabelEdit(NMHDR* pNotify, LRESULT* pResult) {
  NMTVDISPINFOA* pnm = reinterpret_cast<NMTVDISPINFOA*>(pNotify);
  HRESULT hr = m_pManager ? m_pManager->IsRenameTreeItem(m_pEntry, pnm->item.hItem) : E_PLUGIN_NO_MODULE;
  treerules::RenameAnswer answer = treerules::JudgeRenameAnswer(hr);
  *pResult = answer.allow ? 0 : 1;
  if (answer.allow) {
    m_hEditing = pnm->item.hItem;
    WrapEdit(pnm->item.hItem);
  }
  if (answer.texts.empty()) return;
  CString strText;
  for (UINT nID : answer.texts) {
    if (!strText.IsEmpty()) strText += "\n";
    strText += LoadResourceText(nID);
  }
  ShowText(strText, MB_OK | MB_ICONEXCLAMATION);
}

void CPluginTreeCtrl::OnEndLabelEdit(NMHDR* pNotify, LRESULT* pResult) {
  NMTVDISPINFOA* pnm = reinterpret_cast<NMTVDISPINFOA*>(pNotify);
  *pResult = 0;  // the plug-in relabels the item itself
  HTREEITEM hItem = pnm->item.hItem;
  UnwrapEdit();
  // The tree can report the end twice (the edit losing the focus as it goes).
  if (hItem != m_hEditing) return;
  m_hEditing = NULL;
  if (!pnm->item.pszText) return;  // cancelled
  if (treerules::IsBlankLabel(pnm->item.pszText)) {
    if (!*pnm->item.pszText) {
      ShowText(LoadResourceText(IDS_DISKTREE_NAME_EMPTY), MB_OK | MB_ICONEXCLAMATION);
      EditAgainLater(hItem);
    }
    return;
  }
  if (!m_pManager) return;
  if (m_pManager->RenameTreeItem(m_pEntry, hItem, pnm->item.pszText) != S_OK) {
    EditAgainLater(hItem);
    return;
  }
  m_pManager->RefreshAllExcept(m_pEntry, FALSE);
  SendFolderChange();
}

void CPluginTreeCtrl::WrapEdit(HTREEITEM hItem) {
  CEdit* pEdit = GetEditControl();
  if (!pEdit || m_pLimitEdit) return;
  m_pLimitEdit = new CLimitEdit;
  if (!m_pLimitEdit->SubclassWindow(pEdit->m_hWnd)) {
    delete m_pLimitEdit;
    m_pLimitEdit = NULL;
    return;
  }
  treerules::LabelTitles titles{(LPCSTR)LoadResourceText(IDS_TREE_PERSON_GROUP),
                                (LPCSTR)LoadResourceText(IDS_TREE_TITLE_DISK),
                                (LPCSTR)LoadResourceText(IDS_TREE_TITLE_CLASSIFY)};
  HTREEITEM hParent = GetParentItem(hItem);
  std::string title = m_pManager ? (LPCSTR)m_pManager->GetTitle(m_pEntry, m_pManager->GetKind(m_pEntry)) : "";
  int nLimit = treerules::LabelLimit(hParent ? (LPCSTR)GetItemText(hParent) : "", title, titles);
  m_pLimitEdit->SetLimitText(nLimit);
  // A saved search is edited by its label, whatever its edit began with.
  if (KindOf(RecordOf(this, hItem)) == PLUGIN_ITEM_SEARCH) m_pLimitEdit->SetWindowText(GetItemText(hItem));
}

void CPluginTreeCtrl::UnwrapEdit() {
  if (!m_pLimitEdit) return;
  if (m_pLimitEdit->m_hWnd) m_pLimitEdit->UnsubclassWindow();
  delete m_pLimitEdit;
  m_pLimitEdit = NULL;
}

void CPluginTreeCtrl::EditAgainLater(HTREEITEM hItem) {
  m_hEditAgain = hItem;
  PostMessage(WM_EDIT_AGAIN, 0, (LPARAM)hItem);
}

LRESULT CPluginTreeCtrl::OnEditAgain(WPARAM, LPARAM lParam) {
  HTREEITEM hItem = (HTREEITEM)lParam;
  if (!hItem || hItem != m_hEditAgain) return 0;  // not the item this tree asked for
  m_hEditAgain = NULL;
  SetFocus();
  EditLabel(hItem);
  return 0;
}

HTREEITEM CPluginTreeCtrl::ItemAtIconOrLabel(CPoint point) {
  UINT nHit = 0;
  HTREEITEM hItem = HitTest(point, &nHit);
  return hItem && (nHit & (TVHT_ONITEMICON | TVHT_ONITEMLABEL)) ? hItem : NULL;
}

void CPluginTreeCtrl::OnRButtonDown(UINT, CPoint point) {
  // The tree's own right-button handling is left out: it tracks the mouse modally.
  HTREEITEM hItem = ItemAtIconOrLabel(point);
  if (!hItem) return;
  const PluginItemRecord* pRecord = RecordOf(this, hItem);
  std::string folder = treerules::PathToTest(KindOf(pRecord), PathOf(pRecord));
  if (!folder.empty() && !treerules::RealFolders().exists(folder)) {
    SelectDropTarget(hItem);
    AskFolderGone(folder, FALSE);
    SelectDropTarget(NULL);
    return;
  }
  SetFocus();
  SelectAllExcept(FALSE, hItem);
  m_bPendingResend = TRUE;
  SelectItem(hItem);
  m_bRightArmed = TRUE;
}

void CPluginTreeCtrl::OnRButtonUp(UINT, CPoint point) {
  if (!m_bRightArmed || !ItemAtIconOrLabel(point)) return;
  m_bRightArmed = FALSE;
  ClientToScreen(&point);
  RunContextMenu(point);
}

void CPluginTreeCtrl::OnSetFocus(CWnd* pOldWnd) {
  CCheckTreeCtrl::OnSetFocus(pOldWnd);
  if (!m_bReady) return;  // the pane is not set up yet
  if (CWnd* pOwner = GetParent())
    pOwner->SendMessage(WM_TREE_FOCUS_CHANGED, 1, (LPARAM)(pOldWnd ? pOldWnd->GetSafeHwnd() : NULL));
  Invalidate();
  // The tree that takes the focus becomes the pane's current one: it says what it shows.
  SendFolderChange();
}

void CPluginTreeCtrl::OnKillFocus(CWnd* pNewWnd) {
  CCheckTreeCtrl::OnKillFocus(pNewWnd);
  if (CWnd* pOwner = GetParent())
    pOwner->SendMessage(WM_TREE_FOCUS_CHANGED, 0, (LPARAM)(pNewWnd ? pNewWnd->GetSafeHwnd() : NULL));
  Invalidate();
}

BOOL CPluginTreeCtrl::OnEraseBkgnd(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, RGB(59, 79, 92));
  return TRUE;
}

void CPluginTreeCtrl::OnCustomDraw(NMHDR* pNotify, LRESULT* pResult) {
  NMTVCUSTOMDRAW* pDraw = reinterpret_cast<NMTVCUSTOMDRAW*>(pNotify);
  *pResult = CDRF_DODEFAULT;
  if (pDraw->nmcd.dwDrawStage == CDDS_PREPAINT) {
    *pResult = CDRF_NOTIFYITEMDRAW;
    return;
  }
  if (pDraw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return;
  HTREEITEM hItem = (HTREEITEM)pDraw->nmcd.dwItemSpec;
  const UINT state = GetItemState(hItem, TVIS_SELECTED | TVIS_DROPHILITED);
  treerules::RowColours colours =
      treerules::RowColoursFor((state & TVIS_SELECTED) != 0, (state & TVIS_DROPHILITED) != 0, ::GetFocus() == m_hWnd,
                               ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNTEXT));
  if (!colours.change) return;
  pDraw->clrText = colours.text;
  pDraw->clrTextBk = colours.back;
}

BOOL CPluginTreeCtrl::PreTranslateMessage(MSG* pMsg) {
  CEdit* pEdit = GetEditControl();
  bool ours = pMsg->hwnd == m_hWnd || (pEdit && pMsg->hwnd == pEdit->m_hWnd);
  if (pMsg->message != WM_KEYDOWN || !ours) return CCheckTreeCtrl::PreTranslateMessage(pMsg);
  UINT nKey = (UINT)pMsg->wParam;
  if (pEdit && (nKey == VK_RETURN || nKey == VK_ESCAPE || nKey == VK_DELETE)) {
    pEdit->SendMessage(WM_KEYDOWN, pMsg->wParam, pMsg->lParam);
    return TRUE;
  }
  int nCommand = treerules::ShortcutCommand(nKey, ::GetKeyState(VK_CONTROL) < 0, pEdit != NULL);
  if (nCommand < 0) return CCheckTreeCtrl::PreTranslateMessage(pMsg);
  CMenu menu;
  bool hasMenu = m_pManager && m_pManager->GetFolderMenu(m_pEntry, &menu) == S_OK && menu.GetSafeHmenu();
  CMenu* pFolder = hasMenu ? menu.GetSubMenu(0) : NULL;
  UINT state = pFolder ? pFolder->GetMenuState(nCommand, MF_BYPOSITION) : (UINT)-1;
  bool allowed =
      treerules::ShortcutAllowed(pFolder != NULL, state != (UINT)-1, state != (UINT)-1 && (state & MF_GRAYED));
  if (menu.GetSafeHmenu()) menu.DestroyMenu();
  if (allowed && GetParent()) GetParent()->SendMessage(WM_COMMAND, ID_FOLDER_COMMAND_FIRST + nCommand, 0);
  return TRUE;
}

void CPluginTreeCtrl::OnContextMenu(CWnd*, CPoint point) {
  // The mouse's menu runs on the right button; this is the keyboard's: at the left edge
  // of the caret's label, halfway down.
  if (point.x != -1 || point.y != -1) return;
  HTREEITEM hCaret = GetSelectedItem();
  CRect rc;
  if (!hCaret || !GetItemRect(hCaret, &rc, TRUE)) return;
  CPoint pt(rc.left, rc.top + rc.Height() / 2);
  ClientToScreen(&pt);
  RunContextMenu(pt);
}

void CPluginTreeCtrl::RunContextMenu(CPoint ptScreen) {
  if (!m_pManager) return;
  SetCapture();
  ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
  DWORD dwFlags = m_pManager->ContextMenu(m_pEntry, ptScreen.x, ptScreen.y);
  if (GetCapture() == this) ReleaseCapture();
  SendMessage(WM_SETFOCUS, 0, 0);
  DoActions(dwFlags);
}
