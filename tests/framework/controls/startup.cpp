// The control tests have OLE initialised on the main thread, as the application does.
#include <fw/fw.h>

#include <testmain.h>

static testmain::StartUp ole([] { return AfxOleInit() != FALSE; }, [] { AfxOleTerm(); });
