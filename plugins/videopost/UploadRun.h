// One upload run of the plug-in: the checks, the companion files, the uploader started by
// the launch thread and the files deleted once the uploader has ended.
#pragma once
#include <fw/fw.h>

#include <ICGBrowser.h>

#define WM_UPLOADER_READY 1147

namespace uploadrun {

long OpenWindow(int nType, HWND hPane, HWND hMain, CGFileInfoList* pFiles);
// Process detach: deletes the files of the runs whose uploader has ended or never started
// (a running uploader's thread holds the module, so only the process's end can leave one).
void DeleteEndedRuns();

}  // namespace uploadrun
