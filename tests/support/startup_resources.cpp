// A start-up step of the test programs that show the program's own windows: as the
// program does at start-up, the resource library becomes the current resource module.
#include <fw/fw.h>

#include <VxGUIDB/Utility.h>
#include <testmain.h>

static testmain::StartUp useResources([] {
  if (HINSTANCE hRes = VxGetResourceLibrary()) AfxSetResourceHandle(hRes);
  return true;
});
