// CVxGUITrans: turning the selected pictures by a quarter turn, file by file, on a worker
// behind a modal progress dialog that asks before touching read-only files.
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <OwnMessages.h>
#include <VxGUIDB.h>
#include <VxResourceIds.h>
#include <shlwapi.h>

#include <vector>

#include "RotateRules.h"
#include "TransInternal.h"

namespace {
const UINT WM_ROTATION_PROGRESS = WM_USER + 13;
static_assert(ownmsg::Listed(WM_ROTATION_PROGRESS, ownmsg::kOwnRecord), "its row in OwnMessages.h");

// What the worker hands the dialog for one file; the dialog fills the answer. It belongs to
// the dialog: after a Cancel the worker leaves without waiting, while the question it asked
// may still be open and its answer still to be written.
struct VXROTATEFILE {
  CString strPath;
  int nIndex = 0;
  int nAnswer = 0;
  BOOL bReadOnly = FALSE;
};
}  // namespace

class CRotationProgressDlg : public CDialog {
 public:
  CRotationProgressDlg(CVxGUITrans* pTrans, int nAngle, CWnd* pParent)
      : CDialog(IDD_ROTATION_PROGRESS, pParent), m_pTrans(pTrans), m_nAngle(nAngle) {
    m_hEvent = ::CreateEventA(NULL, TRUE, TRUE, NULL);
  }
  ~CRotationProgressDlg() override {
    // The worker may still wait for an answer: let it go until it ends.
    if (m_hThread) {
      m_bCancel = TRUE;
      while (::WaitForSingleObject(m_hThread, 0) == WAIT_TIMEOUT) {
        if (m_hEvent) ::SetEvent(m_hEvent);
        ::WaitForSingleObject(m_hThread, 1000);
      }
      ::CloseHandle(m_hThread);
    }
    if (m_hEvent) ::CloseHandle(m_hEvent);
  }
  void SetSelectionList(const CThumbnailList& list) {
    for (POSITION pos = list.GetHeadPosition(); pos;)
      if (CThumbnail* p = list.GetNext(pos)) m_items.push_back(p);
  }
  int Total() const { return (int)m_items.size(); }

  volatile LONG m_nWriteFailures = 0;
  BOOL m_bUnsupported = FALSE, m_bNoAttributes = FALSE, m_bProtected = FALSE;
  volatile BOOL m_bCancel = FALSE;
  CStringList m_output;  // the path each rotation reported

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    SetWindowTextA(CResourceLoader().LoadStringA(IDS_BROWSER_ROTATE_CAPTION));
    ::SendDlgItemMessageA(m_hWnd, IDC_ROTATION_PROGRESS, PBM_SETRANGE32, 0, Total());
    // Shown before the worker starts: the modal loop shows it only once idle, and the first
    // question may come before that, leaving no progress and no Cancel while it is open.
    ShowWindow(SW_SHOWNORMAL);
    UpdateWindow();
    if (!m_hEvent) {
      EndDialog(IDCANCEL);
      return TRUE;
    }
    DWORD id = 0;
    m_hThread = ::CreateThread(NULL, 0, ThreadProc, this, CREATE_SUSPENDED, &id);
    if (!m_hThread) {
      ::InterlockedIncrement(&m_nWriteFailures);
      EndDialog(IDCANCEL);
      return TRUE;
    }
    ::ResumeThread(m_hThread);
    return TRUE;
  }
  void OnOK() override {}
  // Cancel stops before the next file. The worker may be waiting for the dialog's answer:
  // it is let go, and messages are answered while it ends.
  void OnCancel() override {
    m_bCancel = TRUE;
    if (m_hEvent) ::SetEvent(m_hEvent);
    while (m_hThread && ::MsgWaitForMultipleObjects(1, &m_hThread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
      MSG msg;
      while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
      }
    }
    if (m_hWnd) EndDialog(IDCANCEL);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_ROTATION_PROGRESS) return CDialog::WindowProc(message, wParam, lParam);
    // Only the worker's own steps count (anyone can post this number): its record while it
    // waits for the answer, its end once it has finished.
    if (wParam == 1 && (lParam != (LPARAM)&m_file || !::InterlockedExchange(&m_lAsking, 0))) return 0;
    if (wParam != 1 && !m_lFinished) return 0;
    if (wParam == 1) {
      VXROTATEFILE* rec = reinterpret_cast<VXROTATEFILE*>(lParam);
      const char* name = ::PathFindFileNameA(rec->strPath);
      CString format = CResourceLoader().LoadStringA(IDS_BROWSER_ROTATE_PROGRESS), text;
      text.Format(format, name, rec->nIndex, Total());
      SetDlgItemTextA(IDC_ROTATION_TEXT, text);
      ::SendDlgItemMessageA(m_hWnd, IDC_ROTATION_PROGRESS, PBM_SETPOS, rec->nIndex, 0);
      UpdateWindow();
      BOOL ro = FALSE;
      rec->nAnswer = m_bCancel ? IDCANCEL : AskReadOnly(rec->strPath, &ro);
      rec->bReadOnly = ro;
      ::SetEvent(m_hEvent);
      return 0;
    }
    if ((int)lParam == 39)
      GuardedMessageBoxId(m_hWnd, IDS_BROWSER_DISK_FULL, MB_ICONERROR);
    else if (m_bUnsupported)
      GuardedMessageBoxId(m_hWnd, IDS_BROWSER_ROTATE_UNSUPPORTED, MB_ICONERROR);
    EndDialog(IDOK);
    return 0;
  }

 private:
  int AskReadOnly(LPCSTR pszPath, BOOL* pbReadOnly) {
    *pbReadOnly = FALSE;
    DWORD attr = ::GetFileAttributesA(pszPath);
    if (attr == INVALID_FILE_ATTRIBUTES) {
      *pbReadOnly = TRUE;
      m_bNoAttributes = TRUE;
      return IDNO;
    }
    if (!(attr & FILE_ATTRIBUTE_READONLY)) return IDYES;
    *pbReadOnly = TRUE;
    if (RotateAnswerIsForAll(m_nForAll)) return m_nForAll;
    CString text = CResourceLoader().LoadStringA(IDS_BROWSER_ROTATE_READONLY);
    text.Replace("%s", ::PathFindFileNameA(pszPath));
    int answer = CMTLxMessageBox(m_hWnd, text, CMTLGetAppName(), RotateQuestionType(Total()));
    if (RotateAnswerIsForAll(answer)) m_nForAll = answer;
    return answer;
  }

  static DWORD WINAPI ThreadProc(LPVOID pv) { return static_cast<CRotationProgressDlg*>(pv)->Run(); }
  DWORD Run() {
    CMTLSetLocale();
    const BOOL bCom = SUCCEEDED(::CoInitializeEx(NULL, COINIT_APARTMENTTHREADED));
    BOOL bSession = FALSE;
    int result = 0;
    for (int i = 0; i < Total(); ++i) {
      if (RotateRenewsSession(i + 1) && bCom) {
        // No database session lives for the whole run.
        if (bSession) VxGUIDBFinalize();
        bSession = SUCCEEDED(VxGUIDBInitialize());
      }
      if (m_bCancel) break;
      result = RotateOne(m_items[i], i + 1);
      const VXROTATESTEP step = RotateStepAfter(result);
      if (result == 19) m_bProtected = TRUE;
      if (step == VXROTATE_NEXT_FAILED) ::InterlockedIncrement(&m_nWriteFailures);
      if (step == VXROTATE_END) break;
    }
    if (bSession) VxGUIDBFinalize();
    if (bCom) ::CoUninitialize();
    ::InterlockedExchange(&m_lFinished, 1);
    ::PostMessageA(m_hWnd, WM_ROTATION_PROGRESS, 0, result);
    return 0;
  }

  int RotateOne(CThumbnail* pItem, int nIndex) {
    CString path = pItem->GetFilePath();
    if (path.IsEmpty() || !pItem->IsValidPath()) return 29;
    pItem->DecodeThumbnail();
    if (!(pItem->GetKindFlags() & VXKIND_STILL) || (pItem->GetKindFlags() & VXKIND_RAW) || !pItem->GetExifData()) {
      m_bUnsupported = TRUE;
      return 0;
    }
    CString root = path;
    if (root.Right(1) == ":") root += "\\";
    if (CMTLGetDiskSpaceEx(root) == 0) return 39;

    VXROTATEFILE& rec = m_file;
    rec.strPath = path;
    rec.nIndex = nIndex;
    rec.nAnswer = 0;
    rec.bReadOnly = FALSE;
    ::ResetEvent(m_hEvent);
    ::InterlockedExchange(&m_lAsking, 1);
    ::PostMessageA(m_hWnd, WM_ROTATION_PROGRESS, 1, (LPARAM)&rec);
    ::WaitForSingleObject(m_hEvent, INFINITE);
    if (m_bCancel) return -1;
    DWORD attr = ::GetFileAttributesA(path);
    if (rec.bReadOnly) {
      switch (RotateAfterAnswer(rec.nAnswer)) {
        case VXROTATE_STOP: return -1;
        case VXROTATE_SKIP: return 0;
        case VXROTATE_TURN: break;
      }
      if (attr == INVALID_FILE_ATTRIBUTES || !::SetFileAttributesA(path, attr & ~FILE_ATTRIBUTE_READONLY)) return 29;
    }
    // Replace the file, losslessly where the format allows; the user's own settings for
    // the rotate tool are neither used nor touched.
    char newPath[521] = "";
    int r = pItem->Rotation(m_nAngle, 0, 0, newPath, sizeof(newPath));
    m_output.AddTail(newPath);
    if (rec.bReadOnly) ::SetFileAttributesA(path, attr);
    if (r) return r;
    pItem->ClearImage(TRUE);
    return 0;
  }

  CVxGUITrans* m_pTrans;
  int m_nAngle;
  int m_nForAll = 2;  // none yet
  HANDLE m_hEvent = NULL, m_hThread = NULL;
  std::vector<CThumbnail*> m_items;
  VXROTATEFILE m_file;
  volatile LONG m_lAsking = 0;    // the worker posted m_file and waits for the answer
  volatile LONG m_lFinished = 0;  // the worker posted its end
};

int CVxGUITrans::SelItemRotation(int nAngle) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || pDoc->GetSelectList().IsEmpty() || !m_pView) return 1;
  // The reload after a rotation finds the item again by these.
  CThumbnail* pLast = pDoc->GetLastSelectedItem();
  if (pLast && m_pSelectKeeper) {
    m_pSelectKeeper->strFile = pLast->GetFilePath();
    m_pSelectKeeper->strPage = pLast->GetPage() ? pLast->GetPage()->GetName() : CString();
  }
  CWaitCursor wait;
  // The decoder reads the files that are about to change: it waits until they are done.
  Thread_Stop();
  CRotationProgressDlg dlg(this, nAngle, m_pView);
  dlg.SetSelectionList(pDoc->GetSelectList());
  {
    CResourceChanger change;
    dlg.DoModal();
  }
  const HWND hView = GetSafeHwnd();
  if (dlg.m_bNoAttributes) GuardedMessageBoxId(hView, IDS_BROWSER_ROTATE_ATTRIBUTES, MB_OKCANCEL | MB_ICONERROR);
  const LONG failures = dlg.m_nWriteFailures;
  if (dlg.m_bProtected) {
    SystemErrorBox(hView, 0x13);
  } else if (failures) {
    UINT id = dlg.Total() == 1 ? IDS_BROWSER_ROTATE_WRITE_FAILED : IDS_BROWSER_ROTATE_WRITE_FAILED_N;
    if (GuardedMessageBoxId(hView, id, MB_OKCANCEL | MB_ICONERROR) == IDOK) {
      ::PostMessageA(hView, WM_BROWSER_RELOAD, 0, 0);
      const BOOL bVirtual = pDoc->GetPageList().GetCount() > 0 && pDoc->GetPageList().GetHead()->IsVirtualFolder();
      if (!bVirtual && m_hManager) ::PostMessageA(m_hManager, WM_REFRESH_FOLDERS, (WPARAM)hView, 0);
    }
  } else if (dlg.m_output.IsEmpty()) {
    DecodeThread_Start(FALSE);
    return 1;
  }
  // The turned pictures are decoded again and drawn upright.
  SendToAllViews(VXHINT_SELECTION, NULL);
  if (m_pView) m_pView->Invalidate();
  DecodeThread_Start(TRUE);
  {
    CBusyScope busy(this);
    RecountFiles();
  }
  return failures ? 0 : 1;
}
