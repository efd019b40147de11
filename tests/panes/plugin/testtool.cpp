// A tool plug-in (".psy") of the tool host's tests: its priority comes from the build.
#include <FolderTreePlugin.h>
#ifndef TOOL_PRIORITY
#define TOOL_PRIORITY 0
#endif
PLUGIN_EXPORT HRESULT GetPriority(int* priority) {
  *priority = TOOL_PRIORITY;
  return 0;
}
PLUGIN_EXPORT HRESULT OpenWindow(int mode, CWnd* toolbar, void*) { return mode; }
