#include "AboutDialog.h"

#include <VxResourceIds.h>

CAboutDialog::CAboutDialog(CWnd* pParent) : CDialog(IDD_ABOUT_AUTORUN, pParent) {}
