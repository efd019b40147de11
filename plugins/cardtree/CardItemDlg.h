// The parts of one disc title as thumbnails (the import dialog opens it on an item).
#pragma once
#include <VxBDCore.h>
#include <thumblist/ThumbListCtrl.h>

#include <vector>

namespace cardtree {

// An 80 x 60 24-bit packed DIB (header and bits), all white.
std::vector<BYTE> WhiteThumbnail();
// Puts a bottom-up 24-bit picture of w x h (w <= 80, h <= 60) into the thumbnail: a full
// height one centred across, a lower one centred up and down.
void PlacePicture(std::vector<BYTE>& thumb, const BYTE* bits, int w, int h);
// The badge (a packed 24-bit DIB) in the bottom-right corner: 2 pixels from the right
// edge, its bottom row on the third row from the bottom; what does not fit is left out.
void PlaceBadge(std::vector<BYTE>& thumb, const BITMAPINFOHEADER* badge, size_t cbBadge);
// The thumbnail of one part as the core gives it; an empty picture when its size is 0 or
// the core fails.
// The badge of a disc title's pictures (the resource library's, null when missing).
const BITMAPINFOHEADER* AvchdBadge(size_t* cbBadge);
long PartThumbnail(IVxBDIntegrator* core, int list, int title, int part, const BITMAPINFOHEADER* badge,
                   size_t cbBadge, std::vector<BYTE>* thumb);

}  // namespace cardtree

class CCardItemDlg : public CDialog {
 public:
  explicit CCardItemDlg(CWnd* pParent = NULL);
  IVxBDIntegrator* m_pCore;
  int m_nItem;
  int m_nSession;
  int m_nList;
  CThumbListCtrl m_list;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
  HRESULT FillList();
};
