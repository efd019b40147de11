// The test plug-ins where a test wants them: a program folder of its own.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tempfolder.h"

namespace {

std::string PluginDir() {
  char sz[MAX_PATH];
  ::GetModuleFileNameA(NULL, sz, MAX_PATH);
  *strrchr(sz, '\\') = 0;
  return std::string(sz) + "\\testplugins\\";
}

// A program folder of the test's own with the given plug-ins under the given names.
struct PluginFolder {
  std::string dir = testsupport::NewTempFolder("plugins");
  ~PluginFolder() { testsupport::RemoveTree(dir); }
  void Put(const char* built, const std::string& as) {
    std::string to = dir + "\\" + as;
    for (size_t at = dir.size() + 1; (at = to.find('\\', at)) != std::string::npos; ++at)
      ::CreateDirectoryA(to.substr(0, at).c_str(), NULL);
    ASSERT_TRUE(::CopyFileA((PluginDir() + built).c_str(), to.c_str(), FALSE)) << built;
  }
};

}  // namespace
