// Object model: CObject, run-time class records, dynamic creation.
// Run-time class records are plain data exported by the module that defines the class,
// so a module can create and test objects of another module's classes.
#pragma once
#include <fw/fwdefs.h>

class CObject;
class CArchive;

struct FW_API CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;                          // 0xFFFF: not serialisable
  CObject* (*m_pfnCreateObject)();         // null: not dynamically creatable
  CRuntimeClass* (*m_pfnGetBaseClass)();
  CRuntimeClass* m_pBaseClass;             // unused: the base comes from m_pfnGetBaseClass

  CObject* CreateObject();                 // null when the class can't be created
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
  CRuntimeClass* GetBaseClass() const;
  static CRuntimeClass* PASCAL FromName(LPCSTR lpszClassName);  // the first registered of that name
  static CObject* PASCAL CreateObject(LPCSTR lpszClassName);
};

// Registers a run-time class by name (done by IMPLEMENT_DYNAMIC at static-initialisation
// time) and takes it out again when its module is unloaded, so FromName never hands out a
// record of a freed library.
struct FW_API AFX_CLASSINIT {
  explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
  ~AFX_CLASSINIT();
  CRuntimeClass* m_pClass;

  AFX_CLASSINIT(const AFX_CLASSINIT&) = delete;
  void operator=(const AFX_CLASSINIT&) = delete;
};

class FW_API CObject {
 public:
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject() = 0;

  void* PASCAL operator new(size_t nSize);
  void* PASCAL operator new(size_t, void* p) { return p; }
  void PASCAL operator delete(void* p);
  void PASCAL operator delete(void*, void*) {}

 protected:
  CObject() {}

 private:
  CObject(const CObject&) = delete;
  void operator=(const CObject&) = delete;

 public:
  BOOL IsSerializable() const;
  BOOL IsKindOf(const CRuntimeClass* pClass) const;
  virtual void Serialize(CArchive& ar);
  virtual void AssertValid() const {}

  static CRuntimeClass classCObject;
  static CRuntimeClass* PASCAL GetThisClass();
  static CRuntimeClass* PASCAL _GetBaseClass();
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                          \
 public:                                                     \
  static CRuntimeClass class##class_name;                    \
  static CRuntimeClass* PASCAL GetThisClass();               \
  static CRuntimeClass* PASCAL _GetBaseClass();              \
  virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* PASCAL CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define _FW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                           \
  CRuntimeClass class_name::class##class_name = {#class_name, (int)sizeof(class class_name), wSchema, pfnNew, \
                                                 &class_name::_GetBaseClass, nullptr};                        \
  static AFX_CLASSINIT _fw_init_##class_name(&class_name::class##class_name);                                 \
  CRuntimeClass* PASCAL class_name::GetThisClass() { return &class_name::class##class_name; }                \
  CRuntimeClass* PASCAL class_name::_GetBaseClass() { return RUNTIME_CLASS(base_class_name); }                \
  CRuntimeClass* class_name::GetRuntimeClass() const { return &class_name::class##class_name; }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  _FW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                        \
  CObject* PASCAL class_name::CreateObject() { return new class_name; }          \
  _FW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                 \
  CObject* PASCAL class_name::CreateObject() { return new class_name; }          \
  _FW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)

template <class T>
inline T* _FwDynamicDowncast(CObject* p) {
  return (p && p->IsKindOf(T::GetThisClass())) ? static_cast<T*>(p) : nullptr;
}
#define DYNAMIC_DOWNCAST(class_name, object) (_FwDynamicDowncast<class_name>(object))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))
