// What the browser strip reads of its document.
#include "BrowserSubView.h"

CSubViewBrowserState CBrowserSubView::ReadBrowserState() const { return CSubViewBrowserState(); }

int CBrowserSubView::ViewModeValueOfHint(CObject*) const { return -1; }
