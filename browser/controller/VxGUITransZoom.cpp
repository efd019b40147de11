// CVxGUITrans: leaving the grid for the zoom window or the slide show. Each refusal leaves
// no zoom controller behind and the browse mode as it was.
#include <VxGUIDB.h>
#include <VxResourceIds.h>

#include <new>
#include <vector>

#include "MovieCtrl.h"
#include "SlideShowController.h"
#include "TransInternal.h"
#include "ZoomRules.h"
#include "ZoomWndController.h"

BOOL CVxGUITrans::IsZoomMode() const { return m_pZoom && m_pZoom->GetWindow(); }

void CVxGUITrans::EndZoomRequest() {
  delete m_pZoom;
  m_pZoom = NULL;
  SetViewModeFlag(GetViewModeFlag(), TRUE);
}

BOOL CVxGUITrans::GotoZoomMode(CThumbnail* pItem) {
  delete m_pZoom;
  m_pZoom = new (std::nothrow) CZoomWndController();
  if (!m_pZoom) {
    SetViewModeFlag(GetViewModeFlag(), TRUE);
    return FALSE;
  }
  const HWND hView = GetSafeHwnd();
  const BOOL bBackEnd = m_pMovieCtrl && m_pMovieCtrl->IsQuickTimeUsable();
  if (UINT refusal = ZoomRefusal(pItem != NULL, pItem ? pItem->GetKindFlags() : 0, bBackEnd)) {
    GuardedMessageBoxId(hView, refusal, MB_ICONERROR);
    EndZoomRequest();
    return FALSE;
  }
  // The window pages through the shown items, group by group.
  std::vector<CThumbnail*> shown;
  if (IVxItemView* pItems = GetItemView()) {
    CList<CThumbnail*, CThumbnail*> list;
    pItems->CollectThumbnail(list, -1);
    for (POSITION pos = list.GetHeadPosition(); pos;) shown.push_back(list.GetNext(pos));
  }
  std::vector<const void*> pages;
  std::vector<bool> zoomable;
  for (CThumbnail* p : shown) {
    pages.push_back(p->GetPage());
    zoomable.push_back(p->IsZoomPicture() != FALSE);
  }
  for (const std::vector<size_t>& group : ZoomGroups(pages, zoomable)) {
    CList<CThumbnail*, CThumbnail*> list;
    for (size_t i : group) list.AddTail(shown[i]);
    m_pZoom->AddItem(list);
  }
  HBITMAP hBackground = NULL;
  {
    CResourceChanger change;
    hBackground = ::LoadBitmapA(VxGetResourceLibrary(), MAKEINTRESOURCEA(IDB_ZOOM_BACKGROUND));
  }
  if (m_pZoom->Open(pItem, m_pView, hBackground, m_pMovieCtrl)) return TRUE;
  EndZoomRequest();
  GuardedMessageBoxId(hView, IDS_BROWSER_ZOOM_FAILED, MB_ICONERROR);
  SendToAllViews(VXHINT_VIEWMODE, NULL);
  return FALSE;
}

BOOL CVxGUITrans::GotoSlideShowMode() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!m_pSlideShow || !pDoc) return FALSE;
  pDoc->SetSlideShowMode(true);
  if (FAILED(m_pSlideShow->Start())) {
    // No show runs: the browser must not go on believing one does (drags wait for its end).
    pDoc->SetSlideShowMode(false);
    return FALSE;
  }
  SetViewModeFlag(GetViewModeFlag(), TRUE);
  return TRUE;
}

CThumbnail* CVxGUITrans::ZoomStartItem() const {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (CThumbnail* pLast = pDoc ? pDoc->GetLastSelectedItem() : NULL) return pLast;
  IVxItemView* pItems = GetItemView();
  if (!pItems) return NULL;
  CList<CThumbnail*, CThumbnail*> list;
  pItems->CollectThumbnail(list, -1);
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    CThumbnail* p = list.GetNext(pos);
    if (p->GetKindFlags() & VXKIND_STILL) return p;
  }
  return NULL;
}
