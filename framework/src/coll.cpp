// Collections: node blocks, element storage, string hashing, typed collection records.
#include <fw/coll.h>

#include <cstdlib>

CPlex* PASCAL CPlex::Create(CPlex*& head, UINT_PTR nMax, UINT_PTR cbElement) {
  if (nMax == 0 || cbElement == 0 || nMax > ((UINT_PTR)-1 - sizeof(CPlex)) / cbElement) AfxThrowMemoryException();
  CPlex* p = static_cast<CPlex*>(malloc(sizeof(CPlex) + nMax * cbElement));
  if (!p) AfxThrowMemoryException();
  p->pNext = head;
  p->pReserved = nullptr;
  head = p;
  return p;
}

void CPlex::FreeDataChain() {
  for (CPlex* p = this; p;) {
    CPlex* pNext = p->pNext;
    free(p);
    p = pNext;
  }
}

void* AFXAPI _FwAllocElements(UINT_PTR nCount, UINT_PTR cbElement) {
  if (cbElement && nCount > (UINT_PTR)-1 / cbElement) AfxThrowMemoryException();
  void* p = malloc(std::max<UINT_PTR>(nCount * cbElement, 1));
  if (!p) AfxThrowMemoryException();
  return p;
}

void AFXAPI _FwFreeElements(void* p) { free(p); }

// Times 33 plus the next byte, over the bytes of the string.
template <>
UINT AFXAPI HashKey<LPCSTR>(LPCSTR key) {
  UINT nHash = 0;
  if (key) {
    for (const BYTE* p = reinterpret_cast<const BYTE*>(key); *p; ++p) nHash = (nHash << 5) + nHash + *p;
  }
  return nHash;
}
template <>
UINT AFXAPI HashKey<LPSTR>(LPSTR key) { return HashKey<LPCSTR>(key); }
template <>
UINT AFXAPI HashKey<const CString&>(const CString& key) { return HashKey<LPCSTR>(key); }
template <>
UINT AFXAPI HashKey<CString>(CString key) { return HashKey<LPCSTR>(key); }

IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_DYNAMIC(CObList, CObject)
IMPLEMENT_DYNAMIC(CStringList, CObject)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_DYNAMIC(CObArray, CObject)
IMPLEMENT_DYNAMIC(CStringArray, CObject)
IMPLEMENT_DYNAMIC(CDWordArray, CObject)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_DYNAMIC(CWordArray, CObject)
IMPLEMENT_DYNAMIC(CByteArray, CObject)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapStringToOb, CObject)
IMPLEMENT_DYNAMIC(CMapStringToString, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapWordToOb, CObject)
