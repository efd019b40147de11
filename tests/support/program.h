// Where the running test program is, the fixtures generated beside it, and child
// processes the tests start.
#pragma once
#include <windows.h>

#include <string>

namespace testsupport {

// The test program's own file (C:\glimora-bin\<name>.exe).
std::string ProgramPath();
// Its folder, without a trailing backslash (C:\glimora-bin).
std::string ProgramFolder();
// A generated fixture: <program folder>\testdata\<name>.
std::string Fixture(const std::string& name);

// The process's private bytes (Wine reports them as the page-file use).
SIZE_T PrivateBytes();

// Starts a command line in folder (the current folder when empty): the process handle,
// nullptr when it could not start.
HANDLE StartProgram(const std::string& commandLine, const std::string& folder = std::string());
// What WaitForExit gives for a process that never started or did not end in time.
const DWORD kNoExitCode = 0xFFFFFFFF;
// Waits at most timeoutMs for the process to end (ending it when it does not) and closes
// the handle: its exit code, or kNoExitCode.
DWORD WaitForExit(HANDLE process, DWORD timeoutMs);

}  // namespace testsupport
