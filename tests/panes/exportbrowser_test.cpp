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

TEST(ExportPaneWithBrowser, ScopesTakeTheBrowsersFiles) {
  testsupport::ScopedProfileRoot profile("exportbrowser");
  const std::string plugins = testsupport::NewTempFolder("panes-browser");
  ASSERT_TRUE(::CopyFileA((testsupport::ProgramFolder() + "\\testplugins\\peu_order10.peu").c_str(),
                          (plugins + "\\peu_order10.peu").c_str(), FALSE));
  const std::string pictures = ctltest::Scratch("export-browser");
  for (int i = 0; i < 5; ++i) ctltest::Copy("plain.jpg", pictures + "\\p0" + std::to_string(i) + ".jpg");

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
  ASSERT_EQ(1, pane->GetEntryCount());
  const HMODULE plugin = ::GetModuleHandleA((plugins + "\\peu_order10.peu").c_str());

  struct Case {
    int button;  // 0: Cancel
    int files;
    int scope;
  } cases[] = {{IDC_TARGET_SELECTED, 2, 1}, {IDC_TARGET_ALL, 5, 2}, {0, -1, -1}};
  int callsBefore = PluginState(plugin).calls;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    bool chosen = false;
    {
      uikit::DialogDriver driver([&](HWND box) {
        if (!c.button) {
          ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
          return;
        }
        for (int id : {IDC_TARGET_SELECTED, IDC_TARGET_MARKED, IDC_TARGET_SHOWN, IDC_TARGET_ALL})
          ::CheckDlgButton(box, id, id == c.button ? BST_CHECKED : BST_UNCHECKED);
        chosen = true;
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
      });
      CExportMenuWnd* tile = pane->GetTile(0);
      tile->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      tile->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      EXPECT_EQ(1, driver.Ran());
    }
    uikit::PumpPending();
    Calls after = PluginState(plugin);
    if (c.button) {
      EXPECT_TRUE(chosen);
      EXPECT_EQ(callsBefore + 1, after.calls);
      EXPECT_EQ(c.files, after.files);
      EXPECT_EQ(c.scope, after.scope);
      EXPECT_EQ(GetCGBrowser(), after.browser);
      callsBefore = after.calls;
      // The test plug-in's window is done at once: the pane takes the next run.
      pane->SendMessage(WM_EXPORT_BUSY, 0, 0);
      // The tile follows its owner's state on its own timer.
      EXPECT_TRUE(uikit::WaitUntil([&] { return pane->GetTile(0)->GetState() != exporttile::DISABLED; }, 5000));
    } else {
      EXPECT_EQ(callsBefore, after.calls);
    }
    EXPECT_TRUE(pane->IsWindowEnabled());
  }
  host->DestroyWindow();
  uikit::PumpPending();
  testsupport::RemoveTree(plugins);
}
