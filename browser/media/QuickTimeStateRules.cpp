#include "QuickTimeStateRules.h"

std::string QuickTimeValueName(const char* name, const std::string& program) {
  return program.empty() ? std::string(name) : std::string(name) + "_" + program;
}
