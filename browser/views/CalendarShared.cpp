#include "CalendarShared.h"

#include <VxDocument.h>
#include <VxGUIDB.h>
#include <VxResourceIds.h>

#include "ImgButton.h"
#include "MainWndMessages.h"
#include "TransInternal.h"

namespace calview {

namespace {
const COLORREF kButtonCaption = RGB(255, 255, 255);
const COLORREF kIndicatorCaption = RGB(0, 54, 99);
}  // namespace

CBrowserDocument* BrowserDocument(CDocument* pDoc) {
  CVxDocument* p = dynamic_cast<CVxDocument*>(pDoc);
  return p ? p->GetBrowser() : NULL;
}

CThumbnailPage* CalendarPage(CDocument* pDoc) {
  CBrowserDocument* p = BrowserDocument(pDoc);
  return p ? p->GetPageList().GetCalendarPage() : NULL;
}

std::vector<CThumbnail*> PageThumbnails(CDocument* pDoc) {
  std::vector<CThumbnail*> out;
  if (CThumbnailPage* pPage = CalendarPage(pDoc))
    for (int i = 0; i < pPage->GetCount(); i++)
      if (CThumbnail* p = pPage->GetAt(i)) out.push_back(p);
  return out;
}

HWND MainWindow() {
  CWnd* pMain = AfxGetMainWnd();
  if (pMain && pMain->GetSafeHwnd()) return pMain->GetSafeHwnd();
  return g_pTransController ? g_pTransController->GetManager() : NULL;
}

void MakeButtons(CWnd* pParent, const ButtonPlan* plans, int count, DWORD dwExtraStyle) {
  CResourceChanger res;
  CResourceLoader strings;
  for (int i = 0; i < count; i++) {
    const ButtonPlan& s = plans[i];
    CImgButton* p = new CImgButton;
    CString caption = s.caption ? strings.LoadStringA(s.caption) : CString();
    if (!p->Create(caption, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | dwExtraStyle, CRect(0, 0, 10, 10), pParent, s.id)) {
      delete p;
      continue;
    }
    p->LoadBitmaps(s.normal, s.pressed, s.focus, s.disabled);
    p->SizeToContent();
    if (s.caption) {
      CRect rc;
      p->GetClientRect(&rc);
      p->SetDrawText(TRUE, rc, CSize(1, 1), CSize(0, 0));
      // Light letters on the blue faces, dark ones on the amber face of the view shown.
      p->SetCaptionColor(s.normal == IDB_CAL_INDICATOR ? kIndicatorCaption : kButtonCaption);
    }
    *s.pp = p;
  }
}

void DestroyButtons(std::initializer_list<CImgButton*> buttons) {
  for (CImgButton* p : buttons) {
    if (p && p->GetSafeHwnd()) p->DestroyWindow();
    delete p;
  }
}

void DecodeCallback(CThumbnail*, void* pView) {
  CWnd* p = static_cast<CWnd*>(pView);
  if (p && ::IsWindow(p->m_hWnd)) ::PostMessageA(p->m_hWnd, WM_CALENDAR_DECODED, 0, 0);
}

}  // namespace calview
