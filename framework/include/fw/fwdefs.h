// Common definitions of the application framework (GlimFW.dll).
// Every module of the system includes the framework through <fw/fw.h> or one of the
// family headers below it; all of them start here.
#pragma once

#ifndef STRICT
#define STRICT
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

// C++ headers before <windows.h>, and min/max as functions (GDI+ wants them unqualified).
#include <algorithm>
#include <cstddef>
#include <cstdarg>
#include <new>
using std::max;
using std::min;

#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <shellapi.h>
#include <tchar.h>

// <windows.h> maps the 16-bit GetCurrentTime() onto GetTickCount(); the name belongs to
// CTime::GetCurrentTime and COleDateTime::GetCurrentTime here.
#undef GetCurrentTime

#ifdef FW_BUILD
#define FW_API __declspec(dllexport)
#else
#define FW_API __declspec(dllimport)
#endif

// Declarations the framework's own code and its callers share.
#ifndef AFXAPI
#define AFXAPI
#endif
#ifndef AFX_CDECL
#define AFX_CDECL __cdecl
#endif
#define AFX_EXT_CLASS
#define AFX_CLASS_EXPORT __declspec(dllexport)
#define AFX_CLASS_IMPORT __declspec(dllimport)
#define AFX_API_EXPORT __declspec(dllexport)

#ifndef ASSERT
#define ASSERT(f) ((void)0)
#endif
#ifndef VERIFY
#define VERIFY(f) ((void)(f))
#endif
#ifndef ASSERT_VALID
#define ASSERT_VALID(p) ((void)0)
#endif
#ifndef TRACE
#define TRACE(...) ((void)0)
#endif
#ifndef UNUSED_ALWAYS
#define UNUSED_ALWAYS(x) ((void)(x))
#endif
#ifndef _countof
#define _countof(a) (sizeof(a) / sizeof((a)[0]))
#endif

// Iteration handle of the list and map classes.
struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)
