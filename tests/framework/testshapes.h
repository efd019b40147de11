// A DLL linked by the test program: run-time classes exported across the boundary, and
// exports that switch to the library's own module state.
#pragma once
#include <fw/fw.h>

#ifdef FW_TESTSHAPES_BUILD
#define SHAPES_API __declspec(dllexport)
#else
#define SHAPES_API __declspec(dllimport)
#endif

class SHAPES_API CTestShape : public CObject {
  DECLARE_DYNAMIC(CTestShape)
 public:
  virtual int Sides() const { return 0; }
};

class SHAPES_API CTestSquare : public CTestShape {
  DECLARE_DYNCREATE(CTestSquare)
 public:
  int Sides() const override { return 4; }
};

// String id of the library's own string table.
#define IDS_SHAPES_OWN 310
#define IDS_EXTENSION_OWN 400

// Under the library's module state: its own resources.
SHAPES_API CString ShapesLoadString(UINT nID);
SHAPES_API HINSTANCE ShapesResourceHandle();
SHAPES_API HINSTANCE ShapesInstanceHandle();
// Creates an object by class name from inside the library.
SHAPES_API CTestShape* ShapesCreate(LPCSTR lpszClassName);
