// The browser strip's decisions.
#include "SubViewRules.h"

#include <VxResourceIds.h>

namespace subview {

namespace {
const UINT kSortStrings[kSortEntries] = {IDS_SORT_NAME_ASC,     IDS_SORT_NAME_DESC,     IDS_SORT_SIZE_ASC,
                                         IDS_SORT_SIZE_DESC,    IDS_SORT_TYPE_ASC,      IDS_SORT_TYPE_DESC,
                                         IDS_SORT_MODIFIED_ASC, IDS_SORT_MODIFIED_DESC, IDS_SORT_SHOT_ASC,
                                         IDS_SORT_SHOT_DESC};
const int kSortIds[kSortEntries] = {19, 20, 15, 16, 17, 18, 13, 14, 11, 12};
const UINT kFilterStrings[kFilterEntries] = {IDS_FILTER_PHOTOS, IDS_FILTER_STILLS, IDS_FILTER_MOVIES, IDS_FILTER_ALL};
const int kFilterIds[kFilterEntries] = {0, 3, 4, 6};

int Find(const int* ids, int n, int id) {
  for (int i = 0; i < n; i++)
    if (ids[i] == id) return i;
  return -1;
}
}  // namespace

UINT SortStringOfEntry(int entry) { return entry >= 0 && entry < kSortEntries ? kSortStrings[entry] : 0; }
int SortIdOfEntry(int entry) { return entry >= 0 && entry < kSortEntries ? kSortIds[entry] : -1; }
UINT FilterStringOfEntry(int entry) { return entry >= 0 && entry < kFilterEntries ? kFilterStrings[entry] : 0; }
int FilterIdOfEntry(int entry) { return entry >= 0 && entry < kFilterEntries ? kFilterIds[entry] : -1; }
int EntryOfSortId(int sortId) { return Find(kSortIds, kSortEntries, sortId); }
int EntryOfFilterId(int filterId) { return Find(kFilterIds, kFilterEntries, filterId); }

int SortComboWidth(int widestText) { return widestText + 34 <= 114 ? 114 : 206; }
int FilterComboWidth(int widestText) { return std::max(widestText + 34, 114); }

int ComboVisibilityOfModeValue(int value) {
  switch (value) {
    case 1:
    case 2:
    case 5:
    case 6:
      return 1;
    case 10:
      return 0;
    default:
      return -1;
  }
}

bool IsMusicMode(UINT viewMode) { return viewMode == 256 || viewMode == 512; }

namespace {

Layout PlaceItems(const LayoutInput& in) {
  Layout out = {};
  out.music = IsMusicMode(in.viewMode);
  int x = 7;
  auto place = [&](Item item) {
    const SIZE& sz = in.size[item];
    int y = (in.cyStrip - sz.cy) / 2;
    out.rect[item] = RECT{x, y, x + sz.cx, y + sz.cy};
    out.shown[item] = true;
  };
  // A caption, its control 4 pixels after it, the next item 7 after the control.
  auto captioned = [&](Item caption, Item control) {
    place(caption);
    x += in.size[caption].cx + 4;
    place(control);
    x = out.rect[control].right + 7;
  };
  if (out.music) {
    captioned(kCaptionView, kToolbar);
    return out;
  }
  captioned(kCaptionView, kToolbar);
  if (in.viewMode != 16) {
    place(kSlider);
    x = out.rect[kSlider].right + 7;
  }
  if (in.combosShown) {
    captioned(kCaptionSort, kSortCombo);
    captioned(kCaptionFilter, kFilterCombo);
  }
  return out;
}

}  // namespace

Layout LayOut(const LayoutInput& in) {
  Layout out = PlaceItems(in);
  if (in.cxStrip <= 0 || out.music || !out.shown[kFilterCombo]) return out;
  // The same 7 pixels right of the filter combo as left of the first caption.
  int over = out.rect[kFilterCombo].right + 7 - in.cxStrip;
  if (over <= 0) return out;
  LayoutInput fit = in;
  for (Item combo : {kSortCombo, kFilterCombo}) {
    int give = std::min<int>(over, std::max(0, (int)fit.size[combo].cx - kMinComboWidth));
    fit.size[combo].cx -= give;
    over -= give;
  }
  return PlaceItems(fit);
}

CString TipOfCommandString(const CString& text) {
  int nl = text.Find('\n');
  return nl >= 0 ? text.Mid(nl + 1) : text;
}

}  // namespace subview
