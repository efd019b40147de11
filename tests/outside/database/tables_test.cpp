// Tables read in pages, as the import dialog collects the keywords used so far.
#include <set>

#include "dbtest.h"

using dbtest::DbTest;

namespace {

// The keyword list of the import dialog: pages of 50, "Keywords" fields with flag 0,
// split at "|", each keyword once.
std::vector<std::string> CollectKeywords(int* pages) {
  std::vector<std::string> out;
  std::set<std::string> seen;
  int count = 0;
  EXPECT_EQ(VxDBWGetReadTableDataCount(VXDB_REC_KEYWORDS, &count), S_OK);
  *pages = 0;
  for (int first = 1; first <= count; first += 50) {
    METAIDXDATA* rows = nullptr;
    HRESULT hr = VxDBWGetReadTableDataEx(VXDB_REC_KEYWORDS, first, first + 49, &rows);
    ++*pages;
    EXPECT_EQ(hr, S_OK);
    for (METAIDXDATA* r = rows; r; r = r->pNext) {
      for (METAFIELD* f = r->pFields; f; f = f->pNext) {
        if (strcmp(f->szName, VXDB_FLD_KEYWORDS) != 0 || f->nFlag != 0) continue;
        std::string v = f->pszValue;
        size_t start = 0;
        while (start <= v.size()) {
          size_t end = v.find('|', start);
          if (end == std::string::npos) end = v.size();
          std::string piece = v.substr(start, end - start);
          if (!piece.empty() && seen.insert(piece).second) out.push_back(piece);
          start = end + 1;
        }
      }
    }
    FreeMetaIdxDataList(rows);
  }
  return out;
}

}  // namespace

TEST_F(DbTest, KeywordTableInPages) {
  VxDBWBeginBatch();
  for (int i = 0; i < 120; ++i) {
    std::string path = data_ + "\\kw\\IMG_" + std::to_string(i) + ".JPG";
    METADATA* list = nullptr;
    std::string kw = i % 3 == 0 ? "海||夏" : (i % 3 == 1 ? "山" : "夏||||花火");
    VxDBWxCreateKeywordList(&list, kw.c_str());
    VxDBWxCreateModelList(&list, "Norvane", "NV-10");
    ASSERT_EQ(VxDBWRegisterFile(path.c_str(), list), S_OK);
    VxDBWxFreeRegisterList(&list);
  }
  VxDBWEndBatch();
  // One file without keywords adds no row.
  VxDBWEnrollFile((data_ + "\\plain.jpg").c_str(), 0);

  int pages = 0;
  EXPECT_EQ(CollectKeywords(&pages), (std::vector<std::string>{"海", "夏", "山", "花火"}));
  EXPECT_EQ(pages, 3);

  // Rows are numbered from 1 in a stable order and carry their file.
  METAIDXDATA* rows = nullptr;
  ASSERT_EQ(VxDBWGetReadTableDataEx(VXDB_REC_KEYWORDS, 101, 150, &rows), S_OK);
  int n = 0, expect = 101;
  for (METAIDXDATA* r = rows; r; r = r->pNext, ++n) {
    EXPECT_EQ(r->nIndex, expect++);
    EXPECT_NE(std::string(r->pszPath).find("\\kw\\IMG_"), std::string::npos);
  }
  EXPECT_EQ(n, 20);
  FreeMetaIdxDataList(rows);

  const struct {
    const char* table;
    int first, last;
    HRESULT want;
  } cases[] = {{VXDB_REC_KEYWORDS, 121, 170, S_FALSE},  // past the end
               {VXDB_REC_KEYWORDS, 0, 50, E_INVALIDARG},
               {VXDB_REC_KEYWORDS, 10, 9, E_INVALIDARG},
               {nullptr, 1, 50, E_INVALIDARG},
               {"NoSuchTable", 1, 50, S_FALSE}};
  for (const auto& c : cases) {
    rows = reinterpret_cast<METAIDXDATA*>(1);
    EXPECT_EQ(VxDBWGetReadTableDataEx(c.table, c.first, c.last, &rows), c.want) << c.first << ".." << c.last;
    EXPECT_EQ(rows, nullptr);
  }
  int count = -1;
  EXPECT_EQ(VxDBWGetReadTableDataCount(VXDB_REC_MODEL, &count), S_OK);
  EXPECT_EQ(count, 120);
  EXPECT_EQ(VxDBWGetReadTableDataCount("NoSuchTable", &count), S_OK);
  EXPECT_EQ(count, 0);
}
