// Dialogs and dialog data exchange.
//
// The modal sequence of DoModal, which a derived class may write again from the same
// steps: find the template (AfxFindResourceHandle), PreModal (the owner; the top-level
// window is disabled), disable the owner, CreateDlgIndirect, RunModalLoop while
// ContinueModal (EndDialog may already have ended it, even from OnInitDialog), hide,
// enable the owner, DestroyWindow, PostModal.
#pragma once
#include <fw/wnd.h>

// Data exchange between a dialog's controls and its members (DoDataExchange).
class FW_API CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

  BOOL m_bSaveAndValidate;  // TRUE: controls -> members (and validation)
  CWnd* m_pDlgWnd;
  HWND m_idLastControl;     // the last control prepared (validation failures focus it)
  BOOL m_bEditLastControl;

  HWND PrepareCtrl(int nIDC);
  HWND PrepareEditCtrl(int nIDC);
  // Validation failed (the user was told): focus the control and stop the exchange.
  [[noreturn]] void Fail();
};

FW_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value);
FW_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
FW_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value);
FW_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value);
FW_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
FW_API void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
FW_API void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
FW_API void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
FW_API void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// nIDC is the first radio button of a group; value: index of the checked one, -1 none.
FW_API void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
FW_API void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
FW_API void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
FW_API void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
FW_API void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
// Subclasses the control nIDC to rControl (once).
FW_API void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Reads a whole decimal integer (blanks around it allowed); FALSE when the text is none
// or it doesn't fit the range.
FW_API BOOL AFXAPI AfxParseInteger(LPCSTR lpsz, BOOL bSigned, LONGLONG llMin, LONGLONG llMax, LONGLONG* pValue);

class FW_API CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)
 public:
  CDialog();
  explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = NULL);
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
  ~CDialog() override;

  // Modeless: the template from the resource chain; the parent defaults to the main window.
  virtual BOOL Create(LPCSTR lpszTemplateName, CWnd* pParentWnd = NULL);
  virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL);
  virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL, HINSTANCE hInst = NULL);
  BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL);

  // The dialog's end code; -1 when the template is missing or creation failed.
  virtual INT_PTR DoModal();
  void EndDialog(int nResult);

  virtual BOOL OnInitDialog();  // controls get their data; TRUE: default focus
  virtual void OnSetFont(CFont* pFont);
  BOOL PreTranslateMessage(MSG* pMsg) override;

  void GotoDlgCtrl(CWnd* pWndCtrl);
  void NextDlgCtrl() const;
  void PrevDlgCtrl() const;
  void SetDefID(UINT nID);
  DWORD GetDefID() const;
  void MapDialogRect(LPRECT lpRect) const;

  virtual void OnOK();      // UpdateData(TRUE), then EndDialog(IDOK)
  virtual void OnCancel();  // EndDialog(IDCANCEL)

  LPCSTR m_lpszTemplateName;  // a name or MAKEINTRESOURCE(id)
  UINT m_nIDHelp;
  LPCDLGTEMPLATE m_lpDialogTemplate;
  HGLOBAL m_hDialogTemplate;
  CWnd* m_pParentWnd;
  HWND m_hWndTop;             // the window PreModal disabled
  // DoModal's loop holds a posted close of any other window (the main window's included)
  // and WM_QUIT until the dialog ends (MLF_HOLDCLOSES), dialogs it runs holding too: for
  // dialogs whose work must not lose its program under it. Off by default.
  BOOL m_bHoldOtherCloses;

 protected:
  virtual void PreInitDialog();
  // The owner for the modal dialog; disables the top-level window until PostModal.
  HWND PreModal();
  void PostModal();

  afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT HandleSetFont(WPARAM wParam, LPARAM lParam);
  afx_msg void OnOKCommand();
  afx_msg void OnCancelCommand();

  DECLARE_MESSAGE_MAP()
};

FW_API INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
