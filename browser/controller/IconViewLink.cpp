// The icon view seen through IVxItemView: the controller's calls forwarded to CIconView.
#include "IconView.h"
#include "TransInternal.h"

namespace {

class CIconViewItems : public IVxItemView {
 public:
  explicit CIconViewItems(CIconView* p) : m_p(p) {}
  virtual ~CIconViewItems() {}
  HRESULT AddItem(CThumbnail* p) override { return m_p->AddItem(p); }
  void RemoveItem(CThumbnail* p) override { m_p->RemoveItem(p); }
  void DeleteAllItems() override { m_p->DeleteAllItems(); }
  int GetItemCount() const override { return m_p->GetItemCount(); }
  CThumbnail* GetThumbnail(DWORD id) const override { return m_p->GetThumbnail(id); }
  void CollectThumbnail(CList<CThumbnail*, CThumbnail*>& list, int nFlags) override {
    m_p->CollectThumbnail(list, nFlags);
  }
  void SortItems(PFNVXITEMCOMPARE pfn, LPARAM lData) override { m_p->SortItems(pfn, lData); }
  void Arrange(BOOL bForce) override { m_p->Arrange(bForce); }
  HRESULT SelectItem(DWORD id, BOOL b) override { return m_p->SelectItem(id, b); }
  void Select(DWORD id, BOOL b, BOOL bRedraw) override { m_p->Select(id, b, bRedraw); }
  void UnSelectAll(BOOL bRedraw) override { m_p->UnSelectAll(bRedraw); }
  void SelectItems_End() override { m_p->SelectItems_End(); }
  DWORD GetFocusItem() const override { return m_p->GetFocusItem(); }
  BOOL EnsureVisible(DWORD id, BOOL bPartialOK) override { return m_p->EnsureVisible(id, bPartialOK); }
  void SetCut(DWORD id, BOOL b) override { m_p->SetCut(id, b); }
  void RedrawItem(DWORD id) override { m_p->RedrawItem(id); }
  void SetThumbnailSize(CSize size) override { m_p->SetThumbnailSize(size); }
  void SetItemsShown(BOOL b) override { m_p->SetItemsShown(b); }
  void EnableDrawing(BOOL b) override { m_p->SetDrawEnabled(b); }
  void SetPicturesShown(BOOL b) override { m_p->SetPicturesShown(b); }

 private:
  CIconView* m_p;
};

}  // namespace

IVxItemView* TransNewIconViewLink(CView* pView) {
  CIconView* p = DYNAMIC_DOWNCAST(CIconView, pView);
  return p ? new CIconViewItems(p) : NULL;
}
void TransDeleteIconViewLink(IVxItemView* p) { delete static_cast<CIconViewItems*>(p); }
