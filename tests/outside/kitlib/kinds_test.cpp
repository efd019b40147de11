// Support tests by kind: the filters the callers pass and the flags they count.
#include <gtest/gtest.h>

#include <KitlibEx/Kinds.h>

#include "kinds_core.h"

namespace {

using kitlibex::IsSupported;

const DWORD kFile = FILE_ATTRIBUTE_NORMAL;
const DWORD kNone = INVALID_FILE_ATTRIBUTES;

struct Case {
  const char* path;
  DWORD filter;
  bool expected;
};

TEST(SupportKinds, FiltersAndMasksOfTheCallers) {
  const Case cases[] = {
      // card import (mask and filter 15 agree)
      {"E:\\DCIM\\100ABCDE\\ABCD0001.JPG", 0x5407F, true},
      {"E:\\DCIM\\100ABCDE\\ABCD0001.dng", 0x5407F, true},
      {"E:\\DCIM\\100ABCDE\\MVI_0001.MOV", 0x5407F, true},
      {"E:\\SD_VIDEO\\PRG001\\MOV001.ASF", 0x5407F, true},
      {"E:\\x.mpo", 0x5407F, true},
      {"E:\\x.THM", 0x5407F, false},
      {"E:\\x.bmp", 0x5407F, false},
      {"E:\\x.mts", 15, false},
      {"E:\\x.cont", 15, true},
      // pictures and clips the classification registers
      {"C:\\a.png", 0xD0207, true},
      {"C:\\a.bmp", 0xD0207, true},
      {"C:\\a.cont", 0xD0207, true},
      {"C:\\a.mov", 0xD0207, false},
      // filter numbers of the tools
      {"C:\\a.txt", 0, true},
      {"C:\\a", 0, true},
      {"C:\\a.jpe", 4, true},
      {"C:\\a.ttl", 4, true},
      {"C:\\a.gif", 4, false},
      {"C:\\a.gif", 5, true},
      {"C:\\a.dvf", 6, true},
      {"C:\\a.png", 6, false},
      {"C:\\a.JPEG", 9, true},
      {"C:\\a.tif", 9, false},
      {"C:\\a.mp4", 11, true},
      {"C:\\a.mts", 11, false},
      {"C:\\a.cont", 14, true},
      {"C:\\a.mov", 14, true},
      {"C:\\a.asf", 14, false},
      {"C:\\a.m2ts", 16, true},
      {"C:\\a.wav", 8, true},
      {"C:\\a.jpg", 99, false},
      {"C:\\\x95\x5C.jpg", 1, true},  // "表.jpg"
      {"C:\\jpg", 1, false},
      {"C:\\.jpg\\x", 1, false},
  };
  for (const Case& c : cases) {
    DWORD info = 0;
    EXPECT_EQ(IsSupported(c.path, c.filter, kFile, true, &info), c.expected) << c.path << " / " << c.filter;
  }
}

TEST(SupportKinds, InformationFlagsAlsoForRejectedFiles) {
  DWORD info = 0;
  EXPECT_FALSE(IsSupported("C:\\clip.mts", 11, kFile, true, &info));
  EXPECT_TRUE(info & CMTLX_INFO_MOVIE);  // a movie that can't be split is no "other file"
  EXPECT_FALSE(IsSupported("C:\\memo.txt", 11, kFile, true, &info));
  EXPECT_EQ(info, 0u);
  EXPECT_TRUE(IsSupported("C:\\a.jpg", 5, FILE_ATTRIBUTE_READONLY, true, &info));
  EXPECT_EQ(info, CMTLX_INFO_PICTURE | CMTLX_INFO_READONLY);
  EXPECT_TRUE(IsSupported("C:\\a.ped", 5, kFile, true, &info));
  EXPECT_TRUE(info & CMTLX_INFO_SPECIAL);
  EXPECT_FALSE(IsSupported("C:\\dir.jpg", 0, FILE_ATTRIBUTE_DIRECTORY, true, &info));
  EXPECT_EQ(info, CMTLX_INFO_FOLDER);
  EXPECT_FALSE(IsSupported("C:\\gone.jpg", 1, kNone, true, &info));  // a missing file
  EXPECT_TRUE(IsSupported("C:\\gone.jpg", 1, kNone, false, &info));  // the name-only test
  EXPECT_FALSE(IsSupported("", 0, kNone, false, nullptr));
}

TEST(SupportKinds, SupportTexts) {
  EXPECT_EQ(kitlibex::SupportText(0), "");
  EXPECT_EQ(kitlibex::SupportText(9), "JPEG");
  EXPECT_EQ(kitlibex::SupportText(11), "QuickTime, AVI, MP4, MPEG");
  EXPECT_EQ(kitlibex::SupportText(77), "");
  EXPECT_NE(kitlibex::SupportText(0x5407F).find("SD-Video"), std::string::npos);
}

TEST(SupportKinds, MovableKinds) {
  EXPECT_TRUE(kitlibex::IsMovableKind(kitlibex::KindOfPath("a.wav")));
  EXPECT_TRUE(kitlibex::IsMovableKind(kitlibex::KindOfPath("a.m2ts")));
  EXPECT_FALSE(kitlibex::IsMovableKind(kitlibex::KindOfPath("a.thm")));
  EXPECT_FALSE(kitlibex::IsMovableKind(kitlibex::KindOfPath("a.txt")));
}

}  // namespace
