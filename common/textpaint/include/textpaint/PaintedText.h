// One line of text painted in the middle of a window's client area.
#pragma once

#include <fw/fw.h>

namespace textpaint {

// Measured on one line with the default GUI font, then drawn centred between 5 pixels
// from each side, vertically in the middle of the client area.
void PaintCentredLine(CWnd* pWnd, const CString& text);

}  // namespace textpaint
