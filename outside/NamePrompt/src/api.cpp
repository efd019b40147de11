// NamePrompt.dll: the one export the date imprint binds. The first call of a run (with a
// default text) asks; the later ones name their copies the same way without asking.
#include <windows.h>

#include <VxResourceIds.h>
#include <dlgkit/memdialog.h>
#include <textkit/path.h>
#include <picturetool/Tool.h>

#include <cstring>

#include "NamePrompt/NamePrompt.h"

namespace {

struct PromptState {
  std::string source;
  nameprompt::Settings settings;
  std::string output;
};

std::string EditText(HWND dlg, int id) {
  char text[MAX_PATH] = "";
  GetDlgItemTextA(dlg, id, text, sizeof text);
  return text;
}

void ShowOutput(HWND dlg, PromptState* st) {
  std::string output = nameprompt::OutputName(st->source, EditText(dlg, nameprompt::kSuffixId));
  SetDlgItemTextA(dlg, nameprompt::kOutputId, textkit::FileNameOf(output).c_str());
}

INT_PTR CALLBACK PromptProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  auto* st = dlgkit::DialogState<PromptState>(dlg, msg, lp);
  switch (msg) {
    case WM_INITDIALOG:
      SetDlgItemTextA(dlg, nameprompt::kSourceId, textkit::FileNameOf(st->source).c_str());
      SetDlgItemTextA(dlg, nameprompt::kSuffixId, st->settings.suffix.c_str());
      CheckRadioButton(dlg, nameprompt::kCornerFirstId, nameprompt::kCornerFirstId + 3,
                       nameprompt::kCornerFirstId + st->settings.corner);
      ShowOutput(dlg, st);
      dlgkit::CenterOverOwner(dlg);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == nameprompt::kSuffixId && HIWORD(wp) == EN_CHANGE) {
        ShowOutput(dlg, st);
      } else if (LOWORD(wp) == IDOK) {
        std::string suffix = EditText(dlg, nameprompt::kSuffixId);
        std::string output = nameprompt::OutputName(st->source, suffix);
        if (output.empty()) {
          MessageBoxA(dlg, picturetool::Text(IDS_NAMEPROMPT_BAD_NAME).c_str(),
                      picturetool::Text(IDS_TB_TOOL_DATE_IMPRINT).c_str(), MB_ICONEXCLAMATION);
          return TRUE;
        }
        st->settings.suffix = suffix;
        for (int i = 0; i < 4; ++i)
          if (IsDlgButtonChecked(dlg, nameprompt::kCornerFirstId + i) == BST_CHECKED) st->settings.corner = i;
        st->output = output;
        EndDialog(dlg, IDOK);
      } else if (LOWORD(wp) == IDCANCEL) {
        EndDialog(dlg, IDCANCEL);
      }
      return TRUE;
  }
  return FALSE;
}

INT_PTR RunPrompt(PromptState* st) {
  using picturetool::Text;
  dlgkit::DialogTemplate t(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 260, 150,
                           Text(IDS_TB_TOOL_DATE_IMPRINT).c_str());
  t.Add(dlgkit::kStatic, WS_CHILD | WS_VISIBLE, 8, 10, 112, 10, 0xFFFF, Text(IDS_NAMEPROMPT_SOURCE).c_str());
  t.Add(dlgkit::kStatic, WS_CHILD | WS_VISIBLE | SS_PATHELLIPSIS, 122, 10, 130, 10, nameprompt::kSourceId, "");
  t.Add(dlgkit::kStatic, WS_CHILD | WS_VISIBLE, 8, 28, 112, 10, 0xFFFF, Text(IDS_NAMEPROMPT_SUFFIX).c_str());
  t.Add(dlgkit::kEdit, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 122, 26, 130, 13,
        nameprompt::kSuffixId, "");
  t.Add(dlgkit::kStatic, WS_CHILD | WS_VISIBLE, 8, 46, 112, 10, 0xFFFF, Text(IDS_NAMEPROMPT_OUTPUT).c_str());
  t.Add(dlgkit::kStatic, WS_CHILD | WS_VISIBLE | SS_PATHELLIPSIS, 122, 46, 130, 10, nameprompt::kOutputId, "");
  t.Add(dlgkit::kButton, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 8, 62, 244, 56, 0xFFFF,
        Text(IDS_NAMEPROMPT_CORNER).c_str());
  const UINT corners[4] = {IDS_NAMEPROMPT_LOWER_RIGHT, IDS_NAMEPROMPT_LOWER_LEFT, IDS_NAMEPROMPT_UPPER_RIGHT,
                           IDS_NAMEPROMPT_UPPER_LEFT};
  // Laid out as they stand on the picture: upper ones above, right ones on the right.
  const POINT at[4] = {{130, 98}, {20, 98}, {130, 78}, {20, 78}};
  for (int i = 0; i < 4; ++i)
    t.Add(dlgkit::kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0), at[i].x,
          at[i].y, 100, 12, WORD(nameprompt::kCornerFirstId + i), Text(corners[i]).c_str());
  t.Add(dlgkit::kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 146, 128, 50, 14, IDOK,
        Text(IDS_TOOLS_OK).c_str());
  t.Add(dlgkit::kButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 202, 128, 50, 14, IDCANCEL,
        Text(IDS_TOOLS_CANCEL).c_str());
  return t.Run(picturetool::OwnerWindow(), PromptProc, reinterpret_cast<LPARAM>(st));
}

}  // namespace

// 1 with the copy's full path in lpszName (260 bytes; empty: skip this file) and the
// date's corner in *pnOption; 2 when the user cancelled.
extern "C" __declspec(dllexport) int WINAPI
    NamePrompt(LPCSTR lpszSource, LPSTR lpszName, LPCSTR lpszDefault, int nMode, int* pnOption) {
  if (!lpszName) return 2;
  lpszName[0] = '\0';
  if (!lpszSource || !*lpszSource) return 1;
  const bool ask = lpszDefault && *lpszDefault;
  PromptState st;
  st.source = lpszSource;
  st.settings = nameprompt::LoadSettings(ask ? lpszDefault : "_date");
  if (ask) {
    if (RunPrompt(&st) != IDOK) return 2;
    nameprompt::SaveSettings(st.settings);
  } else {
    st.output = nameprompt::OutputName(st.source, st.settings.suffix);
  }
  if (st.output.size() < MAX_PATH) memcpy(lpszName, st.output.c_str(), st.output.size() + 1);
  if (pnOption) *pnOption = st.settings.corner;
  return 1;
}
