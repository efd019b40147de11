// Print-order files of a card (DPOF): "MISC\AUTPRINT.MRK" and the auto-play lists
// "MISC\AUTPLAY*.MRK". Jobs are "[JOB]" sections whose pictures are named by lines
//   <IMG SRC = "../DCIM/100ABCDE/ABCD0001.JPG">
// relative to the MISC folder.
#pragma once
#include <string>
#include <vector>

namespace kitlibex {

// "E:" + job "AUTPLAY3" -> "E:\MISC\AUTPLAY3.MRK".
std::string DpofFilePath(const std::string& drive, const std::string& job);

// Full paths (on `drive`) of the pictures the jobs of an MRK text name, in file order.
std::vector<std::string> DpofImages(const std::string& mrk, const std::string& drive);

// Removes the picture `path` from every job of the text; a job left without pictures
// goes as a whole. Returns the number of picture lines removed.
int DpofRemoveImage(std::string& mrk, const std::string& drive, const std::string& path);

// Resolves an IMG SRC value against the card's MISC folder: "../DCIM/X.JPG" -> "E:\DCIM\X.JPG".
std::string ResolveDpofSource(const std::string& drive, const std::string& src);
// Whether a picture path of a print order may be followed: every part a name Windows
// accepts, "." and ".." aside (they move within the card). A control character (a NUL
// cuts the path), a drive's colon, a part of dots and blanks or a device name ("CON")
// makes the order's entry one that is dropped.
bool IsSafeDpofSource(const std::string& src);

// The whole file (a print-order file is small: at most 64 MB are read).
bool ReadWholeFile(const std::string& path, std::string* out);

}  // namespace kitlibex
