// A tiny shared library that hands C++ objects across module boundaries.
#pragma once
#include <string>

#ifdef SMOKE_CORE_BUILD
#define SMOKE_API __declspec(dllexport)
#else
#define SMOKE_API __declspec(dllimport)
#endif

class SMOKE_API SmokeShape {
 public:
  virtual ~SmokeShape();
  virtual int Area() const = 0;
  virtual std::string Name() const;
};

class SMOKE_API SmokeError {
 public:
  explicit SmokeError(int code) : m_code(code) {}
  int m_code;
};

// One registry per process, whichever module asks.
SMOKE_API int& SmokeCounter();
// Memory the core allocates and another module frees, and the reverse.
SMOKE_API char* SmokeDup(const char* s);
SMOKE_API void SmokeFree(void* p);
SMOKE_API void SmokeThrow(int code);
