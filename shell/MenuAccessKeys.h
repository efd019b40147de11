// Access keys of menu items: every item of a popup gets a "&" letter, taken from its own
// text when a letter is free, else as a "(&X)" suffix from a range chosen by kind.
#pragma once
#include <fw/fw.h>

#include <vector>

enum {
  ACCESSKEYS_DIGITS = 1,          // "0" to "8"
  ACCESSKEYS_LETTERS = 2,         // "A" to "Y"
  ACCESSKEYS_DIGITS_LETTERS = 3,
  ACCESSKEYS_LETTERS_DIGITS = 4,
};

// The item's access character (upper case), or 0 when it has none: the character after a
// single "&" that is not the last one.
WCHAR MenuAccessChar(LPCWSTR lpszText);

// Gives every text of the list an access key; texts that have one keep it. Keys are the
// characters from "!" to "`" (upper case); others never count as keys.
void AssignAccessKeys(std::vector<CString>& texts, int nKind);
