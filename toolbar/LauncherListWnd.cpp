#include "LauncherListWnd.h"

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "ICGBrowser.h"
#include "LauncherRules.h"
#include "ui/ChoiceDialogs.h"

namespace {
const UINT kIdleWait = 10000;  // a program that never gets idle holds the list no longer
const UINT kEndedWait = 200;

BOOL IsFolder(LPCSTR lpszPath) {
  DWORD dw = ::GetFileAttributesA(lpszPath);
  return dw == INVALID_FILE_ATTRIBUTES || (dw & FILE_ATTRIBUTE_DIRECTORY);
}

HWND MainWindow() {
  CWnd* pMain = AfxGetMainWnd();
  return pMain ? pMain->GetSafeHwnd() : NULL;
}

BOOL ChooseProgramByDialog(CString* pPath) {
  CString strFilter;
  strFilter.LoadString(IDS_LAUNCHER_FILTER);
  CFileDialog dlg(TRUE, NULL, NULL, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, strFilter, AfxGetMainWnd());
  if (dlg.DoModal() != IDOK) return FALSE;
  *pPath = dlg.GetPathName();
  return TRUE;
}

BOOL ChooseFilesFromBrowser(std::vector<CString>* pFiles) {
  CTargetChoiceDlg dlg(AfxGetMainWnd());
  dlg.SetMode(2, 0);
  if (dlg.DoModal() != IDOK) return FALSE;
  long lFlags = 0;
  ICGBrowser* pBrowser = GetCGBrowser();
  if (!launcherrules::SelectionFlags(dlg.GetChoice(), &lFlags) || !pBrowser) return TRUE;
  CGFileInfoList files(10);
  pBrowser->GetFileData(&files, lFlags);
  for (POSITION pos = files.GetHeadPosition(); pos;) pFiles->push_back(files.GetNext(pos).path);
  return TRUE;
}
}  // namespace

BEGIN_MESSAGE_MAP(CLauncherListWnd, CRowListWnd)
  ON_WM_PAINT()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_RBUTTONUP()
  ON_WM_TIMER()
  ON_WM_SHOWWINDOW()
  ON_WM_DROPFILES()
  ON_COMMAND(ID_LAUNCHER_REGISTER, &CLauncherListWnd::OnRegister)
  ON_COMMAND(ID_LAUNCHER_REMOVE, &CLauncherListWnd::OnRemove)
END_MESSAGE_MAP()

CLauncherListWnd::CLauncherListWnd()
    : m_chooseProgram(ChooseProgramByDialog), m_chooseFiles(ChooseFilesFromBrowser), m_nRemainingDrop(0), m_nMenuRow(0) {
  m_strTitle.LoadString(IDS_OPTIONS_TAB_LAUNCHER);
}

BOOL CLauncherListWnd::Create(POINT pos, SIZE rowSize, CWnd* pParent, int nBorderMode, int nOwnerCode) {
  for (int nKey = 1; nKey <= launcherrules::kRows; ++nKey)
    AddItem(AfxGetResourceHandle(), IDB_TB_ITEM, IDB_TB_ITEM_PRESSED, IDB_TB_ITEM_HOT, IDB_TB_ITEM, nKey);
  return CRowListWnd::Create(pos, rowSize, pParent, nBorderMode, nOwnerCode);
}

void CLauncherListWnd::AddItem(HINSTANCE hResources, UINT nNormal, UINT nPressed, UINT nHover, UINT nAlternative,
                               int nKey) {
  if (m_rows.size() >= 16) return;
  if (hResources) m_hResources = hResources;
  AppendRow(nNormal, nPressed, nHover, nAlternative, nKey);
}

void CLauncherListWnd::SetItemLabel(int nKey, LPCSTR lpszText) {
  int i = FindRow(nKey);
  if (i >= 0) m_rows[i].label = launcherrules::CutLabel(lpszText ? lpszText : "").c_str();
}

// ---- Entries --------------------------------------------------------------------------

BOOL CLauncherListWnd::IsAcceptableProgram(LPCSTR lpszPath) {
  return lpszPath && launcherrules::IsProgramName(lpszPath) && !IsFolder(lpszPath);
}

CString CLauncherListWnd::GetLauncherPath(int nIndex) {
  if (nIndex < 0 || nIndex >= launcherrules::kSlots) return "";
  return CMGetProfileString("", launcherrules::PathKey(nIndex + 1).c_str(), "");
}

CString CLauncherListWnd::GetEntryLabel(int nIndex) {
  CString strLabel;
  if (nIndex >= 0 && nIndex < launcherrules::kSlots)
    strLabel = CMGetProfileString("", launcherrules::LabelKey(nIndex + 1).c_str(), "");
  if (strLabel.IsEmpty()) strLabel.LoadString(IDS_LAUNCHER_EMPTY_SLOT);
  return strLabel;
}

void CLauncherListWnd::ClearLauncherEntry(int nIndex) {
  if (nIndex < 0 || nIndex >= launcherrules::kSlots) return;
  CMRemoveProfileKey("", launcherrules::PathKey(nIndex + 1).c_str());
  CMRemoveProfileKey("", launcherrules::LabelKey(nIndex + 1).c_str());
}

void CLauncherListWnd::WriteLastSlot(int nSlot) {
  CString strKey;
  strKey.LoadString(IDS_LAUNCHER_LAST_SLOT_KEY);
  CMWriteProfileInt("", strKey, nSlot - 1);
}

HRESULT CLauncherListWnd::ResolveShortcut(LPCSTR lpszLink, LPSTR lpszPath, WIN32_FIND_DATAA* pfd) {
  IShellLinkA* pLink = NULL;
  HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&pLink);
  if (FAILED(hr)) return hr;
  IPersistFile* pFile = NULL;
  hr = pLink->QueryInterface(IID_IPersistFile, (void**)&pFile);
  if (SUCCEEDED(hr)) {
    WCHAR wsz[MAX_PATH] = L"";
    ::MultiByteToWideChar(CP_ACP, 0, lpszLink, -1, wsz, MAX_PATH);
    hr = pFile->Load(wsz, 0);
    if (SUCCEEDED(hr)) hr = pLink->GetPath(lpszPath, MAX_PATH, pfd, SLGP_RAWPATH);
    pFile->Release();
  }
  pLink->Release();
  return hr;
}

CString CLauncherListWnd::GetExeFileDescription(LPCSTR lpszPath) {
  std::string description;
  bool hasTranslation = false;
  DWORD dwHandle = 0;
  DWORD dwSize = ::GetFileVersionInfoSizeA(lpszPath, &dwHandle);
  std::vector<BYTE> block(dwSize);
  if (dwSize && ::GetFileVersionInfoA(lpszPath, 0, dwSize, block.data())) {
    const WORD* pPairs = NULL;
    UINT nBytes = 0;
    if (::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", (void**)&pPairs, &nBytes) && pPairs) {
      hasTranslation = nBytes >= 4;
      for (UINT i = 0; i + 1 < nBytes / 2 && description.empty(); i += 2) {
        char szKey[64];
        wsprintfA(szKey, "\\StringFileInfo\\%04x%04x\\FileDescription", pPairs[i], pPairs[i + 1]);
        LPCSTR lpsz = NULL;
        UINT nLength = 0;
        if (::VerQueryValueA(block.data(), szKey, (void**)&lpsz, &nLength) && lpsz && nLength)
          description.assign(lpsz, strnlen(lpsz, nLength));
      }
    }
  }
  return launcherrules::ProgramLabel(lpszPath ? lpszPath : "", hasTranslation, description).c_str();
}

BOOL CLauncherListWnd::StoreProgram(int nSlot, LPCSTR lpszPath) {
  CString strProgram = lpszPath;
  if (launcherrules::IsProgramName(lpszPath) && launcherrules::IsShortcutName(lpszPath)) {
    char szTarget[MAX_PATH] = "";
    WIN32_FIND_DATAA fd = {};
    HRESULT hrInit = ::CoInitialize(NULL);
    HRESULT hr = ResolveShortcut(lpszPath, szTarget, &fd);
    if (SUCCEEDED(hrInit)) ::CoUninitialize();
    // A shortcut that leads nowhere, or to what no slot takes, is refused.
    if (hr != S_OK || launcherrules::IsShortcutName(szTarget) || !IsAcceptableProgram(szTarget)) return FALSE;
    strProgram = szTarget;
  }
  CMWriteProfileString("", launcherrules::PathKey(nSlot).c_str(), strProgram);
  CMWriteProfileString("", launcherrules::LabelKey(nSlot).c_str(), GetExeFileDescription(strProgram));
  return TRUE;
}

BOOL CLauncherListWnd::SetLauncherEntry(int nIndex, LPCSTR lpszPath) {
  if (!lpszPath || strlen(lpszPath) < 4 || nIndex < 0 || nIndex >= launcherrules::kSlots) return FALSE;
  if (!IsAcceptableProgram(lpszPath) || !StoreProgram(nIndex + 1, lpszPath)) return FALSE;
  WriteLastSlot(1);
  return TRUE;
}

int CLauncherListWnd::Box(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
  return ::MessageBoxA(MainWindow(), lpszText, lpszCaption, nType);
}

int CLauncherListWnd::Box(UINT nTextId, UINT nCaptionId, UINT nType) {
  CString strText, strCaption;
  strText.LoadString(nTextId);
  if (nCaptionId)
    strCaption.LoadString(nCaptionId);
  else
    strCaption = m_strTitle;
  return Box(strText, strCaption, nType);
}

BOOL CLauncherListWnd::ChooseAndStore(int nSlot, CString* pStored) {
  CString strPath;
  if (!m_chooseProgram || !m_chooseProgram(&strPath)) return FALSE;
  if (!IsAcceptableProgram(strPath) || !StoreProgram(nSlot, strPath)) {
    CString strText;
    strText.LoadString(IDS_LAUNCHER_NOT_PROGRAM);
    Box(strText, CMTLGetAppName(), MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
  }
  if (pStored) *pStored = GetLauncherPath(nSlot - 1);
  return TRUE;
}

void CLauncherListWnd::RegisterLauncherEntry(int nSlot) {
  if (nSlot < 1 || nSlot > launcherrules::kRows) return;
  if (Box(IDS_LAUNCHER_ASK_REGISTER, IDS_LAUNCHER_REGISTER, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  if (ChooseAndStore(nSlot, NULL)) WriteLastSlot(nSlot);
}

void CLauncherListWnd::RemoveLauncherEntry(int nSlot) {
  if (nSlot < 1 || nSlot > launcherrules::kRows) return;
  if (Box(IDS_LAUNCHER_ASK_REMOVE, IDS_BROWSER_DELETE_CAPTION, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  ClearLauncherEntry(nSlot - 1);
}

int CLauncherListWnd::ShiftLauncherEntries(LPCSTR lpszPath) {
  if (!lpszPath || (!launcherrules::IsProgramName(lpszPath) && !IsFolder(lpszPath))) return -1;
  if (GetLauncherPath(0).IsEmpty()) return 1;
  for (int nSlot = launcherrules::kRows; nSlot > 1; --nSlot) {
    CMWriteProfileString("", launcherrules::PathKey(nSlot).c_str(), GetLauncherPath(nSlot - 2));
    CMWriteProfileString("", launcherrules::LabelKey(nSlot).c_str(),
                         CMGetProfileString("", launcherrules::LabelKey(nSlot - 1).c_str(), ""));
  }
  ClearLauncherEntry(0);
  return 1;
}

BOOL CLauncherListWnd::CheckSystemResources() {
  OSVERSIONINFOA osvi = {};
  osvi.dwOSVersionInfoSize = sizeof osvi;
  ::GetVersionExA(&osvi);
  // Windows 98, 98 SE and Me count their system resources; the others only memory.
  if (osvi.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && osvi.dwMinorVersion >= 10) {
    HMODULE hMeter = ::LoadLibraryA("SysMeter32.dll");
    CString strText = "SysMeter32.dll", strTail;
    if (!hMeter) {
      strTail.LoadString(IDS_LAUNCHER_NO_METER);
      Box(strText + strTail, m_strTitle, MB_OK | MB_ICONWARNING);
      return FALSE;
    }
    typedef int(WINAPI * PFN_FREE)(int);
    PFN_FREE pfn = (PFN_FREE)::GetProcAddress(hMeter, "GetFreeSystemResources32");
    int nFree = 0;
    if (pfn) {
      nFree = pfn(0);
    } else {
      strTail.LoadString(IDS_LAUNCHER_NO_METER_FUNCTION);
      Box(strText + strTail, m_strTitle, MB_OK | MB_ICONWARNING | MB_TASKMODAL);
    }
    ::FreeLibrary(hMeter);
    return nFree > 19;
  }
  MEMORYSTATUS ms = {};
  ms.dwLength = sizeof ms;
  ::GlobalMemoryStatus(&ms);
  return ms.dwMemoryLoad <= 99;
}

CLauncherListWnd::StartResult CLauncherListWnd::StartProgram(const CString& strCommandLine) {
  HCURSOR hOld = ::SetCursor(::LoadCursor(NULL, IDC_WAIT));
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string line = (LPCSTR)strCommandLine;
  if (!::CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, NORMAL_PRIORITY_CLASS, NULL, NULL, &si, &pi)) {
    ::SetCursor(hOld);
    return START_FAILED;
  }
  StartResult result = START_RUNNING;
  if (::WaitForSingleObject(pi.hProcess, kEndedWait) == WAIT_OBJECT_0)
    result = START_ENDED;
  else
    ::WaitForInputIdle(pi.hProcess, kIdleWait);
  ::SetCursor(hOld);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return result;
}

void CLauncherListWnd::RunLauncherEntry(int nSlot) {
  if (m_hWnd) ShowWindow(SW_HIDE);
  if (nSlot < 1 || nSlot > launcherrules::kRows) return;
  CString strProgram = GetLauncherPath(nSlot - 1);
  if (strProgram.IsEmpty()) {
    if (Box(IDS_LAUNCHER_ASK_REGISTER_EMPTY, IDS_LAUNCHER_REGISTER, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    if (!ChooseAndStore(nSlot, &strProgram)) return;
  }
  std::vector<CString> files;
  if (!m_chooseFiles || !m_chooseFiles(&files)) return;
  if (files.size() > launcherrules::kAskAbove) {
    CString strFormat, strText;
    strFormat.LoadString(IDS_LAUNCHER_ASK_MANY);
    strText.Format(strFormat, (int)files.size(), (int)files.size());
    if (Box(strText, m_strTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
  }
  unsigned long long hMain = (unsigned long long)(UINT_PTR)MainWindow();
  for (const CString& strFile : files) {
    if (!CheckSystemResources()) {
      Box(IDS_LAUNCHER_LOW_RESOURCES, 0, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    StartResult result = StartProgram(launcherrules::CommandLine((LPCSTR)strProgram, (LPCSTR)strFile, hMain).c_str());
    if (result == START_FAILED) {
      Box(IDS_LAUNCHER_START_FAILED, 0, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    // A program that hands its files to a copy already running ends at once: the copy
    // has the first file, and the others would only start and end again.
    if (result == START_ENDED) return;
  }
  if (files.empty() && StartProgram(launcherrules::CommandLine((LPCSTR)strProgram, "", hMain).c_str()) == START_FAILED)
    Box(IDS_LAUNCHER_START_FAILED, 0, MB_OK | MB_ICONEXCLAMATION);
}

void CLauncherListWnd::LaunchFromList(int nSlot) {
  WriteLastSlot(nSlot);
  RunLauncherEntry(nSlot);
}

int CLauncherListWnd::AddLauncherEntries(int nSlot, LPCSTR lpszPath) {
  if (m_hWnd) ShowWindow(SW_HIDE);
  if (nSlot < 1 || nSlot > launcherrules::kRows || !lpszPath) return 0;
  CString strProgram = GetLauncherPath(nSlot - 1);
  if (IsAcceptableProgram(lpszPath)) {
    if (StoreProgram(nSlot, lpszPath)) WriteLastSlot(nSlot);
    return 1;
  }
  if (strProgram.IsEmpty()) {
    if (m_nRemainingDrop <= 1) {
      CString strText;
      strText.LoadString(IDS_LAUNCHER_NOT_PROGRAM);
      Box(strText, CMTLGetAppName(), MB_OK | MB_ICONEXCLAMATION);
    }
    return 1;
  }
  if (!CheckSystemResources()) {
    Box(IDS_LAUNCHER_LOW_RESOURCES, 0, MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  unsigned long long hMain = (unsigned long long)(UINT_PTR)MainWindow();
  StartResult result = StartProgram(launcherrules::CommandLine((LPCSTR)strProgram, lpszPath, hMain).c_str());
  if (result == START_FAILED) {
    Box(IDS_LAUNCHER_START_FAILED, 0, MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  if (result == START_ENDED) return 0;
  WriteLastSlot(nSlot);
  return 1;
}

// ---- Window ---------------------------------------------------------------------------

void CLauncherListWnd::OnPaint() {
  CPaintDC dc(this);
  PaintRows(dc, FALSE);
  PaintLines(dc);
  HFONT hFont = CreateLabelFont();
  HGDIOBJ hOld = ::SelectObject(dc.GetSafeHdc(), hFont);
  dc.SetBkMode(TRANSPARENT);
  for (int i = 0; i < (int)m_rows.size(); ++i) {
    if (m_rows[i].label.IsEmpty()) continue;
    dc.SetTextColor(m_rows[i].enabled ? m_clrText : kDisabledText);
    CRect rc = RowRect(i);
    dc.DrawText(m_rows[i].label, &rc, LabelFormat());
  }
  ::SelectObject(dc.GetSafeHdc(), hOld);
  ::DeleteObject(hFont);
  PaintShadow(dc);
}

void CLauncherListWnd::OnMouseMove(UINT, CPoint point) {
  BOOL bChanged = FALSE;
  for (int i = 0; i < (int)m_rows.size(); ++i)
    if (m_rows[i].enabled) bChanged |= SetFace(i, RowRect(i).PtInRect(point) ? m_rows[i].hover : m_rows[i].normal);
  if (bChanged) Invalidate(FALSE);
}

void CLauncherListWnd::OnLButtonUp(UINT, CPoint point) {
  int nHit = -1;
  for (int i = 0; i < (int)m_rows.size(); ++i)
    if (m_rows[i].enabled && RowRect(i).PtInRect(point)) nHit = i;
  if (nHit < 0) return;
  SetFace(nHit, m_rows[nHit].pressed);
  RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
  SetFace(nHit, m_rows[nHit].normal);
  Invalidate(FALSE);
  ShowWindow(SW_HIDE);
  LaunchFromList(m_rows[nHit].key);
}

void CLauncherListWnd::OnRButtonUp(UINT, CPoint point) {
  int nHit = RowAt(point, 1);
  if (nHit < 0 || !m_rows[nHit].enabled) return;
  CString strRegister, strRemove, strEmpty;
  strRegister.LoadString(IDS_LAUNCHER_REGISTER);
  strRemove.LoadString(IDS_BROWSER_DELETE_CAPTION);
  strEmpty.LoadString(IDS_LAUNCHER_EMPTY_SLOT);
  CMenu menu;
  menu.CreatePopupMenu();
  for (int nCommand : launcherrules::MenuCommands(GetEntryLabel(m_rows[nHit].key - 1) != strEmpty))
    menu.AppendMenu(MF_STRING, nCommand, nCommand == ID_LAUNCHER_REGISTER ? strRegister : strRemove);
  m_nMenuRow = nHit;
  ClientToScreen(&point);
  menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
}

void CLauncherListWnd::OnRegister() {
  ShowWindow(SW_HIDE);
  RegisterLauncherEntry(m_nMenuRow + 1);
}

void CLauncherListWnd::OnRemove() {
  ShowWindow(SW_HIDE);
  RemoveLauncherEntry(m_nMenuRow + 1);
}

void CLauncherListWnd::OnTimer(UINT_PTR nIDEvent) { OnFaceTimer(nIDEvent, FALSE); }

void CLauncherListWnd::OnShowWindow(BOOL bShow, UINT nStatus) {
  CRowListWnd::OnShowWindow(bShow, nStatus);
  if (!bShow) return;
  MoveToPosition();
  for (int nKey = 1; nKey <= launcherrules::kRows; ++nKey) SetItemLabel(nKey, GetEntryLabel(nKey - 1));
}

void CLauncherListWnd::OnDropFiles(HDROP hDrop) {
  std::vector<bool> lit;
  for (int nKey = 1; nKey <= launcherrules::kRows; ++nKey) {
    int i = FindRow(nKey);
    lit.push_back(i >= 0 && m_rows[i].current != m_rows[i].normal && m_rows[i].current != m_rows[i].other);
  }
  int nSlot = launcherrules::DropRow(lit) + 1;
  UINT nFiles = ::DragQueryFileA(hDrop, 0xFFFFFFFF, NULL, 0);
  BOOL bGo = TRUE;
  if (nFiles > launcherrules::kAskAbove) {
    CString strFormat, strText;
    strFormat.LoadString(IDS_LAUNCHER_ASK_MANY);
    strText.Format(strFormat, (int)nFiles, (int)nFiles);
    bGo = Box(strText, m_strTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  }
  int i = FindRow(nSlot);
  for (UINT n = 0; bGo && n < nFiles; ++n) {
    m_nRemainingDrop = (int)(nFiles - n);
    char szPath[MAX_PATH] = "";
    // A path longer than a slot holds is no program of ours: it is skipped whole.
    if (::DragQueryFileA(hDrop, n, NULL, 0) >= MAX_PATH) continue;
    ::DragQueryFileA(hDrop, n, szPath, MAX_PATH);
    if (i >= 0) SetFace(i, m_rows[i].pressed);
    if (!AddLauncherEntries(nSlot, szPath)) break;
  }
  m_nRemainingDrop = 0;
  if (i >= 0) SetFace(i, m_rows[i].normal);
  Invalidate();
  ShowWindow(SW_HIDE);
  ::DragFinish(hDrop);
}
