// The icon view in a frame of its own over fixture folders: the set-up of the view tests.
#pragma once
#include <fw/fw.h>

#include <IconView.h>
#include <VxDocument.h>
#include <dialogwatch.h>
#include <files.h>
#include <tempfolder.h>
#include <testmain.h>
#include <viewframe.h>

#include <functional>
#include <string>
#include <vector>

#include "uikit.h"

// A document with one page per folder, every file an item of the view, laid out and
// decoded (on this thread, so that the picture does not depend on timing).
struct ViewOverFolders {
  CVxDocument* pDoc = nullptr;
  testsupport::CViewFrame* pFrame = nullptr;
  CIconView* view = nullptr;

  ViewOverFolders(const std::vector<std::string>& folders, int cx = 800, int cy = 600) {
    pDoc = DYNAMIC_DOWNCAST(CVxDocument, RUNTIME_CLASS(CVxDocument)->CreateObject());
    pDoc->OnNewDocument();
    pFrame = testsupport::CreateViewFrame(pDoc, RUNTIME_CLASS(CIconView), "iconview", WS_POPUP | WS_VISIBLE,
                                          CRect(0, 0, cx, cy));
    if (!pFrame) return;
    view = static_cast<CIconView*>(pFrame->GetView());
    view->OnInitialUpdate();
    view->SetThumbnailSize(CSize(160, 160));
    int n = 1;
    for (const std::string& folder : folders) {
      CThumbnailPage* page = new CThumbnailPage(0, n++);
      page->SetGroupInfo(CThumbnailGroupInfo(n, (folder + "\\").c_str()));
      page->Add(folder.c_str(), FALSE, nullptr, 0);
      pDoc->GetBrowser()->GetPageList().AddPage(page);
      page->Sort("f", true);
      for (int i = 0; i < page->GetCount(); ++i) {
        CThumbnail* t = page->GetAt(i);
        t->SetDecodeSize(160, 160);
        t->DecodeThumbnail();
        view->AddItem(t);
      }
    }
    view->SortItems(nullptr, 0);
    view->Arrange(TRUE);
    view->SetFocus();
    uikit::PumpPending();
  }
  ~ViewOverFolders() {
    if (pFrame) pFrame->DestroyWindow();
    uikit::PumpPending();
  }
  DWORD IdAt(int i) const { return view->GetDisplayList().at(size_t(i)); }
  CPoint PictureCentre(DWORD id) const {
    CRect rc;
    view->GetItemRect(id, rc, 1);
    return rc.CenterPoint() - view->GetScrollPositionRaw();
  }
  void Click(DWORD id, UINT flags = 0) { ClickAt(PictureCentre(id), flags); }
  void ClickAt(CPoint pt, UINT flags = 0) {
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | flags, MAKELPARAM(pt.x, pt.y));
    view->SendMessage(WM_LBUTTONUP, flags, MAKELPARAM(pt.x, pt.y));
  }
  std::vector<int> Selected() const {
    std::vector<int> out;
    const auto& order = view->GetDisplayList();
    for (size_t i = 0; i < order.size(); ++i)
      if (view->GetThumbnail(order[i])->IsSelect()) out.push_back(int(i));
    return out;
  }
};

inline std::string FixtureFolder(const char* tag, const std::vector<const char*>& names) {
  std::string folder = testsupport::NewTempFolder(tag);
  for (const char* name : names) ::CopyFileA(testsupport::Fixture(name).c_str(), (folder + "\\" + name).c_str(), FALSE);
  return folder;
}

// The text of the message box of this process that call() shows (answered with OK), or ""
// when it shows none.
inline std::string MessageBoxOf(const std::function<void()>& call) {
  std::string seen;
  {
    testsupport::DialogWatch watch(
        nullptr, [](HWND) { return true; },
        [&seen](HWND box) {
          char t[1024] = "";
          ::GetDlgItemTextA(box, 0xFFFF, t, sizeof(t));
          seen = *t ? t : "<a box>";
          ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
    call();
    uikit::PumpPending();
  }
  return seen;
}
