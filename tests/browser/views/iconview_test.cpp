// The icon view in a frame of its own over a fixture folder: broken and hostile files,
// selection and marks by mouse messages with the document's answers, the decode window
// and a screenshot.
#include <gtest/gtest.h>

#include <IconView.h>
#include <files.h>
#include <imaging/decode.h>
#include <profileroot.h>
#include <program.h>
#include <tempfolder.h>
#include <testmain.h>
#include <viewframe.h>

#include "iconview_host.h"
#include "uikit.h"

namespace {

// Marks are kept in the profile and the database: both of the test's own.
testsupport::ScopedProfileRoot* g_profile = nullptr;
std::string g_db;
testmain::StartUp ownState(
    [] {
      g_profile = new testsupport::ScopedProfileRoot("iconview");
      g_db = testsupport::NewTempFolder("iconview-db");
      return ::SetEnvironmentVariableA("GLIMORA_DB_DIR", g_db.c_str()) != FALSE;
    },
    [] {
      ::SetEnvironmentVariableA("GLIMORA_DB_DIR", nullptr);
      testsupport::RemoveTree(g_db);
      delete g_profile;
    });

using testsupport::Fixture;

// ---- Files -----------------------------------------------------------------------------------
// The offset of the first start-of-frame segment's height field in a JPEG stream, walking
// its segments from `from` (the stream's FFD8); npos when none.
size_t SofSizeField(const std::string& d, size_t from) {
  size_t p = from + 2;
  while (p + 4 <= d.size() && uint8_t(d[p]) == 0xFF) {
    uint8_t m = uint8_t(d[p + 1]);
    size_t len = (uint8_t(d[p + 2]) << 8) | uint8_t(d[p + 3]);
    if (m == 0xC0 || m == 0xC1 || m == 0xC2) return p + 5;
    if (m == 0xDA || len < 2) break;
    p += 2 + len;
  }
  return std::string::npos;
}

void ClaimSize(std::string* d, size_t field) {
  ASSERT_NE(field, std::string::npos);
  for (int i = 0; i < 4; ++i) (*d)[field + i] = char(0xFF);  // height and width 65535
}

// The embedded thumbnail's stream inside the Exif block: the second FFD8 of the file.
size_t ThumbnailStart(const std::string& d) {
  size_t first = d.find("\xFF\xD8", 0);
  return first == std::string::npos ? first : d.find("\xFF\xD8\xFF", first + 2);
}

struct HostileFile {
  const char* name;
  std::string data;
  bool icon;  // only the kind icon can stand for it
};

std::vector<HostileFile> HostileFiles() {
  std::string full = testsupport::ReadWholeFile(Fixture("exif_full.jpg"));
  std::string plain = testsupport::ReadWholeFile(Fixture("exif_nothumb.jpg"));
  std::string png = testsupport::ReadWholeFile(Fixture("image.png"));
  std::vector<HostileFile> files;
  files.push_back({"empty.jpg", "", true});
  files.push_back({"cut_header.jpg", full.substr(0, 200), true});
  files.push_back({"text.jpg", "this is no picture at all\r\n", true});
  files.push_back({"png_named.jpg", png, false});
  files.push_back({"bad_offsets.jpg", testsupport::ReadWholeFile(Fixture("bad_offsets.jpg")), false});
  files.push_back({"cut_scan.jpg", testsupport::ReadWholeFile(Fixture("cut_scan.jpg")), false});
  std::string huge = plain;
  ClaimSize(&huge, SofSizeField(huge, 0));
  files.push_back({"huge_frame.jpg", huge, true});
  // A thumbnail that claims 65535 x 65535: not decoded; the real picture stands in.
  std::string hugeThumb = full;
  size_t t = ThumbnailStart(hugeThumb);
  if (t != std::string::npos) ClaimSize(&hugeThumb, SofSizeField(hugeThumb, t));
  files.push_back({"huge_thumb.jpg", hugeThumb, false});
  return files;
}

TEST(IconViewFiles, BrokenAndHostileFilesShowTheKindIcon) {
  std::string folder = testsupport::NewTempFolder("iconview-hostile");
  for (const HostileFile& f : HostileFiles()) {
    SCOPED_TRACE(f.name);
    std::string path = folder + "\\" + f.name;
    ASSERT_TRUE(testsupport::WriteWholeFile(path, f.data));
    CThumbnail t(path.c_str());
    t.SetDecodeSize(160, 160);
    DWORD start = GetTickCount();
    EXPECT_EQ(t.DecodeThumbnail(), S_OK);
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_TRUE(t.IsDecoded());
    if (f.icon) EXPECT_EQ(t.GetDecodeImageType(), VXIMAGE_ICON);
    t.ThreadLock();
    BITMAPINFOHEADER* bih = t.GetThumbnail(160, 160);
    EXPECT_NE(bih, nullptr);
    if (bih) {
      EXPECT_EQ(bih->biWidth, 160);
      EXPECT_EQ(bih->biHeight, 160);
    }
    t.ThreadUnlock();
  }
  testsupport::RemoveTree(folder);
}

TEST(IconViewFiles, EmbeddedThumbnailDecodesScaledWithoutWic) {
  imaging::Dib dib;
  imaging::DecodeReport rep;
  ASSERT_EQ(imaging::DecodeThumbnail(Fixture("exif_full.jpg").c_str(), 80, 80, &dib, &rep), S_OK);
  EXPECT_TRUE(rep.fromThumbnail);
  EXPECT_LE(dib.Width(), 80);
  EXPECT_LE(dib.Height(), 80);
  EXPECT_TRUE(dib.Width() == 80 || dib.Height() == 80);
}

TEST(IconView, ClicksSelectAndMarkThroughTheDocument) {
  std::string folder = FixtureFolder("iconview-click", {"exif_full.jpg", "exif_le.jpg", "people.jpg", "plain.jpg",
                                                        "quadrants.jpg", "rose.jpg", "wizard.jpg", "image.png"});
  {
    ViewOverFolders v({folder});
    ASSERT_NE(v.view, nullptr);
    ASSERT_EQ(v.view->GetItemCount(), 8);
    int cols = 0, rows = 0;
    ASSERT_TRUE(v.view->CellOfItem(v.IdAt(7), cols, rows));
    // 800 pixels: three cells of 160 (176 with their frame, 30 apart) a row.
    ASSERT_EQ(cols, 1);
    ASSERT_EQ(rows, 2);
    CBrowserDocument* doc = v.pDoc->GetBrowser();

    v.Click(v.IdAt(1));
    EXPECT_EQ(v.Selected(), (std::vector<int>{1}));
    EXPECT_EQ(doc->GetSelectCount(), 1);
    v.Click(v.IdAt(5), MK_CONTROL);
    EXPECT_EQ(v.Selected(), (std::vector<int>{1, 5}));
    EXPECT_EQ(doc->GetLastSelectedItem(), v.view->GetThumbnail(v.IdAt(5)));
    v.Click(v.IdAt(5), MK_CONTROL);
    EXPECT_EQ(v.Selected(), (std::vector<int>{1}));
    // Shift: the rectangle of cells from the anchor (1: column 1, row 0) to 5 (2, 1).
    v.Click(v.IdAt(5), MK_SHIFT);
    EXPECT_EQ(v.Selected(), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_EQ(doc->GetSelectCount(), 4);
    // A click beside every item empties the selection.
    v.ClickAt(CPoint(790, 590));
    EXPECT_EQ(doc->GetSelectCount(), 0);

    // The check box marks; a second press unmarks.
    CRect check;
    CThumbnailItem* item = v.view->FindItem(v.IdAt(3));
    item->GetCheckRect(check);
    CPoint at = check.CenterPoint() - v.view->GetScrollPositionRaw();
    v.ClickAt(at);
    EXPECT_EQ(v.view->GetThumbnail(v.IdAt(3))->GetMarkStatus(1), 1);
    EXPECT_EQ(doc->GetSelectCount(), 0);  // marking leaves the selection
    v.ClickAt(at);
    EXPECT_EQ(v.view->GetThumbnail(v.IdAt(3))->GetMarkStatus(1), 0);

    // Keys: Home, Right, Shift+End through the model (the key state comes from the
    // thread's keyboard, so the keys go through the view's own handler).
    v.Click(v.IdAt(0));
    v.view->SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(v.Selected(), (std::vector<int>{1}));
    v.view->SendMessage(WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(v.Selected(), (std::vector<int>{7}));
    v.view->SendMessage(WM_KEYDOWN, 'P', 0);  // type-ahead: "people.jpg", then "plain.jpg"
    EXPECT_EQ(v.Selected(), (std::vector<int>{3}));
    v.view->SendMessage(WM_KEYDOWN, 'P', 0);
    EXPECT_EQ(v.Selected(), (std::vector<int>{4}));
  }
  testsupport::RemoveTree(folder);
}

TEST(IconView, GroupsDecodeWindowAndScreenshot) {
  std::string a = FixtureFolder("iconview-shot-a", {"exif_full.jpg", "quadrants.jpg", "rose.jpg", "movie.mp4",
                                                    "wizard.jpg", "people.jpg"});
  std::string b = FixtureFolder("iconview-shot-b", {"image.png", "plain.jpg"});
  std::string c = FixtureFolder("iconview-shot-c", {});
  {
    ViewOverFolders v({a, c, b});
    ASSERT_NE(v.view, nullptr);
    ASSERT_EQ(v.view->GetGroupHeaders().GetCount(), 3);
    // Group a: six items in two rows; the empty group c only its header; b on its own row.
    const CIconGroupHeaders& h = v.view->GetGroupHeaders();
    EXPECT_EQ(h.GetAt(0).m_rect.top, 0);
    int afterA = h.GetAt(1).m_rect.top, afterC = h.GetAt(2).m_rect.top;
    EXPECT_EQ(afterC - afterA, 50);
    CThumbnailItem* firstB = v.view->FindItem(v.IdAt(6));
    EXPECT_EQ(firstB->m_y, afterC + 50);
    EXPECT_EQ(firstB->m_x, 15);

    v.view->SelectItem(v.IdAt(1), TRUE);
    v.view->Invalidate();
    v.view->UpdateWindow();
    // Everything fits: the decode window is the whole list.
    EXPECT_EQ(v.view->GetDecodeStart(), 0);
    EXPECT_EQ(v.view->GetDecodeCount(), 8);

    uikit::Picture pic(v.view->m_hWnd);
    EXPECT_FALSE(pic.Save("iconview_groups").empty());
    CRect client;
    v.view->GetClientRect(&client);
    EXPECT_GT(pic.Count(client, RGB(122, 142, 156)), client.Width() * client.Height() / 4);
    // Every picture shows more than the background; the selected one has its frame.
    for (int i = 0; i < 8; ++i) {
      CRect rc;
      v.view->GetItemRect(v.IdAt(i), rc, 1);
      rc.DeflateRect(10, 10);
      EXPECT_LT(pic.Count(rc, RGB(122, 142, 156)), rc.Width() * rc.Height() / 2) << i;
    }
    CRect sel;
    v.view->GetItemRect(v.IdAt(1), sel, 1);
    sel.InflateRect(4, 4);
    EXPECT_GT(pic.Count(sel, RGB(255, 146, 18)) + pic.Count(sel, RGB(255, 214, 87)), 100);

    // A smaller window: the second group scrolls out, and scrolling moves the decode window.
    v.pFrame->SetWindowPos(nullptr, 0, 0, 800, 300, SWP_NOZORDER | SWP_NOMOVE);
    uikit::PumpPending();
    v.view->Invalidate();
    v.view->UpdateWindow();
    int before = v.view->GetDecodeStart();
    v.view->SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    v.view->UpdateWindow();
    EXPECT_GT(v.view->GetDecodeStart(), before);
  }
  for (auto& f : {a, b, c}) testsupport::RemoveTree(f);
}

}  // namespace
