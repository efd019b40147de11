// What the picture tool libraries share around their one export,
//   int WINAPI <Tool>(LPCSTR lpszPath, LPSTR lpszOutput, int nFirst)
// which the toolbar calls once for each chosen file, nFirst 1 for the first: the answers,
// the caller's output buffer, "Tool1" "FirstPath" (the browser selects that file after
// the run) and the questions asked about one file.
#pragma once
#include "picturetool/Tool.h"

#include <functional>
#include <string>

namespace picturetool {

const int kGoOn = 1;             // the file is handled (or passed over): go on with the next
const int kStop = 2;             // cancelled: the caller ends the run
const size_t kOutputSize = 520;  // bytes of the caller's output buffer

// One call of a tool's export. On a run's first call "FirstPath" is emptied and settings()
// shows the tool's settings (false: cancelled, kStop). Then work(path, &output) handles
// the file: E_ABORT stops the run (kStop), another failure asks AskAfterFailure with the
// tool's title, success reports the output.
int RunCall(LPCSTR lpszPath, LPSTR lpszOutput, int nFirst, UINT nTitleId, const std::function<bool()>& settings,
            const std::function<HRESULT(const std::string&, std::string*)>& work);

// A new run (the first call): "FirstPath" is emptied.
void BeginRun();
// The path of a written file: into the caller's buffer (left empty when it does not fit)
// and, for the run's first output, into "Tool1" "FirstPath".
void ReportOutput(LPSTR lpszOutput, const std::string& path);

// After a file failed: string "<file> の<title>に失敗しました。続けますか?" (OK / Cancel).
// kGoOn or kStop.
int AskAfterFailure(UINT nTitleId, const std::string& path);
// Whether to replace the file (Yes), write a copy (No) or stop (Cancel): IDYES, IDNO or
// IDCANCEL.
int AskOverwrite(UINT nTitleId, const std::string& path);

}  // namespace picturetool
