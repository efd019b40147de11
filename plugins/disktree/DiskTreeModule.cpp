#include "DiskTreeModule.h"

namespace disktree {

namespace {
HINSTANCE g_resources = nullptr;
}

HINSTANCE ResourceModule() { return g_resources; }
void SetResourceModule(HINSTANCE resources) { g_resources = resources; }

std::string ResourceString(UINT id) {
  char text[2048] = {};
  if (!g_resources || !LoadStringA(g_resources, id, text, sizeof text)) return std::string();
  return text;
}

}  // namespace disktree
