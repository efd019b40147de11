// Which folders of a card are picture folders (answer 0) and which are the card's own.
#include <gtest/gtest.h>

#include "card_core.h"

namespace {

struct Case {
  const char* path;
  int answer;
};

TEST(CardFolder, DcfAndImFoldersAnswerZero) {
  const Case cases[] = {
      {"E:\\DCIM\\100ABCDE", 0},
      {"E:\\DCIM\\100ABCDE\\", 0},
      {"e:\\dcim\\999_abcd", 0},
      {"E:\\DCIM\\123NV_D5", 0},
      {"E:\\IM010001", 0},
      {"E:\\im99ab_c", 0},
      {"E:\\DCIM", 1},
      {"E:\\DCIM\\099ABCDE", 1},    // numbers start at 100
      {"E:\\DCIM\\100ABCD", 1},     // seven characters
      {"E:\\DCIM\\100ABCDEF", 1},
      {"E:\\DCIM\\100AB-DE", 1},
      {"E:\\DCIM\\10XABCDE", 1},
      {"E:\\DCIM\\MISC", 1},
      {"E:\\SD_VIDEO\\PRG001", 1},
      {"E:\\IMAGE001", 1},
      {"E:\\IM1A0001", 1},
      {"", 1},
      {"E:\\", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(kitlibex::CardFolderAnswer(c.path), c.answer) << c.path;
}

TEST(SdVideoFolder, ProgrammeFoldersBelowSdVideoAnswerZero) {
  const Case cases[] = {
      {"E:\\SD_VIDEO\\PRG001", 0},
      {"E:\\SD_VIDEO\\PRL001", 0},
      {"e:\\sd_video\\prg00a", 0},
      {"E:\\SD_VIDEO\\PRG001\\", 0},
      {"E:\\SD_VIDEO\\PRL000", 1},
      {"E:\\SD_VIDEO\\PRX001", 1},
      {"E:\\SD_VIDEO\\PRG00G", 1},
      {"E:\\SD_VIDEO\\PRG0011", 1},
      {"E:\\DCIM\\PRG001", 1},
      {"E:\\SD_VIDEO", 1},
      {"PRG001", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(kitlibex::SdVideoFolderAnswer(c.path), c.answer) << c.path;
}

}  // namespace
