// CMTLxMessageBox: a message box made at run time, with the four-answer sets and the
// "don't show again" check that the system's box lacks.
#include <KitlibEx/KitlibEx.h>

#include <algorithm>
#include <string>
#include <vector>

#include <dlgkit/memdialog.h>

#include "msgbox_core.h"
#include "system_core.h"

using namespace kitlibex;

namespace {

const int kCheckId = 1000;
const int kTextId = 1001;
const int kIconId = 1002;
const char kDontShowText[] = "今後、このメッセージを表示しない(&D)";

struct BoxState {
  std::string text, caption;
  UINT type = 0;
  bool withCheck = false;
  bool checked = false;
  std::vector<BoxButton> buttons;
  HFONT font = nullptr;
};

LPCSTR IconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
  }
}

SIZE TextExtent(HWND hwnd, HFONT font, const std::string& text, int maxWidth, UINT format) {
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r = {0, 0, maxWidth, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  SIZE s = {r.right - r.left, r.bottom - r.top};
  return s;
}

HWND AddControl(HWND dlg, const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h,
                HFONT font) {
  HWND c = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, dlg,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), kitlib::ThisModule(), nullptr);
  SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return c;
}

// Places the icon, the text, the check box and the buttons and sizes the box to them.
void Layout(HWND dlg, BoxState* s) {
  const int margin = 14, gap = 10, buttonH = 26;
  s->font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LPCSTR iconName = IconOf(s->type);
  HICON icon = iconName ? LoadIconA(nullptr, iconName) : nullptr;
  int iconW = icon ? GetSystemMetrics(SM_CXICON) : 0;
  int maxText = std::max(240, GetSystemMetrics(SM_CXSCREEN) * 3 / 5 - iconW);
  SIZE text = TextExtent(dlg, s->font, s->text, maxText, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);

  int buttonW = 80;
  for (const BoxButton& b : s->buttons) buttonW = std::max<int>(buttonW, TextExtent(dlg, s->font, b.text, 400, DT_SINGLELINE).cx + 24);
  int buttonsW = static_cast<int>(s->buttons.size()) * buttonW + static_cast<int>(s->buttons.size() - 1) * gap;
  SIZE check = {0, 0};
  if (s->withCheck) check = TextExtent(dlg, s->font, kDontShowText, 600, DT_SINGLELINE);

  int textX = margin + (icon ? iconW + gap + 4 : 0);
  int contentW = std::max<int>({textX + text.cx, margin + check.cx + 24, buttonsW + margin}) + margin;
  int textH = std::max<int>(text.cy, icon ? GetSystemMetrics(SM_CYICON) : 0);
  int y = margin;
  if (icon) {
    HWND ic = AddControl(dlg, "STATIC", "", SS_ICON, kIconId, margin, y, iconW, iconW, s->font);
    SendMessageA(ic, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  }
  int textY = y + (textH - text.cy) / 2;
  AddControl(dlg, "STATIC", s->text.c_str(), SS_LEFT | SS_NOPREFIX, kTextId, textX, textY, text.cx + 2, text.cy,
             s->font);
  y += textH + gap + 4;
  if (s->withCheck) {
    AddControl(dlg, "BUTTON", kDontShowText, BS_AUTOCHECKBOX | WS_TABSTOP, kCheckId, margin, y, check.cx + 24, 20,
               s->font);
    y += 20 + gap;
  }
  size_t def = DefaultButtonIndex(s->type, s->buttons.size());
  int x = (contentW - buttonsW) / 2;
  HWND defButton = nullptr;
  for (size_t i = 0; i < s->buttons.size(); ++i) {
    DWORD style = WS_TABSTOP | (i == def ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | (i == 0 ? WS_GROUP : 0);
    HWND b = AddControl(dlg, "BUTTON", s->buttons[i].text, style, s->buttons[i].id, x, y, buttonW, buttonH, s->font);
    if (i == def) defButton = b;
    x += buttonW + gap;
  }
  y += buttonH + margin;

  RECT rc = {0, 0, contentW, y};
  AdjustWindowRectEx(&rc, GetWindowLongA(dlg, GWL_STYLE), FALSE, GetWindowLongA(dlg, GWL_EXSTYLE));
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  POINT at = dlgkit::CenteredPosition(GetWindow(dlg, GW_OWNER), w, h);
  SetWindowPos(dlg, nullptr, at.x, at.y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowTextA(dlg, s->caption.c_str());
  if (defButton) {
    SendMessageA(dlg, DM_SETDEFID, GetDlgCtrlID(defButton), 0);
    SetFocus(defButton);
  }
}

bool HasButton(const BoxState* s, int id) {
  for (const BoxButton& b : s->buttons)
    if (b.id == id) return true;
  return false;
}

INT_PTR CALLBACK BoxProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  BoxState* s = dlgkit::DialogState<BoxState>(dlg, msg, lp);
  switch (msg) {
    case WM_INITDIALOG:
      Layout(dlg, s);
      if (s->type & (MB_SETFOREGROUND | MB_SYSTEMMODAL)) SetForegroundWindow(dlg);
      return FALSE;  // the focus is set
    case WM_COMMAND: {
      int id = LOWORD(wp);
      if (!s || id == kCheckId || id == kTextId) break;
      if (id == IDCANCEL && !HasButton(s, IDCANCEL)) id = EscapeAnswer(s->type);  // Esc or the close box
      if (id == 0 || !HasButton(s, id)) return TRUE;
      s->checked = s->withCheck && IsDlgButtonChecked(dlg, kCheckId) == BST_CHECKED;
      EndDialog(dlg, id);
      return TRUE;
    }
    case WM_CLOSE:
      SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

int CMTLxMessageBox(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType, LPCSTR lpszKey) {
  std::string key = lpszKey ? lpszKey : "";
  bool withCheck = (nType & MB_CMTLX_DONTSHOWAGAIN) && !key.empty();
  if (withCheck) {
    int remembered = RememberedAnswer(key);
    if (remembered) return remembered;
  }
  BoxState s;
  s.text = lpszText ? lpszText : "";
  s.caption = lpszCaption ? lpszCaption : "";
  s.type = nType & 0x00FFFFFF;
  s.withCheck = withCheck;
  s.buttons = ButtonsOf(s.type);

  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
  DWORD exStyle = WS_EX_DLGMODALFRAME | ((s.type & MB_SYSTEMMODAL) || (s.type & MB_TOPMOST) ? WS_EX_TOPMOST : 0);
  // An empty template: the controls are made and placed in WM_INITDIALOG.
  dlgkit::DialogTemplate tmpl(style, 0, 0, 100, 50, "", exStyle);
  if (s.type & MB_ICONMASK) MessageBeep(s.type & MB_ICONMASK);
  INT_PTR r = DialogBoxIndirectParamA(kitlib::ThisModule(), tmpl.Get(), hWndOwner, BoxProc, reinterpret_cast<LPARAM>(&s));
  if (r <= 0) return 0;
  if (s.checked) RememberAnswer(key, static_cast<int>(r));
  return static_cast<int>(r);
}
