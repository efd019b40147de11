// The disc core's titles in the card tree, through a core double that counts what the
// plug-in keeps open: a disc drive at the top level, a card's own titles under its drive
// node, an unfinalised disc, an unlisted maker, titles of one day across renewals.
#include "host.h"

#include <DiscImport.h>

#include <FolderTreePlugin.h>
#include <Kitlib2/Profile.h>
#include <Kitlib2/Utility.h>
#include <VxBDCore.h>
#include <VxResourceIds.h>
#include <card.h>
#include <dialogwatch.h>
#include <files.h>
#include <gtest/gtest.h>
#include <profileroot.h>
#include <tempfolder.h>

#include <map>
#include <set>
#include <string>
#include <vector>

using cardtreetest::Host;
using cardtreetest::Res;

namespace {

struct Title {
  WORD year, month, day;
  DWORD maker;
  std::vector<std::wstring> parts;
};
struct Device {
  int kind = 1;
  bool unfinalised = false;
  int tvSystem = 0;
  DWORD mediumFlags = 0;  // read-only medium
  long listInfoAnswer = 0;
  std::vector<Title> titles;
};

// Devices are drive numbers. Opens of a disc or list already open answer the "already
// open" codes with the same handle, as the stand-in does.
class CoreDouble : public IVxBDIntegrator {
 public:
  std::map<int, Device> devices;
  int locks = 0, sessionsOpened = 0, listsOpened = 0;
  std::map<int, int> sessionOfDevice, listOfSession, deviceOfList;

  long ValidateSession(int s) override { return deviceOfSession(s) >= 0 ? 0 : E_HANDLE; }
  long TestSessionAgain(int) override { return E_FAIL; }
  long GetDeviceCount(int, int* n) override {
    *n = 26;
    return 0;
  }
  long LockDevice(int d) override {
    if (!devices.count(d)) return E_FAIL;
    ++locks;
    return 0;
  }
  long ReleaseDevice(int) override {
    --locks;
    return 0;
  }
  long OpenDisc(int d, LPCWSTR root, int, int* s) override {
    if (!devices.count(d) || root[0] != L'A' + d) return E_FAIL;
    if (devices[d].unfinalised) return VXBD_E_UNFINALISED;
    auto it = sessionOfDevice.find(d);
    if (it != sessionOfDevice.end()) {
      *s = it->second;
      return VXBD_S_SESSION_OPEN;
    }
    *s = 100 + (++sessionsOpened);
    sessionOfDevice[d] = *s;
    return 0;
  }
  long CloseSession(int s) override {
    for (auto it = sessionOfDevice.begin(); it != sessionOfDevice.end(); ++it)
      if (it->second == s) {
        sessionOfDevice.erase(it);
        return 0;
      }
    return E_HANDLE;
  }
  long GetDeviceInfo(int d, void* r) override {
    if (!devices.count(d)) return E_FAIL;
    auto* info = static_cast<VXBDDEVICEINFO*>(r);
    info->nDrive = d;
    info->nKind = devices[d].kind;
    return 0;
  }
  long GetMediumType(int, void*) override { return E_FAIL; }
  long IsDeviceBusy(int) override { return 0; }
  long GetMediumFlags(int d, void* r) override {
    static_cast<VXBDMEDIUMFLAGS*>(r)->dwFlags = devices[d].mediumFlags;
    return 0;
  }
  long GetSessionDescriptor(int s, void* r) override {
    static_cast<VXBDSESSIONDESC*>(r)->nTvSystem = devices[deviceOfSession(s)].tvSystem;
    return 0;
  }
  long OpenTitleList(int s, DWORD, int* l) override {
    if (deviceOfSession(s) < 0) return E_HANDLE;
    auto it = listOfSession.find(s);
    if (it != listOfSession.end()) {
      *l = it->second;
      return VXBD_S_LIST_OPEN;
    }
    *l = 500 + (++listsOpened);
    listOfSession[s] = *l;
    deviceOfList[*l] = deviceOfSession(s);
    return 0;
  }
  long CloseTitleList(int) override { return 0; }
  long GetTitleListInfo(int l, void* r) override {
    if (devices[deviceOfList[l]].listInfoAnswer) return devices[deviceOfList[l]].listInfoAnswer;
    static_cast<VXBDLISTINFO*>(r)->nTitles = static_cast<DWORD>(devices[deviceOfList[l]].titles.size());
    return 0;
  }
  long CreateImportJob(void**) override { return E_NOTIMPL; }
  long GetTitleInfo(int l, int t, void* r) override {
    const Title& title = devices[deviceOfList[l]].titles.at(t);
    auto* info = static_cast<VXBDTITLEINFO*>(r);
    info->nKind = 1;
    info->nParts = static_cast<LONG>(title.parts.size());
    info->stRecorded.wYear = title.year;
    info->stRecorded.wMonth = title.month;
    info->stRecorded.wDay = title.day;
    info->wMakerHigh = HIWORD(title.maker);
    info->wMakerLow = LOWORD(title.maker);
    return 0;
  }
  long DeleteTitle(int, int) override { return E_NOTIMPL; }
  long GetPartRecord(int, int, int, void*) override { return 0; }
  long GetPartThumbnail(int, int, int, void*) override { return E_NOTIMPL; }
  long RefreshDevices() override { return 0; }
  long BeginRefresh(int* v) override {
    *v = 0;
    return 0;
  }
  long EndRefresh() override { return 0; }
  long Wait(int, long* status) override {
    *status = 0;
    return 0;
  }
  long GetPartName(int l, int t, int p, int, LPWSTR name, int* length) override {
    const std::wstring& n = devices[deviceOfList[l]].titles.at(t).parts.at(p);
    lstrcpynW(name, n.c_str(), MAX_PATH);
    *length = static_cast<int>(n.size());
    return 0;
  }
  long GetPartInfo(int, int, int, void*) override { return 0; }

 private:
  int deviceOfSession(int s) {
    for (auto& kv : sessionOfDevice)
      if (kv.second == s) return kv.first;
    return -1;
  }
};

// The maker of the sample devices in the program folder's maker file.
const DWORD kListed = 0x0103AB12, kUnlisted = 0x0999AAAA;

std::string DiscLabel(char l) { return Res(IDS_CARD_DISC_DRIVE) + l + Res(IDS_CARD_DRIVE_SUFFIX); }

}  // namespace

TEST(CardTreeDiscNodes, DiscDriveTitlesByDateAcrossRenewals) {
  testsupport::ScopedProfileRoot profile("cardtree-disc");
  CoreDouble core;
  core.devices[3].kind = VXBD_DEVICE_DISC;
  core.devices[3].titles = {{2026, 11, 22, kListed, {L"00000.MTS"}},
                            {2026, 11, 22, kListed, {L"00001.MTS", L"00002.MTS"}},
                            {2026, 11, 23, kUnlisted, {L"00003.MTS"}}};
  core.devices[6].kind = VXBD_DEVICE_DISC;  // G: needs finalising
  core.devices[6].unfinalised = true;
  core.devices[7].kind = VXBD_DEVICE_OTHER;
  Host host(&core);
  ASSERT_TRUE(host.plugin);
  ASSERT_EQ(host.Get<PFN_PLUGIN_CreateTree>("CreateTree")(&host.tree, &host.images, TVI_ROOT), S_OK);
  HTREEITEM top = host.Top(DiscLabel('D'));
  ASSERT_TRUE(top);
  // The top level is sorted once the disc's node is in: its label comes first.
  EXPECT_EQ(host.tree.GetRootItem(), top);
  EXPECT_FALSE(host.Top(DiscLabel('G')));
  EXPECT_FALSE(host.Top(DiscLabel('H')));
  int image = -1, selected = -1;
  host.tree.GetItemImage(top, image, selected);
  EXPECT_EQ(image, 1);
  HTREEITEM titles = host.Child(top, Res(IDS_CARD_DISC_TITLES));
  ASSERT_TRUE(titles);
  const std::vector<std::string> want = {"2026/11/22 D:\\102\\501\\3\\0\\2026/11/22 6",
                                         "2026/11/22 D:\\102\\501\\3\\1\\2026/11/22 6"};
  EXPECT_EQ(host.Paths(titles), want);
  EXPECT_EQ(core.locks, 0);  // every lock released again

  // Renewals keep both titles of the day and reuse the open session and list.
  const int sessions = core.sessionsOpened, lists = core.listsOpened;
  auto renew = host.Get<PFN_PLUGIN_TreeItem>("RenewalTree");
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(renew(&host.tree, nullptr), S_OK);
    EXPECT_EQ(host.Paths(host.Child(host.Top(DiscLabel('D')), Res(IDS_CARD_DISC_TITLES))), want);
  }
  EXPECT_EQ(core.sessionsOpened, sessions);
  EXPECT_EQ(core.listsOpened, lists);
  EXPECT_EQ(core.locks, 0);

  // A title's parts changed: the old node goes, a new one comes.
  core.devices[3].titles[1].parts = {L"00004.MTS"};
  ASSERT_EQ(renew(&host.tree, nullptr), S_OK);
  EXPECT_EQ(host.Paths(host.Child(host.Top(DiscLabel('D')), Res(IDS_CARD_DISC_TITLES))).size(), 2u);

  // The disc taken out: its nodes go.
  core.devices.erase(3);
  core.sessionOfDevice.erase(3);
  ASSERT_EQ(renew(&host.tree, nullptr), S_OK);
  EXPECT_FALSE(host.Top(DiscLabel('D')));
}

// A disc that needs finalising gets no node; the creation warns about it (string 62070,
// the application's name as caption) only while the browser shows a card folder.
TEST(CardTreeDiscNodes, AnUnfinalisedDiscWarnsOnlyOverACardFolder) {
  testsupport::ScopedProfileRoot profile("cardtree-unfinalised");
  struct {
    FOLDER_TYPE code;
    bool warned;
  } cases[] = {{FOLDER_TYPE_SDCARD_AVCHD, true},
               {(FOLDER_TYPE)(FOLDER_TYPE_SDCARD | 2), true},
               {FOLDER_TYPE_EXPLORER, false},
               {FOLDER_TYPE_NONE, false}};
  for (const auto& c : cases) {
    CoreDouble core;
    core.devices[6].kind = VXBD_DEVICE_DISC;
    core.devices[6].unfinalised = true;
    cardtreetest::BrowserMainFrame main(c.code);
    ASSERT_TRUE(main.frame);
    Host host(&core);
    ASSERT_TRUE(host.plugin);
    std::string text, caption;
    HWND owner = nullptr;
    testsupport::DialogWatch watch(
        nullptr, [](HWND box) { return GetDlgItem(box, 0xFFFF) != nullptr; },
        [&](HWND box) {
          char buffer[512] = "";
          GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
          text = buffer;
          GetWindowTextA(box, buffer, sizeof buffer);
          caption = buffer;
          owner = GetWindow(box, GW_OWNER);
          PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
    ASSERT_EQ(host.Create(), S_OK);
    watch.Stop();
    EXPECT_EQ(watch.Acted(), c.warned) << c.code;
    EXPECT_FALSE(host.Top(DiscLabel('G'))) << c.code;
    if (!c.warned) continue;
    EXPECT_EQ(text, Res(IDS_CARD_DISC_UNFINALISED));
    EXPECT_EQ(caption, std::string((LPCSTR)CMTLGetAppName()));
    EXPECT_EQ(owner, main.frame->GetSafeHwnd());
  }
}

TEST(CardTreeDiscNodes, ACardsOwnTitlesHangUnderItsDriveNode) {
  testsupport::ScopedProfileRoot profile("cardtree-disc-card");
  std::string folder = testsupport::NewTempFolder("card-disc");
  testsupport::MakeFolders(folder + "\\DCIM\\100NORVA");
  ASSERT_EQ(testsupport::InsertCard('E', testsupport::UnixPathOf(folder)), 0u);
  CoreDouble core;
  core.devices[4].kind = VXBD_DEVICE_CARD;
  core.devices[4].titles = {{2026, 11, 22, kListed, {L"00000.MTS"}}};
  {
    Host host(&core);
    ASSERT_TRUE(host.plugin);
    ASSERT_EQ(host.Get<PFN_PLUGIN_CreateTree>("CreateTree")(&host.tree, &host.images, TVI_ROOT), S_OK);
    std::string driveLabel = Res(IDS_CARD_DRIVE_PREFIX) + "E" + Res(IDS_CARD_DRIVE_SUFFIX);
    HTREEITEM drive = host.Top(driveLabel);
    ASSERT_TRUE(drive);
    // Only one top-level node for E:, the card's.
    int count = 0;
    for (HTREEITEM i = host.tree.GetRootItem(); i; i = host.tree.GetNextSiblingItem(i))
      count += std::string(host.tree.GetItemText(i)) == driveLabel;
    EXPECT_EQ(count, 1);
    HTREEITEM titles = host.Child(drive, Res(IDS_CARD_DISC_TITLES));
    ASSERT_TRUE(titles);
    EXPECT_EQ(host.Paths(titles), (std::vector<std::string>{"2026/11/22 E:\\102\\501\\4\\0\\2026/11/22 6"}));
    EXPECT_EQ(core.locks, 0);

    // An unlisted maker: the device node stays, without date nodes.
    core.devices[4].titles[0].maker = kUnlisted;
    core.sessionOfDevice.clear();
    core.listOfSession.clear();
    ASSERT_EQ(host.Get<PFN_PLUGIN_TreeItem>("RenewalTree")(&host.tree, nullptr), S_OK);
    titles = host.Child(host.Top(driveLabel), Res(IDS_CARD_DISC_TITLES));
    ASSERT_TRUE(titles);
    EXPECT_FALSE(host.tree.GetChildItem(titles));
  }
  testsupport::RemoveCard('E');
  if (!testsupport::DefaultCardDir().empty()) testsupport::InsertCard('E', testsupport::DefaultCardDir());
  testsupport::RemoveTree(folder);
}

#include <VxBDDisc.h>

namespace {

void DatedStream(const std::string& path, WORD year, WORD month, WORD day) {
  testsupport::WriteWholeFile(path, std::string(188 * 4, 'G'));
  testsupport::SetLocalWriteTime(path, year, month, day);
}

}  // namespace

// The real core on a card and a disc the test makes: the card's own title under its drive
// node, the disc's titles at the top level; renewals keep the same sessions.
TEST(CardTreeDiscNodes, TheCoreOnACardAndADisc) {
  testsupport::ScopedProfileRoot profile("cardtree-core");
  std::string card = testsupport::NewTempFolder("core-card");
  testsupport::MakeFolders(card + "\\DCIM\\100NORVA");
  testsupport::MakeFolders(card + "\\PRIVATE\\AVCHD");
  ASSERT_TRUE(VxBDWriteTree(card + "\\PRIVATE\\AVCHD\\BDMV", {{{"00000"}, 0x0103, 0xAB12}}, true, false));
  DatedStream(card + "\\PRIVATE\\AVCHD\\BDMV\\STREAM\\00000.MTS", 2026, 11, 22);
  std::string disc = testsupport::NewTempFolder("core-disc");
  ASSERT_TRUE(VxBDWriteTree(disc + "\\BDMV", {{{"00000"}, 0x0103, 0xAB12}, {{"00001", "00002"}, 0x0103, 0xAB12}},
                            true, true));
  DatedStream(disc + "\\BDMV\\STREAM\\00000.m2ts", 2026, 10, 3);
  DatedStream(disc + "\\BDMV\\STREAM\\00001.m2ts", 2026, 10, 4);
  DatedStream(disc + "\\BDMV\\STREAM\\00002.m2ts", 2026, 10, 4);
  ASSERT_EQ(testsupport::InsertCard('E', testsupport::UnixPathOf(card)), 0u);
  ASSERT_EQ(testsupport::InsertDisc('D', testsupport::UnixPathOf(disc)), 0u);
  IVxBDCoreObject* object = GetVxBDCoreObject();
  {
    Host host(object->GetIntegrator());
    ASSERT_TRUE(host.plugin);
    ASSERT_EQ(host.Get<PFN_PLUGIN_CreateTree>("CreateTree")(&host.tree, &host.images, TVI_ROOT), S_OK);
    HTREEITEM drive = host.Top(Res(IDS_CARD_DRIVE_PREFIX) + "E" + Res(IDS_CARD_DRIVE_SUFFIX));
    ASSERT_TRUE(drive);
    HTREEITEM titles = host.Child(drive, Res(IDS_CARD_DISC_TITLES));
    ASSERT_TRUE(titles);
    std::vector<std::string> cardTitles = host.Paths(titles);
    ASSERT_EQ(cardTitles.size(), 1u);
    EXPECT_EQ(cardTitles[0].substr(0, 14), "2026/11/22 E:\\");
    HTREEITEM top = host.Top(DiscLabel('D'));
    ASSERT_TRUE(top);
    std::vector<std::string> discTitles = host.Paths(host.Child(top, Res(IDS_CARD_DISC_TITLES)));
    ASSERT_EQ(discTitles.size(), 2u);
    EXPECT_EQ(discTitles[0].substr(0, 10), "2026/10/03");
    EXPECT_EQ(discTitles[1].substr(0, 10), "2026/10/04");

    auto renew = host.Get<PFN_PLUGIN_TreeItem>("RenewalTree");
    for (int i = 0; i < 3; ++i) ASSERT_EQ(renew(&host.tree, nullptr), S_OK);
    EXPECT_EQ(host.Paths(host.Child(host.Top(DiscLabel('D')), Res(IDS_CARD_DISC_TITLES))), discTitles);
    EXPECT_EQ(host.Paths(host.Child(host.Top(Res(IDS_CARD_DRIVE_PREFIX) + "E" + Res(IDS_CARD_DRIVE_SUFFIX)),
                                    Res(IDS_CARD_DISC_TITLES))),
              cardTitles);

    ASSERT_EQ(testsupport::RemoveDisc('D'), 0u);
    ASSERT_EQ(renew(&host.tree, nullptr), S_OK);
    EXPECT_FALSE(host.Top(DiscLabel('D')));
  }
  object->ClearDriveSelection();
  object->Release();
  testsupport::RemoveCard('E');
  if (!testsupport::DefaultCardDir().empty()) testsupport::InsertCard('E', testsupport::DefaultCardDir());
  testsupport::RemoveTree(card);
  testsupport::RemoveTree(disc);
}

// What the import dialog's scan says about a card's disc side, and what it counts.
TEST(CardImportDiscScan, WarningsOfTheCardsTitles) {
  testsupport::ScopedProfileRoot profile("cardtree-disc-scan");
  struct Case {
    const char* what;
    int kind;
    bool unfinalised;
    int tvSystem;
    DWORD mediumFlags;
    long listInfoAnswer;
    std::vector<UINT> warnings;
    int importable;
  } cases[] = {
      {"a card with two titles", VXBD_DEVICE_CARD, false, 0, 0, 0, {}, 2},
      {"titles to finalise", VXBD_DEVICE_CARD, true, 0, 0, 0, {IDS_IMPORT_DISC_CHECK}, 0},
      {"a disc the core closes again", VXBD_DEVICE_DISC, false, 0, VXBD_MEDIUM_CHECKED, 0, {IDS_IMPORT_DISC_CHECK}, 0},
      {"the other TV system: nothing counted", VXBD_DEVICE_CARD, false, 1, 0, 0, {IDS_IMPORT_TV_SYSTEM}, 0},
      {"title data unreadable", VXBD_DEVICE_CARD, false, 0, 0, VXBD_E_LIST_UNREADABLE, {IDS_IMPORT_TITLES_UNREADABLE}, 0},
      {"another list failure says nothing", VXBD_DEVICE_CARD, false, 0, 0, E_FAIL, {}, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    CoreDouble core;
    Device& card = core.devices[4];
    card.kind = k.kind;
    card.unfinalised = k.unfinalised;
    card.tvSystem = k.tvSystem;
    card.mediumFlags = k.mediumFlags;
    card.listInfoAnswer = k.listInfoAnswer;
    card.titles = {{2026, 11, 22, kListed, {L"00000.MTS"}}, {2026, 11, 23, kListed, {L"00001.MTS"}},
                   {2026, 11, 23, kUnlisted, {L"00002.MTS"}}};
    cardtree::DiscSession session;
    session.core = &core;
    cardtree::DiscScan scan =
        cardtree::ScanDiscSide(&session, "E:\\", 0, [](DWORD maker) { return maker == kListed ? 1 : 0; });
    EXPECT_EQ(scan.warnings, k.warnings);
    EXPECT_EQ(scan.importable, k.importable);
    cardtree::CloseDiscSession(&session);
    EXPECT_EQ(core.locks, 0);
  }
}
