// The property catalogue's date-record column against the real photo database.
#include <gtest/gtest.h>

#include <RecordGate.h>
#include <RecordGateEx.h>
#include <VxGUIDB.h>
#include <metastore.h>

#include <memory>

#include "PropertyCatalog.h"
#include "ctl_fixture.h"

// "あり" only for a file whose database entry holds a date record; an entry without one,
// a file the database does not know and a missing file show "なし".
TEST(PropertyCatalog, DateRecordColumn) {
  std::string d = ctltest::Scratch("catalog_dates");
  const std::string dated = d + "\\dated.jpg", bare = d + "\\bare.jpg", unknown = d + "\\unknown.jpg";
  for (const std::string& p : {dated, bare, unknown}) ASSERT_TRUE(ctltest::Copy("plain.jpg", p));
  ASSERT_TRUE(SUCCEEDED(VxDBWEnrollFile(dated.c_str(), 0)));
  ASSERT_TRUE(SUCCEEDED(VxDBWEnrollFile(bare.c_str(), 0)));
  METADATA* list = nullptr;
  ASSERT_EQ(S_OK, VxDBWxCreateDateTimeInfoList(&list, 1700000000, 1700000060, 1700000120));
  ASSERT_EQ(S_OK, VxDBWUpdateFile(dated.c_str(), list));
  FreeMetaDataList(list);

  std::unique_ptr<CPropertyItem> item(CreatePropertyItem(10));
  ASSERT_TRUE(item);
  CString name;
  item->GetName(name);
  EXPECT_STREQ("日時", name);
  struct {
    std::string path;
    const char* want;
  } cases[] = {{dated, "あり"}, {bare, "なし"}, {unknown, "なし"}, {d + "\\gone.jpg", "なし"}};
  for (auto& c : cases) {
    CThumbnail t(c.path.c_str());
    CString text;
    item->GetValue(&t, text, nullptr);
    EXPECT_STREQ(c.want, text) << c.path;
  }
  VxDBWDeleteFile(dated.c_str());
  VxDBWDeleteFile(bare.c_str());
}
