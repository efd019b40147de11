// Decisions of the tool runs, without windows: the picture tools' parameters and the
// values they write, how the collected files are counted, the date imprint's messages
// and output names, the movie split's selection, what the photo database does with a
// tool's output, the disk check, and the disc-drive list's items.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ToolbarRules.h"

namespace toolrunrules {

// One picture tool: its library, export and messages.
struct PictureTool {
  int command;
  const char* library;
  const char* exportName;
  int titleId;
  int monthId;          // refused in the month calendar
  int musicId;          // refused in the music view
  int checkKind;        // CheckSelectedFiles kind
  bool acceptsSpecial;  // ".dvf", ".ttl" and ".ped" files go through
  const char* section;  // its settings under "Tool1\..."
};
// The picture tool of a command (rotation, resize, conversion); null for another.
const PictureTool* FindPictureTool(int command);

// The nine counters of the collected files, by extension.
enum Counter {
  COUNT_JPEG, COUNT_BMP, COUNT_PNG, COUNT_TIFF, COUNT_DVF, COUNT_TTL, COUNT_PED, COUNT_OTHER, COUNT_GIF,
  COUNT_KINDS
};
Counter CounterOf(const std::string& path);
inline bool IsSpecialKind(Counter c) { return c == COUNT_DVF || c == COUNT_TTL || c == COUNT_PED; }
// The support-kind filter whose text lists what a picture tool takes.
int SupportKindFor(int titleId);
// Whether the collection looks for print-image-matching data (rotation and resize).
bool LooksForPrintMarks(int titleId);
// The ids of the texts naming the special kinds met, in the order ".dvf", ".ttl", ".ped".
std::vector<int> SpecialKindTextIds(const int counts[COUNT_KINDS]);

// A profile value a tool run writes before the tool.
struct ProfileValue {
  const char* key;
  int value;
};
// "Single", "ReadOnly" and, for the resize, "Slider" of a picture tool.
std::vector<ProfileValue> PictureToolValues(int command, int accepted, int flagged, const int counts[COUNT_KINDS]);
// "ReadOnly": 3 when exactly one accepted file is read-only, else 1.
inline int ReadOnlyValue(int flagged) { return flagged == 1 ? 3 : 1; }

// The message id of a StampDayTimeImage error; 0 for one that names the file (50413).
int StampErrorTextId(unsigned long result);
// The imprint's output name: a ".dvf" name gets "bmp" instead.
std::string ImprintOutputName(const std::string& name);
// The message when no file is left: only undated files dropped, or unsupported ones too.
inline int ImprintNothingTextId(int unsupported) { return unsupported == 0 ? 50322 : 50321; }

// Movies of a list: 0 none, 1 only movies, 2 movies and other files. accepted[i] is the
// split filter's answer; flags[i] its information flags (bit 8: not another file).
int MovieSelection(const std::vector<bool>& accepted, const std::vector<DWORD>& flags);

// What the photo database does with a tool's output.
enum DatabaseUpdate {
  DB_NOTHING,        // not on a fixed drive
  DB_RENEW,          // written in place: a new thumbnail, the similar-image entry dropped
  DB_MOVE,           // the source is gone
  DB_COPY,
};
DatabaseUpdate DatabaseUpdateFor(const std::string& source, const std::string& output, bool outputOnFixedDrive,
                                 bool sourceExists);

// Whether the disk is too full for a tool run: free kilobytes below a quarter of the
// physical memory (its bytes shifted right by 12).
bool DiskTooFull(unsigned long long freeKB, unsigned long long physicalBytes);

// The disc-drive list: one item per drive (0 for A:), its letter and the suffix text.
std::vector<toolbarrules::ListItem> DiscDriveItems(const std::vector<int>& drives, const std::string& suffix);

// The switch to the card viewer goes ahead only with a viewer program to start.
bool CanSwitchToCardViewer(const std::string& viewerPath, bool viewerExists);

}  // namespace toolrunrules
