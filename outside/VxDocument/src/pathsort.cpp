// Sorting path lists the way the browser sorts its items; the sort keys; report mode.
#include <VxDocument/PathSort.h>

#include <VxGUIDB.h>

#include <map>
#include <vector>

CString VxSortKeyString(UINT nSortID, BOOL bSDAudioVoice, bool* pbAscending) {
  static const char kLetters[] = "tdzefabcoo";
  if (pbAscending) *pbAscending = (nSortID % 2) != 0;
  if (nSortID < 11 || nSortID > 30) return CString();
  char letter = kLetters[(nSortID - 11) / 2];
  if (bSDAudioVoice && (letter == 't' || letter == 'd')) letter = 'm';
  CString keys(letter, 1);
  if (letter != 'f' && letter != 'o') keys += 'f';
  return keys;
}

BOOL IsEnableReportMode() { return FALSE; }

HRESULT CPathSort::Sort(CStringList& list, UINT nSortType, PATHSORTCALLBACK pfnCallback, void* pContext) {
  if (nSortType < 10 || nSortType > 30) return E_INVALIDARG;
  bool bAscending = true;
  CString keys = VxSortKeyString(nSortType, FALSE, &bAscending);
  if (keys.IsEmpty()) return S_OK;

  // The files become items of a scratch page, which reads what the keys compare.
  std::vector<CString> paths;
  for (POSITION pos = list.GetHeadPosition(); pos;) paths.push_back(list.GetNext(pos));
  CThumbnailPage page(VXPAGE_VIRTUAL, 0);
  std::map<CThumbnail*, size_t> indexOf;
  std::vector<size_t> missing;
  int count = (int)paths.size();
  for (int i = 0; i < count; ++i) {
    if (pfnCallback && !pfnCallback(paths[i], i, count, pContext)) return E_ABORT;
    CThumbnail* pItem = nullptr;
    if (page.Add(paths[i], 1, &pItem) == 0 && pItem)
      indexOf[pItem] = i;
    else
      missing.push_back(i);
  }
  page.Sort(keys, bAscending);

  list.RemoveAll();
  for (int i = 0; i < page.GetCount(); ++i) list.AddTail(paths[indexOf[page.GetAt(i)]]);
  for (size_t i : missing) list.AddTail(paths[i]);
  return S_OK;
}
