// The one tree manager of the plug-in.
#include "DiskTreeModule.h"

namespace disktree {

void CreateManager() {}
void DestroyManager() {}

}  // namespace disktree
