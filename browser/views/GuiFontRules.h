// Which character sets the controls draw well by themselves (ANSI and the Far-East sets).
#pragma once
#include <fw/fw.h>

// 0, 128, 129, 130, 134, 136.
bool VxIsKnownCharset(BYTE charset);
