// The folder pane's part in the card tree tests: a window with the host's multi-selection
// tree and its two-image list, CardTree.psp loaded by name (handed a disc core when one is
// given), taken down as the pane takes it down.
#pragma once
#include <FolderTreePlugin.h>
#include <VxBDCore.h>
#include <VxDocument.h>
#include <viewframe.h>

#include <string>
#include <vector>

namespace cardtreetest {

class CHostTree : public CCheckTreeCtrl {};

inline std::string Res(UINT id) {
  char text[512] = {};
  LoadStringA(GetModuleHandleA("VxResource.dll"), id, text, sizeof text);
  return text;
}

struct Host {
  HMODULE plugin = LoadLibraryA("CardTree.psp");
  CWnd frame;
  CHostTree tree;
  CImageList images;
  explicit Host(IVxBDIntegrator* core = nullptr) {
    frame.CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 600), nullptr, 0);
    tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS, CRect(0, 0, 380, 560),
                &frame, 100);
    images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 2);
    tree.SetImageList(&images, TVSIL_NORMAL);
    if (plugin && core) Get<PFN_PLUGIN_SetBDCoreIntegrator>("SetBDCoreIntegrator")(core);
  }
  ~Host() {
    if (plugin) Get<PFN_PLUGIN_TreeItem>("DeleteTree")(&tree, nullptr);
    tree.DestroyWindow();
    frame.DestroyWindow();
    if (plugin) FreeLibrary(plugin);
  }
  template <class F>
  F Get(const char* name) {
    return reinterpret_cast<F>(GetProcAddress(plugin, name));
  }
  HRESULT Create() { return Get<PFN_PLUGIN_CreateTree>("CreateTree")(&tree, &images, TVI_ROOT); }
  HRESULT Renew() { return Get<PFN_PLUGIN_TreeItem>("RenewalTree")(&tree, nullptr); }
  PluginItemRecord* Record(HTREEITEM i) { return reinterpret_cast<PluginItemRecord*>(tree.GetItemData(i)); }

  // One line per node: indentation, label, kind, path.
  void Dump(HTREEITEM first, int depth, std::vector<std::string>* out) {
    for (HTREEITEM i = first; i; i = tree.GetNextSiblingItem(i)) {
      PluginItemRecord* r = Record(i);
      out->push_back(std::string(depth * 2, ' ') + std::string(tree.GetItemText(i)) + " | " +
                     std::to_string(r ? (int)r->kind : 99) + " | " + (r && r->path ? r->path : "(none)"));
      Dump(tree.GetChildItem(i), depth + 1, out);
    }
  }
  std::vector<std::string> Dump() {
    std::vector<std::string> out;
    Dump(tree.GetRootItem(), 0, &out);
    return out;
  }
  // Anywhere below first, depth first.
  HTREEITEM FindLabel(HTREEITEM first, const std::string& label) {
    for (HTREEITEM i = first; i; i = tree.GetNextSiblingItem(i)) {
      if (std::string(tree.GetItemText(i)) == label) return i;
      if (HTREEITEM f = FindLabel(tree.GetChildItem(i), label)) return f;
    }
    return nullptr;
  }
  HTREEITEM Top(const std::string& label) { return Child(TVI_ROOT, label); }
  HTREEITEM Child(HTREEITEM parent, const std::string& label) {
    for (HTREEITEM i = parent == TVI_ROOT ? tree.GetRootItem() : tree.GetChildItem(parent); i;
         i = tree.GetNextSiblingItem(i))
      if (std::string(tree.GetItemText(i)) == label) return i;
    return nullptr;
  }
  // The children of a node as "label path kind".
  std::vector<std::string> Paths(HTREEITEM parent) {
    std::vector<std::string> out;
    for (HTREEITEM i = tree.GetChildItem(parent); i; i = tree.GetNextSiblingItem(i)) {
      PluginItemRecord* r = Record(i);
      out.push_back(std::string(tree.GetItemText(i)) + " " + (r ? r->path : "") + " " + std::to_string(r ? r->kind : -9));
    }
    return out;
  }
  bool AllMarksClear(HTREEITEM first) {
    for (HTREEITEM i = first; i; i = tree.GetNextSiblingItem(i)) {
      // The plug-in's seen mark is the fourth word of its record.
      const int* seen = reinterpret_cast<const int*>(reinterpret_cast<const char*>(Record(i)) + 3 * sizeof(void*));
      if (*seen != 0 || !AllMarksClear(tree.GetChildItem(i))) return false;
    }
    return true;
  }
};

// The program's main window as the plug-in looks at it: a frame whose active view shows a
// browser document with the given folder code. AfxGetMainWnd() answers it while it lives.
struct BrowserMainFrame {
  CVxDocument* doc = DYNAMIC_DOWNCAST(CVxDocument, RUNTIME_CLASS(CVxDocument)->CreateObject());
  testsupport::CViewFrame* frame = nullptr;
  CWnd* old = AfxGetThread()->m_pMainWnd;
  explicit BrowserMainFrame(FOLDER_TYPE code) {
    doc->OnNewDocument();
    doc->GetBrowser()->GetBrowserStatus().SetCode(code);
    frame = testsupport::CreateViewFrame(doc, RUNTIME_CLASS(CListView), "main", WS_POPUP, CRect(0, 0, 200, 100));
    if (frame) AfxGetThread()->m_pMainWnd = frame;
  }
  ~BrowserMainFrame() {
    AfxGetThread()->m_pMainWnd = old;
    if (frame) frame->DestroyWindow();
  }
  // The messages of these ids posted to the frame, as "id wParam", taken off its queue.
  std::vector<std::string> TakePosted(std::initializer_list<UINT> ids) {
    std::vector<std::string> out;
    MSG msg;
    for (UINT id : ids)
      while (PeekMessageA(&msg, frame->GetSafeHwnd(), id, id, PM_REMOVE))
        out.push_back(std::to_string(id) + (msg.wParam == (WPARAM)frame->GetSafeHwnd() ? " main" : " other"));
    return out;
  }
};

}  // namespace cardtreetest
