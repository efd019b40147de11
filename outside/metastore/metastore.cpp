// metastore.dll: the list nodes of the photo database, made and freed in one place.
// Nodes live on the process heap so that a list stays valid whichever module holds it.
#include <metastore.h>

#include <cstring>

namespace {

void* Alloc(size_t n) { return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, n); }
void Free(void* p) {
  if (p) HeapFree(GetProcessHeap(), 0, p);
}

char* Dup(LPCSTR s) {
  if (!s) s = "";
  size_t n = strlen(s) + 1;
  char* p = static_cast<char*>(Alloc(n));
  if (p) memcpy(p, s, n);
  return p;
}

bool CopyName(char (&dst)[META_NAME_MAX], LPCSTR src) {
  if (!src) return false;
  size_t n = strlen(src);
  if (n == 0 || n >= META_NAME_MAX) return false;
  memcpy(dst, src, n + 1);
  return true;
}

void FreeFields(METAFIELD* f) {
  while (f) {
    METAFIELD* next = f->pNext;
    Free(f->pszValue);
    Free(f);
    f = next;
  }
}

bool SameName(LPCSTR a, LPCSTR b) {
  for (;; ++a, ++b) {
    char x = *a, y = *b;
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return false;
    if (!x) return true;
  }
}

template <class T>
T** Tail(T** pp) {
  while (*pp) pp = &(*pp)->pNext;
  return pp;
}

}  // namespace

METASTORE_API void WINAPI FreeMetaDataList(METADATA* p) {
  while (p) {
    METADATA* next = p->pNext;
    FreeFields(p->pFields);
    Free(p);
    p = next;
  }
}

METASTORE_API void WINAPI FreeMetaIdxDataList(METAIDXDATA* p) {
  while (p) {
    METAIDXDATA* next = p->pNext;
    FreeFields(p->pFields);
    Free(p->pszPath);
    Free(p);
    p = next;
  }
}

METASTORE_API void WINAPI FreeStringList(STRINGLIST* p) {
  while (p) {
    STRINGLIST* next = p->pNext;
    Free(p->pszText);
    Free(p);
    p = next;
  }
}

METASTORE_API METADATA* WINAPI MetaAppendRecord(METADATA** ppList, LPCSTR pszName) {
  if (!ppList) return nullptr;
  METADATA* r = static_cast<METADATA*>(Alloc(sizeof(METADATA)));
  if (!r) return nullptr;
  if (!CopyName(r->szName, pszName)) {
    Free(r);
    return nullptr;
  }
  *Tail(ppList) = r;
  return r;
}

METASTORE_API METAFIELD* WINAPI MetaAppendField(METAFIELD** ppFields, LPCSTR pszName, int nFlag, LPCSTR pszValue) {
  if (!ppFields) return nullptr;
  METAFIELD* f = static_cast<METAFIELD*>(Alloc(sizeof(METAFIELD)));
  if (!f) return nullptr;
  f->nFlag = nFlag;
  f->pszValue = Dup(pszValue);
  if (!f->pszValue || !CopyName(f->szName, pszName)) {
    Free(f->pszValue);
    Free(f);
    return nullptr;
  }
  *Tail(ppFields) = f;
  return f;
}

namespace {

// A record and a row count their fields alike.
template <class T>
METAFIELD* AddCountedField(T* owner, LPCSTR pszName, int nFlag, LPCSTR pszValue) {
  if (!owner) return nullptr;
  METAFIELD* f = MetaAppendField(&owner->pFields, pszName, nFlag, pszValue);
  if (f) ++owner->nFields;
  return f;
}

}  // namespace

METASTORE_API METAFIELD* WINAPI MetaAddRecordField(METADATA* pRecord, LPCSTR pszName, int nFlag, LPCSTR pszValue) {
  return AddCountedField(pRecord, pszName, nFlag, pszValue);
}

METASTORE_API METAIDXDATA* WINAPI MetaAppendRow(METAIDXDATA** ppList, int nIndex, LPCSTR pszPath) {
  if (!ppList) return nullptr;
  METAIDXDATA* r = static_cast<METAIDXDATA*>(Alloc(sizeof(METAIDXDATA)));
  if (!r) return nullptr;
  r->nIndex = nIndex;
  r->pszPath = Dup(pszPath);
  if (!r->pszPath) {
    Free(r);
    return nullptr;
  }
  *Tail(ppList) = r;
  return r;
}

METASTORE_API METAFIELD* WINAPI MetaAddRowField(METAIDXDATA* pRow, LPCSTR pszName, int nFlag, LPCSTR pszValue) {
  return AddCountedField(pRow, pszName, nFlag, pszValue);
}

METASTORE_API STRINGLIST* WINAPI StringListAppend(STRINGLIST** ppList, LPCSTR pszText, LONG_PTR nData) {
  if (!ppList) return nullptr;
  STRINGLIST* s = static_cast<STRINGLIST*>(Alloc(sizeof(STRINGLIST)));
  if (!s) return nullptr;
  s->pszText = Dup(pszText);
  if (!s->pszText) {
    Free(s);
    return nullptr;
  }
  s->nData = nData;
  *Tail(ppList) = s;
  return s;
}

METASTORE_API const METADATA* WINAPI MetaFindRecord(const METADATA* p, LPCSTR pszName) {
  if (!pszName) return nullptr;
  for (; p; p = p->pNext)
    if (SameName(p->szName, pszName)) return p;
  return nullptr;
}

METASTORE_API const METAFIELD* WINAPI MetaFindField(const METAFIELD* f, LPCSTR pszName) {
  if (!pszName) return nullptr;
  for (; f; f = f->pNext)
    if (SameName(f->szName, pszName)) return f;
  return nullptr;
}

METASTORE_API LPCSTR WINAPI MetaGetValue(const METADATA* pList, LPCSTR pszRecord, LPCSTR pszField) {
  const METADATA* r = MetaFindRecord(pList, pszRecord);
  const METAFIELD* f = r ? MetaFindField(r->pFields, pszField) : nullptr;
  return f ? f->pszValue : nullptr;
}

METASTORE_API int WINAPI MetaCountRecords(const METADATA* p) {
  int n = 0;
  for (; p; p = p->pNext) ++n;
  return n;
}

METASTORE_API int WINAPI StringListCount(const STRINGLIST* p) {
  int n = 0;
  for (; p; p = p->pNext) ++n;
  return n;
}
