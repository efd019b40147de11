// Property sets behind the handles: a registry of live sets, so that a stale or foreign
// handle is refused instead of followed.
#pragma once

#include <map>
#include <string>

#include "VxProperty.h"
#include "facts.h"

namespace vxprop {

struct PropertySet {
  FileFacts facts;
  std::map<DWORD, std::string> texts;  // handed-out texts live as long as the set
};

HPRPROPERTY OpenSet(const char* path);
// A set of gathered facts (taken over); null when gathered is false.
HPRPROPERTY OpenSetOf(bool gathered, FileFacts* facts);
// The live set of a handle, or null.
PropertySet* FindSet(HPRPROPERTY h);
bool CloseSet(HPRPROPERTY h);
// The ".cont" path of an AVCHD scene through the registered resolver; "" when none.
std::string ResolveScene(int a, int b, int c);

}  // namespace vxprop
