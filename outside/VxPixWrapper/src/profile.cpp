// The search profile lives in KitlibEx (its similar-image search settings); the library
// is linked when the build has it.
#include "similar.h"

#ifdef PSW_WITH_KITLIBEX
#include <KitlibEx/KitlibEx.h>
#endif

namespace psw {

bool WriteSearchProfile(int type, const std::string& name, const std::string& query, int value) {
#ifdef PSW_WITH_KITLIBEX
  return CMTLxWriteSearchProfile(type, name.c_str(), query.c_str(), value) != FALSE;
#else
  (void)type, (void)name, (void)query, (void)value;
  return false;
#endif
}

}  // namespace psw
