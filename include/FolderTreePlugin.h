// The contract between the folder pane and its folder-tree plug-ins (".psp") and tool
// plug-ins (".psy"): the exports' types, result codes, action flags, the records the host
// reads from a plug-in's items, and the multi-selection tree base whose virtual operations
// plug-ins call through the tree they are handed. Host and plug-ins include this one file;
// its layout is what binds them, so change nothing here without rebuilding both sides.
#pragma once
#include <fw/fw.h>
#include <fw/ole.h>
#include <fw/treectrl.h>

// ---- Result codes -----------------------------------------------------------------------
// The export is missing, or the plug-in is not ready (its answer to the CreateTree probe).
#define E_PLUGIN_NOT_SUPPORTED ((HRESULT)0x80070032L)
// The host's entry holds no loaded module.
#define E_PLUGIN_NO_MODULE ((HRESULT)0x81000003L)

// ---- Action flags (FolderMenu's result, ContextMenu's out word) ---------------------------
#define PLUGIN_ACTION_REFRESH_OTHERS 0x1  // RenewalTree on every other tree
#define PLUGIN_ACTION_RELOAD 0x2          // post the reload message to the pane
#define PLUGIN_ACTION_REOPEN 0x4          // send the caret's open-folder request again
#define PLUGIN_ACTION_EDIT_LABEL 0x8      // start label editing on the caret
#define PLUGIN_ACTION_ALL 0xF

// Folder command numbers: positions in the first sub-menu of GetFolderMenu, arguments of
// FolderMenu.
enum PluginFolderCommand {
  PLUGIN_FOLDER_OPEN = 0,
  PLUGIN_FOLDER_RENAME = 1,
  PLUGIN_FOLDER_CUT = 3,
  PLUGIN_FOLDER_COPY = 4,
  PLUGIN_FOLDER_DELETE = 5,
  PLUGIN_FOLDER_PASTE = 6,
  PLUGIN_FOLDER_PROPERTIES = 7,
  PLUGIN_FOLDER_FAVOURITE = 8,
  PLUGIN_FOLDER_COMMANDS = 10,
};

// Buffers the host passes for titles, tooltips and folder texts, NUL included.
#define PLUGIN_TEXT_SIZE 260

// ---- Item records -------------------------------------------------------------------------
// Item kinds: 0 (and any value outside 1..6) a folder on disk.
enum PluginItemKind {
  PLUGIN_ITEM_FOLDER = 0,
  PLUGIN_ITEM_SEARCH = 1,       // extra: PluginSearchRecord*
  PLUGIN_ITEM_GROUP = 2,        // a folder with its sub-folders as groups
  PLUGIN_ITEM_PRINT_ORDER = 3,  // print-order files of a card
  PLUGIN_ITEM_CLASSIFY = 4,     // extra: a classification tag of the photo database
  PLUGIN_ITEM_MUSIC = 5,        // extra: an integer identifier
  PLUGIN_ITEM_DISC_DATE = 6,    // a dated disc node of the card plug-in
};

// What every item's data points to; owned by the plug-in. The host reads these three
// words only. Words that hold pointers are pointer-sized.
struct PluginItemRecord {
  const char* path;  // the item's folder, with or without a trailing backslash
  INT_PTR kind;      // PluginItemKind
  INT_PTR extra;     // by kind, see PluginItemKind; for a folder of a plug-in that lets
                     // items be dragged out: PluginDragRecord*
};
static_assert(sizeof(PluginItemRecord) == 3 * sizeof(void*), "three words");
static_assert(offsetof(PluginItemRecord, kind) == sizeof(void*), "kind is the second word");

// The record a draggable folder item's extra points to: the fifth word holds the shell's
// attribute bits.
struct PluginDragRecord {
  INT_PTR reserved[4];
  DWORD_PTR attributes;  // bit 0 may be copied, bit 1 may be moved
};
#define PLUGIN_DRAG_CAN_COPY 0x1
#define PLUGIN_DRAG_CAN_MOVE 0x2
static_assert(offsetof(PluginDragRecord, attributes) == 4 * sizeof(void*), "fifth word");

// A saved search (kind 1): its name and queries at the second to fourth words; the
// nineteenth word 4102 marks a search that runs its own query whatever its children.
struct PluginSearchRecord {
  INT_PTR reserved0;
  CString name;
  CString query;
  CString query2;
  INT_PTR reserved[14];
  INT_PTR flags;
};
#define PLUGIN_SEARCH_OWN_QUERY 4102
static_assert(sizeof(CString) == sizeof(void*), "a string is one word");
static_assert(offsetof(PluginSearchRecord, name) == 1 * sizeof(void*), "second word");
static_assert(offsetof(PluginSearchRecord, query2) == 3 * sizeof(void*), "fourth word");
static_assert(offsetof(PluginSearchRecord, flags) == 18 * sizeof(void*), "nineteenth word");

// ---- The multi-selection tree base ----------------------------------------------------------
// Plug-ins receive the host's tree as CTreeCtrl* and call these operations through its
// table of virtual operations: their order is part of the contract. The host implements
// them; a plug-in only calls them.
class CCheckTreeCtrl : public CTreeCtrl {
 public:
  virtual void EnableStateClick(int nFlag);
  virtual UINT GetSelectedCount();
  virtual HTREEITEM GetFirstSelectedItem();
  virtual HTREEITEM GetNextSelectedItem(HTREEITEM hItem);
  virtual HTREEITEM GetPrevSelectedItem(HTREEITEM hItem);
  virtual BOOL SelectAll(BOOL bSelect);
  virtual BOOL SelectAllExcept(BOOL bSelect, HTREEITEM hExcept);
  virtual BOOL ClearFocus();
  virtual BOOL SelectOnly(HTREEITEM hItem);
  virtual int IsSelected(HTREEITEM hItem);

  // The host's own (not called by plug-ins): a click on an item with the key flags
  // (MK_CONTROL, MK_SHIFT) as the mouse gives it, once it is known to be no drag.
  void ClickItem(HTREEITEM hItem, UINT nFlags);
  // While nonzero the control's own selection notices are the base's inner steps.
  BOOL IsSilent() const { return m_nSilent != 0; }

 protected:
  CCheckTreeCtrl();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()
  // Moves the caret to hItem keeping the old caret's selected bit, without a notice of
  // the step between.
  void MoveCaretKeeping(HTREEITEM hItem);
  // Makes hNew the caret and tells the parent as a change by the user.
  void MoveCaret(HTREEITEM hOld, HTREEITEM hNew);
  void LimitNotice();
  BOOL SendSelNotify(UINT nCode, HTREEITEM hOld, HTREEITEM hNew);
  int m_bMultiSelect;
  int m_bNotify;
  int m_bStateClick;
  HTREEITEM m_hAnchor;
  BOOL m_bClickFocus;
  BOOL m_bCtrlHeld;
  BOOL m_bShiftHeld;
  int m_nSilent;
};

// At most this many items are selected by Ctrl-click, or in one Shift range.
#define CHECKTREE_SELECTION_LIMIT 128

// ---- Export types ---------------------------------------------------------------------------
// Every export is a plain function bound by name at each call.
extern "C" {
typedef HRESULT (*PFN_PLUGIN_GetPluginTitle)(char* buffer, int size);
typedef HRESULT (*PFN_PLUGIN_GetPriority)(int* priority);
typedef HRESULT (*PFN_PLUGIN_SetBDCoreIntegrator)(void* integrator);
typedef HRESULT (*PFN_PLUGIN_CreateTree)(CTreeCtrl* tree, CImageList* imageList, HTREEITEM parent);
typedef HRESULT (*PFN_PLUGIN_TreeItem)(CTreeCtrl* tree, HTREEITEM item);  // DeleteTree, RenewalTree,
                                                                          // ExpandTree, SelectTreeItem,
                                                                          // IsRenameTreeItem
typedef HRESULT (*PFN_PLUGIN_SelectText)(CTreeCtrl* tree, CString text);  // SelectFolder, SelectQuery
typedef HRESULT (*PFN_PLUGIN_SearchTreeItem)(CTreeCtrl* tree, CString name, void* context);
typedef HRESULT (*PFN_PLUGIN_Predicate)(void);  // IsDoThread, IsMultiSelectTreeItem, IsNotifyTree,
                                                // IsDragAndDrop: 0 = yes
typedef HRESULT (*PFN_PLUGIN_RenameTreeItem)(CTreeCtrl* tree, HTREEITEM item, char* newText);
typedef HRESULT (*PFN_PLUGIN_GetTreeHeight)(int* height);
typedef HRESULT (*PFN_PLUGIN_SetTreeHeight)(int height);
typedef HRESULT (*PFN_PLUGIN_GetNumOfType)(int* count);
// extra points to a pointer-sized slot the plug-in may fill (an icon); the host ignores it.
typedef HRESULT (*PFN_PLUGIN_GetTitle)(int kind, char* buffer, int size, void* extra);
typedef HRESULT (*PFN_PLUGIN_GetToolTips)(int kind, char* buffer, int size);
typedef HRESULT (*PFN_PLUGIN_GetFolderTypeNum)(CTreeCtrl* tree, int* value);
// The second word is pointer-sized: the card tree reads it as the address of a name.
typedef HRESULT (*PFN_PLUGIN_IsFolderType)(int a, INT_PTR b);
// The card tree's form: folder-type number n and a name compared with its text.
typedef HRESULT (*PFN_PLUGIN_IsFolderTypeName)(int number, const char* name);
// Message 1542's block (lParam): the two words handed to IsFolderType as they are.
struct FOLDERTYPEQUERY {
  int a;
  INT_PTR b;
};
typedef HRESULT (*PFN_PLUGIN_OpenWindow)(int kind, CWnd* caller, char* buffer);
typedef HRESULT (*PFN_PLUGIN_OpenSettingPanel)(int a, int b, CView* pane);
typedef HRESULT (*PFN_PLUGIN_GetFolderMenu)(CTreeCtrl* tree, CMenu* menu);
typedef HRESULT (*PFN_PLUGIN_FolderMenu)(CTreeCtrl* tree, int command);
typedef HRESULT (*PFN_PLUGIN_ContextMenu)(CTreeCtrl* tree, int x, int y, int* actionFlags);
typedef HRESULT (*PFN_PLUGIN_DragOver)(CTreeCtrl* tree, COleDataObject* data, DWORD keyState, int x, int y,
                                       DWORD* effect, int* dragImageShown);
typedef HRESULT (*PFN_PLUGIN_Drop)(CTreeCtrl* tree, HGLOBAL files, DWORD effect, int x, int y);
typedef HRESULT (*PFN_PLUGIN_TreeOnly)(CTreeCtrl* tree);  // DrawClipboard, ChangeSetting

// Tool plug-ins (".psy").
typedef HRESULT (*PFN_TOOL_OpenWindow)(int mode, CWnd* toolbarPane, void* reserved);
typedef HRESULT (*PFN_TOOL_OpenDropWindow)(int mode, CWnd* toolbarPane, void* files);
}

// The plug-ins' export macro.
#define PLUGIN_EXPORT extern "C" __declspec(dllexport)
