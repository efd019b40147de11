// CVxGUITrans: file deletion. Ordinary folders go to the recycle bin, classification
// folders lose only their entries; the model, the database, the print orders and the marks
// follow what is really gone.
#include <ClipFacts.h>
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <VxBDCore.h>
#include <VxBDEdit.h>
#include <VxProperty.h>
#include <VxResourceIds.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <textkit/text.h>

#include <set>
#include <string>
#include <vector>

#include "DeleteRules.h"
#include "TransInternal.h"

namespace {
// The database's classification kind of person names: its question is its own.
const int kClassifyPersons = 8;

// Paths compared as Windows compares them: without regard to case.
struct NoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const { return textkit::CompareNoCase(a, b) < 0; }
};
typedef std::set<std::string, NoCaseLess> PathSet;
}  // namespace

// ---- The single-file question ----------------------------------------------------------------

class CDeleteConfirmDlg : public CDialog {
 public:
  explicit CDeleteConfirmDlg(CWnd* pParent) : CDialog(IDD_DELETE_CONFIRM, pParent) {}
  void SetFileName(LPCSTR pszPath) {
    CString name = ::PathFindFileNameA(pszPath);
    CResourceLoader loader;
    if (!loader.LoadFormatString(m_strMessage, IDS_BROWSER_DELETE_ONE, (LPCSTR)name)) m_strMessage = name;
  }
  CString m_strMessage;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    ::SetDlgItemTextA(GetSafeHwnd(), IDC_DELETE_MESSAGE, m_strMessage);
    CString caption = CResourceLoader().LoadStringA(IDS_BROWSER_DELETE_CAPTION);
    if (!caption.IsEmpty()) ::SetWindowTextA(GetSafeHwnd(), caption);
    return TRUE;
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    UINT id = LOWORD(wParam);
    if (id == IDC_DELETE_YES || id == IDC_DELETE_NO) {
      EndDialog((int)id);
      return TRUE;
    }
    if (id == IDCANCEL) {
      EndDialog(IDC_DELETE_NO);
      return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PAINT) {
      LRESULT r = CDialog::WindowProc(message, wParam, lParam);
      // The shell's own recycle-bin icon, when the shell has it.
      HICON hIcon = NULL;
      if (HMODULE hShell = ::GetModuleHandleA("shell32.dll"))
        hIcon = (HICON)::LoadImageA(hShell, MAKEINTRESOURCEA(33), IMAGE_ICON, 32, 32, 0);
      if (hIcon) {
        HDC hdc = ::GetDC(GetSafeHwnd());
        ::DrawIconEx(hdc, 15, 10, hIcon, 32, 32, 0, NULL, DI_NORMAL);
        ::ReleaseDC(GetSafeHwnd(), hdc);
        ::DestroyIcon(hIcon);
      }
      return r;
    }
    return CDialog::WindowProc(message, wParam, lParam);
  }
};

// ---- The recycle bin ------------------------------------------------------------------------

// The shell moves the list to the recycle bin; *pbAborted tells whether it stopped short.
// E_FAIL when the shell failed, 0 otherwise; what really went is found afterwards.
static HRESULT SendToRecycleBin(HWND hOwner, HWND hMain, const CStringList& list, BOOL bConfirmed, BOOL* pbAborted) {
  *pbAborted = FALSE;
  std::string from = DeletePathBlock(list);
  CString title = CResourceLoader().LoadStringA(IDS_BROWSER_DELETE_PROGRESS);
  SHFILEOPSTRUCTA op = {};
  op.hwnd = hOwner;
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = (FILEOP_FLAGS)(bConfirmed ? FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT : FOF_ALLOWUNDO);
  op.lpszProgressTitle = title;
  if (hMain) ::EnableWindow(hMain, FALSE);
  int r = ::SHFileOperationA(&op);
  if (hMain) ::EnableWindow(hMain, TRUE);
  if (r != ERROR_CANCELLED) {
    ::SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_FLUSH, NULL, NULL);
    *pbAborted = op.fAnyOperationsAborted;
  }
  return r ? E_FAIL : 0;
}

// ---- The database records under a progress bar -----------------------------------------------

namespace {
struct RecordJob : CPgBarData {
  const CStringList* pList = NULL;
};

int RemoveRecords(CPgBarData* pData) {
  RecordJob* job = static_cast<RecordJob*>(pData);
  const int total = (int)job->pList->GetCount();
  int i = 0;
  for (POSITION pos = job->pList->GetHeadPosition(); pos; ++i) {
    const CString& path = job->pList->GetNext(pos);
    ::Sleep(0);
    CThumbnail::DeleteFileFromDatabase(path);
    if (job->m_hWnd) CMTLPostProgress(job->m_hWnd, ::PathFindFileNameA(path), TransProgressPercent(0, 100, i, total));
  }
  return 0;
}
}  // namespace

void DeleteRecords(const CStringList& list) {
  if (list.IsEmpty()) return;
  static CString s_title = CResourceLoader().LoadStringA(IDS_BROWSER_DB_PROGRESS);
  RecordJob job;
  job.pList = &list;
  if (CMTLProgressBar(RemoveRecords, s_title, 0, &job) < 0) RemoveRecords(&job);
}

// ---- The command ------------------------------------------------------------------------------

long CVxGUITrans::DeleteSelectFiles() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return 995;
  CWaitCursor wait;
  Thread_Stop();
  MovieCtrl_Unload();
  VXDELETEFOLDER folder = {(UINT)pDoc->GetFolderType().GetCode(), IsCalendarMode(), IsEnableReportMode(), FALSE};
  const BOOL bClassify = DeleteRoadOf(folder, NULL) == VXDEL_CLASSIFY;
  CStringList list;
  if (DeleteSelectFiles(list, 0) == 995) {
    MovieCtrl_Load();
    return 995;
  }
  // A classification folder loses only its entries: the files and their records stay.
  DeleteItems(list, !bClassify);
  if (!bClassify) {
    for (POSITION pos = list.GetHeadPosition(); pos;) {
      const CString& path = list.GetNext(pos);
      CMTLxDeleteDPOFFileJob(path.Left(2), "AUTPLAY3", path);
    }
  }
  const CThumbnailPageList& pages = pDoc->GetPageList();
  for (POSITION pos = pages.GetHeadPosition(); pos;)
    if (CThumbnailPage* p = pages.GetNext(pos)) p->RemoveAllInvalidThumbnail();
  CThumbnail::UpdateFavoriteDataBase();
  DecodeThread_Start(TRUE);
  SendToAllViews(VXHINT_SELECTION, NULL);
  if (m_pReportCtrl && m_pReportCtrl->GetSafeHwnd() && m_pReportCtrl->IsWindowVisible()) m_pReportCtrl->SetFocus();
  {
    CBusyScope scope(this);
    CBusyScope::CountFilteredFiles(this);
    if (IsFocusMode()) pDoc->SelectAll(0, m_pView);
    FocusMode_RefreshSelectItem();
    if (!IsCalendarMode() && m_hManager) {
      if (pDoc->GetFolderTypeFlag() == FOLDER_TYPE_CLASSIFY)
        ::PostMessageA(m_hManager, WM_REFRESH_FOLDERS, (WPARAM)GetSafeHwnd(), 1);
      else if (pDoc->GetFolderTypeFlag() == FOLDER_TYPE_EXPLORER)
        ::PostMessageA(m_hManager, WM_TREE_FOLDER_DELETED, 1, 0);
    }
  }
  return 0;
}

BOOL CVxGUITrans::CreateDeleteFileList(CStringList& list, UINT nKindBits) {
  CreateSelectFileList(0, list, nKindBits, NULL);
  CStringList companions;
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    const CString& path = list.GetNext(pos);
    if (lstrcmpiA(::PathFindExtensionA(path), ".cont") == 0) TransAppendContMembers(path, companions);
  }
  // A companion that is also selected is listed once.
  PathSet seen;
  for (POSITION pos = list.GetHeadPosition(); pos;) seen.insert((LPCSTR)list.GetNext(pos));
  BOOL bAdded = FALSE;
  for (POSITION pos = companions.GetHeadPosition(); pos;) {
    const CString& c = companions.GetNext(pos);
    if (!seen.insert((LPCSTR)c).second) continue;
    list.AddTail(c);
    bAdded = TRUE;
  }
  return bAdded;
}

long CVxGUITrans::DeleteSelectFiles(CStringList& list, int nStillOnly) {
  list.RemoveAll();
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return 1;
  BOOL bDisc = FALSE;
  const CThumbnailList& sel = pDoc->GetSelectList();
  for (POSITION pos = sel.GetHeadPosition(); pos && !bDisc;) {
    CThumbnail* p = sel.GetNext(pos);
    bDisc = p && p->IsDiscContent();
  }
  VXDELETEFOLDER folder = {(UINT)pDoc->GetFolderType().GetCode(), IsCalendarMode(), IsEnableReportMode(), bDisc};
  BOOL bFavorite = FALSE;
  switch (DeleteRoadOf(folder, &bFavorite)) {
    case VXDEL_NONE: return 1;
    case VXDEL_CLASSIFY: return DeleteSelectFiles_Classification(list);
    case VXDEL_DISC: return DeleteSelectFiles_BDCore(list, nStillOnly);
    case VXDEL_BIN: break;
  }
  if (bFavorite) DeleteSelectFiles_FavoriteFolderWarningBox();
  const BOOL bCompanions = CreateDeleteFileList(list, nStillOnly ? VXKIND_STILL : 0);
  if (list.IsEmpty()) return 1;
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    if (IsExistNotSupportContFile(list.GetNext(pos))) {
      CString text = CResourceLoader().LoadStringA(IDS_BROWSER_CONT_UNSUPPORTED);
      ::MessageBoxA(m_hManager, text, CMTLGetAppName(), MB_ICONINFORMATION);
      list.RemoveAll();
      return 995;
    }
  }
  if (bCompanions) {
    CResourceLoader loader;
    if (::MessageBoxA(NULL, loader.LoadStringA(IDS_BROWSER_COMPANIONS), loader.LoadStringA(AFX_IDS_APP_TITLE),
                      MB_OKCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON2) == IDCANCEL) {
      list.RemoveAll();
      return 995;
    }
  }
  BOOL bFolder = FALSE;
  for (POSITION pos = list.GetHeadPosition(); pos && !bFolder;) {
    DWORD attr = ::GetFileAttributesA(list.GetNext(pos));
    bFolder = attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
  }
  BOOL bAborted = FALSE;
  if (list.GetCount() == 1 && !bFolder) {
    CDeleteConfirmDlg dlg(m_pView);
    dlg.SetFileName(list.GetHead());
    INT_PTR answer;
    {
      CResourceChanger change;
      answer = dlg.DoModal();
    }
    if (answer == IDC_DELETE_YES) SendToRecycleBin(GetSafeHwnd(), m_hManager, list, TRUE, &bAborted);
  } else {
    SendToRecycleBin(GetSafeHwnd(), m_hManager, list, FALSE, &bAborted);
  }
  if (bAborted) {
    list.RemoveAll();
    return 995;
  }
  long r = CheckDeletePathList(list);
  UnmarkDeleted(list);
  if (m_hManager) ::SendMessageA(m_hManager, WM_STATUS_MARK_COUNT, 0, 0);
  if (bFolder && m_hManager && !(pDoc->GetPageList().GetCount() > 0 && pDoc->GetPageList().GetHead()->IsVirtualFolder()))
    ::PostMessageA(m_hManager, WM_REFRESH_FOLDERS, (WPARAM)GetSafeHwnd(), 0);
  return r;
}

// Marked selected items whose files are gone lose their marks; a file the shell kept keeps
// its mark.
void CVxGUITrans::UnmarkDeleted(const CStringList& deleted) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return;
  ::InterlockedIncrement(&m_pBusy->lCount);
  PathSet gone;
  for (POSITION pos = deleted.GetHeadPosition(); pos;) gone.insert((LPCSTR)deleted.GetNext(pos));
  const CThumbnailList& sel = pDoc->GetSelectList();
  for (POSITION pos = sel.GetHeadPosition(); pos;) {
    CThumbnail* p = sel.GetNext(pos);
    if (p && p->GetMarkStatus(0) && gone.count((LPCSTR)p->GetFilePath())) p->SetMarkStatus(0);
  }
  if (::InterlockedDecrement(&m_pBusy->lCount) < 0) ::InterlockedExchange(&m_pBusy->lCount, 0);
}

long CVxGUITrans::DeleteSelectFiles_FavoriteFolderWarningBox() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || pDoc->GetFolderType().GetCode() != FOLDER_TYPE_FAVORITE) return 1;
  CResourceLoader loader;
  CString text;
  loader.LoadFormatString(text, IDS_BROWSER_FAVORITE_WARNING, (LPCSTR)loader.LoadStringA(IDS_BROWSER_FAVORITES));
  HWND hOwner = GetSafeHwnd() ? ::GetParent(GetSafeHwnd()) : NULL;
  CMTLxMessageBox(hOwner, text, loader.LoadStringA(IDS_BROWSER_FAVORITE_CAPTION),
                  MB_ICONQUESTION | MB_CMTLX_DONTSHOWAGAIN, "FavoriteFolder");
  return 0;
}

// ---- Classification folders -----------------------------------------------------------------

int CVxGUITrans::DeleteSelectFiles_Classification_WarningBox(int nKind) {
  static BOOL s_bOpen = FALSE;
  if (s_bOpen) return 0;
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return 0;
  const CThumbnailList& sel = pDoc->GetSelectList();
  CString text;
  {
    CResourceChanger change;
    CResourceLoader loader;
    if (nKind == kClassifyPersons) {
      text = loader.LoadStringA(IDS_BROWSER_CLASSIFY_DELETE_FACES);
    } else if (sel.GetCount() < 2) {
      CThumbnail* p = sel.IsEmpty() ? NULL : sel.GetHead();
      if (!p) return E_PENDING;
      loader.LoadFormatString(text, IDS_BROWSER_CLASSIFY_DELETE_ONE, (LPCSTR)p->GetFilePath());
    } else {
      loader.LoadFormatString(text, IDS_BROWSER_CLASSIFY_DELETE_N, (int)sel.GetCount());
    }
  }
  s_bOpen = TRUE;
  int r = ::MessageBoxA(GetSafeHwnd(), text, CMTLGetAppName(), MB_YESNO | MB_ICONQUESTION);
  s_bOpen = FALSE;
  return r;
}

long CVxGUITrans::DeleteSelectFiles_Classification(CStringList& list) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || pDoc->GetFolderTypeFlag() != FOLDER_TYPE_CLASSIFY) return 1;
  const int nKind = CBrowserStatus::CFolderType::CClassifyType::GetRegistryValue();
  if (DeleteSelectFiles_Classification_WarningBox(nKind) != IDYES) return E_ABORT;
  ::InterlockedIncrement(&m_pBusy->lCount);
  VxGUIDBInitialize();
  const CThumbnailList& sel = pDoc->GetSelectList();
  for (POSITION pos = sel.GetHeadPosition(); pos;) {
    CThumbnail* p = sel.GetNext(pos);
    if (!p) continue;
    CString path = p->GetFilePath();
    CString page = p->GetPage() ? p->GetPage()->GetName() : CString();
    CThumbnail::DeleteDBInfo(path, nKind, page, NULL);
    list.AddTail(path);
  }
  VxGUIDBFinalize();
  pDoc->SelectAll(0, m_pView);
  if (::InterlockedDecrement(&m_pBusy->lCount) < 0) ::InterlockedExchange(&m_pBusy->lCount, 0);
  pDoc->RenewalBrowser(1, 0);
  return 0;
}

// ---- The card's disc-movie items ------------------------------------------------------------

namespace {
// A selected disc item and whether it is gone already.
struct DiscItem {
  CString path;
  DWORD ref[4];
};
bool SameGroup(const DiscItem& a, const DiscItem& b) { return a.ref[1] == b.ref[1] && a.ref[2] == b.ref[2]; }
}  // namespace

long CVxGUITrans::DeleteSelectFiles_BDCore(CStringList& list, int nStillOnly) {
  list.RemoveAll();
  CBrowserDocument* pDoc = GetBrowserDocument();
  IVxBDCoreObject* pCore = pDoc ? GetVxBDCoreObject() : NULL;
  if (!pCore) return 1;
  IVxBDDiscEdit* pEdit = pCore->GetDiscEdit();
  CreateDeleteFileList(list, nStillOnly ? VXKIND_STILL : 0);
  if (!pEdit || list.IsEmpty()) {
    pCore->Release();
    list.RemoveAll();
    return 1;
  }
  ::InterlockedIncrement(&m_pBusy->lCount);
  std::vector<DiscItem> items;
  const CThumbnailList& sel = pDoc->GetSelectList();
  for (POSITION pos = sel.GetHeadPosition(); pos;) {
    CThumbnail* p = sel.GetNext(pos);
    if (!p || !p->IsDiscContent() || (nStillOnly && (p->GetKindFlags() & VXKIND_STILL) != VXKIND_STILL)) continue;
    DiscItem item;
    item.path = p->GetFilePath();
    p->GetDiscRef(item.ref);
    items.push_back(item);
  }
  HWND hOwner = GetSafeHwnd() ? ::GetParent(GetSafeHwnd()) : NULL;
  CResourceLoader loader;
  const CString caption = loader.LoadStringA(IDS_BROWSER_DELETE_CAPTION);
  auto ask = [&](UINT id) {
    return ::MessageBoxA(hOwner, loader.LoadStringA(id), caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  };
  // Every change is followed by the core's own result of it.
  auto followUp = [&](long r) {
    if (r < 0) return r;
    long status = 0;
    long w = pEdit->Wait(-1, &status);
    return w < 0 ? w : status;
  };
  long r = 1;
  const CString first = list.GetHead();
  const CString drive = first.Left(3);
  DWORD state[2] = {0, 0};
  const char letter = (char)toupper((unsigned char)(first.IsEmpty() ? 0 : first[0]));
  if (items.empty()) {
    r = 1;
  } else if ((r = pEdit->GetDriveState(letter - 'A', state)) < 0) {
    // the core's answer ends the road
  } else if (((state[0] & VXBD_STATE_CARD) && (state[1] & VXBD_STATE_PROTECTED)) || (state[0] & VXBD_STATE_READONLY)) {
    ::MessageBoxA(hOwner, loader.LoadStringA(IDS_BROWSER_DISC_PROTECTED), loader.LoadStringA(IDS_BROWSER_DISC_CAPTION),
                  MB_ICONEXCLAMATION);
    r = 1;
  } else if (!ask(IDS_BROWSER_DISC_DELETE)) {
    r = 1;
  } else {
    r = 0;
    for (size_t i = 0; i < items.size() && r >= 0; ++i) {
      const DiscItem& item = items[i];
      // A scene that went with its group, or that another page showed as well.
      if (!::PathFileExistsA(item.path)) continue;
      long count = 0;
      if ((r = pEdit->GetItemCount(item.ref[1], item.ref[2], &count)) < 0) break;
      // The group goes whole only when all of its scenes are selected: the selection's own
      // scenes of that group are counted, not the whole list.
      long selected = 0;
      for (const DiscItem& other : items)
        if (SameGroup(other, item) && ::PathFileExistsA(other.path)) ++selected;
      if (count != selected) {
        r = followUp(pEdit->DeleteItem(item.ref[1], item.ref[2], item.ref[3]));
        continue;
      }
      long groups = 0;
      if ((r = pEdit->GetGroupCount(item.ref[1], &groups)) < 0) break;
      const long remaining = groups - GetDCIMFoldetCount(drive);
      if (remaining > 1) {
        if (!ask(IDS_BROWSER_DISC_DELETE_GROUP)) {
          r = 1;
          break;
        }
        r = followUp(pEdit->DeleteGroup(item.ref[1], item.ref[2]));
        continue;
      }
      int hMedium = -1;
      if (!CheckDCIMFolder(remaining, drive, &hMedium)) {
        if (!ask(IDS_BROWSER_DISC_DELETE_LAST)) {
          if (hMedium != -1) pEdit->ReleaseMedium(hMedium);
          r = 1;
          break;
        }
        r = followUp(hMedium != -1 ? pEdit->ClearMedium(hMedium) : E_HANDLE);
        break;
      }
      // The card keeps its pictures: the movies go scene by scene, the kept handle is let go.
      if (hMedium != -1) pEdit->ReleaseMedium(hMedium);
      r = followUp(pEdit->DeleteItem(item.ref[1], item.ref[2], item.ref[3]));
    }
  }
  CheckDeletePathList(list);
  UnmarkDeleted(list);
  if (::InterlockedDecrement(&m_pBusy->lCount) < 0) ::InterlockedExchange(&m_pBusy->lCount, 0);
  if (m_hManager) ::PostMessageA(m_hManager, WM_REFRESH_FOLDERS, (WPARAM)GetSafeHwnd(), 0);
  pCore->Release();
  return r;
}

int CVxGUITrans::CheckDCIMFolder(long nCount, LPCSTR pszDrive, int* phMedium) {
  if (phMedium) *phMedium = -1;
  IVxBDCoreObject* pCore = GetVxBDCoreObject();
  if (!pCore) return 1;
  IVxBDDiscEdit* pEdit = pCore->GetDiscEdit();
  std::wstring drive = textkit::AnsiToWide(pszDrive ? pszDrive : "");
  int h = -1;
  const long answer = pEdit ? pEdit->RequestMedium(nCount, drive.c_str(), 1, &h) : E_FAIL;
  int ok = 0;
  if (answer >= 0) {
    if (answer == VXBD_S_LAST_GROUP && phMedium) *phMedium = h;
    ok = pEdit->UseMedium(h) >= 0 ? 1 : 0;
    if (answer != VXBD_S_LAST_GROUP) pEdit->ReleaseMedium(h);
  }
  pCore->Release();
  return ok;
}

int CVxGUITrans::GetDCIMFoldetCount(LPCSTR pszDrive) {
  CString pattern;
  pattern.Format("%sDCIM\\*.*", pszDrive ? pszDrive : "");
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA(pattern, &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do
    if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && fd.cFileName[0] != '.') ++n;
  while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  return n;
}

// ---- Checks ------------------------------------------------------------------------------------

long CVxGUITrans::CheckDeletePathList(CStringList& list) {
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    POSITION at = pos;
    if (::PathFileExistsA(list.GetNext(pos))) list.RemoveAt(at);
  }
  return 0;
}

int CVxGUITrans::IsExistNotSupportContFile(LPCSTR pszPath) {
  if (!pszPath || !*pszPath) return 0;
  DWORD attr = ::GetFileAttributesA(pszPath);
  const BOOL bFolder = attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
  CString pattern;
  if (bFolder)
    pattern.Format("%s\\*.*", pszPath);
  else
    pattern = pszPath;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA(pattern, &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int hit = 0;
  do {
    if (DeleteIsDotEntry(fd.cFileName)) continue;
    CString found;
    if (bFolder)
      found.Format("%s\\%s", pszPath, fd.cFileName);
    else
      found = pszPath;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // Junctions and links may lead back up the tree: they are not followed.
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
      if (bFolder) hit = IsExistNotSupportContFile(found);
      continue;
    }
    LPCSTR dot = strrchr(fd.cFileName, '.');
    if (!dot || strcmp(dot, ".cont") != 0) continue;
    CString maker, model;
    if (GetGettingMakerCode(found, &maker, &model) && !IsCompSupportMaker(maker, model)) hit = 1;
  } while (!hit && ::FindNextFileA(h, &fd));
  ::FindClose(h);
  return hit;
}

int CVxGUITrans::GetGettingMakerCode(LPCSTR pszPath, CString* pMaker, CString* pModel) {
  if (!pszPath || !pMaker || !pModel || !m_hClipFacts) return 0;
  PFNCLIPFACTSCREATE create = (PFNCLIPFACTSCREATE)::GetProcAddress(m_hClipFacts, "DllCreateInstance");
  if (!create) return 0;
  IClipFacts* pFacts = NULL;
  if (FAILED(create(CLSID_ClipFacts, IID_IClipFacts, (void**)&pFacts)) || !pFacts) return 0;
  int ok = 0;
  std::wstring wide = textkit::AnsiToWide(pszPath);
  CLIPFACTSINFO info = {};
  info.cbSize = sizeof(info);
  if (SUCCEEDED(pFacts->Open(wide.c_str())) && SUCCEEDED(pFacts->GetInfo(&info))) {
    *pMaker = textkit::WideToAnsi(info.szMaker).c_str();
    *pModel = textkit::WideToAnsi(info.szModel).c_str();
    ok = 1;
  }
  pFacts->Release();
  return ok;
}

int CVxGUITrans::IsCompSupportMaker(LPCSTR pszMaker, LPCSTR pszModel) {
  return CThumbnail::IsCompSupportMaker(pszMaker, pszModel);
}

int TransAppendContMembers(LPCSTR pszContPath, CStringList& out) {
  HPRPROPERTY h = pszContPath ? PrInitGetPropertyString(pszContPath, 0) : NULL;
  if (!h) return 0;
  CString path(pszContPath);
  CString folder = path.Left((int)(::PathFindFileNameA(path) - (LPCSTR)path));
  int n = DeleteAppendMembers(PrGetPropertyString(h, PRID_MEMBERS), folder, out);
  PrExitGetPropertyString(h);
  return n;
}
