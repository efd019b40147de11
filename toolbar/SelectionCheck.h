// The toolbar's check of the browser's files before a tool or an export runs: is there a
// file of the kinds the command takes, in the folder or among the marks? Files on drives
// that are neither fixed nor remote refuse the slide-show and card filters (7 and 12).
#pragma once
#include <fw/fw.h>

#include <functional>
#include <string>
#include <vector>

#include "ICGBrowser.h"

namespace selectioncheck {

enum Outcome { NOTHING_ACCEPTED, ACCEPTED, REFUSED_DRIVE };
struct Result {
  Outcome outcome;
  std::string refusedPath;  // the file on the refused drive
};
// The passes in order (the folder's files, then the marks); kind 0 takes any file.
Result CheckPasses(const std::vector<std::vector<std::string>>& passes, int kind,
                   const std::function<bool(const std::string&)>& supported,
                   const std::function<bool(const std::string&)>& onFixedOrRemoteDrive);

}  // namespace selectioncheck

// Whether the path's drive root is a fixed or a network drive.
BOOL IsOnFixedOrRemoteDrive(LPCSTR lpszPath);
// Nonzero when the command may go on. 0 with *pnReported 1: the message was shown here.
BOOL CheckSelectedFiles(ICGBrowser* pBrowser, int nKind, int* pnReported);
// The same with the browser's controller.
BOOL CheckSelectedFiles(int nKind, int* pnReported);
