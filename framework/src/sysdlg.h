// Dialogs the system creates and runs (common dialogs, property sheets and their pages),
// tied to our objects (internal to GlimFW.dll).
#pragma once
#include <fw/dialog.h>

namespace fwdlg {

// From WM_INITDIALOG on, pDlg runs hWnd's messages; returns its OnInitDialog.
BOOL AttachAtInit(CDialog* pDlg, HWND hWnd);

// The owner of a system-run modal window for pParent (the main window by default); the
// top-level window it disables for the run goes to *phWndTop.
HWND BeginModal(CWnd* pParent, HWND* phWndTop);
// Enables *phWndTop again and forgets a window still attached to pWnd.
void EndModal(CWnd* pWnd, HWND* phWndTop);

}  // namespace fwdlg
