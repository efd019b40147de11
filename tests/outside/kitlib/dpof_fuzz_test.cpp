// Fuzz driver of the print-order reader (seeded, bounded): damaged MRK texts are
// read and have pictures taken out; nothing may crash, every picture stays on the
// card, and a picture taken out is gone.
#include <gtest/gtest.h>

#include <fuzz.h>

#include <algorithm>
#include <cctype>

#include "dpof_core.h"

namespace {

const char kMrk[] =
    "[HDR]\r\nGEN REV = 01.10\r\nGEN CRT = \"NORVANE NV-D500\" -01.00\r\n\r\n"
    "[JOB]\r\nPRT PID = 001\r\nPRT TYP = STD\r\nPRT QTY = 001\r\nIMG FMT = EXIF2 -J\r\n"
    "<IMG SRC = \"../DCIM/100ABCDE/ABCD0001.JPG\">\r\n\r\n"
    "[JOB]\r\nPRT PID = 002\r\nPRT TYP = IDX\r\n<img src=\"../DCIM/101ABCDE/ABCD0002.JPG\">\r\n"
    "<IMG SRC = \"../DCIM/100ABCDE/ABCD0003.JPG\">\r\n";

// Compared without case over the whole text (a NUL inside ends nothing here).
bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return toupper(static_cast<unsigned char>(x)) == toupper(static_cast<unsigned char>(y));
         });
}

TEST(Fuzz, PrintOrderTexts) {
  const std::string samples[] = {kMrk, "[JOB]\n<IMG SRC=\"/DCIM/A.JPG\">\n<IMG SRC=\"./B.JPG\">\n"};
  const uint32_t seed = testsupport::FuzzSeed();
  testsupport::Mutator m(seed);
  for (int round = 0, n = testsupport::FuzzRounds(3000); round < n; ++round) {
    std::string mrk = m.Mutate(samples[m.Next(2)]);
    SCOPED_TRACE(testing::Message() << "seed " << seed << " round " << round);
    std::vector<std::string> images = kitlibex::DpofImages(mrk, "E:");
    for (const std::string& p : images) EXPECT_EQ(p.compare(0, 3, "E:\\"), 0) << p;
    if (images.empty()) continue;
    const std::string gone = images[m.Next(uint32_t(images.size()))];
    EXPECT_GE(kitlibex::DpofRemoveImage(mrk, "E:", gone), 1) << gone;
    for (const std::string& p : kitlibex::DpofImages(mrk, "E:")) EXPECT_FALSE(SameName(p, gone)) << p;
  }
}

}  // namespace
