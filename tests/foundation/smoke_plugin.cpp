// A plug-in: exports bound by name, objects made here and used elsewhere.
#include <windows.h>

#include "smoke_core.h"

namespace {
class Square : public SmokeShape {
 public:
  explicit Square(int side) : m_side(side) { ++SmokeCounter(); }
  int Area() const override { return m_side * m_side; }
  std::string Name() const override { return "square"; }

 private:
  int m_side;
};
}  // namespace

extern "C" __declspec(dllexport) SmokeShape* CreateShape(int side) { return new Square(side); }
extern "C" __declspec(dllexport) int ThrowFromPlugin(int code) { throw SmokeError(code); }
extern "C" __declspec(dllexport) int PluginAreaOf(SmokeShape* s) { return s->Area(); }
extern "C" __declspec(dllexport) char* PluginDup(const char* s) { return SmokeDup(s); }
