// Object model: run-time class records and their registry.
#include <fw/object.h>

#include <cstring>
#include <mutex>
#include <vector>

namespace {

// Every record registered by any module, for CRuntimeClass::FromName.
std::vector<CRuntimeClass*>& Registry() {
  static std::vector<CRuntimeClass*> classes;
  return classes;
}

std::mutex& RegistryLock() {
  static std::mutex m;
  return m;
}

}  // namespace

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) {
  std::lock_guard<std::mutex> lock(RegistryLock());
  Registry().push_back(pNewClass);
}

CRuntimeClass* CRuntimeClass::GetBaseClass() const {
  return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr;
}

CObject* CRuntimeClass::CreateObject() {
  if (!m_pfnCreateObject) return nullptr;
  try {
    return m_pfnCreateObject();
  } catch (...) {
    return nullptr;
  }
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* p = this; p; p = p->GetBaseClass()) {
    if (p == pBaseClass) return TRUE;
  }
  return FALSE;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCSTR lpszClassName) {
  if (!lpszClassName) return nullptr;
  std::lock_guard<std::mutex> lock(RegistryLock());
  for (CRuntimeClass* p : Registry()) {
    if (strcmp(p->m_lpszClassName, lpszClassName) == 0) return p;
  }
  return nullptr;
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
