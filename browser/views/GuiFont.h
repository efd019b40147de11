// The font rule shared by the program's dialogs and strips: the system's default GUI
// font is handed to child windows only when its character set is not one the controls
// draw well by themselves (ANSI and the Far-East sets).
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

// 0, 128, 129, 130, 134, 136.
VXGUITRANS_API bool VxIsKnownCharset(BYTE charset);
// The character set of the default GUI font.
VXGUITRANS_API BYTE VxGuiFontCharset();
// Gives every child of pWnd the default GUI font, unless its character set is known.
VXGUITRANS_API void VxApplyGuiFontRule(CWnd* pWnd);
// Gives every child of pWnd hFont.
VXGUITRANS_API void VxSendFontToChildren(CWnd* pWnd, HFONT hFont);
