// The new path of a rename: names refused whatever way they arrive (edit box, details
// list, pasted text), the path length limit, and the same name.
#include <gtest/gtest.h>

#include <string>

#include "RenameRules.h"

TEST(RenameRules, NamesAndPaths) {
  const std::string folder = "C:\\pics\\";
  const std::string old = folder + "a.jpg";
  struct Case {
    std::string name;
    VXRENAMECHECK want;
  } cases[] = {
      {"b.jpg", VXRENAME_OK},
      {"A.jpg", VXRENAME_OK},  // a change of case only is a rename
      {"a.jpg", VXRENAME_SAME},
      {"", VXRENAME_REFUSED},
      {"..\\x\\y.jpg", VXRENAME_REFUSED},  // would move the file elsewhere
      {"x/y.jpg", VXRENAME_REFUSED},
      {"c:d.jpg", VXRENAME_REFUSED},
      {".hidden", VXRENAME_REFUSED},
      {"CON.jpg", VXRENAME_REFUSED},
      {"lpt9", VXRENAME_REFUSED},
      {"COM10.jpg", VXRENAME_OK},
      {"trail.", VXRENAME_REFUSED},
      {"trail ", VXRENAME_REFUSED},
      {"tab\there.jpg", VXRENAME_REFUSED},
      {"a|b.jpg", VXRENAME_REFUSED},
      {"\x83\x5C.jpg", VXRENAME_OK},  // ソ: its second byte is that of a backslash
      {"\x95\x5C.jpg", VXRENAME_OK},  // 表
      {"\x83\x7C.jpg", VXRENAME_OK},  // a second byte that is that of a "|"
      {"\x83", VXRENAME_REFUSED},     // a lead byte without its second byte
  };
  for (const Case& c : cases) {
    CString now;
    EXPECT_EQ(RenameCheckNewPath(old.c_str(), c.name.c_str(), &now), c.want) << c.name;
    if (c.want != VXRENAME_REFUSED) { EXPECT_EQ(std::string((LPCSTR)now), folder + c.name); }
  }
  // The path and its terminator fit MAX_PATH: 259 characters are allowed, 260 and 261 not.
  for (size_t n : {259u, 260u, 261u}) {
    std::string name(n - folder.size(), 'n');
    EXPECT_EQ(RenameCheckNewPath(old.c_str(), name.c_str(), nullptr), n < 260 ? VXRENAME_OK : VXRENAME_REFUSED) << n;
  }
  // A path that leaves no room refuses every name.
  std::string deep = "C:\\" + std::string(250, 'd') + "\\" + std::string(6, 'f');
  EXPECT_EQ(RenameCheckNewPath(deep.c_str(), "abcdefgh", nullptr), VXRENAME_REFUSED);
  EXPECT_EQ(RenameCheckNewPath("nofolder.jpg", "b.jpg", nullptr), VXRENAME_REFUSED);
  EXPECT_EQ(RenameCheckNewPath(nullptr, "b.jpg", nullptr), VXRENAME_REFUSED);
}

TEST(RenameRules, SameFolder) {
  EXPECT_TRUE(RenameIsSameFolder("C:\\Windows", "c:\\WINDOWS\\"));
  EXPECT_TRUE(RenameIsSameFolder("C:\\Windows\\", "C:\\Windows"));
  EXPECT_FALSE(RenameIsSameFolder("C:\\Windows\\x", "C:\\Windows"));
  // A trailing trail byte 0x5C is not a separator.
  EXPECT_FALSE(RenameIsSameFolder("C:\\\x95\x5C", "C:\\\x95"));
  EXPECT_FALSE(RenameIsSameFolder(nullptr, "C:\\"));
}
