// Fuzz driver of the WM_COPYDATA texts (seeded, bounded): damaged texts of every
// code are parsed; nothing may crash, an invalid text answers as an empty one, and
// a valid one answers every index with a text.
#include <gtest/gtest.h>

#include <VxDocument.h>
#include <fuzz.h>

#include <string>

TEST(Fuzz, CopyDataTexts) {
  const std::string samples[] = {
      "2|ディスク|1|C:\\Photos\\||",
      "1|Disk,2005,Jan,1,Feb,2|2|C:\\a.jpg|1||C:\\b.jpg|2||",
      "2|Card,\"Order\",\"Job, one\",1|2|E:\\p.jpg|1||",
      "4|Music,\"17\",1|,2|C:\\m\\a.mp3|1||C:\\m\\b.mp3|1||",
      "0|90|1|C:\\r.jpg||",
      "0|0|0|C:\\x.jpg|1|0||C:\\y.jpg|0|0||",
      std::string("1|Title|1|C:\\a\\||\0\0\0\0", 22),
  };
  const uint32_t seed = testsupport::FuzzSeed();
  testsupport::Mutator m(seed);
  for (int round = 0, n = testsupport::FuzzRounds(4000); round < n; ++round) {
    std::string text = m.Mutate(samples[m.Next(sizeof samples / sizeof samples[0])]);
    SCOPED_TRACE(testing::Message() << "seed " << seed << " round " << round);
    CCopyDataDispatcher d(text.empty() ? nullptr : text.data(), DWORD(text.size()));
    CStringList paths, names;
    int count = d.GetCount();
    EXPECT_EQ(d.GetPathList(&paths), count);
    int folders = d.GetFolderNameList(&names);
    EXPECT_EQ(folders, d.GetFolderNameCount());
    if (!d.IsValid()) {
      EXPECT_NE(d.GetResult(), S_OK);
      EXPECT_EQ(count, 0);
      EXPECT_EQ(folders, 0);
      EXPECT_STREQ(d.GetText(), "");
      continue;
    }
    EXPECT_LE(strlen(d.GetText()), text.size());
    for (int i = -1; i <= count; ++i) {
      ASSERT_NE(d.GetPath(i), nullptr);
      ASSERT_NE(d.GetGroupText(i), nullptr);
      d.GetGroupNumber(i);
      d.GetFileState(i);
    }
    for (int i = -1; i <= folders; ++i) {
      ASSERT_NE(d.GetFolderName(i), nullptr);
      d.GetFolderColor(i);
    }
    for (int i = -1; i <= d.GetFieldCount(); ++i) ASSERT_NE(d.GetField(i), nullptr);
    ASSERT_NE(d.GetSourceName(), nullptr);
    ASSERT_NE(d.GetHeader(), nullptr);
    d.GetAngle();
  }
}
