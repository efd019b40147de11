// CSortableObList: a stable sort of the elements in place.
#include <Kitlib2/SortableObList.h>

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CSortableObList, CObList)

CSortableObList::CSortableObList(INT_PTR nBlockSize) : CObList(nBlockSize) {}

void CSortableObList::Sort(PFNCOMPARE pfnCompare, LPARAM lParam, BOOL bAscending) {
  if (!pfnCompare || GetCount() < 2) return;
  std::vector<CObject*> items;
  items.reserve(static_cast<size_t>(GetCount()));
  for (POSITION p = GetHeadPosition(); p;) items.push_back(GetNext(p));
  std::stable_sort(items.begin(), items.end(), [&](const CObject* a, const CObject* b) {
    int c = pfnCompare(a, b, lParam);
    return bAscending ? c < 0 : c > 0;
  });
  size_t i = 0;
  for (POSITION p = GetHeadPosition(); p; ++i) {
    POSITION cur = p;
    GetNext(p);
    SetAt(cur, items[i]);
  }
}

int CSortableObList::CompareByVirtual(const CObject* a, const CObject* b, LPARAM lParam) {
  return reinterpret_cast<const CSortableObList*>(lParam)->Compare(a, b);
}

void CSortableObList::Sort(BOOL bAscending) { Sort(CompareByVirtual, reinterpret_cast<LPARAM>(this), bAscending); }

int CSortableObList::Compare(const CObject* a, const CObject* b) const {
  return a < b ? -1 : (a > b ? 1 : 0);
}
