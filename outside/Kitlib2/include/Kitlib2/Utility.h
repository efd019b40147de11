// Small services of the common library: names, paths, texts, system and disk queries.
#pragma once
#include <Kitlib2/KitDefs.h>

// ---- Names -------------------------------------------------------------------------

// The application's name ("Glimora"): the caption of every message box.
KITLIB2_API CString CMTLGetAppName();

// 0: the application's name; 1: the name followed by the product version ("Glimora 5.0").
KITLIB2_API CString CMTLGetAppVersionName(int nWithVersion);

// ---- Paths and texts ---------------------------------------------------------------

// The program folder (where the running .exe lies), without a trailing backslash.
KITLIB2_API CString CMTLGetExeDir();

// Folder part of a path: "C:\A\b.jpg" -> "C:\A"; a root keeps its backslash ("C:\").
KITLIB2_API CString CMTLGetDirectory(LPCSTR lpszPath);

// Name part of a path: "C:\A\b.jpg" -> "b.jpg".
KITLIB2_API CString CMTLGetFileName(LPCSTR lpszPath);

// String nID of a module (the resource library); "" when there is none.
KITLIB2_API CString CMTLLoadString(HINSTANCE hModule, UINT nID);

// A normalised copy of a path text for comparisons; both sides of a comparison pass
// through it. Single-byte letters are upper-cased, "/" becomes "\", and double-byte
// characters are case-folded as the file system compares names (full-width "ａ" becomes
// full-width "Ａ", Greek and Cyrillic likewise). Full-width and half-width forms stay
// different, since the file system keeps them apart ("Ａ.jpg" and "A.jpg" are two files).
// Trail bytes are never touched (a "\" or a letter inside a double-byte character).
KITLIB2_API CString CMTLMbcsToMbcs(LPCSTR lpszText);

// ---- System ------------------------------------------------------------------------

// Version tests; -1 in an argument matches any major, minor or build number.
// CMTLIsWin98: nonzero on the Windows 95/98/ME family (never on NT-based systems).
// CMTLIsWin2000: nonzero on an NT-based system of exactly that version, e.g.
// (5, 1, -1) for Windows XP; so it answers 0 on Windows 7 and later.
KITLIB2_API BOOL CMTLIsWin98(int nMajor, int nMinor, int nBuild);
KITLIB2_API BOOL CMTLIsWin2000(int nMajor, int nMinor, int nBuild);

// Lets a window of another process (started from here) take the foreground.
KITLIB2_API BOOL CMTLAllowSetForegroundWindow(DWORD dwProcessId = ASFW_ANY);

// The three free-resource figures in percent (system, GDI, USER), each from 0 to 100.
// On NT-based systems: system = the part of the commit limit still available, GDI and
// USER = the part of the per-process object quota (10000) this process has not used.
// Returns the smallest of the three; the out pointers may be NULL.
KITLIB2_API int CMTLGetFreeResource(int* pnSystem, int* pnGdi, int* pnUser);

// Sets the calling thread's and the C runtime's locale to the user's (code page 932 here).
KITLIB2_API void CMTLSetLocale();

// Dispatches the messages waiting for the given windows (and their children), so that a
// long loop on the user-interface thread keeps them painted; at most 200 messages (a
// dialog's keys go through its dialog handling). Returns the number of messages handled.
KITLIB2_API int CMTLProcessWinMessages(HWND hWnd1, HWND hWnd2 = NULL);

// ---- Disks and files ---------------------------------------------------------------

// Bytes free for the caller on the drive of a path (a file, folder or root); 0 when the
// drive cannot be read.
KITLIB2_API ULONGLONG CMTLGetDiskSpaceEx(LPCSTR lpszPath);

// The same in kilobytes (1024 bytes), at most 0xFFFFFFFF.
KITLIB2_API DWORD CMTLGetDiskSpace(LPCSTR lpszPath);

// Nonzero when a program is registered to open the document (a PDF manual).
KITLIB2_API BOOL CMTLIsInstalledAcrobatReader(LPCSTR lpszPath);

// The file version of a module as "a.b.c.d"; "" when it has no version resource.
KITLIB2_API CString CMTLInspectFile(LPCSTR lpszPath);

// The largest picture (width x height, in pixels) the image object can decode at once,
// from the memory this machine has (two 32-bit buffers must fit in half of the
// available physical memory), at most 400 million pixels.
KITLIB2_API DWORD CMTLGetMaxDecodeSize();

// Nonzero when the file is a picture that opens as a bitmap (JPEG, BMP, PNG, TIFF, GIF),
// judged by its contents, not its name.
KITLIB2_API BOOL CMTLCheckSupportBMP(LPCSTR lpszPath);

// Video codec plug-ins ("*.vcp" in the program folder): Initialize counts the callers and
// answers how many plug-ins the program folder holds; Terminate ends one caller's use.
// No codec of the maker's is loaded: playback goes through the system's own filters.
KITLIB2_API int CMTLInitializeVideoCodecPlugin();
KITLIB2_API void CMTLTerminateVideoCodecPlugin();
