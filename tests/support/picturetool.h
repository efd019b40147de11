// A picture tool library of the program folder as the toolbar binds it: loaded by its
// full path, its one export int WINAPI <Tool>(path, 520-byte output, first) called per
// file; and the fixture of the tools' tests.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "profileroot.h"
#include "program.h"
#include "tempfolder.h"

namespace testsupport {

class PictureToolLibrary {
 public:
  typedef int(WINAPI* Export)(LPCSTR, LPSTR, int);
  PictureToolLibrary(const char* file, const char* exportName)
      : module_(LoadLibraryA((ProgramFolder() + "\\" + file).c_str())),
        export_(module_ ? reinterpret_cast<Export>(GetProcAddress(module_, exportName)) : nullptr) {}
  ~PictureToolLibrary() {
    if (module_) FreeLibrary(module_);
  }
  PictureToolLibrary(const PictureToolLibrary&) = delete;
  PictureToolLibrary& operator=(const PictureToolLibrary&) = delete;

  bool Bound() const { return export_ != nullptr; }
  // The export's answer; output (optional) gets what it wrote into the buffer.
  int Call(const std::string& path, int first, std::string* output = nullptr) {
    char buffer[520];
    memset(buffer, 'x', sizeof buffer);
    buffer[sizeof buffer - 1] = 0;
    int result = export_(path.c_str(), buffer, first);
    if (output) *output = buffer;
    return result;
  }

 private:
  HMODULE module_;
  Export export_;
};

// Tests of a tool on files: a scratch folder and a profile root of their own.
class ToolFilesTest : public testing::Test {
 protected:
  void SetUp() override { dir_ = NewTempFolder("pictool"); }
  void TearDown() override { RemoveTree(dir_); }
  // A fixture copied into the folder under a name of its own: the copy's path.
  std::string Copy(const std::string& fixture, const std::string& name) {
    std::string to = dir_ + "\\" + name;
    EXPECT_TRUE(CopyFileA(Fixture(fixture).c_str(), to.c_str(), FALSE)) << fixture;
    return to;
  }
  ScopedProfileRoot root_{"pictool"};
  std::string dir_;
};

}  // namespace testsupport
