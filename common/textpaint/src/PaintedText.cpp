#include "textpaint/PaintedText.h"

#include <algorithm>

namespace textpaint {

void PaintCentredLine(CWnd* pWnd, const CString& text) {
  CPaintDC dc(pWnd);
  CRect rc;
  pWnd->GetClientRect(&rc);
  CFont* pOld = dc.SelectObject(CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT)));
  dc.SetBkMode(TRANSPARENT);
  CRect measure(0, 0, 0, 0);
  dc.DrawText(text, measure, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  int top = std::max<int>(0, (rc.Height() - measure.Height()) / 2);
  CRect draw(5, top, std::max<int>(5, rc.right - 5), top + measure.Height());
  dc.DrawText(text, draw, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (pOld) dc.SelectObject(pOld);
}

}  // namespace textpaint
