#include "testshapes.h"

IMPLEMENT_DYNAMIC(CTestShape, CObject)
IMPLEMENT_DYNCREATE(CTestSquare, CTestShape)

CString ShapesLoadString(UINT nID) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  CString s;
  s.LoadString(nID);
  return s;
}

HINSTANCE ShapesResourceHandle() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return AfxGetResourceHandle();
}

HINSTANCE ShapesInstanceHandle() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return AfxGetInstanceHandle();
}

CTestShape* ShapesCreate(LPCSTR lpszClassName) {
  return DYNAMIC_DOWNCAST(CTestShape, CRuntimeClass::CreateObject(lpszClassName));
}
