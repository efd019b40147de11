// The core on discs and cards made by the test: the playlist and clip-information readers
// on whole, cut and garbage bytes, and the integrator on a folder put into a CD-ROM drive.
#include <VxBDCore.h>
#include <VxBDDisc.h>
#include <VxProperty.h>
#include <card.h>
#include <files.h>
#include <gtest/gtest.h>
#include <program.h>
#include <tempfolder.h>

#include <tuple>

namespace {

// A stream file with a recording time.
void Stream(const std::string& path, int day, int hour, size_t bytes) {
  testsupport::WriteWholeFile(path, std::string(bytes, 'G'));
  testsupport::SetLocalWriteTime(path, 2026, 11, static_cast<WORD>(day), static_cast<WORD>(hour));
}

}  // namespace

TEST(BDCoreDisc, PlaylistsAndClipInformationReadWholeOrNotAtAll) {
  std::vector<uint8_t> playlist = VxBDMakePlaylist({"00001", "00002"}, 0x0103, 0xAB12);
  std::vector<std::string> clips;
  WORD maker = 0, model = 0;
  ASSERT_TRUE(VxBDParsePlaylist(playlist, &clips, &maker, &model));
  EXPECT_EQ(clips, (std::vector<std::string>{"00001", "00002"}));
  EXPECT_EQ(maker, 0x0103);
  EXPECT_EQ(model, 0xAB12);
  // Every cut of the file is refused, never read past.
  for (size_t n = 0; n < playlist.size(); ++n) {
    std::vector<uint8_t> cut(playlist.begin(), playlist.begin() + n);
    EXPECT_FALSE(VxBDParsePlaylist(cut, &clips, &maker, &model)) << n;
  }
  // Offsets and counts that point outside the file.
  struct Patch {
    size_t at;
    uint8_t value;
  } patches[] = {{8, 0xFF}, {16, 0x7F}, {playlist[11] + 7u, 0xFF}, {playlist[11] + 10u, 0xFF}};
  for (const Patch& p : patches) {
    std::vector<uint8_t> bad = playlist;
    bad[p.at] = p.value;
    EXPECT_FALSE(VxBDParsePlaylist(bad, &clips, &maker, &model)) << p.at;
  }
  std::vector<uint8_t> garbage(300, 0xEE);
  EXPECT_FALSE(VxBDParsePlaylist(garbage, &clips, &maker, &model));

  int w = 0, h = 0, tv = -1;
  ASSERT_TRUE(VxBDParseClipInfo(VxBDMakeClipInfo(4, 4), &w, &h, &tv));
  EXPECT_EQ(w, 1920);
  EXPECT_EQ(h, 1080);
  EXPECT_EQ(tv, 0);
  ASSERT_TRUE(VxBDParseClipInfo(VxBDMakeClipInfo(2, 3), &w, &h, &tv));
  EXPECT_EQ(w, 720);
  EXPECT_EQ(h, 576);
  EXPECT_EQ(tv, 1);
  std::vector<uint8_t> info = VxBDMakeClipInfo(4, 4);
  for (size_t n = 0; n < info.size(); ++n)
    EXPECT_FALSE(VxBDParseClipInfo(std::vector<uint8_t>(info.begin(), info.begin() + n), &w, &h, &tv)) << n;
  // A video format no camera writes gives no picture size: a failure, not a 0x0 picture.
  for (int format : {0, 8, 9, 15}) {
    EXPECT_FALSE(VxBDParseClipInfo(VxBDMakeClipInfo(format, 4), &w, &h, &tv)) << format;
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
  }
}

// Playlist bytes built here field by field, as a camera or a disc authoring tool lays them
// out: the header's three offsets, the play list (items of the full layout, with in and out
// times, or the short ones without), marks, and the extension data with maker and model.
namespace {

struct Bytes {
  std::vector<uint8_t> b;
  Bytes& u(uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  Bytes& text(const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
    return *this;
  }
  Bytes& zeros(size_t n) {
    b.resize(b.size() + n, 0);
    return *this;
  }
  void put(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * (3 - i)));
  }
};

// A play item of the full layout (48 bytes after its length) or a short one (9 bytes).
std::vector<uint8_t> Item(const std::string& clip, uint32_t in, uint32_t out, bool full = true) {
  Bytes i;
  i.text(clip).text("M2TS");
  if (full) i.u(0x0001, 2).u(0, 1).u(in, 4).u(out, 4).zeros(8).u(0, 4).u(14, 2).zeros(14);
  Bytes whole;
  whole.u(static_cast<uint32_t>(i.b.size()), 2);
  whole.b.insert(whole.b.end(), i.b.begin(), i.b.end());
  return whole.b;
}

std::vector<uint8_t> Playlist(const std::vector<std::vector<uint8_t>>& items, int declaredItems = -1,
                              bool makerData = true) {
  Bytes p;
  p.text("MPLS0200").u(0, 4).u(0, 4).u(0, 4).zeros(20).u(14, 4).zeros(14);  // offsets, reserved, app info
  const size_t list = p.b.size();
  p.put(8, static_cast<uint32_t>(list));
  Bytes body;
  body.u(0, 2).u(declaredItems < 0 ? static_cast<uint32_t>(items.size()) : declaredItems, 2).u(0, 2);
  for (const auto& i : items) body.b.insert(body.b.end(), i.begin(), i.end());
  p.u(static_cast<uint32_t>(body.b.size()), 4);
  p.b.insert(p.b.end(), body.b.begin(), body.b.end());
  p.put(12, static_cast<uint32_t>(p.b.size()));
  p.u(16, 4).u(1, 2).u(0x0001, 2).u(0, 2).u(0, 4).u(0xFFFF, 2).u(0, 4);  // one mark on item 0
  if (makerData) {
    const size_t ext = p.b.size();
    p.put(16, static_cast<uint32_t>(ext));
    p.u(24, 4).u(24, 4).u(0, 3).u(1, 1).u(0x10000100, 4).u(24, 4).u(4, 4).u(0x0103, 2).u(0xAB12, 2);
  }
  return p.b;
}

}  // namespace

TEST(BDCoreDisc, PlayItemsOfPlaylists) {
  const uint32_t wrapIn = 0xFFFF0000u;
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    bool ok;
    std::vector<VxBDPlayItem> items;
    WORD maker;
  } cases[] = {
      {"one item with times", Playlist({Item("00000", 63000, 153000)}), true, {{"00000", 63000, 153000}}, 0x0103},
      {"items in order, wrap", Playlist({Item("00004", 45000, 90000), Item("00002", wrapIn, 0x1000)}), true,
       {{"00004", 45000, 90000}, {"00002", wrapIn, 0x1000}}, 0x0103},
      {"short items carry no times", Playlist({Item("00001", 0, 0, false), Item("00007", 0, 0, false)}), true,
       {{"00001", 0, 0}, {"00007", 0, 0}}, 0x0103},
      {"no maker data", Playlist({Item("00003", 1, 2)}, -1, false), true, {{"00003", 1, 2}}, 0},
      {"no items", Playlist({}), true, {}, 0x0103},
      {"more items declared than there are", Playlist({Item("00000", 0, 9)}, 2), false, {}, 0},
      {"a clip name that is no number", Playlist({Item("0000A", 0, 9)}), false, {}, 0},
      {"not a playlist", std::vector<uint8_t>(300, 0xEE), false, {}, 0},
      {"empty", {}, false, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<VxBDPlayItem> items;
    WORD maker = 0xFFFF, model = 0;
    ASSERT_EQ(!!VxBDParsePlayItems(c.bytes, &items, &maker, &model), c.ok);
    if (!c.ok) continue;
    ASSERT_EQ(items.size(), c.items.size());
    for (size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i].clip, c.items[i].clip);
      EXPECT_EQ(items[i].inTime, c.items[i].inTime);
      EXPECT_EQ(items[i].outTime, c.items[i].outTime);
    }
    EXPECT_EQ(maker, c.maker);
    // Every cut of a whole playlist is refused, never read past.
    for (size_t n = 0; n < c.bytes.size(); ++n)
      ASSERT_FALSE(VxBDParsePlayItems(std::vector<uint8_t>(c.bytes.begin(), c.bytes.begin() + n), &items, &maker,
                                      &model))
          << n;
  }
  // An item whose length runs past the list's end.
  std::vector<uint8_t> bad = Playlist({Item("00000", 0, 9)});
  const size_t list = (size_t(bad[8]) << 24) | (size_t(bad[9]) << 16) | (size_t(bad[10]) << 8) | bad[11];
  bad[list + 10] = 0x01;  // length 0x0130
  std::vector<VxBDPlayItem> items;
  WORD maker = 0, model = 0;
  EXPECT_FALSE(VxBDParsePlayItems(bad, &items, &maker, &model));
  // Our own writer's playlists read back with their times.
  ASSERT_TRUE(VxBDParsePlayItems(VxBDMakePlayItems({{"00005", 100, 200}}, 1, 2), &items, &maker, &model));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].outTime, 200u);
}

// What a title plays from one of its items: the parts whose stream is there, their times in
// seconds on the stream's clock, a wrap of the clock within an item carried over.
TEST(BDCoreDisc, ThePartsATitlePlays) {
  VxBDTitle title;
  auto part = [](const char* clip, const char* stream, uint32_t in, uint32_t out) {
    VxBDPart p;
    p.clip = clip;
    p.streamPath = stream;
    p.inTime = in;
    p.outTime = out;
    return p;
  };
  title.parts = {part("00000", "a.m2ts", 45000, 135000), part("00001", "", 0, 0), part("00002", "c.m2ts", 0xFFFFFFFFu - 44999, 45000),
                 part("00003", "d.m2ts", 0, 0)};
  std::vector<VxBDPlayPart> parts;
  ASSERT_EQ(VxBDTitlePlayParts(title, 0, &parts), 0);
  ASSERT_EQ(parts.size(), 3u);  // the missing stream is passed over
  EXPECT_EQ(parts[0].stream, "a.m2ts");
  EXPECT_DOUBLE_EQ(parts[0].fromSeconds, 1.0);
  EXPECT_DOUBLE_EQ(parts[0].toSeconds, 3.0);
  EXPECT_NEAR(parts[1].toSeconds - parts[1].fromSeconds, 2.0, 1e-6);
  EXPECT_EQ(parts[2].fromSeconds, parts[2].toSeconds);  // no times: the whole stream
  ASSERT_EQ(VxBDTitlePlayParts(title, 2, &parts), 0);
  EXPECT_EQ(parts.size(), 2u);
  EXPECT_EQ(VxBDTitlePlayParts(title, 1, &parts), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(VxBDTitlePlayParts(title, 4, &parts), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(parts.empty());
}

TEST(BDCoreDisc, TitlesOfADiscInACdRomDrive) {
  std::string folder = testsupport::NewTempFolder("bddisc");
  ASSERT_TRUE(VxBDWriteTree(folder + "\\BDMV",
                            {{{"00000"}, 0x0103, 0xAB12}, {{"00001", "00002"}, 0x0103, 0xAB12}, {{}, 0x0999, 1}}, true,
                            true));
  Stream(folder + "\\BDMV\\STREAM\\00000.m2ts", 22, 10, 1000);
  Stream(folder + "\\BDMV\\STREAM\\00001.m2ts", 22, 11, 2000);  // 00002 is missing
  testsupport::WriteWholeFile(folder + "\\BDMV\\PLAYLIST\\00009.mpls", "MPLS0100garbage");
  ASSERT_EQ(testsupport::InsertDisc('D', testsupport::UnixPathOf(folder)), 0u);
  EXPECT_EQ(GetDriveTypeA("D:\\"), (UINT)DRIVE_CDROM);

  IVxBDCoreObject* object = GetVxBDCoreObject();
  IVxBDIntegrator* core = object->GetIntegrator();
  const int d = 'D' - 'A';
  VXBDDEVICEINFO device = {};
  ASSERT_EQ(core->GetDeviceInfo(d, &device), 0);
  EXPECT_EQ(device.nKind, VXBD_DEVICE_DISC);
  ASSERT_EQ(core->LockDevice(d), 0);
  int session = -1, again = -1, list = -1, list2 = -1;
  ASSERT_EQ(core->OpenDisc(d, L"D:\\", 1, &session), 0);
  EXPECT_EQ(core->OpenDisc(d, L"D:\\", 1, &again), VXBD_S_SESSION_OPEN);
  EXPECT_EQ(again, session);
  EXPECT_EQ(core->ValidateSession(session), 0);
  ASSERT_EQ(core->OpenTitleList(session, VXBD_TITLE_LIST_ALL, &list), 0);
  EXPECT_EQ(core->OpenTitleList(session, VXBD_TITLE_LIST_ALL, &list2), VXBD_S_LIST_OPEN);
  EXPECT_EQ(list2, list);
  VXBDLISTINFO li = {};
  ASSERT_EQ(core->GetTitleListInfo(list, &li), 0);
  EXPECT_EQ(li.nTitles, 3u);  // the garbage playlist is left out
  VXBDTITLEINFO t = {};
  ASSERT_EQ(core->GetTitleInfo(list, 1, &t), 0);
  EXPECT_EQ(t.nKind, 1);
  EXPECT_EQ(t.nParts, 2);
  EXPECT_EQ(t.ullBytes, 2000u);
  EXPECT_EQ(t.stRecorded.wDay, 22);
  EXPECT_EQ(t.stRecorded.wHour, 11);
  EXPECT_EQ(t.wMakerHigh, 0x0103);
  EXPECT_EQ(t.wMakerLow, 0xAB12);
  ASSERT_EQ(core->GetTitleInfo(list, 2, &t), 0);
  EXPECT_EQ(t.nParts, 0);
  // The image list answers a title of the list, as a date node names it, on the list's drive.
  IVxBDImageList* images = object->GetImageList();
  EXPECT_EQ(images->GetImageCount("D:\\", list, 1), 1);  // 00002's stream is missing
  EXPECT_EQ(images->GetImageCount("D:\\", list, 2), 0);
  VXBDIMAGEINFO scene = {};
  ASSERT_EQ(images->GetImageInfo("d:\\", list, 1, 0, &scene), 0);
  EXPECT_EQ(scene.stRecorded.wHour, 11);
  EXPECT_EQ(scene.ullBytes, 2000u);
  EXPECT_EQ(scene.nTree, -1);  // a disc's own tree
  WCHAR scenePath[MAX_PATH] = {};
  ASSERT_EQ(images->GetImagePath("D:\\", list, 1, 0, scenePath, MAX_PATH), 0);
  EXPECT_EQ(std::wstring(scenePath), L"D:\\BDMV\\STREAM\\00001.m2ts");
  for (auto bad :
       {std::make_pair("E:\\", 1), std::make_pair("D:\\x\\", 1), std::make_pair("D:\\", 3), std::make_pair("D:\\", -1)})
    EXPECT_LT(images->GetImageCount(bad.first, list, bad.second), 0) << bad.first << bad.second;
  EXPECT_LT(images->GetImageCount("D:\\", list + session + 1000, 0), 0);
  EXPECT_LT(images->GetImageCount(nullptr, list, 0), 0);
  EXPECT_EQ(images->GetImageInfo("D:\\", list, 1, 1, &scene), E_INVALIDARG);
  EXPECT_NE(core->GetTitleInfo(list, 3, &t), 0);
  wchar_t name[MAX_PATH] = {};
  int length = 0;
  ASSERT_EQ(core->GetPartName(list, 1, 0, 0, name, &length), 0);
  EXPECT_EQ(std::wstring(name), L"00001.m2ts");
  VXBDPARTINFO part = {};
  ASSERT_EQ(core->GetPartInfo(list, 1, 1, &part), 0);
  EXPECT_EQ(part.nWidth, 1920);
  EXPECT_EQ(part.ullBytes, 0u);  // its stream is missing
  EXPECT_NE(core->GetPartInfo(list, 1, 2, &part), 0);
  // The thumbnail fills exactly the header's picture.
  std::vector<BYTE> dib(sizeof(BITMAPINFOHEADER) + 4 * 3 + 1, 0xCD);
  auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
  *bih = {sizeof(BITMAPINFOHEADER), 3, 1, 1, 24};
  ASSERT_EQ(core->GetPartThumbnail(list, 0, 0, dib.data()), 0);
  EXPECT_EQ(dib.back(), 0xCD);
  bih->biBitCount = 32;
  EXPECT_NE(core->GetPartThumbnail(list, 0, 0, dib.data()), 0);

  // A stream the imaging engine decodes gives its frame (red first), fitted into the middle.
  ASSERT_TRUE(CopyFileA(testsupport::Fixture("colours.mts").c_str(), (folder + "\\BDMV\\STREAM\\00000.m2ts").c_str(),
                        FALSE));
  std::vector<BYTE> frame(sizeof(BITMAPINFOHEADER) + 240 * 60);
  auto* fh = reinterpret_cast<BITMAPINFOHEADER*>(frame.data());
  *fh = {sizeof(BITMAPINFOHEADER), 80, 60, 1, 24};
  ASSERT_EQ(core->GetPartThumbnail(list, 0, 0, frame.data()), 0);
  const BYTE* middle = frame.data() + sizeof(BITMAPINFOHEADER) + 30 * 240 + 40 * 3;
  EXPECT_GT(middle[2], 180);  // red
  EXPECT_LT(middle[0], 80);

  // A scene's properties: the property reader reaches its stream through the core's
  // resolver (list, title, scene as the image list counts them), the movie kit its facts.
  char stream[MAX_PATH] = "";
  ASSERT_TRUE(VxBDResolveScene(list, 0, 0, stream, MAX_PATH, nullptr));
  EXPECT_STREQ(stream, "D:\\BDMV\\STREAM\\00000.m2ts");
  EXPECT_FALSE(VxBDResolveScene(list, 0, 0, stream, 10, nullptr));  // does not fit
  ASSERT_EQ(PrSetAVCHDSceneResolver(VxBDResolveScene, nullptr), S_OK);
  HPRPROPERTY props = PrInitGetAVCHDPropertyString(list, 0, 0);
  ASSERT_TRUE(props);
  EXPECT_STREQ(PrGetPropertyString(props, PRID_FILE_KIND), "AVCHD 動画");
  EXPECT_STREQ(PrGetPropertyString(props, PRID_IMAGE_SIZE), "320 × 240");
  EXPECT_STREQ(PrGetPropertyString(props, PRID_DURATION), "0:00:02");
  EXPECT_STRNE(PrGetPropertyString(props, PRID_BIT_RATE), "");
  PrExitGetPropertyString(props);
  // No such scene, title or list; a scene whose stream is not there.
  for (auto bad : {std::make_tuple(list, 0, 1), std::make_tuple(list, 5, 0), std::make_tuple(list + session + 1000, 0, 0),
                   std::make_tuple(list, 1, 1)})
    EXPECT_EQ(PrInitGetAVCHDPropertyString(std::get<0>(bad), std::get<1>(bad), std::get<2>(bad)), nullptr);

  // The disc taken out: the refresh lets its session and list go.
  ASSERT_EQ(testsupport::RemoveDisc('D'), 0u);
  EXPECT_EQ(core->RefreshDevices(), 0);
  EXPECT_EQ(core->ValidateSession(session), E_HANDLE);
  EXPECT_EQ(core->GetTitleListInfo(list, &li), E_HANDLE);
  EXPECT_LT(images->GetImageCount("D:\\", list, 0), 0);
  EXPECT_EQ(PrInitGetAVCHDPropertyString(list, 0, 0), nullptr);
  PrSetAVCHDSceneResolver(nullptr, nullptr);
  EXPECT_EQ(core->ReleaseDevice(d), 0);

  // Without its index the disc is not finalised.
  DeleteFileA((folder + "\\BDMV\\index.bdmv").c_str());
  ASSERT_EQ(testsupport::InsertDisc('D', testsupport::UnixPathOf(folder)), 0u);
  EXPECT_EQ(core->OpenDisc(d, L"D:\\", 1, &session), VXBD_E_UNFINALISED);
  EXPECT_EQ(testsupport::RemoveDisc('D'), 0u);
  object->Release();
  testsupport::RemoveTree(folder);
}

// A card's title scenes name the card tree they lie in, which the editor addresses.
// A drive chosen from the drive list: only a disc drive is taken, and a disc changed in it
// since its session opened is read anew.
TEST(BDCoreDisc, ChosenDiscDriveIsReadAnew) {
  std::string first = testsupport::NewTempFolder("bdchoose1"), second = testsupport::NewTempFolder("bdchoose2");
  ASSERT_TRUE(VxBDWriteTree(first + "\\BDMV", {{{"00000"}, 0x0103, 0xAB12}}, true, true));
  ASSERT_TRUE(VxBDWriteTree(second + "\\BDMV", {{{"00000"}, 0x0103, 0xAB12}, {{"00001"}, 0x0103, 0xAB12}}, true, true));
  ASSERT_EQ(testsupport::InsertDisc('D', testsupport::UnixPathOf(first)), 0u);
  IVxBDCoreObject* object = GetVxBDCoreObject();
  IVxBDIntegrator* core = object->GetIntegrator();
  const int d = 'D' - 'A';
  for (int drive : {-1, 26}) EXPECT_EQ(object->SelectDrive(drive), E_INVALIDARG) << drive;
  for (int drive : {'C' - 'A', 'E' - 'A', 'Q' - 'A'}) EXPECT_EQ(object->SelectDrive(drive), VXBD_E_NODEVICE) << drive;
  int session = -1, list = -1;
  VXBDLISTINFO info = {};
  ASSERT_EQ(core->OpenDisc(d, L"D:\\", 1, &session), 0);
  ASSERT_EQ(core->OpenTitleList(session, VXBD_TITLE_LIST_ALL, &list), 0);
  ASSERT_EQ(core->GetTitleListInfo(list, &info), 0);
  EXPECT_EQ(info.nTitles, 1u);
  // Another disc in the same drive: the open list still answers the first one's titles.
  ASSERT_EQ(testsupport::RemoveDisc('D'), 0u);
  ASSERT_EQ(testsupport::InsertDisc('D', testsupport::UnixPathOf(second)), 0u);
  EXPECT_EQ(core->OpenDisc(d, L"D:\\", 1, &session), VXBD_S_SESSION_OPEN);
  EXPECT_EQ(object->SelectDrive(d), 0);
  EXPECT_EQ(core->GetTitleListInfo(list, &info), E_HANDLE);
  ASSERT_EQ(core->OpenDisc(d, L"D:\\", 1, &session), 0);
  ASSERT_EQ(core->OpenTitleList(session, VXBD_TITLE_LIST_ALL, &list), 0);
  ASSERT_EQ(core->GetTitleListInfo(list, &info), 0);
  EXPECT_EQ(info.nTitles, 2u);
  object->ClearDriveSelection();
  object->Release();
  ASSERT_EQ(testsupport::RemoveDisc('D'), 0u);
  testsupport::RemoveTree(first);
  testsupport::RemoveTree(second);
}

TEST(BDCoreDisc, ACardsSceneNamesItsTree) {
  struct {
    const char* tree;
    int number;
  } cases[] = {{"PRIVATE\\AVCHD\\BDMV", 0}, {"AVCHD\\BDMV", 1}};
  IVxBDCoreObject* object = GetVxBDCoreObject();
  IVxBDIntegrator* core = object->GetIntegrator();
  for (const auto& c : cases) {
    std::string folder = testsupport::NewTempFolder("bdcard");
    const std::string bdmv = folder + "\\" + c.tree;
    testsupport::MakeFolders(bdmv);
    ASSERT_TRUE(VxBDWriteTree(bdmv, {{{"00000", "00001"}, 0x0103, 0xAB12}}, true, false));
    Stream(bdmv + "\\STREAM\\00000.MTS", 3, 9, 100);
    Stream(bdmv + "\\STREAM\\00001.MTS", 3, 10, 100);
    ASSERT_EQ(testsupport::InsertCard('E', testsupport::UnixPathOf(folder)), 0u);
    int session = -1, list = -1;
    ASSERT_GE(core->OpenDisc('E' - 'A', L"E:\\", 1, &session), 0) << c.tree;
    ASSERT_GE(core->OpenTitleList(session, VXBD_TITLE_LIST_ALL, &list), 0);
    IVxBDImageList* images = object->GetImageList();
    ASSERT_EQ(images->GetImageCount("E:\\", list, 0), 2) << c.tree;
    VXBDIMAGEINFO scene = {};
    ASSERT_EQ(images->GetImageInfo("E:\\", list, 0, 1, &scene), 0);
    EXPECT_EQ(scene.nTree, c.number) << c.tree;
    EXPECT_EQ(scene.stRecorded.wHour, 10);
    object->ClearDriveSelection();
    testsupport::RemoveCard('E');
    testsupport::RemoveTree(folder);
  }
  object->Release();
  if (!testsupport::DefaultCardDir().empty()) testsupport::InsertCard('E', testsupport::DefaultCardDir());
}
