// The collection dialog's decisions without a window: what a dropped file is, and the text
// that names the files a save leaves out.
#pragma once
#include <string>
#include <vector>

namespace slideshow {

enum DropKind { kDropOther = 0, kDropPicture, kDropAudio };
// What a dropped file is by its extension (without regard to case).
DropKind DroppedFileKind(const std::string& path);
// The text of the missing-files message: the head, then up to ten paths, then "..." when
// more are missing.
std::string MissingFilesText(const std::string& head, const std::vector<std::string>& missing);

}  // namespace slideshow
