// What the framework's window tests share: message pumping with timeouts and a log of
// what handlers saw.
#pragma once
#include <fw/fw.h>

#include <functional>
#include <string>
#include <vector>

namespace fwtest {

// Runs every waiting message through the framework's pre-translation and dispatch; a
// WM_QUIT is left in the queue for whoever waits for it.
void PumpPending();
// Pumps until done() holds or timeoutMs passed; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000);
// Removes a WM_QUIT that a destroyed main window left in the queue.
void DropQuit();

// What handlers saw, in order.
extern std::vector<std::string> g_log;
void Log(const std::string& s);
std::string Joined();  // the log joined with "|", then cleared

}  // namespace fwtest
