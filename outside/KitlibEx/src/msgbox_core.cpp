#include "msgbox_core.h"

#include "profile_core.h"

namespace kitlibex {

namespace {

const BoxButton kOk = {IDOK, "OK"};
const BoxButton kCancel = {IDCANCEL, "キャンセル"};
const BoxButton kAbort = {IDABORT, "中止(&A)"};
const BoxButton kRetry = {IDRETRY, "再試行(&R)"};
const BoxButton kIgnore = {IDIGNORE, "無視(&I)"};
const BoxButton kYes = {IDYES, "はい(&Y)"};
const BoxButton kNo = {IDNO, "いいえ(&N)"};
const BoxButton kYesAll = {10, "すべてはい(&A)"};
const BoxButton kNoAll = {11, "すべていいえ(&L)"};

const char kSection[] = "MessageBox";

}  // namespace

std::vector<BoxButton> ButtonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {kOk, kCancel};
    case MB_ABORTRETRYIGNORE: return {kAbort, kRetry, kIgnore};
    case MB_YESNOCANCEL: return {kYes, kNo, kCancel};
    case MB_YESNO: return {kYes, kNo};
    case MB_RETRYCANCEL: return {kRetry, kCancel};
    case 6:
    case 7: return {kYes, kYesAll, kNo, kNoAll};
    default: return {kOk};
  }
}

size_t DefaultButtonIndex(UINT type, size_t count) {
  size_t i = (type & MB_DEFMASK) >> 8;
  return count == 0 ? 0 : (i < count ? i : 0);
}

int EscapeAnswer(UINT type) {
  std::vector<BoxButton> b = ButtonsOf(type);
  for (const BoxButton& x : b)
    if (x.id == IDCANCEL) return IDCANCEL;
  return (b.size() == 1 && b[0].id == IDOK) ? IDOK : 0;
}

int RememberedAnswer(const std::string& key) {
  if (key.empty()) return 0;
  int v = 0;
  return kitlib::RegReadInt(HKEY_CURRENT_USER, kitlib::JoinKeyPath(kitlib::ProgramRootPath(), kSection), key.c_str(),
                            &v)
             ? v
             : 0;
}

bool RememberAnswer(const std::string& key, int answer) {
  if (key.empty() || answer == 0) return false;
  return kitlib::RegWriteInt(HKEY_CURRENT_USER, kitlib::JoinKeyPath(kitlib::ProgramRootPath(), kSection),
                             key.c_str(), answer, false);
}

}  // namespace kitlibex
