// Collections: growth rules, node blocks, POSITION iteration while editing, hashing and
// bucket order, typed collections.
#include <gtest/gtest.h>
#include <fw/fw.h>

#include <string>
#include <vector>

namespace {

// Counts live instances, so that leaks and double destruction show.
struct Counted {
  static int live;
  int value;
  CString text;
  Counted(int v = 0) : value(v) { ++live; }
  Counted(const Counted& o) : value(o.value), text(o.text) { ++live; }
  Counted& operator=(const Counted&) = default;
  ~Counted() { --live; }
  bool operator==(const Counted& o) const { return value == o.value; }
};
int Counted::live = 0;

// Runs f and reports whether it threw CInvalidArgException (deleted on the way).
template <class F>
bool ThrowsInvalidArg(F f) {
  bool thrown = false;
  TRY { f(); }
  CATCH(CInvalidArgException, e) { thrown = true; }
  END_CATCH
  return thrown;
}

template <class T, class A>
std::vector<T> Items(const CList<T, A>& list) {
  std::vector<T> out;
  for (POSITION pos = list.GetHeadPosition(); pos;) out.push_back(list.GetNext(pos));
  return out;
}

std::vector<std::string> Items(const CStringList& list) {
  std::vector<std::string> out;
  for (POSITION pos = list.GetHeadPosition(); pos;) out.push_back((LPCSTR)list.GetNext(pos));
  return out;
}

// ---- CArray -----------------------------------------------------------------------------

struct GrowthCase {
  INT_PTR size;     // elements before the Add that grows the storage
  INT_PTR growBy;   // as given to SetSize
  INT_PTR alloc;    // storage after the Add
};

TEST(CArrayGrowth, GrowsByItsSettingOrAnEighthClampedTo4And1024) {
  const GrowthCase cases[] = {
      {1, 0, 5},      {8, 0, 12},       {10, 0, 14},       {40, 0, 45},
      {100, 0, 112},  {8191, 0, 9214},  {10000, 0, 11024}, {10, 3, 13},
      {10, -1, 14},   {100, 1, 101},
  };
  for (const auto& c : cases) {
    CDWordArray a;
    a.SetSize(c.size, c.growBy);
    EXPECT_EQ(a.GetAllocSize(), c.size) << "first allocation is exact";
    a.Add(7);
    EXPECT_EQ(a.GetAllocSize(), c.alloc) << c.size << " / " << c.growBy;
    EXPECT_EQ(a.GetSize(), c.size + 1);
    EXPECT_EQ(a[c.size], 7u);
    EXPECT_EQ(a[0], 0u) << "new elements start out zero";
  }
  CUIntArray b;
  b.SetSize(2, 20);
  EXPECT_EQ(b.GetAllocSize(), 20) << "a first allocation takes the grow-by when larger";
  b.SetSize(0);
  EXPECT_EQ(b.GetAllocSize(), 0);
  EXPECT_TRUE(b.GetData() == nullptr);
}

TEST(CArrayEdit, InsertRemoveAppendCopy) {
  CStringArray a;
  a.Add("b");
  a.Add("d");
  a.InsertAt(0, "a");
  a.InsertAt(2, "c", 2);
  a.InsertAt(7, "z");  // past the end: the gap gets empty strings
  ASSERT_EQ(a.GetSize(), 8);
  const char* expect[] = {"a", "b", "c", "c", "d", "", "", "z"};
  for (int i = 0; i < 8; ++i) EXPECT_STREQ(a[i], expect[i]) << i;
  a.RemoveAt(2, 4);
  a.RemoveAt(a.GetUpperBound());
  ASSERT_EQ(a.GetSize(), 3);
  EXPECT_STREQ(a[2], "");
  a.SetAt(2, "表示");
  EXPECT_EQ(a.Append(a), 3) << "appending itself";
  EXPECT_EQ(a.GetSize(), 6);
  EXPECT_STREQ(a[5], "表示");
  CStringArray b;
  b.Copy(a);
  b.SetAtGrow(9, "j");
  EXPECT_EQ(b.GetSize(), 10);
  EXPECT_STREQ(b.ElementAt(0), "a");
  b.FreeExtra();
  EXPECT_EQ(b.GetAllocSize(), 10);
  b.InsertAt(1, &a);
  EXPECT_EQ(b.GetSize(), 16);
  EXPECT_STREQ(b[1], "a");
  EXPECT_STREQ(b[7], "b");
  b.RemoveAll();
  EXPECT_TRUE(b.IsEmpty());
  EXPECT_EQ(b.GetUpperBound(), -1);
}

TEST(CArrayEdit, AddingAnOwnElementSurvivesTheMove) {
  CStringArray a;
  a.Add("写真");
  for (int i = 0; i < 100; ++i) a.Add(a[i]);
  for (int i = 0; i < 101; ++i) ASSERT_STREQ(a[i], "写真") << i;
  CArray<Counted, const Counted&> c;
  c.Add(Counted(1));
  for (int i = 0; i < 50; ++i) c.InsertAt(0, c[c.GetUpperBound()]);
  EXPECT_EQ(c[0].value, 1);
  c.RemoveAll();
  EXPECT_EQ(Counted::live, 0);
}

TEST(CArrayEdit, OutOfRangeThrowsInsteadOfCorrupting) {
  CByteArray a;
  a.SetSize(3);
  EXPECT_TRUE(ThrowsInvalidArg([&] { a.GetAt(3); }));
  EXPECT_TRUE(ThrowsInvalidArg([&] { a[-1] = 1; }));
  EXPECT_TRUE(ThrowsInvalidArg([&] { a.RemoveAt(2, 2); }));
  EXPECT_TRUE(ThrowsInvalidArg([&] { a.SetSize(-1); }));
  EXPECT_FALSE(ThrowsInvalidArg([&] { a.SetAt(2, 9); }));
  EXPECT_EQ(a[2], 9);
}

// ---- CList ------------------------------------------------------------------------------

struct ListProbe : CList<int, int> {
  explicit ListProbe(INT_PTR nBlockSize = 10) : CList<int, int>(nBlockSize) {}
  int Blocks() const {
    int n = 0;
    for (CPlex* p = m_pBlocks; p; p = p->pNext) ++n;
    return n;
  }
};

TEST(CListNodes, ComeInBlocksAndAreReused) {
  ListProbe list;
  for (int i = 0; i < 10; ++i) list.AddTail(i);
  EXPECT_EQ(list.Blocks(), 1);
  list.AddTail(10);
  EXPECT_EQ(list.Blocks(), 2);
  list.RemoveHead();
  list.AddTail(11);
  EXPECT_EQ(list.Blocks(), 2) << "a freed node is used again";
  while (!list.IsEmpty()) list.RemoveTail();
  EXPECT_EQ(list.Blocks(), 0) << "an empty list gives its blocks back";
  ListProbe small(3);
  for (int i = 0; i < 7; ++i) small.AddHead(i);
  EXPECT_EQ(small.Blocks(), 3);
}

TEST(CListIteration, EditingWhileWalking) {
  CList<int, int> list;
  for (int i = 1; i <= 6; ++i) list.AddTail(i);
  // Remove the even ones and put a marker before every multiple of 3, in one pass.
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    POSITION current = pos;
    int v = list.GetNext(pos);
    if (v % 3 == 0) list.InsertBefore(current, -v);
    if (v % 2 == 0) list.RemoveAt(current);
  }
  EXPECT_EQ(Items(list), (std::vector<int>{1, -3, 3, 5, -6}));
  std::vector<int> backwards;
  for (POSITION pos = list.GetTailPosition(); pos;) backwards.push_back(list.GetPrev(pos));
  EXPECT_EQ(backwards, (std::vector<int>{-6, 5, 3, -3, 1}));
  list.InsertAfter(list.GetTailPosition(), 7);
  list.InsertAfter(list.GetHeadPosition(), 2);
  list.InsertBefore(NULL, 0);
  list.InsertAfter(NULL, 8);
  EXPECT_EQ(Items(list), (std::vector<int>{0, 1, 2, -3, 3, 5, -6, 7, 8}));
  EXPECT_EQ(list.GetHead(), 0);
  EXPECT_EQ(list.GetTail(), 8);
  EXPECT_EQ(list.GetAt(list.FindIndex(3)), -3);
  EXPECT_TRUE(list.FindIndex(9) == NULL);
  EXPECT_TRUE(list.FindIndex(-1) == NULL);
  list.SetAt(list.Find(-6), 6);
  EXPECT_EQ(list.RemoveHead(), 0);
  EXPECT_EQ(list.RemoveTail(), 8);
  EXPECT_EQ(list.GetCount(), 7);
  EXPECT_EQ(list.GetSize(), 7);
}

TEST(CListIteration, AddsOtherListsAndFindsAfterAPosition) {
  CStringList a, b;
  a.AddTail("写真");
  a.AddTail("表示");
  a.AddTail(CString("写真"));
  b.AddTail("x");
  b.AddHead(&a);
  b.AddTail(&a);
  EXPECT_EQ(Items(b), (std::vector<std::string>{"写真", "表示", "写真", "x", "写真", "表示", "写真"}));
  a.AddTail(&a);  // itself: doubled, not endless
  EXPECT_EQ(a.GetCount(), 6);
  POSITION first = b.Find("写真");
  EXPECT_TRUE(first == b.GetHeadPosition());
  POSITION second = b.Find("写真", first);
  EXPECT_TRUE(second == b.FindIndex(2));
  EXPECT_TRUE(b.Find("x", b.FindIndex(3)) == NULL);
  EXPECT_TRUE(b.Find("無い") == NULL);
  EXPECT_TRUE(b.IsKindOf(RUNTIME_CLASS(CStringList)));
  EXPECT_TRUE(b.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(b.IsKindOf(RUNTIME_CLASS(CObList)));
}

TEST(CListIteration, ElementsAreConstructedAndDestroyedOnce) {
  {
    CList<Counted, Counted&> list;
    Counted c(5);
    c.text = "表示";
    for (int i = 0; i < 25; ++i) list.AddTail(c);
    EXPECT_EQ(Counted::live, 26);
    EXPECT_STREQ(list.GetTail().text, "表示");
    list.RemoveAt(list.FindIndex(4));
    Counted head = list.RemoveHead();
    EXPECT_EQ(head.value, 5);
    EXPECT_EQ(Counted::live, 25);
    EXPECT_TRUE(list.Find(c) != NULL);
  }
  EXPECT_EQ(Counted::live, 0);
}

TEST(CListIteration, EmptyAndNullPositionsThrow) {
  CPtrList list;
  EXPECT_TRUE(ThrowsInvalidArg([&] { list.GetHead(); }));
  EXPECT_TRUE(ThrowsInvalidArg([&] { list.RemoveTail(); }));
  POSITION pos = NULL;
  EXPECT_TRUE(ThrowsInvalidArg([&] { list.GetNext(pos); }));
  EXPECT_TRUE(ThrowsInvalidArg([&] { list.RemoveAt(NULL); }));
}

// ---- CMap -------------------------------------------------------------------------------

TEST(CMapHash, IntegerKeysHashToKeyShiftedBy4) {
  EXPECT_EQ(HashKey<int>(0x123), 0x12u);
  EXPECT_EQ(HashKey<int>(-1), 0x0FFFFFFFu) << "a 32-bit key hashes as 32 bits";
  EXPECT_EQ(HashKey<UINT>(0xFFFFFFF0u), 0x0FFFFFFFu);
  EXPECT_EQ(HashKey<void*>(reinterpret_cast<void*>(0x1230)), 0x123u);
  EXPECT_EQ(HashKey<LPCSTR>("写真"), HashKey<const CString&>(CString("写真")));
  EXPECT_EQ(HashKey<LPCSTR>(""), 0u);
  EXPECT_NE(HashKey<LPCSTR>("ab"), HashKey<LPCSTR>("ba"));
}

TEST(CMapHash, IteratesBucketsInOrderNewestFirstWithinABucket) {
  CMap<int, int, int, int> map;
  EXPECT_EQ(map.GetHashTableSize(), 17u);
  // Buckets: (key >> 4) % 17. 0, 1 and 272 share bucket 0; 16 and 300 share bucket 1.
  const int keys[] = {0, 16, 272, 1, 300, -1};
  for (int k : keys) map[k] = k * 10;
  std::vector<int> order;
  for (POSITION pos = map.GetStartPosition(); pos;) {
    int k, v;
    map.GetNextAssoc(pos, k, v);
    EXPECT_EQ(v, k * 10);
    order.push_back(k);
  }
  // -1 hashes to 0x0FFFFFFF: bucket 0x0FFFFFFF % 17 = 15.
  EXPECT_EQ(order, (std::vector<int>{1, 272, 0, 300, 16, -1}));
  int v = 0;
  EXPECT_TRUE(map.Lookup(272, v));
  EXPECT_EQ(v, 2720);
  EXPECT_FALSE(map.Lookup(2, v));
  EXPECT_TRUE(map.RemoveKey(272));  // the middle of a chain
  EXPECT_FALSE(map.RemoveKey(272));
  EXPECT_TRUE(map.Lookup(0, v) && map.Lookup(1, v));
  EXPECT_EQ(map.GetCount(), 5);
  map.SetAt(1, 11);
  EXPECT_EQ(map[1], 11);
  EXPECT_EQ(map.GetCount(), 5);
  EXPECT_EQ(map[99], 0) << "operator[] adds a default value";
  EXPECT_EQ(map.GetCount(), 6);
}

TEST(CMapHash, RemovingTheCurrentKeyWhileIterating) {
  CMapWordToPtr map;
  map.InitHashTable(7);
  EXPECT_EQ(map.GetHashTableSize(), 7u);
  for (WORD k = 0; k < 200; k += 3) map.SetAt(k, reinterpret_cast<void*>((UINT_PTR)k + 1));
  int seen = 0;
  for (POSITION pos = map.GetStartPosition(); pos;) {
    WORD k;
    void* p;
    map.GetNextAssoc(pos, k, p);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(p), (UINT_PTR)k + 1);
    if (k % 2) map.RemoveKey(k);
    ++seen;
  }
  EXPECT_EQ(seen, 67);
  EXPECT_EQ(map.GetCount(), 34);
  map.RemoveAll();
  EXPECT_TRUE(map.IsEmpty());
  EXPECT_TRUE(map.GetStartPosition() == NULL);
  map[5] = nullptr;  // usable again after RemoveAll
  EXPECT_EQ(map.GetCount(), 1);
}

TEST(CMapHash, StringKeyedMaps) {
  CMapStringToPtr deleted;
  const char* paths[] = {"C:\\写真\\a.jpg", "C:\\写真\\b.jpg", "C:\\表示\\a.jpg"};
  for (const char* p : paths) deleted.SetAt(p, reinterpret_cast<void*>(1));
  void* value = nullptr;
  EXPECT_TRUE(deleted.Lookup("C:\\表示\\a.jpg", value));
  EXPECT_FALSE(deleted.Lookup("c:\\表示\\a.jpg", value)) << "keys compare exactly";
  EXPECT_TRUE(deleted.Lookup(CString("C:\\写真\\b.jpg"), value));
  CMapStringToString cells;
  CString key;
  for (long col = 0; col < 5; ++col) {
    for (long row = 0; row < 5; ++row) {
      key.Format("%ld,%ld", col, row);
      cells[key] = key + "!";
    }
  }
  CString text;
  EXPECT_TRUE(cells.Lookup("3,4", text));
  EXPECT_STREQ(text, "3,4!");
  EXPECT_EQ(cells.GetCount(), 25);
  CMapStringToOb objects;
  CStringList* list = new CStringList;
  objects["list"] = list;
  CObject* found = nullptr;
  EXPECT_TRUE(objects.Lookup("list", found));
  EXPECT_TRUE(DYNAMIC_DOWNCAST(CStringList, found) == list);
  EXPECT_TRUE(DYNAMIC_DOWNCAST(CObList, found) == nullptr);
  delete found;
}

// ---- typed wrappers and records ---------------------------------------------------------

struct Item {
  int id;
};

TEST(TypedCollections, TypedPointerWrappersAndRunTimeClasses) {
  Item a{1}, b{2};
  CTypedPtrList<CPtrList, Item*> list;
  list.AddTail(&a);
  list.AddHead(&b);
  EXPECT_EQ(list.GetHead()->id, 2);
  POSITION pos = list.GetHeadPosition();
  list.GetNext(pos);
  EXPECT_EQ(list.GetNext(pos)->id, 1);
  EXPECT_EQ(list.RemoveTail(), &a);
  CTypedPtrArray<CPtrArray, Item*> array;
  array.Add(&a);
  array.Add(&b);
  EXPECT_EQ(array[1]->id, 2);
  array[0] = &b;
  EXPECT_EQ(array.GetAt(0), &b);
  CTypedPtrMap<CMapWordToPtr, WORD, Item*> map;
  map.SetAt(7, &a);
  Item* found = nullptr;
  EXPECT_TRUE(map.Lookup(7, found));
  EXPECT_EQ(found, &a);
  POSITION mp = map.GetStartPosition();
  WORD k = 0;
  map.GetNextAssoc(mp, k, found);
  EXPECT_EQ(k, 7);
  const char* names[] = {"CPtrList", "CObList", "CStringList", "CPtrArray", "CObArray", "CStringArray",
                         "CDWordArray", "CUIntArray", "CWordArray", "CByteArray", "CMapStringToPtr",
                         "CMapStringToOb", "CMapStringToString", "CMapPtrToPtr", "CMapWordToPtr"};
  for (const char* name : names) {
    CRuntimeClass* rc = CRuntimeClass::FromName(name);
    ASSERT_TRUE(rc != nullptr) << name;
    EXPECT_TRUE(rc->IsDerivedFrom(RUNTIME_CLASS(CObject))) << name;
  }
}

}  // namespace
