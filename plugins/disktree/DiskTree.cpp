// DiskTree.psp's entry: the resource library, the framework's extension record, and the
// exports that need no tree.
#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>
#include <fw/fw.h>
#include <pluginkit/PluginKit.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include <FolderTreePlugin.h>

#include "DiskTreeModule.h"

namespace {

AFX_EXTENSION_MODULE g_extension = {};
HINSTANCE g_module = nullptr;
HINSTANCE g_resources = nullptr;

const char kFolderInfo[] = "VazODA\\FolderInfo";

void CopyString(UINT id, char* buffer, int size) { pluginkit::CopyText(disktree::ResourceString(id), buffer, size); }

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
  if (dwReason == DLL_PROCESS_ATTACH) {
    g_module = hInstance;
    // The plug-in's resources sit beside it in the program folder.
    g_resources = pluginkit::LoadResourceBeside(hInstance);
    if (!g_resources) {
      AfxMessageBox("There is no VxResource.dll.", MB_OK, 16);
      return FALSE;
    }
    if (!AfxInitExtensionModule(g_extension, hInstance)) {
      FreeLibrary(g_resources);
      g_resources = nullptr;
      return FALSE;
    }
    g_extension.hResource = g_resources;
    disktree::SetResourceModule(g_resources);
    new CDynLinkLibrary(g_extension);
    disktree::CreateManager();
  } else if (dwReason == DLL_PROCESS_DETACH) {
    // At process exit the other threads are gone mid-step: nothing may wait for them.
    if (lpReserved) return TRUE;
    disktree::DestroyManager();
    AfxTermExtensionModule(g_extension);
    disktree::SetResourceModule(nullptr);
    if (g_resources) FreeLibrary(g_resources);
    g_resources = nullptr;
  }
  return TRUE;
}

PLUGIN_EXPORT HRESULT GetPluginTitle(char* buffer, int size) {
  CopyString(IDS_DISKTREE_PLUGIN_TITLE, buffer, size);
  return S_OK;
}

PLUGIN_EXPORT HRESULT GetTitle(int, char* buffer, int size, void* extra) {
  CopyString(IDS_TREE_TITLE_DISK, buffer, size);
  if (extra) *static_cast<INT_PTR*>(extra) = 0;
  return S_OK;
}

PLUGIN_EXPORT HRESULT GetToolTips(int, char* buffer, int size) {
  CopyString(IDS_DISKTREE_TOOLTIP, buffer, size);
  return S_OK;
}

PLUGIN_EXPORT HRESULT GetPriority(int* priority) {
  if (priority) *priority = 2;
  return S_OK;
}

PLUGIN_EXPORT HRESULT GetTreeHeight(int* height) {
  if (height) *height = CMGetProfileInt(kFolderInfo, "TreeHight", -1);
  return S_OK;
}

PLUGIN_EXPORT HRESULT SetTreeHeight(int height) {
  CMWriteProfileInt(kFolderInfo, "TreeHight", height);
  return S_OK;
}

// Items may be dragged out, and several selected.
PLUGIN_EXPORT HRESULT IsDragAndDrop() { return S_OK; }
PLUGIN_EXPORT HRESULT IsMultiSelectTreeItem() { return S_OK; }
