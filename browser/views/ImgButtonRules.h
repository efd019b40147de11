// The image buttons' decisions without a window: the drawing state they hand to the bitmap
// button, the check answers and the background blend of the hover button.
#pragma once
#include <fw/fw.h>

namespace imgbutton {

enum { kToolId = 1, kRepeatTimer = 1, kRepeatMs = 500, kTipRectMessage = 1124 };

// The focus bit (the hover look) only while tracking and enabled; selected when enabled
// and held (or checked).
UINT DrawState(UINT itemState, bool tracking, bool enabled, bool heldOrChecked);
// BM_SETCHECK: the new check state (1 checks, 0 unchecks unless held, others keep).
bool CheckAfter(WPARAM value, bool checked, bool held);
// One colour byte over the background at an opacity (0 = the image alone, 255 = the background).
BYTE Blend(BYTE image, BYTE background, BYTE opacity);

}  // namespace imgbutton
