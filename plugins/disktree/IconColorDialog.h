// The system's colour dialog with one more button that returns a folder to its standard
// icon.
#pragma once
#include <fw/fw.h>
#include <fw/commdlg.h>

class CIconColorDialog : public CColorDialog {
 public:
  explicit CIconColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = NULL);
  ~CIconColorDialog() override;

  // Set when the standard-colour button closed the dialog (with IDOK).
  BOOL m_bDefaultColor;

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnDestroy();
  afx_msg void OnStandardColor();
  DECLARE_MESSAGE_MAP()

 private:
  CButton* m_pButton;
  CFont* m_pFont;
};
