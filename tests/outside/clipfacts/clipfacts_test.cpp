// ClipFacts loaded as the browser loads it: by path from Core\ScoreHall, through its
// DllCreateInstance. Titles and member names are rewritten; a malformed file is refused
// and never written.
#include <initguid.h>

#include <ClipFacts.h>
#include <ScenePlayer.h>
#include <VxContFile.h>
#include <gtest/gtest.h>

#include <string>

#include "files.h"
#include "tempfolder.h"

namespace {

std::wstring Wide(const std::string& s) {
  std::wstring w(s.size() + 1, L'\0');
  int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], (int)w.size());
  w.resize(n ? n - 1 : 0);
  return w;
}

class ClipFactsTest : public testing::Test {
 protected:
  void SetUp() override {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string folder(exe);
    folder = folder.substr(0, folder.rfind('\\'));
    m_hLib = LoadLibraryA((folder + "\\Core\\ScoreHall\\ClipFacts.dll").c_str());
    ASSERT_NE(m_hLib, nullptr);
    m_pfn = reinterpret_cast<PFNCLIPFACTSCREATE>(GetProcAddress(m_hLib, "DllCreateInstance"));
    ASSERT_NE(m_pfn, nullptr);
    m_dir = testsupport::NewTempFolder("glimora-clipfacts");
  }
  void TearDown() override {
    testsupport::RemoveTree(m_dir);
    if (m_hLib) FreeLibrary(m_hLib);
  }
  IClipFacts* Make() {
    IClipFacts* p = nullptr;
    EXPECT_EQ(m_pfn(CLSID_ClipFacts, IID_IClipFacts, reinterpret_cast<void**>(&p)), S_OK);
    return p;
  }
  HMODULE m_hLib = nullptr;
  PFNCLIPFACTSCREATE m_pfn = nullptr;
  std::string m_dir;
};

const char kCont[] =
    "[Content]\r\nFormat=1\r\nMembers=00001.MTS|00001.tmb|00001.iis\r\nTitle=Old\r\nMaker=Norvane\r\n"
    "RecordTime=2024/05/01 10:20:30\r\nDuration=83.5\r\n";

}  // namespace

TEST_F(ClipFactsTest, ClassAndInterfacesByTheirIdentifiers) {
  void* p = nullptr;
  EXPECT_EQ(m_pfn(IID_IClipFacts, IID_IClipFacts, &p), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(m_pfn(CLSID_ClipFacts, IID_IDispatch, &p), E_NOINTERFACE);
  EXPECT_EQ(m_pfn(CLSID_ClipFacts, IID_IClipFacts, nullptr), E_POINTER);
  IClipFacts* pFacts = Make();
  ASSERT_NE(pFacts, nullptr);
  IClipFactsEdit* pEdit = nullptr;
  EXPECT_EQ(pFacts->QueryInterface(IID_IClipFactsEdit, reinterpret_cast<void**>(&pEdit)), S_OK);
  // Nothing opened: no information, nothing to save.
  CLIPFACTSINFO info = {sizeof(info)};
  EXPECT_EQ(pFacts->GetInfo(&info), E_UNEXPECTED);
  EXPECT_EQ(pEdit->SetTitle(L"x"), E_UNEXPECTED);
  EXPECT_EQ(pEdit->Save(), E_UNEXPECTED);
  pEdit->Release();
  pFacts->Release();
}

TEST_F(ClipFactsTest, TitleAndEntryNamesAreRewritten) {
  std::string path = m_dir + "\\00001.cont";
  ASSERT_TRUE(testsupport::WriteWholeFile(path, kCont));
  IClipFacts* pFacts = Make();
  ASSERT_EQ(pFacts->Open(Wide(path).c_str()), S_OK);
  CLIPFACTSINFO info = {sizeof(info)};
  ASSERT_EQ(pFacts->GetInfo(&info), S_OK);
  EXPECT_STREQ(info.szTitle, L"Old");
  EXPECT_STREQ(info.szMaker, L"Norvane");
  EXPECT_TRUE(info.bHasRecordTime);
  EXPECT_EQ(info.stRecordTime.wHour, 10);
  EXPECT_EQ(info.nMemberCount, 3);
  WCHAR name[64];
  EXPECT_EQ(pFacts->GetMember(2, name, 64), S_OK);
  EXPECT_STREQ(name, L"00001.iis");
  EXPECT_EQ(pFacts->GetMember(3, name, 64), E_INVALIDARG);

  IClipFactsEdit* pEdit = nullptr;
  ASSERT_EQ(pFacts->QueryInterface(IID_IClipFactsEdit, reinterpret_cast<void**>(&pEdit)), S_OK);
  std::string title = "\xB1\xB2 運動会";  // half-width katakana and kanji
  EXPECT_EQ(pEdit->SetTitle(Wide(title).c_str()), S_OK);
  EXPECT_EQ(pEdit->SetTitle(L"two\r\nlines"), E_INVALIDARG);
  int changed = -1;
  EXPECT_EQ(pEdit->RenameEntries(L"00001", L"sports", &changed), S_OK);
  EXPECT_EQ(changed, 3);
  EXPECT_EQ(pEdit->RenameEntries(L"sports", L"..\\up", &changed), E_INVALIDARG);
  EXPECT_EQ(pEdit->Save(), S_OK);
  pEdit->Release();
  pFacts->Release();

  vxcont::ContentInfo back;
  ASSERT_TRUE(vxcont::ReadContentFile(path.c_str(), &back));
  EXPECT_EQ(back.title, title);
  EXPECT_EQ(back.members, (std::vector<std::string>{"sports.MTS", "sports.tmb", "sports.iis"}));
  EXPECT_EQ(back.maker, "Norvane");
}

TEST_F(ClipFactsTest, MalformedFilesFailAndStayUntouched) {
  struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"text.cont", "just some words\r\n"},
      {"binary.cont", std::string("\x00\x01\x02\xFF[Content]", 14)},
      {"big.cont", "Format=1\r\n" + std::string(70 * 1024, 'x')},
  };
  for (auto& c : cases) {
    std::string path = m_dir + "\\" + c.name;
    ASSERT_TRUE(testsupport::WriteWholeFile(path, c.bytes));
    IClipFacts* pFacts = Make();
    EXPECT_EQ(pFacts->Open(Wide(path).c_str()), HRESULT_FROM_WIN32(ERROR_INVALID_DATA)) << c.name;
    IClipFactsEdit* pEdit = nullptr;
    ASSERT_EQ(pFacts->QueryInterface(IID_IClipFactsEdit, reinterpret_cast<void**>(&pEdit)), S_OK);
    EXPECT_EQ(pEdit->SetTitle(L"new"), E_UNEXPECTED);
    EXPECT_EQ(pEdit->Save(), E_UNEXPECTED);
    pEdit->Release();
    pFacts->Release();
    EXPECT_EQ(testsupport::ReadWholeFile(path), c.bytes) << c.name;
  }
  IClipFacts* pFacts = Make();
  EXPECT_EQ(pFacts->Open(Wide(m_dir + "\\missing.cont").c_str()), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(pFacts->Open(nullptr), E_INVALIDARG);
  pFacts->Release();
}

// A scene to play: a content file's first stream member that exists, in its own folder, or
// a stream file itself; nothing else, and no member that leaves the folder.
TEST_F(ClipFactsTest, AScenesStreamForThePlayer) {
  ASSERT_TRUE(testsupport::WriteWholeFile(m_dir + "\\00002.MTS", "ts"));
  ASSERT_TRUE(testsupport::WriteWholeFile(m_dir + "\\text.txt", "words"));
  const std::string head = "[Content]\r\nFormat=1\r\nTitle=T\r\nMembers=";
  struct {
    const char* name;
    std::string content;  // empty: the file is not written here
    HRESULT result;
    const char* stream;
  } cases[] = {
      {"a.cont", head + "00001.tmb|00001.MTS|00002.MTS\r\n", S_OK, "00002.MTS"},  // 00001.MTS missing
      {"b.cont", head + "00001.tmb|00001.MTS\r\n", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), nullptr},
      {"c.cont", head + "..\\00002.MTS|sub\\00002.MTS\r\n", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), nullptr},
      {"00002.MTS", "", S_OK, "00002.MTS"},
      {"gone.m2ts", "", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), nullptr},
      {"text.txt", "", HRESULT_FROM_WIN32(ERROR_INVALID_DATA), nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = m_dir + "\\" + c.name;
    if (!c.content.empty()) { ASSERT_TRUE(testsupport::WriteWholeFile(path, c.content)); }
    IClipFacts* pFacts = Make();
    EXPECT_EQ(pFacts->OpenScene(Wide(path).c_str()), c.result);
    const CLIPFACTSSCENE* pScene = pFacts->GetSceneRecord();
    IClipFactsScene* pStream = nullptr;
    ASSERT_EQ(pFacts->QueryInterface(IID_IClipFactsScene, reinterpret_cast<void**>(&pStream)), S_OK);
    WCHAR buf[MAX_PATH];
    if (c.stream) {
      ASSERT_NE(pScene, nullptr);
      EXPECT_EQ(pScene->cbSize, sizeof(CLIPFACTSSCENE));
      EXPECT_EQ(std::wstring(pScene->szStream), Wide(m_dir + "\\" + c.stream));
      EXPECT_EQ(pStream->GetStreamPath(buf, MAX_PATH), S_OK);
      EXPECT_EQ(std::wstring(buf), Wide(m_dir + "\\" + c.stream));
      EXPECT_EQ(pStream->GetStreamPath(buf, 4), HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
    } else {
      EXPECT_EQ(pScene, nullptr);
      EXPECT_EQ(pStream->GetStreamPath(buf, MAX_PATH), E_UNEXPECTED);
    }
    pStream->Release();
    pFacts->Release();
  }
}

namespace {

CLIPFACTS_ENTRY EntryOf(DWORD kind, const wchar_t* name, ULONGLONG size, DWORD lowTime) {
  CLIPFACTS_ENTRY e = {};
  e.dwKind = kind;
  e.ullSize = size;
  e.ftLastWrite.dwLowDateTime = lowTime;
  e.ftLastWrite.dwHighDateTime = 0x01DA0000;
  lstrcpyW(e.szName, name);
  return e;
}

}  // namespace

// The import's writer: a new content file with its streams, companion records, device names
// and maker data, written through the verified write; the reader gets every value back.
TEST_F(ClipFactsTest, NewContentFileRoundTripsAndNeverLandsOnAnother) {
  IClipFactsEdit* w = nullptr;
  ASSERT_EQ(m_pfn(CLSID_ClipFactsWriter, IID_IClipFactsEdit, reinterpret_cast<void**>(&w)), S_OK);
  const std::string path = m_dir + "\\00001.cont";
  EXPECT_EQ(w->Commit(), E_UNEXPECTED);  // nowhere to write yet
  EXPECT_EQ(w->SetOutputPath(L"00001.cont"), E_INVALIDARG);
  EXPECT_EQ(w->SetOutputPath(Wide(m_dir + "\\00001.MTS").c_str()), E_INVALIDARG);
  ASSERT_EQ(w->SetOutputPath(Wide(path).c_str()), S_OK);

  ASSERT_EQ(w->SetStreamCount(2), S_OK);
  CLIPFACTS_ENTRY s0 = EntryOf(0, L"00001.MTS", 5000000000ull, 7), s1 = EntryOf(0, L"00002.MTS", 12, 8);
  ASSERT_EQ(w->SetStream(0, &s0), S_OK);
  EXPECT_EQ(w->Commit(), E_UNEXPECTED);  // the second stream is still empty
  ASSERT_EQ(w->SetStream(1, &s1), S_OK);
  CLIPFACTS_ENTRY bad = EntryOf(0, L"..\\x.MTS", 1, 1);
  EXPECT_EQ(w->SetStream(1, &bad), E_INVALIDARG);
  EXPECT_EQ(w->SetStream(2, &s1), E_INVALIDARG);
  ASSERT_EQ(w->SetRecordCount(2), S_OK);
  CLIPFACTS_ENTRY tmb = EntryOf(CLIPFACTS_RECORD_THUMBNAIL, L"00001.tmb", 4000, 9),
                  iis = EntryOf(CLIPFACTS_RECORD_STILL, L"00001.iis", 48, 9);
  ASSERT_EQ(w->SetRecord(0, &tmb), S_OK);
  ASSERT_EQ(w->SetRecord(1, &iis), S_OK);

  CLIPFACTS_CLIPINFO clip = {};
  clip.stRecordTime = {2024, 5, 3, 1, 10, 20, 30, 0};
  clip.llDuration = 835000000;
  lstrcpyW(clip.szMaker, L"Norvane");
  // Grade code, NUL, model name, NUL, ...
  static const WCHAR kModelRecord[] = L"01\0NV-HD100\0" L"0\0" L"0\0\0\0\0";
  memcpy(clip.szModelRecord, kModelRecord, sizeof kModelRecord);
  ASSERT_EQ(w->SetClipInfo(&clip), S_OK);
  CLIPFACTS_PRIVATE data = {};
  data.dwTag = 0x4D414B52;
  data.cbData = 1025;
  EXPECT_EQ(w->SetPrivateData(&data), E_INVALIDARG);
  data.cbData = 1024;
  for (int i = 0; i < 1024; ++i) data.data[i] = (BYTE)i;
  ASSERT_EQ(w->SetPrivateData(&data), S_OK);
  ASSERT_EQ(w->Commit(), S_OK);

  // A second commit of that name finds the file and writes nothing.
  const std::string first = testsupport::ReadWholeFile(path);
  EXPECT_EQ(w->Commit(), HRESULT_FROM_WIN32(ERROR_FILE_EXISTS));
  EXPECT_EQ(testsupport::ReadWholeFile(path), first);
  WCHAR out[MAX_PATH];
  ASSERT_EQ(w->GetOutputPath(out, MAX_PATH), S_OK);
  EXPECT_EQ(std::wstring(out), Wide(path));
  EXPECT_EQ(w->GetOutputPath(out, 4), HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
  w->Release();

  IClipFacts* r = Make();
  ASSERT_EQ(r->Open(Wide(path).c_str()), S_OK);
  int streams = 0, records = 0;
  ASSERT_EQ(r->GetStreamCount(&streams), S_OK);
  ASSERT_EQ(r->GetRecordCount(&records), S_OK);
  ASSERT_EQ(streams, 2);
  ASSERT_EQ(records, 2);
  CLIPFACTS_ENTRY e = {};
  ASSERT_EQ(r->GetStream(0, &e), S_OK);
  EXPECT_EQ(std::wstring(e.szName), L"00001.MTS");
  EXPECT_EQ(e.ullSize, 5000000000ull);
  EXPECT_EQ(e.ftLastWrite.dwLowDateTime, 7u);
  EXPECT_EQ(e.ftLastWrite.dwHighDateTime, 0x01DA0000u);
  ASSERT_EQ(r->GetRecord(1, &e), S_OK);
  EXPECT_EQ(e.dwKind, (DWORD)CLIPFACTS_RECORD_STILL);
  EXPECT_EQ(std::wstring(e.szName), L"00001.iis");
  EXPECT_EQ(r->GetRecord(2, &e), E_INVALIDARG);
  CLIPFACTSINFO info = {sizeof(info)};
  ASSERT_EQ(r->GetInfo(&info), S_OK);
  EXPECT_EQ(std::wstring(info.szMaker), L"Norvane");
  EXPECT_EQ(std::wstring(info.szModel), L"NV-HD100");
  EXPECT_EQ(info.nMemberCount, 4);
  r->Release();
  vxcont::ContentInfo parsed;
  ASSERT_TRUE(vxcont::ReadContentFile(path.c_str(), &parsed));
  EXPECT_EQ(parsed.makerDataTag, 0x4D414B52u);
  ASSERT_EQ(parsed.makerData.size(), 1024u);
  EXPECT_EQ((BYTE)parsed.makerData[1023], 0xFF);
}

// Files written before the streams were counted: the companions are told by their
// extensions; sizes that no longer go with the members one for one are dropped.
TEST_F(ClipFactsTest, OlderFilesAndMisalignedSizes) {
  struct Case {
    const char* text;
    int streams, records;
    ULONGLONG firstSize;
  } cases[] = {
      {"[Content]\r\nMembers=00001.MTS|00002.MTS|00001.tmb|00001.iis\r\n", 2, 2, 0},
      {"[Content]\r\nMembers=00001.MTS|00001.tmb\r\nStreams=1\r\nMemberSizes=10|20\r\n"
       "MemberTimes=1|2\r\n", 1, 1, 10},
      // "..\x" is dropped by the reader: the sizes would shift, so none is taken.
      {"[Content]\r\nMembers=..\\x|00001.MTS\r\nMemberSizes=10|20\r\nMemberTimes=1|2\r\n", 1, 0, 0},
      {"[Content]\r\nMembers=00001.MTS\r\nMemberSizes=10|20\r\nMemberTimes=1|2\r\n", 1, 0, 0},
      {"[Content]\r\nMembers=00001.MTS\r\nMemberSizes=x\r\nMemberTimes=1\r\n", 1, 0, 0},
      {"[Content]\r\nMembers=00001.MTS|00001.iis\r\nStreams=9\r\n", 2, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string path = m_dir + "\\c.cont";
    testsupport::WriteWholeFile(path, c.text);
    IClipFacts* r = Make();
    ASSERT_EQ(r->Open(Wide(path).c_str()), S_OK);
    int streams = -1, records = -1;
    r->GetStreamCount(&streams);
    r->GetRecordCount(&records);
    EXPECT_EQ(streams, c.streams);
    EXPECT_EQ(records, c.records);
    CLIPFACTS_ENTRY e = {};
    ASSERT_EQ(r->GetStream(0, &e), S_OK);
    EXPECT_EQ(e.ullSize, c.firstSize);
    r->Release();
  }
}
