// The deletion's decisions without windows: the road by folder kind, the shell's source
// list, and the companions a content file names.
#include <gtest/gtest.h>

#include <VxDocument/VxDocDefs.h>

#include "DeleteRules.h"

TEST(DeleteRules, RoadByFolderKind) {
  struct Case {
    UINT code;
    BOOL calendar, report, disc;
    VXDELETEROAD road;
    BOOL favorite;
  } cases[] = {
      {FOLDER_TYPE_EXPLORER, FALSE, FALSE, FALSE, VXDEL_BIN, FALSE},
      {FOLDER_TYPE_CLASSIFY, FALSE, FALSE, FALSE, VXDEL_CLASSIFY, FALSE},
      // In a calendar the classification folder's files are ordinary files.
      {FOLDER_TYPE_CLASSIFY, TRUE, FALSE, FALSE, VXDEL_BIN, FALSE},
      {FOLDER_TYPE_FAVORITE, FALSE, FALSE, FALSE, VXDEL_BIN, TRUE},
      {FOLDER_TYPE_FAVORITE, TRUE, FALSE, FALSE, VXDEL_BIN, FALSE},
      {FOLDER_TYPE_SDCARD_PRINTORDER, FALSE, TRUE, FALSE, VXDEL_NONE, FALSE},
      {FOLDER_TYPE_SDCARD_DISC, FALSE, FALSE, TRUE, VXDEL_NONE, FALSE},
      {FOLDER_TYPE_SDCARD_AUDIO, FALSE, FALSE, FALSE, VXDEL_NONE, FALSE},
      {FOLDER_TYPE_SDCARD_VOICE, FALSE, TRUE, FALSE, VXDEL_BIN, FALSE},
      {FOLDER_TYPE_SDCARD | 2, FALSE, FALSE, TRUE, VXDEL_DISC, FALSE},
      {FOLDER_TYPE_SDCARD | 2, FALSE, FALSE, FALSE, VXDEL_BIN, FALSE},
      {FOLDER_TYPE_EXPLORER, FALSE, FALSE, TRUE, VXDEL_BIN, FALSE},
  };
  for (const Case& c : cases) {
    VXDELETEFOLDER f = {c.code, c.calendar, c.report, c.disc};
    BOOL fav = 99;
    EXPECT_EQ(DeleteRoadOf(f, &fav), c.road) << c.code << " " << c.calendar;
    EXPECT_EQ(fav, c.favorite) << c.code;
  }
}

TEST(DeleteRules, ShellSourceListAndCompanions) {
  CStringList paths;
  EXPECT_EQ(DeletePathBlock(paths), std::string("\0", 1));
  paths.AddTail("C:\\a.jpg");
  paths.AddTail("C:\\\x95\x5C.jpg");  // a double-byte name whose second byte is a backslash
  EXPECT_EQ(DeletePathBlock(paths), std::string("C:\\a.jpg\0C:\\\x95\x5C.jpg\0\0", 20));

  CStringList out;
  // Empty names, names leading out of the folder and names Windows refuses are left out.
  EXPECT_EQ(DeleteAppendMembers("00001.MTS||..\\x.jpg|a:b|..|00001.tmb|\x95\x5C.tmb", "E:\\clip\\", out), 3);
  std::vector<std::string> got;
  for (POSITION pos = out.GetHeadPosition(); pos;) got.push_back((LPCSTR)out.GetNext(pos));
  EXPECT_EQ(got, (std::vector<std::string>{"E:\\clip\\00001.MTS", "E:\\clip\\00001.tmb", "E:\\clip\\\x95\x5C.tmb"}));
  EXPECT_EQ(DeleteAppendMembers(nullptr, "E:\\", out), 0);
  EXPECT_TRUE(DeleteIsDotEntry(".") && DeleteIsDotEntry("..") && !DeleteIsDotEntry("...") && !DeleteIsDotEntry(".a"));
}
