// The card tree's decisions and shared routines, callable without windows: the drive
// list, the profile's families, the folder-name list of a drop, the SD-Video programme
// test, dates, the order of a file list, the fit of a part's thumbnail.
#pragma once
#include <dropop/FolderNameList.h>
#include <fw/fw.h>

#include <string>
#include <vector>

namespace cardtree {

// ---- module-wide -----------------------------------------------------------------------
HINSTANCE ResourceModule();
void SetResourceModule(HINSTANCE resources);
std::string ResourceString(UINT id);  // "" when the library has none
// The string formatted with one number ("%d") or one text ("%s").
std::string ResourceFormat(UINT id, long long number);
std::string ResourceFormat(UINT id, const std::string& text);
// While the headless backup or listing runs: the import's messages become notice popups.
int IsHeadless();
void SetHeadless(int on);

// ---- profile ---------------------------------------------------------------------------
extern const char kSettings[];    // "CardTree\Settings"
extern const char kFolderInfo[];  // "CardTree\FolderInfo"

// TreeType bits: the families of nodes shown.
enum TreeTypeBit : unsigned {
  kTreeIm = 0x1,
  kTreeDcimGroup = 0x10,
  kTreeSdVideo = 0x100,
  kTreeSdVoice = 0x10000,
  kTreeSdAudio = 0x20000,
  kTreeVideoTitles = 0x1000000,
  kTreeMobile = 0x2000000,
  kTreeAutoPlay = 0x10000000,
};
// Any of these bits gathers folders under group nodes.
constexpr unsigned kGroupModeMask = 0x1FFFFF00;
inline bool IsGroupMode(unsigned treeType) { return (treeType & kGroupModeMask) != 0; }
inline bool IsDcimGroup(unsigned treeType) { return IsGroupMode(treeType) && (treeType & kTreeDcimGroup); }

// ---- drives ----------------------------------------------------------------------------
// The letters of a card-drive text: one at each even position ("E,F," -> E, F).
std::vector<char> CardDriveLetters(const char* text);
// The card drives present now.
std::vector<char> CardDrives();
// "E" -> "E:\".
std::string DriveRoot(char letter);
// The drive node's label: prefix string, the letter, suffix string.
std::string DriveLabel(char letter);

// ---- names and paths -------------------------------------------------------------------
// Whether a path is there and not hidden (an unreadable path counts as hidden).
bool IsVisiblePath(const std::string& path);
// Whether a find pattern finds any entry.
bool FindsEntry(const std::string& pattern);
// The label of auto-play entry n (0 to 9).
std::string AutoPlayLabel(int n);

// Whether the path names an SD-Video programme folder (drive part unchecked) of a number
// other than 000.
int IsSdVideoProgramFolder(LPCSTR path);

// ---- the folder-name list the browser reads after a drop -----------------------------------
using dropop::AppendFolderNameList;
using dropop::ClearFolderNameList;
using dropop::kFolderNameSection;
using dropop::kMaxFolderNames;

// ---- dates -----------------------------------------------------------------------------
// A date as the user's short-date order gives it: "0" month-day-year, "1" day-month-year,
// else year-month-day.
std::string FormatDateForOrder(const SYSTEMTIME& date, const std::string& order);
std::string FormatTodayDate();

// Sorts the list by shooting time (Exif, else update time): newest first for order 1,
// oldest first otherwise; order argument 0 always means newest first, 1 takes the profile.
int SortFilesByShootingTime(CStringList& files, int orderArgument);
// The order over times already read (paths and times move together).
void SortByTimes(std::vector<std::string>& paths, std::vector<SYSTEMTIME>& times, int order);

// ---- the backup's scan -------------------------------------------------------------------
// The stop of the backup's scan of a card: another program asks for it by setting the
// profile value CardTree\SearchProc to 1; the request is taken (set back to 0) and ends
// the folder the scan is in.
bool TakeScanStopRequest();

// ---- the parts of a disc title -----------------------------------------------------------
constexpr int kThumbWidth = 80, kThumbHeight = 60;
// The picture's size inside 80 x 60 keeping its shape; FALSE for a 0 size (no picture).
BOOL FitPart(int width, int height, int* fitWidth, int* fitHeight);

// ---- the notice popup --------------------------------------------------------------------
struct NoticeButtons {
  int count;
  UINT text[5];  // string ids
  int result[5];
};
// The buttons of a style's low four bits; any set not known is OK alone.
NoticeButtons NoticeButtonSet(UINT style);
// The system icon of the style's icon bits (IDI_HAND ...), null for none.
LPCSTR NoticeIcon(UINT style);
// 0-based index of the default button, kept inside the buttons shown.
int NoticeDefaultButton(UINT style, int count);

struct NoticeLayout {
  int width, height;  // the window's
  int textLeft, textTop;
  int buttonY;
  int buttonX[5];
};
// Where everything goes for a measured text: icon size 0 for none; the window grows from
// its initial size.
NoticeLayout LayOutNotice(SIZE text, SIZE icon, int buttons, SIZE button, SIZE initial);

// The caption font of a hover button: height and weight for a size step, the button's
// height and the font's character set.
void HoverCaptionFont(int step, int itemHeight, int charset, int* height, int* weight);

}  // namespace cardtree
