// The property dialog: what it lists, and that it opens and closes modally.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <thread>

#include "VxProperty.h"
#include "facts.h"
#include "fixtures.h"

TEST(PropertyDialog, LinesOfAPicture) {
  vxprop::FileFacts facts;
  ASSERT_TRUE(vxprop::GatherFacts(imgtest::Fixture("exif_le.jpg").c_str(), &facts));
  auto lines = vxprop::DialogLines(facts);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], std::make_pair(std::string("名前"), std::string("exif_le.jpg")));
  auto has = [&](const char* name, const char* value) {
    for (const auto& l : lines)
      if (l.first == name && l.second == value) return true;
    return false;
  };
  EXPECT_TRUE(has("メーカー", "Norvane"));
  EXPECT_TRUE(has("絞り値", "F5.6"));
  for (const auto& l : lines) EXPECT_FALSE(l.second.empty()) << l.first;  // only what the file carries
}

TEST(PropertyDialog, OpensModallyAndCloses) {
  std::atomic<int> rows{-1};
  std::atomic<bool> done{false};
  std::thread closer([&] {
    // Wait for the dialog and its list, read the list, then close it.
    for (int i = 0; i < 500 && !done; ++i) {
      HWND dlg = FindWindowA("#32770", "プロパティ - exif_full.jpg");
      HWND list = dlg ? GetDlgItem(dlg, 1001) : nullptr;
      if (list) {
        rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(10);
    }
  });
  int r = PrOpenProperty(imgtest::Fixture("exif_full.jpg").c_str(), nullptr, PR_DLG_FOCUSMODE, -1, -1, -1, 0);
  done = true;
  closer.join();
  EXPECT_EQ(r, IDOK);
  vxprop::FileFacts facts;
  vxprop::GatherFacts(imgtest::Fixture("exif_full.jpg").c_str(), &facts);
  EXPECT_EQ(rows, static_cast<int>(vxprop::DialogLines(facts).size()));

  // Nothing to show: no dialog at all.
  EXPECT_EQ(PrOpenProperty(imgtest::Fixture("no_such_file.jpg").c_str(), nullptr, 0, -1, -1, -1, 0), PR_DLG_NOTSHOWN);
  EXPECT_EQ(PrOpenProperty("", nullptr, 0, -1, -1, -1, 0), PR_DLG_NOTSHOWN);
}
