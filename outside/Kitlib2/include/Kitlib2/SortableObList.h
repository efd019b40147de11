// An object list that sorts itself by a comparison.
#pragma once
#include <Kitlib2/KitDefs.h>

class KITLIB2_API CSortableObList : public CObList {
  DECLARE_DYNAMIC(CSortableObList)

 public:
  // Negative, 0 or positive as a sorts before, with or after b.
  typedef int (*PFNCOMPARE)(const CObject* a, const CObject* b, LPARAM lParam);

  explicit CSortableObList(INT_PTR nBlockSize = 10);

  // Stable sort: elements that compare equal keep their order. The nodes stay where
  // they are (positions remain valid); only the elements move.
  void Sort(PFNCOMPARE pfnCompare, LPARAM lParam = 0, BOOL bAscending = TRUE);

  // Sort by the virtual Compare.
  void Sort(BOOL bAscending = TRUE);

 protected:
  // Default order: by address (override for a meaningful order).
  virtual int Compare(const CObject* a, const CObject* b) const;

 private:
  static int CompareByVirtual(const CObject* a, const CObject* b, LPARAM lParam);
};
