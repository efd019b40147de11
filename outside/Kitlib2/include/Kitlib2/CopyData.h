// WM_COPYDATA between processes, within what the platform delivers. Wine never hands a
// block of about 1 MB or more to another process (the sender waits out its timeout and
// the receiver's memory grows), so a block of CMTL_COPYDATA_MAX_INLINE bytes or more
// travels in shared memory: the message then carries a small handover record naming it,
// valid while the send lasts. Every send has a timeout, so a hung receiver cannot hold
// the sender. Receivers take what arrived through CMTLOpenCopyData, which reads either
// form and refuses what is too large.
#pragma once
#include <Kitlib2/KitDefs.h>

#define CMTL_COPYDATA_MAX_INLINE (960 * 1024)       // bytes sent in the message itself
#define CMTL_COPYDATA_MAX_BLOCK (64 * 1024 * 1024)  // larger blocks are never taken
#define CMTL_COPYDATA_TIMEOUT 10000                 // milliseconds, the usual wait

// What a receiver answers (the window procedure's result) for a block it refuses.
#define CMTL_COPYDATA_REFUSED_SIZE ((LRESULT)0xC0DA7A01)  // larger than it takes
#define CMTL_COPYDATA_REFUSED_GONE ((LRESULT)0xC0DA7A02)  // the handed-over memory is gone

// Sends cbData bytes as WM_COPYDATA (code dwData, wParam hFrom) and waits at most
// nTimeoutMs for the answer (in *pResult when not null). FALSE when the window is gone,
// did not answer in time, or the block is larger than CMTL_COPYDATA_MAX_BLOCK.
KITLIB2_API BOOL CMTLSendCopyData(HWND hTo, HWND hFrom, ULONG_PTR dwData, const void* pData, DWORD cbData,
                                  UINT nTimeoutMs, LRESULT* pResult = NULL);
// The same for a text with its terminating NUL.
KITLIB2_API BOOL CMTLSendCopyDataText(HWND hTo, HWND hFrom, ULONG_PTR dwData, LPCSTR lpszText,
                                      UINT nTimeoutMs = CMTL_COPYDATA_TIMEOUT, LRESULT* pResult = NULL);
// Passes on a block as it was received (an open block from CMTLOpenCopyData, or the
// message's own record), in whichever form its size needs.
KITLIB2_API BOOL CMTLForwardCopyData(HWND hTo, HWND hFrom, const COPYDATASTRUCT* pcds,
                                     UINT nTimeoutMs = CMTL_COPYDATA_TIMEOUT, LRESULT* pResult = NULL);

// The block a WM_COPYDATA brought: *pOut gets its code, size and bytes (mapped from the
// sender's shared memory when it came that way; close it with CMTLCloseCopyData while the
// message is being handled). Answers 0, or the status to answer the sender with
// (CMTL_COPYDATA_REFUSED_*), and then *pOut is empty.
KITLIB2_API LRESULT CMTLOpenCopyData(const COPYDATASTRUCT* pIn, COPYDATASTRUCT* pOut);
KITLIB2_API void CMTLCloseCopyData(COPYDATASTRUCT* pOpened);
