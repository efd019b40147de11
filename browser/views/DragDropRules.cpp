#include "DragDropRules.h"

#include <shlobj.h>

namespace dragdrop {

std::string HDropBytes(const std::vector<std::string>& paths, POINT pt) {
  DROPFILES head = {};
  head.pFiles = sizeof(DROPFILES);
  head.pt = pt;
  head.fNC = TRUE;
  head.fWide = FALSE;
  // The list has the folder format's layout.
  return std::string(reinterpret_cast<const char*>(&head), sizeof(head)) + FolderPathBytes(paths);
}

std::string FolderPathBytes(const std::vector<std::string>& folders) {
  std::string out;
  for (const std::string& f : folders) {
    out += f;
    out.push_back('\0');
  }
  out.push_back('\0');
  return out;
}

DWORD EnterEffect(bool hasAcceptedFormat, DWORD keyState) {
  if (!hasAcceptedFormat) return DROPEFFECT_NONE;
  return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void OutlinePoints(POINT cursor, POINT hotSpot, SIZE image, POINT out[8]) {
  const LONG left = cursor.x - hotSpot.x, top = cursor.y - hotSpot.y;
  const LONG right = left + image.cx, bottom = top + image.cy;
  const LONG midX = left + image.cx / 2, midY = top + image.cy / 2;
  const POINT pts[8] = {{left, top},    {midX, top},       {right, top}, {right, midY},
                        {right, bottom}, {midX, bottom}, {left, bottom}, {left, midY}};
  for (int i = 0; i < 8; ++i) out[i] = pts[i];
}

Feedback FeedbackOf(bool insideNoDrop, bool hasSource, bool overSource, bool allOutlineOver) {
  if (insideNoDrop && (!hasSource || overSource))
    return (hasSource && allOutlineOver) ? Feedback::NoDropShown : Feedback::NoDropHidden;
  return Feedback::Default;
}

POINT HotSpot(bool detailsList, POINT cursorClient, RECT iconDoc, POINT scroll, int sizeClass) {
  if (detailsList) return POINT{0, 0};
  const int margin = (sizeClass >= 4 && sizeClass <= 6) ? 8 : 5;
  return POINT{cursorClient.x - (iconDoc.left - scroll.x) - margin, cursorClient.y - (iconDoc.top - scroll.y) - margin};
}

}  // namespace dragdrop
