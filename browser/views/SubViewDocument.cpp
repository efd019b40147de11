// What the browser strip reads of its document: the browser state of the document
// library, and the view-mode commands its hints carry.
#include <VxDocument.h>

#include "BrowserSubView.h"

CSubViewBrowserState CBrowserSubView::ReadBrowserState() const {
  CSubViewBrowserState state;
  CVxDocument* pDoc = DYNAMIC_DOWNCAST(CVxDocument, m_pDocument);
  CBrowserDocument* pBrowser = pDoc ? pDoc->GetBrowser() : nullptr;
  if (!pBrowser) return state;
  const CBrowserStatus& status = pBrowser->GetBrowserStatus();
  state.nSortID = (int)status.GetSortID();
  state.nFilterID = status.GetFilterID();
  state.nViewMode = status.GetMode();
  state.nThumbMode = status.GetThumbMode();
  return state;
}

int CBrowserSubView::ViewModeValueOfHint(CObject* pHint) const {
  CSendCommandObject* pCommand = DYNAMIC_DOWNCAST(CSendCommandObject, pHint);
  if (!pCommand || !pCommand->IsViewModeCommand()) return -1;
  return (int)pCommand->GetValue();
}
