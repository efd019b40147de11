#include "SlideCollectRules.h"

#include <textkit/path.h>
#include <textkit/text.h>

#include <initializer_list>

namespace {

bool HasExtension(const std::string& ext, std::initializer_list<const char*> list) {
  for (const char* e : list)
    if (textkit::EqualNoCase(ext, e)) return true;
  return false;
}

}  // namespace

namespace slideshow {

DropKind DroppedFileKind(const std::string& path) {
  std::string ext = textkit::ExtensionOf(path);
  if (HasExtension(ext, {".wav", ".mp3", ".m4a", ".wma"})) return kDropAudio;
  if (HasExtension(ext, {".jpg", ".jpe", ".jpeg", ".tif", ".tiff", ".bmp"})) return kDropPicture;
  return kDropOther;
}

std::string MissingFilesText(const std::string& head, const std::vector<std::string>& missing) {
  std::string text = head + "\n";
  for (size_t i = 0; i < missing.size() && i < 10; ++i) text += "\n" + missing[i];
  if (missing.size() > 10) text += "\n...";
  return text;
}

}  // namespace slideshow
