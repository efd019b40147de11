// The decisions of rotating the selection (see RotateRules.h).
#include "RotateRules.h"

namespace {
const int kYesToAll = 10, kNoToAll = 11;  // the in-house box's for-all answers
}

VXROTATEGO RotateAfterAnswer(int nAnswer) {
  switch (nAnswer) {
    case 0:
    case IDCANCEL: return VXROTATE_STOP;
    case IDNO:
    case kNoToAll: return VXROTATE_SKIP;
    default: return VXROTATE_TURN;
  }
}

VXROTATESTEP RotateStepAfter(int nResult) {
  switch (nResult) {
    case 0: return VXROTATE_NEXT;
    case 29: return VXROTATE_NEXT_FAILED;
    case -1:
    case 19:
    case 39: return VXROTATE_END;
    // Any other code of the rotation call (an unsupported kind, a bad angle) is counted as
    // a failure of that file; the others still turn.
    default: return VXROTATE_NEXT_FAILED;
  }
}

BOOL RotateRenewsSession(int nIndex) { return nIndex >= 1 && (nIndex - 1) % 50 == 0; }

UINT RotateQuestionType(int nTotal) {
  return nTotal > 1 ? (MB_DEFBUTTON2 | 0x00000006L) : (MB_YESNO | MB_DEFBUTTON2);
}

BOOL RotateAnswerIsForAll(int nAnswer) { return nAnswer == kYesToAll || nAnswer == kNoToAll; }

BOOL RotateKindMayTurn(DWORD dwKind) {
  if (!(dwKind & 0x200)) return FALSE;           // still picture
  if ((dwKind & 0x2001) == 0x2001) return FALSE;  // a shortcut to a file
  return dwKind != 129 && dwKind != 130;
}
