// The common dialogs: file, colour and printer set-up.
#include <fw/commdlg.h>
#include <fw/module.h>

#include <string>

#include <textkit/path.h>
#include <textkit/text.h>
#include "sysdlg.h"

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CPrintDialog, CCommonDialog)

// ===== system-run dialogs =====

BOOL fwdlg::AttachAtInit(CDialog* pDlg, HWND hWnd) {
  if (!pDlg) return TRUE;
  if (pDlg->m_hWnd != hWnd) pDlg->SubclassWindow(hWnd);
  return pDlg->OnInitDialog();
}

HWND fwdlg::BeginModal(CWnd* pParent, HWND* phWndTop) { return CWnd::GetSafeOwner_(pParent->GetSafeHwnd(), phWndTop); }

void fwdlg::EndModal(CWnd* pWnd, HWND* phWndTop) {
  if (*phWndTop && ::IsWindow(*phWndTop)) ::EnableWindow(*phWndTop, TRUE);
  *phWndTop = NULL;
  if (pWnd->m_hWnd && !::IsWindow(pWnd->m_hWnd)) pWnd->Detach();
}

// ===== CCommonDialog =====

CCommonDialog::CCommonDialog(CWnd* pParentWnd) { m_pParentWnd = pParentWnd; }

void CCommonDialog::OnOK() { Default(); }
void CCommonDialog::OnCancel() { Default(); }

HWND CCommonDialog::BeginSystemModal() { return fwdlg::BeginModal(m_pParentWnd, &m_hWndTop); }
void CCommonDialog::EndSystemModal() { fwdlg::EndModal(this, &m_hWndTop); }

// ===== CFileDialog =====

CString AFXAPI AfxFilterToSystem(LPCSTR lpszFilter) {
  std::string out;
  if (lpszFilter) {
    for (const char* p = lpszFilter; *p; p += textkit::CharLength(p)) {
      if (textkit::CharLength(p) == 1 && *p == '|')
        out += '\0';
      else
        out.append(p, (size_t)textkit::CharLength(p));
    }
  }
  // Each part ends with a NUL; "...||" already gave the list's own end.
  while (out.size() >= 2 && out[out.size() - 1] == '\0' && out[out.size() - 2] == '\0') out.pop_back();
  if (!out.empty() && out.back() != '\0') out += '\0';
  return CString(out.data(), (int)out.size());
}

static const DWORD kFileBufferSize = 64 * 1024;  // room for a multiple selection

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_bOpenFileDialog(bOpenFileDialog), m_pszFile(new char[kFileBufferSize]) {
  memset(&m_ofn, 0, sizeof(m_ofn));
  m_szFileTitle[0] = 0;
  m_pszFile[0] = 0;
  if (lpszFileName) lstrcpynA(m_pszFile, lpszFileName, (int)kFileBufferSize);
  m_strFilter = AfxFilterToSystem(lpszFilter);
  if (lpszDefExt) m_strDefExt = lpszDefExt;
  m_ofn.lStructSize = sizeof(m_ofn);
  m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
  m_ofn.lpstrFile = m_pszFile;
  m_ofn.nMaxFile = kFileBufferSize;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = MAX_PATH;
  m_ofn.lpstrFilter = m_strFilter.IsEmpty() ? NULL : (LPCSTR)m_strFilter;
  m_ofn.nFilterIndex = m_ofn.lpstrFilter ? 1 : 0;
  m_ofn.lpstrDefExt = lpszDefExt ? (LPCSTR)m_strDefExt : NULL;
}

CFileDialog::~CFileDialog() { delete[] m_pszFile; }

INT_PTR CFileDialog::DoModal() {
  m_ofn.hwndOwner = BeginSystemModal();
  m_ofn.hInstance = AfxGetResourceHandle();
  BOOL bOK = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
  EndSystemModal();
  return bOK ? IDOK : IDCANCEL;
}

// With a multiple selection the buffer holds the folder, then each name (NUL-separated).
static bool IsMultiSelection(const OPENFILENAMEA& ofn) {
  // The first name then follows the folder's NUL instead of a backslash.
  return (ofn.Flags & OFN_ALLOWMULTISELECT) && ofn.lpstrFile && ofn.nFileOffset > 0 &&
         ofn.lpstrFile[ofn.nFileOffset - 1] == 0;
}

CString CFileDialog::GetPathName() const {
  if (IsMultiSelection(m_ofn)) {
    POSITION pos = GetStartPosition();
    return pos ? GetNextPathName(pos) : CString();
  }
  return CString(m_ofn.lpstrFile);
}

CString CFileDialog::GetFileName() const {
  CString path = GetPathName();
  int n = path.ReverseFind('\\');
  return n >= 0 ? path.Mid(n + 1) : path;
}

CString CFileDialog::GetFileExt() const {
  CString name = GetFileName();
  int n = name.ReverseFind('.');
  return n >= 0 ? name.Mid(n + 1) : CString();
}

CString CFileDialog::GetFileTitle() const {
  CString name = GetFileName();
  int n = name.ReverseFind('.');
  return n >= 0 ? name.Left(n) : name;
}

CString CFileDialog::GetFolderPath() const {
  CString path = GetPathName();
  int n = path.ReverseFind('\\');
  return n >= 0 ? path.Left(n) : CString();
}

POSITION CFileDialog::GetStartPosition() const {
  return m_ofn.lpstrFile && m_ofn.lpstrFile[0] ? (POSITION)m_ofn.lpstrFile : NULL;
}

CString CFileDialog::GetNextPathName(POSITION& pos) const {
  const char* p = (const char*)pos;
  if (!IsMultiSelection(m_ofn)) {
    pos = NULL;
    return CString(p);
  }
  // The first entry is the folder; the names follow it.
  const char* folder = m_ofn.lpstrFile;
  if (p == folder) p += strlen(p) + 1;
  CString path(folder);
  if (path.Right(1) != "\\") path += "\\";
  path += p;
  const char* next = p + strlen(p) + 1;
  pos = *next ? (POSITION)next : NULL;
  return path;
}

// ===== CColorDialog =====

static UINT_PTR CALLBACK ColorHookProc(HWND hDlg, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return 0;
  CColorDialog* pDlg = (CColorDialog*)((CHOOSECOLORA*)lParam)->lCustData;
  return (UINT_PTR)fwdlg::AttachAtInit(pDlg, hDlg);
}

COLORREF* PASCAL CColorDialog::GetSavedCustomColors() {
  static COLORREF s_custom[16] = {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                  RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                  RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                  RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
  return s_custom;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd) {
  memset(&m_cc, 0, sizeof(m_cc));
  m_cc.lStructSize = sizeof(m_cc);
  m_cc.lpCustColors = GetSavedCustomColors();
  m_cc.Flags = dwFlags | CC_ENABLEHOOK;
  m_cc.rgbResult = clrInit;
  if (clrInit != 0) m_cc.Flags |= CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal() {
  m_cc.Flags |= CC_ENABLEHOOK;
  m_cc.lpfnHook = ColorHookProc;
  m_cc.lCustData = (LPARAM)this;
  m_cc.hwndOwner = BeginSystemModal();
  BOOL bOK = ::ChooseColorA(&m_cc);
  EndSystemModal();
  return bOK ? IDOK : IDCANCEL;
}

// ===== CPrintDialog =====

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd) {
  memset(&m_pd, 0, sizeof(m_pd));
  m_pd.lStructSize = sizeof(m_pd);
  m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
  m_pd.nCopies = 1;
  m_pd.nMinPage = m_pd.nFromPage = 1;
  m_pd.nMaxPage = m_pd.nToPage = 0xFFFF;
}

INT_PTR CPrintDialog::DoModal() {
  m_pd.hwndOwner = BeginSystemModal();
  BOOL bOK = ::PrintDlgA(&m_pd);
  EndSystemModal();
  return bOK ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults() {
  // Asked on a copy, so that a failure leaves the record and its handles as they were.
  PRINTDLGA pd = m_pd;
  pd.Flags |= PD_RETURNDEFAULT;
  pd.Flags &= ~PD_RETURNDC;
  pd.hDevMode = NULL;
  pd.hDevNames = NULL;
  pd.hwndOwner = NULL;
  if (!::PrintDlgA(&pd)) return FALSE;
  m_pd.hDevMode = pd.hDevMode;
  m_pd.hDevNames = pd.hDevNames;
  return TRUE;
}

CString CPrintDialog::DevNamesPart(int nPart) const {
  if (!m_pd.hDevNames) return CString();
  LPDEVNAMES p = (LPDEVNAMES)::GlobalLock(m_pd.hDevNames);
  if (!p) return CString();
  WORD offsets[3] = {p->wDriverOffset, p->wDeviceOffset, p->wOutputOffset};
  CString s((LPCSTR)p + offsets[nPart]);
  ::GlobalUnlock(m_pd.hDevNames);
  return s;
}

CString CPrintDialog::GetDriverName() const { return DevNamesPart(0); }
CString CPrintDialog::GetDeviceName() const { return DevNamesPart(1); }
CString CPrintDialog::GetPortName() const { return DevNamesPart(2); }

LPDEVMODEA CPrintDialog::GetDevMode() const {
  return m_pd.hDevMode ? (LPDEVMODEA)::GlobalLock(m_pd.hDevMode) : NULL;
}

HDC CPrintDialog::CreatePrinterDC() {
  CString device = GetDeviceName();
  if (device.IsEmpty()) return NULL;
  LPDEVMODEA pDevMode = GetDevMode();
  HDC hDC = ::CreateDCA(GetDriverName(), device, NULL, pDevMode);
  if (pDevMode) ::GlobalUnlock(m_pd.hDevMode);
  return hDC;
}

int CPrintDialog::GetCopies() const {
  if (m_pd.Flags & PD_USEDEVMODECOPIES) {
    LPDEVMODEA p = GetDevMode();
    if (p) {
      int n = p->dmCopies;
      ::GlobalUnlock(m_pd.hDevMode);
      return n;
    }
  }
  return m_pd.nCopies;
}
