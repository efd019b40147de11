// The name prompt of the date imprint: the copy's name is the source's with a suffix
// added, beside the source; the option value is the date's corner.
#pragma once
#include <windows.h>

#include <string>

namespace nameprompt {

// The dialog's controls.
enum : WORD { kSourceId = 1001, kSuffixId = 1002, kOutputId = 1003, kCornerFirstId = 1010 };

// "Tool1\NamePrompt": "Suffix" (the text added to the name), "Corner" (0 lower right,
// 1 lower left, 2 upper right, 3 upper left).
struct Settings {
  std::string suffix;
  int corner = 0;
};
// The stored settings; fallbackSuffix when none is stored, a corner out of range gives 0.
Settings LoadSettings(const std::string& fallbackSuffix);
void SaveSettings(const Settings& settings);

// The copy's extension: the source's for JPEG, BMP, PNG, TIFF and ".dvf" (the toolbar
// makes those BMP), ".jpg" for every other kind.
std::string OutputExtension(const std::string& source);
// The copy's full path: folder and title of the source, the suffix, the extension, and
// "(2)", "(3)" ... when a file of that name exists (imaging::FreeCopyName). Empty when the
// suffix is empty or makes a name Windows refuses, or the path would not fit MAX_PATH.
std::string OutputName(const std::string& source, const std::string& suffix);

}  // namespace nameprompt
