// The font rule shared by the program's dialogs and strips: the system's default GUI
// font is handed to child windows only when its character set is not one the controls
// draw well by themselves (ANSI and the Far-East sets).
#pragma once
#include <fw/fw.h>

#include "GuiFontRules.h"
#include "VxGUITransApi.h"

// Gives every child of pWnd the default GUI font, unless its character set is known.
VXGUITRANS_API void VxApplyGuiFontRule(CWnd* pWnd);

// Inside the library:
// The character set of the default GUI font.
BYTE VxGuiFontCharset();
// Gives every child of pWnd hFont.
void VxSendFontToChildren(CWnd* pWnd, HFONT hFont);
