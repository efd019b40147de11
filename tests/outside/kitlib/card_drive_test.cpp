// The card drives while the prefix's card is inserted and removed.
#include <gtest/gtest.h>

#include <KitlibEx/KitlibEx.h>

#include <cstring>
#include <string>

#include "card.h"

namespace {

std::string Drives() {
  char buf[255] = {};
  CMTLxGetCardDrives(buf);
  return buf;
}

TEST(CardDrives, FollowTheCardInAndOut) {
  std::string dir = testsupport::DefaultCardDir();
  ASSERT_FALSE(dir.empty());
  ASSERT_EQ(testsupport::InsertCard('e', dir), 0u);
  std::string in = Drives();
  EXPECT_NE(in.find("E,"), std::string::npos) << in;
  EXPECT_EQ(in.size() % 2, 0u);
  EXPECT_EQ(in.find("C,"), std::string::npos);  // the system's fixed disk is no card

  ASSERT_EQ(testsupport::RemoveCard('e'), 0u);
  EXPECT_EQ(Drives().find("E,"), std::string::npos);
  EXPECT_EQ(CMTLxIsSecuritySDCardDrive(5), 0);

  ASSERT_EQ(testsupport::InsertCard('e', dir), 0u);  // as the other tests expect it
  EXPECT_NE(Drives().find("E,"), std::string::npos);
  EXPECT_EQ(CMTLxIsSecuritySDCardDrive(3), 0);  // C: is fixed
  EXPECT_EQ(CMTLxIsSecuritySDCardDrive(0), 0);
}

// The card helper under CTest: a test without the card lock may not change the drive
// that every card test shares; the refusal says so and leaves the drive as it was.
TEST(CardDrives, TheHelperRefusesATestWithoutTheCardLock) {
  char locks[256] = "";
  ASSERT_NE(GetEnvironmentVariableA("GLIMORA_TEST_LOCKS", locks, sizeof locks), 0u) << "not run by CTest";
  ASSERT_NE(strstr(locks, ",card,"), nullptr);
  SetEnvironmentVariableA("GLIMORA_TEST_LOCKS", ",screen,");
  EXPECT_EQ(testsupport::RemoveCard('e'), (unsigned long)ERROR_LOCK_VIOLATION);
  SetEnvironmentVariableA("GLIMORA_TEST_LOCKS", locks);
  EXPECT_EQ(GetDriveTypeA("E:\\"), (UINT)DRIVE_REMOVABLE);
  EXPECT_NE(Drives().find("E,"), std::string::npos);
}

}  // namespace
