#include "FView_Toolbar.h"

#include <VxResourceIds.h>

#include "MainWndMessages.h"
#include "OptionsDlg.h"

namespace {
const COLORREF kBackground = RGB(214, 223, 231);
const COLORREF kLowerEdge = RGB(5, 67, 98);
}  // namespace

IMPLEMENT_DYNCREATE(CFView_Toolbar, CFormView)

BEGIN_MESSAGE_MAP(CFView_Toolbar, CFormView)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_MESSAGE(WM_TOOLBAR_SLIDE_COLLECT, &CFView_Toolbar::OnSlideCollect)
  ON_MESSAGE(WM_TOOLBAR_CLOSE_EDITOR, &CFView_Toolbar::OnCloseEditor)
  ON_COMMAND(ID_TB_OPTIONS, &CFView_Toolbar::OnOptions)
END_MESSAGE_MAP()

CFView_Toolbar::CFView_Toolbar() : CFormView(IDD_TOOLBAR_PANE) {}
CFView_Toolbar::~CFView_Toolbar() {}

void CFView_Toolbar::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  SetScrollSizes(MM_TEXT, CSize(0, 0));  // the row is as high as the frame makes it
}

BOOL CFView_Toolbar::OnEraseBkgnd(CDC*) { return TRUE; }

void CFView_Toolbar::OnDraw(CDC*) {}

void CFView_Toolbar::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  dc.FillSolidRect(&rc, kBackground);
  CRect rcEdge(rc.left, rc.bottom - 2, rc.right, rc.bottom);
  dc.FillSolidRect(&rcEdge, kLowerEdge);
}

void CFView_Toolbar::OnInitMenuPopup(CMenu*, UINT, BOOL) {}

BOOL CFView_Toolbar::TakePendingFileListText(CString& strText) {
  strText.Empty();
  return FALSE;
}

int CFView_Toolbar::CloseSlideCollectDlg() { return 0; }

// No entry editor is open yet: nothing to ask, nothing kept.
LRESULT CFView_Toolbar::OnCloseEditor(WPARAM, LPARAM) { return 0; }

void CFView_Toolbar::OnOptions() {
  COptionsDlg dlg(this);
  dlg.DoModal();
}

void CFView_Toolbar::EnableUpButton(BOOL) {}
void CFView_Toolbar::EnableForwardButton(BOOL) {}
void CFView_Toolbar::EnableBackButton(BOOL) {}

BOOL CFView_Toolbar::IsSlideCollectActive() const { return FALSE; }
BOOL CFView_Toolbar::IsEntryEditorActive() const { return FALSE; }

long CFView_Toolbar::BuildSlideShowItems(SLD_TYPE, std::vector<tagSLD_V_TYPE>*, std::vector<tagSLD_A_TYPE>*) {
  return E_NOTIMPL;  // no scenario to build from yet
}

LRESULT CFView_Toolbar::OnSlideCollect(WPARAM, LPARAM) {
  CloseSlideCollectDlg();
  return 0;
}
