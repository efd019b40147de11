// Helpers of the main program's tests: message pumping with timeouts, the resource
// library as the current resource handle, a profile root of the test's own.
#pragma once
#include <fw/fw.h>

#include <functional>
#include <string>

namespace shelltest {

// Runs every waiting message through the framework's pre-translation and dispatch.
void PumpPending();
// Pumps until done() holds or timeoutMs passed; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Removes a WM_QUIT that a destroyed main window left in the queue.
void DropQuit();

// VxResource.dll of the program folder, loaded once.
HINSTANCE ResourceDll();

// Makes the resource library the current resource handle for a scope.
class ResourceScope {
 public:
  ResourceScope();
  ~ResourceScope();

 private:
  HINSTANCE m_hOld;
};

// A profile root of the test's own (GLIMORA_PROFILE_ROOT), removed afterwards; programs
// started meanwhile inherit it.
class ProfileRoot {
 public:
  ProfileRoot();
  ~ProfileRoot();
  ProfileRoot(const ProfileRoot&) = delete;
  ProfileRoot& operator=(const ProfileRoot&) = delete;
  const std::string& vendor() const { return m_vendor; }

 private:
  std::string m_vendor;
};

// Closes the next dialog or message box of this thread from a thread timer: posts
// WM_COMMAND nAnswer to it once its controls exist. The texts it had are kept.
class DialogCloser {
 public:
  explicit DialogCloser(int nAnswer = IDOK);
  ~DialogCloser();
  static std::string s_caption;
  static std::string s_text;  // a message box's text
  static int s_nClosed;

 private:
  UINT_PTR m_id;
};

}  // namespace shelltest
