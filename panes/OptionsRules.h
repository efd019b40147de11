// The options dialog's decisions, plain functions the tests call without windows: the
// stored values as the pages read them, the interval and music-file rules of the
// slide-show page, which page a tab shows and where the pages sit.
#pragma once
#include <windows.h>

#include <string>

namespace options {

// Tool1\TurnPicture: any stored value outside the page's choices reads as its fallback.
inline int ReadPanel(int v) { return v == 1 ? 1 : 0; }
inline int ReadExif(int v) { return v != 0 ? 1 : 0; }
inline int ReadRotation(int v) { return v == 90 ? 90 : 270; }
inline int ReadSaveMode(int v) { return v >= 0 && v <= 2 ? v : 0; }

// The slide interval in seconds: 1 to 99.
int ClampInterval(int v);
// The interval edit's text as a number (letters count as nothing), clamped.
int IntervalFromText(const char* text);
// One spin step from the shown value: moves by one inside 1 to 99.
int StepInterval(int v, int delta);
// Music the slide show plays: ".wav", ".mp3", ".m4a", ".wma" in any case.
bool IsMusicFile(const char* path);
// The folder and the file name of the path edit's text (the folder without its last "\").
void SplitMusicPath(const std::string& path, std::string* folder, std::string* name);

// The page a tab shows: one of the five pages, or option panel k.
enum PageKind { PAGE_AUTORUN = 0, PAGE_SLIDESHOW, PAGE_ROTATION, PAGE_LAUNCHER, PAGE_MUSIC, PAGE_PANEL };
struct TabPage {
  PageKind kind;
  int panel;  // for PAGE_PANEL
};
TabPage PageOfTab(int tab, int panels);
inline int MusicTab(int panels) { return 4 + panels; }
const int kFirstPanelTab = 4;
const int kMaxPanels = 99;

// The pages' rectangle from the tab control's and its first tab's (dialog coordinates).
RECT PageRect(const RECT& tabs, const RECT& firstTab);

}  // namespace options
