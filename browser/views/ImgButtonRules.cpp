// The image buttons' decisions.
#include "ImgButtonRules.h"

namespace imgbutton {

UINT DrawState(UINT itemState, bool tracking, bool enabled, bool heldOrChecked) {
  UINT state = itemState & ~(ODS_FOCUS | ODS_SELECTED);
  if (tracking && enabled) state |= ODS_FOCUS;
  if (enabled && heldOrChecked) state |= ODS_SELECTED;
  return state;
}

bool CheckAfter(WPARAM value, bool checked, bool held) {
  if (value == BST_CHECKED) return true;
  if (value == BST_UNCHECKED) return held ? checked : false;
  return checked;
}

BYTE Blend(BYTE image, BYTE background, BYTE opacity) {
  if (image == 0) return background;
  return (BYTE)((image * (255 - opacity) + background * opacity) / 255);
}

}  // namespace imgbutton
