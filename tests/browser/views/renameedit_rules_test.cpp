// The rename box's decisions: the text it opens with, the characters it takes as typed
// (read as double-byte text), the name it commits and the room the path leaves.
#include <gtest/gtest.h>

#include "RenameEditRules.h"

using namespace renameedit;

TEST(RenameEditRules, OpensWithoutTheExtensionAndCommitsItBack) {
  struct {
    const char* name;
    const char* ext;
    const char* text;
    const char* typed;
    const char* committed;
  } cases[] = {
      {"IMG_0001.JPG", ".JPG", "IMG_0001", "trip", "trip.JPG"},
      {"00001.cont", ".cont", "00001.cont", "My clip", "My clip"},  // a content file keeps its name
      {"00001.CONT", ".CONT", "00001.CONT", "x", "x"},
      {".", "", ".", ".", "."},
      {"README", "", "README", "notes", "notes"},
      {"a.b.png", ".png", "a.b", "c", "c.png"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InitialText(c.name, c.ext), c.text) << c.name;
    EXPECT_EQ(CommitName(c.typed, c.ext), c.committed) << c.name;
  }
}

TEST(RenameEditRules, CharactersAsTyped) {
  struct {
    unsigned char prev, ch;
    bool empty;
    bool refused;
  } cases[] = {
      {'a', ':', false, true},   {'a', '\\', false, true}, {'a', '|', false, true},
      {'a', '*', false, true},   {'a', '"', false, true},  {'a', '?', false, true},
      {0x95, '\\', false, false},  // the second byte of U+8868
      {0x83, '\\', false, false},  // the second byte of katakana so
      {0x81, '|', false, false},
      {0x95, ':', false, false},
      {'a', '.', true, true},    // "." into an empty box
      {'a', '.', false, false},  {'a', 'b', false, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RefusesChar(c.prev, c.ch, c.empty), c.refused) << int(c.prev) << " " << c.ch;
}

TEST(RenameEditRules, TextAfterAnEdit) {
  struct {
    const char* text;
    bool refused;
  } cases[] = {
      {"trip", false},
      {"\x95\x5C", false},       // U+8868 ends in the byte of a backslash
      {"\x83\x5C\x83\x7C", false},
      {".hidden", true},
      {".", true},
      {"a:b", true},
      {"..\\x", true},
      {"a\x95", false},          // a lead byte still waiting for its second byte
  };
  for (const auto& c : cases) EXPECT_EQ(RefusesText(c.text), c.refused) << c.text;
}

TEST(RenameEditRules, TheLimitLeavesRoomOrRefuses) {
  EXPECT_EQ(TextLimit(30, 8), 234);
  EXPECT_EQ(TextLimit(255, 5), 6);
  EXPECT_EQ(TextLimit(261, 5), 0);   // no room for any name: refused, never "no limit"
  EXPECT_LT(TextLimit(300, 5), 0);
}
