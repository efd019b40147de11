// Memory-card drives and the camera file system's folders.
#pragma once
#include <windows.h>

#include <string>

namespace kitlibex {

// "100ABCDE": a DCF picture folder (number 100 to 999 and five letters, digits or "_").
bool IsDcfFolderName(const std::string& name);
// "IM01ABCD": a picture folder at a card's root ("IM", two digits, four letters, digits or "_").
bool IsImFolderName(const std::string& name);
// 0 for a picture folder of the card (a DCF folder or an IM folder, judged by the path's
// last component); 1 for every other folder (the card's own structural folders).
int CardFolderAnswer(const std::string& path);

// "PRG001", "PRL00A" below "SD_VIDEO": an SD-Video programme folder (number not 000).
bool IsSdVideoProgrammeName(const std::string& name);
// 0 for an SD-Video programme folder (its parent must be "SD_VIDEO"), else 1.
int SdVideoFolderAnswer(const std::string& path);

// Letters of removable drives that hold a medium (C: to Z:), each followed by ",".
std::string CardDriveLetters();

// Nonzero when the drive (1 = A:) is a removable drive on the SD bus (a slot for
// cards with a protected area).
int IsSdBusDrive(int driveNumber);

}  // namespace kitlibex
