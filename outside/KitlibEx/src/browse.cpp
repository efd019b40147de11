// CMTLxBrowseForFolder: the shell's folder browser, opened on a start folder.
#include <KitlibEx/KitlibEx.h>

#include <shlobj.h>

#include <string>

#include <textkit/textkit.h>

namespace {

// Wine's browser finds the start folder by comparing the items of its parsed path with
// those of each level's listing byte for byte, and an item carries the folder's access
// time, which the first listing after a change moves: the parse itself lists the folders
// on the way and would move them before the walk. Listed once here, they stay put.
void SettleAccessTimes(const std::string& start) {
  std::string dir;
  for (const std::string& part : textkit::Split(start, '\\')) {
    dir += part;
    if (dir.size() > 3) {
      WIN32_FIND_DATAA fd;
      HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &fd);
      if (find != INVALID_HANDLE_VALUE) {
        while (FindNextFileA(find, &fd)) {
        }
        FindClose(find);
      }
    }
    dir += '\\';
  }
}

int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED && data) SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, data);
  return 0;
}

}  // namespace

int CMTLxBrowseForFolder(CMTLXBROWSEINFO* lpInfo) {
  if (!lpInfo || !lpInfo->pszFolder) return 0;
  // The new-style browser needs OLE on this thread.
  HRESULT co = OleInitialize(nullptr);
  char display[MAX_PATH] = {};
  // The shell wants no trailing backslash except on a root.
  std::string start = lpInfo->pszStartFolder ? lpInfo->pszStartFolder : "";
  textkit::TrimTrailingSeparators(start);
  if (start.size() == 2 && start[1] == ':') start += '\\';
  SettleAccessTimes(start);
  BROWSEINFOA bi = {};
  bi.hwndOwner = lpInfo->hwndOwner;
  bi.pszDisplayName = display;
  bi.lpszTitle = lpInfo->pszTitle;
  bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
  if (lpInfo->uFlags & CMTLX_BIF_NEWFOLDER) bi.ulFlags |= BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
  bi.lpfn = BrowseCallback;
  bi.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
  LPITEMIDLIST pidl = SHBrowseForFolderA(&bi);
  int result = 2;
  if (pidl) {
    char path[MAX_PATH] = {};
    if (SHGetPathFromIDListA(pidl, path) && path[0]) {
      lstrcpynA(lpInfo->pszFolder, path, MAX_PATH);
      result = 1;
    } else {
      result = 0;  // a virtual folder (Control Panel, …) is no folder on disk
    }
    CoTaskMemFree(pidl);
  }
  if (SUCCEEDED(co)) OleUninitialize();
  return result;
}
