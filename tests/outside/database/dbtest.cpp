#include "dbtest.h"

#include <windows.h>

#include <files.h>
#include <tempfolder.h>

namespace dbtest {

std::string NewTempFolder(const char* tag) { return testsupport::NewTempFolder(std::string("写真DB試験-") + tag); }

void RemoveTree(const std::string& folder) { testsupport::RemoveTree(folder); }

void Touch(const std::string& path, const std::string& content) {
  ASSERT_TRUE(testsupport::WriteWholeFile(path, content)) << path;
}

std::vector<std::string> Texts(const STRINGLIST* list) {
  std::vector<std::string> out;
  for (; list; list = list->pNext) out.push_back(list->pszText);
  return out;
}

std::vector<std::string> TakeTexts(STRINGLIST* list) {
  std::vector<std::string> out = Texts(list);
  FreeStringList(list);
  return out;
}

std::vector<std::string> Search(const char* query, HRESULT* hr) {
  STRINGLIST* list = nullptr;
  HRESULT r = VxDBWxSearch(query, &list);
  if (hr) *hr = r;
  return TakeTexts(list);
}

METADATA* FullList(long shot, const char* keywords, const char* maker, const char* model, const char* scene,
                   const char* folderName, const char* folderPath, const char* city) {
  METADATA* list = nullptr;
  int lat[3] = {35, 39, 29}, lon[3] = {139, 44, 28};
  VxDBWxCreateDateTimeInfoList(&list, shot, shot + 60, shot + 120);
  if (keywords) VxDBWxCreateKeywordList(&list, keywords);
  if (maker) VxDBWxCreateModelList(&list, maker, model);
  if (scene) VxDBWxCreateSceneList(&list, scene, "", "", "");
  if (folderName) VxDBWxCreateFolderList(&list, folderName, folderPath);
  if (city) VxDBWxCreateLocationList(&list, 0, "東京都", city, "丸の内", lat, lon, 0);
  VxDBWxCreateFaceList(&list, "2");
  return list;
}

METADATA* ImportList(int i) {
  METADATA* list = nullptr;
  int lat[3] = {35, 0, i % 60}, lon[3] = {139, 0, 0};
  VxDBWxCreateDateTimeInfoList(&list, 1272700800 + i, -1, -1);
  VxDBWxCreateKeywordList(&list, i % 2 ? "海||2010/05/01" : "山");
  VxDBWxCreateModelList(&list, "Norvane", "NV-10");
  VxDBWxCreateSceneList(&list, "夜景", "", "", "");
  VxDBWxCreateFolderList(&list, "2010_05_01", "D:\\Pictures\\2010_05_01\\");
  VxDBWxCreateLocationList(&list, 0, "東京都", "千代田区", "丸の内", lat, lon, 0);
  return list;
}

HRESULT RegisterLikeImport(const std::string& path, int i) {
  METADATA* list = ImportList(i);
  // The size and times the import's copy read of the file.
  WIN32_FILE_ATTRIBUTE_DATA disk = {};
  disk.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
  disk.nFileSizeLow = 4000000 + i;
  disk.ftLastWriteTime.dwHighDateTime = 0x01CAE8F0;
  disk.ftLastWriteTime.dwLowDateTime = static_cast<DWORD>(i);
  const HRESULT hr = VxDBWRegisterFileEx(path.c_str(), list, &disk);
  VxDBWxFreeRegisterList(&list);
  return hr;
}

std::string PathOf(const char* prefix, int i) { return std::string(prefix) + "\\IMG_" + std::to_string(i) + ".JPG"; }

void DbTest::SetUp() {
  VxDBWExitDatabase(-1);
  dir_ = NewTempFolder("db");
  data_ = NewTempFolder("data");
  ASSERT_EQ(VxDBSetFolder(dir_.c_str()), S_OK);
  ASSERT_EQ(VxDBWInitDatabase(), S_OK);
}

void DbTest::TearDown() {
  VxDBWExitDatabase(-1);
  VxDBSetFolder(nullptr);
  RemoveTree(dir_);
  RemoveTree(data_);
}

}  // namespace dbtest
