#include "shelltest.h"

namespace shelltest {

HINSTANCE ResourceDll() {
  static HINSTANCE h = ::LoadLibraryA("VxResource.dll");
  return h;
}

}  // namespace shelltest
