// MovBridge.dll: the movie-playback bridge, the back end of the movie kinds the system once
// played with QuickTime, here on the movie kit. A movie is a record the library fills
// (QtWndInit) and a window of its own inside the caller's window (QtWndCreate); the
// record's 32-bit word at byte 32 is that window's handle. The caller binds each export by
// name; these are their types.
#pragma once
#include <fw/fw.h>

typedef BOOL(WINAPI* QtInitializeFn)();
typedef BOOL(WINAPI* QtFinalizeFn)();
typedef BOOL(WINAPI* QtWndInitFn)(CString path, int left, int top, int right, int bottom, void** ppMovie);
typedef void(WINAPI* QtSetParamFn)(void* movie, int a, int b, BOOL bParam, BOOL bLoop);
typedef void(WINAPI* QtEnableVideoFn)(void* movie, BOOL bVideo);
typedef void(WINAPI* QtSetStatusNotifyMsgFn)(void* movie, HWND hWnd, UINT message, WPARAM w, LPARAM l);
typedef int(WINAPI* QtWndCreateFn)(void* movie, CWnd* pParent);
typedef void(WINAPI* QtWndDestroyFn)(void** ppMovie);
typedef BOOL(WINAPI* QtIsMoviePlayNowFn)(void* movie);
typedef void(WINAPI* QtWndPosFn)(void* movie, int left, int top, int width, int height, BOOL bFlag);
typedef void(WINAPI* QtMoviePlayFn)(void* movie, BOOL bLoop);
typedef void(WINAPI* QtMovieFn)(void* movie);  // QtMoviePause, QtMovieStop, full screen begin/end
typedef void(WINAPI* QtSetLoopFn)(void* movie, BOOL bLoop);
typedef LONG(WINAPI* QtGetMovieTimeFn)(void* movie);  // QtGetMovieDuration, QtGetMovieCurrent (ms)
typedef void(WINAPI* QtSetMovieCurrentFn)(void* movie, LONG ms);
typedef BOOL(WINAPI* QtIsFullScreenFn)(void* movie);
typedef void(WINAPI* QtGetMovieVideoSizeFn)(void* movie, int* pWidth, int* pHeight);
typedef DWORD(WINAPI* QtGetQuickTimeVersionFn)();
typedef BOOL(WINAPI* QtIsBmpExporterFn)();

// Where the movie window's handle lies in the record.
const int kQtMovieWindowOffset = 32;
// The version the bridge reports.
const DWORD kQtBridgeVersion = 0x07798000;
