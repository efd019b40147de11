// The companion files of an imported clip, written by the sink the disc core's import job
// calls, with ClipFacts and StillFileIo loaded beside this program as beside the plug-in.
#include <ClipFactsWriter.h>
#include <HwInfoReader.h>
#include <ModuleLoader.h>
#include <VxContFile.h>
#include <files.h>
#include <gtest/gtest.h>
#include <tempfolder.h>
#include <textkit/text.h>

#include <stdexcept>

namespace {

std::wstring Wide(const std::string& s) { return textkit::AnsiToWide(s); }

// A packed 24-bit DIB of w x h in one colour.
std::vector<BYTE> Dib(int w, int h) {
  const int stride = (w * 3 + 3) & ~3;
  std::vector<BYTE> dib(sizeof(BITMAPINFOHEADER) + stride * h, 0x80);
  auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
  *bih = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, (DWORD)(stride * h), 0, 0, 0, 0};
  return dib;
}

bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct Scratch {
  std::string root = testsupport::NewTempFolder("glimora-companion");
  ~Scratch() { testsupport::RemoveTree(root); }
};

// One clip through the sink as the job calls it.
HRESULT WriteClip(CClipFactsWriter* w, const std::string& stream, WORD maker, WORD model) {
  HRESULT hr = w->Begin();
  if (FAILED(hr)) return hr;
  const std::wstring path = Wide(stream);
  VXBDCLIPSOURCES src = {};
  src.nFiles = 1;
  src.apszFiles[0] = path.c_str();
  src.wMakerCode = maker;
  src.wModelCode = model;
  src.wStillValue = 7;
  src.llDuration = 600000000;  // 60 s
  src.stRecorded = {2026, 11, 0, 22, 9, 30, 15, 0};
  lstrcpyW(src.szMakerText, L"SomeMaker");
  lstrcpyW(src.szModelText, L"SomeModel");
  if (FAILED(hr = w->SetSourceFiles(&src))) return hr;
  std::vector<BYTE> dib = Dib(160, 90);
  if (FAILED(hr = w->SetThumbnail(reinterpret_cast<BITMAPINFOHEADER*>(dib.data())))) return hr;
  int files = 0;
  hr = w->Commit(&files);
  return SUCCEEDED(hr) && files != 3 ? E_UNEXPECTED : hr;
}

}  // namespace

TEST(CompanionWriter, ThreeFilesBesideTheStreamAndNeverOntoOthers) {
  Scratch sc;
  const std::string folder = sc.root + "\\STREAM";
  testsupport::MakeFolders(folder);
  testsupport::WriteWholeFile(folder + "\\00001.MTS", std::string(5000, 'S'));
  testsupport::WriteWholeFile(folder + "\\00002.MTS", std::string(10, 'S'));
  const std::string ini = sc.root + "\\MediaHwInfo.ini";
  testsupport::WriteWholeFile(ini, "[MakerID]\r\nMaker0103=Norvane\r\n[MakerModelCode]\r\nMMC0412=NV-HD100\r\n");
  {
    HRESULT made = E_FAIL;
    CClipFactsWriter* w = new CClipFactsWriter(&made);
    w->AddRef();
    ASSERT_EQ(made, S_OK);
    w->SetHwInfoPath(Wide(ini));
    ASSERT_EQ(WriteClip(w, folder + "\\00001.MTS", 0x103, 0x0412), S_OK);
    for (const char* ext : {".cont", ".tmb", ".iis"}) EXPECT_TRUE(Exists(folder + "\\00001" + ext)) << ext;
    WCHAR a[MAX_PATH], b[MAX_PATH], c[MAX_PATH];
    LPWSTR names[3] = {a, b, c};
    EXPECT_EQ(w->GetFileNames(names, 2), E_ACCESSDENIED);
    ASSERT_EQ(w->GetFileNames(names, 3), S_OK);
    EXPECT_EQ(std::wstring(c), Wide(folder + "\\00001.iis"));

    vxcont::ContentInfo info;
    ASSERT_TRUE(vxcont::ReadContentFile((folder + "\\00001.cont").c_str(), &info));
    ASSERT_EQ(info.members, (std::vector<std::string>{"00001.MTS", "00001.tmb", "00001.iis"}));
    EXPECT_EQ(info.streams, 1);
    ASSERT_EQ(info.memberFacts.size(), 3u);
    EXPECT_EQ(info.memberFacts[0].size, 5000u);
    EXPECT_EQ(info.maker, "Norvane");
    EXPECT_EQ(info.model, "NV-HD100");
    EXPECT_EQ(info.durationSeconds, 60.0);
    ASSERT_TRUE(info.totalSize.has_value());
    EXPECT_EQ(*info.totalSize, 5000u);

    // The thumbnail: a JPEG whose JFIF header says 1.02 and 96 by 96 without a unit.
    const std::string tmb = testsupport::ReadWholeFile(folder + "\\00001.tmb");
    ASSERT_GT(tmb.size(), 20u);
    EXPECT_EQ(tmb.substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(tmb.substr(6, 5), std::string("JFIF\0", 5));
    EXPECT_EQ(tmb.substr(11, 7), std::string("\x01\x02\x00\x00\x60\x00\x60", 7));

    // The still information: the start record with the clip's value, then the time.
    std::vector<STILLRECORD> records;
    ASSERT_TRUE(stillfile::Parse(testsupport::ReadWholeFile(folder + "\\00001.iis"), &records));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(reinterpret_cast<STILLSTART*>(&records[0])->wClipValue, 7);
    const STILLTIME* t = reinterpret_cast<STILLTIME*>(&records[1]);
    EXPECT_EQ(t->dwTicks45k, 60u * 45000u);
    EXPECT_EQ(t->wYear, 2026);
    EXPECT_EQ(t->bMinute, 30);

    // A clip whose companions are taken fails and leaves the files there as they were.
    testsupport::WriteWholeFile(folder + "\\00002.iis", "someone's");
    EXPECT_EQ(WriteClip(w, folder + "\\00002.MTS", 0x104, 1), HRESULT_FROM_WIN32(ERROR_FILE_EXISTS));
    EXPECT_FALSE(Exists(folder + "\\00002.tmb"));
    EXPECT_FALSE(Exists(folder + "\\00002.cont"));
    EXPECT_EQ(testsupport::ReadWholeFile(folder + "\\00002.iis"), "someone's");

    // Only the content file that was written is listed for registration.
    ASSERT_EQ(w->GetContentFileCount(), 1u);
    EXPECT_EQ(w->GetContentFile(0), folder + "\\00001.cont");
    EXPECT_THROW(w->GetContentFile(1), std::out_of_range);
    w->Release();
  }
  EXPECT_EQ(CUnknownImpl::ModuleLocks(), 0);
}

TEST(CompanionWriter, RefusalsOfTheSink) {
  HRESULT made = E_FAIL;
  CClipFactsWriter* w = new CClipFactsWriter(&made);
  w->AddRef();
  ASSERT_EQ(made, S_OK);
  EXPECT_EQ(CUnknownImpl::ModuleLocks(), 1);
  void* p = nullptr;
  EXPECT_EQ(w->QueryInterface(IID_IVxBDClipSink, &p), S_OK);
  EXPECT_EQ(w->Release(), 1u);
  EXPECT_EQ(w->QueryInterface(IID_IDispatch, &p), E_NOINTERFACE);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(w->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
  ASSERT_EQ(w->Begin(), S_OK);
  std::vector<BYTE> data(1025, 1);
  EXPECT_EQ(w->SetPrivateData(1, data.data(), 1024), S_OK);
  EXPECT_EQ(w->SetPrivateData(1, data.data(), 1025), E_OUTOFMEMORY);
  int files = -1;
  EXPECT_EQ(w->Commit(&files), E_POINTER);  // no thumbnail
  EXPECT_EQ(w->SetSourceFiles(nullptr), E_POINTER);
  // A header that claims more than a picture of its size.
  std::vector<BYTE> dib = Dib(16, 16);
  reinterpret_cast<BITMAPINFOHEADER*>(dib.data())->biBitCount = 13;
  EXPECT_EQ(w->SetThumbnail(reinterpret_cast<BITMAPINFOHEADER*>(dib.data())), E_INVALIDARG);
  EXPECT_EQ(w->Release(), 0u);
  EXPECT_EQ(CUnknownImpl::ModuleLocks(), 0);
}

TEST(CompanionWriter, GradeCodesAndDeviceNames) {
  struct Case {
    WORD maker, model;
    const wchar_t* grade;
  } grades[] = {{0x103, 0x0412, L"01"}, {0x103, 0x0100, L"03"}, {0x103, 0x0200, L"04"}, {0x103, 0x0300, L"01"},
                {0x103, 0x0500, L"02"}, {0x103, 0x0600, L""},   {0x104, 0x0412, L""}};
  for (const Case& c : grades) EXPECT_EQ(CHwInfoReader::GradeCode(c.maker, c.model), c.grade) << c.maker << c.model;
  // Grade, NUL, name, NUL, "0", NUL, "0" and four NULs: twice the name plus 22 bytes.
  const std::wstring record = CHwInfoReader::ModelRecord(L"01", L"NV");
  EXPECT_EQ(record.size() * 2, 2 * 2 + 22u);
  EXPECT_EQ(record, std::wstring(L"01\0NV\0" L"0\0" L"0\0\0\0\0", 13));

  Scratch sc;
  const std::string ini = sc.root + "\\hw.ini";
  testsupport::WriteWholeFile(ini, "[MakerID]\r\nMaker0103=Norvane\r\nMaker0104=_ERROR_\r\n");
  struct Names {
    WORD maker;
    const wchar_t* name;
  } names[] = {{0x103, L"Norvane"}, {0x104, L"fallback"}, {0x105, L"fallback"}};
  for (const Names& n : names) {
    CHwInfoReader r;
    r.OpenPath(Wide(ini));
    r.SetCodes(n.maker, 0x0412, L"fallback", L"model fallback", L"");
    EXPECT_EQ(r.GetMakerName(), n.name);
    // The model is missing from this file: its fallback.
    EXPECT_EQ(r.GetModelRecord().substr(n.maker == 0x103 ? 3 : 1, 14), L"model fallback");
  }
  CHwInfoReader r;
  EXPECT_EQ(r.Open(nullptr, NULL), E_POINTER);
}

TEST(CompanionWriter, ModuleLoaderPaths) {
  CModuleLoader lib;
  EXPECT_EQ(lib.LoadRelative(std::string(600, 'x').c_str(), NULL), (HRESULT)0x8007006F);
  EXPECT_EQ(lib.LoadRelative("no-such-library.dll", NULL), HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
  ASSERT_EQ(lib.LoadRelative("StillFileIo.dll", NULL), S_OK);
  EXPECT_EQ(lib.LoadRelative("StillFileIo.dll", NULL), 1);
  FARPROC proc = nullptr;
  EXPECT_EQ(lib.GetProc("DllCreateInstance", &proc), S_OK);
  EXPECT_NE(lib.GetProc("NoSuchExport", &proc), S_OK);
  EXPECT_EQ(ResultFromError(ERROR_DISK_FULL), (HRESULT)0x80070070);
}

TEST(CompanionWriter, JfifHeaderPatch) {
  const std::string app0("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x01\x00\x48\x00\x48\x00\x00", 20);
  struct Case {
    std::string in;
    bool patched;
  } cases[] = {
      {app0 + "\xFF\xD9", true},
      // After another segment.
      {std::string("\xFF\xD8\xFF\xE1\x00\x04xx", 8) + app0.substr(2), true},
      {std::string("\xFF\xD8\xFF\xE1\x00\x04xx\xFF\xDA", 10), false},
      {std::string("\xFF\xD8\xFF\xE0\x00\x40JFIF", 10), false},  // length past the end
      {"", false},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> b(c.in.begin(), c.in.end());
    EXPECT_EQ(PatchJfifHeader(&b), c.patched);
    if (c.patched) {
      std::string out(b.begin(), b.end());
      EXPECT_EQ(out.substr(out.find("JFIF") + 5, 7), std::string("\x01\x02\x00\x00\x60\x00\x60", 7));
    }
  }
}
