#include "picturetool/ToolRun.h"

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <fw/fw.h>

#include <textkit/path.h>

#include <cstring>

namespace picturetool {

namespace {

int Box(UINT nTextId, UINT nTitleId, const std::string& path, UINT nType) {
  CString strTitle, strText;
  strTitle.LoadString(nTitleId);
  strText.Format(nTextId, textkit::FileNameOf(path).c_str(), (LPCSTR)strTitle);
  return ::MessageBoxA(OwnerWindow(), strText, strTitle, nType);
}

}  // namespace

int RunCall(LPCSTR lpszPath, LPSTR lpszOutput, int nFirst, UINT nTitleId, const std::function<bool()>& settings,
            const std::function<HRESULT(const std::string&, std::string*)>& work) {
  if (lpszOutput) lpszOutput[0] = 0;
  if (nFirst) {
    BeginRun();
    if (!settings()) return kStop;
  }
  if (!lpszPath || !*lpszPath) return kGoOn;
  std::string output;
  HRESULT hr = work(lpszPath, &output);
  if (hr == E_ABORT) return kStop;
  if (FAILED(hr)) return AskAfterFailure(nTitleId, lpszPath);
  ReportOutput(lpszOutput, output);
  return kGoOn;
}

void BeginRun() { ClearFirstPath(); }

void ReportOutput(LPSTR lpszOutput, const std::string& path) {
  if (lpszOutput) {
    lpszOutput[0] = 0;
    if (path.size() < kOutputSize) memcpy(lpszOutput, path.c_str(), path.size() + 1);
  }
  WriteFirstOutput(path);
}

int AskAfterFailure(UINT nTitleId, const std::string& path) {
  return Box(IDS_PICTOOL_FAILED, nTitleId, path, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK ? kGoOn : kStop;
}

int AskOverwrite(UINT nTitleId, const std::string& path) {
  return Box(IDS_PICTOOL_OVERWRITE_ASK, nTitleId, path, MB_YESNOCANCEL | MB_ICONQUESTION);
}

}  // namespace picturetool
