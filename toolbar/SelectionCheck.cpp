#include "SelectionCheck.h"

#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <VxResourceIds.h>
#include <shlwapi.h>

namespace selectioncheck {

Result CheckPasses(const std::vector<std::vector<std::string>>& passes, int kind,
                   const std::function<bool(const std::string&)>& supported,
                   const std::function<bool(const std::string&)>& onFixedOrRemoteDrive) {
  for (const auto& files : passes) {
    if (kind == 0) {
      if (!files.empty()) return {ACCEPTED, std::string()};
      continue;
    }
    for (const std::string& path : files) {
      if (supported(path)) return {ACCEPTED, std::string()};
      if ((kind == 7 || kind == 12) && !onFixedOrRemoteDrive(path)) return {REFUSED_DRIVE, path};
    }
  }
  return {NOTHING_ACCEPTED, std::string()};
}

}  // namespace selectioncheck

namespace {
bool IsOnFixedOrRemoteDriveImpl(const std::string& path) {
  char root[MAX_PATH];
  lstrcpynA(root, path.c_str(), MAX_PATH);
  ::PathStripToRootA(root);
  UINT type = ::GetDriveTypeA(root);
  return type == DRIVE_FIXED || type == DRIVE_REMOTE;
}
}  // namespace

BOOL IsOnFixedOrRemoteDrive(LPCSTR lpszPath) { return lpszPath && IsOnFixedOrRemoteDriveImpl(lpszPath); }

BOOL CheckSelectedFiles(ICGBrowser* pBrowser, int nKind, int* pnReported) {
  if (pnReported) *pnReported = 0;
  if (!pBrowser) return FALSE;
  std::vector<std::vector<std::string>> passes;
  for (long flags : {0L, (long)(CGFILE_MARKED | 1)}) {
    CGFileInfoList list;
    pBrowser->GetFileData(&list, flags);
    std::vector<std::string> files;
    for (POSITION pos = list.GetHeadPosition(); pos;) files.push_back((LPCSTR)list.GetNext(pos).path);
    passes.push_back(files);
  }
  selectioncheck::Result r = selectioncheck::CheckPasses(
      passes, nKind,
      [nKind](const std::string& p) {
        DWORD info = 0;
        return CMTLxIsSupport(p.c_str(), &info, (DWORD)nKind) != 0;
      },
      IsOnFixedOrRemoteDriveImpl);
  if (r.outcome == selectioncheck::REFUSED_DRIVE) {
    CString strText;
    strText.Format(CString(MAKEINTRESOURCEA(IDS_EXPORT_DRIVE_REFUSED)), r.refusedPath.c_str());
    ::MessageBoxA(::GetActiveWindow(), strText, CMTLGetAppName(), MB_OK | MB_ICONEXCLAMATION);
    if (pnReported) *pnReported = 1;
    return FALSE;
  }
  return r.outcome == selectioncheck::ACCEPTED;
}

BOOL CheckSelectedFiles(int nKind, int* pnReported) { return CheckSelectedFiles(GetCGBrowser(), nKind, pnReported); }
