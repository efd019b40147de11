// The export pane with the browser's controller present: a tile takes the files the scope
// dialog names from the browser's real selection and view, and Cancel takes none.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>

#include <string>
#include <vector>

#include "ExportMenuWnd.h"
#include "ExportRules.h"
#include "FView_Export.h"
#include "MainWndMessages.h"
#include "ctl_fixture.h"
#include "profileroot.h"
#include "tempfolder.h"
#include "uikit.h"

namespace {

struct Calls {
  int calls = -1, type = -1, scope = -1, files = -1;
  ICGBrowser* browser = nullptr;
};

Calls PluginState(HMODULE h) {
  typedef void (*StateFn)(int*, int*, int*, int*, ICGBrowser**);
  StateFn fn = (StateFn)::GetProcAddress(h, "TestState");
  Calls c;
  if (fn) fn(&c.calls, &c.type, &c.scope, &c.files, &c.browser);
  return c;
}

}  // namespace

// The user ticks the options the scope dialog shows: the files of the view (a folder that
// holds a movie among its pictures), with the "selected files only" box when the export
// offers it, or Cancel.
TEST(ExportPaneWithBrowser, ScopesTakeTheBrowsersFiles) {
  testsupport::ScopedProfileRoot profile("exportbrowser");
  const std::string plugins = testsupport::NewTempFolder("panes-browser");
  for (const char* plugin : {"peu_order10.peu", "peu_kind3.peu"})
    ASSERT_TRUE(::CopyFileA((testsupport::ProgramFolder() + "\\testplugins\\" + plugin).c_str(),
                            (plugins + "\\" + plugin).c_str(), FALSE));
  const std::string pictures = ctltest::Scratch("export-browser");
  for (int i = 0; i < 4; ++i) ctltest::Copy("plain.jpg", pictures + "\\p0" + std::to_string(i) + ".jpg");
  ctltest::Copy("movie.mp4", pictures + "\\p04.mp4");

  BrowserHost browser;
  ASSERT_NE(GetCGBrowser(), nullptr);
  browser.ShowFolder(pictures);
  ASSERT_EQ(browser.pView->GetItemCount(), 5);
  for (int i : {1, 3}) browser.pView->SelectItem(browser.pView->m_items[i]->GetUniqueID(VXID_SLOT_VIEW), TRUE);
  ctltest::Pump();

  CFrameWnd* host = new CFrameWnd;
  host->Create(NULL, "export pane", WS_POPUP | WS_VISIBLE, CRect(500, 40, 500 + 66, 40 + 460));
  CFView_Export* pane = new CFView_Export;
  pane->SetPluginFolder(plugins.c_str());
  CRect rc;
  host->GetClientRect(&rc);
  pane->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, rc, host, AFX_IDW_PANE_FIRST);
  pane->OnInitialUpdate();
  ASSERT_EQ(2, pane->GetEntryCount());
  // The tiles in their order: mode 0 (no check box), then mode 3 (with it).
  const HMODULE plain = ::GetModuleHandleA((plugins + "\\peu_order10.peu").c_str());
  const HMODULE withCheck = ::GetModuleHandleA((plugins + "\\peu_kind3.peu").c_str());

  struct Case {
    const char* what;
    int tile;
    HMODULE plugin;
    bool cancel;
    bool selectedOnly;  // the check box ticked (the tile of mode 3 shows it)
    int files;
    int scope;
  } cases[] = {
      {"the files of the view, the movie among them", 0, plain, false, false, 5, 0},
      {"the files of the view, the selected ones only", 1, withCheck, false, true, 2, 6},
      {"the files of the view, the box cleared", 1, withCheck, false, false, 5, 0},
      {"cancelled", 0, plain, true, false, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int callsBefore = PluginState(c.plugin).calls;
    std::string unseen;
    {
      uikit::DialogDriver driver([&](HWND box) {
        if (c.cancel) {
          ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
          return;
        }
        // Only what the dialog shows is ticked.
        auto tick = [&](int id, bool on) {
          HWND item = ::GetDlgItem(box, id);
          if (!item || !::IsWindowVisible(item) || !::IsWindowEnabled(item)) {
            unseen += std::to_string(id) + " ";
            return;
          }
          ::SendMessageA(item, BM_CLICK, 0, 0);
          if ((::IsDlgButtonChecked(box, id) == BST_CHECKED) != on) ::SendMessageA(item, BM_CLICK, 0, 0);
        };
        tick(IDC_TARGET_SHOWN, true);
        if (c.tile == 1) tick(IDC_TARGET_SELECTED_ONLY, c.selectedOnly);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
      });
      CExportMenuWnd* tile = pane->GetTile(c.tile);
      tile->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      tile->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      EXPECT_EQ(1, driver.Ran());
    }
    uikit::PumpPending();
    EXPECT_EQ(unseen, "") << "options the dialog does not show";
    Calls after = PluginState(c.plugin);
    if (!c.cancel) {
      EXPECT_EQ(callsBefore + 1, after.calls) << "the export refused the files";
      EXPECT_EQ(c.files, after.files);
      EXPECT_EQ(c.scope, after.scope);
      EXPECT_EQ(GetCGBrowser(), after.browser);
      // The test plug-in's window is done at once: the pane takes the next run.
      pane->SendMessage(WM_EXPORT_BUSY, 0, 0);
      // The tiles follow their owner's state on their own timers.
      EXPECT_TRUE(uikit::WaitUntil(
          [&] {
            return pane->GetTile(0)->GetState() != exporttile::DISABLED &&
                   pane->GetTile(1)->GetState() != exporttile::DISABLED;
          },
          5000));
    } else {
      EXPECT_EQ(callsBefore, after.calls);
    }
    EXPECT_TRUE(pane->IsWindowEnabled());
  }
  host->DestroyWindow();
  uikit::PumpPending();
  testsupport::RemoveTree(plugins);
}
