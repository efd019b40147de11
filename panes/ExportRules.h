// The export pane's decisions, as plain functions the tests call without windows: which
// tiles show and where, what a finished export asks of the pane, the checks of a file
// list, and whether a saved printer set-up file may be used.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace exportpane {

// Tile command ids: 1124 + entry index, the pane handles 30 of them.
const int kFirstTileCommand = 1124;
const int kMaxTiles = 30;
// Tile layout: the caption takes the top, then one tile every 71 pixels.
const int kTileWidth = 66;
const int kTileHeight = 80;
const int kTileTop = 36;
const int kTileStep = 71;

// The entry indexes to show as tiles, in the order they are placed: every entry whose
// information was read (orders[i] set; others skipped by the caller with haveInfo),
// ascending by order with the earlier entry first on ties, and only entries whose
// command id the pane handles.
std::vector<int> PlanTiles(const std::vector<int>& orders, const std::vector<bool>& haveInfo);
POINT TileOrigin(int position);

// What WM_EXPORT_FINISHED's lParam says: the entry and whether the export succeeded.
struct FinishedExport {
  int entry;
  bool succeeded;
};
FinishedExport DecodeExportFinished(LPARAM lParam);
LPARAM EncodeExportFinished(int entry, bool succeeded);
// A failed export frees the pane at once; a successful one waits for the plug-in's
// window to close (WM_EXPORT_BUSY).
inline bool ShouldEnableOnFinished(LPARAM lParam) { return !DecodeExportFinished(lParam).succeeded; }

// The WM_COPYDATA size of a text: a multiple of 4 holding the text and its terminator.
size_t CopyDataSize(size_t textLength);

// What the scope dialog's choice asks of the browser (ICGBrowser::GetFileData's flags):
// the files the view shows (0, flags 0), the selected ones (1, 3, and 6: the shown files,
// the selected ones only), all files (2), the marked ones (5); false for any other choice,
// which asks for none.
bool ScopeFlags(int choice, long* flags);

// The codes of a checked file list.
enum CheckCode {
  CHECK_GO = 0,
  CHECK_EMPTY = 2,
  CHECK_SOME_REMOVED = 4,
  CHECK_UPLOAD_REFUSED = 5,
  CHECK_UPLOAD_TOO_MANY = 6
};
const int kUploadFilter = 14;
const int kUploadMaxFiles = 10;
CheckCode ChooseCheckCode(size_t remaining, size_t removed, int filter, bool movieTooLong);
// Filters that refuse files on drives that are neither fixed nor remote.
inline bool FilterNeedsFixedDrive(int filter) { return filter == 7 || filter == 12; }
// Drop and check walks skip the movies' companion and stream files.
bool IsIgnoredDropFile(const char* path);

// A movie is too long past 600 seconds (length = denominator x flag / numerator) or past
// this size.
const uint64_t kMovieMaxBytes = 2097152000ull;
const uint32_t kMovieMaxSeconds = 600;
bool MovieTooLong(uint32_t numerator, uint32_t denominator, uint32_t flag, uint64_t fileSize);

// Whether the bytes of a saved printer set-up file are a whole DEVMODE: its size is
// dmSize + dmDriverExtra, dmSize is a size the system writes and the device name is
// terminated.
bool IsUsableDevModeFile(const void* data, size_t size);

}  // namespace exportpane

namespace exporttile {

// A tile's picture: the order of the plug-in's bitmaps in the tile.
enum State { NORMAL = 0, HOVER = 1, PRESSED = 2, DISABLED = 3 };

inline State OnButtonDown(State s) { return s == NORMAL || s == HOVER ? PRESSED : s; }
inline State OnButtonUp(State s) { return s == NORMAL || s == PRESSED ? HOVER : s; }
// A click reaches the pane only from a tile that is not disabled.
inline bool ClickSendsCommand(State s) { return s != DISABLED; }
inline State OnMouseMove(State s) { return s == NORMAL ? HOVER : s; }
// The 100 ms checks: the cursor left the tile, the owner was disabled or enabled.
inline State OnCursorCheck(State s, bool cursorOnTile) {
  return !cursorOnTile && (s == HOVER || s == PRESSED) ? NORMAL : s;
}
inline State OnOwnerCheck(State s, bool ownerEnabled) {
  if (!ownerEnabled) return DISABLED;
  return s == DISABLED ? NORMAL : s;
}

}  // namespace exporttile
