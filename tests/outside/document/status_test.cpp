// The browsing state's plain rules: view codes and browse flags, command values, folder
// types and their predicates, filters, sort keys; and reading a folder change.
#include <gtest/gtest.h>

#include "doc_fixtures.h"

TEST(ViewMode, ViewCodesAndBrowseFlagsConvert) {
  struct {
    UINT code;
    UINT flag;
    UINT back;  // ToCgViewID(flag)
  } cases[] = {
      {1, 1, 1},     {2, 2, 2},      {3, 4, 3},      {4, 8, 4},       {5, 16, 5},
      {6, 32, 6},    {7, 64, 7},     {8, 128, 8},    {9, 16, 5},      {10, 256, 10},
      {11, 512, 11}, {12, 1024, 12}, {13, 2048, 13}, {14, 2048, 13},
  };
  for (auto& c : cases) {
    EXPECT_EQ((UINT)CBrowserStatus::CViewMode::ToBrowseID(c.code), c.flag) << c.code;
    EXPECT_EQ(CBrowserStatus::CViewMode::ToCgViewID(c.flag), c.back) << c.flag;
  }
  for (UINT bad : {0u, 15u, 100u}) EXPECT_EQ((UINT)CBrowserStatus::CViewMode::ToBrowseID(bad), 0u) << bad;
  for (UINT bad : {0u, 3u, 6u, 4096u, 0x30u}) EXPECT_EQ(CBrowserStatus::CViewMode::ToCgViewID(bad), 0u) << bad;
}

TEST(ViewMode, PredicatesThumbnailSizesAndTheKeptMode) {
  CBrowserStatus st;
  struct {
    BROWSE_VIEW_MODE mode;
    int thumb;
    int size;
    bool calendar, music, audio, detail;
  } cases[] = {
      {BROWSE_VIEW_SMALLICON, 4, 80, false, false, false, false},
      {BROWSE_VIEW_LARGEICON, 0, 30, false, false, false, false},
      {BROWSE_VIEW_LARGEICON, 3, 223, false, false, false, false},
      {BROWSE_VIEW_LARGEICON, 4, 303, false, false, false, false},
      {BROWSE_VIEW_MONTH, 0, 160, true, false, false, false},
      {BROWSE_VIEW_DAY, 4, 160, true, false, false, false},
      {BROWSE_VIEW_MUSIC, 2, 80, false, true, false, false},
      {BROWSE_VIEW_AUDIOLIST, 2, 80, false, false, true, true},
      {BROWSE_VIEW_FILEINFO, 2, 80, false, false, false, true},
  };
  for (auto& c : cases) {
    st.SetMode(c.mode);
    ASSERT_TRUE(st.SetThumbMode(c.thumb));
    EXPECT_EQ(st.GetThumbnailSize(), c.size) << c.mode;
    EXPECT_EQ(!!st.IsCalendarMode(), c.calendar) << c.mode;
    EXPECT_EQ(!!st.CViewMode::IsMusicMode(), c.music) << c.mode;
    EXPECT_EQ(!!st.IsAudioMode(), c.audio) << c.mode;
    EXPECT_EQ(!!st.IsDetailMode(), c.detail) << c.mode;
  }
  EXPECT_FALSE(st.SetThumbMode(5));
  EXPECT_EQ(CBrowserStatus::CViewMode::ThumbnailSizeOf(BROWSE_VIEW_LARGEICON, 5), 160);
  // Focus and calendars keep the thumbnail mode they were entered from.
  st.SetMode(BROWSE_VIEW_SMALLICON);
  st.SetMode(BROWSE_VIEW_FOCUS);
  st.SetMode(BROWSE_VIEW_MONTH);
  EXPECT_EQ(st.GetLastThumbnailMode(), BROWSE_VIEW_SMALLICON);
}

TEST(CommandObject, ValuesComeFromTheIds) {
  struct {
    UINT id;
    void* value;
    UINT_PTR expected;
  } cases[] = {
      {29541, nullptr, 2},  {29542, nullptr, 1},  {29545, nullptr, 5},  {29546, nullptr, 6},
      {29547, nullptr, 10}, {29548, nullptr, 11}, {29549, nullptr, 12}, {29551, nullptr, 14},
      {29555, nullptr, 0},  {29561, nullptr, 29}, {29562, nullptr, 11}, {29565, nullptr, 20},
      {29568, nullptr, 17}, {29580, nullptr, 27}, {29587, nullptr, 27}, {29710, nullptr, 17},
      {29711, nullptr, 18}, {29591, nullptr, 0},  {29592, nullptr, 3},  {29595, nullptr, 6},
      // a number given for a range command wins; other commands carry what they get
      {29541, (void*)(UINT_PTR)9, 9}, {29536, nullptr, 0}, {29505, (void*)(UINT_PTR)7, 7},
  };
  for (auto& c : cases) {
    CSendCommandObject o(c.id, c.value);
    EXPECT_EQ(o.GetID(), c.id);
    EXPECT_EQ(o.GetValue(), c.expected) << c.id;
    EXPECT_EQ(o.GetParam(), nullptr) << c.id;
  }
  // A calendar view's date travels as the parameter; the value stays the view code.
  char date[] = "2005/03/12";
  CSendCommandObject month(29547, date);
  EXPECT_EQ(month.GetValue(), 10u);
  EXPECT_STREQ(month.GetParamText(), "2005/03/12");
  EXPECT_TRUE(month.IsKindOf(RUNTIME_CLASS(CSendCommandObject)));
  EXPECT_TRUE(month.IsViewModeCommand());
  EXPECT_FALSE(CSendCommandObject(29560).IsSortCommand());
  EXPECT_TRUE(CSendCommandObject(29711).IsSortCommand());
  EXPECT_EQ(CSendCommandObject::ValueOfID(29100), -1);
}

namespace {

VXFOLDERPROFILE Profile() {
  VXFOLDERPROFILE p = {};
  lstrcpyA(p.szExplorer, "マイコンピュータ");
  p.nExplorerID = 1;
  lstrcpyA(p.szMemoryCard, "メモリーカード");
  p.nMemoryCardID = 2;
  lstrcpyA(p.szCategory, "分類");
  p.nCategoryID = 3;
  lstrcpyA(p.szMusic, "音楽");
  p.nMusicID = 4;
  lstrcpyA(p.szSearch, "検索");
  p.nSearchID = 5;
  p.nFavoriteID = -1;
  p.nMemoryCardNumber = 0;
  p.nClassify = -1;
  p.nSearchResult = -1;
  return p;
}

}  // namespace

TEST(FolderType, DecidedBySourceAndProfile) {
  struct {
    const char* name;
    int number;
    const char* title;
    int type;
    const char* path;
    int cardNumber;
    int searchKind;
    UINT code;
  } cases[] = {
      {"disk tree by title", 9, "マイコンピュータ", 1, "C:\\A\\", 0, -1, 256},
      {"disk tree by number", 1, "whatever", 1, "C:\\A\\", 0, -1, 256},
      {"the browser's own", 0, "explorer", 1, "C:\\A\\", 0, -1, 256},
      {"category", 3, "分類", 2, "", 0, -1, 512},
      {"card pictures", 2, "メモリーカード", 1, "E:\\DCIM\\100\\", 2, -1, 2050},
      {"card print order", 2, "メモリーカード", 2, "E:\\a.jpg", 7, -1, 2055},
      {"card disc node", 2, "メモリーカード", 3, "E:\\PRIVATE\\x", 0, -1, 2071},
      {"card voice by path", 2, "メモリーカード", 1, "E:\\SD_VOICE\\", 1, -1, 2052},
      {"card audio by path", 2, "メモリーカード", 1, "F:\\sd_audio", 0, -1, 2053},
      {"card audio by number", 2, "メモリーカード", 1, "E:\\X\\", 5, -1, 2053},
      {"music", 4, "音楽", 2, "C:\\m.mp3", 0, -1, 8192},
      {"search, marked files", 5, "検索", 2, "C:\\a.jpg", 0, 1, 4097},
      {"search, similar images", 5, "検索", 2, "C:\\a.jpg", 0, 2, 4098},
      {"other search", 5, "検索", 2, "C:\\a.jpg", 0, 7, 4096},
      {"unknown tree", 8, "他", 1, "C:\\A\\", 0, -1, 0},
  };
  for (auto& c : cases) {
    VXFOLDERPROFILE p = Profile();
    p.nMemoryCardNumber = c.cardNumber;
    p.nSearchResult = c.searchKind;
    VXFOLDERSOURCE s = {c.number, c.title, c.type, c.path};
    EXPECT_EQ((UINT)CBrowserStatus::CFolderType::Decide(s, p), c.code) << c.name;
  }
  // A dated disc node's scenes on a card are its own kind; on a disc they stay refused.
  VXFOLDERSOURCE card = {2, "メモリーカード", 3, "E:\\1\\2\\4\\0\\2026/11/01", DRIVE_REMOVABLE};
  VXFOLDERSOURCE disc = {2, "メモリーカード", 3, "D:\\1\\2\\3\\0\\2026/11/01", DRIVE_CDROM};
  EXPECT_EQ((UINT)CBrowserStatus::CFolderType::Decide(card, Profile()), 2070u);
  EXPECT_EQ((UINT)CBrowserStatus::CFolderType::Decide(disc, Profile()), 2071u);
}

TEST(FolderType, PredicatesOfTheCodes) {
  struct {
    FOLDER_TYPE code;
    UINT flag;
    bool explorer, card, audio, voice, refused, mark, similar;
  } cases[] = {
      {FOLDER_TYPE_EXPLORER, 256, true, false, false, false, false, false, false},
      {FOLDER_TYPE_CLASSIFY, 512, false, false, false, false, false, false, false},
      {FOLDER_TYPE_FAVORITE, 1024, false, false, false, false, false, false, false},
      {(FOLDER_TYPE)0x802, 2048, false, true, false, false, false, false, false},
      {FOLDER_TYPE_SDCARD_AUDIO, 2048, false, true, true, false, false, false, false},
      {FOLDER_TYPE_SDCARD_VOICE, 2048, false, true, false, true, false, false, false},
      {FOLDER_TYPE_SDCARD_PRINTORDER, 2048, false, true, false, false, true, false, false},
      {FOLDER_TYPE_SDCARD_DISC, 2048, false, true, false, false, true, false, false},
      {FOLDER_TYPE_SDCARD_AVCHD, 2048, false, true, false, false, true, false, false},
      {FOLDER_TYPE_FINDRESULT_MARK, 4096, false, false, false, false, false, true, false},
      {FOLDER_TYPE_FINDRESULT_SIMILAR, 4096, false, false, false, false, false, false, true},
      {FOLDER_TYPE_NONE, 0, false, false, false, false, false, false, false},
  };
  CBrowserStatus st;
  for (auto& c : cases) {
    st.SetCode(c.code);
    EXPECT_EQ(st.GetFlag(), c.flag) << c.code;
    EXPECT_EQ(!!st.IsExplorerFolder(), c.explorer) << c.code;
    EXPECT_EQ(!!st.IsSDCardFolder(), c.card) << c.code;
    EXPECT_EQ(!!st.IsSDAudioFolder(), c.audio) << c.code;
    EXPECT_EQ(!!st.IsSDVoiceFolder(), c.voice) << c.code;
    EXPECT_EQ(!!st.IsSDAudioVoiceFolder(), c.audio || c.voice) << c.code;
    EXPECT_EQ(!!st.IsFileOperationRefused(), c.refused) << c.code;
    EXPECT_EQ(!!st.IsFindResult_MarkFolder(), c.mark) << c.code;
    EXPECT_EQ(!!st.IsFindResult_SimilarImageFolder(), c.similar) << c.code;
  }
  // The codes the browser tests by number.
  EXPECT_EQ((UINT)FOLDER_TYPE_SDCARD_PRINTORDER, 2055u);
  EXPECT_EQ((UINT)FOLDER_TYPE_SDCARD_DISC, 2071u);
}

TEST(FolderType, AFolderChangeIsReadWithTheProfile) {
  doctest::WriteProfileString("ImportPlugin\\MemoryCard", "Display", "カード");
  doctest::WriteProfileInt("ImportPlugin\\MemoryCard", "ID", 2);
  doctest::WriteProfileString("ImportPlugin\\Category", "Display", "分類");
  doctest::WriteProfileInt("ImportPlugin\\Category", "ID", 3);
  doctest::WriteProfileInt("VxFolder\\FolderInfo", "MemoryCard", 2);
  doctest::WriteProfileInt("VxFolder\\FolderInfo", "Classify", 8);

  CBrowserStatus st;
  std::string card = "2|カード|1|E:\\DCIM\\100ABC\\||E:\\DCIM\\101ABC\\||";
  CCopyDataDispatcher d(card.data(), (DWORD)card.size());
  ASSERT_EQ(st.InterpretDispatcher(&d, nullptr, nullptr), S_OK);
  EXPECT_EQ((UINT)st.GetCode(), 2050u);
  EXPECT_TRUE(st.IsSDCardFolder());
  EXPECT_EQ(st.GetSourceNumber(), 2);
  EXPECT_EQ(st.GetFolderPath(), "E:\\DCIM\\100ABC\\");
  EXPECT_EQ(st.GetFolderPaths().GetCount(), 2);
  EXPECT_EQ(st.GetClassifyType().GetKind(), -1);

  std::string category = "3|分類,人物,A,1|2|C:\\a.jpg|1||";
  CCopyDataDispatcher c(category.data(), (DWORD)category.size());
  ASSERT_EQ(st.InterpretDispatcher(&c, nullptr, nullptr), S_OK);
  EXPECT_TRUE(st.IsClassifyFolder());
  EXPECT_EQ(st.GetClassifyType().GetKind(), 8);
  EXPECT_EQ(CBrowserStatus::CFolderType::CClassifyType::GetRegistryValue(), 8);
  EXPECT_EQ(st.GetFolderTypeNumber(), 2);

  // A text that is refused (cut inside its path) changes nothing: the folder shown stays.
  const UINT shown = (UINT)st.GetCode();
  std::string bad = "2|カード|1|E:\\DC";
  CCopyDataDispatcher b(bad.data(), (DWORD)bad.size());
  EXPECT_EQ(st.InterpretDispatcher(&b, nullptr, nullptr), HRESULT_FROM_WIN32(ERROR_INVALID_DATA));
  EXPECT_EQ(st.InterpretDispatcher(nullptr, nullptr, nullptr), E_POINTER);
  EXPECT_EQ((UINT)st.GetCode(), shown);
  EXPECT_EQ(st.GetFolderPath(), "C:\\a.jpg");
  EXPECT_EQ(st.GetSourceNumber(), 3);
  EXPECT_EQ(st.GetClassifyType().GetKind(), 8);

  doctest::RemoveProfileSection("ImportPlugin");
  doctest::RemoveProfileSection("VxFolder");
}

TEST(SortAndFilter, KeysAndMasks) {
  struct {
    UINT id;
    BOOL audio;
    const char* keys;
    bool ascending;
  } cases[] = {
      {11, FALSE, "tf", true}, {12, FALSE, "tf", false}, {12, TRUE, "mf", false}, {14, TRUE, "mf", false},
      {15, FALSE, "zf", true}, {17, FALSE, "ef", true},  {19, FALSE, "f", true},   {20, FALSE, "f", false},
      {21, TRUE, "af", true},  {26, FALSE, "cf", false}, {27, FALSE, "o", true},   {29, FALSE, "o", true},
      {10, FALSE, "", false},  {31, FALSE, "", true},    {9, FALSE, "", true},
  };
  for (auto& c : cases) {
    bool asc = !c.ascending;
    EXPECT_EQ(VxSortKeyString(c.id, c.audio, &asc), c.keys) << c.id;
    EXPECT_EQ(asc, c.ascending) << c.id;
  }
  struct {
    int id;
    UINT mask;
  } filters[] = {{0, 0x210}, {1, 0x220}, {2, 0x240}, {3, 0x200}, {4, 0x1000}, {6, 0}};
  for (auto& f : filters) {
    UINT mask = 0xDEAD;
    ASSERT_TRUE(CBrowserStatus::MaskOfFilterID(f.id, &mask)) << f.id;
    EXPECT_EQ(mask, f.mask);
    EXPECT_EQ(CBrowserStatus::FilterIDOfMask(f.mask), f.id);
  }
  EXPECT_FALSE(CBrowserStatus::MaskOfFilterID(5, nullptr));
  EXPECT_FALSE(CBrowserStatus::MaskOfFilterID(7, nullptr));
  EXPECT_EQ(CBrowserStatus::FilterIDOfMask(0x4000), -1);
  EXPECT_FALSE(IsEnableReportMode());
}
