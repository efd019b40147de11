// The decisions of dragging thumbnails out of the browser and of the browser's drop
// target, without windows: the bytes of the formats offered, the drop target's effect,
// and where the drag image may be shown.
#pragma once
#include <fw/fw.h>

#include <string>
#include <vector>

namespace dragdrop {

// The DROPFILES record (20 bytes: list offset 20, the point, non-client 1, wide 0), each
// path in the ANSI code page with its NUL, then one more NUL.
std::string HDropBytes(const std::vector<std::string>& paths, POINT pt);

// The folder-path format: each folder with its NUL, then one more NUL; no folders give one
// zero byte.
std::string FolderPathBytes(const std::vector<std::string>& folders);

// The drop target's effect on entering: none without an accepted format, copy with Ctrl,
// else move.
DWORD EnterEffect(bool hasAcceptedFormat, DWORD keyState);

// The eight points of the drag image's outline around the cursor (its corners and edge
// midpoints), placed by the hot spot and the image size.
void OutlinePoints(POINT cursor, POINT hotSpot, SIZE image, POINT out[8]);

// What GiveFeedback does with the cursor in a no-drop rectangle (one of the source's own
// windows): the "no" cursor with the image shown or hidden; elsewhere the image hides and
// the default feedback runs.
enum class Feedback { NoDropShown, NoDropHidden, Default };
// insideNoDrop: the cursor is in a no-drop rectangle; hasSource: a source window is set;
// overSource: the cursor lies over it; allOutlineOver: every outline point lies over the
// source window or one of its children.
Feedback FeedbackOf(bool insideNoDrop, bool hasSource, bool overSource, bool allOutlineOver);

// The drag image's hot spot inside an item: the cursor (client coordinates) minus the
// item's icon rectangle (document coordinates, moved by the scroll position) minus the
// frame margin (8 for thumbnail size classes 4 to 6, else 5); (0, 0) over the details list.
POINT HotSpot(bool detailsList, POINT cursorClient, RECT iconDoc, POINT scroll, int sizeClass);

}  // namespace dragdrop
