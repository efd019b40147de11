// The module arrangement: every module static, one shared core DLL owning the objects
// that cross boundaries, plug-ins with their own extension bound by name.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "smoke_core.h"

namespace {

struct Plugin {
  HMODULE h = LoadLibraryA("smoke_plugin.tsp");
  ~Plugin() {
    if (h) FreeLibrary(h);
  }
  template <class F>
  F Get(const char* name) const {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(h, name)));
  }
};

TEST(Modules, PluginWithOwnExtensionBindsExportsByName) {
  Plugin p;
  ASSERT_TRUE(p.h != nullptr) << GetLastError();
  EXPECT_TRUE(p.Get<void*>("CreateShape") != nullptr);
  EXPECT_TRUE(p.Get<void*>("NoSuchExport") == nullptr);
}

TEST(Modules, ObjectsCrossModulesBothWays) {
  Plugin p;
  auto create = p.Get<SmokeShape* (*)(int)>("CreateShape");
  auto areaOf = p.Get<int (*)(SmokeShape*)>("PluginAreaOf");
  ASSERT_TRUE(create && areaOf);
  int before = SmokeCounter();
  SmokeShape* s = create(7);
  EXPECT_EQ(SmokeCounter(), before + 1) << "the core's singleton is one for all modules";
  EXPECT_EQ(s->Area(), 49);
  EXPECT_EQ(s->Name(), "square");
  EXPECT_TRUE(dynamic_cast<SmokeShape*>(s) != nullptr);
  EXPECT_EQ(areaOf(s), 49);
  delete s;  // made in the plug-in, deleted here
  EXPECT_EQ(SmokeCounter(), before);
}

TEST(Modules, HeapBlocksAndExceptionsCrossModules) {
  Plugin p;
  auto dup = p.Get<char* (*)(const char*)>("PluginDup");
  auto thrower = p.Get<int (*)(int)>("ThrowFromPlugin");
  ASSERT_TRUE(dup && thrower);
  char* text = dup("写真");
  EXPECT_STREQ(text, "写真");
  SmokeFree(text);
  try {
    thrower(42);
    FAIL() << "no exception";
  } catch (const SmokeError& e) {
    EXPECT_EQ(e.m_code, 42);
  }
  try {
    SmokeThrow(7);
    FAIL() << "no exception";
  } catch (const SmokeError& e) {
    EXPECT_EQ(e.m_code, 7);
  }
}

}  // namespace
