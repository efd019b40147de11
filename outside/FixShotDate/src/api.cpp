// FixShotDate.dll: the export the toolbar's shooting-date command binds, and its dialog.
#include <windows.h>

#include <VxResourceIds.h>
#include <dlgkit/memdialog.h>
#include <imaging/com.h>
#include <picturetool/Tool.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "FixShotDate/FixShotDate.h"

namespace {

using fixshotdate::Settings;

struct FixState {
  std::vector<std::string> paths;
  Settings settings;
  fixshotdate::Plan plan;
  std::string firstDate;  // the first picture's date as shown
};

std::string ItemText(HWND dlg, int id) {
  char text[128] = "";
  GetDlgItemTextA(dlg, id, text, sizeof text);
  return text;
}

// A whole number in the field, blanks around it allowed; an empty field is 0.
bool ReadInt(HWND dlg, int id, int* value) {
  std::string text = ItemText(dlg, id);
  size_t a = text.find_first_not_of(' '), b = text.find_last_not_of(' ');
  if (a == std::string::npos) {
    *value = 0;
    return true;
  }
  text = text.substr(a, b - a + 1);
  char* end = nullptr;
  errno = 0;
  long v = strtol(text.c_str(), &end, 10);
  if (errno || *end || v < -10000000 || v > 10000000) return false;
  *value = int(v);
  return true;
}

void EnableFields(HWND dlg) {
  bool shift = IsDlgButtonChecked(dlg, fixshotdate::kShiftId) == BST_CHECKED;
  EnableWindow(GetDlgItem(dlg, fixshotdate::kDateId), !shift);
  for (int id : {fixshotdate::kDaysId, fixshotdate::kHoursId, fixshotdate::kMinutesId, fixshotdate::kSecondsId})
    EnableWindow(GetDlgItem(dlg, id), shift);
}

void Message(HWND owner, UINT id, int count = -1) {
  std::string text = picturetool::Text(id);
  if (count >= 0) {
    char buf[512];
    snprintf(buf, sizeof buf, text.c_str(), count);
    text = buf;
  }
  MessageBoxA(owner, text.c_str(), picturetool::Text(IDS_TB_TOOL_FIX_SHOT_DATE).c_str(), MB_ICONEXCLAMATION);
}

// The plan of the filled-in dialog; false (the user told) when a field is wrong.
bool ReadPlan(HWND dlg, FixState* st) {
  Settings s = st->settings;
  s.mode = IsDlgButtonChecked(dlg, fixshotdate::kShiftId) == BST_CHECKED ? 1 : 0;
  s.allTags = IsDlgButtonChecked(dlg, fixshotdate::kAllTagsId) == BST_CHECKED;
  fixshotdate::Plan plan;
  plan.shift = s.mode == 1;
  plan.allTags = s.allTags;
  if (plan.shift) {
    if (!ReadInt(dlg, fixshotdate::kDaysId, &s.days) || !ReadInt(dlg, fixshotdate::kHoursId, &s.hours) ||
        !ReadInt(dlg, fixshotdate::kMinutesId, &s.minutes) || !ReadInt(dlg, fixshotdate::kSecondsId, &s.seconds)) {
      Message(dlg, IDS_FIXDATE_BAD_SHIFT);
      return false;
    }
    plan.shiftSeconds = fixshotdate::ShiftSeconds(s);
  } else {
    auto date = imaging::ExifDateTime::Parse(ItemText(dlg, fixshotdate::kDateId));
    if (!date || !date->Seconds()) {
      Message(dlg, IDS_FIXDATE_BAD_DATE);
      return false;
    }
    plan.date = *date;
  }
  st->settings = s;
  st->plan = plan;
  return true;
}

INT_PTR CALLBACK FixProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  auto* st = dlgkit::DialogState<FixState>(dlg, msg, lp);
  switch (msg) {
    case WM_INITDIALOG: {
      char files[512];
      snprintf(files, sizeof files, picturetool::Text(IDS_FIXDATE_FILES).c_str(), int(st->paths.size()),
               st->firstDate.c_str());
      SetDlgItemTextA(dlg, fixshotdate::kFilesId, files);
      SetDlgItemTextA(dlg, fixshotdate::kDateId, st->firstDate.c_str());
      const Settings& s = st->settings;
      SetDlgItemInt(dlg, fixshotdate::kDaysId, UINT(s.days), TRUE);
      SetDlgItemInt(dlg, fixshotdate::kHoursId, UINT(s.hours), TRUE);
      SetDlgItemInt(dlg, fixshotdate::kMinutesId, UINT(s.minutes), TRUE);
      SetDlgItemInt(dlg, fixshotdate::kSecondsId, UINT(s.seconds), TRUE);
      CheckRadioButton(dlg, fixshotdate::kSetId, fixshotdate::kShiftId,
                       s.mode ? fixshotdate::kShiftId : fixshotdate::kSetId);
      CheckDlgButton(dlg, fixshotdate::kAllTagsId, s.allTags ? BST_CHECKED : BST_UNCHECKED);
      EnableFields(dlg);
      dlgkit::CenterOverOwner(dlg);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case fixshotdate::kSetId:
        case fixshotdate::kShiftId: EnableFields(dlg); break;
        case IDOK:
          if (ReadPlan(dlg, st)) EndDialog(dlg, IDOK);
          break;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); break;
      }
      return TRUE;
  }
  return FALSE;
}

INT_PTR RunDialog(FixState* st) {
  using picturetool::Text;
  const DWORD child = WS_CHILD | WS_VISIBLE;
  dlgkit::DialogTemplate t(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 270, 156,
                           Text(IDS_TB_TOOL_FIX_SHOT_DATE).c_str());
  t.Add(dlgkit::kStatic, child, 8, 8, 254, 20, fixshotdate::kFilesId, "");
  t.Add(dlgkit::kButton, child | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 8, 32, 254, 12, fixshotdate::kSetId,
        Text(IDS_FIXDATE_SET).c_str());
  t.Add(dlgkit::kEdit, child | WS_BORDER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, 20, 46, 120, 13,
        fixshotdate::kDateId, "");
  t.Add(dlgkit::kButton, child | WS_TABSTOP | BS_AUTORADIOBUTTON, 8, 66, 254, 12, fixshotdate::kShiftId,
        Text(IDS_FIXDATE_SHIFT).c_str());
  const WORD fields[4] = {fixshotdate::kDaysId, fixshotdate::kHoursId, fixshotdate::kMinutesId,
                          fixshotdate::kSecondsId};
  const UINT units[4] = {IDS_FIXDATE_DAYS, IDS_FIXDATE_HOURS, IDS_FIXDATE_MINUTES, IDS_FIXDATE_SECONDS};
  for (int i = 0; i < 4; ++i) {
    t.Add(dlgkit::kEdit, child | WS_BORDER | WS_TABSTOP | (i == 0 ? WS_GROUP : 0) | ES_AUTOHSCROLL, 20 + i * 62, 80, 34,
          13, fields[i], "0");
    t.Add(dlgkit::kStatic, child, 56 + i * 62, 82, 24, 10, 0xFFFF, Text(units[i]).c_str());
  }
  t.Add(dlgkit::kButton, child | WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, 8, 104, 254, 12, fixshotdate::kAllTagsId,
        Text(IDS_FIXDATE_ALL_TAGS).c_str());
  t.Add(dlgkit::kButton, child | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 156, 134, 50, 14, IDOK,
        Text(IDS_TOOLS_OK).c_str());
  t.Add(dlgkit::kButton, child | WS_TABSTOP, 212, 134, 50, 14, IDCANCEL, Text(IDS_TOOLS_CANCEL).c_str());
  return t.Run(picturetool::OwnerWindow(), FixProc, reinterpret_cast<LPARAM>(st));
}

}  // namespace

// 1 when dates were changed ("Tool1" "FirstPath" names the first such file), 2 when the
// user cancelled, 0 when nothing could be changed.
extern "C" __declspec(dllexport) int WINAPI FixShotDate(CGFileInfoList* pList) {
  imaging::ComScope com;
  FixState st;
  st.paths = picturetool::Paths(pList);
  if (st.paths.empty()) return 0;
  st.settings = fixshotdate::LoadSettings();
  imaging::Exif first;
  if (first.Load(st.paths.front().c_str()))
    if (auto d = first.ShotDate()) st.firstDate = d->ToString();
  if (RunDialog(&st) != IDOK) return 2;
  fixshotdate::SaveSettings(st.settings);
  fixshotdate::RunResult r = fixshotdate::FixFiles(st.paths, st.plan);
  if (r.failed) Message(picturetool::OwnerWindow(), IDS_FIXDATE_FAILED, r.failed);
  if (!r.changed) return 0;
  picturetool::WriteFirstPath(r.first);
  return 1;
}
