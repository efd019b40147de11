// Dialog windows, modal dialogs and dialog data exchange.
#include <fw/fw.h>

#include <cerrno>
#include <cstdlib>

#include "ctrlutil.h"
#include "threadstate.h"

// ----- dialog windows of any CWnd -----

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    // The dialog's own initialisation decides the focus.
    CDialog* pDlg = DYNAMIC_DOWNCAST(CDialog, CWnd::FromHandlePermanent(hWnd));
    return pDlg ? pDlg->OnInitDialog() : TRUE;
  }
  return FALSE;
}

BOOL CWnd::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst) {
  if (!hInst) hInst = AfxGetResourceHandle();
  m_nModalResult = -1;
  m_nFlags |= WF_CONTINUEMODAL;
  HWND hWnd = nullptr;
  AfxHookWindowCreate(this);
  try {
    hWnd = ::CreateDialogIndirectParamA(hInst, lpDialogTemplate, pParentWnd->GetSafeHwnd(), AfxDlgProc, 0);
  } catch (CException* e) {
    e->Delete();
    m_nModalResult = -1;
  } catch (...) {
    m_nModalResult = -1;
  }
  // No window was ever made: nothing ran OnNcDestroy, so clean up here. Past this point a
  // failed window has been through OnNcDestroy, and a view has deleted itself: touch no
  // member then.
  if (!AfxUnhookWindowCreate()) {
    PostNcDestroy();
    return FALSE;
  }
  if (!hWnd) return FALSE;
  // EndDialog during OnInitDialog: the dialog never shows.
  if (!(m_nFlags & WF_CONTINUEMODAL)) {
    ::DestroyWindow(hWnd);
    return FALSE;
  }
  return TRUE;
}

BOOL CWnd::CreateDlg(LPCSTR lpszTemplateName, CWnd* pParentWnd) {
  HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
  HRSRC hResource = ::FindResourceA(hInst, lpszTemplateName, RT_DIALOG);
  HGLOBAL hTemplate = hResource ? ::LoadResource(hInst, hResource) : nullptr;
  if (!hTemplate) {
    PostNcDestroy();  // as for any window that was never made
    return FALSE;
  }
  LPCDLGTEMPLATE lpTemplate = (LPCDLGTEMPLATE)::LockResource(hTemplate);
  BOOL bResult = CreateDlgIndirect(lpTemplate, pParentWnd, hInst);
  ::FreeResource(hTemplate);
  return bResult;
}

// ----- data exchange -----

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  // No control notifications while the controls are filled.
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  HWND hWndOldLockout = pState->m_hLockoutNotifyWindow;
  pState->m_hLockoutNotifyWindow = m_hWnd;
  BOOL bOK = FALSE;
  try {
    DoDataExchange(&dx);
    bOK = TRUE;
  } catch (CUserException* e) {
    e->Delete();  // the user was told already
  } catch (CException* e) {
    e->ReportError(MB_ICONEXCLAMATION);
    e->Delete();
  }
  pState->m_hLockoutNotifyWindow = hWndOldLockout;
  return bOK;
}

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_idLastControl(nullptr), m_bEditLastControl(FALSE) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
  if (!hWndCtrl) AfxThrowNotSupportedException();
  m_idLastControl = hWndCtrl;
  m_bEditLastControl = FALSE;
  return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND hWndCtrl = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return hWndCtrl;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_idLastControl) {
    ::SetFocus(m_idLastControl);
    if (m_bEditLastControl) ::SendMessageA(m_idLastControl, EM_SETSEL, 0, -1);
  }
  AfxThrowUserException();
}

BOOL AFXAPI AfxParseInteger(LPCSTR lpsz, BOOL bSigned, LONGLONG llMin, LONGLONG llMax, LONGLONG* pValue) {
  while (*lpsz == ' ' || *lpsz == '\t') ++lpsz;
  if (!bSigned && *lpsz == '-') return FALSE;
  if (!*lpsz) return FALSE;
  char* pEnd = nullptr;
  errno = 0;
  LONGLONG ll = strtoll(lpsz, &pEnd, 10);
  if (pEnd == lpsz || errno == ERANGE) return FALSE;
  while (*pEnd == ' ' || *pEnd == '\t') ++pEnd;
  if (*pEnd) return FALSE;
  if (ll < llMin || ll > llMax) return FALSE;
  *pValue = ll;
  return TRUE;
}

// Texts of the framework's own validation messages.
static const char kEnterInteger[] = "整数を入力してください。";
static const char kEnterPositive[] = "正の整数を入力してください。";

static void TextAsInteger(CDataExchange* pDX, int nIDC, BOOL bSigned, LONGLONG llMin, LONGLONG llMax,
                          LONGLONG* pValue) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    char sz[64];
    ::GetWindowTextA(hWndCtrl, sz, sizeof(sz));
    if (!AfxParseInteger(sz, bSigned, llMin, llMax, pValue)) {
      AfxMessageBox(bSigned ? kEnterInteger : kEnterPositive, MB_ICONEXCLAMATION);
      pDX->Fail();
    }
  } else {
    CString text;
    text.Format("%I64d", *pValue);
    ::SetWindowTextA(hWndCtrl, text);
  }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
  LONGLONG ll = value;
  TextAsInteger(pDX, nIDC, TRUE, INT_MIN, INT_MAX, &ll);
  value = (int)ll;
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
  LONGLONG ll = value;
  TextAsInteger(pDX, nIDC, FALSE, 0, UINT_MAX, &ll);
  value = (UINT)ll;
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
  LONGLONG ll = value;
  TextAsInteger(pDX, nIDC, TRUE, LONG_MIN, LONG_MAX, &ll);
  value = (long)ll;
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value) {
  LONGLONG ll = value;
  TextAsInteger(pDX, nIDC, FALSE, 0, 0xFFFFFFFFLL, &ll);
  value = (DWORD)ll;
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    AfxGetWindowText(hWndCtrl, value);
  } else {
    ::SetWindowTextA(hWndCtrl, value);
  }
}

void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
  if (pDX->m_bSaveAndValidate && value.GetLength() > nChars) {
    CString msg;
    msg.Format("%d 文字以内で入力してください。", nChars);
    AfxMessageBox(msg, MB_ICONEXCLAMATION);
    pDX->Fail();
  } else if (!pDX->m_bSaveAndValidate && pDX->m_idLastControl && pDX->m_bEditLastControl) {
    // The edit itself refuses longer texts.
    ::SendMessageA(pDX->m_idLastControl, EM_LIMITTEXT, (WPARAM)nChars, 0);
  }
}

static void FailRange(CDataExchange* pDX, LONGLONG llMin, LONGLONG llMax) {
  CString msg;
  msg.Format("%I64d から %I64d までの整数を入力してください。", llMin, llMax);
  AfxMessageBox(msg, MB_ICONEXCLAMATION);
  pDX->Fail();
}

void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
  if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) FailRange(pDX, minVal, maxVal);
}

void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
  if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) FailRange(pDX, minVal, maxVal);
}

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = (int)::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0);
  else
    ::SendMessageA(hWndCtrl, BM_SETCHECK, (WPARAM)value, 0);
}

static BOOL IsRadioButton(HWND hWnd) {
  if (!(::SendMessageA(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) return FALSE;
  return TRUE;
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) value = -1;
  // The radio buttons from nIDC up to the next control that starts a group.
  int iButton = 0;
  do {
    if (IsRadioButton(hWndCtrl)) {
      if (pDX->m_bSaveAndValidate) {
        if (::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0) == BST_CHECKED) value = iButton;
      } else {
        ::SendMessageA(hWndCtrl, BM_SETCHECK, iButton == value ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      iButton++;
    }
    hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
  } while (hWndCtrl && !(::GetWindowLongPtrA(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

// The selected index of a list or combo box (nGetMsg / nSetMsg: its CURSEL messages).
static void ExchangeSelection(CDataExchange* pDX, int nIDC, int& index, UINT nGetMsg, UINT nSetMsg) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    index = (int)::SendMessageA(hWndCtrl, nGetMsg, 0, 0);
  else
    ::SendMessageA(hWndCtrl, nSetMsg, (WPARAM)index, 0);
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
  ExchangeSelection(pDX, nIDC, index, CB_GETCURSEL, CB_SETCURSEL);
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    // A drop list has no edit: its text is the selected item's.
    int nSel = (int)::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0);
    if ((::GetWindowLongPtrA(hWndCtrl, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST && nSel != CB_ERR)
      fwctl::ReadItemText(hWndCtrl, CB_GETLBTEXTLEN, CB_GETLBTEXT, nSel, value);
    else
      AfxGetWindowText(hWndCtrl, value);
  } else {
    if (::SendMessageA(hWndCtrl, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCSTR)value) == CB_ERR)
      ::SetWindowTextA(hWndCtrl, value);
  }
}

void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
  ExchangeSelection(pDX, nIDC, index, LB_GETCURSEL, LB_SETCURSEL);
}

void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    int nSel = (int)::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0);
    if (nSel == LB_ERR) {
      value.Empty();
      return;
    }
    fwctl::ReadItemText(hWndCtrl, LB_GETTEXTLEN, LB_GETTEXT, nSel, value);
  } else {
    ::SendMessageA(hWndCtrl, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCSTR)value);
  }
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd) return;
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (!rControl.SubclassWindow(hWndCtrl)) AfxThrowNotSupportedException();
}

// ----- CDialog -----

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, &CDialog::OnOKCommand)
  ON_COMMAND(IDCANCEL, &CDialog::OnCancelCommand)
  ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
  ON_MESSAGE(WM_SETFONT, &CDialog::HandleSetFont)
END_MESSAGE_MAP()

CDialog::CDialog()
    : m_lpszTemplateName(nullptr),
      m_nIDHelp(0),
      m_lpDialogTemplate(nullptr),
      m_hDialogTemplate(nullptr),
      m_pParentWnd(nullptr),
      m_hWndTop(nullptr),
      m_bHoldOtherCloses(FALSE) {}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd) : CDialog() {
  m_lpszTemplateName = lpszTemplateName;
  m_pParentWnd = pParentWnd;
  if (IS_INTRESOURCE(lpszTemplateName)) m_nIDHelp = (UINT)(UINT_PTR)lpszTemplateName;
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog() {
  m_lpszTemplateName = MAKEINTRESOURCEA(nIDTemplate);
  m_pParentWnd = pParentWnd;
  m_nIDHelp = nIDTemplate;
}

CDialog::~CDialog() {}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd) {
  m_lpszTemplateName = lpszTemplateName;
  if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0) m_nIDHelp = (UINT)(UINT_PTR)lpszTemplateName;
  if (!pParentWnd) pParentWnd = AfxGetMainWnd();
  m_pParentWnd = pParentWnd;
  return CreateDlg(lpszTemplateName, pParentWnd);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) { return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd); }

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst) {
  if (!pParentWnd) pParentWnd = AfxGetMainWnd();
  m_pParentWnd = pParentWnd;
  return CreateDlgIndirect(lpDialogTemplate, pParentWnd, hInst);
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd) {
  m_lpDialogTemplate = lpDialogTemplate;
  m_pParentWnd = pParentWnd;
  return TRUE;
}

HWND CDialog::PreModal() {
  HWND hWnd = CWnd::GetSafeOwner_(m_pParentWnd->GetSafeHwnd(), &m_hWndTop);
  AfxHookWindowCreate(this);
  return hWnd;
}

void CDialog::PostModal() {
  AfxUnhookWindowCreate();
  Detach();
  if (::IsWindow(m_hWndTop)) ::EnableWindow(m_hWndTop, TRUE);
  m_hWndTop = nullptr;
}

INT_PTR CDialog::DoModal() {
  LPCDLGTEMPLATE lpDialogTemplate = m_lpDialogTemplate;
  HGLOBAL hDialogTemplate = m_hDialogTemplate;
  HINSTANCE hInst = AfxGetResourceHandle();
  if (m_lpszTemplateName) {
    hInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    HRSRC hResource = ::FindResourceA(hInst, m_lpszTemplateName, RT_DIALOG);
    hDialogTemplate = hResource ? ::LoadResource(hInst, hResource) : nullptr;
  }
  if (hDialogTemplate) lpDialogTemplate = (LPCDLGTEMPLATE)::LockResource(hDialogTemplate);
  if (!lpDialogTemplate) return -1;

  AfxModalLoopScope modal;  // the dialog's creation pumps too
  HWND hWndParent = PreModal();
  AfxUnhookWindowCreate();
  BOOL bEnableParent = FALSE;
  if (hWndParent && hWndParent != ::GetDesktopWindow() && ::IsWindowEnabled(hWndParent)) {
    ::EnableWindow(hWndParent, FALSE);
    bEnableParent = TRUE;
  }
  try {
    if (CreateDlgIndirect(lpDialogTemplate, CWnd::FromHandle(hWndParent), hInst)) {
      if (m_nFlags & WF_CONTINUEMODAL) {
        DWORD dwFlags = MLF_SHOWONIDLE;
        if (GetStyle() & DS_NOIDLEMSG) dwFlags |= MLF_NOIDLEMSG;
        if (m_bHoldOtherCloses) dwFlags |= MLF_HOLDCLOSES;
        RunModalLoop(dwFlags);
      }
      if (m_hWnd)
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
  } catch (CException* e) {
    e->Delete();
    m_nModalResult = -1;
  } catch (...) {
    m_nModalResult = -1;
  }
  if (bEnableParent) ::EnableWindow(hWndParent, TRUE);
  if (hWndParent && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hWndParent);
  DestroyWindow();
  PostModal();
  return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
  if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) EndModalLoop(nResult);
  ::EndDialog(m_hWnd, nResult);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
  PreInitDialog();
  return Default();  // the dialog procedure calls OnInitDialog
}

LRESULT CDialog::HandleSetFont(WPARAM wParam, LPARAM) {
  OnSetFont(CFont::FromHandle((HFONT)wParam));
  return Default();
}

void CDialog::OnSetFont(CFont*) {}

void CDialog::PreInitDialog() {}

BOOL CDialog::OnInitDialog() {
  if (!UpdateData(FALSE)) {
    EndDialog(-1);
    return FALSE;
  }
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnOKCommand() { OnOK(); }

void CDialog::OnCancelCommand() { OnCancel(); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  // Esc in a multi-line edit would otherwise be swallowed by the edit.
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_CANCEL) &&
      (::GetWindowLongPtrA(pMsg->hwnd, GWL_STYLE) & ES_MULTILINE)) {
    char cls[16] = "";
    ::GetClassNameA(pMsg->hwnd, cls, sizeof(cls));
    if (lstrcmpiA(cls, "Edit") == 0) {
      HWND hItem = ::GetDlgItem(m_hWnd, IDCANCEL);
      if (!hItem || ::IsWindowEnabled(hItem)) {
        SendMessage(WM_COMMAND, IDCANCEL, 0);
        return TRUE;
      }
    }
  }
  return PreTranslateInput(pMsg);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
  if (pWndCtrl) SendMessage(WM_NEXTDLGCTL, (WPARAM)pWndCtrl->m_hWnd, 1);
}

void CDialog::NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }

void CDialog::PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }

void CDialog::SetDefID(UINT nID) { SendMessage(DM_SETDEFID, nID); }

DWORD CDialog::GetDefID() const { return (DWORD)SendMessage(DM_GETDEFID); }

void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }
