// GetCGBrowser: the browser's controller for the main program and the plug-ins; null
// before the icon view made one and after it is gone.
#include "TransInternal.h"

ICGBrowser* GetCGBrowser() { return g_pTransController; }
