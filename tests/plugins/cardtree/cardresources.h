// The resource library made the card plug-in's own while a test lives.
#pragma once
#include <CardRules.h>

namespace cardtest {

struct Resources {
  HMODULE module = LoadLibraryA("VxResource.dll");
  Resources() { cardtree::SetResourceModule(module); }
  ~Resources() { cardtree::SetResourceModule(nullptr); }
};

}  // namespace cardtest
