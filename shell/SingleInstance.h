// The single-instance rules of the main program: the instance mutex, the movie-clip
// program's mutex, and the second-instance mutex that lets only the first of several
// concurrent second starts tell the user.
#pragma once
#include <fw/fw.h>

#define MAIN_MUTEX_SECOND "Norvane Marlo Application Mutex2"
#define CLIP_EDITOR_MUTEX "Norvane ClipCarver Mutex"

// How mutexes are made; tests answer from tables. CreateMutexFn answers the handle (or
// null) and the last error of the creation.
struct InstanceMutexProbes {
  BOOL bWin98;
  HANDLE (*CreateMutexFn)(LPCSTR lpszName, BOOL bOwned, DWORD* pdwError);
};
const InstanceMutexProbes& SystemInstanceMutexProbes();

enum InstanceResult {
  INSTANCE_TAKEN = 0,          // this is the only instance
  INSTANCE_CLIP_EDITOR,        // the movie-clip program runs: message 62068
  INSTANCE_OTHER_NOTIFY,       // another instance runs; this start tells the user (51109)
  INSTANCE_OTHER_QUIET,        // another instance runs and another second start told already
};

// Takes the instance mutexes. *phFirst gets the instance mutex's handle (kept open for
// the life of the process), *phInstance the handle that the application releases at exit
// (the movie-clip program's mutex when taken); *phSecond the second-instance mutex, held
// while this start tells the user.
InstanceResult TakeInstanceMutexes(const InstanceMutexProbes& probes, LPCSTR lpszName, HANDLE* phFirst,
                                   HANDLE* phInstance, HANDLE* phSecond);

// Restores the window when it is minimised and brings its last active popup forward.
void BringMainWindowForward(HWND hWnd);
