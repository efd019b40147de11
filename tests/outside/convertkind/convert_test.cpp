// The conversion tool: each source kind into each target kind, decoded back (size, a
// pixel, the Exif of JPEG results), a file of the kind already left alone, failures that
// write nothing; the library's choice (Cancel answers 2, the files' own kind greyed).
#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>
#include <gtest/gtest.h>

#include <files.h>
#include <imaging/imaging.h>
#include <imaging/output.h>
#include <picturetool.h>
#include <profileroot.h>
#include <tempfolder.h>

#include <cstdlib>

#include "ConvertRules.h"
#include "keptags.h"
#include "uikit.h"

using namespace convertkind;

namespace {

imaging::Dib Decoded(const std::string& path, imaging::DecodeReport* report = nullptr) {
  imaging::Dib d;
  imaging::DecodeOptions opt;
  EXPECT_EQ(imaging::DecodeFile(path.c_str(), opt, &d, report), S_OK) << path;
  return d;
}

bool Near(uint32_t a, uint32_t b) {
  for (int s = 0; s < 24; s += 8)
    if (std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > 40) return false;
  return true;
}

class Convert : public testsupport::ToolFilesTest {};

}  // namespace

TEST(ConvertSettings, KindOutOfRangeReadsAsJpeg) {
  testsupport::ScopedProfileRoot root("convertsettings");
  for (int stored : {0, 5, -1, 99}) {
    CMWriteProfileInt(kSection, "Kind", stored);
    EXPECT_EQ(ReadKind(), KIND_JPEG) << stored;
  }
  WriteKind(KIND_TIFF);
  EXPECT_EQ(ReadKind(), KIND_TIFF);
}

TEST_F(Convert, EveryKindIntoEveryOther) {
  const struct {
    const char* fixture;
    const char* stem;
  } sources[] = {{"quadrants.jpg", "q"}, {"image.bmp", "b"}, {"alpha.png", "p"}, {"exif.tif", "t"}, {"image.gif", "g"}};
  for (const auto& src : sources) {
    std::string name = src.fixture, ext = name.substr(name.rfind('.'));
    std::string path = Copy(src.fixture, std::string(src.stem) + ext);
    imaging::Dib want = Decoded(path);
    for (int kind = KIND_JPEG; kind <= KIND_TIFF; ++kind) {
      imaging::ImageFormat format = FormatOfKind(kind);
      SCOPED_TRACE(std::string(src.fixture) + " to " + imaging::FormatName(format));
      std::string out;
      HRESULT hr = ConvertFile(path, kind, &out);
      if (imaging::DetectFileFormat(path.c_str()) == format) {
        EXPECT_EQ(hr, S_FALSE);
        EXPECT_EQ(out, "");
        continue;
      }
      ASSERT_EQ(hr, S_OK);
      EXPECT_EQ(out, dir_ + "\\" + src.stem + imaging::OutputExtension(format));
      imaging::DecodeReport report;
      imaging::Dib got = Decoded(out, &report);
      EXPECT_EQ(report.info.format, format);
      ASSERT_EQ(got.Width(), want.Width());
      ASSERT_EQ(got.Height(), want.Height());
      int x = want.Width() / 2, y = want.Height() / 2;
      EXPECT_TRUE(Near(got.Pixel(x, y), want.Pixel(x, y))) << std::hex << got.Pixel(x, y) << " " << want.Pixel(x, y);
      if (format == imaging::ImageFormat::Jpeg && std::string(src.stem) == "q") {
        EXPECT_EQ(report.exif.Orientation(), 1);
        ASSERT_TRUE(report.exif.DateTimeOriginal());
        EXPECT_EQ(report.exif.DateTimeOriginal()->ToString(), "2022:05:05 05:05:05");
      }
    }
  }
  // A name taken already: the next free one, never the other file.
  std::string q = dir_ + "\\q.jpg", out;
  ASSERT_EQ(ConvertFile(q, KIND_PNG, &out), S_OK);
  EXPECT_EQ(out, dir_ + "\\q(2).png");
}

// Every kind into every other: what the source says of the picture (Exif with GPS, XMP,
// IPTC) goes along as far as the target's format holds it.
TEST_F(Convert, EveryTagGoesAlong) {
  for (const char* fixture : {"all_tags.jpg", "all_tags.tif", "all_tags.png"}) {
    const std::string path = Copy(fixture, fixture);
    for (int kind = KIND_JPEG; kind <= KIND_TIFF; ++kind) {
      SCOPED_TRACE(std::string(fixture) + " to kind " + std::to_string(kind));
      std::string out;
      HRESULT hr = ConvertFile(path, kind, &out);
      if (hr == S_FALSE) continue;  // its own kind
      ASSERT_EQ(hr, S_OK);
      EXPECT_EQ(imgtest::LostTags(path, out), "");
    }
  }
}

TEST_F(Convert, AFailureWritesNothing) {
  std::string bad = Copy("not_image.jpg", "bad.jpg");
  // A TIFF whose first directory lies past its end (the decoder seeks there and reads on).
  std::string pastEnd = Copy("ifd_past_end.tif", "past.tif");
  std::vector<std::string> before = testsupport::FileNamesIn(dir_);
  std::string out = "?";
  EXPECT_TRUE(FAILED(ConvertFile(bad, KIND_PNG, &out)));
  EXPECT_TRUE(FAILED(ConvertFile(pastEnd, KIND_JPEG, &out)));
  EXPECT_TRUE(FAILED(ConvertFile(dir_ + "\\gone.png", KIND_JPEG, &out)));
  EXPECT_EQ(ConvertFile(bad, 7, &out), E_INVALIDARG);
  EXPECT_EQ(out, "");
  EXPECT_EQ(testsupport::FileNamesIn(dir_), before);
}

TEST_F(Convert, LibraryChoiceCancelAndTheFilesOwnKind) {
  testsupport::PictureToolLibrary tool("ConvertKind.dll", "ConvertKind");
  ASSERT_TRUE(tool.Bound());
  std::string a = Copy("quadrants.jpg", "a.jpg"), b = Copy("rose.jpg", "b.jpg");
  {
    uikit::DialogDriver driver([](HWND h) { uikit::Press(h, IDCANCEL); });
    EXPECT_EQ(tool.Call(a, 1), 2);
  }
  EXPECT_EQ(testsupport::FileNamesIn(dir_), (std::vector<std::string>{"a.jpg", "b.jpg"}));

  // Every file is a JPEG: that choice is greyed and another one checked.
  CMWriteProfileInt(kSection, "Single", 1);
  bool jpegEnabled = true, pngChecked = false;
  uikit::DialogDriver driver([&](HWND h) {
    jpegEnabled = ::IsWindowEnabled(::GetDlgItem(h, IDC_CONVERT_JPEG)) != FALSE;
    pngChecked = ::IsDlgButtonChecked(h, IDC_CONVERT_PNG) == BST_CHECKED;
    uikit::Picture(h).Save("convertkind_settings");
    uikit::Press(h, IDC_CONVERT_TIFF);
    uikit::Press(h, IDOK);
  });
  std::string out1, out2;
  EXPECT_EQ(tool.Call(a, 1, &out1), 1);
  EXPECT_EQ(tool.Call(b, 0, &out2), 1);
  EXPECT_FALSE(jpegEnabled);
  EXPECT_TRUE(pngChecked);
  EXPECT_EQ(out1, dir_ + "\\a.tif");
  EXPECT_EQ(out2, dir_ + "\\b.tif");
  EXPECT_EQ(imaging::DetectFileFormat(out2.c_str()), imaging::ImageFormat::Tiff);
  EXPECT_EQ(ReadKind(), KIND_TIFF);
  EXPECT_EQ(std::string(CMGetProfileString("Tool1", "FirstPath", "")), out1);
}
