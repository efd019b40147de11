// The skinned drop-down list's state rules.
#include "SkinComboBoxRules.h"

namespace skincombo {

int StateAfterPress(bool onArrow, bool dropped, int state) {
  if (!onArrow) return state;
  return dropped ? kPressed : kHot;
}
int StateAfterRelease(bool onArrow) { return onArrow ? kHot : kNormal; }
int StateAfterMove(bool onArrow, int state) {
  if (state == kDisabled || state == kPressed) return state;
  return onArrow ? kHot : kNormal;
}
int StateAfterEnable(bool enabled, bool onArrow) {
  if (!enabled) return kDisabled;
  return onArrow ? kHot : kNormal;
}
int StateAfterTimer(bool onArrow, int state) {
  return (state == kHot || state == kPressed) && !onArrow ? kNormal : state;
}

}  // namespace skincombo
