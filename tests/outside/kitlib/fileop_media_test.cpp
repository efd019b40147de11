// File operations against a full drive and a read-only medium: Wine's shell answers 0
// for a copy cut short by a full drive, a move that could not remove its source (a
// duplicate) and a write into a read-only folder. Only what happened may be reported.
#include <gtest/gtest.h>

#include <KitlibEx/KitlibEx.h>

#include <facility.h>
#include <program.h>

#include <string>
#include <vector>

#include "test_folder.h"

namespace {

std::string Medium(const char* name) { return testsupport::ProgramFolder() + "\\testmedia\\" + name; }

bool Mounted(const char* name) {
  return GetFileAttributesA((Medium(name) + "\\.mounted").c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// One source to one target folder; the written paths from the mapping.
int Operate(UINT func, const std::string& from, const std::string& to, std::vector<std::string>* written) {
  std::string f = from + '\0' + '\0';
  std::string t = to + '\0' + '\0';
  SHFILEOPSTRUCTA op = {};
  op.wFunc = func;
  op.pFrom = f.c_str();
  op.pTo = t.c_str();
  op.fFlags = FOF_WANTMAPPINGHANDLE | FOF_SILENT | FOF_NOERRORUI;
  int r = CMTLxFileOperation(&op);
  written->clear();
  if (auto* map = static_cast<CMTLX_NAMEMAPPING*>(op.hNameMappings)) {
    for (const char* p = map->pszWritten; *p; p += strlen(p) + 1) written->push_back(p);
    CMTLxFreeNameMapping(map);
  }
  return r;
}

}  // namespace

TEST(FileOperationMedia, AFullDriveLeavesNoCutCopy) {
  if (!Mounted("full")) SKIP_WITHOUT_FACILITY(testsupport::kMountFacility, "no small file system");
  TestFolder src("kx-media-src");
  src.Write("big.jpg", std::string(400 * 1024, 'B'));
  std::vector<std::string> written;
  EXPECT_LT(Operate(FO_COPY, src / "big.jpg", Medium("full"), &written), 0);
  EXPECT_TRUE(written.empty());
  EXPECT_FALSE(Exists(Medium("full") + "\\big.jpg"));
  EXPECT_LT(Operate(FO_MOVE, src / "big.jpg", Medium("full"), &written), 0);
  EXPECT_TRUE(written.empty());
  EXPECT_FALSE(Exists(Medium("full") + "\\big.jpg"));
  EXPECT_EQ(src.Read("big.jpg").size(), 400u * 1024);
}

TEST(FileOperationMedia, AReadOnlyMediumNeitherDuplicatesNorTakes) {
  if (!Mounted("readonly")) SKIP_WITHOUT_FACILITY(testsupport::kMountFacility, "no read-only medium");
  TestFolder dst("kx-media-dst");
  const std::string held = Medium("readonly") + "\\held.jpg";
  std::vector<std::string> written;
  // Out of it: the file cannot leave, so no copy of it may stay behind as "moved".
  EXPECT_LT(Operate(FO_MOVE, held, dst.path(), &written), 0);
  EXPECT_TRUE(written.empty());
  EXPECT_FALSE(dst.Exists("held.jpg"));
  EXPECT_TRUE(Exists(held));
  // Into it: nothing can be written.
  dst.Write("new.jpg", "new");
  EXPECT_LT(Operate(FO_COPY, dst / "new.jpg", Medium("readonly"), &written), 0);
  EXPECT_LT(Operate(FO_MOVE, dst / "new.jpg", Medium("readonly"), &written), 0);
  EXPECT_TRUE(written.empty());
  EXPECT_FALSE(Exists(Medium("readonly") + "\\new.jpg"));
  EXPECT_EQ(dst.Read("new.jpg"), "new");
}
