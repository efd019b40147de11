// The DCT perceptual hash.
#include "imaging/phash.h"

#include <algorithm>
#include <cmath>

#include "imaging/decode.h"
#include "imaging/transform.h"

namespace imaging {

namespace {
constexpr int kSide = 32;  // grey image size
constexpr int kLow = 8;    // frequencies kept per axis
}  // namespace

uint64_t PerceptualHash(const Dib& image) {
  if (image.Empty()) return 0;
  Dib small;
  if (!ConvertBitCount(image, 24, &small) || !Resize(small, kSide, kSide, &small)) return 0;
  double grey[kSide][kSide];
  for (int y = 0; y < kSide; ++y) {
    const uint8_t* p = small.Row(y);
    for (int x = 0; x < kSide; ++x, p += 3) grey[y][x] = 0.114 * p[0] + 0.587 * p[1] + 0.299 * p[2];
  }
  struct CosTable {
    double v[kLow][kSide];
    CosTable() {
      const double pi = 3.14159265358979323846;
      for (int u = 0; u < kLow; ++u)
        for (int x = 0; x < kSide; ++x) v[u][x] = std::cos((2 * x + 1) * u * pi / (2 * kSide));
    }
  };
  static const CosTable table;  // built once, thread-safe
  const auto& cosTable = table.v;
  // Rows first (keeping kLow frequencies), then columns.
  double rows[kSide][kLow];
  for (int y = 0; y < kSide; ++y)
    for (int u = 0; u < kLow; ++u) {
      double s = 0;
      for (int x = 0; x < kSide; ++x) s += grey[y][x] * cosTable[u][x];
      rows[y][u] = s;
    }
  double coeff[kLow * kLow];
  for (int v = 0; v < kLow; ++v)
    for (int u = 0; u < kLow; ++u) {
      double s = 0;
      for (int y = 0; y < kSide; ++y) s += rows[y][u] * cosTable[v][y];
      coeff[v * kLow + u] = s;
    }
  // The median of the frequencies without the mean (DC) term.
  double ac[kLow * kLow - 1];
  std::copy(coeff + 1, coeff + kLow * kLow, ac);
  std::nth_element(ac, ac + (kLow * kLow - 1) / 2, ac + kLow * kLow - 1);
  double median = ac[(kLow * kLow - 1) / 2];
  uint64_t hash = 0;
  for (int i = 0; i < kLow * kLow; ++i)
    if (coeff[i] > median) hash |= uint64_t(1) << i;
  return hash;
}

HRESULT PerceptualHashFile(const char* path, uint64_t* hash) {
  if (!hash) return E_INVALIDARG;
  DecodeOptions opt;
  opt.maxWidth = opt.maxHeight = 128;
  opt.source = DecodeOptions::Source::Thumbnail;
  Dib image;
  HRESULT hr = DecodeFile(path, opt, &image);
  if (FAILED(hr)) return hr;
  *hash = PerceptualHash(image);
  return S_OK;
}

int HashDistance(uint64_t a, uint64_t b) { return __builtin_popcountll(a ^ b); }

}  // namespace imaging
