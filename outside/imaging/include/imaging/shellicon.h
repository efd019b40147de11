// The shell's icon of a file drawn into a picture (for files without a
// thumbnail). The file need not exist: its extension then picks the icon.
#pragma once

#include <windows.h>

#include "imaging/dib.h"

namespace imaging {

// The icon drawn at width x height over background (24 bits), or with its
// transparency kept (bitCount 32, HasAlpha set).
HRESULT ShellIcon(const char* path, int width, int height, Dib* out, int bitCount = 24,
                  COLORREF background = RGB(255, 255, 255));

}  // namespace imaging
