// The small window the upload shows while the uploader starts: one line of text, centred.
#pragma once
#include <ui/ChoiceDialogs.h>

class CUploadProgressDialog : public CPaintedTextDlg {
 public:
  explicit CUploadProgressDialog(CWnd* pParent = NULL) : CPaintedTextDlg(IDD_INFO_TEXT, pParent) {}
  // Made from the please-wait template, without a parent.
  BOOL Create() { return CDialog::Create(IDD_NOTICE, NULL); }
};
