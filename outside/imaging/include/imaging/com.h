// COM for the imaging engine. Every function of the engine that needs COM
// initialises it on the calling thread for the duration of the call; a thread
// that makes many calls (a decoder thread, a benchmark loop) should hold one
// ComScope for its whole life, which saves about 1.5 ms per call under Wine.
#pragma once

#include <windows.h>

namespace imaging {

// CoInitializeEx (apartment-threaded) for this scope; CoUninitialize at its end
// when the initialisation succeeded. A thread already in the multithreaded
// apartment stays there (RPC_E_CHANGED_MODE is accepted: WIC works in both).
class ComScope {
 public:
  ComScope();
  ~ComScope();
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  // COM is usable on this thread (initialised here or before).
  bool Ok() const { return ok_; }

 private:
  bool ok_ = false;
  bool owned_ = false;
};

}  // namespace imaging
