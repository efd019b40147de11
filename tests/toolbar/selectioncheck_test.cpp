// The toolbar's check of the browser's files, as a table over the two passes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "SelectionCheck.h"

namespace {
using namespace selectioncheck;

TEST(SelectionCheck, Passes) {
  std::set<std::string> supported = {"C:\\a.jpg", "E:\\c.jpg"};
  auto isSupported = [&](const std::string& p) { return supported.count(p) > 0; };
  auto fixed = [](const std::string& p) { return p[0] != 'E'; };
  struct {
    std::vector<std::vector<std::string>> passes;
    int kind;
    Outcome outcome;
    std::string refused;
  } cases[] = {
      {{{}, {}}, 0, NOTHING_ACCEPTED, ""},
      {{{"C:\\x.txt"}, {}}, 0, ACCEPTED, ""},              // kind 0 takes any file
      {{{"C:\\x.txt"}, {"C:\\a.jpg"}}, 10, ACCEPTED, ""},  // found among the marks
      {{{"C:\\x.txt"}, {}}, 10, NOTHING_ACCEPTED, ""},
      {{{"E:\\x.txt", "C:\\a.jpg"}, {}}, 7, REFUSED_DRIVE, "E:\\x.txt"},  // a card file refuses slide shows
      {{{"E:\\x.txt", "C:\\a.jpg"}, {}}, 10, ACCEPTED, ""},               // other kinds skip it
      {{{"E:\\c.jpg"}, {}}, 12, ACCEPTED, ""},                            // an accepted card file stands
  };
  for (auto& c : cases) {
    Result r = CheckPasses(c.passes, c.kind, isSupported, fixed);
    EXPECT_EQ(c.outcome, r.outcome) << c.kind;
    EXPECT_EQ(c.refused, r.refusedPath) << c.kind;
  }
  // Without a browser there is nothing to check.
  int reported = 5;
  EXPECT_FALSE(CheckSelectedFiles((ICGBrowser*)nullptr, 10, &reported));
  EXPECT_EQ(0, reported);
}

}  // namespace
