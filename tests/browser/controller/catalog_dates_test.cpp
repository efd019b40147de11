// The property catalogue: every kind's name and text on fixture files, and the date-record
// column against the real photo database.
#include <gtest/gtest.h>

#include <RecordGate.h>
#include <VxResourceIds.h>
#include <RecordGateEx.h>
#include <VxGUIDB.h>
#include <metastore.h>

#include <memory>

#include "PropertyCatalog.h"
#include "PropertyRules.h"
#include "ctl_fixture.h"
#include "files.h"

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

namespace {

std::string ResText(UINT id) {
  CString s;
  CResourceLoader().LoadStringA(id, s);
  return (LPCSTR)s;
}

std::string ValueOf(int kind, CThumbnail* p, CObject* pContext = nullptr) {
  std::unique_ptr<CPropertyItem> item(CreatePropertyItem(kind));
  if (!item) return "(no item)";
  CString text;
  item->GetValue(p, text, pContext);
  return (LPCSTR)text;
}

// The fixture's item of that name in a page.
CThumbnail* Named(CThumbnailPage& page, const char* name) {
  for (int i = 0; i < page.GetCount(); ++i)
    if (page.GetAt(i)->GetFileName().CompareNoCase(name) == 0) return page.GetAt(i);
  return nullptr;
}

}  // namespace

// Every kind names its column by its own string and shows a text for a folder, a picture,
// a movie, a content file and a card track ("-" for nothing); there is no kind 37.
TEST(PropertyCatalog, KindsNamesAndValuesOnFixtures) {
  // clang-format off
  const UINT names[VXPROPERTY_KINDS] = {
      IDS_PROP_NAME,        IDS_PROP_FOLDER,       IDS_PROP_ATTRIBUTES,   IDS_PROP_IMAGE_SIZE,   IDS_COL_SIZE,
      IDS_PROP_TYPE,        IDS_COL_MODIFIED,      IDS_PROP_COLORS,       IDS_PROP_KEYWORDS,     IDS_PROP_COMMENT,
      0,                    IDS_PROP_MAKER,        IDS_PROP_MODEL,        IDS_PROP_SHOT_DATE,    IDS_PROP_EXPOSURE,
      IDS_PROP_APERTURE,    IDS_PROP_ISO,          IDS_PROP_FOCAL_LENGTH, IDS_PROP_FLASH,        IDS_PROP_WHITE_BALANCE,
      IDS_PROP_SHOT_MODE,   IDS_PROP_QUALITY,      IDS_PROP_REC_TIME,     IDS_PROP_BIT_RATE,     IDS_PROP_REC_MODE,
      IDS_PROP_TITLE,       IDS_PROP_DISPLAY_NAME, IDS_PROP_TRACK_TITLE,  IDS_PROP_TRACK_ARTIST, IDS_PROP_TRACK_ALBUM,
      IDS_PROP_TRACK_GENRE, IDS_PROP_TRACK_NUMBER, IDS_PROP_TRACK_LENGTH, IDS_PROP_TRACK_DATE,   IDS_PROP_TRACK_FORMAT,
      IDS_PROP_TRACK_LOCK,  IDS_PROP_TRACK_BIT_RATE,
  };
  // clang-format on
  for (int kind = 0; kind < VXPROPERTY_KINDS; ++kind) {
    std::unique_ptr<CPropertyItem> item(CreatePropertyItem(kind));
    ASSERT_TRUE(item) << kind;
    CString name;
    item->GetName(name);
    EXPECT_EQ(std::string(name), names[kind] ? ResText(names[kind]) : std::string("日時")) << kind;
  }
  EXPECT_EQ(CreatePropertyItem(VXPROPERTY_KINDS), nullptr);
  EXPECT_EQ(CreatePropertyItem(-1), nullptr);

  std::string d = ctltest::Scratch("catalog_kinds");
  testsupport::MakeFolders(d + "\\sub");
  ASSERT_TRUE(ctltest::Copy("exif_full.jpg", d + "\\photo.jpg"));
  ASSERT_TRUE(ctltest::Copy("movie.mp4", d + "\\clip.mp4"));
  ASSERT_TRUE(testsupport::WriteWholeFile(d + "\\00001.cont",
                                          "[Content]\r\nFormat=1\r\nMembers=\r\nMaker=Norvane\r\nModel=NV-HD100\r\n"));
  CThumbnailPage page(VXPAGE_FOLDER, 1);
  ASSERT_EQ(page.Add(d.c_str(), TRUE, nullptr, 0), 0);
  std::string area = ctltest::Scratch("catalog_card\\SD_Audio");
  ASSERT_TRUE(ctltest::Copy("tone.mp3", area + "\\01.mp3"));
  CThumbnailPage cardPage(VXPAGE_FOLDER, 2);
  ASSERT_EQ(cardPage.Add_SDAudio(area.c_str()), 0);

  CThumbnail* folder = Named(page, "sub");
  CThumbnail* photo = Named(page, "photo.jpg");
  CThumbnail* movie = Named(page, "clip.mp4");
  CThumbnail* cont = Named(page, "00001.cont");
  CThumbnail* track = cardPage.GetCount() ? cardPage.GetAt(0) : nullptr;
  ASSERT_TRUE(folder && photo && movie && cont && track);
  ASSERT_TRUE(folder->IsFolder());
  for (CThumbnail* p : {folder, photo, movie, cont, track})
    for (int kind = 0; kind < VXPROPERTY_KINDS; ++kind)
      EXPECT_FALSE(ValueOf(kind, p).empty()) << p->GetFileName() << " kind " << kind;

  // The folder: no size, its parent without the final backslash, no picture facts.
  EXPECT_EQ(ValueOf(4, folder), "-");
  EXPECT_EQ(ValueOf(1, folder), d);
  EXPECT_EQ(ValueOf(0, folder), std::string(folder->GetDisplayName()));
  EXPECT_EQ(ValueOf(7, folder), "-");
  EXPECT_NE(ValueOf(6, folder), "-");
  // The picture: its colours; its maker only from a property set, none given here.
  CString colours;
  CResourceLoader().LoadFormatString(colours, IDS_PROP_COLORS_FORMAT, 24);
  EXPECT_EQ(ValueOf(7, photo), std::string(colours));
  EXPECT_EQ(ValueOf(11, photo), "-");
  // The movie: its size, no colours, no track.
  DWORD high = 0, low = movie->GetFileSize(&high);
  std::string grouped = (LPCSTR)FileSizeGrouped(((ULONGLONG)high << 32) | low);
  EXPECT_NE(ValueOf(4, movie).find(grouped), std::string::npos) << ValueOf(4, movie) << " " << grouped;
  EXPECT_EQ(ValueOf(7, movie), "-");
  EXPECT_EQ(ValueOf(27, movie), "-");
  // The content file is shown by its display name; the card track by its track fields.
  EXPECT_EQ(ValueOf(0, cont), std::string(cont->GetDisplayName()));
  EXPECT_EQ(ValueOf(26, cont), std::string(cont->GetDisplayName()));
  const CAudioTrackInfo* info = track->GetMusicInfo();
  ASSERT_NE(info, nullptr);
  auto shown = [](LPCSTR field) { return field && *field ? std::string(field) : std::string("-"); };
  EXPECT_EQ(ValueOf(27, track), shown(info->GetTitle()));
  EXPECT_EQ(ValueOf(32, track), shown(info->GetTimeText()));
  EXPECT_EQ(ValueOf(27, photo), "-");
}
