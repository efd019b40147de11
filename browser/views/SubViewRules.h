// The browser strip's decisions, without windows (in the browser's core): which combo entry stands for which
// sort or filter id, how wide the combos are, where each control goes, and the tips.
#pragma once
#include <fw/fw.h>

namespace subview {

enum { kSortEntries = 10, kFilterEntries = 4 };
// Combo entries by index: their string ids and the ids they send.
UINT SortStringOfEntry(int entry);
int SortIdOfEntry(int entry);    // -1 outside the list
int FilterIdOfEntry(int entry);  // -1 outside the list
UINT FilterStringOfEntry(int entry);
// The entry of a document's id; -1 when the combo has none.
int EntryOfSortId(int sortId);
int EntryOfFilterId(int filterId);

// Combo widths from the widest entry text.
int SortComboWidth(int widestText);
int FilterComboWidth(int widestText);

// What a view-mode command's value does to the combos: 1 show, 0 hide, -1 leave.
int ComboVisibilityOfModeValue(int value);

enum Item { kCaptionView, kToolbar, kSlider, kCaptionSort, kSortCombo, kCaptionFilter, kFilterCombo, kItems };

struct LayoutInput {
  UINT viewMode;      // the document's view mode
  int cxStrip;        // the strip's client width; 0: room without end
  int cyStrip;        // the strip's client height
  SIZE size[kItems];  // each item's size (captions: the measured text)
  bool combosShown;   // as the last view-mode command left them
};

struct Layout {
  bool music;  // only the first caption and the toolbar
  bool shown[kItems];
  RECT rect[kItems];
};

// The narrowest a closed combo gets when the strip is short of room (its list keeps the
// full width).
enum { kMinComboWidth = 72 };

bool IsMusicMode(UINT viewMode);
// Places the items left to right; when they do not fit the strip's width the sort combo
// and then the filter combo give up width, down to kMinComboWidth.
Layout LayOut(const LayoutInput& in);

// A button's tip from its command string: the part after "\n", else all of it.
CString TipOfCommandString(const CString& text);

}  // namespace subview
