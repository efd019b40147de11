#include "NamePrompt/NamePrompt.h"

#include <Kitlib2/Kitlib2.h>
#include <imaging/output.h>
#include <textkit/path.h>
#include <textkit/text.h>

namespace nameprompt {

namespace {
const char kSection[] = "Tool1\\NamePrompt";
}  // namespace

Settings LoadSettings(const std::string& fallbackSuffix) {
  Settings s;
  s.suffix = (LPCSTR)CMGetProfileString(kSection, "Suffix", fallbackSuffix.c_str());
  s.corner = CMGetProfileInt(kSection, "Corner", 0);
  if (s.corner < 0 || s.corner > 3) s.corner = 0;
  return s;
}

void SaveSettings(const Settings& s) {
  CMWriteProfileString(kSection, "Suffix", s.suffix.c_str());
  CMWriteProfileInt(kSection, "Corner", s.corner);
}

std::string OutputExtension(const std::string& source) {
  std::string ext = textkit::ExtensionOf(source);
  for (const char* kept : {".jpg", ".jpeg", ".jpe", ".bmp", ".png", ".tif", ".tiff", ".dvf"})
    if (textkit::EqualNoCase(ext, kept)) return ext;
  return ".jpg";
}

std::string OutputName(const std::string& source, const std::string& suffix) {
  if (suffix.empty() || textkit::FileNameOf(source).empty()) return std::string();
  const std::string ext = OutputExtension(source);
  if (!textkit::IsValidFileName(textkit::TitleOf(source) + suffix + ext)) return std::string();
  return imaging::FreeCopyName(source, suffix, ext);
}

}  // namespace nameprompt
