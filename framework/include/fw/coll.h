// The framework's ready-made collections of pointers, strings and numbers, each a CObject
// with its own run-time class record.
#pragma once
#include <fw/colltempl.h>

#define _FW_TYPED_LIST(name, T, ARG)                                 \
  class FW_API name : public CList<T, ARG> {                        \
    DECLARE_DYNAMIC(name)                                           \
   public:                                                          \
    explicit name(INT_PTR nBlockSize = 10) : CList<T, ARG>(nBlockSize) {} \
  };
#define _FW_TYPED_ARRAY(name, T, ARG)           \
  class FW_API name : public CArray<T, ARG> { \
    DECLARE_DYNAMIC(name)                     \
  };
#define _FW_TYPED_MAP(name, K, AK, V, AV)                                  \
  class FW_API name : public CMap<K, AK, V, AV> {                        \
    DECLARE_DYNAMIC(name)                                                \
   public:                                                               \
    explicit name(INT_PTR nBlockSize = 10) : CMap<K, AK, V, AV>(nBlockSize) {} \
  };

_FW_TYPED_LIST(CPtrList, void*, void*)
_FW_TYPED_LIST(CObList, CObject*, CObject*)
_FW_TYPED_LIST(CStringList, CString, LPCSTR)

_FW_TYPED_ARRAY(CPtrArray, void*, void*)
_FW_TYPED_ARRAY(CObArray, CObject*, CObject*)
_FW_TYPED_ARRAY(CStringArray, CString, LPCSTR)
_FW_TYPED_ARRAY(CDWordArray, DWORD, DWORD)
_FW_TYPED_ARRAY(CUIntArray, UINT, UINT)
_FW_TYPED_ARRAY(CWordArray, WORD, WORD)
_FW_TYPED_ARRAY(CByteArray, BYTE, BYTE)

_FW_TYPED_MAP(CMapStringToPtr, CString, LPCSTR, void*, void*)
_FW_TYPED_MAP(CMapStringToOb, CString, LPCSTR, CObject*, CObject*)
_FW_TYPED_MAP(CMapStringToString, CString, LPCSTR, CString, LPCSTR)
_FW_TYPED_MAP(CMapPtrToPtr, void*, void*, void*, void*)
_FW_TYPED_MAP(CMapPtrToWord, void*, void*, WORD, WORD)
_FW_TYPED_MAP(CMapWordToPtr, WORD, WORD, void*, void*)
_FW_TYPED_MAP(CMapWordToOb, WORD, WORD, CObject*, CObject*)

#undef _FW_TYPED_LIST
#undef _FW_TYPED_ARRAY
#undef _FW_TYPED_MAP
