// Object model: run-time class records and their registry.
#include <fw/except.h>
#include <fw/object.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Every record registered by any module, for CRuntimeClass::FromName. Never destroyed:
// modules unregister from their own static destructors, which may run after ours.
std::vector<CRuntimeClass*>& Registry() {
  static auto* classes = new std::vector<CRuntimeClass*>;
  return *classes;
}

SRWLOCK g_registryLock = SRWLOCK_INIT;

}  // namespace

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) : m_pClass(pNewClass) {
  AcquireSRWLockExclusive(&g_registryLock);
  Registry().push_back(pNewClass);
  ReleaseSRWLockExclusive(&g_registryLock);
}

AFX_CLASSINIT::~AFX_CLASSINIT() {
  AcquireSRWLockExclusive(&g_registryLock);
  auto& r = Registry();
  r.erase(std::remove(r.begin(), r.end(), m_pClass), r.end());
  ReleaseSRWLockExclusive(&g_registryLock);
}

CRuntimeClass* CRuntimeClass::GetBaseClass() const {
  return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr;
}

CObject* CRuntimeClass::CreateObject() {
  if (!m_pfnCreateObject) return nullptr;
  // A constructor that runs out of memory gives no object rather than an exception.
  try {
    return m_pfnCreateObject();
  } catch (CException* e) {
    e->Delete();
  } catch (std::bad_alloc&) {
  }
  return nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* p = this; p; p = p->GetBaseClass()) {
    if (p == pBaseClass) return TRUE;
  }
  return FALSE;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCSTR lpszClassName) {
  if (!lpszClassName) return nullptr;
  CRuntimeClass* pFound = nullptr;
  AcquireSRWLockShared(&g_registryLock);
  for (CRuntimeClass* p : Registry()) {
    if (strcmp(p->m_lpszClassName, lpszClassName) == 0) {
      pFound = p;
      break;
    }
  }
  ReleaseSRWLockShared(&g_registryLock);
  return pFound;
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCSTR lpszClassName) {
  CRuntimeClass* p = FromName(lpszClassName);
  return p ? p->CreateObject() : nullptr;
}

CRuntimeClass CObject::classCObject = {"CObject", (int)sizeof(CObject), 0xFFFF, nullptr, nullptr, nullptr};
static AFX_CLASSINIT _fw_init_CObject(&CObject::classCObject);

CRuntimeClass* PASCAL CObject::GetThisClass() { return &CObject::classCObject; }
CRuntimeClass* PASCAL CObject::_GetBaseClass() { return nullptr; }
CRuntimeClass* CObject::GetRuntimeClass() const { return &CObject::classCObject; }
CObject::~CObject() {}

void* PASCAL CObject::operator new(size_t nSize) { return ::operator new(nSize); }
void PASCAL CObject::operator delete(void* p) { ::operator delete(p); }

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

void CObject::Serialize(CArchive&) {}
