// The saved-selection walks over a tree standing in for the host's.
#include <FolderWalk.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <functional>
#include <set>

using namespace disktree;

namespace {

class FakeTree : public WalkTree {
 public:
  struct Node {
    std::string text, path;
    ULONG attributes;
    int parent;
    std::vector<int> children;
  };
  std::vector<Node> nodes;
  std::set<int> selected;
  int caret = 0;
  std::vector<std::string> expanded;
  std::function<void(const std::string&)> onExpand;

  // Desktop > [My Documents (file system), My Computer > [ (C:) > ..., Card (E:) > ...]]
  FakeTree() {
    Add(-1, "Desktop", "C:\\users\\me\\Desktop", SFGAO_FILESYSTEM);
    Add(0, "My Documents", "C:\\users\\me\\Documents", SFGAO_FILESYSTEM);
    int pc = Add(0, "My Computer", "::{20D04FE0}", 0);
    int c = Add(pc, " (C:)", "C:\\", SFGAO_FILESYSTEM);
    int card = Add(pc, "Card (E:)", "E:\\", SFGAO_FILESYSTEM);
    int photos = Add(c, "Photos", "C:\\Photos", SFGAO_FILESYSTEM);
    Add(photos, "2024", "C:\\Photos\\2024", SFGAO_FILESYSTEM);
    Add(photos, "\x95\x5C", "C:\\Photos\\\x95\x5C", SFGAO_FILESYSTEM);
    Add(card, "DCIM", "E:\\DCIM", SFGAO_FILESYSTEM);
    int net = Add(0, "Network", "::{NET}", 0);
    int server = Add(net, "server", "\\\\server", 0);
    Add(server, "share", "\\\\server\\share", SFGAO_FILESYSTEM);
  }
  int Add(int parent, const std::string& text, const std::string& path, ULONG attributes) {
    nodes.push_back({text, path, attributes, parent, {}});
    int id = int(nodes.size()) - 1;
    if (parent >= 0) nodes[parent].children.push_back(id);
    return id;
  }
  int Find(const std::string& path) const {
    for (size_t i = 0; i < nodes.size(); ++i)
      if (nodes[i].path == path) return int(i);
    return -1;
  }
  static HTREEITEM H(int i) { return i < 0 ? nullptr : reinterpret_cast<HTREEITEM>(intptr_t(i + 1)); }
  static int I(HTREEITEM h) { return int(reinterpret_cast<intptr_t>(h)) - 1; }

  HTREEITEM Root() override { return H(0); }
  HTREEITEM Caret() override { return H(caret); }
  HTREEITEM Parent(HTREEITEM h) override { return H(nodes[I(h)].parent); }
  HTREEITEM FirstChild(HTREEITEM h) override {
    const Node& n = nodes[I(h)];
    return n.children.empty() ? nullptr : H(n.children[0]);
  }
  HTREEITEM NextSibling(HTREEITEM h) override {
    int i = I(h), p = nodes[i].parent;
    if (p < 0) return nullptr;
    auto& c = nodes[p].children;
    for (size_t k = 0; k + 1 < c.size(); ++k)
      if (c[k] == i) return H(c[k + 1]);
    return nullptr;
  }
  void Expand(HTREEITEM h) override {
    expanded.push_back(nodes[I(h)].text);
    if (onExpand) onExpand(nodes[I(h)].text);
  }
  std::string Text(HTREEITEM h) override { return nodes[I(h)].text; }
  ULONG Attributes(HTREEITEM h) override { return nodes[I(h)].attributes; }
  std::string ParsingPath(HTREEITEM h) override { return nodes[I(h)].path; }
  void SelectAlone(HTREEITEM h) override {
    selected = {I(h)};
    caret = I(h);
  }
  void AddToSelection(HTREEITEM h) override {
    selected.insert(I(h));
    caret = I(h);
  }
  void MakeCaret(HTREEITEM h) override { caret = I(h); }
};

}  // namespace

TEST(FolderWalk, SelectionTextsEndAsTheyShould) {
  struct Case {
    const char* what;
    std::string text;
    int outcome;
    std::vector<std::string> selected;
    std::string caret;
    bool post, writeBack;
  } cases[] = {
      {"root then a drive path: the root entry does not switch adding on",
       "**Desktop**|c:\\photos\\2024",
       kWalkFound,
       {"C:\\Photos\\2024"},
       "C:\\Photos\\2024",
       true,
       true},
      {"two paths: both selected, the second as caret",
       "C:\\Photos\\2024|E:\\DCIM\\",
       kWalkFound,
       {"C:\\Photos\\2024", "E:\\DCIM"},
       "E:\\DCIM",
       true,
       true},
      {"a missing first path ends the loop",
       "C:\\Nothing|E:\\DCIM",
       kWalkNotFound,
       {},
       "C:\\users\\me\\Desktop",
       true,
       false},
      {"a bare drive root selects the drive", "E:", kWalkFound, {"E:\\"}, "E:\\", true, true},
      {"a drive found through its label's letter", "e:\\dcim", kWalkFound, {"E:\\DCIM"}, "E:\\DCIM", true, true},
      {"a Japanese name whose trail byte is 0x5C",
       "C:\\Photos\\\x95\x5C",
       kWalkFound,
       {"C:\\Photos\\\x95\x5C"},
       "C:\\Photos\\\x95\x5C",
       true,
       true},
      {"a network path below the network folder",
       "\\\\server\\share",
       kWalkFound,
       {"\\\\server\\share"},
       "\\\\server\\share",
       true,
       true},
      {"an empty text", "", kWalkNotFound, {}, "C:\\users\\me\\Desktop", true, false},
      {"a drive that is not there", "Q:\\x", kWalkNotFound, {}, "C:\\users\\me\\Desktop", true, false},
      {"over 260 components",
       "C:" +
           [] {
             std::string s;
             for (int i = 0; i < 300; ++i) s += "\\a";
             return s;
           }(),
       kWalkNotFound,
       {},
       "C:\\users\\me\\Desktop",
       true,
       false},
  };
  for (const Case& c : cases) {
    FakeTree tree;
    SelectionRun run = RunSelection(tree, c.text, nullptr, "Network");
    EXPECT_EQ(run.outcome, c.outcome) << c.what;
    EXPECT_EQ(run.postOpenFolder, c.post) << c.what;
    EXPECT_EQ(run.writeBack, c.writeBack) << c.what;
    std::set<int> expected;
    for (const std::string& p : c.selected) expected.insert(tree.Find(p));
    if (!c.selected.empty()) {
      EXPECT_EQ(tree.selected, expected) << c.what;
    }
    EXPECT_EQ(tree.nodes[tree.caret].path, c.caret) << c.what;
  }
}

TEST(FolderWalk, MalformedTextOfAThousandEntriesEndsAtTheFirstMiss) {
  FakeTree tree;
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "C:\\Photos\\2024|";
  SelectionRun run = RunSelection(tree, text, nullptr, "Network");  // the last entry is empty
  EXPECT_EQ(run.outcome, kWalkNotFound);
  EXPECT_FALSE(run.writeBack);
}

TEST(FolderWalk, AStopDuringASlowExpansionEndsTheWalkWithoutPosting) {
  FakeTree tree;
  volatile LONG stop = 0;
  tree.onExpand = [&](const std::string& text) {
    if (text == "Photos") stop = 1;  // the user stops while the folder is being read
  };
  SelectionRun run = RunSelection(tree, "C:\\Photos\\2024|E:\\DCIM", &stop, "Network");
  EXPECT_EQ(run.outcome, kWalkStopped);
  EXPECT_FALSE(run.postOpenFolder);
  EXPECT_FALSE(run.writeBack);
  EXPECT_TRUE(tree.selected.empty());
}

TEST(FolderWalk, TheSynchronousWalkMovesTheCaretAlongItsWay) {
  FakeTree tree;
  EXPECT_EQ(SelectPathNow(tree, "c:\\photos\\2024"), 1);
  EXPECT_EQ(tree.nodes[tree.caret].path, "C:\\Photos\\2024");
  EXPECT_TRUE(tree.selected.empty());  // only the caret moved
  EXPECT_EQ(SelectPathNow(tree, "C:\\Photos\\missing"), 0);
  EXPECT_EQ(tree.nodes[tree.caret].path, "C:\\Photos");
  EXPECT_EQ(SelectPathNow(tree, "\\\\server\\share"), 0);
}
