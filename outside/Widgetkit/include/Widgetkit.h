// Widgetkit.dll: the maker's control library.
//   Widgetkit/BitmapButtonEx.h   CBitmapButtonEx, CBitmapButtonEx2
#pragma once

#include <Widgetkit/BitmapButtonEx.h>
