// The choice, input and notice dialogs: which files a command works on, a folder path
// with completion, the painted notices and the yes/no question with "don't ask again".
#pragma once
#include <fw/fw.h>

#include "ChoiceRules.h"
#include "ResourceDialog.h"

class CTargetChoiceDlg : public CResourceDialog {
 public:
  explicit CTargetChoiceDlg(CWnd* pParent = NULL);
  // Stores the request; answers DepthViewer\Mode (1 when unset).
  int SetMode(int kind, int flag);
  // Asks the browser for its counts and shows the dialog when the request needs one.
  INT_PTR DoModal() override;
  // The same with counts given (no browser asked).
  INT_PTR DoModalWithCounts(unsigned selected, unsigned marked);
  int GetChoice() const { return m_nResult; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnOption();
  DECLARE_MESSAGE_MAP()

 private:
  void LayOut();
  int m_nKind, m_nFlag;
  BOOL m_bMode5;
  int m_nResult;
  choice::TargetPlan m_plan;
};

class CPathInputDlg : public CResourceDialog {
 public:
  explicit CPathInputDlg(CWnd* pParent = NULL);
  CString m_strPath;  // the entered path after OK
  // The file system the completions come from (tests give their own).
  choice::FileSystem m_fs;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnEditChange();
  afx_msg void OnEditUpdate();
  afx_msg void OnDropDown();
  afx_msg void OnCloseUp();
  DECLARE_MESSAGE_MAP()

 private:
  CComboBox* Combo() { return static_cast<CComboBox*>(GetDlgItem(IDC_PATH_COMBO_ID)); }
  void CaretToEnd();
  enum { IDC_PATH_COMBO_ID = 28200 };
  CString m_strLast;
};

// A dialog that paints one text centred in its client area.
class CPaintedTextDlg : public CResourceDialog {
 public:
  CPaintedTextDlg(UINT nIDTemplate, CWnd* pParent);
  void SetText(LPCSTR lpszText);
  const CString& GetText() const { return m_strText; }

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
  CString m_strText;
};

// The please-wait notice (modeless: Create(IDD_NOTICE, parent)).
class CNoticeDlg : public CPaintedTextDlg {
 public:
  explicit CNoticeDlg(CWnd* pParent = NULL);
  BOOL Create(CWnd* pParent);
};

class CInfoTextDlg : public CPaintedTextDlg {
 public:
  explicit CInfoTextDlg(CWnd* pParent = NULL);
};

class CYesNoDlg : public CResourceDialog {
 public:
  explicit CYesNoDlg(CWnd* pParent = NULL);
  CString m_strText;
  BOOL m_bDontAsk;  // the box's state when Yes was pressed

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnYes();
  afx_msg void OnNo();
  DECLARE_MESSAGE_MAP()
};
