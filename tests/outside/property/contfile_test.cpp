// Content-information files: the format, property 1792 and the clip's other values.
#include <gtest/gtest.h>

#include <string>

#include <cputime.h>
#include <files.h>
#include <textkit/text.h>

#include "VxContFile.h"
#include "VxProperty.h"
#include "facts.h"
#include "fixtures.h"
#include "format.h"

using imgtest::ScratchDir;

namespace {

std::string WriteText(const char* name, const std::string& bytes) {
  std::string path = ScratchDir() + "\\" + name;
  testsupport::WriteWholeFile(path, bytes);
  return path;
}

std::string Member(const char* name, size_t bytes, const SYSTEMTIME* writtenUtc = nullptr) {
  std::string path = WriteText(name, std::string(bytes, 'x'));
  if (writtenUtc) {
    FILETIME ft;
    SystemTimeToFileTime(writtenUtc, &ft);
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
  }
  return path;
}

std::string Prop(const std::string& path, DWORD id) {
  HPRPROPERTY h = PrInitGetPropertyString(path.c_str(), 0);
  EXPECT_TRUE(h) << path;
  std::string s = PrGetPropertyString(h, id);
  PrExitGetPropertyString(h);
  return s;
}

}  // namespace

TEST(ContentFile, MembersAndClipValues) {
  Member("00001.MTS", 3000);
  Member("00001.tmb", 200);
  Member("00001.iis", 100);
  std::string cont = WriteText("00001.cont",
                               "[Content]\r\nFormat=1\r\nMembers=00001.MTS|00001.tmb|00001.iis\r\n"
                               "Maker=Norvane\r\nModel=NV-HD100\r\nMakerCode=NV0103AB12\r\nModelCode=0412\r\n"
                               "RecordTime=2024/05/01 10:20:30\r\nDuration=83.5\r\nRecMode=HA\r\n"
                               "BitRate=17000000\r\nExposure=1/60\r\nEdited=1\r\n");
  HPRPROPERTY h = PrInitGetPropertyString(cont.c_str(), 0);
  ASSERT_TRUE(h);
  EXPECT_STREQ(PrGetPropertyString(h, PRID_MEMBERS), "00001.MTS|00001.tmb|00001.iis");
  EXPECT_STREQ(PrGetPropertyString(h, PRID_MAKER), "Norvane");
  EXPECT_STREQ(PrGetPropertyString(h, PRID_MODEL), "NV-HD100");
  EXPECT_STREQ(PrGetPropertyString(h, PRID_MAKER_CODE), "NV0103AB12");
  EXPECT_STREQ(PrGetPropertyString(h, PRID_MODEL_CODE), "0412");
  EXPECT_STREQ(PrGetPropertyString(h, PRID_SHOT_DATE), "2024/05/01 10:20:30");
  EXPECT_STREQ(PrGetPropertyString(h, PRID_DURATION), "0:01:23");
  EXPECT_STREQ(PrGetPropertyString(h, PRID_REC_MODE), "HA");
  EXPECT_STREQ(PrGetPropertyString(h, PRID_BIT_RATE), "17.0 Mbps");
  EXPECT_STREQ(PrGetPropertyString(h, PRID_MOVIE_EXPOSURE), "1/60");
  EXPECT_STREQ(PrGetPropertyString(h, PRID_FILE_SIZE), "3.22 KB (3,300 バイト)");  // the members on disk
  EXPECT_STREQ(PrGetPropertyString(h, PRID_FILE_KIND), "AVCHD 動画 (クリップ)");
  int edited = -1;
  EXPECT_EQ(PrGetAVCHDEdit(h, &edited), S_OK);
  EXPECT_EQ(edited, 1);
  SYSTEMTIME t;
  EXPECT_EQ(PrGetAVCHDRecTime(h, &t), S_OK);
  EXPECT_EQ(t.wYear, 2024);
  EXPECT_EQ(t.wHour, 10);
  PrExitGetPropertyString(h);

  // Any other file has no members and was not edited.
  h = PrInitGetPropertyString(imgtest::Fixture("exif_full.jpg").c_str(), 0);
  EXPECT_EQ(PrGetAVCHDEdit(h, &edited), S_OK);
  EXPECT_EQ(edited, 0);
  PrExitGetPropertyString(h);
}

TEST(ContentFile, MemberNamesNeverLeaveTheFolder) {
  struct Case {
    const char* members;
    const char* read;
  };
  const Case cases[] = {
      {"a.MTS|b.MTS", "a.MTS|b.MTS"},
      {" a.MTS | |b.MTS|", "a.MTS|b.MTS"},                  // blanks and empty names
      {"..\\..\\Windows\\x.dll|ok.MTS", "ok.MTS"},          // climbing out
      {"C:\\x.MTS|sub/y.MTS|.|..|z.MTS", "z.MTS"},          // drives, folders, dots
      {"*.MTS|a?.MTS|<x>.MTS|\"q\".MTS|ok.MTS", "ok.MTS"},  // wildcards and other forbidden characters
      {"ok.MTS|OK.mts|ok.MTS", "ok.MTS"},                   // repeats, any case
      {"表.MTS|ソ.MTS", "表.MTS|ソ.MTS"},                   // trail bytes 0x5C are no "\"
      {"ポスター.MTS|b.MTS", "ポスター.MTS|b.MTS"},         // nor is a trail byte 0x7C a "|"
      {"CON.MTS|lpt1|a.MTS.|b .MTS", "b .MTS"},             // device names, a trailing dot
      {"CON|NUL|COM1.MTS|NUL.tmb|lpt9.iis|Aux .MTS|ok.MTS", "ok.MTS"},  // devices, any extension
      {"...|. .| . |ok.MTS", "ok.MTS"},                         // only dots and blanks
      {"a.MTS.|ok.MTS", "ok.MTS"},                              // a trailing dot Windows drops
      {"COM10.MTS|CONSOLE.MTS", "COM10.MTS|CONSOLE.MTS"},       // names that only begin like one
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.members);
    std::string cont =
        WriteText("names.cont", textkit::AnsiToUtf8(std::string("Format=1\nMembers=") + c.members + "\n"));
    EXPECT_EQ(Prop(cont, PRID_MEMBERS), c.read);
  }
}

TEST(ContentFile, TheDialogListsMembersWhoseNamesHoldATrailByteBar) {
  // "ポ" is 83 7C: its trail byte is the byte of "|".
  std::string cont = WriteText("bar.cont", textkit::AnsiToUtf8("Format=1\nMembers=ポスター.MTS|b.MTS\n"));
  vxprop::FileFacts facts;
  ASSERT_TRUE(vxprop::GatherFacts(cont.c_str(), &facts));
  bool found = false;
  for (const auto& line : vxprop::DialogLines(facts))
    if (line.first == "構成ファイル") found = line.second == "ポスター.MTS, b.MTS";
  EXPECT_TRUE(found);
}

TEST(ContentFile, EncodingsAndWhatIsNoContentFile) {
  const std::string title = "運動会";  // in the source's literal encoding: code page 932
  struct Case {
    const char* name;
    std::string bytes;
    bool content;
  };
  const Case cases[] = {
      {"utf8.cont", textkit::AnsiToUtf8("Members=a.MTS\nTitle=" + title + "\n"), true},
      {"bom.cont", "\xEF\xBB\xBF" + textkit::AnsiToUtf8("[Content]\nMembers=a.MTS\nTitle=" + title + "\n"), true},
      {"cp932.cont", "; written by an old tool\nMembers=a.MTS\ntitle = " + title + "\n", true},
      {"noformat.cont", "Title=" + title + "\n", false},
      {"binary.cont", std::string("Members=a.MTS\n\0\x01\x02", 17), false},
      {"huge.cont", "Members=a.MTS\n" + std::string(70 * 1024, ';'), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = WriteText(c.name, c.bytes);
    vxcont::ContentInfo info;
    EXPECT_EQ(vxcont::ReadContentFile(path.c_str(), &info), c.content);
    // The set opens whatever the file holds; only a content file has members.
    EXPECT_EQ(Prop(path, PRID_MEMBERS), c.content ? "a.MTS" : "");
    if (c.content) {
      EXPECT_EQ(Prop(path, PRID_CAPTION), title);
    }
  }
}

TEST(ContentFile, WriteAndReadBack) {
  vxcont::ContentInfo info;
  info.members = {"00002.MTS", "00003.MTS", "..\\bad", "00002.tmb"};
  info.title = "夏祭り\r\nline two";
  info.maker = "Norvane";
  info.makerCode = "NV0103AB12";
  info.recordTime = SYSTEMTIME{2023, 8, 0, 12, 19, 5, 0, 0};
  info.durationSeconds = 12.25;
  info.bitRate = 9000000;
  info.totalSize = 123456789;
  info.edited = true;
  std::string path = ScratchDir() + "\\written.cont";
  ASSERT_EQ(vxcont::WriteContentFile(path.c_str(), info), S_OK);
  std::vector<uint8_t> raw = imgtest::ReadAll(path);
  std::string text(raw.begin(), raw.end());
  EXPECT_EQ(text.compare(0, 11, "[Content]\r\n"), 0);
  EXPECT_TRUE(textkit::IsValidUtf8(text));

  vxcont::ContentInfo back;
  ASSERT_TRUE(vxcont::ReadContentFile(path.c_str(), &back));
  EXPECT_EQ(vxcont::JoinMembers(back.members), "00002.MTS|00003.MTS|00002.tmb");
  EXPECT_EQ(back.title, "夏祭り  line two");  // one line per value
  EXPECT_EQ(back.maker, "Norvane");
  EXPECT_EQ(back.makerCode, "NV0103AB12");
  ASSERT_TRUE(back.recordTime.has_value());
  EXPECT_EQ(back.recordTime->wDay, 12);
  EXPECT_EQ(back.recordTime->wMinute, 5);
  EXPECT_DOUBLE_EQ(back.durationSeconds, 12.25);
  EXPECT_EQ(back.bitRate, 9000000u);
  ASSERT_TRUE(back.totalSize.has_value());
  EXPECT_EQ(*back.totalSize, 123456789u);
  EXPECT_TRUE(back.edited);
  EXPECT_EQ(Prop(path, PRID_FILE_SIZE), "117.73 MB (123,456,789 バイト)");
}

// A value read from a code-page file that ends in a lone lead byte: the broken character is
// read as a rewrite writes it, gone; no other character takes its place.
TEST(ContentFile, ABrokenCharacterIsDroppedNotReplaced) {
  const std::string title = "運動会";
  std::string cut = title + "\x89";      // 運's lead byte alone
  std::string badTrail = title + "\x82\x20x";  // a lead byte before a blank
  std::string path = WriteText("broken.cont", "Members=a.MTS\nTitle=" + cut + "\nMaker=" + badTrail + "\n");
  vxcont::ContentInfo info;
  ASSERT_TRUE(vxcont::ReadContentFile(path.c_str(), &info));
  EXPECT_EQ(info.title, title);
  EXPECT_EQ(info.maker, title + " x");
  ASSERT_EQ(vxcont::WriteContentFile(path.c_str(), info), S_OK);
  std::vector<uint8_t> raw = imgtest::ReadAll(path);
  std::string text(raw.begin(), raw.end());
  EXPECT_EQ(text.find("\xE3\x83\xBB"), std::string::npos);  // no "・"
  vxcont::ContentInfo back;
  ASSERT_TRUE(vxcont::ReadContentFile(path.c_str(), &back));
  EXPECT_EQ(back.title, title);
  EXPECT_EQ(back.maker, title + " x");
}

// What is read is what a rewrite writes back, so a file rewritten reads as it did; a member
// or path is the bytes that name its file, or it is no member at all.
TEST(ContentFile, ARewriteReadsAsTheFileDid) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string members, title, items;  // as read, "|"-joined
  } cases[] = {
      {"lone CR in a value", "Members=a.MTS|b\rc.tmb\nTitle=ab\rcd\n", "a.MTS", "ab cd", ""},
      // 85 40 is well formed but names no character: it would come back as "・" (81 45).
      {"code of no character", "Members=x\x85\x40.MTS|b.MTS\nTitle=t\x85\x40\nItems=C:\\\x85\x40.mov|C:\\b.mov\n",
       "b.MTS", "t・", "C:\\b.mov"},
      // ED 40 is the code page's second code of the character FA 5C stands for.
      {"second code of a character", "Members=\xED\x40.MTS\n", "\xFA\x5C.MTS", "", ""},
      {"UTF-8 name the code page lacks", "Members=caf\xC3\xA9.MTS|ok.MTS\nItems=C:\\caf\xC3\xA9.mov\n", "ok.MTS", "",
       ""},
      // 83 7C is "ポ": its trail byte is no separator in a code-page file.
      {"trail byte bar in a path", "Members=a.MTS\nItems=C:\\ポ\\x.mov|D:\\y.mov\n", "a.MTS", "",
       "C:\\ポ\\x.mov|D:\\y.mov"},
  };
  auto joined = [](const std::vector<std::string>& v) {
    std::string s;
    for (const std::string& x : v) s += (s.empty() ? "" : "|") + x;
    return s;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vxcont::ContentInfo info, back;
    ASSERT_TRUE(vxcont::ParseContent(c.bytes, &info));
    EXPECT_EQ(joined(info.members), c.members);
    EXPECT_EQ(info.title, c.title);
    EXPECT_EQ(joined(info.items), c.items);
    ASSERT_TRUE(vxcont::ParseContent(vxcont::SerializeContent(info), &back));
    EXPECT_EQ(back.members, info.members);
    EXPECT_EQ(back.title, info.title);
    EXPECT_EQ(back.items, info.items);
  }
  // Maker data of no bytes is none: its tag alone is not kept, as it could not be written.
  vxcont::ContentInfo info;
  ASSERT_TRUE(vxcont::ParseContent("Members=a.MTS\nMakerData=00000005:\n", &info));
  EXPECT_EQ(info.makerDataTag, 0u);
  EXPECT_TRUE(info.makerData.empty());
}

// A file of the largest size holding thousands of members, or of keys, reads at once: a
// repeat is looked up, not compared with every name before it.
TEST(ContentFile, ThousandsOfMembersOrKeysReadAtOnce) {
  std::string members = "Format=1\nMembers=", keys = "Members=a.MTS\n";
  for (int i = 0; members.size() < vxcont::kMaxContentBytes - 16; ++i) members += std::to_string(i) + "|";
  for (int i = 0; keys.size() < vxcont::kMaxContentBytes - 16; ++i) keys += "K" + std::to_string(i) + "=\n";
  vxcont::ContentInfo info;
  double ms = testsupport::CpuMillisOf([&] { ASSERT_TRUE(vxcont::ParseContent(members, &info)); });
  EXPECT_GT(info.members.size(), 10000u);
  EXPECT_LT(ms, 300.0);
  ms = testsupport::CpuMillisOf([&] { ASSERT_TRUE(vxcont::ParseContent(keys, &info)); });
  EXPECT_LT(ms, 300.0);
}

TEST(ContentFile, RecordingTimeWithoutRecordTime) {
  SYSTEMTIME memberUtc = {2019, 6, 0, 7, 8, 9, 10, 0}, memberLocal;
  SystemTimeToTzSpecificLocalTime(nullptr, &memberUtc, &memberLocal);
  Member("late.MTS", 10, &memberUtc);
  std::string withMember = WriteText("late.cont", "Members=late.MTS|late.tmb\n");
  std::string orphan = WriteText("orphan.cont", "Members=gone.MTS\n");
  SYSTEMTIME t;
  HPRPROPERTY h = PrInitGetPropertyString(withMember.c_str(), 0);
  ASSERT_EQ(PrGetAVCHDRecTime(h, &t), S_OK);
  EXPECT_EQ(vxprop::FormatDateTime(t), vxprop::FormatDateTime(memberLocal));
  PrExitGetPropertyString(h);

  // Nothing but the .cont itself: its own last-write time.
  h = PrInitGetPropertyString(orphan.c_str(), 0);
  SYSTEMTIME written;
  ASSERT_EQ(PrGetAVCHDRecTime(h, &t), S_OK);
  ASSERT_EQ(PrGetPropertySysTime(h, PRID_WRITE_TIME, &written), S_OK);
  EXPECT_EQ(vxprop::FormatDateTime(t), vxprop::FormatDateTime(written));
  PrExitGetPropertyString(h);
}

TEST(ContentFile, AvchdScenesThroughTheResolver) {
  EXPECT_EQ(PrInitGetAVCHDPropertyString(1, 2, 3), nullptr);  // no disc-movie core
  std::string cont = WriteText("scene.cont", "Members=s.MTS\nTitle=scene\n");
  struct Ctx {
    std::string path;
  } ctx{cont};
  auto resolver = [](int a, int b, int c, LPSTR out, UINT cch, void* p) -> BOOL {
    if (a != 1 || b != 2 || c != 3) return FALSE;
    lstrcpynA(out, static_cast<Ctx*>(p)->path.c_str(), static_cast<int>(cch));
    return TRUE;
  };
  PrSetAVCHDSceneResolver(resolver, &ctx);
  HPRPROPERTY h = PrInitGetAVCHDPropertyString(1, 2, 3);
  ASSERT_TRUE(h);
  EXPECT_STREQ(PrGetPropertyString(h, PRID_CAPTION), "scene");
  PrExitGetPropertyString(h);
  EXPECT_EQ(PrInitGetAVCHDPropertyString(4, 5, 6), nullptr);
  PrSetAVCHDSceneResolver(nullptr, nullptr);
}
