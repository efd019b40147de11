// The still-information files: written and read back through the library's objects, never
// onto another file, and any file of another shape refused whole.
#include <initguid.h>

#include <StillFileIo.h>
#include <files.h>
#include <gtest/gtest.h>
#include <program.h>
#include <tempfolder.h>
#include <textkit/text.h>

#include "records.h"

using stillrecords::Start;

TEST(StillFiles, WrittenAndReadBackThroughTheObjects) {
  HMODULE lib = LoadLibraryA((testsupport::ProgramFolder() + "\\StillFileIo.dll").c_str());
  ASSERT_NE(lib, nullptr);
  auto create = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(GetProcAddress(lib, "DllCreateInstance"));
  ASSERT_NE(create, nullptr);
  IStillInfo* info = nullptr;
  IStillFileWriter* writer = nullptr;
  ASSERT_EQ(create(CLSID_StillInfo, IID_IStillInfo, reinterpret_cast<void**>(&info)), S_OK);
  ASSERT_EQ(create(CLSID_StillFileWriter, IID_IStillFileWriter, reinterpret_cast<void**>(&writer)), S_OK);
  void* p = nullptr;
  EXPECT_EQ(create(CLSID_StillInfo, IID_IStillFileWriter, &p), E_NOINTERFACE);
  EXPECT_EQ(create(IID_IStillInfo, IID_IStillInfo, &p), CLASS_E_CLASSNOTAVAILABLE);

  const std::string dir = testsupport::NewTempFolder("glimora-still");
  const std::wstring path = textkit::AnsiToWide(dir + "\\00001.iis");
  STILLRECORD r = Start(3), other = {STILL_KIND_TIME, {1, 2, 3}};
  EXPECT_EQ(info->SetRecord(0, &r), E_UNEXPECTED);     // not started
  EXPECT_EQ(writer->Write(path.c_str(), info), E_UNEXPECTED);
  EXPECT_EQ(info->Start(&other), E_INVALIDARG);        // not a start record
  ASSERT_EQ(info->Start(&r), S_OK);
  EXPECT_EQ(info->SetRecord(0, &other), E_INVALIDARG);  // the first stays a start record
  EXPECT_EQ(info->SetRecord(2, &other), E_INVALIDARG);  // no gaps
  for (int i = 1; i < STILL_MAX_RECORDS; ++i) ASSERT_EQ(info->SetRecord(i, &other), S_OK);
  EXPECT_EQ(info->SetRecord(STILL_MAX_RECORDS, &other), E_OUTOFMEMORY);
  ASSERT_EQ(writer->Write(path.c_str(), info), S_OK);
  const std::string bytes = testsupport::ReadWholeFile(dir + "\\00001.iis");
  EXPECT_EQ(bytes.size(), (STILL_MAX_RECORDS + 1) * sizeof(STILLRECORD));
  EXPECT_EQ(writer->Write(path.c_str(), info), HRESULT_FROM_WIN32(ERROR_FILE_EXISTS));
  EXPECT_EQ(testsupport::ReadWholeFile(dir + "\\00001.iis"), bytes);

  IStillInfo* back = nullptr;
  ASSERT_EQ(create(CLSID_StillInfo, IID_IStillInfo, reinterpret_cast<void**>(&back)), S_OK);
  ASSERT_EQ(writer->Read(path.c_str(), back), S_OK);
  int n = 0;
  back->GetCount(&n);
  EXPECT_EQ(n, STILL_MAX_RECORDS);
  STILLRECORD got = {};
  ASSERT_EQ(back->GetRecord(0, &got), S_OK);
  EXPECT_EQ(reinterpret_cast<STILLSTART*>(&got)->wClipValue, 3);

  // Damaged files: refused whole, the information left as it was.
  std::string flipped = bytes, longer = bytes + std::string(16, '\0'), noStart = bytes;
  flipped[40] ^= 1;
  noStart[4] = 'X';
  for (const std::string& bad : {bytes.substr(0, bytes.size() - 1), bytes.substr(0, 16), flipped, longer, noStart,
                                 std::string()}) {
    testsupport::WriteWholeFile(dir + "\\bad.iis", bad);
    EXPECT_EQ(writer->Read(textkit::AnsiToWide(dir + "\\bad.iis").c_str(), back), HRESULT_FROM_WIN32(ERROR_INVALID_DATA))
        << bad.size();
    back->GetCount(&n);
    EXPECT_EQ(n, STILL_MAX_RECORDS);
  }
  back->Release();
  info->Release();
  writer->Release();
  testsupport::RemoveTree(dir);
  FreeLibrary(lib);
}
