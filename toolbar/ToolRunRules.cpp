#include "ToolRunRules.h"

#include <VxResourceIds.h>

#include <textkit/path.h>

#include <string.h>

namespace toolrunrules {

namespace {

const PictureTool kPictureTools[] = {
    {ID_TB_ROTATE, "TurnPicture.dll", "TurnPicture", IDS_BROWSER_ROTATE_CAPTION, IDS_TB_MONTH_ROTATE,
     IDS_TB_MUSIC_ROTATE, 1, false, "Tool1\\TurnPicture"},
    {ID_TB_ROTATE_ITEM, "TurnPicture.dll", "TurnPicture", IDS_BROWSER_ROTATE_CAPTION, IDS_TB_MONTH_ROTATE,
     IDS_TB_MUSIC_ROTATE, 1, false, "Tool1\\TurnPicture"},
    {ID_TB_SCALE, "ScalePicture.dll", "ScalePicture", IDS_TB_TOOL_SCALE, IDS_TB_MONTH_SCALE, IDS_TB_MUSIC_SCALE, 1,
     false, "Tool1\\ScalePicture"},
    {ID_TB_CONVERT, "ConvertKind.dll", "ConvertKind", IDS_TB_TOOL_CONVERT, IDS_TB_MONTH_CONVERT,
     IDS_TB_MUSIC_CONVERT, 5, true, "Tool1\\ConvertKind"},
};

bool IsExtension(const std::string& ext, const char* const* names) {
  for (; *names; ++names)
    if (_stricmp(ext.c_str(), *names) == 0) return true;
  return false;
}

bool SameText(const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) == 0; }

}  // namespace

const PictureTool* FindPictureTool(int command) {
  for (const PictureTool& t : kPictureTools)
    if (t.command == command) return &t;
  return nullptr;
}

Counter CounterOf(const std::string& path) {
  static const char* const kJpeg[] = {".jpg", ".jpeg", ".jpe", nullptr};
  static const char* const kBmp[] = {".bmp", nullptr};
  static const char* const kPng[] = {".png", nullptr};
  static const char* const kTiff[] = {".tif", ".tiff", nullptr};
  static const char* const kDvf[] = {".dvf", nullptr};
  static const char* const kTtl[] = {".ttl", nullptr};
  static const char* const kPed[] = {".ped", nullptr};
  static const char* const kGif[] = {".gif", nullptr};
  std::string ext = textkit::ExtensionOf(path);
  if (IsExtension(ext, kJpeg)) return COUNT_JPEG;
  if (IsExtension(ext, kBmp)) return COUNT_BMP;
  if (IsExtension(ext, kPng)) return COUNT_PNG;
  if (IsExtension(ext, kTiff)) return COUNT_TIFF;
  if (IsExtension(ext, kDvf)) return COUNT_DVF;
  if (IsExtension(ext, kTtl)) return COUNT_TTL;
  if (IsExtension(ext, kPed)) return COUNT_PED;
  if (IsExtension(ext, kGif)) return COUNT_GIF;
  return COUNT_OTHER;
}

int SupportKindFor(int titleId) { return titleId == IDS_TB_TOOL_CONVERT ? 5 : 1; }

bool LooksForPrintMarks(int titleId) {
  return titleId == IDS_BROWSER_ROTATE_CAPTION || titleId == IDS_TB_TOOL_SCALE;
}

std::vector<int> SpecialKindTextIds(const int counts[COUNT_KINDS]) {
  std::vector<int> ids;
  if (counts[COUNT_DVF]) ids.push_back(IDS_TB_KIND_DVF);
  if (counts[COUNT_TTL]) ids.push_back(IDS_TB_KIND_TTL);
  if (counts[COUNT_PED]) ids.push_back(IDS_TB_KIND_PED);
  return ids;
}

std::vector<ProfileValue> PictureToolValues(int command, int accepted, int flagged, const int counts[COUNT_KINDS]) {
  std::vector<ProfileValue> values;
  if (command == ID_TB_CONVERT) {
    // The kind every file already has, which the dialog then leaves out of its choice.
    static const struct {
      Counter counter;
      int single;
    } kAll[] = {{COUNT_JPEG, 1}, {COUNT_BMP, 2}, {COUNT_PNG, 3}, {COUNT_TIFF, 4}, {COUNT_GIF, 5}};
    int single = 0;
    for (const auto& k : kAll)
      if (accepted > 0 && counts[k.counter] == accepted) single = k.single;
    values.push_back({"Single", single});
  } else {
    values.push_back({"Single", accepted == 1 ? 1 : 0});
  }
  values.push_back({"ReadOnly", ReadOnlyValue(flagged)});
  if (command == ID_TB_SCALE) values.push_back({"Slider", counts[COUNT_JPEG] > 0 ? 1 : 0});
  return values;
}

int StampErrorTextId(unsigned long result) {
  switch (result) {
    case 0x80070008UL:
    case 0x82000001UL:
    case 0x82000003UL: return IDS_TB_IMPRINT_NO_MEMORY;
    case 0x80070013UL:
    case 0x8200000EUL: return IDS_TB_IMPRINT_WRITE_PROTECTED;
    case 0x80070070UL:
    case 0x82000005UL: return IDS_BROWSER_DISK_FULL;
    default: return 0;
  }
}

std::string ImprintOutputName(const std::string& name) {
  if (!SameText(textkit::ExtensionOf(name), ".dvf")) return name;
  return name.substr(0, name.size() - 3) + "bmp";
}

int MovieSelection(const std::vector<bool>& accepted, const std::vector<DWORD>& flags) {
  bool movies = false, others = false;
  for (size_t i = 0; i < accepted.size(); ++i) {
    if (accepted[i])
      movies = true;
    else if (!(flags[i] & 0x100))
      others = true;
  }
  if (!movies) return 0;
  return others ? 2 : 1;
}

DatabaseUpdate DatabaseUpdateFor(const std::string& source, const std::string& output, bool outputOnFixedDrive,
                                 bool sourceExists) {
  if (!outputOnFixedDrive || output.empty()) return DB_NOTHING;
  if (SameText(source, output)) return DB_RENEW;
  return sourceExists ? DB_COPY : DB_MOVE;
}

bool DiskTooFull(unsigned long long freeKB, unsigned long long physicalBytes) {
  return freeKB < (physicalBytes >> 12);
}

std::vector<toolbarrules::ListItem> DiscDriveItems(const std::vector<int>& drives, const std::string& suffix) {
  std::vector<toolbarrules::ListItem> items;
  for (int drive : drives) {
    if (drive < 0 || drive >= 26) continue;
    items.push_back({ID_TB_DISC_LIST + 1 + drive, 0, std::string(1, (char)('A' + drive)) + suffix});
  }
  return items;
}

bool CanSwitchToCardViewer(const std::string& viewerPath, bool viewerExists) {
  return !viewerPath.empty() && viewerExists;
}

}  // namespace toolrunrules
