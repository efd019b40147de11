// Where copied and moved files land: computed before anything is touched.
#include <gtest/gtest.h>

#include <map>

#include "fileop_core.h"
#include <textkit/textkit.h>

namespace {

using kitlibex::PlanCopyMove;
using kitlibex::PlanError;
using kitlibex::PlannedMove;

// A small imaginary disk: path (upper case) -> attributes.
struct FakeDisk {
  std::map<std::string, DWORD> entries;
  static std::string Key(const std::string& p) { return textkit::FoldCase(p); }
  void Add(const std::string& p, DWORD attr) { entries[Key(p)] = attr; }
  DWORD operator()(const std::string& p) const {
    auto it = entries.find(Key(p));
    return it == entries.end() ? INVALID_FILE_ATTRIBUTES : it->second;
  }
};

FakeDisk Disk() {
  FakeDisk d;
  for (const char* f : {"C:\\SRC\\A.JPG", "C:\\SRC\\B.JPG", "C:\\OTHER\\A.JPG", "C:\\DST\\B.JPG", "C:\\DST\\B (2).JPG",
                        "C:\\SRC\\00001.CONT", "C:\\SRC\\.PROFILE"})
    d.Add(f, FILE_ATTRIBUTE_ARCHIVE);
  for (const char* f : {"C:\\SRC", "C:\\DST", "C:\\OTHER", "C:\\SRC\\SUB.D", "C:\\DST\\SUB.D"})
    d.Add(f, FILE_ATTRIBUTE_DIRECTORY);
  return d;
}

std::vector<std::string> Targets(const std::vector<PlannedMove>& plan) {
  std::vector<std::string> t;
  for (const PlannedMove& m : plan) t.push_back(m.target);
  return t;
}

TEST(FilePlan, FreeNamesAndCollisionsWithDiskAndPlan) {
  std::vector<PlannedMove> plan;
  ASSERT_EQ(PlanCopyMove(FO_COPY, {"C:\\SRC\\A.JPG", "C:\\SRC\\B.JPG", "C:\\OTHER\\A.JPG"}, {"C:\\DST\\"}, true, Disk(),
                         &plan),
            PlanError::None);
  EXPECT_EQ(Targets(plan),
            (std::vector<std::string>{"C:\\DST\\A.JPG", "C:\\DST\\B (3).JPG", "C:\\DST\\A (2).JPG"}));
}

TEST(FilePlan, CopyIntoItsOwnFolderNamesACopy) {
  std::vector<PlannedMove> plan;
  FakeDisk d = Disk();
  ASSERT_EQ(PlanCopyMove(FO_COPY, {"C:\\SRC\\00001.cont"}, {"C:\\SRC"}, false, d, &plan), PlanError::None);
  EXPECT_EQ(plan[0].target, "C:\\SRC\\00001 - コピー.cont");  // the clip's name stays inside the new one
  d.Add("C:\\SRC\\00001 - コピー.cont", FILE_ATTRIBUTE_ARCHIVE);
  ASSERT_EQ(PlanCopyMove(FO_COPY, {"C:\\SRC\\00001.cont"}, {"C:\\SRC"}, false, d, &plan), PlanError::None);
  EXPECT_EQ(plan[0].target, "C:\\SRC\\00001 - コピー (2).cont");
  ASSERT_EQ(PlanCopyMove(FO_COPY, {"C:\\SRC\\.profile"}, {"C:\\SRC"}, false, d, &plan), PlanError::None);
  EXPECT_EQ(plan[0].target, "C:\\SRC\\.profile - コピー");
}

TEST(FilePlan, MoveOntoItselfIsNothingToDo) {
  std::vector<PlannedMove> plan;
  ASSERT_EQ(PlanCopyMove(FO_MOVE, {"C:\\SRC\\A.JPG", "C:\\SRC\\B.JPG"}, {"C:\\SRC\\"}, true, Disk(), &plan),
            PlanError::None);
  ASSERT_EQ(plan.size(), 2u);
  EXPECT_TRUE(plan[0].noOp);
  EXPECT_EQ(plan[0].target, "C:\\SRC\\A.JPG");
}

TEST(FilePlan, FoldersKeepDotsAndMayNotGoIntoThemselves) {
  std::vector<PlannedMove> plan;
  ASSERT_EQ(PlanCopyMove(FO_COPY, {"C:\\SRC\\SUB.D"}, {"C:\\DST"}, false, Disk(), &plan), PlanError::None);
  EXPECT_EQ(plan[0].target, "C:\\DST\\SUB.D (2)");
  EXPECT_EQ(PlanCopyMove(FO_MOVE, {"C:\\SRC"}, {"C:\\SRC\\SUB.D"}, false, Disk(), &plan), PlanError::IntoItself);
  EXPECT_EQ(PlanCopyMove(FO_COPY, {"C:\\SRC"}, {"C:\\SRC"}, false, Disk(), &plan), PlanError::IntoItself);
}

TEST(FilePlan, PerFileTargetsAndErrors) {
  std::vector<PlannedMove> plan;
  ASSERT_EQ(PlanCopyMove(FO_COPY, {"C:\\SRC\\A.JPG", "C:\\SRC\\B.JPG"}, {"C:\\DST\\X.JPG", "C:\\DST\\B.JPG"}, true,
                         Disk(), &plan),
            PlanError::None);
  EXPECT_EQ(Targets(plan), (std::vector<std::string>{"C:\\DST\\X.JPG", "C:\\DST\\B (3).JPG"}));
  EXPECT_EQ(PlanCopyMove(FO_COPY, {"C:\\SRC\\NONE.JPG"}, {"C:\\DST"}, false, Disk(), &plan), PlanError::NoSource);
  EXPECT_EQ(PlanCopyMove(FO_COPY, {}, {"C:\\DST"}, false, Disk(), &plan), PlanError::NoSource);
  EXPECT_EQ(PlanCopyMove(FO_COPY, {"C:\\SRC\\A.JPG"}, {}, false, Disk(), &plan), PlanError::NoTarget);
}

TEST(FilePlan, MultiStrings) {
  const char list[] = "C:\\a\0C:\\b\0\0";
  auto items = kitlibex::SplitMultiString(list);
  EXPECT_EQ(items, (std::vector<std::string>{"C:\\a", "C:\\b"}));
  EXPECT_EQ(kitlibex::JoinMultiString(items), std::string(list, sizeof(list) - 1));
  EXPECT_TRUE(kitlibex::SplitMultiString(nullptr).empty());
}

}  // namespace
