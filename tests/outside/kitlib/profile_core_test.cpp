// Registry layout of the profile: roots, sections, value types.
#include <gtest/gtest.h>

#include "profile_core.h"
#include "test_profile_root.h"

namespace {

using namespace kitlib;

TEST(ProfileRoots, EnvironmentMovesBothRoots) {
  {
    TestProfileRoot t;
    EXPECT_EQ(ProgramRootPath(), t.program());
    EXPECT_EQ(CommonRootPath(), t.common());
    EXPECT_EQ(RootPath(0), t.program());
    EXPECT_EQ(RootPath(1), t.common());
  }
  EXPECT_EQ(CommonRootPath(), "Software\\Norvane\\VxCommon");
}

TEST(ProfileRoots, SectionsJoinWithoutStraySeparators) {
  EXPECT_EQ(JoinKeyPath("R", "A\\B"), "R\\A\\B");
  EXPECT_EQ(JoinKeyPath("R", "\\A\\"), "R\\A");
  EXPECT_EQ(JoinKeyPath("R", ""), "R");
  EXPECT_EQ(JoinKeyPath("R", nullptr), "R");
  EXPECT_EQ(JoinKeyPath("R", "\x95\x5C"), "R\\\x95\x5C");  // "表": trail byte is no separator
}

TEST(ProfileValues, TypesReadBackAsCallersExpect) {
  TestProfileRoot t;
  std::string key = JoinKeyPath(t.program(), "Sec\\Sub");
  int i = 0;
  std::string s;
  EXPECT_FALSE(RegReadInt(HKEY_CURRENT_USER, key, "Missing", &i));
  EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, key, "Missing", &s));

  ASSERT_TRUE(RegWriteInt(HKEY_CURRENT_USER, key, "Neg", -5, false));
  ASSERT_TRUE(RegReadInt(HKEY_CURRENT_USER, key, "Neg", &i));
  EXPECT_EQ(i, -5);
  ASSERT_TRUE(RegReadString(HKEY_CURRENT_USER, key, "Neg", &s));
  EXPECT_EQ(s, "-5");

  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, key, "Num", "42"));
  ASSERT_TRUE(RegReadInt(HKEY_CURRENT_USER, key, "Num", &i));
  EXPECT_EQ(i, 42);
  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, key, "Word", "\x95\x5C\x8E\xA6"));  // "表示"
  EXPECT_FALSE(RegReadInt(HKEY_CURRENT_USER, key, "Word", &i));
  ASSERT_TRUE(RegReadString(HKEY_CURRENT_USER, key, "Word", &s));
  EXPECT_EQ(s, "\x95\x5C\x8E\xA6");

  std::string big(5000, 'x');
  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, key, "Big", big));
  ASSERT_TRUE(RegReadString(HKEY_CURRENT_USER, key, "Big", &s));
  EXPECT_EQ(s, big);

  EXPECT_TRUE(RegRemoveValue(HKEY_CURRENT_USER, key, "Num"));
  EXPECT_FALSE(RegReadInt(HKEY_CURRENT_USER, key, "Num", &i));
  EXPECT_FALSE(RegRemoveValue(HKEY_CURRENT_USER, key, "Num"));
}

TEST(ProfileValues, TreeCopyTakesValuesAndSubKeys) {
  TestProfileRoot t;
  std::string src = t.vendor() + "\\Src", dst = t.vendor() + "\\Dst";
  ASSERT_TRUE(RegWriteInt(HKEY_CURRENT_USER, src, "A", 1, false));
  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, src + "\\Deep\\Er", "B", "b"));
  ASSERT_TRUE(RegCopyKeyTree(HKEY_CURRENT_USER, src, HKEY_CURRENT_USER, dst));
  int i = 0;
  std::string s;
  EXPECT_TRUE(RegReadInt(HKEY_CURRENT_USER, dst, "A", &i));
  EXPECT_EQ(i, 1);
  EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, dst + "\\Deep\\Er", "B", &s));
  EXPECT_EQ(s, "b");
  EXPECT_TRUE(RegDeleteKeyTree(HKEY_CURRENT_USER, dst));
  EXPECT_FALSE(RegReadInt(HKEY_CURRENT_USER, dst, "A", &i));
  EXPECT_FALSE(RegCopyKeyTree(HKEY_CURRENT_USER, t.vendor() + "\\Nothing", HKEY_CURRENT_USER, dst));
}

TEST(Kitenv, PositionFromTheIniFile) {
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  std::string ini = std::string(tmp) + "kitenv-test-" + std::to_string(GetCurrentProcessId()) + ".ini";
  WritePrivateProfileStringA("RegistryKey", "Position", "\\Software\\Elsewhere\\App\\", ini.c_str());
  EXPECT_EQ(ReadKitenvPosition(ini), "Software\\Elsewhere\\App");
  DeleteFileA(ini.c_str());
  EXPECT_EQ(ReadKitenvPosition(ini), "");
}

TEST(ExeDirectory, IsTheProgramFolderWithoutBackslash) {
  std::string dir = ExeDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '\\');
  EXPECT_NE(GetFileAttributesA((dir + "\\kitlib_core_tests.exe").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
