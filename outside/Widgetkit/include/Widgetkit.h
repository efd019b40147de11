// Widgetkit.dll: the maker's control library.
//   Widgetkit/BitmapButtonEx.h   CBitmapButtonEx, CBitmapButtonEx2
//   Widgetkit/ImageListCtrl.h    CImageListCtrl
#pragma once

#include <Widgetkit/BitmapButtonEx.h>
#include <Widgetkit/ImageListCtrl.h>
