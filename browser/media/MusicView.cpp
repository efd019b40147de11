#include "MusicView.h"

#include "MainWndMessages.h"

IMPLEMENT_DYNCREATE(CMusicView, CView)

BEGIN_MESSAGE_MAP(CMusicView, CView)
  ON_WM_ERASEBKGND()
  ON_MESSAGE(WM_BROWSER_RELOAD, &CMusicView::OnReload)
  ON_MESSAGE(WM_BROWSER_BEFORE_FOLDER_CHANGE, &CMusicView::OnBeforeFolderChange)
  ON_MESSAGE(WM_BROWSER_MUSIC_STOP, &CMusicView::OnMusicStop)
END_MESSAGE_MAP()

CMusicView::CMusicView() : m_nReloads(0), m_nFolderChanges(0), m_nStops(0) {}
CMusicView::~CMusicView() {}

BOOL CMusicView::OnEraseBkgnd(CDC*) { return TRUE; }

void CMusicView::OnDraw(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, ::GetSysColor(COLOR_WINDOW));
}

// The block of a reload belongs to its sender: nothing here frees it.
LRESULT CMusicView::OnReload(WPARAM, LPARAM) {
  ++m_nReloads;
  return 0;
}
LRESULT CMusicView::OnBeforeFolderChange(WPARAM, LPARAM) {
  ++m_nFolderChanges;
  return 0;
}
LRESULT CMusicView::OnMusicStop(WPARAM, LPARAM) {
  ++m_nStops;
  return 0;
}
