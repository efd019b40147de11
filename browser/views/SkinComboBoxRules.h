// The skinned drop-down list's states, without windows: which picture the arrow part
// shows after each event.
#pragma once

namespace skincombo {
enum State { kNormal = 0, kHot = 1, kPressed = 2, kDisabled = 3 };
enum { kArrowWidth = 23, kItemHeight = 12 };
// The state after an event, from the current one and where the cursor is.
int StateAfterPress(bool onArrow, bool dropped, int state);
int StateAfterRelease(bool onArrow);
int StateAfterMove(bool onArrow, int state);
int StateAfterEnable(bool enabled, bool onArrow);
int StateAfterTimer(bool onArrow, int state);
}  // namespace skincombo
