// The outside-program manager's relay hub: what happens to an application message that
// the main frame recorded.
#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include "ExternalToolManager.h"
#include "MainApp.h"
#include "MainWndMessages.h"
#include "ShellActions.h"

namespace {

// The extensions the image editor opens, and its project files.
BOOL IsEditorPicture(LPCSTR lpszPath) {
  std::string ext = textkit::ExtensionOf(lpszPath);
  static const char* const kExts[] = {".jpg", ".jpeg", ".jpe", ".bmp", ".png", ".tiff", ".tif"};
  for (const char* e : kExts)
    if (textkit::EqualNoCase(ext, e)) return TRUE;
  return FALSE;
}

BOOL IsEditorProject(LPCSTR lpszPath) { return textkit::EqualNoCase(textkit::ExtensionOf(lpszPath), ".ped"); }

// Sends a recorded message on; a WM_COPYDATA block in the form its size needs, and no
// receiver may hold the relay longer than the usual wait.
LRESULT PassOn(HWND hTo, const RelayRecord& record) {
  LRESULT lResult = 0;
  if (record.message != WM_COPYDATA) {
    DWORD_PTR dwResult = 0;
    ::SendMessageTimeoutA(hTo, record.message, record.wParam, record.lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                          CMTL_COPYDATA_TIMEOUT, &dwResult);
    return (LRESULT)dwResult;
  }
  CMTLForwardCopyData(hTo, reinterpret_cast<HWND>(record.wParam),
                      reinterpret_cast<const COPYDATASTRUCT*>(record.lParam), CMTL_COPYDATA_TIMEOUT, &lResult);
  return lResult;
}

// The editor's picture names: IPC\BgFileName_01, _02, ... (two digits).
const int kMaxEditorImages = 99;
CString EditorImageKey(int n) {
  CString strKey;
  strKey.Format("BgFileName_%02d", n);
  return strKey;
}

}  // namespace

LRESULT CExternalToolManager::OnRequest(const RelayRecord& record) {
  ::InterlockedIncrement(&m_nBusy);
  UpdateState();
  const COPYDATASTRUCT* pcds =
      record.message == WM_COPYDATA ? reinterpret_cast<const COPYDATASTRUCT*>(record.lParam) : NULL;

  if (pcds && pcds->dwData == CDID_CHANGE_FOLDER) m_lastTextStatus = OnFolderChangeText(pcds);
  if (pcds && pcds->dwData == CDID_PROGRAM_REQUEST) m_lastTextStatus = OnProgramRequest(pcds);
  if (record.message == WM_OPEN_MANUAL && !::IsIconic(m_hMainWnd)) ::OpenManual();

  RelayInput in;
  in.message = record.message;
  in.wParam = record.wParam;
  in.bWParamIsWindow = record.wParam && ::IsWindow(reinterpret_cast<HWND>(record.wParam));
  in.dwCopyData = pcds ? pcds->dwData : 0;
  for (int i = 0; i < GetToolCount(); ++i) {
    HWND hWnd = m_tools[i]->m_hWnd;
    in.entries.push_back(hWnd && ::IsWindow(hWnd) ? hWnd : NULL);
  }
  in.hRequester = m_hRequester;
  RelayRoute route = PlanRelay(in);

  LRESULT lResult = 0;
  if (route.bCheckDisplay && !CheckDisplayAfterChange()) {
    ::InterlockedDecrement(&m_nBusy);
    return 0;
  }
  for (int i : route.postTo) ::PostMessageA(in.entries[i], record.message, record.wParam, record.lParam);
  for (int i : route.sendTo) lResult = PassOn(in.entries[i], record);
  if (route.bRememberRequester) m_hRequester = reinterpret_cast<HWND>(record.wParam);
  if (pcds) {
    if (route.bRefillFileList) RefillApplicationFileList(pcds);
    if (pcds->dwData == CDID_EXPORT_FILES) {
      if (route.hCopyDataReply && ::IsWindow(route.hCopyDataReply)) lResult = PassOn(route.hCopyDataReply, record);
      m_hRequester = NULL;
    }
    for (int i : route.copyDataTo) lResult = PassOn(in.entries[i], record);
  }
  ::InterlockedDecrement(&m_nBusy);
  return lResult;
}

BOOL CExternalToolManager::CheckDisplayAfterChange() {
  if (m_pfnDisplayFit()) return TRUE;
  AfxMessageBox(IDS_SHELL_DISPLAY_CHANGED, MB_OK | MB_ICONHAND);
  m_bForcedClose = TRUE;
  CMWriteProfileInt("PageSmith", "EndMessage", 0);
  ::PostMessageA(m_hMainWnd, WM_CLOSE, 0, 0);
  return FALSE;
}

textkit::RecordStatus CExternalToolManager::OnFolderChangeText(const COPYDATASTRUCT* pcds) {
  textkit::RecordText t = textkit::ReadRecordText(static_cast<LPCSTR>(pcds->lpData), pcds->cbData);
  for (const textkit::RecordEntry& e : t.entries) {
    if (e.path.empty()) continue;  // nothing selected in the pane
    CMWriteProfileString("DataDir", "PhotoDir", e.path.c_str());
    break;
  }
  return t.status;
}

void CExternalToolManager::RefillApplicationFileList(const COPYDATASTRUCT* pcds) {
  CMainApp* pApp = dynamic_cast<CMainApp*>(AfxGetApp());
  if (!pApp) return;
  RefillFileList(pApp->m_ownedObjects, pcds);
}

textkit::RecordStatus CExternalToolManager::RefillFileList(CObList& list, const COPYDATASTRUCT* pcds) {
  LPCSTR text = static_cast<LPCSTR>(pcds->lpData);
  textkit::RecordStatus status = textkit::ReadRecordText(text, pcds->cbData).status;
  // A refused text leaves the list as it was; an empty one empties it.
  if (status != textkit::RecordStatus::Ok && status != textkit::RecordStatus::Empty) return status;
  CMTLDeleteFileInfo(list);
  if (status == textkit::RecordStatus::Ok) CMTLChangeFileInfo(text, list, (int)pcds->cbData);
  return status;
}

textkit::RecordStatus CExternalToolManager::OnProgramRequest(const COPYDATASTRUCT* pcds) {
  CWaitCursor wait;
  textkit::ProgramRequest request;
  textkit::RecordStatus status = textkit::ReadProgramRequest(static_cast<LPCSTR>(pcds->lpData), pcds->cbData, &request);
  if (status != textkit::RecordStatus::Ok || request.status != "A") return status;
  CString strData = request.data.c_str();
  const int nNumber = request.number;
  int nEntry = -1;
  for (int i = 0; i < GetToolCount() && nEntry < 0; ++i)
    if (!request.program.empty() &&
        textkit::EqualNoCase(textkit::FileNameOf((LPCSTR)m_tools[i]->m_strPath), request.program))
      nEntry = i;
  switch (nEntry) {
    case TOOL_IMAGE_EDITOR:
      OpenEditorWithFiles(strData, nNumber != 0);
      break;
    case TOOL_SLIDESHOW: {
      ShowProgressDialog(IDS_SHELL_SLIDESHOW_PREPARING);
      // The player takes the data after its first three fields.
      int nPos = 0;
      for (int nField = 0; nField < 3 && nPos >= 0; ++nField) {
        nPos = strData.Find('|', nPos);
        if (nPos >= 0) ++nPos;
      }
      OpenTool(OPENTOOL_SLIDESHOW, nPos >= 0 ? (LPCSTR)strData.Mid(nPos) : "");
      break;
    }
    case TOOL_PAGE_TOOL:
      OpenTool(OPENTOOL_PAGE_TOOL, strData);
      break;
    default:
      break;
  }
  return status;
}

void CExternalToolManager::OpenEditorWithFiles(LPCSTR lpszData, BOOL bSelectedOnly) {
  CObList list;
  CMTLChangeFileInfo(lpszData, list);
  CString strArgument;
  CStringArray images;
  CString strProject;
  BOOL bRefused = FALSE;
  for (POSITION pos = list.GetHeadPosition(); pos && !bRefused && strProject.IsEmpty();) {
    CMTLFileInfo* pInfo = DYNAMIC_DOWNCAST(CMTLFileInfo, list.GetNext(pos));
    if (!pInfo || (bSelectedOnly && !pInfo->IsSelected())) continue;
    if (IsEditorProject(pInfo->m_strPath))
      strProject = pInfo->m_strPath;
    else if (IsEditorPicture(pInfo->m_strPath))
      images.Add(pInfo->m_strPath);
    else
      bRefused = TRUE;
  }
  CMTLDeleteFileInfo(list);
  if (bRefused) {
    AfxMessageBox(IDS_SHELL_EDITOR_UNSUPPORTED_FILE, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (!strProject.IsEmpty()) {
    strArgument = "-l31";
    CMWriteProfileString("VxEdit\\IPC", "PedFileName", strProject);
  } else if (images.GetSize() > 0) {
    // The count is of the names written: the editor reads exactly that many, and the
    // names an earlier request left beyond them go.
    int nNumber = 0;
    for (INT_PTR i = 0; i < images.GetSize(); ++i) {
      if (!CMTLCheckSupportBMP(images[i])) continue;
      CMWriteProfileString("IPC", EditorImageKey(++nNumber), images[i]);
    }
    for (int n = nNumber + 1; n <= kMaxEditorImages && CMRemoveProfileKey("IPC", EditorImageKey(n)); ++n) {
    }
    CMWriteProfileInt("IPC", "BgFileNum", nNumber);
    strArgument = "-b";
  }
  if (GetTool(TOOL_IMAGE_EDITOR)) OpenTool(OPENTOOL_EDITOR_FILE, strArgument);
}
