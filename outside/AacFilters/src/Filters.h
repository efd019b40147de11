// The two filters, made with one reference each (null when memory runs out).
#pragma once

#include <windows.h>
#include <dshow.h>

namespace aacfilters {
IBaseFilter* CreateSplitter();
IBaseFilter* CreateDecoder();
}  // namespace aacfilters
