#include "fixtures.h"

#include <gtest/gtest.h>
#include <tempfolder.h>

#include <fstream>
#include <iterator>

namespace imgtest {

namespace {
std::string scratch;
// The scratch folder goes when the program ends.
class ScratchCleanup : public testing::Environment {
 public:
  void TearDown() override {
    if (!scratch.empty()) testsupport::RemoveTree(scratch);
  }
};
testing::Environment* const kCleanup = testing::AddGlobalTestEnvironment(new ScratchCleanup);
}  // namespace

std::string ScratchDir() {
  if (scratch.empty()) scratch = testsupport::NewTempFolder("glimora-imaging");
  return scratch;
}

std::string ScratchCopy(const char* fixture, const char* name) {
  std::string to = ScratchDir() + "\\" + name;
  CopyFileA(Fixture(fixture).c_str(), to.c_str(), FALSE);
  return to;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

bool WriteAll(const std::string& path, const std::vector<uint8_t>& data) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  return bool(f);
}

}  // namespace imgtest
