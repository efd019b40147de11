// What the two calendar views share: the document's calendar page and its thumbnails, the
// window that gets the status messages, their image buttons, and the decoder's callback.
#pragma once
#include <fw/fw.h>

#include <vector>

class CThumbnail;
class CThumbnailPage;
class CBrowserDocument;
class CImgButton;

namespace calview {

CBrowserDocument* BrowserDocument(CDocument* pDoc);
// The page the base view builds for the calendars; null when there is none.
CThumbnailPage* CalendarPage(CDocument* pDoc);
std::vector<CThumbnail*> PageThumbnails(CDocument* pDoc);
HWND MainWindow();

struct ButtonPlan {
  CImgButton** pp;
  UINT id, normal, pressed, focus, disabled;
  UINT caption;  // string id drawn over the bitmap, 0 for none
};
// Makes each button as a visible owner-drawn child sized to its bitmaps.
void MakeButtons(CWnd* pParent, const ButtonPlan* plans, int count, DWORD dwExtraStyle);
void DestroyButtons(std::initializer_list<CImgButton*> buttons);

// On the decoder's thread: the views' records are the user-interface thread's, so the
// callback only asks the view (its context) to paint.
void DecodeCallback(CThumbnail* pThumbnail, void* pView);

}  // namespace calview
