// CFView_Toolbar: the picture tools, the date imprint, the shooting date, the place guess
// and the movie split (tool libraries), and the photo database after a tool's output.
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <RecordGate.h>
#include <RecordGateEx.h>
#include <VxDocument.h>
#include <VxResourceIds.h>

#include <textkit/path.h>

#include <string>
#include <vector>

#include "FView_Toolbar.h"
#include "MainFrame.h"
#include "MainWndMessages.h"
#include "ProgressMessageDlg.h"
#include "SelectionCheck.h"
#include "ToolRunRules.h"
#include "ToolLibraries.h"
#include "ui/ProgramFolder.h"
#include "ui/ProgressDialogs.h"

using toolrunrules::COUNT_KINDS;

namespace {

typedef int(WINAPI* PFN_PICTURE_TOOL)(LPCSTR lpszPath, LPSTR lpszOutput, int nFirst);
typedef int(WINAPI* PFN_IS_DATE_TIME)(LPCSTR lpszPath);
typedef int(WINAPI* PFN_STAMP_DAY)(LPCSTR lpszSource, LPCSTR lpszOutput, int nOption);
typedef int(WINAPI* PFN_NAME_PROMPT)(LPCSTR lpszSource, LPSTR lpszName, LPCSTR lpszDefault, int nMode, int* pnOption);
typedef int(WINAPI* PFN_SPLIT_CLIP)(LPCSTR lpszMovie);
typedef long(WINAPI* PFN_GUESS_OPEN)(int nMode, CWnd* pPane, CGFileInfoList* pList);

const int kOutputBuffer = 520;

bool FileExists(LPCSTR lpszPath) { return ::GetFileAttributesA(lpszPath) != INVALID_FILE_ATTRIBUTES; }

CString LoadText(int nId) {
  CString s;
  s.LoadString(nId);
  return s;
}

// "<text of title>" boxes: string nTextId formatted with the title's own text.
int TitledBox(CWnd* pOwner, int nTextId, int nTitleId, UINT nType) {
  return ShowToolBox(pOwner, nTextId, nTitleId, nType, LoadText(nTitleId));
}

// The "nothing left" box: 50027 with the title, then the kinds the tool takes.
void NothingLeftBox(CWnd* pOwner, int nTitleId, int nSupportKind, LPCSTR lpszJoin) {
  CString strTitle = LoadText(nTitleId), strText, strKinds;
  strText.Format(IDS_EXPORT_EMPTY_LIST, (LPCSTR)strTitle);
  CString strSupport = CMTLxGetSupportString(nSupportKind);
  if (!strSupport.IsEmpty()) {
    strKinds.Format(IDS_EXPORT_SUPPORTED_KINDS, (LPCSTR)strTitle, (LPCSTR)strSupport);
    strText += lpszJoin;
    strText += strKinds;
  }
  ::MessageBoxA(pOwner->GetSafeHwnd(), strText, strTitle, MB_ICONEXCLAMATION);
}

bool HasPrintMark(LPCSTR lpszPath) {
  if (!CMTLxIsSupport0(lpszPath, NULL, 6)) return false;
  long lInfo = CCMDIB::GetPimInfo(lpszPath);
  return lInfo >= 0 && (lInfo & CMDIB_PIM_PRINTIM);
}

// A tool library loaded from the program folder, freed on every way out.
class CToolLibrary {
 public:
  explicit CToolLibrary(LPCSTR lpszPath) : m_hModule(::LoadLibraryA(lpszPath)), m_dwError(0) {
    if (!m_hModule) m_dwError = ::GetLastError();
  }
  ~CToolLibrary() { Free(); }
  void Free() {
    if (m_hModule) ::FreeLibrary(m_hModule);
    m_hModule = NULL;
  }
  FARPROC Bind(LPCSTR lpszExport) {
    if (!m_hModule) return NULL;
    FARPROC p = ::GetProcAddress(m_hModule, lpszExport);
    if (!p && !m_dwError) m_dwError = ::GetLastError();
    return p;
  }
  DWORD Error() const { return m_dwError ? m_dwError : ERROR_PROC_NOT_FOUND; }

 private:
  HMODULE m_hModule;
  DWORD m_dwError;
};

}  // namespace

// ---- Shared steps -----------------------------------------------------------------------

int CFView_Toolbar::RemoveUnsupportedFiles(CGFileInfoList* pList, int nKind) {
  int nRemoved = 0;
  for (POSITION pos = pList->GetHeadPosition(); pos;) {
    POSITION posThis = pos;
    if (CMTLxIsSupport(pList->GetNext(pos).path, NULL, nKind)) continue;
    pList->RemoveAt(posThis);
    ++nRemoved;
  }
  return nRemoved;
}

CGFileInfoList* CFView_Toolbar::TakeToolFiles(int nTitleId) {
  if (CGFileInfoList* pPending = TakePendingFiles()) return pPending;
  long lFlags = ShowToolSettingsDialog(nTitleId);
  if (lFlags == -1) return NULL;
  CGFileInfoList* pFiles = new CGFileInfoList(10);
  if (ICGBrowser* pBrowser = GetCGBrowser()) pBrowser->GetFileData(pFiles, lFlags);
  return pFiles;
}

BOOL CFView_Toolbar::PassesTargetGate(int nKind, int nTitleId) {
  if (m_pPendingFiles) return TRUE;
  int nReported = 0;
  if (CheckSelectedFiles(nKind, &nReported)) return TRUE;
  if (!nReported) ShowToolBox(this, IDS_EXPORT_NOT_SELECTED, nTitleId, MB_ICONEXCLAMATION);
  return FALSE;
}

BOOL CFView_Toolbar::ProgressCancelled(CWnd* pProgress, BOOL* pbArmed) {
  CRect rcCancel;
  CWnd* pCancel = pProgress->GetDlgItem(IDCANCEL);
  if (pCancel) pCancel->GetWindowRect(&rcCancel);
  MSG msg;
  for (int i = 0; i < 10 && ::PeekMessageA(&msg, pProgress->m_hWnd, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONUP) {
      BOOL bInside = pCancel && rcCancel.PtInRect(msg.pt);
      if (msg.message == WM_LBUTTONDOWN) {
        *pbArmed = bInside;
      } else {
        if (*pbArmed && bInside) return TRUE;
        *pbArmed = FALSE;
      }
      continue;
    }
    if (!pProgress->IsDialogMessage(&msg) && (msg.message == WM_PAINT || msg.message == WM_MOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  CWnd* pMain = AfxGetMainWnd();
  CMTLProcessWinMessages(pMain ? pMain->GetSafeHwnd() : NULL, m_hWnd);
  return FALSE;
}

int CFView_Toolbar::CheckDiskAndMemory() {
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof status;
  ::GlobalMemoryStatusEx(&status);
  // Kilobytes against a quarter of the memory: the tools keep whole pictures in memory
  // and may page them out.
  if (!toolrunrules::DiskTooFull(CMTLGetDiskSpace(ProgramFolderPath("")), status.ullTotalPhys)) return 0;
  ::MessageBoxA(GetSafeHwnd(), LoadText(IDS_TB_DISK_FULL), CMTLGetAppName(), MB_ICONEXCLAMATION);
  return 1;
}

void CFView_Toolbar::UpdateDatabaseForToolOutput(LPCSTR lpszSource, LPCSTR lpszOutput) {
  if (!lpszSource || !lpszOutput) return;
  std::string output = lpszOutput;
  std::string root = output.substr(0, 3);
  bool bFixed = output.size() >= 3 && ::GetDriveTypeA(root.c_str()) == DRIVE_FIXED;
  toolrunrules::DatabaseUpdate update =
      toolrunrules::DatabaseUpdateFor(lpszSource, output, bFixed, FileExists(lpszSource));
  if (update == toolrunrules::DB_NOTHING || VxDBWInitDatabase() != 0) return;
  switch (update) {
    case toolrunrules::DB_RENEW: {
      CCMDIB image;
      VxDBWxGetThumbnail(lpszOutput, &image, NULL);
      VxDBWUnRegistSimilar(lpszOutput);
      break;
    }
    case toolrunrules::DB_MOVE: VxDBWMoveFile(lpszSource, lpszOutput); break;
    case toolrunrules::DB_COPY: VxDBWCopyFile(lpszSource, lpszOutput); break;
    case toolrunrules::DB_NOTHING: break;
  }
  VxDBWExitDatabase(0);
}

// ---- Picture tools ----------------------------------------------------------------------

int CFView_Toolbar::CollectImageToolFiles(int nTitleId, CGFileInfoList* pList, BOOL bAcceptSpecial, int* pnFlagged,
                                          int* pCounts) {
  CGFileInfoList* pTaken = TakeToolFiles(nTitleId);
  if (!pTaken) return -1;
  CProgressMessageDlg progress;
  if (progress.CreateModeless(AfxGetMainWnd())) {
    progress.SetText(LoadText(IDS_SHELL_SLIDESHOW_PREPARING));
    progress.CenterWindow();
    progress.ShowWindow(SW_SHOW);
    progress.SetRange((int)pTaken->GetCount());
  }
  int counts[COUNT_KINDS] = {};
  int nAccepted = 0, nRejected = 0, nFlagged = 0;
  bool bPrintMark = false;
  bool bLookForMarks = toolrunrules::LooksForPrintMarks(nTitleId);
  pList->RemoveAll();
  for (POSITION pos = pTaken->GetHeadPosition(); pos;) {
    CGFILEINFO& info = pTaken->GetNext(pos);
    DWORD dwFlags = 0;
    progress.Step(1);
    if (!CMTLxIsSupport(info.path, &dwFlags, 5)) {
      ++nRejected;
      continue;
    }
    toolrunrules::Counter counter = toolrunrules::CounterOf((LPCSTR)info.path);
    ++counts[counter];
    if (!bAcceptSpecial && toolrunrules::IsSpecialKind(counter)) {
      ++nRejected;
      continue;
    }
    if (bLookForMarks && !bPrintMark) bPrintMark = HasPrintMark(info.path);
    if (dwFlags & 0x80) ++nFlagged;
    ++nAccepted;
    pList->AddTail(info);
  }
  delete pTaken;
  if (progress.m_hWnd) progress.DestroyWindow();

  CString strTitle = LoadText(nTitleId);
  CString strKinds;
  for (int id : toolrunrules::SpecialKindTextIds(counts)) {
    if (!strKinds.IsEmpty()) strKinds += ",";
    strKinds += LoadText(id);
  }
  if (bAcceptSpecial || strKinds.IsEmpty()) {
    if (nAccepted == 0) {
      NothingLeftBox(this, nTitleId, toolrunrules::SupportKindFor(nTitleId), "");
      return -1;
    }
    if (nRejected) TitledBox(this, IDS_EXPORT_SOME_REMOVED, nTitleId, MB_ICONEXCLAMATION);
  } else {
    CString strRest;
    strRest.Format(IDS_TB_SPECIAL_KINDS_LEFT_OUT, (LPCSTR)strTitle, (LPCSTR)strTitle, (LPCSTR)strTitle);
    ::MessageBoxA(GetSafeHwnd(), strKinds + strRest, strTitle, MB_ICONEXCLAMATION);
    if (nAccepted == 0) return -1;
  }
  if (bPrintMark) {
    if (nTitleId == IDS_BROWSER_ROTATE_CAPTION) {
      CMWriteProfileInt("Tool1\\TurnPicture", "PIM", 1);
    } else if (TitledBox(this, IDS_TB_PRINT_MARK_QUESTION, nTitleId,
                         MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES) {
      return -1;
    }
  }
  if (pnFlagged) *pnFlagged = nFlagged;
  if (pCounts) memcpy(pCounts, counts, sizeof counts);
  return nAccepted;
}

void CFView_Toolbar::OnPictureTool() {
  const toolrunrules::PictureTool* pTool = toolrunrules::FindPictureTool((int)m_nCurrentCommand);
  if (pTool) RunPictureTool((int)m_nCurrentCommand, ProgramFolderPath(pTool->library));
}

void CFView_Toolbar::RunPictureTool(int nCommand, LPCSTR lpszLibrary) {
  const toolrunrules::PictureTool* pTool = toolrunrules::FindPictureTool(nCommand);
  if (!pTool) return;
  if (!CloseEntryEditor()) return;
  CloseSlideCollectDlg();
  if (RefusedByViewMode(pTool->monthId, pTool->musicId, MB_ICONERROR)) return;
  const bool bRotate = pTool->titleId == IDS_BROWSER_ROTATE_CAPTION;
  const bool bResize = nCommand == ID_TB_SCALE;
  if (bRotate) CMWriteProfileInt(pTool->section, "PIM", 0);
  if (!PassesTargetGate(pTool->checkKind, pTool->titleId)) return;
  int nSaveMode = 1, nExif = 0, nRotation = 90;
  if (bRotate) {
    nSaveMode = CMGetProfileInt(pTool->section, "SaveMode", 1);
    nExif = CMGetProfileInt(pTool->section, "Exif", 0);
    nRotation = CMGetProfileInt(pTool->section, "Rotation", 90);
  }
  CToolLibrary library(lpszLibrary);
  PFN_PICTURE_TOOL pfnTool = (PFN_PICTURE_TOOL)library.Bind(pTool->exportName);
  if (!pfnTool) {
    library.Free();
    FormatLastErrorText(library.Error());
    return;
  }
  CGFileInfoList files(10);
  int nFlagged = 0;
  int counts[COUNT_KINDS] = {};
  int nAccepted = CollectImageToolFiles(pTool->titleId, &files, pTool->acceptsSpecial, &nFlagged, counts);
  if (nAccepted < 0) return;
  for (const toolrunrules::ProfileValue& v : toolrunrules::PictureToolValues(nCommand, nAccepted, nFlagged, counts))
    CMWriteProfileInt(pTool->section, v.key, v.value);

  CWnd* pMain = AfxGetMainWnd();
  if (bRotate) {
    CMTLProcessWinMessages(pMain ? pMain->GetSafeHwnd() : NULL, m_hWnd);
    ::Sleep(500);
  }
  // The resize keeps the main window disabled while it runs; it is enabled again at
  // every way out below.
  if (bResize && pMain) pMain->EnableWindow(FALSE);

  CString strSource, strOutput;
  POSITION pos = files.GetHeadPosition();
  const CGFILEINFO& first = files.GetNext(pos);
  char szOutput[kOutputBuffer] = "";
  int nResult = pfnTool(first.path, szOutput, 1);
  if (nResult != 2) {
    strSource = first.path;
    strOutput = szOutput;
    UpdateDatabaseForToolOutput(strSource, strOutput);
    if (CWnd* pOwner = GetOwner()) pOwner->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  if (nResult == 1) {
    CProgressDlg progress;
    if (progress.Create(pMain)) {
      progress.SetCaption(pTool->titleId);
      progress.SetText(textkit::FileNameOf((LPCSTR)first.path).c_str());
      progress.SetRange(nAccepted);
      progress.StepIt();
      progress.ShowWindow(SW_SHOW);
    }
    BOOL bArmed = FALSE;
    while (pos) {
      const CGFILEINFO& info = files.GetNext(pos);
      if (progress.m_hWnd && ProgressCancelled(&progress, &bArmed)) break;
      if (CheckDiskAndMemory()) break;
      if (progress.m_hWnd) progress.SetText(textkit::FileNameOf((LPCSTR)info.path).c_str());
      szOutput[0] = 0;
      if (pfnTool(info.path, szOutput, 0) == 2) break;
      strSource = info.path;
      strOutput = szOutput;
      UpdateDatabaseForToolOutput(strSource, strOutput);
      if (progress.m_hWnd) progress.StepIt();
    }
    if (progress.m_hWnd) progress.DestroyWindow();
  }
  library.Free();
  if (bResize && pMain) pMain->EnableWindow(TRUE);
  // A tool that wrote its only file has the browser reload and select it as well.
  if (nResult != 2) SendFirstPathToMainWnd(strSource, strOutput.IsEmpty() ? NULL : (LPCSTR)strOutput);
  if (bRotate) {
    CMWriteProfileInt(pTool->section, "SaveMode", nSaveMode);
    CMWriteProfileInt(pTool->section, "Exif", nExif);
    CMWriteProfileInt(pTool->section, "Rotation", nRotation);
    CMWriteProfileInt(pTool->section, "PIM", 0);
  }
}

// ---- Date imprint -----------------------------------------------------------------------

BOOL CFView_Toolbar::HasMakerNoteMark(LPCSTR lpszPath) {
  for (UINT nTag : {59u, 62u}) {
    BYTE value[20] = {};
    UINT nRead = 0;
    if (CCMDIB::GetExifMakerValue(lpszPath, "Norvane", nTag, value, sizeof value, &nRead) == 0 && nRead > 0 &&
        *(const int*)value == 2)
      return TRUE;
  }
  return FALSE;
}

BOOL CFView_Toolbar::IsExifUnconvertible(LPCSTR lpszPath) {
  CMEXIFINFO info = {};
  if (CCMDIB::GetExif(lpszPath, &info) < 0) return TRUE;
  char sz[128];
  return info.szTextUtf8[0] && CCMDIB::UTF8toSJIS(info.szTextUtf8, sz, sizeof sz) < 0;
}

void CFView_Toolbar::OnDateImprint() {
  RunDateImprint(ProgramFolderPath("StampDay.dll"), ProgramFolderPath("NamePrompt.dll"));
}

void CFView_Toolbar::RunDateImprint(LPCSTR lpszStampLibrary, LPCSTR lpszPromptLibrary) {
  const int nTitle = IDS_TB_TOOL_DATE_IMPRINT;
  if (!CloseEntryEditor()) return;
  CloseSlideCollectDlg();
  if (RefusedByViewMode(IDS_TB_MONTH_IMPRINT, IDS_TB_MUSIC_IMPRINT, MB_ICONSTOP)) return;
  if (!PassesTargetGate(6, nTitle)) return;
  CToolLibrary stamp(lpszStampLibrary), prompt(lpszPromptLibrary);
  PFN_IS_DATE_TIME pfnIsDateTime = (PFN_IS_DATE_TIME)stamp.Bind("IsDateTime");
  PFN_STAMP_DAY pfnStamp = (PFN_STAMP_DAY)stamp.Bind("StampDayTimeImage");
  PFN_NAME_PROMPT pfnPrompt = (PFN_NAME_PROMPT)prompt.Bind("NamePrompt");
  if (!pfnIsDateTime || !pfnStamp || !pfnPrompt) {
    DWORD dwError = !pfnIsDateTime || !pfnStamp ? stamp.Error() : prompt.Error();
    stamp.Free();
    prompt.Free();
    FormatLastErrorText(dwError);
    return;
  }
  CGFileInfoList* pTaken = TakeToolFiles(nTitle);
  if (!pTaken) return;

  CProgressMessageDlg check;
  if (check.CreateModeless(NULL)) {
    check.SetText(LoadText(IDS_SHELL_SLIDESHOW_PREPARING));
    check.CenterWindow();
    check.ShowWindow(SW_SHOW);
    check.UpdateWindow();
    check.SetRange((int)pTaken->GetCount());
  }
  std::vector<std::string> accepted;
  int nUnsupported = 0, nUndated = 0, nDvf = 0, nFlagged = 0;
  bool bPrintMark = false;
  for (POSITION pos = pTaken->GetHeadPosition(); pos;) {
    const CGFILEINFO& info = pTaken->GetNext(pos);
    DWORD dwFlags = 0;
    if (!CMTLxIsSupport(info.path, &dwFlags, 6)) {
      ++nUnsupported;
      check.Step(1);
      continue;
    }
    if (!pfnIsDateTime(info.path)) {
      ++nUndated;
      continue;
    }
    check.Step(1);
    if (toolrunrules::CounterOf((LPCSTR)info.path) == toolrunrules::COUNT_DVF) ++nDvf;
    if (dwFlags & 0x80) ++nFlagged;
    if (!bPrintMark) bPrintMark = HasPrintMark(info.path);
    accepted.push_back((LPCSTR)info.path);
  }
  delete pTaken;
  if (check.m_hWnd) {
    check.ShowWindow(SW_HIDE);
    check.DestroyWindow();
  }
  if (accepted.empty()) {
    stamp.Free();
    prompt.Free();
    ShowToolBox(this, toolrunrules::ImprintNothingTextId(nUnsupported), nTitle, MB_ICONEXCLAMATION);
    return;
  }
  CString strNote;
  if (nUnsupported || nUndated) strNote = LoadText(IDS_TB_SOME_FILES_LEFT_OUT);
  if (nDvf) {
    if (!strNote.IsEmpty()) strNote += "\n";
    strNote += LoadText(IDS_TB_IMPRINT_DVF_AS_BMP);
  }
  if (!strNote.IsEmpty()) ::MessageBoxA(GetSafeHwnd(), strNote, LoadText(nTitle), MB_ICONEXCLAMATION);
  const UINT nAsk = MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2;
  if (bPrintMark && TitledBox(this, IDS_TB_PRINT_MARK_QUESTION, nTitle, nAsk) != IDYES) return;
  CMWriteProfileInt("Tool1\\1", "Single", nDvf == (int)accepted.size() ? 1 : 0);
  CMWriteProfileInt("Tool1\\1", "ReadOnly", toolrunrules::ReadOnlyValue(nFlagged));

  // One question for what the date costs, before any file is touched.
  bool bMakerAsked = false;
  for (const std::string& path : accepted) {
    if (!bMakerAsked && HasMakerNoteMark(path.c_str())) {
      if (ShowToolBox(this, IDS_TB_IMPRINT_MAKER_NOTE, nTitle, nAsk) != IDYES) return;
      bMakerAsked = true;
    }
    if (IsExifUnconvertible(path.c_str())) {
      if (ShowToolBox(this, IDS_TB_IMPRINT_EXIF_TEXT, nTitle, nAsk) != IDYES) return;
      break;
    }
    if (bMakerAsked) break;
  }

  CWnd* pMain = AfxGetMainWnd();
  CProgressDlg progress;
  if (progress.Create(pMain)) {
    progress.SetCaption(nTitle);
    progress.SetRange((int)accepted.size());
  }
  CString strDefault = LoadText(IDS_TB_IMPRINT_DEFAULT_NAME);
  std::string lastSource, lastOutput;
  BOOL bArmed = FALSE;
  for (const std::string& source : accepted) {
    if (CheckDiskAndMemory()) break;
    if (source.empty() || !pfnIsDateTime(source.c_str())) continue;
    char szName[MAX_PATH] = "";
    int nOption = 0;
    int nAnswer = pfnPrompt(source.c_str(), szName, strDefault, 1, &nOption);
    if (nAnswer == 2) break;
    if (!szName[0]) {
      strDefault.Empty();
      continue;
    }
    if (!strDefault.IsEmpty()) {
      if (pMain) pMain->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      if (progress.m_hWnd) progress.ShowWindow(SW_SHOW);
    }
    if (progress.m_hWnd) progress.SetText(textkit::FileNameOf(source).c_str());
    std::string output = toolrunrules::ImprintOutputName(szName);
    unsigned long ulError = (unsigned long)pfnStamp(source.c_str(), output.c_str(), nOption);
    if (ulError) {
      if (int nId = toolrunrules::StampErrorTextId(ulError))
        ShowToolBox(this, nId, nTitle, MB_ICONEXCLAMATION);
      else
        ShowToolBox(this, IDS_TB_IMPRINT_FAILED, nTitle, MB_ICONEXCLAMATION, source.c_str());
      break;
    }
    UpdateDatabaseForToolOutput(source.c_str(), output.c_str());
    lastSource = source;
    lastOutput = output;
    strDefault.Empty();
    if (progress.m_hWnd) {
      progress.StepIt();
      if (ProgressCancelled(&progress, &bArmed)) break;
    }
  }
  if (progress.m_hWnd) progress.DestroyWindow();
  stamp.Free();
  prompt.Free();
  // Nothing handled: nothing to show.
  if (!strDefault.IsEmpty()) return;
  SendFirstPathToMainWnd(lastSource.empty() ? NULL : lastSource.c_str(),
                         lastOutput.empty() ? NULL : lastOutput.c_str());
}

// ---- Shooting date, place, split ---------------------------------------------------------

void CFView_Toolbar::OnUpdateShotDate() { RunShotDate(ProgramFolderPath("FixShotDate.dll")); }

void CFView_Toolbar::RunShotDate(LPCSTR lpszLibrary) {
  const int nTitle = IDS_TB_TOOL_FIX_SHOT_DATE;
  if (!CloseEntryEditor()) return;
  CloseSlideCollectDlg();
  if (RefusedByViewMode(IDS_TB_MONTH_SHOT_DATE, IDS_TB_MUSIC_SHOT_DATE, MB_ICONSTOP)) return;
  if (!PassesTargetGate(6, nTitle)) return;
  CString strLibrary = lpszLibrary;
  {
    CToolLibrary probe(strLibrary);
    if (!probe.Bind("FixShotDate")) {
      probe.Free();
      FormatLastErrorText(probe.Error());
      return;
    }
  }
  CGFileInfoList* pFiles = TakeToolFiles(nTitle);
  if (!pFiles) return;
  int nRemoved = RemoveUnsupportedFiles(pFiles, 9);
  // Pictures without a date to correct leave without a word.
  for (POSITION pos = pFiles->GetHeadPosition(); pos;) {
    POSITION posThis = pos;
    const CGFILEINFO& info = pFiles->GetNext(pos);
    SYSTEMTIME st;
    long lDate = CCMDIB::GetDateTimeOriginal(info.path, &st);
    if (lDate != 0 && lDate != 1) pFiles->RemoveAt(posThis);
  }
  if (pFiles->IsEmpty()) {
    delete pFiles;
    ShowToolBox(this, nRemoved ? IDS_TB_SHOT_DATE_LEFT_OUT : IDS_TB_IMPRINT_UNDATED, nTitle, MB_ICONEXCLAMATION);
    return;
  }
  if (nRemoved) ShowToolBox(this, IDS_TB_SHOT_DATE_LEFT_OUT, nTitle, MB_ICONEXCLAMATION);
  DWORD dwError = 0;
  int nResult = CallListTool(strLibrary, "FixShotDate", pFiles, &dwError);
  CString strFirst = pFiles->GetHead().path;
  delete pFiles;
  if (nResult == -1 && dwError) {
    FormatLastErrorText(dwError);
    return;
  }
  CWaitCursor wait;
  if (nResult != 1) return;
  if (CMGetProfileInt("VxFolder\\FolderInfo", "Classify", -1)) {
    SendFirstPathToMainWnd(strFirst, NULL);
  } else if (CWnd* pMain = AfxGetMainWnd()) {
    pMain->SendMessage(WM_REFRESH_FOLDERS, (WPARAM)m_hWnd, 0);
    pMain->SendMessage(WM_SELECT_CLASSIFY_ROOTS, (WPARAM)m_hWnd, 0);
  }
}

void CFView_Toolbar::OnGuessPlace() { RunGuessPlace(ProgramFolderPath("GuessPlace.dll")); }

void CFView_Toolbar::RunGuessPlace(LPCSTR lpszLibrary) {
  if (!CloseEntryEditor()) return;
  CloseSlideCollectDlg();
  // The place guess has its own caption, not the rename's.
  if (!PassesTargetGate(6, IDS_TB_TOOL_GUESS_PLACE)) return;
  CToolLibrary library(lpszLibrary);
  PFN_GUESS_OPEN pfnOpen = (PFN_GUESS_OPEN)library.Bind("OpenWindow");
  if (!pfnOpen) {
    library.Free();
    FormatLastErrorText(library.Error());
    return;
  }
  PFN_GUESS_OPEN pfnOpenDrop = (PFN_GUESS_OPEN)library.Bind("OpenDropWindow");
  CGFileInfoList* pPending = TakePendingFiles();
  if (pPending && pfnOpenDrop)
    pfnOpenDrop(0, this, pPending);
  else
    pfnOpen(0, this, NULL);  // without a drop export the window opens on its own
  delete pPending;
}

int CFView_Toolbar::CheckMovieSelection(CGFileInfoList* pList) {
  std::vector<bool> accepted;
  std::vector<DWORD> flags;
  for (POSITION pos = pList->GetHeadPosition(); pos;) {
    const CGFILEINFO& info = pList->GetNext(pos);
    DWORD dwFlags = 0;
    accepted.push_back(CMTLxIsSupport(info.path, &dwFlags, 11) != 0);
    flags.push_back(dwFlags);
  }
  return toolrunrules::MovieSelection(accepted, flags);
}

void CFView_Toolbar::OnSplitClip() { RunSplitClip(ProgramFolderPath("SplitClip.dll")); }

void CFView_Toolbar::RunSplitClip(LPCSTR lpszLibrary) {
  const int nTitle = IDS_TB_TOOL_SPLIT_CLIP;
  if (!CloseEntryEditor()) return;
  CloseSlideCollectDlg();
  if (RefusedByViewMode(IDS_TB_MONTH_SPLIT, IDS_TB_MUSIC_SPLIT, MB_ICONSTOP)) return;
  CToolLibrary library(lpszLibrary);
  PFN_SPLIT_CLIP pfnSplit = (PFN_SPLIT_CLIP)library.Bind("SplitClip");
  if (!pfnSplit) {
    library.Free();
    FormatLastErrorText(library.Error());
    return;
  }
  BOOL bPending = m_pPendingFiles != NULL;
  CGFileInfoList* pFiles = TakeToolFiles(nTitle);
  if (!pFiles) return;
  if (!bPending) {
    int nSelection = CheckMovieSelection(pFiles);
    if (nSelection == 0) {
      delete pFiles;
      ShowToolBox(this, IDS_TB_SPLIT_NO_MOVIE, nTitle, MB_ICONEXCLAMATION);
      return;
    }
    if (nSelection == 2) ShowToolBox(this, IDS_TB_SPLIT_OTHER_FILES, nTitle, MB_ICONEXCLAMATION);
  }
  CString strMovie;
  int nMovies = 0;
  for (POSITION pos = pFiles->GetHeadPosition(); pos;) {
    const CGFILEINFO& info = pFiles->GetNext(pos);
    if (!CMTLxIsSupport(info.path, NULL, 11)) continue;
    if (!nMovies++) strMovie = info.path;
  }
  delete pFiles;
  if (!nMovies) {
    library.Free();
    NothingLeftBox(this, nTitle, 11, "\n");
    return;
  }
  if (nMovies > 1 &&
      ShowToolBox(this, IDS_TB_FIRST_SELECTED_ONLY, nTitle, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
    return;
  int nResult = pfnSplit(strMovie);
  library.Free();
  CWaitCursor wait;
  if (nResult == 1) SendFirstPathToMainWnd(strMovie, NULL);
}

// ---- Conversion plug-ins ------------------------------------------------------------------

void CFView_Toolbar::RunPpcPlugin(int nIndex) { RunPpcPlugin(m_pPpcPlugins, nIndex); }

void CFView_Toolbar::RunPpcPlugin(CPpcPluginManager* pPlugins, int nIndex) {
  const int nTitle = IDS_TB_LABEL_PPC;
  if (!pPlugins || nIndex < 0 || nIndex >= pPlugins->GetCount()) return;
  CGFileInfoList* pFiles = TakePendingFiles();
  if (!pFiles) {
    int nReported = 0;
    if (!CheckSelectedFiles(1, &nReported)) {
      if (!nReported) ShowToolBox(this, IDS_EXPORT_NOT_SELECTED, nTitle, MB_ICONEXCLAMATION);
      return;
    }
    pFiles = TakeToolFiles(nTitle);
    if (!pFiles) return;
  }
  CProgressMessageDlg progress;
  if (progress.CreateModeless(AfxGetMainWnd())) {
    progress.SetText(LoadText(IDS_SHELL_SLIDESHOW_PREPARING));
    progress.CenterWindow();
    progress.ShowWindow(SW_SHOW);
    progress.SetRange((int)pFiles->GetCount());
  }
  int nKind = pPlugins->GetKind(nIndex);
  int nRemoved = 0;
  bool bPrintMark = false;
  for (POSITION pos = pFiles->GetHeadPosition(); pos;) {
    POSITION posThis = pos;
    const CGFILEINFO& info = pFiles->GetNext(pos);
    progress.Step(1);
    if (!CMTLxIsSupport0(info.path, NULL, nKind)) {
      pFiles->RemoveAt(posThis);
      ++nRemoved;
      continue;
    }
    if (!bPrintMark) bPrintMark = HasPrintMark(info.path);
  }
  if (progress.m_hWnd) progress.DestroyWindow();
  if (pFiles->IsEmpty()) {
    delete pFiles;
    NothingLeftBox(this, nTitle, 1, "");
    return;
  }
  if (nRemoved) TitledBox(this, IDS_EXPORT_SOME_REMOVED, nTitle, MB_ICONEXCLAMATION);
  if (bPrintMark &&
      TitledBox(this, IDS_TB_PRINT_MARK_QUESTION, nTitle, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES) {
    delete pFiles;
    return;
  }
  CWnd* pMain = AfxGetMainWnd();
  int nResult = pPlugins->OpenPpcPluginWindow(nIndex, pMain ? (void*)pMain->GetSafeHwnd() : NULL, pFiles);
  delete pFiles;
  CString strFirst, strSecond;
  if (nResult == 1 && pPlugins->GetResultStrings(&strFirst, &strSecond)) SendFirstPathToMainWnd(strFirst, strSecond);
}
