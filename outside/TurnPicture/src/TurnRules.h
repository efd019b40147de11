// The rotation tool without windows: its settings and the turn of one file.
#pragma once
#include <windows.h>

#include <string>

namespace turnpicture {

// "Tool1\TurnPicture".
extern const char kSection[];

// How a run turns its pictures.
struct Settings {
  int rotation = 90;     // "Rotation": 90, 180 or 270 degrees clockwise
  bool tagOnly = false;  // "Exif" 1: only the Exif orientation, 0: the pixels
  int saveMode = 1;      // "SaveMode": 0 a copy, 1 the file itself, 2 asked for each file
};
// The stored values; out of range, each reads as its default.
Settings ReadSettings();
void WriteSettings(const Settings& s);

// Turns one picture by degrees clockwise (90, 180, 270). Pixels: JPEG losslessly where
// its blocks allow, else decoded, turned and encoded again with its Exif (orientation
// reset); PNG, BMP and TIFF decoded and encoded again. Tag only (JPEG, TIFF): the Exif
// orientation composed with the turn; other kinds have none and turn their pixels.
// inPlace: the file itself, else a free copy "<name>_r<ext>" beside it. Either way
// through a checked temporary file: on a failure nothing changed. output: the file
// written.
HRESULT TurnFile(const std::string& path, int degrees, bool tagOnly, bool inPlace, std::string* output);

}  // namespace turnpicture
