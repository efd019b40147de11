// What the full-screen windows (zoom, slide show) share: the opening animation and the
// task bar they hide while they cover the screen.
#pragma once
#include <fw/fw.h>

// A white frame growing from the centre of rc in 21 steps of 10 ms, on black; the screen
// is black afterwards. Stops early (returning false) as soon as *pbStop is set.
bool DrawFullScreenOpening(CDC& dc, const CRect& rc, const BOOL* pbStop);
void SetTaskBarShown(bool bShown);
