// Messages whose parameters point into this process. Any program can post or send any
// number with any values to our windows: a window takes a pointer from a message only when
// a sender of this process marked the send (CMTLSendOwnMessage), or when the pointer is a
// record this process posted and listed (CMTLPostRecord). Which messages those are is the
// table in OwnMessages.h.
#pragma once
#include <Kitlib2/KitDefs.h>

// SendMessage, marked as this process's own while it runs (the receiver may be on another
// thread of the process, and may pass it on to another of our windows as it came).
KITLIB2_API LRESULT CMTLSendOwnMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// TRUE while a marked send of exactly these values is under way.
KITLIB2_API BOOL CMTLIsOwnMessage(UINT message, WPARAM wParam, LPARAM lParam);

// Posts a heap record as wParam; the receiver takes it with CMTLTakeRecord and frees it.
// FALSE when the post failed: the record is still the caller's. pfnFree frees a record
// whose window went before it was taken.
typedef void (*CMTL_RECORD_FREE)(void* pRecord);
KITLIB2_API BOOL CMTLPostRecord(HWND hWnd, UINT message, void* pRecord, LPARAM lParam, CMTL_RECORD_FREE pfnFree);
// The record when wParam is one posted to hWnd with this message and not taken yet (now
// the caller's to free); NULL for any other value, which must not be touched.
KITLIB2_API void* CMTLTakeRecord(HWND hWnd, UINT message, WPARAM wParam);
// Frees the records still waiting for hWnd (call it when the window is destroyed).
KITLIB2_API void CMTLDropRecords(HWND hWnd);
