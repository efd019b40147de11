// Copy and move planning: where each source lands, computed before anything is touched,
// so that no platform dialog has to ask about a name that is already taken.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kitlibex {

// Attributes of a path, INVALID_FILE_ATTRIBUTES when it does not exist.
typedef std::function<DWORD(const std::string&)> AttributeProbe;
DWORD DiskAttributes(const std::string& path);

// A NUL-separated list ended by an empty string -> its items; at most maxItems.
std::vector<std::string> SplitMultiString(const char* list, size_t maxItems = 100000);
// Items -> a NUL-separated list ended by an empty string.
std::string JoinMultiString(const std::vector<std::string>& items);

struct PlannedMove {
  std::string source;
  std::string target;
  bool noOp = false;  // a move onto itself: nothing to do, the file stays where it is
};

enum class PlanError { None, NoSource, NoTarget, IntoItself };

// Plans a copy (FO_COPY) or move (FO_MOVE). `targets` is either one folder for every
// source, or (multiDest with as many targets as sources) one full path per source.
// Names already taken on disk or earlier in the plan get " (2)", " (3)", … before the
// extension; a copy onto its own folder becomes "name - コピー.ext" (then
// "name - コピー (2).ext"), as the shell names such copies.
PlanError PlanCopyMove(UINT func, const std::vector<std::string>& sources, const std::vector<std::string>& targets,
                       bool multiDest, const AttributeProbe& probe, std::vector<PlannedMove>* plan);

// The shell flags for executing a plan: the caller's display and undo wishes, never a
// question about names or folders (the plan already made them unique).
FILEOP_FLAGS ShellFlagsForPlan(FILEOP_FLAGS callerFlags);

}  // namespace kitlibex
