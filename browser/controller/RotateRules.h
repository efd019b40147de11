// The decisions of rotating the selection, without windows.
#pragma once
#include <fw/fw.h>

// What the worker does with a file after the read-only question.
enum VXROTATEGO {
  VXROTATE_STOP,    // no answer or Cancel: stop everything
  VXROTATE_SKIP,    // "No" or "No to all" among several: leave this file
  VXROTATE_TURN,    // turn it (its read-only attribute cleared for the time)
};
// The answer of the read-only question (6 also for a file that is not read-only).
VXROTATEGO RotateAfterAnswer(int nAnswer);

// What the loop does after one file's result.
enum VXROTATESTEP {
  VXROTATE_NEXT,         // go on
  VXROTATE_NEXT_FAILED,  // count a write failure and go on
  VXROTATE_END,          // stop the loop
};
VXROTATESTEP RotateStepAfter(int nResult);

// The database session is renewed before items 1, 51, 101, … (counted from 1).
BOOL RotateRenewsSession(int nIndex);

// The box type of the read-only question: Yes/No (default No) for one file, with the
// for-all answers for several.
UINT RotateQuestionType(int nTotal);

// A previous answer that answers for all remaining files (Yes to all, No to all).
BOOL RotateAnswerIsForAll(int nAnswer);

// Whether an item of these kind bits is worth decoding to see if it turns: a still picture,
// not a shortcut to a file, not one of the RAW kinds.
BOOL RotateKindMayTurn(DWORD dwKind);
