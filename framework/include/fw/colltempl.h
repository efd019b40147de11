// Collection templates: CList, CArray, CMap, and the typed pointer wrappers.
//
// Lists and maps take their nodes from blocks of nBlockSize (10 by default) and reuse
// freed nodes until the collection becomes empty, when every block is given back. Memory
// comes from the framework DLL; running out of it throws CMemoryException, and an index
// or position outside the collection throws CInvalidArgException instead of corrupting
// memory.
#pragma once
#include <fw/except.h>

#include <new>
#include <type_traits>
#include <utility>

// A chain of raw blocks for the nodes of one collection.
struct FW_API CPlex {
  CPlex* pNext;
  void* pReserved;  // keeps data() 16-byte aligned
  void* data() { return this + 1; }

  // Adds a block of nMax elements of cbElement bytes in front of head.
  static CPlex* PASCAL Create(CPlex*& head, UINT_PTR nMax, UINT_PTR cbElement);
  void FreeDataChain();  // frees this block and every one after it
};

// Raw element storage of arrays (from and back to the framework DLL).
FW_API void* AFXAPI _FwAllocElements(UINT_PTR nCount, UINT_PTR cbElement);
FW_API void AFXAPI _FwFreeElements(void* p);

// Element helpers that callers may specialise for their own types.
template <class TYPE, class ARG_TYPE>
inline BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
  return *pElement1 == *pElement2;
}

// Hash of an integer or pointer key: the key shifted right by 4. Integer keys hash as
// 32-bit values, so a negative int lands in the same bucket as it always did.
template <class ARG_KEY>
inline UINT AFXAPI HashKey(ARG_KEY key) {
  typedef typename std::remove_cv<typename std::remove_reference<ARG_KEY>::type>::type K;
  if constexpr (std::is_pointer<K>::value) {
    return (UINT)(reinterpret_cast<DWORD_PTR>(key) >> 4);
  } else if constexpr (sizeof(K) <= sizeof(DWORD)) {
    return (UINT)((DWORD)key >> 4);
  } else {
    return (UINT)((DWORD_PTR)key >> 4);
  }
}
template <>
FW_API UINT AFXAPI HashKey<LPCSTR>(LPCSTR key);
template <>
FW_API UINT AFXAPI HashKey<LPSTR>(LPSTR key);
template <>
FW_API UINT AFXAPI HashKey<const CString&>(const CString& key);
template <>
FW_API UINT AFXAPI HashKey<CString>(CString key);

// ---- CList ------------------------------------------------------------------------------

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
 protected:
  struct CNode {
    CNode* pNext;
    CNode* pPrev;
    alignas(TYPE) unsigned char storage[sizeof(TYPE)];
    TYPE& data() { return *reinterpret_cast<TYPE*>(storage); }
  };

 public:
  explicit CList(INT_PTR nBlockSize = 10)
      : m_pNodeHead(nullptr), m_pNodeTail(nullptr), m_nCount(0), m_pNodeFree(nullptr), m_pBlocks(nullptr),
        m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}
  ~CList() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  TYPE& GetHead() { return Checked(m_pNodeHead)->data(); }
  const TYPE& GetHead() const { return Checked(m_pNodeHead)->data(); }
  TYPE& GetTail() { return Checked(m_pNodeTail)->data(); }
  const TYPE& GetTail() const { return Checked(m_pNodeTail)->data(); }

  TYPE RemoveHead() {
    CNode* p = Checked(m_pNodeHead);
    TYPE value(std::move(p->data()));
    RemoveAt(Pos(p));
    return value;
  }
  TYPE RemoveTail() {
    CNode* p = Checked(m_pNodeTail);
    TYPE value(std::move(p->data()));
    RemoveAt(Pos(p));
    return value;
  }

  POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(GetHeadPosition(), newElement); }
  POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(GetTailPosition(), newElement); }
  // The other list's elements, in their order, in front of or after ours.
  void AddHead(CList* pNewList) {
    if (!pNewList) return;
    POSITION pos = pNewList->GetTailPosition();
    INT_PTR n = pNewList->GetCount();  // the list may be this one
    while (pos && n-- > 0) AddHead(pNewList->GetPrev(pos));
  }
  void AddTail(CList* pNewList) {
    if (!pNewList) return;
    POSITION pos = pNewList->GetHeadPosition();
    INT_PTR n = pNewList->GetCount();
    while (pos && n-- > 0) AddTail(pNewList->GetNext(pos));
  }

  void RemoveAll() {
    for (CNode* p = m_pNodeHead; p; p = p->pNext) p->data().~TYPE();
    m_nCount = 0;
    m_pNodeHead = m_pNodeTail = m_pNodeFree = nullptr;
    if (m_pBlocks) m_pBlocks->FreeDataChain();
    m_pBlocks = nullptr;
  }

  POSITION GetHeadPosition() const { return Pos(m_pNodeHead); }
  POSITION GetTailPosition() const { return Pos(m_pNodeTail); }

  // Returns the element at rPosition and moves rPosition on (NULL after the last).
  TYPE& GetNext(POSITION& rPosition) {
    CNode* p = Node(rPosition);
    rPosition = Pos(p->pNext);
    return p->data();
  }
  const TYPE& GetNext(POSITION& rPosition) const {
    CNode* p = Node(rPosition);
    rPosition = Pos(p->pNext);
    return p->data();
  }
  TYPE& GetPrev(POSITION& rPosition) {
    CNode* p = Node(rPosition);
    rPosition = Pos(p->pPrev);
    return p->data();
  }
  const TYPE& GetPrev(POSITION& rPosition) const {
    CNode* p = Node(rPosition);
    rPosition = Pos(p->pPrev);
    return p->data();
  }

  TYPE& GetAt(POSITION position) { return Node(position)->data(); }
  const TYPE& GetAt(POSITION position) const { return Node(position)->data(); }
  void SetAt(POSITION pos, ARG_TYPE newElement) { Node(pos)->data() = newElement; }

  void RemoveAt(POSITION position) {
    CNode* p = Node(position);
    (p->pPrev ? p->pPrev->pNext : m_pNodeHead) = p->pNext;
    (p->pNext ? p->pNext->pPrev : m_pNodeTail) = p->pPrev;
    FreeNode(p);
  }

  // NULL inserts at the head (InsertBefore) or the tail (InsertAfter).
  POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
    if (!position) {
      CNode* p = NewNode(nullptr, m_pNodeHead, newElement);
      (m_pNodeHead ? m_pNodeHead->pPrev : m_pNodeTail) = p;
      m_pNodeHead = p;
      return Pos(p);
    }
    CNode* pOld = Node(position);
    CNode* p = NewNode(pOld->pPrev, pOld, newElement);
    (pOld->pPrev ? pOld->pPrev->pNext : m_pNodeHead) = p;
    pOld->pPrev = p;
    return Pos(p);
  }
  POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
    if (!position) {
      CNode* p = NewNode(m_pNodeTail, nullptr, newElement);
      (m_pNodeTail ? m_pNodeTail->pNext : m_pNodeHead) = p;
      m_pNodeTail = p;
      return Pos(p);
    }
    CNode* pOld = Node(position);
    CNode* p = NewNode(pOld, pOld->pNext, newElement);
    (pOld->pNext ? pOld->pNext->pPrev : m_pNodeTail) = p;
    pOld->pNext = p;
    return Pos(p);
  }

  // The first element equal to searchValue after startAfter (from the head when NULL).
  POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const {
    CNode* p = startAfter ? Node(startAfter)->pNext : m_pNodeHead;
    for (; p; p = p->pNext) {
      if (CompareElements<TYPE, typename std::remove_reference<ARG_TYPE>::type>(&p->data(), &searchValue))
        return Pos(p);
    }
    return NULL;
  }
  // The position of the nIndex-th element (from 0), NULL outside the list.
  POSITION FindIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return NULL;
    CNode* p = m_pNodeHead;
    while (nIndex-- > 0) p = p->pNext;
    return Pos(p);
  }

 protected:
  CNode* m_pNodeHead;
  CNode* m_pNodeTail;
  INT_PTR m_nCount;
  CNode* m_pNodeFree;
  CPlex* m_pBlocks;
  INT_PTR m_nBlockSize;

  static POSITION Pos(CNode* p) { return reinterpret_cast<POSITION>(p); }
  static CNode* Node(POSITION pos) {
    if (!pos || pos == BEFORE_START_POSITION) AfxThrowInvalidArgException();
    return reinterpret_cast<CNode*>(pos);
  }
  static CNode* Checked(CNode* p) {
    if (!p) AfxThrowInvalidArgException();
    return p;
  }

  CNode* NewNode(CNode* pPrev, CNode* pNext, ARG_TYPE value) {
    if (!m_pNodeFree) {
      CPlex* block = CPlex::Create(m_pBlocks, (UINT_PTR)m_nBlockSize, sizeof(CNode));
      CNode* p = static_cast<CNode*>(block->data()) + m_nBlockSize - 1;
      for (INT_PTR i = m_nBlockSize - 1; i >= 0; --i, --p) {
        p->pNext = m_pNodeFree;
        m_pNodeFree = p;
      }
    }
    CNode* p = m_pNodeFree;
    ::new (static_cast<void*>(p->storage)) TYPE(value);  // may throw: the node stays free
    m_pNodeFree = p->pNext;
    p->pPrev = pPrev;
    p->pNext = pNext;
    ++m_nCount;
    return p;
  }
  void FreeNode(CNode* p) {
    p->data().~TYPE();
    p->pNext = m_pNodeFree;
    m_pNodeFree = p;
    if (--m_nCount == 0) RemoveAll();
  }
};

// ---- CArray -----------------------------------------------------------------------------

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
 public:
  CArray() : m_pData(nullptr), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0) {}
  ~CArray() override { SetSize(0); }

  INT_PTR GetSize() const { return m_nSize; }
  INT_PTR GetCount() const { return m_nSize; }
  BOOL IsEmpty() const { return m_nSize == 0; }
  INT_PTR GetUpperBound() const { return m_nSize - 1; }
  INT_PTR GetAllocSize() const { return m_nMaxSize; }  // elements the storage holds

  // New elements are default-constructed. nGrowBy: elements added at each growth; 0 means
  // an eighth of the size, at least 4 and at most 1024; -1 keeps the present setting.
  void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1) {
    if (nNewSize < 0) AfxThrowInvalidArgException();
    if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
    if (nNewSize == 0) {
      Destroy(0, m_nSize);
      _FwFreeElements(m_pData);
      m_pData = nullptr;
      m_nSize = m_nMaxSize = 0;
      return;
    }
    if (nNewSize > m_nMaxSize) {
      INT_PTR nNewMax = nNewSize;
      if (m_pData) {
        INT_PTR nGrow = m_nGrowBy;
        if (nGrow == 0) nGrow = std::min<INT_PTR>(1024, std::max<INT_PTR>(4, m_nSize / 8));
        nNewMax = std::max(nNewSize, m_nMaxSize + nGrow);
      } else {
        nNewMax = std::max(nNewSize, m_nGrowBy);
      }
      Reallocate(nNewMax);
    }
    for (INT_PTR i = m_nSize; i < nNewSize; ++i) {
      ::new (static_cast<void*>(m_pData + i)) TYPE();
      m_nSize = i + 1;
    }
    if (nNewSize < m_nSize) {
      Destroy(nNewSize, m_nSize);
      m_nSize = nNewSize;
    }
  }

  void FreeExtra() {
    if (m_nSize == 0) {
      SetSize(0);
    } else if (m_nSize != m_nMaxSize) {
      Reallocate(m_nSize);
    }
  }
  void RemoveAll() { SetSize(0); }

  const TYPE& GetAt(INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
  TYPE& GetAt(INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
  void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_pData[Checked(nIndex)] = newElement; }
  const TYPE& ElementAt(INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
  TYPE& ElementAt(INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
  const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
  TYPE& operator[](INT_PTR nIndex) { return GetAt(nIndex); }
  const TYPE* GetData() const { return m_pData; }
  TYPE* GetData() { return m_pData; }

  // The argument may be an element of this array: it is copied before the array moves.
  void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
    if (nIndex < 0) AfxThrowInvalidArgException();
    TYPE value(newElement);
    if (nIndex >= m_nSize) SetSize(nIndex + 1);
    m_pData[nIndex] = std::move(value);
  }
  INT_PTR Add(ARG_TYPE newElement) {
    INT_PTR nIndex = m_nSize;
    SetAtGrow(nIndex, newElement);
    return nIndex;
  }
  INT_PTR Append(const CArray& src) {
    INT_PTR nOldSize = m_nSize, nCount = src.m_nSize;
    SetSize(m_nSize + nCount);
    for (INT_PTR i = 0; i < nCount; ++i) m_pData[nOldSize + i] = src.m_pData[i];
    return nOldSize;
  }
  void Copy(const CArray& src) {
    if (this == &src) return;
    SetSize(src.m_nSize);
    for (INT_PTR i = 0; i < m_nSize; ++i) m_pData[i] = src.m_pData[i];
  }

  // Inserts nCount copies at nIndex (past the end: the gap is filled with new elements).
  void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount < 0) AfxThrowInvalidArgException();
    if (nCount == 0) return;
    TYPE value(newElement);
    INT_PTR nOldSize = m_nSize;
    if (nIndex >= nOldSize) {
      SetSize(nIndex + nCount);
    } else {
      SetSize(nOldSize + nCount);
      for (INT_PTR i = nOldSize - 1; i >= nIndex; --i) m_pData[i + nCount] = std::move(m_pData[i]);
    }
    for (INT_PTR i = 0; i < nCount; ++i) m_pData[nIndex + i] = value;
  }
  void InsertAt(INT_PTR nStartIndex, CArray* pNewArray) {
    if (!pNewArray || pNewArray->m_nSize == 0) return;
    CArray copy;  // the array may be this one
    copy.Copy(*pNewArray);
    InsertAt(nStartIndex, copy.m_pData[0], copy.m_nSize);
    for (INT_PTR i = 1; i < copy.m_nSize; ++i) m_pData[nStartIndex + i] = copy.m_pData[i];
  }
  void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount < 0 || nIndex + nCount > m_nSize) AfxThrowInvalidArgException();
    for (INT_PTR i = nIndex; i + nCount < m_nSize; ++i) m_pData[i] = std::move(m_pData[i + nCount]);
    Destroy(m_nSize - nCount, m_nSize);
    m_nSize -= nCount;
  }

 protected:
  TYPE* m_pData;
  INT_PTR m_nSize;
  INT_PTR m_nMaxSize;
  INT_PTR m_nGrowBy;

  INT_PTR Checked(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nSize) AfxThrowInvalidArgException();
    return nIndex;
  }
  void Destroy(INT_PTR nFrom, INT_PTR nTo) {
    for (INT_PTR i = nFrom; i < nTo; ++i) m_pData[i].~TYPE();
  }
  void Reallocate(INT_PTR nNewMax) {
    TYPE* pNew = static_cast<TYPE*>(_FwAllocElements((UINT_PTR)nNewMax, sizeof(TYPE)));
    for (INT_PTR i = 0; i < m_nSize; ++i) {
      ::new (static_cast<void*>(pNew + i)) TYPE(std::move(m_pData[i]));
      m_pData[i].~TYPE();
    }
    _FwFreeElements(m_pData);
    m_pData = pNew;
    m_nMaxSize = nNewMax;
  }
};

// ---- CMap -------------------------------------------------------------------------------

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
 protected:
  struct CAssoc {
    CAssoc* pNext;
    UINT nHashValue;
    alignas(KEY) unsigned char keyStorage[sizeof(KEY)];
    alignas(VALUE) unsigned char valueStorage[sizeof(VALUE)];
    KEY& key() { return *reinterpret_cast<KEY*>(keyStorage); }
    VALUE& value() { return *reinterpret_cast<VALUE*>(valueStorage); }
  };

 public:
  typedef KEY BASE_KEY;
  typedef ARG_KEY BASE_ARG_KEY;
  typedef VALUE BASE_VALUE;
  typedef ARG_VALUE BASE_ARG_VALUE;

  explicit CMap(INT_PTR nBlockSize = 10)
      : m_pHashTable(nullptr), m_nHashTableSize(17), m_nCount(0), m_pFreeList(nullptr), m_pBlocks(nullptr),
        m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}
  ~CMap() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }
  UINT GetHashTableSize() const { return m_nHashTableSize; }

  BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
    UINT nBucket, nHash;
    CAssoc* p = GetAssocAt(key, nBucket, nHash);
    if (!p) return FALSE;
    rValue = p->value();
    return TRUE;
  }

  // The value of key, added (default-constructed) when missing.
  VALUE& operator[](ARG_KEY key) {
    UINT nBucket, nHash;
    CAssoc* p = GetAssocAt(key, nBucket, nHash);
    if (p) return p->value();
    if (!m_pHashTable) InitHashTable(m_nHashTableSize);
    p = NewAssoc(key, nHash);
    p->pNext = m_pHashTable[nBucket];  // newest first within a bucket
    m_pHashTable[nBucket] = p;
    return p->value();
  }
  void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

  BOOL RemoveKey(ARG_KEY key) {
    if (!m_pHashTable) return FALSE;
    UINT nHash = HashKey<ARG_KEY>(key);
    for (CAssoc** pp = &m_pHashTable[nHash % m_nHashTableSize]; *pp; pp = &(*pp)->pNext) {
      if (CompareElements(&(*pp)->key(), &key)) {
        CAssoc* p = *pp;
        *pp = p->pNext;
        FreeAssoc(p);
        return TRUE;
      }
    }
    return FALSE;
  }

  void RemoveAll() {
    if (m_pHashTable) {
      for (UINT i = 0; i < m_nHashTableSize; ++i) {
        for (CAssoc* p = m_pHashTable[i]; p; p = p->pNext) {
          p->key().~KEY();
          p->value().~VALUE();
        }
      }
      _FwFreeElements(m_pHashTable);
      m_pHashTable = nullptr;
    }
    m_nCount = 0;
    m_pFreeList = nullptr;
    if (m_pBlocks) m_pBlocks->FreeDataChain();
    m_pBlocks = nullptr;
  }

  // Iteration in bucket order (0 upwards), newest first within a bucket.
  POSITION GetStartPosition() const { return m_nCount ? Pos(NextFrom(0)) : NULL; }
  void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
    if (!rNextPosition || rNextPosition == BEFORE_START_POSITION) AfxThrowInvalidArgException();
    CAssoc* p = reinterpret_cast<CAssoc*>(rNextPosition);
    rKey = p->key();
    rValue = p->value();
    rNextPosition = Pos(p->pNext ? p->pNext : NextFrom(p->nHashValue % m_nHashTableSize + 1));
  }

  // Sets the number of buckets (while the map is empty; a prime such as 17 spreads best).
  void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE) {
    if (m_nCount != 0 || nHashSize == 0) return;
    if (m_pHashTable) {
      _FwFreeElements(m_pHashTable);
      m_pHashTable = nullptr;
    }
    if (bAllocNow) {
      m_pHashTable = static_cast<CAssoc**>(_FwAllocElements(nHashSize, sizeof(CAssoc*)));
      for (UINT i = 0; i < nHashSize; ++i) m_pHashTable[i] = nullptr;
    }
    m_nHashTableSize = nHashSize;
  }

 protected:
  CAssoc** m_pHashTable;
  UINT m_nHashTableSize;
  INT_PTR m_nCount;
  CAssoc* m_pFreeList;
  CPlex* m_pBlocks;
  INT_PTR m_nBlockSize;

  static POSITION Pos(CAssoc* p) { return reinterpret_cast<POSITION>(p); }

  CAssoc* NextFrom(UINT nBucket) const {
    for (; m_pHashTable && nBucket < m_nHashTableSize; ++nBucket) {
      if (m_pHashTable[nBucket]) return m_pHashTable[nBucket];
    }
    return nullptr;
  }

  CAssoc* GetAssocAt(ARG_KEY key, UINT& nBucket, UINT& nHash) const {
    nHash = HashKey<ARG_KEY>(key);
    nBucket = nHash % m_nHashTableSize;
    if (!m_pHashTable) return nullptr;
    for (CAssoc* p = m_pHashTable[nBucket]; p; p = p->pNext) {
      if (CompareElements(&p->key(), &key)) return p;
    }
    return nullptr;
  }

  CAssoc* NewAssoc(ARG_KEY key, UINT nHash) {
    if (!m_pFreeList) {
      CPlex* block = CPlex::Create(m_pBlocks, (UINT_PTR)m_nBlockSize, sizeof(CAssoc));
      CAssoc* p = static_cast<CAssoc*>(block->data()) + m_nBlockSize - 1;
      for (INT_PTR i = m_nBlockSize - 1; i >= 0; --i, --p) {
        p->pNext = m_pFreeList;
        m_pFreeList = p;
      }
    }
    CAssoc* p = m_pFreeList;
    ::new (static_cast<void*>(p->keyStorage)) KEY(key);
    try {
      ::new (static_cast<void*>(p->valueStorage)) VALUE();
    } catch (...) {
      p->key().~KEY();
      throw;
    }
    m_pFreeList = p->pNext;
    p->nHashValue = nHash;
    ++m_nCount;
    return p;
  }
  void FreeAssoc(CAssoc* p) {
    p->key().~KEY();
    p->value().~VALUE();
    p->pNext = m_pFreeList;
    m_pFreeList = p;
    if (--m_nCount == 0) RemoveAll();
  }
};

// ---- typed pointer wrappers -------------------------------------------------------------

// A CPtrList or CObList whose elements are TYPE pointers.
template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
 public:
  explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

  TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead()); }
  TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
  TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail()); }
  TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
  TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
  TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
  TYPE& GetNext(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(rPosition)); }
  TYPE GetNext(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition)); }
  TYPE& GetPrev(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(rPosition)); }
  TYPE GetPrev(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition)); }
  TYPE& GetAt(POSITION position) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(position)); }
  TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
  void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
  POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
  POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
  void AddHead(CTypedPtrList* pNewList) { BASE_CLASS::AddHead(pNewList); }
  void AddTail(CTypedPtrList* pNewList) { BASE_CLASS::AddTail(pNewList); }
  POSITION InsertBefore(POSITION position, TYPE newElement) { return BASE_CLASS::InsertBefore(position, newElement); }
  POSITION InsertAfter(POSITION position, TYPE newElement) { return BASE_CLASS::InsertAfter(position, newElement); }
  POSITION Find(TYPE searchValue, POSITION startAfter = NULL) const { return BASE_CLASS::Find(searchValue, startAfter); }
};

// A CPtrArray or CObArray whose elements are TYPE pointers.
template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
 public:
  TYPE GetAt(INT_PTR nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
  TYPE& ElementAt(INT_PTR nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
  void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
  void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
  INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
  void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1) { BASE_CLASS::InsertAt(nIndex, newElement, nCount); }
  TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
  TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
  TYPE* GetData() { return reinterpret_cast<TYPE*>(BASE_CLASS::GetData()); }
  const TYPE* GetData() const { return reinterpret_cast<const TYPE*>(BASE_CLASS::GetData()); }
};

// A pointer-valued map (CMapPtrToPtr, CMapStringToPtr, CMapWordToPtr, ...) with typed keys
// and values.
template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS {
 public:
  explicit CTypedPtrMap(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

  BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const {
    typename BASE_CLASS::BASE_VALUE value = nullptr;
    BOOL bFound = BASE_CLASS::Lookup(key, value);
    rValue = static_cast<VALUE>(value);
    return bFound;
  }
  VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key) {
    return reinterpret_cast<VALUE&>(BASE_CLASS::operator[](key));
  }
  void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
  BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
  void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const {
    typename BASE_CLASS::BASE_KEY key;
    typename BASE_CLASS::BASE_VALUE value;
    BASE_CLASS::GetNextAssoc(rPosition, key, value);
    rKey = (KEY)key;
    rValue = static_cast<VALUE>(value);
  }
};
