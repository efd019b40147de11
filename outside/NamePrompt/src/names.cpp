#include "NamePrompt/NamePrompt.h"

#include <Kitlib2/Kitlib2.h>
#include <textkit/path.h>
#include <textkit/text.h>

namespace nameprompt {

namespace {
const char kSection[] = "Tool1\\NamePrompt";
bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
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
  for (const char* kept : {".jpg", ".jpeg", ".jpe", ".bmp", ".png", ".dvf"})
    if (textkit::EqualNoCase(ext, kept)) return ext;
  return ".jpg";
}

std::string OutputName(const std::string& source, const std::string& suffix) {
  if (suffix.empty() || textkit::FileNameOf(source).empty()) return std::string();
  const std::string folder = textkit::FolderPartOf(source), title = textkit::TitleOf(source) + suffix,
                    ext = OutputExtension(source);
  for (int n = 1; n < 1000; ++n) {
    std::string name = n == 1 ? title + ext : title + "_" + std::to_string(n) + ext;
    if (!textkit::IsValidFileName(name)) return std::string();
    std::string path = folder + name;
    if (path.size() >= MAX_PATH) return std::string();
    if (!Exists(path)) return path;
  }
  return std::string();
}

}  // namespace nameprompt
