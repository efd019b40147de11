// The search profile lives in KitlibEx (its similar-image search settings).
#include <KitlibEx/KitlibEx.h>

#include "similar.h"

namespace psw {

bool WriteSearchProfile(int type, const std::string& name, const std::string& query, int value) {
  return CMTLxWriteSearchProfile(type, name.c_str(), query.c_str(), value) != FALSE;
}

}  // namespace psw
