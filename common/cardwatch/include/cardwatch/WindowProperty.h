// Finding a top-level window by its window property, with nothing but the system: the
// programs in Core\ use it without the framework.
#pragma once
#include <windows.h>

namespace cardwatch {

// The first top-level window (in z-order) that carries the property; NULL when none.
// EnumWindows takes a snapshot of the top-level windows: a GetWindow walk can loop for
// ever or run into destroyed windows while other programs open and close theirs.
inline HWND FindWindowWithProperty(LPCSTR lpszProperty) {
  struct Search {
    LPCSTR lpszProperty;
    HWND hFound;
    static BOOL CALLBACK Proc(HWND hWnd, LPARAM lParam) {
      Search* search = reinterpret_cast<Search*>(lParam);
      if (!GetPropA(hWnd, search->lpszProperty)) return TRUE;
      search->hFound = hWnd;
      return FALSE;
    }
  } search = {lpszProperty, NULL};
  EnumWindows(Search::Proc, reinterpret_cast<LPARAM>(&search));
  return search.hFound;
}

}  // namespace cardwatch
