// GetCGBrowser: the browser's controller for the main program and the plug-ins.
#include "ICGBrowser.h"

// No controller exists yet: the browser's views come without one, and callers take the
// missing controller as "no browser".
ICGBrowser* GetCGBrowser() { return NULL; }
