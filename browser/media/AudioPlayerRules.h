// The background audio player's decisions, without DirectShow.
#pragma once
#include <windows.h>

// The completion thread's next step after one wait for the end of the stream.
enum AudioWaitStep { kAudioWaitAgain, kAudioWaitFinished, kAudioWaitEnd };
// Once a stop is requested any result ends the thread: a graph that keeps failing must
// not keep Stop waiting for ever.
AudioWaitStep AudioCompletionStep(HRESULT hrWait, bool bStopRequested);
// ".m4a" files go through the AAC filters (mode 1), all others render by file (mode 2).
int AudioOpenMode(const char* pszPath);
