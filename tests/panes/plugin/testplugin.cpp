// The folder-tree plug-in of the host's tests, built from this one source in variants
// (VARIANT_*): it answers the contract as its variant says and logs every call it gets,
// in order, for the tests (TestPluginCalls).
#include <FolderTreePlugin.h>

#include <map>
#include <stdexcept>
#include <string>

#ifndef PLUGIN_TITLE
#define PLUGIN_TITLE "Test"
#endif
#ifndef PLUGIN_PRIORITY
#define PLUGIN_PRIORITY 5
#endif

namespace {
std::string g_log;
void Log(const char* name) {
  g_log += name;
  g_log += ";";
}
#ifdef VARIANT_THROWING
#define ANSWER(name, value) \
  Log(name);                \
  throw std::runtime_error(name)
#else
#define ANSWER(name, value) \
  Log(name);                \
  return value
#endif

// Answers a test put in place of the variant's own, by export name.
std::map<std::string, long> g_answers;
long Answer(const char* name, long value) {
  auto it = g_answers.find(name);
  return it == g_answers.end() ? value : it->second;
}
std::string g_lastRename;

PluginItemRecord g_records[8];
std::string g_paths[8];
}  // namespace

#ifdef VARIANT_DEPENDENT
extern "C" __declspec(dllimport) int TestPluginDependency();
#endif

BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID) {
#ifdef VARIANT_FAILING_MAIN
  if (dwReason == DLL_PROCESS_ATTACH) return FALSE;
#endif
#ifdef VARIANT_DEPENDENT
  if (dwReason == DLL_PROCESS_ATTACH) TestPluginDependency();
#endif
  return TRUE;
}

// The calls received so far, "Name;" each.
PLUGIN_EXPORT int TestPluginCalls(char* buffer, int size) {
  lstrcpynA(buffer, g_log.c_str(), size);
  return (int)g_log.size();
}
PLUGIN_EXPORT void TestPluginClearCalls() { g_log.clear(); }
// Makes an export answer value from now on (ContextMenu: the flag word it writes).
PLUGIN_EXPORT void TestPluginSetAnswer(const char* name, long value) { g_answers[name] = value; }
PLUGIN_EXPORT const char* TestPluginLastRename() { return g_lastRename.c_str(); }

#if !defined(VARIANT_BARE) && !defined(VARIANT_FAILING_MAIN)

PLUGIN_EXPORT HRESULT GetPluginTitle(char* buffer, int size) {
#ifdef VARIANT_GARBAGE
  Log("GetPluginTitle");
  memset(buffer, 'A', size);  // no NUL at all
  return 0;
#else
  lstrcpynA(buffer, PLUGIN_TITLE, size);
  ANSWER("GetPluginTitle", 0);
#endif
}

PLUGIN_EXPORT HRESULT GetPriority(int* priority) {
#ifndef VARIANT_GARBAGE
  *priority = PLUGIN_PRIORITY;
#endif
  ANSWER("GetPriority", 0);
}

PLUGIN_EXPORT HRESULT GetTitle(int kind, char* buffer, int size, void* extra) {
#ifdef VARIANT_GARBAGE
  Log("GetTitle");
  memset(buffer, 'B', size);
  *(void**)extra = (void*)&g_log;  // a pointer-sized slot
  return 0;
#elif defined(PLUGIN_TITLE_STRING)
  // A tree the pane knows by its title: the resource library's text.
  buffer[0] = 0;
  if (HMODULE h = ::LoadLibraryExA("VxResource.dll", NULL, LOAD_LIBRARY_AS_DATAFILE)) {
    ::LoadStringA(h, PLUGIN_TITLE_STRING, buffer, size);
    ::FreeLibrary(h);
  }
  ANSWER("GetTitle", 0);
#else
  wsprintfA(buffer, "%s Tree %d", PLUGIN_TITLE, kind);
  ANSWER("GetTitle", 0);
#endif
}

PLUGIN_EXPORT HRESULT GetToolTips(int kind, char* buffer, int size) {
  lstrcpynA(buffer, PLUGIN_TITLE " tip", size);
  ANSWER("GetToolTips", 0);
}

#ifdef VARIANT_WINDOW_ONLY
PLUGIN_EXPORT HRESULT OpenWindow(int kind, CWnd* caller, char* buffer) { ANSWER("OpenWindow", 0); }
#else

PLUGIN_EXPORT HRESULT CreateTree(CTreeCtrl* tree, CImageList* images, HTREEITEM parent) {
#ifdef VARIANT_CREATE_FAILS
  ANSWER("CreateTree", tree ? E_ACCESSDENIED : E_INVALIDARG);
#elif defined(VARIANT_NOT_READY)
  ANSWER("CreateTree", E_PLUGIN_NOT_SUPPORTED);
#else
  if (!tree) {
    ANSWER("CreateTree", E_INVALIDARG);
  }
  // Items of kinds 0..6 over the folder named by the environment.
  char root[MAX_PATH] = "C:\\";
  ::GetEnvironmentVariableA("TESTPLUGIN_ROOT", root, MAX_PATH);
  for (int k = 0; k <= 6; ++k) {
    g_paths[k] = std::string(root) + "\\item" + std::to_string(k);
    g_records[k].path = g_paths[k].c_str();
    g_records[k].kind = k;
    g_records[k].extra = k == 5 ? 42 : 0;
    HTREEITEM h = tree->InsertItem(("item" + std::to_string(k)).c_str(), TVI_ROOT);
    tree->SetItemData(h, (DWORD_PTR)&g_records[k]);
  }
  ANSWER("CreateTree", 0);
#endif
}

PLUGIN_EXPORT HRESULT DeleteTree(CTreeCtrl* tree, HTREEITEM item) {
#ifdef VARIANT_DELETE_FAILS
  ANSWER("DeleteTree", E_FAIL);
#else
  ANSWER("DeleteTree", 0);
#endif
}
// A refresh builds the items again, in the other order: handles need not survive it.
PLUGIN_EXPORT HRESULT RenewalTree(CTreeCtrl* tree, HTREEITEM item) {
  if (tree && tree->GetSafeHwnd() && tree->GetCount()) {
    tree->DeleteAllItems();
    for (int k = 6; k >= 0; --k) {
      HTREEITEM h = tree->InsertItem(("item" + std::to_string(k)).c_str(), TVI_ROOT);
      tree->SetItemData(h, (DWORD_PTR)&g_records[k]);
    }
  }
  ANSWER("RenewalTree", 0);
}
PLUGIN_EXPORT HRESULT ExpandTree(CTreeCtrl* tree, HTREEITEM item) { ANSWER("ExpandTree", 0); }
PLUGIN_EXPORT HRESULT SelectTreeItem(CTreeCtrl* tree, HTREEITEM item) { ANSWER("SelectTreeItem", 0); }
PLUGIN_EXPORT HRESULT SelectFolder(CTreeCtrl* tree, CString path) { ANSWER("SelectFolder", path.IsEmpty() ? 0 : 1); }
PLUGIN_EXPORT HRESULT SelectQuery(CTreeCtrl* tree, CString query) { ANSWER("SelectQuery", 1); }
PLUGIN_EXPORT HRESULT SearchTreeItem(CTreeCtrl* tree, CString name, void* context) { ANSWER("SearchTreeItem", 7); }
PLUGIN_EXPORT HRESULT IsDoThread() { ANSWER("IsDoThread", Answer("IsDoThread", 1)); }
PLUGIN_EXPORT HRESULT IsMultiSelectTreeItem() { ANSWER("IsMultiSelectTreeItem", 0); }
PLUGIN_EXPORT HRESULT IsNotifyTree() { ANSWER("IsNotifyTree", 1); }
PLUGIN_EXPORT HRESULT IsDragAndDrop() { ANSWER("IsDragAndDrop", 0); }
PLUGIN_EXPORT HRESULT IsRenameTreeItem(CTreeCtrl* tree, HTREEITEM item) {
  ANSWER("IsRenameTreeItem", Answer("IsRenameTreeItem", 0));
}
PLUGIN_EXPORT HRESULT RenameTreeItem(CTreeCtrl* tree, HTREEITEM item, char* text) {
  g_lastRename = text ? text : "";
  ANSWER("RenameTreeItem", Answer("RenameTreeItem", 0));
}
PLUGIN_EXPORT HRESULT GetTreeHeight(int* height) {
#ifdef VARIANT_GARBAGE
  *height = -7;
#else
  *height = 120;
#endif
  ANSWER("GetTreeHeight", 0);
}
PLUGIN_EXPORT HRESULT SetTreeHeight(int height) { ANSWER("SetTreeHeight", 0); }
PLUGIN_EXPORT HRESULT GetFolderTypeNum(CTreeCtrl* tree, int* value) {
  *value = 3;
  ANSWER("GetFolderTypeNum", 0);
}
PLUGIN_EXPORT HRESULT IsFolderType(int a, INT_PTR b) { ANSWER("IsFolderType", a == b ? 0 : 1); }
PLUGIN_EXPORT HRESULT OpenWindow(int kind, CWnd* caller, char* buffer) {
  lstrcpynA(buffer, "C:\\Opened", PLUGIN_TEXT_SIZE);
  ANSWER("OpenWindow", 0);
}
PLUGIN_EXPORT HRESULT GetNumOfType(int* count) {
  *count = 2;
  ANSWER("GetNumOfType", 0);
}
PLUGIN_EXPORT HRESULT OpenSettingPanel(int a, int b, CView* pane) { ANSWER("OpenSettingPanel", 0); }
// Folder commands 0..8, delete (5) greyed.
PLUGIN_EXPORT HRESULT GetFolderMenu(CTreeCtrl* tree, CMenu* menu) {
  HMENU hBar = ::CreateMenu(), hFolder = ::CreatePopupMenu();
  for (int i = 0; i <= 8; ++i) ::AppendMenuA(hFolder, MF_STRING | (i == 5 ? MF_GRAYED : 0), 100 + i, "x");
  ::AppendMenuA(hBar, MF_POPUP, (UINT_PTR)hFolder, "folder");
  menu->Attach(hBar);
  ANSWER("GetFolderMenu", 0);
}
PLUGIN_EXPORT HRESULT FolderMenu(CTreeCtrl* tree, int command) {
#ifdef VARIANT_GARBAGE
  ANSWER("FolderMenu", (HRESULT)0x7FFF00F5);
#else
  ANSWER("FolderMenu", command == 1 ? PLUGIN_ACTION_EDIT_LABEL : PLUGIN_ACTION_REOPEN);
#endif
}
PLUGIN_EXPORT HRESULT ContextMenu(CTreeCtrl* tree, int x, int y, int* flags) {
#ifdef VARIANT_GARBAGE
  Log("ContextMenu");  // writes nothing
  return 0;
#else
  *flags = (int)Answer("ContextMenu", 0x30 | PLUGIN_ACTION_RELOAD);
  ANSWER("ContextMenu", 0);
#endif
}
PLUGIN_EXPORT HRESULT DragOver(CTreeCtrl* tree, COleDataObject* data, DWORD keys, int x, int y, DWORD* effect,
                               int* shown) {
  *effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  ANSWER("DragOver", 0);
}
// Remembers the block it was handed, to show that the host frees its copy.
HGLOBAL g_hDropped = NULL;
PLUGIN_EXPORT HGLOBAL TestPluginLastDrop() { return g_hDropped; }
PLUGIN_EXPORT HRESULT Drop(CTreeCtrl* tree, HGLOBAL files, DWORD effect, int x, int y) {
  g_hDropped = files;
#ifdef VARIANT_DELETE_FAILS
  ANSWER("Drop", E_FAIL);
#else
  ANSWER("Drop", Answer("Drop", 0));
#endif
}
PLUGIN_EXPORT HRESULT DrawClipboard(CTreeCtrl* tree) { ANSWER("DrawClipboard", 0); }
PLUGIN_EXPORT HRESULT ChangeSetting(CTreeCtrl* tree) { ANSWER("ChangeSetting", 0); }
void* g_integrator = nullptr;
PLUGIN_EXPORT HRESULT SetBDCoreIntegrator(void* integrator) {
  g_integrator = integrator;
  ANSWER("SetBDCoreIntegrator", 0);
}
PLUGIN_EXPORT void* TestPluginIntegrator() { return g_integrator; }

// The tree base's operations through the host's object, as the disk and card plug-ins
// call them.
PLUGIN_EXPORT int TestPluginUseTree(CTreeCtrl* tree, HTREEITEM keep) {
  CCheckTreeCtrl* p = static_cast<CCheckTreeCtrl*>(tree);
  p->EnableStateClick(1);
  p->SelectAllExcept(FALSE, keep);
  p->SelectOnly(keep);
  return (int)p->GetSelectedCount();
}
#endif  // VARIANT_WINDOW_ONLY
#endif  // exports
