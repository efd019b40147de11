// The database file object: face register, classified and picked pictures, renames,
// and the positions of its operations, which callers use by number.
#include <fw/coll.h>
#include <fw/string.h>

#include <cstring>

#include "dbtest.h"

using dbtest::DbTest;

namespace {

VXDBRECORD Record(const char* name, const std::string& path) {
  VXDBRECORD r;
  memset(&r, 0, sizeof(r));
  strncpy(r.szName, name, sizeof(r.szName) - 1);
  strncpy(r.szPath, path.c_str(), sizeof(r.szPath) - 1);
  return r;
}

class FileObjectTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    db_ = GetDBFileObject();
    ASSERT_NE(db_, nullptr);
  }
  void TearDown() override {
    if (db_) db_->Release();
    DbTest::TearDown();
  }
  IVxDBFile* db_ = nullptr;
};

// Calls the operation at a vtable position, as callers that know only the number do.
template <class R, class... A>
R Slot(IVxDBFile* o, int index, A... args) {
  using Fn = R (*)(IVxDBFile*, A...);
  Fn fn;
  void* entry = (*reinterpret_cast<void***>(o))[index];
  memcpy(&fn, &entry, sizeof(fn));
  return fn(o, args...);
}

}  // namespace

TEST_F(FileObjectTest, FaceRegisterOfAPerson) {
  std::string p1 = data_ + "\\face1.jpg", p2 = data_ + "\\face2.jpg";
  int id = 0;
  ASSERT_EQ(db_->GetNewPersonId(&id), S_OK);
  EXPECT_EQ(id, 1);

  VXDBRECORD r = Record("山田太郎", p1);
  r.rcFace = {10, 20, 110, 140};
  r.ptFace1 = {40, 60};
  r.ptFace2 = {80, 60};
  r.nFaceCount = 2;
  r.nFlag = 1;
  r.nFaceId = 7;
  r.nBirthdayFlag = 1;
  r.nBirthYear = 1980;
  r.nBirthMonth = 4;
  r.nBirthDay = 1;
  BYTE templ[16] = {1, 2, 3};
  r.pTemplate = templ;
  r.nTemplateSize = sizeof(templ);
  int added = -1;
  ASSERT_EQ(db_->AddRecord(r, VXDB_KIND_REGISTER, &added), S_OK);
  EXPECT_EQ(added, 1);
  VXDBRECORD r2 = Record("山田太郎", p2);
  r2.nFaceId = 8;
  ASSERT_EQ(db_->AddRecord(r2, VXDB_KIND_REGISTER, &added), S_OK);
  ASSERT_EQ(db_->AddRecord(r2, VXDB_KIND_REGISTER, &added), S_FALSE);  // the same face again
  EXPECT_EQ(added, 0);

  // The person got the id handed out before the first face.
  int pid = 9999;
  EXPECT_EQ(db_->GetPersonId("山田太郎", &pid), S_OK);
  EXPECT_EQ(pid, 1);
  EXPECT_EQ(db_->GetNewPersonId(&id), S_OK);
  EXPECT_EQ(id, 2);
  int out = 0;
  EXPECT_EQ(db_->GetFiles("山田太郎", 0, nullptr, &out), 2);
  EXPECT_EQ(out, 1);
  EXPECT_EQ(db_->GetFiles("誰か", 0, nullptr, &out), 0);
  EXPECT_EQ(out, -1);

  RECT rc = {};
  EXPECT_EQ(db_->GetFaceRect(p1.c_str(), "山田太郎", &rc), S_OK);
  EXPECT_EQ(rc.right, 110);
  int y = 0, m = 0, d = 0;
  EXPECT_EQ(db_->GetBirthday("山田太郎", &y, &m, &d), S_OK);
  EXPECT_EQ(y * 10000 + m * 100 + d, 19800401);

  VXDBRECORD read;
  ASSERT_EQ(db_->ReadRecord("山田太郎", p1.c_str(), &read), S_OK);
  EXPECT_STREQ(read.szName, "山田太郎");
  EXPECT_EQ(read.nFaceId, 7);
  EXPECT_EQ(read.ptFace2.x, 80);
  EXPECT_EQ(read.pTemplate, nullptr);
  read.nBirthYear = 1981;
  EXPECT_EQ(db_->UpdateRecord(read, VXDB_KIND_REGISTER), S_OK);
  EXPECT_EQ(db_->GetBirthday("山田太郎", &y, &m, &d), S_OK);
  EXPECT_EQ(y, 1981);

  int faceId = 0;
  EXPECT_EQ(db_->DeleteFace("山田太郎", p1.c_str(), VXDB_KIND_REGISTER, &faceId), S_OK);
  EXPECT_EQ(faceId, 7);
  EXPECT_EQ(db_->DeleteFace("山田太郎", p1.c_str(), VXDB_KIND_REGISTER, &faceId), VXDB_E_NOTFOUND);
  EXPECT_EQ(faceId, -1);
  int names = 0;
  EXPECT_EQ(db_->GetNames(nullptr, &names, VXDB_KIND_REGISTER), S_OK);
  EXPECT_EQ(names, 1);
  EXPECT_EQ(db_->DeletePerson("山田太郎"), S_OK);
  EXPECT_EQ(db_->DeletePerson("山田太郎"), S_FALSE);  // already gone: no failure
  pid = 9999;
  EXPECT_EQ(db_->GetPersonId("山田太郎", &pid), VXDB_E_NOTFOUND);
  EXPECT_EQ(pid, 9999);
  EXPECT_LT(db_->GetBirthday("山田太郎", &y, &m, &d), 0);
  EXPECT_EQ(db_->Commit(), S_OK);
}

TEST_F(FileObjectTest, ClassifiedAndPickedPictures) {
  std::string pic = data_ + "\\party.jpg", other = data_ + "\\other.jpg";
  VXDBRECORD face = Record("山田太郎", pic);
  face.nCandidate1 = 1;
  face.nFaceCount = 3;
  int added = 0, total = 0;
  EXPECT_EQ(db_->AddRecord(face, VXDB_KIND_FACE, &added), S_OK);
  total += added;
  EXPECT_EQ(db_->AddRecord(face, VXDB_KIND_FACE, &added), S_FALSE);
  total += added;
  VXDBRECORD tag = Record("", pic);
  strcpy(tag.szTagName, "花子");
  EXPECT_EQ(db_->AddRecord(tag, VXDB_KIND_FACE, &added), S_OK);
  total += added;
  EXPECT_EQ(total, 2);
  EXPECT_EQ(db_->AddRecord(Record("", pic), VXDB_KIND_FACE, &added), E_INVALIDARG);  // no name at all

  int count = 0;
  EXPECT_EQ(db_->GetNames(nullptr, &count, VXDB_KIND_FACE), S_OK);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(dbtest::Search("Person,花子"), std::vector<std::string>{pic});

  // Picked pictures: a long name may run into the tag's bytes.
  VXDBRECORD picked = Record("", other);
  const char* longName = "夏休みの旅行で撮った家族の写真たち";  // more than 32 bytes
  memcpy(picked.szName, longName, strlen(longName) + 1);
  EXPECT_EQ(db_->AddRecord(picked, VXDB_KIND_PICKED, &added), S_OK);
  EXPECT_EQ(db_->GetFiles(longName, 1, nullptr, &count), 1);
  EXPECT_EQ(db_->Refile(longName, "家族", other.c_str()), S_OK);
  EXPECT_EQ(db_->GetFiles(longName, 1, nullptr, &count), 0);
  EXPECT_EQ(db_->GetFiles("家族", 1, nullptr, &count), 1);
  // Refiled from a name it was never under: filed under the new name anyway.
  EXPECT_EQ(db_->Refile("どこにも", "山田太郎", other.c_str()), S_OK);
  EXPECT_EQ(db_->GetFiles("山田太郎", 1, nullptr, &count), 2);
  EXPECT_EQ(db_->Refile("家族", "", other.c_str()), S_OK);
  EXPECT_EQ(db_->GetFiles("家族", 1, nullptr, &count), 0);

  // The entries follow a rename of the picture, and of its folder.
  std::string renamed = data_ + "\\party2.jpg";
  EXPECT_EQ(db_->RenameFile(pic.c_str(), renamed.c_str()), S_OK);
  EXPECT_EQ(dbtest::Search("Person,花子"), std::vector<std::string>{renamed});
  EXPECT_EQ(db_->RenameFile(data_.c_str(), (data_ + "_new").c_str()), S_OK);
  EXPECT_EQ(dbtest::Search("Person,花子"), std::vector<std::string>{data_ + "_new\\party2.jpg"});
  EXPECT_EQ(db_->RenameFile((data_ + "\\nothing.jpg").c_str(), (data_ + "\\x.jpg").c_str()), VXDB_E_NOTFOUND);
  EXPECT_EQ(db_->GetRecordCount(VXDB_KIND_FACE), 2);
}

TEST_F(FileObjectTest, OperationsSitAtTheirPositions) {
  EXPECT_NE(Slot<BOOL>(db_, 1), FALSE);  // ready
  int id = 0;
  EXPECT_EQ(Slot<HRESULT>(db_, 14, &id), S_OK);
  EXPECT_EQ(id, 1);
  VXDBRECORD r = Record("鈴木", data_ + "\\s.jpg");
  int added = 0;
  EXPECT_EQ(Slot<HRESULT>(db_, 3, &r, VXDB_KIND_REGISTER, &added), S_OK);  // by value: the copy's address
  EXPECT_EQ(added, 1);
  EXPECT_EQ(Slot<HRESULT>(db_, 4), S_OK);
  int pid = 9999;
  EXPECT_EQ(Slot<HRESULT>(db_, 16, "鈴木", &pid), S_OK);
  EXPECT_EQ(pid, 1);
  int out = 0;
  EXPECT_EQ(Slot<int>(db_, 7, "鈴木", 0, static_cast<void*>(nullptr), &out), 1);
  int y = 0, m = 0, d = 0;
  EXPECT_LT(Slot<HRESULT>(db_, 20, "鈴木", &y, &m, &d), 0);  // no birthday
  EXPECT_EQ(Slot<HRESULT>(db_, 12, "鈴木"), S_OK);
  EXPECT_EQ(Slot<HRESULT>(db_, 2), S_OK);  // close; the object stays usable
  EXPECT_EQ(db_->GetPersonCount(), 0);
  IVxDBFile* second = GetDBFileObject();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(Slot<ULONG>(second, 0), 0u);  // release
}

TEST_F(FileObjectTest, QueriesFillTheFrameworkLists) {
  std::string p1 = data_ + "\\a.jpg", p2 = data_ + "\\b.jpg";
  int added = 0;
  ASSERT_EQ(db_->AddRecord(Record("佐藤", p1), VXDB_KIND_REGISTER, &added), S_OK);
  ASSERT_EQ(db_->AddRecord(Record("佐藤", p2), VXDB_KIND_REGISTER, &added), S_OK);
  ASSERT_EQ(db_->AddRecord(Record("高橋", p2), VXDB_KIND_REGISTER, &added), S_OK);

  CStringList paths;
  paths.AddTail("stale entry");  // the query empties the list first
  int pid = 0;
  EXPECT_EQ(db_->GetFiles("佐藤", 0, &paths, &pid), 2);
  ASSERT_EQ(paths.GetCount(), 2);
  EXPECT_STREQ(paths.GetHead(), p1.c_str());
  EXPECT_STREQ(paths.GetTail(), p2.c_str());

  CStringList names;
  int count = 0;
  EXPECT_EQ(db_->GetNames(&names, &count, VXDB_KIND_REGISTER), S_OK);
  EXPECT_EQ(count, 2);
  EXPECT_STREQ(names.GetHead(), "佐藤");

  CString name = "old";
  EXPECT_EQ(db_->GetPersonName(pid, &name), S_OK);
  EXPECT_STREQ(name, "佐藤");
  EXPECT_EQ(db_->GetPersonName(777, &name), VXDB_E_NOTFOUND);
  EXPECT_TRUE(name.IsEmpty());
  EXPECT_EQ(db_->GetPersonName(pid, nullptr), E_INVALIDARG);
}
