// The launcher's About box (template 100 of the resource library).
#pragma once
#include <fw/fw.h>

class CAboutDialog : public CDialog {
 public:
  explicit CAboutDialog(CWnd* pParent = NULL);
};
