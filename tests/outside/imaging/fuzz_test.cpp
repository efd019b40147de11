// Fuzz drivers of the imaging readers and writers: seeded, bounded runs over
// mutated fixtures (bit flips, cuts, length and offset fields set to 0, all ones or
// negative). A reader must never crash or read past its input; a writer must leave
// a file it refuses as it was, and what it writes must read back.
#include <gtest/gtest.h>

#include <fuzz.h>

#include "fixtures.h"
#include "imaging/decode.h"
#include "imaging/exif.h"
#include "imaging/movieprobe.h"

using namespace imaging;
using imgtest::Fixture;
using imgtest::ReadAll;

namespace {

// Everything a caller may ask of a parsed block.
size_t Touch(const Exif& e) {
  size_t n = e.Make().size() + e.Model().size() + size_t(e.Orientation());
  for (auto d : {e.DateTimeOriginal(), e.DateTimeDigitized(), e.DateTime()})
    if (d) n += d->ToString().size();
  if (auto g = e.Gps()) n += g->mapDatum.size() + g->dateStamp.size();
  if (auto c = e.UserComment()) n += c->text.size();
  for (auto r : {e.ExposureTime(), e.FNumber(), e.FocalLength()})
    if (r) n += r->den;
  if (auto s = e.PixelDimensions()) n += size_t(s->cx);
  if (auto s = e.ImageDimensions()) n += size_t(s->cy);
  for (int i = 0; i < int(ExifIfd::Count); ++i)
    for (const ExifEntry& x : e.Entries(ExifIfd(i))) {
      n += x.Text().size();
      for (size_t k = 0; k < x.ValueCount() && k < 8; ++k) n += x.Real(k).has_value();
    }
  for (const ExifEntry& x : e.MakerNoteEntries())
    if (auto v = e.MakerNoteValues(x.tag)) n += v->size();
  return n + e.Thumbnail().size();
}

std::vector<std::vector<uint8_t>> Samples(std::initializer_list<const char*> fixtures, size_t head = 0) {
  std::vector<std::vector<uint8_t>> out;
  for (const char* f : fixtures) {
    std::vector<uint8_t> d = ReadAll(Fixture(f));
    EXPECT_FALSE(d.empty()) << f;
    if (head && d.size() > head) d.resize(head);
    out.push_back(std::move(d));
  }
  return out;
}

}  // namespace

TEST(Fuzz, ExifTiffAndJpegReaders) {
  const auto samples = Samples({"exif_full.jpg", "exif_le.jpg", "exif_south_west.jpg", "exif_comment.jpg", "people.jpg",
                                "exif.tif", "bad_offsets.jpg"});
  const uint32_t seed = testsupport::FuzzSeed();
  testsupport::Mutator m(seed);
  for (int round = 0, n = testsupport::FuzzRounds(3000); round < n; ++round) {
    const auto& sample = samples[m.Next(uint32_t(samples.size()))];
    std::vector<uint8_t> d = m.Mutate(sample);
    SCOPED_TRACE(testing::Message() << "seed " << seed << " round " << round);
    Exif e;
    if (e.LoadMemory(d.data(), d.size())) Touch(e);
    if (!e.Block().empty()) {
      Exif again;
      if (again.ParseTiff(e.Block().data(), e.Block().size())) Touch(again);
      // An upright copy (no thumbnail work at orientation 1) is a block or nothing.
      std::vector<uint8_t> up = MakeUprightExif(e.Block(), 1, 64, 48);
      if (!up.empty()) {
        Exif check;
        ASSERT_TRUE(check.ParseTiff(up.data(), up.size()));
        EXPECT_LE(check.Orientation(), 1);
      }
    }
  }
}

TEST(Fuzz, MovieHeaderProbe) {
  const auto samples = Samples({"movie.mp4", "movie.mov", "movie.avi", "movie.asf", "movie.mpg"}, 64 * 1024);
  const uint32_t seed = testsupport::FuzzSeed();
  testsupport::Mutator m(seed);
  for (int round = 0, n = testsupport::FuzzRounds(3000); round < n; ++round) {
    std::vector<uint8_t> d = m.Mutate(samples[m.Next(uint32_t(samples.size()))]);
    SCOPED_TRACE(testing::Message() << "seed " << seed << " round " << round);
    MovieHeader h;
    HRESULT hr = ProbeMovieBytes(d.data(), d.size(), &h);
    if (SUCCEEDED(hr)) {
      EXPECT_TRUE(h.width >= 0 && h.width <= 65535 && h.height >= 0 && h.height <= 65535) << h.width << "x" << h.height;
      EXPECT_GE(h.durationSeconds, 0);
    } else {
      EXPECT_EQ(h.width, 0);
    }
  }
}

// Through WIC: only what our header read lets pass reaches the decoders.
TEST(Fuzz, DecodingDamagedPictures) {
  const auto samples = Samples({"image.ico", "image.bmp", "image.png", "image.gif", "exif_full.jpg", "exif.tif"});
  const uint32_t seed = testsupport::FuzzSeed();
  testsupport::Mutator m(seed);
  for (int round = 0, n = testsupport::FuzzRounds(400); round < n; ++round) {
    std::vector<uint8_t> d = m.Mutate(samples[m.Next(uint32_t(samples.size()))]);
    if (d.empty()) continue;
    SCOPED_TRACE(testing::Message() << "seed " << seed << " round " << round);
    DecodeOptions opt;
    opt.maxWidth = opt.maxHeight = 96;
    opt.source = DecodeOptions::Source::Thumbnail;
    Dib dib;
    if (SUCCEEDED(DecodeMemory(d.data(), d.size(), opt, &dib))) {
      EXPECT_TRUE(dib.Width() <= 96 && dib.Height() <= 96);
    }
  }
}

// Writers on damaged files: a refusal leaves the file as it was; a write changes
// only the dates, and the file still reads.
TEST(Fuzz, ExifWritersOnDamagedFiles) {
  const auto samples = Samples({"exif_full.jpg", "exif_le.jpg", "exif.tif"});
  const std::string path = imgtest::ScratchDir() + "\\fuzz_write.jpg";
  const uint32_t seed = testsupport::FuzzSeed();
  testsupport::Mutator m(seed);
  auto when = ExifDateTime::Parse("2003:04:05 06:07:08");
  for (int round = 0, n = testsupport::FuzzRounds(300); round < n; ++round) {
    std::vector<uint8_t> d = m.Mutate(samples[m.Next(uint32_t(samples.size()))]);
    SCOPED_TRACE(testing::Message() << "seed " << seed << " round " << round);
    ASSERT_TRUE(imgtest::WriteAll(path, d));
    Exif before;
    bool readable = before.Load(path.c_str());
    if (FAILED(WriteDateTime(path.c_str(), *when, kDateOriginal | kDateDigitized | kDateModified))) {
      ASSERT_EQ(ReadAll(path), d);
      continue;
    }
    ASSERT_TRUE(readable);
    Exif after;
    ASSERT_TRUE(after.Load(path.c_str()));
    EXPECT_EQ(after.Make(), before.Make());
    EXPECT_EQ(after.Orientation(), before.Orientation());
    EXPECT_EQ(after.Thumbnail(), before.Thumbnail());
    EXPECT_EQ(after.MakerNote(), before.MakerNote());
    if (int o = RotateOrientation(before.Orientation(), 90); FAILED(WriteOrientation(path.c_str(), o))) {
      continue;  // a refusal of a file already changed by the date write: nothing to compare
    }
    Exif turned;
    ASSERT_TRUE(turned.Load(path.c_str()));
    EXPECT_EQ(turned.Make(), before.Make());
    EXPECT_EQ(turned.DateTimeOriginal().has_value(), after.DateTimeOriginal().has_value());
  }
}
