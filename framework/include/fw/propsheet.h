// Property sheets: CPropertySheet holds CPropertyPage dialogs, one per tab.
//
// A page's template comes from the resource chain (AfxFindResourceHandle) as it stands
// when the sheet is made. Each page runs through its object from WM_INITDIALOG on (its
// message map, OnInitDialog, OnTimer, DDX). The sheet's notifications reach the page's
// virtuals: becoming active (OnSetActive: UpdateData(FALSE) after the first time),
// leaving (OnKillActive: UpdateData(TRUE); FALSE keeps the page), OK or Apply (OnApply,
// which calls OnOK), Cancel (OnReset, which calls OnCancel; OnQueryCancel may refuse).
// A page's OnOK and OnCancel never end anything: the sheet does.
//
// m_psh and m_psp are the callers' to adjust (dwFlags, icons, titles); the framework adds
// only what it needs to run the pages through their objects.
#pragma once
#include <fw/dialog.h>
#include <fw/coll.h>
#include <fw/cmnctrl.h>

class CPropertySheet;

class FW_API CPropertyPage : public CDialog {
  DECLARE_DYNAMIC(CPropertyPage)
 public:
  CPropertyPage();
  explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
  explicit CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption = 0);
  ~CPropertyPage() override;

  void Construct(UINT nIDTemplate, UINT nIDCaption = 0);
  void Construct(LPCSTR lpszTemplateName, UINT nIDCaption = 0);

  PROPSHEETPAGEA m_psp;

  // The Apply button follows the pages' changes.
  void SetModified(BOOL bChanged = TRUE);
  void CancelToClose();
  LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);
  CPropertySheet* GetSheet() const;

  virtual BOOL OnSetActive();
  virtual BOOL OnKillActive();
  virtual BOOL OnApply();
  virtual void OnReset();
  virtual BOOL OnQueryCancel();
  virtual LRESULT OnWizardBack();
  virtual LRESULT OnWizardNext();
  virtual BOOL OnWizardFinish();
  void OnOK() override;      // nothing: the page's data was taken when it was left
  void OnCancel() override;  // nothing

  // The page record as the sheet gets it (template, callbacks, caption).
  PROPSHEETPAGEA PrepareSheetPage();

 protected:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  CString m_strCaption;
  BOOL m_bFirstSetActive;
};

class FW_API CPropertySheet : public CWnd {
  DECLARE_DYNAMIC(CPropertySheet)
 public:
  CPropertySheet();
  explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
  explicit CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
  ~CPropertySheet() override;

  void Construct(UINT nIDCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
  void Construct(LPCSTR pszCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);

  PROPSHEETHEADERA m_psh;

  // Pages belong to the caller and must outlive the sheet's window.
  void AddPage(CPropertyPage* pPage);
  void RemovePage(CPropertyPage* pPage);
  void RemovePage(int nPage);
  int GetPageCount() const { return (int)m_pages.GetSize(); }
  CPropertyPage* GetPage(int nPage) const { return (CPropertyPage*)m_pages.GetAt(nPage); }
  int GetPageIndex(CPropertyPage* pPage) const;
  CPropertyPage* GetActivePage() const;
  int GetActiveIndex() const;
  BOOL SetActivePage(int nPage);
  BOOL SetActivePage(CPropertyPage* pPage);
  void SetTitle(LPCSTR lpszText, UINT nStyle = 0);
  CTabCtrl* GetTabControl() const;

  // IDOK, IDCANCEL, or -1 when the sheet could not be shown.
  virtual INT_PTR DoModal();
  // Ends the sheet as its OK (applying the pages) or Cancel button would.
  void EndDialog(int nEndID);
  // PSBTN_OK, PSBTN_CANCEL, PSBTN_APPLYNOW, PSBTN_NEXT...
  void PressButton(int nButton) { PostMessage(PSM_PRESSBUTTON, (WPARAM)nButton); }
  void SetWizardMode() { m_psh.dwFlags |= PSH_WIZARD; }
  void SetWizardButtons(DWORD dwFlags) { PostMessage(PSM_SETWIZBUTTONS, 0, (LPARAM)dwFlags); }
  void SetFinishText(LPCSTR lpszText) { SendMessage(PSM_SETFINISHTEXTA, 0, (LPARAM)lpszText); }

  CWnd* m_pParentWnd;

 protected:
  CPtrArray m_pages;
  CString m_strCaption;
  UINT m_nStartPage;
  HWND m_hWndTop;
};
