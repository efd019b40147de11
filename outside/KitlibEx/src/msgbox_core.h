// Decisions of the in-house message box: button sets, default and escape answers,
// remembered answers.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace kitlibex {

struct BoxButton {
  int id;
  const char* text;
};

// The buttons of a type's answer set, in display order.
std::vector<BoxButton> ButtonsOf(UINT type);

// Index of the default button (MB_DEFBUTTON1..4, clamped to the set).
size_t DefaultButtonIndex(UINT type, size_t count);

// The answer Esc and the close box give: Cancel when the set has it, OK for a lone OK,
// else 0 (the box stays until a button is pressed).
int EscapeAnswer(UINT type);

// Remembered answers of boxes with a "don't show again" key (profile, program root,
// section "MessageBox"); 0 when none.
int RememberedAnswer(const std::string& key);
bool RememberAnswer(const std::string& key, int answer);

}  // namespace kitlibex
