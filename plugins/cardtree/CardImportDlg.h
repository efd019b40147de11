// The card import dialog as far as the exports reach it: it ends at once, and its
// headless backup and listing find no card.
#pragma once
#include <fw/fw.h>

class CCardImportDlg {
 public:
  explicit CCardImportDlg(CWnd* pParent = NULL) : m_pParent(pParent) {}
  virtual ~CCardImportDlg() {}
  INT_PTR DoModal() { return IDCANCEL; }
  // The folder the import wrote to ("" after Cancel).
  CString GetDestination() const { return m_strDestination; }
  // The headless backup: 0 done, -1 failed.
  int BackupCard(LPCSTR, LPCSTR, CStringList*) { return -1; }
  // The headless listing: nonzero when it listed.
  int ListCardFiles(CStringList*) { return 0; }

 private:
  CWnd* m_pParent;
  CString m_strDestination;
};
