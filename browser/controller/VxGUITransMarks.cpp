// CVxGUITrans: copying or moving every marked file into one chosen folder (with the files
// their content files name), adding selected folders to the favourites, and whether the
// selection holds a picture that turns.
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <VxResourceIds.h>
#include <dropop/CardFileOperation.h>
#include <dropop/DropRules.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "MarkRules.h"
#include "RotateRules.h"
#include "TransInternal.h"

namespace {
PFNTRANSCHOOSEFOLDER s_pfnChooseFolder = NULL;

std::vector<std::string> SplitList(LPCSTR list) {
  std::vector<std::string> out;
  for (LPCSTR p = list; p && *p; p += lstrlenA(p) + 1) out.emplace_back(p);
  return out;
}

int ChooseFolder(HWND hOwner, UINT nMode, CString& folder) {
  CString title = CResourceLoader().LoadStringA(MarkBrowseTitle(nMode));
  char buffer[MAX_PATH] = "";
  int r;
  if (s_pfnChooseFolder) {
    r = s_pfnChooseFolder(hOwner, title, buffer, sizeof(buffer));
  } else {
    CMTLXBROWSEINFO info = {hOwner, NULL, buffer, title, 0};
    r = CMTLxBrowseForFolder(&info);
  }
  buffer[sizeof(buffer) - 1] = '\0';
  folder = buffer;
  return r;
}

bool OnFixedDrive(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return false;
  return ::GetDriveTypeA(path.substr(0, 2).append("\\").c_str()) == DRIVE_FIXED;
}
}  // namespace

void CVxGUITrans::SetFolderChooser(PFNTRANSCHOOSEFOLDER pfn) { s_pfnChooseFolder = pfn; }

int CVxGUITrans::MarkFilesOperation(UINT nMode) {
  const HWND hView = GetSafeHwnd();
  Thread_Suspend();
  CStringList marked;
  const int nMarked = CThumbnail::GetAllCheckedImage(marked);
  if (nMarked <= 0 || marked.IsEmpty()) {
    GuardedMessageBoxId(hView, IDS_BROWSER_NO_MARKS, MB_ICONINFORMATION);
    Thread_Resume();
    return 1;
  }
  std::vector<std::string> paths;
  for (POSITION pos = marked.GetHeadPosition(); pos;) paths.emplace_back((LPCSTR)marked.GetNext(pos));
  BOOL bExcluded = FALSE;
  const std::vector<std::string> work = MarkWorkList(
      paths,
      [](const std::string& cont) {
        CStringList members;
        TransAppendContMembers(cont.c_str(), members);
        std::vector<std::string> out;
        for (POSITION pos = members.GetHeadPosition(); pos;) out.emplace_back((LPCSTR)members.GetNext(pos));
        return out;
      },
      OnFixedDrive, &bExcluded);

  int result = 0;
  if (!work.empty()) {
    CString folder;
    if (ChooseFolder(hView, nMode, folder) != 1 || folder.IsEmpty()) {
      Thread_Resume();
      return 1;
    }
    CStringList list;
    for (const std::string& p : work) list.AddTail(p.c_str());
    const int r = FilesOperation(nMode, folder, list, nMarked);
    if (r == 39) GuardedMessageBoxId(hView, IDS_BROWSER_DISK_FULL, MB_ICONERROR);
    if (r != 1 && r != 39) {
      Thread_Resume();
      return 1;
    }
    Thread_Resume();
    CBrowserDocument* pDoc = GetBrowserDocument();
    if (!IsCalendarMode())
      BroadcastChangeFolder(folder);
    else if (pDoc)
      pDoc->SetCalendarFolder(m_pView);
    if (m_hManager) ::SendMessageA(m_hManager, WM_STATUS_MARK_COUNT, 0, 0);
    result = 1;
  } else {
    Thread_Resume();
  }
  if (bExcluded) GuardedMessageBoxId(hView, IDS_BROWSER_AVCHD_EXCLUDED, MB_OK);
  return result;
}

int CVxGUITrans::FilesOperation(UINT nMode, CString strFolder, CStringList& list, int nMarked) {
  if (nMarked <= 0 || list.IsEmpty()) return 0;
  const std::string target = MarkDestination((LPCSTR)strFolder);
  const std::string root = target.substr(0, 3);
  // The folder's own volume: a folder may be a disk of its own mounted inside the drive.
  if (::GetDriveTypeA(root.c_str()) == DRIVE_FIXED && CMTLGetDiskSpaceEx(target.c_str()) == 0) return 39;

  std::vector<std::string> sources;
  for (POSITION pos = list.GetHeadPosition(); pos;) sources.emplace_back((LPCSTR)list.GetNext(pos));
  const std::string from = dropop::JoinDropList(sources);
  std::string to = target;
  to.append(2, '\0');
  CString title = CResourceLoader().LoadStringA(IDS_BROWSER_FILE_PROGRESS);
  SHFILEOPSTRUCTA op = {};
  op.hwnd = GetSafeHwnd();
  op.wFunc = nMode;
  op.pFrom = from.c_str();
  op.pTo = to.c_str();
  op.fFlags = (FILEOP_FLAGS)MarkOperationFlags();
  op.lpszProgressTitle = title;
  const int r = CMTLxFileMarkOperation(&op);

  // What was written is followed also after a failure: the database, the marks, and the
  // member names of content files that were renamed on the way (only the written ones:
  // after a move the sources are gone).
  std::vector<std::string> written;
  if (auto* map = static_cast<CMTLX_NAMEMAPPING*>(op.hNameMappings)) {
    const std::vector<std::string> done = SplitList(map->pszSources);
    written = SplitList(map->pszWritten);
    for (size_t i = 0; i < done.size() && i < written.size(); ++i) {
      if (nMode == FO_MOVE)
        CThumbnail::MoveFileFromDatabase(done[i].c_str(), written[i].c_str());
      else
        CThumbnail::CopyFileFromDatabase(done[i].c_str(), written[i].c_str());
    }
    CMTLxFreeNameMapping(map);
  }
  CCardFileOperation::RepairContentFiles(written);
  for (const std::string& w : written) list.AddTail(w.c_str());
  if (r < 0 || written.empty()) return 0;
  if (!IsCalendarMode()) ReloadAllGroups();
  return 1;
}

int CVxGUITrans::AddFavoriteFromSelectedFolder() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || pDoc->GetSelectList().IsEmpty()) return 0;
  int added = 0;
  for (POSITION pos = pDoc->GetSelectList().GetHeadPosition(); pos;) {
    CThumbnail* p = pDoc->GetSelectList().GetNext(pos);
    if (p && p->IsFolder() && CMTLxAddFavorite(p->GetFilePath()) == S_OK) ++added;
  }
  if (added && m_hManager) ::PostMessageA(m_hManager, WM_REFRESH_FOLDERS, (WPARAM)GetSafeHwnd(), 0);
  return added;
}

int CVxGUITrans::IsEnableRotate() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || pDoc->GetSelectList().IsEmpty()) return 0;
  const UINT code = pDoc->GetFolderType().GetCode();
  if (code == FOLDER_TYPE_SDCARD_PRINTORDER || code == FOLDER_TYPE_SDCARD_DISC) return 0;
  for (POSITION pos = pDoc->GetSelectList().GetHeadPosition(); pos;) {
    CThumbnail* p = pDoc->GetSelectList().GetNext(pos);
    if (!p || !RotateKindMayTurn(p->GetKindFlags())) continue;
    p->DecodeThumbnail();
    if (p->GetDecodeImageType() == VXIMAGE_PICTURE) return 1;
  }
  return 0;
}
