// The system's common dialogs: file open and save (CFileDialog), colour (CColorDialog)
// and printer set-up (CPrintDialog).
//
// Each holds the system's record (m_ofn, m_cc, m_pd) for the caller to adjust before
// DoModal, which returns IDOK or IDCANCEL (CommDlgExtendedError tells a failure from a
// cancel). The colour dialog runs through its object from WM_INITDIALOG on: a derived
// class's message map sees the dialog's messages, OnInitDialog may add controls, and a
// handler may end it with EndDialog(IDOK).
#pragma once
#include <fw/dialog.h>
#include <commdlg.h>

class FW_API CCommonDialog : public CDialog {
  DECLARE_DYNAMIC(CCommonDialog)
 public:
  explicit CCommonDialog(CWnd* pParentWnd);

 protected:
  // OK and Cancel belong to the system's dialog procedure.
  void OnOK() override;
  void OnCancel() override;
  // The owner for the system's modal run (the parent's top-level window disabled, as
  // for our own modal dialogs); EndSystemModal undoes it.
  HWND BeginSystemModal();
  void EndSystemModal();
};

// Converts the framework's filter format, "Text|*.txt|All|*.*||", to the system's
// NUL-separated one (double-byte aware: a '|' trail byte stays): each part followed by a
// NUL, so that with the string's own terminator the list ends in two.
FW_API CString AFXAPI AfxFilterToSystem(LPCSTR lpszFilter);

class FW_API CFileDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CFileDialog)
 public:
  explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = NULL, LPCSTR lpszFileName = NULL,
                       DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = NULL,
                       CWnd* pParentWnd = NULL);
  ~CFileDialog() override;

  OPENFILENAMEA m_ofn;  // lpstrInitialDir, Flags, nFilterIndex... are the caller's

  INT_PTR DoModal() override;

  CString GetPathName() const;   // the chosen file (the first with OFN_ALLOWMULTISELECT)
  CString GetFileName() const;   // its name with extension
  CString GetFileExt() const;    // its extension without the dot
  CString GetFileTitle() const;  // its name without extension
  CString GetFolderPath() const;
  BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }
  // OFN_ALLOWMULTISELECT: every chosen file in turn.
  POSITION GetStartPosition() const;
  CString GetNextPathName(POSITION& pos) const;

 protected:
  BOOL m_bOpenFileDialog;
  CString m_strFilter;
  CString m_strDefExt;
  CString m_strTitle;
  char* m_pszFile;  // m_ofn.lpstrFile
  char m_szFileTitle[MAX_PATH];
};

class FW_API CColorDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CColorDialog)
 public:
  // A non-zero colour sets CC_RGBINIT; callers may set it themselves for black.
  explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = NULL);

  CHOOSECOLORA m_cc;

  INT_PTR DoModal() override;
  COLORREF GetColor() const { return m_cc.rgbResult; }
  // The sixteen custom colours, shared by every colour dialog of the process.
  static COLORREF* PASCAL GetSavedCustomColors();
};

class FW_API CPrintDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CPrintDialog)
 public:
  // bPrintSetupOnly: the print set-up dialog.
  explicit CPrintDialog(BOOL bPrintSetupOnly,
                        DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                        PD_NOSELECTION,
                        CWnd* pParentWnd = NULL);

  // hDevMode and hDevNames are the caller's: the dialog neither frees nor replaces them
  // except by the system's own choice in DoModal and GetDefaults.
  PRINTDLGA m_pd;

  INT_PTR DoModal() override;
  // Fills m_pd with the default printer's settings without a dialog. FALSE when there is
  // no default printer (CommDlgExtendedError: PDERR_NODEFAULTPRN); m_pd is left as it was.
  BOOL GetDefaults();

  // From m_pd.hDevNames / hDevMode; empty (or NULL) when there are none.
  CString GetDeviceName() const;
  CString GetDriverName() const;
  CString GetPortName() const;
  // The device mode, locked (GlobalUnlock(m_pd.hDevMode) when done); NULL without one.
  LPDEVMODEA GetDevMode() const;
  HDC CreatePrinterDC();  // the caller deletes it; NULL without a printer
  int GetCopies() const;
  BOOL PrintAll() const { return (m_pd.Flags & (PD_PAGENUMS | PD_SELECTION)) == 0; }
  BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
  BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
  int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
  int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }

 protected:
  CString DevNamesPart(int nPart) const;
};
