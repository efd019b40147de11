// The movie kit for the programs in Core\: moviekit.dll lies in the program folder above
// them, where the loader does not look, so they link it delay-loaded and bind it here.
#pragma once

#include <windows.h>

namespace movietools {

// Names the program folder above the running program as the place of moviekit.dll and
// binds every import of the kit at once, before the first call: a call bound on its way
// would pass through a helper that need not keep its floating-point arguments. S_OK, or
// HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND) when the kit is not there; then no call of the
// kit may be made.
HRESULT LoadKitAbove();

}  // namespace movietools
