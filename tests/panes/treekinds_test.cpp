// The texts of tree items that ask the photo database or the card: saved searches (a
// gone file forgotten, a file of an absent drive kept, the place searches' group of files
// without a city), classifications, print orders on the card drive, and the re-check of
// saved searches while the card is out and back.
#include <gtest/gtest.h>

#include <FolderTreePlugin.h>
#include <RecordGate.h>
#include <RecordGateEx.h>
#include <VxResourceIds.h>

#include <string>

#include "PluginTreeCtrl.h"
#include "card.h"
#include "files.h"
#include "tempfolder.h"
#include "ui/ResourceDialog.h"

namespace {

// A photo database of the test's own.
struct ScratchDatabase {
  std::string dir = testsupport::NewTempFolder("kindsdb");
  ScratchDatabase() { ::SetEnvironmentVariableA("GLIMORA_DB_DIR", dir.c_str()); }
  ~ScratchDatabase() {
    VxDBWExitDatabase(-1);
    ::SetEnvironmentVariableA("GLIMORA_DB_DIR", nullptr);
    testsupport::RemoveTree(dir);
  }
};

void Enroll(const std::string& path, const char* keywords, const char* city = nullptr) {
  ASSERT_TRUE(SUCCEEDED(VxDBWEnrollFile(path.c_str(), 0))) << path;
  METADATA* list = nullptr;
  VxDBWxCreateKeywordList(&list, keywords);
  if (city) VxDBWxCreateLocationList(&list, 0, "Area", city, "", nullptr, nullptr, 0);
  EXPECT_EQ(S_OK, VxDBWUpdateFile(path.c_str(), list)) << path;
  VxDBWxFreeRegisterList(&list);
}

bool Enrolled(const std::string& path) { return VxDBWIsEnrolled(path.c_str()) == S_OK; }

// A plug-in tree without a plug-in: the test fills it with records of its own.
struct Tree {
  CWnd parent;
  CPluginTreeCtrl tree;
  Tree() {
    parent.CreateEx(0, "STATIC", "kinds", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 300, 300, nullptr, nullptr);
    tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS, CRect(0, 0, 300, 300), &parent, 100, TRUE, FALSE);
  }
  ~Tree() { parent.DestroyWindow(); }
  HTREEITEM Add(const char* label, const PluginItemRecord* record, HTREEITEM parentItem = TVI_ROOT) {
    HTREEITEM h = tree.InsertItem(label, parentItem);
    tree.SetItemData(h, (DWORD_PTR)record);
    return h;
  }
  std::string Text(HTREEITEM h) {
    return tree.KindText(h, *reinterpret_cast<const PluginItemRecord*>(tree.GetItemData(h)));
  }
};

// A drive letter the prefix does not have.
std::string AbsentDrive() {
  DWORD drives = ::GetLogicalDrives();
  for (char c = 'Z'; c > 'F'; --c)
    if (!(drives & (1u << (c - 'A')))) return std::string(1, c) + ":";
  return "";
}

TEST(TreeKinds, SavedSearchesForgetOnlyFilesThatAreReallyGone) {
  ScratchDatabase db;
  std::string data = testsupport::NewTempFolder("kindsdata");
  std::string a = data + "\\a.jpg", b = data + "\\b.jpg", gone = data + "\\gone.jpg";
  ASSERT_TRUE(testsupport::WriteWholeFile(a, "a"));
  ASSERT_TRUE(testsupport::WriteWholeFile(b, "b"));
  std::string away = AbsentDrive();
  ASSERT_FALSE(away.empty());
  away += "\\away\\c.jpg";
  Enroll(a, "trip", "Kyoto");
  Enroll(gone, "trip");
  Enroll(away, "trip");
  Enroll(b, "home|x");

  // A place search holding two searches; one name carries a comma, one a bar.
  PluginSearchRecord place{}, trips{}, trip{}, home{};
  place.name = LoadResourceText(IDS_CLASSIFY_GROUP_PLACE);
  place.query = "Keywords,trip";
  trips.name = "Trips, all";
  trip.name = "Tr|p";
  trip.query = "Keywords,trip";
  home.name = "Home";
  home.query = "Keywords,home";
  home.query2 = "Keywords,x|%";  // widened runs find the same file once
  PluginItemRecord rPlace{"", PLUGIN_ITEM_SEARCH, (INT_PTR)&place}, rTrips{"", PLUGIN_ITEM_SEARCH, (INT_PTR)&trips},
      rTrip{"", PLUGIN_ITEM_SEARCH, (INT_PTR)&trip}, rHome{"", PLUGIN_ITEM_SEARCH, (INT_PTR)&home};
  Tree t;
  HTREEITEM hPlace = t.Add("place", &rPlace);
  HTREEITEM hTrips = t.Add("trips", &rTrips, hPlace);
  t.Add("trip", &rTrip, hTrips);
  t.Add("home", &rHome, hTrips);

  std::string text = t.Text(hTrips);
  std::string noCity = "," + std::string(LoadResourceText(IDS_SEARCH_NO_CITY)) + ",3";
  EXPECT_EQ(text.substr(0, text.find('|')), ",\"Trips, all\",\"Tr_p\",1,\"Home\",2" + noCity) << text;
  EXPECT_NE(text.find("|2|"), std::string::npos) << text;
  EXPECT_NE(text.find(a + "|1||"), std::string::npos) << text;
  EXPECT_NE(text.find(away + "|1||"), std::string::npos) << "a file of an absent drive stays: " << text;
  EXPECT_NE(text.find(away + "|3||"), std::string::npos) << "it knows no city: " << text;
  EXPECT_EQ(text.find(a + "|3||"), std::string::npos) << "it knows its city: " << text;
  EXPECT_NE(text.find(b + "|2||"), std::string::npos) << text;
  EXPECT_EQ(text.find(b + "|2||"), text.rfind(b + "|2||")) << "once: " << text;
  EXPECT_EQ(text.find(gone), std::string::npos) << text;
  EXPECT_FALSE(Enrolled(gone)) << "a file gone from a folder that is there is forgotten";
  EXPECT_TRUE(Enrolled(away));
  EXPECT_TRUE(Enrolled(a));

  // A search without children runs its own query as group 1.
  HTREEITEM hOwn = t.Add("own", &rHome);
  EXPECT_EQ(t.Text(hOwn), ",\"Home\"|2|" + b + "|1||");
  // Without a search record: an empty list.
  PluginItemRecord rNone{"", PLUGIN_ITEM_SEARCH, 0};
  EXPECT_EQ(t.Text(t.Add("none", &rNone)), ",\"\"|2|");
  testsupport::RemoveTree(data);
}

TEST(TreeKinds, ClassificationsListTheirTagsFiles) {
  ScratchDatabase db;
  std::string data = testsupport::NewTempFolder("kindsdata");
  std::string a = data + "\\a.jpg", b = data + "\\b.jpg";
  testsupport::WriteWholeFile(a, "a");
  testsupport::WriteWholeFile(b, "b");
  Enroll(a, "trip");
  Enroll(b, "home");
  VXDBTAG* tags = nullptr;
  ASSERT_EQ(S_OK, VxDBWxCreateClassifyTags(VXDB_CLASS_KEYWORD, &tags));
  char topName[] = "Keywords";
  VXDBTAG top = {};
  top.pszName = topName;
  PluginItemRecord rTop{"", PLUGIN_ITEM_CLASSIFY, (INT_PTR)&top};
  std::vector<PluginItemRecord> records;
  for (VXDBTAG* p = tags; p; p = p->pNext) records.push_back({"", PLUGIN_ITEM_CLASSIFY, (INT_PTR)p});
  Tree t;
  HTREEITEM hTop = t.Add("keywords", &rTop);
  for (const PluginItemRecord& r : records) t.Add("tag", &r, hTop);
  std::string text = t.Text(hTop);
  int group = 1;
  std::string header = ",\"Keywords\"";
  for (VXDBTAG* p = tags; p; p = p->pNext, ++group) {
    header += ",\"" + std::string(p->pszName) + "\"," + std::to_string(group);
    std::string file = std::string(p->pszName) == "trip" ? a : b;
    EXPECT_NE(text.find(file + "|" + std::to_string(group) + "||"), std::string::npos) << text;
  }
  EXPECT_EQ(group, 3);
  EXPECT_EQ(text.substr(0, text.find('|')), header);
  // A tag that finds nothing uses up its group number and lists nothing.
  EXPECT_EQ(t.Text(t.Add("top alone", &rTop)), ",\"Keywords\"|2|");
  VxDBWxFreeClassifyTags(tags);
  testsupport::RemoveTree(data);
}

// The card drive E: holds a print order; its result files keep their database entries
// while the card is out.
TEST(TreeKinds, PrintOrdersAndTheCardTakenOut) {
  ScratchDatabase db;
  std::string cardDir = testsupport::DefaultCardDir();
  ASSERT_FALSE(cardDir.empty());
  ASSERT_EQ(testsupport::InsertCard('e', cardDir), 0u);
  const std::string pic1 = "E:\\DCIM\\199KINDS\\ABCD0001.JPG", pic2 = "E:\\DCIM\\199KINDS\\ABCD0002.JPG";
  testsupport::MakeFolders("E:\\DCIM\\199KINDS");
  testsupport::MakeFolders("E:\\MISC");
  ASSERT_TRUE(testsupport::WriteWholeFile(pic1, "1"));
  ASSERT_TRUE(testsupport::WriteWholeFile(pic2, "2"));
  ASSERT_TRUE(testsupport::WriteWholeFile("E:\\MISC\\AUTPRINT.MRK",
                                          "[HDR]\r\nGEN REV = 01.10\r\n\r\n"
                                          "[JOB]\r\nPRT PID = 001\r\nPRT TYP = STD\r\n"
                                          "<IMG SRC = \"../DCIM/199KINDS/ABCD0001.JPG\">\r\n\r\n"
                                          "[JOB]\r\nPRT PID = 002\r\nPRT TYP = STD\r\n"
                                          "<IMG SRC = \"../DCIM/199KINDS/ABCD0003.JPG\">\r\n"));
  Tree t;
  PluginItemRecord rOrders{"E:\\MISC", PLUGIN_ITEM_PRINT_ORDER, 0},
      rJob{"E:\\MISC\\AUTPRINT.MRK", PLUGIN_ITEM_PRINT_ORDER, 0};
  HTREEITEM hOrders = t.Add("Orders", &rOrders);
  t.Add("Print, now", &rJob, hOrders);
  // Only the pictures that exist; names quoted.
  EXPECT_EQ(t.Text(hOrders), ",\"Orders\",\"Print, now\",1|2|" + pic1 + "|1||");
  EXPECT_EQ(t.Text(t.Add("job alone", &rJob)), ",\"job alone\"|2|" + pic1 + "|1||");

  // A saved search whose result is on the card, re-checked with the card out and in.
  Enroll(pic1, "card");
  PluginSearchRecord search{};
  search.name = "Card";
  search.query = "Keywords,card";
  PluginItemRecord rSearch{"", PLUGIN_ITEM_SEARCH, (INT_PTR)&search};
  HTREEITEM hSearch = t.tree.InsertItem("card search", TVI_ROOT, TVI_FIRST);
  t.tree.SetItemData(hSearch, (DWORD_PTR)&rSearch);
  ::DeleteFileA(pic1.c_str());
  ASSERT_EQ(testsupport::RemoveCard('e'), 0u);
  t.tree.RecheckSearchItems();
  EXPECT_TRUE(Enrolled(pic1)) << "the card is out: its files are not gone";
  ASSERT_EQ(testsupport::InsertCard('e', cardDir), 0u);
  t.tree.RecheckSearchItems();
  EXPECT_FALSE(Enrolled(pic1)) << "the card is in and the file is not";

  testsupport::RemoveTree("E:\\DCIM\\199KINDS");
  testsupport::RemoveTree("E:\\MISC");
  ::RemoveDirectoryA("E:\\DCIM");
}

}  // namespace

// A folder group: a child with children of its own stands for its deepest first
// descendant and that one's following siblings; a plain child for itself. Sub-folders,
// hidden files and "title.txt" are not listed outside the card tree.
TEST(TreeKinds, FolderGroupsListTheDeepestFirstLevel) {
  std::string data = testsupport::NewTempFolder("kindsgroup");
  for (const char* f : {"plain\\p.jpg", "plain\\title.txt", "nest\\n.jpg", "nest\\a\\a1\\x.jpg", "nest\\a\\a2\\y.jpg",
                        "nest\\b\\z.jpg"})
    ASSERT_TRUE(testsupport::WriteWholeFile(data + "\\" + f, "x"));
  ::SetFileAttributesA((data + "\\plain\\p.jpg").c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_TRUE(testsupport::WriteWholeFile(data + "\\plain\\hidden.jpg", "x"));
  ::SetFileAttributesA((data + "\\plain\\hidden.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN);
  std::string top = data, plain = data + "\\plain", nest = data + "\\nest", a = nest + "\\a", a1 = a + "\\a1",
              a2 = a + "\\a2", b = nest + "\\b";
  PluginItemRecord rTop{top.c_str(), PLUGIN_ITEM_GROUP, 0}, rPlain{plain.c_str(), PLUGIN_ITEM_FOLDER, 0},
      rNest{nest.c_str(), PLUGIN_ITEM_FOLDER, 0}, rA{a.c_str(), PLUGIN_ITEM_FOLDER, 0},
      rA1{a1.c_str(), PLUGIN_ITEM_FOLDER, 0}, rA2{a2.c_str(), PLUGIN_ITEM_FOLDER, 0}, rB{b.c_str(), PLUGIN_ITEM_FOLDER, 0};
  Tree t;
  HTREEITEM hTop = t.Add("top", &rTop);
  t.Add("plain", &rPlain, hTop);
  HTREEITEM hNest = t.Add("nest", &rNest, hTop);
  HTREEITEM hA = t.Add("a", &rA, hNest);
  t.Add("b", &rB, hNest);
  t.Add("a1", &rA1, hA);
  t.Add("a2", &rA2, hA);
  std::string text = t.Text(hTop);
  EXPECT_EQ(text, ",top,plain,1,nest,2|2|" + plain + "\\p.jpg|1||" + a1 + "\\x.jpg|2||" + a2 + "\\y.jpg|2||") << text;
  testsupport::RemoveTree(data);
}
