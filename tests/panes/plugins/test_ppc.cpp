// A test conversion plug-in, built in variants by compile definitions.
#include "ExportPluginApi.h"

#ifndef PPC_PRIORITY
#define PPC_PRIORITY 0
#endif
#ifndef PPC_NAME
#define PPC_NAME "Convert"
#endif
#ifndef PPC_RESULT
#define PPC_RESULT 0
#endif

#define EXPORT extern "C" __declspec(dllexport)

namespace {
CPpcWindowRecord g_record;
void* g_lastList = NULL;
}  // namespace

EXPORT long GetInfo(CPpcInfoBlock* pBlock) {
#ifdef PPC_THROW
  throw 1;
#endif
#ifdef PPC_REFUSE
  return 1;
#endif
  pBlock->nPriority = PPC_PRIORITY;
#ifdef PPC_LONG_NAME
  pBlock->strName = CString('n', 400);
#else
  pBlock->strName = PPC_NAME;
#endif
  pBlock->nKind = 7;
#ifndef PPC_NO_RECORD
  pBlock->pWindow = &g_record;
#endif
  return 0;
}

EXPORT long OpenWindow(void*, CPpcWindowRecord* pRecord) {
  g_lastList = pRecord->pParam;
  pRecord->nResult = PPC_RESULT;
  pRecord->strResult1 = "first result";
  pRecord->strResult2 = "second result";
  return 0;
}

EXPORT void* TestLastList() { return g_lastList; }
