// Exported marks of this process's own messages over ownmessage_core.
#include <Kitlib2/OwnMessage.h>

#include "ownmessage_core.h"

LRESULT CMTLSendOwnMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  kitlib::OwnSend mark(message, wParam, lParam);
  return ::SendMessageA(hWnd, message, wParam, lParam);
}

BOOL CMTLIsOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return kitlib::IsOwnSend(message, wParam, lParam) ? TRUE : FALSE;
}

BOOL CMTLPostRecord(HWND hWnd, UINT message, void* pRecord, LPARAM lParam, CMTL_RECORD_FREE pfnFree) {
  return kitlib::PostRecord(hWnd, message, pRecord, lParam, pfnFree) ? TRUE : FALSE;
}

void* CMTLTakeRecord(HWND hWnd, UINT message, WPARAM wParam) { return kitlib::TakeRecord(hWnd, message, wParam); }

void CMTLDropRecords(HWND hWnd) { kitlib::DropRecords(hWnd); }
