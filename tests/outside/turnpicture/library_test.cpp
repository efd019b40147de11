// TurnPicture.dll as the toolbar calls it: the settings on a run's first call (Cancel
// answers 2), every further file turned as chosen, "FirstPath", the question for each
// file, a failed file.
#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>
#include <gtest/gtest.h>

#include <files.h>
#include <imaging/imaging.h>
#include <picturetool.h>
#include <profileroot.h>
#include <tempfolder.h>

#include "uikit.h"

namespace {

const char kSection[] = "Tool1\\TurnPicture";

class TurnLibrary : public testsupport::ToolFilesTest {
 protected:
  void SetUp() override {
    ToolFilesTest::SetUp();
    ASSERT_TRUE(tool_.Bound());
    CMWriteProfileInt(kSection, "Rotation", 90);
    CMWriteProfileInt(kSection, "Exif", 0);
    CMWriteProfileInt(kSection, "SaveMode", 1);
  }
  static int Orientation(const std::string& path) {
    imaging::Exif exif;
    return exif.Load(path.c_str()) ? exif.Orientation() : -1;
  }
  testsupport::PictureToolLibrary tool_{"TurnPicture.dll", "TurnPicture"};
};

}  // namespace

TEST_F(TurnLibrary, CancelInTheSettingsAnswersTwoAndChangesNothing) {
  std::string pic = Copy("quadrants.jpg", "pic.jpg");
  std::string before = testsupport::ReadWholeFile(pic);
  uikit::DialogDriver driver([](HWND h) { uikit::Press(h, IDCANCEL); });
  std::string out;
  EXPECT_EQ(tool_.Call(pic, 1, &out), 2);
  EXPECT_EQ(driver.Ran(), 1);
  EXPECT_EQ(out, "");
  EXPECT_TRUE(testsupport::ReadWholeFile(pic) == before);
  EXPECT_EQ(testsupport::FileNamesIn(dir_), std::vector<std::string>{"pic.jpg"});
  EXPECT_EQ(CMGetProfileInt(kSection, "Rotation", 0), 90);
}

TEST_F(TurnLibrary, TheFirstCallsChoiceTurnsEveryFile) {
  std::string a = Copy("quadrants.jpg", "a.jpg"), b = Copy("exif_noorient.jpg", "b.jpg");
  bool shownAsStored = false;
  uikit::DialogDriver driver([&](HWND h) {
    shownAsStored = ::IsDlgButtonChecked(h, IDC_TURN_90) == BST_CHECKED &&
                    ::IsDlgButtonChecked(h, IDC_TURN_PIXELS) == BST_CHECKED &&
                    ::IsDlgButtonChecked(h, IDC_TURN_SAVE_OVER) == BST_CHECKED;
    uikit::Picture(h).Save("turnpicture_settings");
    uikit::Press(h, IDC_TURN_270);
    uikit::Press(h, IDC_TURN_TAG);
    uikit::Press(h, IDC_TURN_SAVE_COPY);
    uikit::Press(h, IDOK);
  });
  std::string out1, out2;
  EXPECT_EQ(tool_.Call(a, 1, &out1), 1);
  EXPECT_EQ(tool_.Call(b, 0, &out2), 1);  // no dialog for the others
  EXPECT_EQ(driver.Ran(), 1);
  EXPECT_TRUE(shownAsStored);
  EXPECT_EQ(out1, dir_ + "\\a_r.jpg");
  EXPECT_EQ(out2, dir_ + "\\b_r.jpg");
  EXPECT_EQ(Orientation(a), 6);     // the sources as they were
  EXPECT_EQ(Orientation(out1), 1);  // 6 turned back a quarter
  EXPECT_EQ(Orientation(out2), 8);
  EXPECT_EQ(std::string(CMGetProfileString("Tool1", "FirstPath", "")), out1);
  EXPECT_EQ(CMGetProfileInt(kSection, "Rotation", 0), 270);
  EXPECT_EQ(CMGetProfileInt(kSection, "Exif", 0), 1);
  EXPECT_EQ(CMGetProfileInt(kSection, "SaveMode", 1), 0);
}

TEST_F(TurnLibrary, AWriteProtectedSingleFileOffersOnlyACopy) {
  CMWriteProfileInt(kSection, "ReadOnly", 3);
  std::string pic = Copy("quadrants.jpg", "pic.jpg");
  bool overEnabled = true, copyChecked = false;
  uikit::DialogDriver driver([&](HWND h) {
    overEnabled =
        ::IsWindowEnabled(::GetDlgItem(h, IDC_TURN_SAVE_OVER)) || ::IsWindowEnabled(::GetDlgItem(h, IDC_TURN_SAVE_ASK));
    copyChecked = ::IsDlgButtonChecked(h, IDC_TURN_SAVE_COPY) == BST_CHECKED;
    uikit::Press(h, IDOK);
  });
  std::string out;
  EXPECT_EQ(tool_.Call(pic, 1, &out), 1);
  EXPECT_FALSE(overEnabled);
  EXPECT_TRUE(copyChecked);
  EXPECT_EQ(out, dir_ + "\\pic_r.jpg");
}

TEST_F(TurnLibrary, AskingModeAsksForEachFile) {
  CMWriteProfileInt(kSection, "SaveMode", 2);
  std::string a = Copy("quadrants.jpg", "a.jpg"), b = Copy("quadrants.jpg", "b.jpg"),
              c = Copy("quadrants.jpg", "c.jpg");
  std::string c0 = testsupport::ReadWholeFile(c);
  uikit::DialogDriver driver({[](HWND h) { uikit::Press(h, IDOK); }, [](HWND h) { uikit::Press(h, IDNO); },
                              [](HWND h) { uikit::Press(h, IDYES); }, [](HWND h) { uikit::Press(h, IDCANCEL); }});
  std::string out;
  EXPECT_EQ(tool_.Call(a, 1, &out), 1);
  EXPECT_EQ(out, dir_ + "\\a_r.jpg");
  EXPECT_EQ(tool_.Call(b, 0, &out), 1);
  EXPECT_EQ(out, b);
  EXPECT_EQ(Orientation(b), 1);
  EXPECT_EQ(tool_.Call(c, 0, &out), 2);
  EXPECT_EQ(out, "");
  EXPECT_TRUE(testsupport::ReadWholeFile(c) == c0);
  EXPECT_EQ(driver.Ran(), 4);
}

TEST_F(TurnLibrary, AFailedFileAsksWhetherToGoOn) {
  std::string bad = Copy("not_image.jpg", "bad.jpg"), good = Copy("quadrants.jpg", "good.jpg");
  std::string boxText;
  uikit::DialogDriver driver({[](HWND h) { uikit::Press(h, IDOK); },
                              [&](HWND h) {
                                boxText = uikit::StaticTexts(h);
                                uikit::Press(h, IDOK);
                              },
                              [](HWND h) { uikit::Press(h, IDCANCEL); }});
  std::string out;
  EXPECT_EQ(tool_.Call(bad, 1, &out), 1);  // go on
  EXPECT_EQ(out, "");
  EXPECT_NE(boxText.find("bad.jpg"), std::string::npos) << boxText;
  EXPECT_EQ(tool_.Call(bad, 0, &out), 2);   // stop
  EXPECT_EQ(tool_.Call(good, 0, &out), 1);  // in place, as stored
  EXPECT_EQ(out, good);
  EXPECT_EQ(std::string(CMGetProfileString("Tool1", "FirstPath", "")), good);
  EXPECT_EQ(testsupport::FileNamesIn(dir_), (std::vector<std::string>{"bad.jpg", "good.jpg"}));
}
