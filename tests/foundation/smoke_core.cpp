#include "smoke_core.h"

#include <cstdlib>
#include <cstring>

SmokeShape::~SmokeShape() { --SmokeCounter(); }
std::string SmokeShape::Name() const { return "shape"; }

int& SmokeCounter() {
  static int n = 0;
  return n;
}

char* SmokeDup(const char* s) {
  char* p = static_cast<char*>(malloc(strlen(s) + 1));
  strcpy(p, s);
  return p;
}

void SmokeFree(void* p) { free(p); }
void SmokeThrow(int code) { throw SmokeError(code); }
