// The decisions of rotating the selection.
#include <gtest/gtest.h>

#include "RotateRules.h"

TEST(RotateRules, AnswersAndResults) {
  struct {
    int answer;
    VXROTATEGO go;
  } answers[] = {{0, VXROTATE_STOP}, {IDCANCEL, VXROTATE_STOP}, {IDNO, VXROTATE_SKIP},
                 {11, VXROTATE_SKIP}, {IDYES, VXROTATE_TURN}, {10, VXROTATE_TURN}};
  for (auto& a : answers) EXPECT_EQ(a.go, RotateAfterAnswer(a.answer)) << a.answer;

  // A write-protected medium, a full disk and a stop end the run; another file's failure
  // (even a kind the rotation refuses) does not stop the others.
  struct {
    int result;
    VXROTATESTEP step;
  } results[] = {{0, VXROTATE_NEXT}, {29, VXROTATE_NEXT_FAILED}, {50, VXROTATE_NEXT_FAILED},
                 {-1, VXROTATE_END}, {19, VXROTATE_END}, {39, VXROTATE_END}};
  for (auto& r : results) EXPECT_EQ(r.step, RotateStepAfter(r.result)) << r.result;

  for (int i : {1, 51, 101}) EXPECT_TRUE(RotateRenewsSession(i)) << i;
  for (int i : {0, 2, 50, 52}) EXPECT_FALSE(RotateRenewsSession(i)) << i;
  EXPECT_EQ(260u, RotateQuestionType(1));
  EXPECT_EQ(262u, RotateQuestionType(2));
}

TEST(RotateRules, KindsWorthDecoding) {
  struct {
    DWORD kind;
    BOOL may;
  } cases[] = {{0x200, TRUE}, {0x210, TRUE}, {0x1000, FALSE}, {0x800, FALSE},
               {0x2201, FALSE},  // a shortcut to a file
               {0x2200, TRUE},   {0x201, TRUE}};
  for (auto& c : cases) EXPECT_EQ(c.may, RotateKindMayTurn(c.kind)) << std::hex << c.kind;
}
