#include "program.h"

#include <windows.h>
#include <psapi.h>

namespace testsupport {

std::string ProgramPath() {
  char path[MAX_PATH] = "";
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, n < MAX_PATH ? n : 0);
}

std::string ProgramFolder() {
  std::string s = ProgramPath();
  size_t slash = s.rfind('\\');
  return slash == std::string::npos ? std::string() : s.substr(0, slash);
}

std::string Fixture(const std::string& name) { return ProgramFolder() + "\\testdata\\" + name; }

SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX pmc = {};
  pmc.cb = sizeof(pmc);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc));
  return pmc.PrivateUsage > pmc.PagefileUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

HANDLE StartProgram(const std::string& commandLine, const std::string& folder) {
  std::string line = commandLine;  // CreateProcess may write into it
  STARTUPINFOA si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.empty() ? nullptr : folder.c_str(),
                      &si, &pi))
    return nullptr;
  CloseHandle(pi.hThread);
  return pi.hProcess;
}

DWORD WaitForExit(HANDLE process, DWORD timeoutMs) {
  if (!process) return kNoExitCode;
  DWORD code = kNoExitCode;
  if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process, &code);
  } else {
    TerminateProcess(process, kNoExitCode);
    WaitForSingleObject(process, 5000);
  }
  CloseHandle(process);
  return code;
}

}  // namespace testsupport
