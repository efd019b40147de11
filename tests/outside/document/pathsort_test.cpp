// Sorting path lists as the browser sorts its items.
#include <gtest/gtest.h>

#include "doc_fixtures.h"

namespace {

std::vector<std::string> Names(const CStringList& l) {
  std::vector<std::string> v;
  for (POSITION pos = l.GetHeadPosition(); pos;) {
    CString s = l.GetNext(pos);
    v.push_back((LPCSTR)s.Mid(s.ReverseFind('\\') + 1));
  }
  return v;
}

BOOL CALLBACK StopAtTwo(LPCSTR, int nIndex, int, void* pCalls) {
  ++*static_cast<int*>(pCalls);
  return nIndex < 2;
}

}  // namespace

TEST(PathSort, OrdersByTheSortId) {
  std::string dir = doctest::ScratchDir("sort");
  // Sizes: b small, c middle, a large (a text, a PNG, a JPEG).
  ASSERT_TRUE(doctest::WriteText(dir + "\\b.txt", "b"));
  ASSERT_TRUE(doctest::CopyFixture("image.png", dir + "\\c.png"));
  ASSERT_TRUE(doctest::CopyFixture("exif_full.jpg", dir + "\\a.jpg"));
  CStringList base;
  for (const char* n : {"\\c.png", "\\gone.jpg", "\\a.jpg", "\\b.txt"}) base.AddTail((dir + n).c_str());

  struct {
    UINT id;
    std::vector<std::string> order;
  } cases[] = {
      {19, {"a.jpg", "b.txt", "c.png", "gone.jpg"}},  // name, the missing file last
      {20, {"c.png", "b.txt", "a.jpg", "gone.jpg"}},
      {15, {"b.txt", "c.png", "a.jpg", "gone.jpg"}},  // size
      {17, {"a.jpg", "c.png", "b.txt", "gone.jpg"}},  // extension
      {10, {"c.png", "gone.jpg", "a.jpg", "b.txt"}},  // as it was
      {27, {"c.png", "a.jpg", "b.txt", "gone.jpg"}},  // original order
  };
  for (auto& c : cases) {
    CStringList l;
    l.AddTail(&base);
    ASSERT_EQ(CPathSort::Sort(l, c.id, nullptr, nullptr), S_OK) << c.id;
    EXPECT_EQ(Names(l), c.order) << c.id;
  }
  CStringList l;
  l.AddTail(&base);
  EXPECT_EQ(CPathSort::Sort(l, 31, nullptr, nullptr), E_INVALIDARG);
  EXPECT_EQ(CPathSort::Sort(l, 9, nullptr, nullptr), E_INVALIDARG);
  int calls = 0;
  EXPECT_EQ(CPathSort::Sort(l, 19, StopAtTwo, &calls), E_ABORT);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(Names(l), (std::vector<std::string>{"c.png", "gone.jpg", "a.jpg", "b.txt"}));  // untouched
  CStringList empty;
  EXPECT_EQ(CPathSort::Sort(empty, 11, nullptr, nullptr), S_OK);
}
