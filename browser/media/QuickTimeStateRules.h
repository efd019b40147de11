// The bridge state's value names without the registry.
#pragma once
#include <string>

// A value's name for the running program: "name_program", or the bare name without one.
std::string QuickTimeValueName(const char* name, const std::string& program);
