#include "FView_Export.h"

#include <Kitlib2/Kitlib2.h>
#include <VxDocument.h>
#include <VxResourceIds.h>

#include "MainWndMessages.h"
#include "ui/ProgramFolder.h"

namespace {
const COLORREF kBackground = RGB(10, 58, 82);
}

IMPLEMENT_DYNCREATE(CFView_Export, CFormView)

BEGIN_MESSAGE_MAP(CFView_Export, CFormView)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_DESTROY()
  ON_COMMAND_RANGE(CFView_Export::TILE_COMMAND_FIRST, CFView_Export::TILE_COMMAND_LAST, &CFView_Export::OnTileCommand)
END_MESSAGE_MAP()

CFView_Export::CFView_Export() : CFormView(IDD_EXPORT_PANE) {}
CFView_Export::~CFView_Export() {}

void CFView_Export::OnInitialUpdate() {
  CMWriteProfileInt("VxExport", "MailModal", 0);
  CFormView::OnInitialUpdate();
  SetScrollSizes(MM_TEXT, CSize(0, 0));
  // The frame's start-up waits for this (with the folder pane's and the browser's).
  CMWriteProfileInt(EXESTATE_SECTION, EXESTATE_EXPORT_CREATED, 1);
  CMWriteProfileInt("ExportMenu", "Modal", 0);
  CMTLAllowSetForegroundWindow();
}

void CFView_Export::OnDestroy() {
  CMWriteProfileInt(EXESTATE_SECTION, EXESTATE_EXPORT_CREATED, 0);
  CMWriteProfileInt("ExportMenu", "Modal", 0);
  CFormView::OnDestroy();
}

BOOL CFView_Export::OnEraseBkgnd(CDC*) { return TRUE; }

void CFView_Export::OnDraw(CDC*) {}

void CFView_Export::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  dc.FillSolidRect(&rc, kBackground);
}

int CFView_Export::FindEntryById(int) const { return -1; }

BOOL CFView_Export::GetEntryDescription(int, CString* pstrDescription) const {
  if (pstrDescription) pstrDescription->Empty();
  return FALSE;
}

void CFView_Export::OnInitMenuPopup(CMenu* pPopup, UINT, BOOL bSysMenu) {
  if (bSysMenu || !pPopup) return;
  while (pPopup->GetMenuItemCount() > 0) pPopup->DeleteMenu(0, MF_BYPOSITION);
}

BOOL CFView_Export::RefuseInBrowserMode() {
  CVxDocument* pDoc = dynamic_cast<CVxDocument*>(GetDocument());
  CBrowserDocument* pBrowser = pDoc ? pDoc->GetBrowser() : NULL;
  if (!pBrowser) return FALSE;
  if (pBrowser->GetBrowserStatus().IsMonthCalendarMode()) {
    AfxMessageBox(IDS_PANES_NOT_IN_MONTH_VIEW, MB_OK | MB_ICONSTOP);
    return TRUE;
  }
  if (pBrowser->GetBrowserStatus().IsMusicMode()) {
    AfxMessageBox(IDS_PANES_NOT_IN_MUSIC_VIEW, MB_OK | MB_ICONSTOP);
    return TRUE;
  }
  return FALSE;
}

long CFView_Export::OnPrint(int) {
  if (RefuseInBrowserMode()) return E_FAIL;
  HMODULE hPrint = LoadProgramLibrary("ExpPaperUI.peu");
  if (!hPrint || !::GetProcAddress(hPrint, "OpenWindow") || !::GetProcAddress(hPrint, "SetPrintMode")) {
    DWORD dwError = ::GetLastError();
    if (hPrint) ::FreeLibrary(hPrint);
    char* pszText = NULL;
    ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                     dwError, 0, reinterpret_cast<LPSTR>(&pszText), 0, NULL);
    AfxMessageBox(pszText ? pszText : "", MB_OK | MB_ICONEXCLAMATION);
    if (pszText) ::LocalFree(pszText);
    return E_FAIL;
  }
  ::FreeLibrary(hPrint);
  return S_OK;
}

void CFView_Export::OnPrintSetup() {}

void CFView_Export::OnTileCommand(UINT nID) {
  if (RefuseInBrowserMode()) return;
  FindEntryById((int)nID);  // no tile carries this command yet
}
