// The property dialog of one item: the selection it needs, the reader's dialog, and a file
// that has gone.
#include <gtest/gtest.h>

#include <VxResourceIds.h>

#include "MainWndMessages.h"

#include "ctl_fixture.h"

TEST(PropertyDialog, OneSelectedFileOnly) {
  BrowserHost h;
  std::string d = ctltest::Scratch("props");
  for (const char* n : {"p1.jpg", "p2.jpg"}) ctltest::Copy("plain.jpg", d + "\\" + n);
  h.ShowFolder(d);
  ASSERT_EQ(h.pView->m_items.size(), 2u);
  EXPECT_EQ(h.trans()->ShowPropertyDialog(nullptr), E_INVALIDARG);  // nothing selected
  for (CThumbnail* p : h.pView->m_items) h.pView->SelectItem(p->GetUniqueID(VXID_SLOT_VIEW), TRUE);
  EXPECT_EQ(h.trans()->ShowPropertyDialog(nullptr), E_INVALIDARG);  // two
  h.pView->UnSelectAll(TRUE);
  h.browser()->SelectAll(0);
  CThumbnail* first = h.pView->m_items[0];
  h.pView->SelectItem(first->GetUniqueID(VXID_SLOT_VIEW), TRUE);
  {
    BoxAnswers answers({IDOK});
    EXPECT_EQ(h.trans()->ShowPropertyDialog(nullptr), S_OK);
    EXPECT_EQ(answers.Count(), 1u);
  }
  // The file has gone: the missing-file notice; OK asks for a reload.
  ASSERT_TRUE(DeleteFileA(first->GetFilePath()));
  h.Forget();
  {
    BoxAnswers answers({IDOK});
    EXPECT_EQ(h.trans()->ShowPropertyDialog(first), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(answers.Count(), 1u);
  }
  ctltest::Pump();
  EXPECT_EQ(h.Seen(WM_BROWSER_RELOAD).size(), 1u);
}
