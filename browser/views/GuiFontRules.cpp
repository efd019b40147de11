// The character sets the controls draw well by themselves.
#include "GuiFontRules.h"

bool VxIsKnownCharset(BYTE charset) {
  switch (charset) {
    case ANSI_CHARSET:
    case SHIFTJIS_CHARSET:
    case HANGUL_CHARSET:
    case JOHAB_CHARSET:
    case GB2312_CHARSET:
    case CHINESEBIG5_CHARSET:
      return true;
    default:
      return false;
  }
}
