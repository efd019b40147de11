#include "CardItemDlg.h"

#include <VxResourceIds.h>

#include <cstring>

#include "CardRules.h"

namespace cardtree {

namespace {
const int kStride = (kThumbWidth * 3 + 3) & ~3;
BYTE* Bits(std::vector<BYTE>& thumb) { return thumb.data() + sizeof(BITMAPINFOHEADER); }

// A packed bottom-up 24-bit picture of w x h, every byte `fill`.
std::vector<BYTE> PackedPicture(int w, int h, BYTE fill) {
  const int stride = (w * 3 + 3) & ~3;
  std::vector<BYTE> dib(sizeof(BITMAPINFOHEADER) + stride * h, fill);
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = w;
  header.biHeight = h;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biSizeImage = stride * h;
  memcpy(dib.data(), &header, sizeof header);
  return dib;
}
}  // namespace

std::vector<BYTE> WhiteThumbnail() { return PackedPicture(kThumbWidth, kThumbHeight, 0xFF); }

void PlacePicture(std::vector<BYTE>& thumb, const BYTE* bits, int w, int h) {
  if (!bits || w <= 0 || h <= 0 || w > kThumbWidth || h > kThumbHeight) return;
  const int stride = (w * 3 + 3) & ~3;
  const int left = (kThumbWidth - w) / 2, bottom = (kThumbHeight - h) / 2;
  for (int y = 0; y < h; ++y) memcpy(Bits(thumb) + (bottom + y) * kStride + left * 3, bits + y * stride, w * 3);
}

void PlaceBadge(std::vector<BYTE>& thumb, const BITMAPINFOHEADER* badge, size_t cbBadge) {
  if (!badge || cbBadge < sizeof(BITMAPINFOHEADER) || badge->biSize != sizeof(BITMAPINFOHEADER) ||
      badge->biBitCount != 24 || badge->biCompression != BI_RGB || badge->biWidth <= 0 || badge->biHeight <= 0)
    return;
  const int w = badge->biWidth, h = badge->biHeight, stride = (w * 3 + 3) & ~3;
  if (cbBadge < sizeof(BITMAPINFOHEADER) + static_cast<size_t>(stride) * h) return;
  const BYTE* src = reinterpret_cast<const BYTE*>(badge + 1);
  const int right = kThumbWidth - 2, bottomRow = 2;
  for (int y = 0; y < h && bottomRow + y < kThumbHeight; ++y)
    for (int x = 0; x < w; ++x) {
      const int tx = right - w + x;
      if (tx < 0) continue;
      memcpy(Bits(thumb) + (bottomRow + y) * kStride + tx * 3, src + y * stride + x * 3, 3);
    }
}

const BITMAPINFOHEADER* AvchdBadge(size_t* cbBadge) {
  HMODULE res = ResourceModule() ? ResourceModule() : GetModuleHandleA("VxResource.dll");
  HRSRC found = res ? FindResourceA(res, MAKEINTRESOURCEA(IDB_BADGE_AVCHD), MAKEINTRESOURCEA(2)) : NULL;
  HGLOBAL loaded = found ? LoadResource(res, found) : NULL;
  const auto* badge = loaded ? static_cast<const BITMAPINFOHEADER*>(LockResource(loaded)) : nullptr;
  *cbBadge = badge ? SizeofResource(res, found) : 0;
  return badge;
}

long PartThumbnail(IVxBDIntegrator* core, int list, int title, int part, const BITMAPINFOHEADER* badge,
                   size_t cbBadge, std::vector<BYTE>* thumb) {
  *thumb = WhiteThumbnail();
  VXBDPARTINFO info = {};
  long hr = core->GetPartInfo(list, title, part, &info);
  int w = 0, h = 0;
  if (hr >= 0 && FitPart(info.nWidth, info.nHeight, &w, &h)) {
    std::vector<BYTE> dib = PackedPicture(w, h, 0);
    hr = core->GetPartThumbnail(list, title, part, dib.data());
    if (hr < 0) return hr;
    PlacePicture(*thumb, dib.data() + sizeof(BITMAPINFOHEADER), w, h);
  }
  // A part without a size keeps the white picture, with the badge like every other.
  PlaceBadge(*thumb, badge, cbBadge);
  return 0;
}

}  // namespace cardtree

using namespace cardtree;

BEGIN_MESSAGE_MAP(CCardItemDlg, CDialog)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CCardItemDlg::CCardItemDlg(CWnd* pParent)
    : CDialog(IDD_CARD_ITEM, pParent), m_pCore(NULL), m_nItem(-1), m_nSession(-1), m_nList(-1), m_list(0) {}

void CCardItemDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_CARD_ITEM_LIST, m_list);
}

BOOL CCardItemDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_list.InitControl();
  m_list.SendMessage(WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), TRUE);
  FillList();
  return TRUE;
}

HRESULT CCardItemDlg::FillList() {
  size_t cbBadge = 0;
  const BITMAPINFOHEADER* badge = AvchdBadge(&cbBadge);
  if (!badge) return E_UNEXPECTED;
  if (!m_pCore) return E_POINTER;
  VXBDTITLEINFO title = {};
  long hr = m_pCore->GetTitleInfo(m_nList, m_nItem, &title);
  if (hr < 0) return hr;
  m_list.SetItemCount(title.nParts);
  m_list.SendMessage(LVM_ENSUREVISIBLE, 0, FALSE);
  for (int i = 0; i < title.nParts; ++i) {
    std::vector<BYTE> thumb;
    hr = PartThumbnail(m_pCore, m_nList, m_nItem, i, badge, cbBadge, &thumb);
    if (hr < 0) return hr;
    m_list.InsertItem(i, "");
    m_list.AddPackedDib(i, thumb.data(), 0, 0, "", thumb.size());
  }
  m_list.ArrangeItems();
  return S_OK;
}

void CCardItemDlg::OnOK() { EndDialog(IDOK); }

void CCardItemDlg::OnDestroy() {
  CDialog::OnDestroy();
  if (m_list.GetSafeHwnd()) m_list.DestroyWindow();
}
