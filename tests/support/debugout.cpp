#include "debugout.h"

#include <windows.h>

#include <mutex>

namespace testsupport {

namespace {

std::mutex g_lock;
std::vector<std::string>* g_lines = nullptr;

LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* r = info->ExceptionRecord;
  if (r->ExceptionCode == DBG_PRINTEXCEPTION_C && r->NumberParameters >= 2 && r->ExceptionInformation[1]) {
    const size_t n = size_t(r->ExceptionInformation[0]);  // with its terminator
    std::lock_guard<std::mutex> hold(g_lock);
    if (g_lines) g_lines->emplace_back(reinterpret_cast<const char*>(r->ExceptionInformation[1]), n ? n - 1 : 0);
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

DebugOutputCatcher::DebugOutputCatcher() {
  {
    std::lock_guard<std::mutex> hold(g_lock);
    g_lines = new std::vector<std::string>;
  }
  handler_ = AddVectoredExceptionHandler(1, OnException);
}

DebugOutputCatcher::~DebugOutputCatcher() {
  if (handler_) RemoveVectoredExceptionHandler(handler_);
  std::lock_guard<std::mutex> hold(g_lock);
  delete g_lines;
  g_lines = nullptr;
}

std::vector<std::string> DebugOutputCatcher::Take() {
  std::lock_guard<std::mutex> hold(g_lock);
  std::vector<std::string> out;
  if (g_lines) out.swap(*g_lines);
  return out;
}

}  // namespace testsupport
