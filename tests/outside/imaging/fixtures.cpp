#include "fixtures.h"

#include <gtest/gtest.h>
#include <files.h>
#include <tempfolder.h>

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
  std::string bytes = testsupport::ReadWholeFile(path);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

bool WriteAll(const std::string& path, const std::vector<uint8_t>& data) {
  return testsupport::WriteWholeFile(path, std::string(data.begin(), data.end()));
}

}  // namespace imgtest
