#include "AudioPlayerRules.h"

#include <string.h>

AudioWaitStep AudioCompletionStep(HRESULT hrWait, bool bStopRequested) {
  if (SUCCEEDED(hrWait)) return kAudioWaitFinished;
  return bStopRequested ? kAudioWaitEnd : kAudioWaitAgain;
}

int AudioOpenMode(const char* pszPath) {
  const char* dot = pszPath ? strrchr(pszPath, '.') : NULL;
  const char* slash = pszPath ? strrchr(pszPath, '\\') : NULL;
  return dot && (!slash || dot > slash) && lstrcmpiA(dot, ".m4a") == 0 ? 1 : 2;
}
