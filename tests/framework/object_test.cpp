// Run-time classes and resources across module boundaries: a linked DLL exporting
// classes, an extension library loaded at run time, module states.
#include <gtest/gtest.h>
#include <fw/fw.h>

#include "testshapes.h"

// Outside the anonymous namespace: reached only through their run-time class records.
class CLocalShape : public CTestShape {
  DECLARE_DYNCREATE(CLocalShape)
 public:
  int Sides() const override { return 3; }
};
IMPLEMENT_DYNCREATE(CLocalShape, CTestShape)

class CNotCreatable : public CObject {
  DECLARE_DYNAMIC(CNotCreatable)
};
IMPLEMENT_DYNAMIC(CNotCreatable, CObject)

namespace {

struct ExtensionLibrary {
  HMODULE h = LoadLibraryA("fw_testext.tsp");
  ~ExtensionLibrary() { Unload(); }
  void Unload() {
    if (h) FreeLibrary(h);
    h = nullptr;
  }
};

TEST(RuntimeClass, ClassOfAnotherModuleCreatedByNameAndTested) {
  CRuntimeClass* rc = CRuntimeClass::FromName("CTestSquare");
  ASSERT_TRUE(rc != nullptr);
  EXPECT_EQ(rc, RUNTIME_CLASS(CTestSquare)) << "one record, wherever it is asked for";
  EXPECT_STREQ(rc->m_lpszClassName, "CTestSquare");
  EXPECT_EQ(rc->m_nObjectSize, (int)sizeof(CTestSquare));
  CObject* p = CRuntimeClass::CreateObject("CTestSquare");
  ASSERT_TRUE(p != nullptr);
  EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CTestSquare)));
  EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CTestShape)));
  EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(p->IsKindOf(RUNTIME_CLASS(CLocalShape)));
  CTestShape* shape = DYNAMIC_DOWNCAST(CTestShape, p);
  ASSERT_TRUE(shape != nullptr);
  EXPECT_EQ(shape->Sides(), 4);
  EXPECT_TRUE(DYNAMIC_DOWNCAST(CLocalShape, p) == nullptr);
  delete p;  // made in the DLL's code, deleted here

  // And the other way: the DLL creates a class of this program by name.
  CTestShape* local = ShapesCreate("CLocalShape");
  ASSERT_TRUE(local != nullptr);
  EXPECT_EQ(local->Sides(), 3);
  EXPECT_EQ(local->GetRuntimeClass()->GetBaseClass(), RUNTIME_CLASS(CTestShape));
  delete local;

  EXPECT_TRUE(CRuntimeClass::CreateObject("CNotCreatable") == nullptr);
  EXPECT_TRUE(CRuntimeClass::CreateObject("NoSuchClass") == nullptr);
  EXPECT_TRUE(CRuntimeClass::FromName(nullptr) == nullptr);
  EXPECT_FALSE(RUNTIME_CLASS(CObject)->IsDerivedFrom(RUNTIME_CLASS(CTestShape)));
}

TEST(RuntimeClass, ClassesOfAnUnloadedLibraryLeaveTheRegistry) {
  ExtensionLibrary ext;
  ASSERT_TRUE(ext.h != nullptr) << GetLastError();
  CObject* p = CRuntimeClass::CreateObject("CTestCircle");
  ASSERT_TRUE(p != nullptr);
  EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CTestShape))) << "base class from the linked DLL";
  EXPECT_EQ(static_cast<CTestShape*>(p)->Sides(), 1);
  EXPECT_STREQ(p->GetRuntimeClass()->m_lpszClassName, "CTestCircle");
  delete p;
  ext.Unload();
  EXPECT_TRUE(CRuntimeClass::FromName("CTestCircle") == nullptr);
  EXPECT_TRUE(CRuntimeClass::FromName("CTestSquare") != nullptr);
}

TEST(Resources, ExtensionLibraryJoinsTheChainWhileLoaded) {
  CString s;
  EXPECT_FALSE(s.LoadString(IDS_EXTENSION_OWN));
  {
    ExtensionLibrary ext;
    ASSERT_TRUE(ext.h != nullptr);
    EXPECT_TRUE(s.LoadString(IDS_EXTENSION_OWN));
    EXPECT_STREQ(s, "拡張ライブラリ");
    EXPECT_EQ(AfxFindStringResourceHandle(IDS_EXTENSION_OWN), (HINSTANCE)ext.h);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDS_EXTENSION_OWN / 16 + 1), RT_STRING), (HINSTANCE)ext.h);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(999), RT_DIALOG), AfxGetResourceHandle())
        << "not found anywhere: the current resource handle";
  }
  EXPECT_FALSE(s.LoadString(IDS_EXTENSION_OWN)) << "gone with the library";
}

TEST(Resources, ModuleStatesKeepEachModulesResourceHandle) {
  HMODULE shapes = GetModuleHandleA("fw_testshapes.dll");
  ASSERT_TRUE(shapes != nullptr);
  EXPECT_EQ(AfxGetInstanceHandle(), GetModuleHandleA(nullptr));
  EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandleA(nullptr));
  EXPECT_EQ(ShapesInstanceHandle(), (HINSTANCE)shapes);
  EXPECT_EQ(ShapesResourceHandle(), (HINSTANCE)shapes);
  EXPECT_STREQ(ShapesLoadString(IDS_SHAPES_OWN), "図形ライブラリ");
  CString s;
  EXPECT_FALSE(s.LoadString(IDS_SHAPES_OWN)) << "not in this module, nor in the chain";
  EXPECT_EQ(AfxGetModuleState(), AfxGetAppModuleState()) << "restored after each export";
  EXPECT_EQ(AfxGetStaticModuleState(), AfxGetAppModuleState()) << "the program's own state";

  // Switching the resource handle of the program's state, as a resource library does.
  HINSTANCE old = AfxGetResourceHandle();
  AfxSetResourceHandle(shapes);
  EXPECT_TRUE(s.LoadString(IDS_SHAPES_OWN));
  EXPECT_EQ(ShapesResourceHandle(), (HINSTANCE)shapes);
  AfxSetResourceHandle(old);
  EXPECT_FALSE(s.LoadString(IDS_SHAPES_OWN));
}

TEST(Resources, ModuleStateIsPerThread) {
  AFX_MODULE_STATE other(TRUE, GetModuleHandleA("fw_testshapes.dll"));
  AFX_MODULE_STATE* seenByWorker = nullptr;
  {
    AFX_MANAGE_STATE(&other);
    EXPECT_EQ(AfxGetModuleState(), &other);
    HANDLE h = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
          *static_cast<AFX_MODULE_STATE**>(p) = AfxGetModuleState();
          return 0;
        },
        &seenByWorker, 0, nullptr);
    WaitForSingleObject(h, 5000);
    CloseHandle(h);
  }
  EXPECT_EQ(seenByWorker, AfxGetAppModuleState());
  EXPECT_EQ(AfxGetModuleState(), AfxGetAppModuleState());
}

}  // namespace
