// metastore: the lists that the photo database hands out and takes in.
//
// Every list is a chain of heap nodes made by this library; whoever receives a list
// from the database (or builds one with the functions below) releases it with the
// matching Free function, from any module. Texts are in the ANSI code page (932).
//
//   _tagMETADATA    one metadata record of a file: a name ("DateTimeInfo",
//                   "KeywordsInfo", ...) and its fields. Registration lists
//                   (RecordGateEx VxDBWxCreate...List) and VxDBWReadFile use it.
//   _tagMETAFIELD   one field of a record or table row: name, flag, value text.
//   _tagMETAIDXDATA one row of a table read in pages (VxDBWGetReadTableDataEx):
//                   its 1-based row number, the file it belongs to and its fields.
//   _tagSTRINGLIST  a list of texts (search results: file paths) with one number each.
#pragma once

#include <windows.h>

#ifdef __cplusplus
#define METASTORE_EXTERN extern "C"
#else
#define METASTORE_EXTERN extern
#endif
#ifdef METASTORE_BUILD
#define METASTORE_API METASTORE_EXTERN __declspec(dllexport)
#else
#define METASTORE_API METASTORE_EXTERN __declspec(dllimport)
#endif

// Field flags. Plain values carry 0; readers that want the user's text test for 0.
#define META_FLAG_TEXT 0     // a text value
#define META_FLAG_NUMBER 1   // a number written as text (times, coordinates)

#define META_NAME_MAX 32     // record and field names, terminator included

typedef struct _tagMETAFIELD {
  struct _tagMETAFIELD* pNext;
  char szName[META_NAME_MAX];
  int nFlag;
  char* pszValue;  // never null: "" when empty
} METAFIELD, *LPMETAFIELD;

typedef struct _tagMETADATA {
  struct _tagMETADATA* pNext;
  char szName[META_NAME_MAX];
  int nFields;
  METAFIELD* pFields;
} METADATA, *LPMETADATA;

typedef struct _tagMETAIDXDATA {
  struct _tagMETAIDXDATA* pNext;
  int nIndex;        // row number in the table, from 1
  char* pszPath;     // the file the row belongs to
  int nFields;
  METAFIELD* pFields;
} METAIDXDATA, *LPMETAIDXDATA;

typedef struct _tagSTRINGLIST {
  struct _tagSTRINGLIST* pNext;
  char* pszText;
  LONG_PTR nData;    // a number that goes with the text (an id, a count, a distance)
} STRINGLIST, *LPSTRINGLIST;

// Releasing. Each accepts null and frees the whole chain.
METASTORE_API void WINAPI FreeMetaDataList(METADATA* pList);
METASTORE_API void WINAPI FreeMetaIdxDataList(METAIDXDATA* pList);
METASTORE_API void WINAPI FreeStringList(STRINGLIST* pList);

// Building. Each call appends at the end of the chain that *pp starts (pass the last
// node's pNext to append in constant time); null on a bad argument or no memory.
// A name longer than META_NAME_MAX - 1 bytes is refused (null), never cut.
METASTORE_API METADATA* WINAPI MetaAppendRecord(METADATA** ppList, LPCSTR pszName);
METASTORE_API METAFIELD* WINAPI MetaAppendField(METAFIELD** ppFields, LPCSTR pszName, int nFlag, LPCSTR pszValue);
METASTORE_API METAFIELD* WINAPI MetaAddRecordField(METADATA* pRecord, LPCSTR pszName, int nFlag, LPCSTR pszValue);
METASTORE_API METAIDXDATA* WINAPI MetaAppendRow(METAIDXDATA** ppList, int nIndex, LPCSTR pszPath);
METASTORE_API METAFIELD* WINAPI MetaAddRowField(METAIDXDATA* pRow, LPCSTR pszName, int nFlag, LPCSTR pszValue);
METASTORE_API STRINGLIST* WINAPI StringListAppend(STRINGLIST** ppList, LPCSTR pszText, LONG_PTR nData);

// Reading. Names compare without regard to ASCII case; null when absent.
METASTORE_API const METADATA* WINAPI MetaFindRecord(const METADATA* pList, LPCSTR pszName);
METASTORE_API const METAFIELD* WINAPI MetaFindField(const METAFIELD* pFields, LPCSTR pszName);
// The value of field pszField of the first record pszRecord; null when absent.
METASTORE_API LPCSTR WINAPI MetaGetValue(const METADATA* pList, LPCSTR pszRecord, LPCSTR pszField);
METASTORE_API int WINAPI MetaCountRecords(const METADATA* pList);
METASTORE_API int WINAPI StringListCount(const STRINGLIST* pList);
