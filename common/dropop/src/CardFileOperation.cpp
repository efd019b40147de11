#include "dropop/CardFileOperation.h"

#include <KitlibEx/KitlibEx.h>
#include <RecordGate.h>
#include <VxContFile.h>
#include <VxResourceIds.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include "dropop/WaitDlg.h"

using dropop::DropListFault;

namespace {

std::vector<std::string> SplitList(const char* list) {
  std::vector<std::string> out;
  if (!list) return out;
  for (const char* p = list; *p; p += strlen(p) + 1) out.emplace_back(p);
  return out;
}

// The database follows a move: each source's entries go to the path it was written to.
void MoveDatabaseEntries(const std::vector<std::string>& sources, const std::vector<std::string>& written) {
  for (size_t i = 0; i < sources.size() && i < written.size(); ++i) {
    DWORD attr = GetFileAttributesA(written[i].c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) continue;
    if (attr & FILE_ATTRIBUTE_DIRECTORY)
      VxDBWMoveFolder(sources[i].c_str(), written[i].c_str());
    else
      VxDBWMoveFileEx(sources[i].c_str(), written[i].c_str(), 0);
  }
}

// A drop names folders; dropping one into itself or below itself would never end.
bool TargetInsideSource(const std::string& target, const std::vector<std::string>& sources) {
  std::string t = textkit::WithTrailingSeparator(target);
  for (const std::string& s : sources) {
    std::string f = textkit::WithTrailingSeparator(s);
    if (t.size() >= f.size() && textkit::EqualNoCase(t.substr(0, f.size()), f)) return true;
  }
  return false;
}

}  // namespace

std::string CCardFileOperation::BuildDropList(const void* pBlock, size_t cbBlock, DropListFault* pFault) {
  std::vector<std::string> paths;
  DropListFault fault = dropop::ReadDropBlock(pBlock, cbBlock, &paths);
  if (pFault) *pFault = fault;
  if (fault != DropListFault::None) return std::string();
  return dropop::JoinDropList(paths);
}

int CCardFileOperation::Drop(LPCSTR lpszTargetFolder, HDROP hDrop, DWORD dwEffect) {
  if (!hDrop) return 0;
  size_t size = GlobalSize(hDrop);
  void* p = GlobalLock(hDrop);
  int r = Drop(lpszTargetFolder, p, p ? size : 0, dwEffect);
  if (p) GlobalUnlock(hDrop);
  return r;
}

int CCardFileOperation::Drop(LPCSTR lpszTargetFolder, const void* pBlock, size_t cbBlock, DWORD dwEffect) {
  std::vector<std::string> paths;
  m_fault = dropop::ReadDropBlock(pBlock, cbBlock, &paths);
  if (m_fault != DropListFault::None) return 0;
  return DropPaths(lpszTargetFolder, paths, dwEffect);
}

int CCardFileOperation::DropPaths(LPCSTR lpszTargetFolder, const std::vector<std::string>& paths, DWORD dwEffect,
                                  std::vector<std::string>* pWritten, HWND hOwner) {
  if (pWritten) pWritten->clear();
  if (!lpszTargetFolder || !*lpszTargetFolder || paths.empty()) return 0;
  const std::string target = dropop::DropTargetFolder(lpszTargetFolder);
  if (TargetInsideSource(target, paths)) return 0;

  CWaitDlg wait;
  if (dropop::NeedsWaitWindow(paths.size()) && wait.Create(CWnd::GetActiveWindow())) {
    wait.ShowWindow(SW_SHOW);
    CString text;
    text.LoadString(IDS_TREE_DROP_COLLECTING);
    wait.SetText(textkit::CutToBytes(std::string(text), 128).c_str());
  }
  const std::string from = dropop::JoinDropList(paths);
  std::string to = target;
  to.append(2, '\0');
  if (wait.m_hWnd) wait.DestroyWindow();

  SHFILEOPSTRUCTA op = {};
  op.hwnd = hOwner ? hOwner : ::GetActiveWindow();
  op.wFunc = dropop::FileOperationFor(dwEffect);
  op.pFrom = from.c_str();
  op.pTo = to.c_str();
  // One target folder: never the one-target-per-source flag, which would take a single
  // source's folder for the new name of the file.
  op.fFlags = FOF_WANTMAPPINGHANDLE | FOF_ALLOWUNDO;
  const int r = CMTLxFileOperation(&op);
  const bool ok = r == 0 && !op.fAnyOperationsAborted;
  if (auto* map = static_cast<CMTLX_NAMEMAPPING*>(op.hNameMappings)) {
    std::vector<std::string> sources = SplitList(map->pszSources), written = SplitList(map->pszWritten);
    if (ok && op.wFunc == FO_MOVE) MoveDatabaseEntries(sources, written);
    RepairContentFiles(written);
    if (pWritten) *pWritten = written;
    CMTLxFreeNameMapping(map);
  }
  return ok ? 1 : 0;
}

HRESULT CCardFileOperation::RepairContentFiles(const std::vector<std::string>& written) {
  HRESULT result = S_OK;
  for (const std::string& path : written) {
    if (!textkit::EqualNoCase(textkit::ExtensionOf(path), ".cont")) continue;
    vxcont::ContentInfo info;
    // A file of that name that is no content file is somebody else's: left alone.
    if (!vxcont::ReadContentFile(path.c_str(), &info)) continue;
    if (dropop::RepairMembers(&info, path) != dropop::ContentRepair::Rename) continue;
    HRESULT hr = vxcont::WriteContentFile(path.c_str(), info);
    if (FAILED(hr) && result == S_OK) result = hr;
  }
  return result;
}
