// NamePrompt.dll: the copy's name beside the source, never over an existing file; the
// first call asks (Cancel answers 2), the later ones reuse the answer.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>
#include <NamePrompt/NamePrompt.h>
#include <dialogwatch.h>
#include <library.h>
#include <profileroot.h>

#include "fixtures.h"

using imgtest::ScratchDir;

namespace {

typedef int(WINAPI* PFN_NAME_PROMPT)(LPCSTR lpszSource, LPSTR lpszName, LPCSTR lpszDefault, int nMode, int* pnOption);

struct Library {
  testsupport::LoadedLibrary dll{"NamePrompt.dll"};
  PFN_NAME_PROMPT prompt = dll.Export<PFN_NAME_PROMPT>("NamePrompt");
};

const char kCaption[] = "日付の写し込み";

bool HasSuffixField(HWND box) { return GetDlgItem(box, nameprompt::kSuffixId) != NULL; }

}  // namespace

TEST(NamePrompt, OutputNames) {
  std::string dir = ScratchDir();
  ASSERT_TRUE(imgtest::WriteAll(dir + "\\taken_date.jpg", {1}));
  ASSERT_TRUE(imgtest::WriteAll(dir + "\\taken_date(2).jpg", {1}));
  const struct {
    std::string source, suffix, output;
  } cases[] = {
      {dir + "\\a.jpg", "_date", dir + "\\a_date.jpg"},
      {dir + "\\a.JPEG", "-x", dir + "\\a-x.JPEG"},
      {dir + "\\taken.jpg", "_date", dir + "\\taken_date(3).jpg"},  // never over another file
      {dir + "\\scan.tif", "_date", dir + "\\scan_date.tif"},
      {dir + "\\anim.gif", "_date", dir + "\\anim_date.jpg"},    // kinds the stamp can't write
      {dir + "\\movie.dvf", "_date", dir + "\\movie_date.dvf"},  // the toolbar makes it BMP
      {dir + "\\b.png", "_date", dir + "\\b_date.png"},
      {dir + "\\a.jpg", "", ""},
      {dir + "\\a.jpg", "a?b", ""},
      {dir + "\\a.jpg", "x\\y", ""},
      {dir + "\\" + std::string(240, 'n') + ".jpg", "_date", ""},  // past MAX_PATH
      {dir + "\\", "_date", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(nameprompt::OutputName(c.source, c.suffix), c.output) << c.source << " " << c.suffix;
}

TEST(NamePrompt, LaterCallsReuseTheAnswerWithoutAsking) {
  testsupport::ScopedProfileRoot profile("nameprompt");
  Library lib;
  ASSERT_TRUE(lib.prompt);
  std::string source = ScratchDir() + "\\later.jpg";
  const struct {
    const char* suffix;
    int storedCorner;
    const char* name;
    int corner;
  } cases[] = {
      {"_s", 2, "later_s.jpg", 2},
      {"_s", 9, "later_s.jpg", 0},  // a corner out of range
      {"a|b", 1, "", 1},            // a stored suffix Windows refuses: the file is skipped
  };
  for (const auto& c : cases) {
    CMWriteProfileString("Tool1\\NamePrompt", "Suffix", c.suffix);
    CMWriteProfileInt("Tool1\\NamePrompt", "Corner", c.storedCorner);
    char name[MAX_PATH] = "junk";
    int corner = -1;
    EXPECT_EQ(lib.prompt(source.c_str(), name, "", 1, &corner), 1);
    EXPECT_EQ(std::string(name), *c.name ? ScratchDir() + "\\" + c.name : "");
    EXPECT_EQ(corner, c.corner);
  }
}

TEST(NamePrompt, FirstCallAsksAndCancelAnswersTwo) {
  testsupport::ScopedProfileRoot profile("nameprompt");
  Library lib;
  ASSERT_TRUE(lib.prompt);
  std::string source = ScratchDir() + "\\asked.jpg";
  {
    testsupport::DialogWatch watch(kCaption, HasSuffixField,
                                   [](HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); });
    char name[MAX_PATH] = "junk";
    int corner = -1;
    EXPECT_EQ(lib.prompt(source.c_str(), name, "_date", 1, &corner), 2);
    EXPECT_TRUE(watch.Acted());
    EXPECT_EQ(name[0], '\0');
    EXPECT_EQ(std::string(CMGetProfileString("Tool1\\NamePrompt", "Suffix", "none")), "none");
  }
  {
    std::string shown;
    testsupport::DialogWatch watch(kCaption, HasSuffixField, [&](HWND box) {
      char text[MAX_PATH];
      GetDlgItemTextA(box, nameprompt::kOutputId, text, sizeof text);
      shown = text;
      SetDlgItemTextA(box, nameprompt::kSuffixId, "_stamped");
      CheckRadioButton(box, nameprompt::kCornerFirstId, nameprompt::kCornerFirstId + 3, nameprompt::kCornerFirstId + 3);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    char name[MAX_PATH] = "";
    int corner = -1;
    EXPECT_EQ(lib.prompt(source.c_str(), name, "_date", 1, &corner), 1);
    EXPECT_TRUE(watch.Acted());
    EXPECT_EQ(shown, "asked_date.jpg");  // the default text before anything was stored
    EXPECT_EQ(std::string(name), ScratchDir() + "\\asked_stamped.jpg");
    EXPECT_EQ(corner, 3);
  }
  // The answer is kept for the next run.
  EXPECT_EQ(std::string(CMGetProfileString("Tool1\\NamePrompt", "Suffix", "")), "_stamped");
  EXPECT_EQ(CMGetProfileInt("Tool1\\NamePrompt", "Corner", 0), 3);
}
