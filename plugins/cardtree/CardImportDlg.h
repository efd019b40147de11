// The card import dialog as far as the exports reach it: the headless backup and
// listing run on the windowless import engine; the dialog itself still ends at once.
#pragma once
#include <fw/fw.h>

class CCardImportDlg {
 public:
  explicit CCardImportDlg(CWnd* pParent = NULL) : m_pParent(pParent) {}
  virtual ~CCardImportDlg() {}
  // Cancel: nothing imported, so the caller reports no success.
  INT_PTR DoModal() { return IDCANCEL; }
  // The folder the import wrote to ("" after Cancel).
  CString GetDestination() const { return m_strDestination; }
  // Copies every picture and movie of the cards' DCIM folders into today's folder under
  // the destination and registers the copies. The drives are "E:F:" ("" = every card).
  // Answers the number copied (the copies appended to the list), 0 without a card, -1
  // when the destination is refused or a copy failed before any file was copied.
  int BackupCard(LPCSTR drives, LPCSTR destination, CStringList* copied);
  // The card files such a backup would copy; the number appended.
  int ListCardFiles(CStringList* files);

 private:
  CWnd* m_pParent;
  CString m_strDestination;
};
