#include "CardRules.h"

#include <cstdio>

#include <KitlibEx/KitlibEx.h>
#include <Kitlib2/CMDIB.h>
#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>
#include <textkit/text.h>

#include <algorithm>

namespace cardtree {

namespace {
HINSTANCE g_resources = nullptr;
int g_headless = 0;
}  // namespace

int IsHeadless() { return g_headless; }
void SetHeadless(int on) { g_headless = on; }

const char kSettings[] = "CardTree\\Settings";
const char kFolderInfo[] = "CardTree\\FolderInfo";

HINSTANCE ResourceModule() { return g_resources; }
void SetResourceModule(HINSTANCE resources) { g_resources = resources; }

std::string ResourceString(UINT id) {
  if (!g_resources) return std::string();
  char text[1024] = {};
  int n = LoadStringA(g_resources, id, text, sizeof text);
  return n > 0 ? std::string(text, n) : std::string();
}

std::string ResourceFormat(UINT id, long long number) {
  char text[1024];
  snprintf(text, sizeof text, ResourceString(id).c_str(), static_cast<int>(number));
  return text;
}

std::string ResourceFormat(UINT id, const std::string& arg) {
  char text[1024];
  snprintf(text, sizeof text, ResourceString(id).c_str(), arg.c_str());
  return text;
}

std::vector<char> CardDriveLetters(const char* text) {
  std::vector<char> letters;
  if (!text) return letters;
  size_t n = strnlen(text, 255);
  for (size_t i = 0; i < n; i += 2) letters.push_back(text[i]);
  return letters;
}

std::vector<char> CardDrives() {
  char text[256] = {};
  CMTLxGetCardDrives(text);
  text[255] = 0;
  return CardDriveLetters(text);
}

std::string DriveRoot(char letter) { return std::string(1, letter) + ":\\"; }

std::string DriveLabel(char letter) {
  return ResourceString(IDS_CARD_DRIVE_PREFIX) + letter + ResourceString(IDS_CARD_DRIVE_SUFFIX);
}

bool IsVisiblePath(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_HIDDEN);
}

bool FindsEntry(const std::string& pattern) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  FindClose(h);
  return true;
}

std::string AutoPlayLabel(int n) {
  if (n == 1) return ResourceString(IDS_CARD_AUTOPLAY_1);
  if (n == 2) return ResourceString(IDS_CARD_AUTOPLAY_2);
  std::string group = ResourceString(IDS_CARD_AUTOPLAY);
  return n == 0 ? group : group + std::to_string(n);
}

int IsSdVideoProgramFolder(LPCSTR path) {
  if (!path || strlen(path) < 18) return 0;
  std::string p(path);
  for (char& c : p)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (p.compare(3, 8, "SD_VIDEO") != 0 || p.compare(12, 2, "PR") != 0) return 0;
  if (p[14] != 'L' && p[14] != 'G') return 0;
  for (int i = 15; i <= 17; ++i)
    if (!((p[i] >= '0' && p[i] <= '9') || (p[i] >= 'A' && p[i] <= 'F'))) return 0;
  return (p[15] != '0' || p[16] != '0' || p[17] != '0') ? 1 : 0;
}

std::string FormatDateForOrder(const SYSTEMTIME& d, const std::string& order) {
  char text[64];
  if (order == "0")
    snprintf(text, sizeof text, "%2d-%2d-%4d", d.wMonth, d.wDay, d.wYear);
  else if (order == "1")
    snprintf(text, sizeof text, "%2d-%2d-%4d", d.wDay, d.wMonth, d.wYear);
  else
    snprintf(text, sizeof text, "%04d-%02d-%02d", d.wYear, d.wMonth, d.wDay);
  return text;
}

std::string FormatTodayDate() {
  SYSTEMTIME today;
  GetLocalTime(&today);
  char order[8] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDATE, order, sizeof order);
  return FormatDateForOrder(today, order);
}

namespace {
ULONGLONG Ticks(const SYSTEMTIME& t) {
  FILETIME ft = {};
  if (!SystemTimeToFileTime(&t, &ft)) return 0;
  return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}
}  // namespace

void SortByTimes(std::vector<std::string>& paths, std::vector<SYSTEMTIME>& times, int order) {
  // Stable: files of one time keep the order they came in.
  std::vector<size_t> index(paths.size());
  for (size_t i = 0; i < index.size(); ++i) index[i] = i;
  std::stable_sort(index.begin(), index.end(), [&](size_t a, size_t b) {
    ULONGLONG ta = Ticks(times[a]), tb = Ticks(times[b]);
    return order == 1 ? ta > tb : ta < tb;
  });
  std::vector<std::string> p;
  std::vector<SYSTEMTIME> t;
  for (size_t i : index) {
    p.push_back(paths[i]);
    t.push_back(times[i]);
  }
  paths.swap(p);
  times.swap(t);
}

int SortFilesByShootingTime(CStringList& files, int orderArgument) {
  int order = orderArgument == 0 ? 1 : CMGetProfileInt("MarloLE", "Order", 1);
  std::vector<std::string> paths;
  std::vector<SYSTEMTIME> times;
  for (POSITION pos = files.GetHeadPosition(); pos;) {
    CString path = files.GetNext(pos);
    SYSTEMTIME t = {};
    if (CCMDIB::GetDateTimeOriginal(path, &t) != 0) t = CCMDIB::GetUpdateTime(path);
    paths.push_back(static_cast<LPCSTR>(path));
    times.push_back(t);
  }
  SortByTimes(paths, times, order);
  files.RemoveAll();
  for (const std::string& p : paths) files.AddTail(p.c_str());
  return 1;
}

bool TakeScanStopRequest() {
  if (CMGetProfileInt("CardTree", "SearchProc", 0) != 1) return false;
  CMWriteProfileInt("CardTree", "SearchProc", 0);
  return true;
}

BOOL FitPart(int width, int height, int* fitWidth, int* fitHeight) {
  *fitWidth = *fitHeight = 0;
  if (width <= 0 || height <= 0) return FALSE;
  // Multiply before dividing: the ratio alone truncates to 0 for every upright picture.
  // A picture narrower than 4:3 is fitted by its height, or a square one would be 80 high.
  if (static_cast<long long>(width) * kThumbHeight < static_cast<long long>(height) * kThumbWidth) {
    *fitHeight = kThumbHeight;
    *fitWidth = static_cast<int>(static_cast<long long>(width) * kThumbHeight / height);
  } else {
    *fitWidth = kThumbWidth;
    *fitHeight = static_cast<int>(static_cast<long long>(height) * kThumbWidth / width);
  }
  if (*fitWidth < 1) *fitWidth = 1;
  if (*fitHeight < 1) *fitHeight = 1;
  return TRUE;
}

NoticeButtons NoticeButtonSet(UINT style) {
  switch (style & 0xF) {
    case 1:
      return {2, {IDS_NOTICE_OK, IDS_NOTICE_CANCEL}, {IDOK, IDCANCEL}};
    case 3:
      return {3, {IDS_NOTICE_YES, IDS_NOTICE_NO, IDS_NOTICE_CANCEL}, {IDYES, IDNO, IDCANCEL}};
    case 4:
      return {2, {IDS_NOTICE_YES, IDS_NOTICE_NO}, {IDYES, IDNO}};
    case 6:
      return {5, {IDS_NOTICE_YES, IDS_NOTICE_YES_ALL, IDS_NOTICE_NO, IDS_NOTICE_NO_ALL, IDS_NOTICE_CANCEL},
              {IDYES, 10, IDNO, 11, IDCANCEL}};
    case 7:
      return {4, {IDS_NOTICE_YES, IDS_NOTICE_YES_ALL, IDS_NOTICE_NO, IDS_NOTICE_NO_ALL}, {IDYES, 10, IDNO, 11}};
    case 15:
      return {0, {}, {}};
    default:
      return {1, {IDS_NOTICE_OK}, {IDOK}};
  }
}

LPCSTR NoticeIcon(UINT style) {
  switch (style & 0xF0) {
    case 16: return IDI_HAND;
    case 32: return IDI_QUESTION;
    case 48: return IDI_EXCLAMATION;
    case 64: return IDI_ASTERISK;
    default: return nullptr;
  }
}

int NoticeDefaultButton(UINT style, int count) {
  int index = static_cast<int>((style & 0xF00) >> 8);
  if (index > 4) index = 0;
  return index < count ? index : 0;
}

NoticeLayout LayOutNotice(SIZE text, SIZE icon, int buttons, SIZE button, SIZE initial) {
  NoticeLayout l = {};
  const bool hasIcon = icon.cx > 0;
  l.width = hasIcon ? icon.cx + text.cx + 60 : text.cx + 36;
  const int row = (button.cx + 8) * buttons + 28;
  if (l.width < row) l.width = row;
  l.height = button.cy + text.cy + 48;
  l.textTop = 19;
  if (hasIcon) {
    if (l.height < button.cy + icon.cy + 47) l.height = button.cy + icon.cy + 47;
    l.textTop = (icon.cy - text.cy) / 2 + 19;
  }
  l.textLeft = hasIcon ? icon.cx + 42 : 18;
  l.height += initial.cy;
  l.buttonY = l.height - initial.cy - 14 - button.cy;
  for (int i = 0; i < buttons && i < 5; ++i)
    l.buttonX[i] = (l.width - buttons * (button.cx + 8) + 8) / 2 + i * (button.cx + 8);
  return l;
}

void HoverCaptionFont(int step, int itemHeight, int charset, int* height, int* weight) {
  int d = static_cast<int>((step * 0.1 + 0.2) * itemHeight);
  if (charset != SHIFTJIS_CHARSET) d -= 1;
  if (d < 9) {
    *weight = 500;
    *height = d + 1;
  } else {
    *weight = 600;
    *height = d;
  }
}

}  // namespace cardtree
