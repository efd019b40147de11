// Face search by the Haar cascade, templates by local binary patterns, the database in the
// caller's buffer (libfacetag.h).
#include "facetag_core.h"

#include <xxhash.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

namespace facetag {

namespace {

uint32_t U32(const uint8_t* p) {
  uint32_t v;
  memcpy(&v, p, 4);
  return v;
}
float F32(const uint8_t* p) {
  float v;
  memcpy(&v, p, 4);
  return v;
}

// Integral images of a picture, one row and column of zeros first.
struct Integral {
  int w = 0, h = 0;
  std::vector<int64_t> sum, sq;
  void Make(const std::vector<uint8_t>& g, int width, int height) {
    w = width;
    h = height;
    sum.assign((size_t)(w + 1) * (h + 1), 0);
    sq.assign(sum.size(), 0);
    for (int y = 0; y < h; ++y) {
      int64_t row = 0, rowSq = 0;
      for (int x = 0; x < w; ++x) {
        const int v = g[(size_t)y * w + x];
        row += v;
        rowSq += v * v;
        sum[(size_t)(y + 1) * (w + 1) + x + 1] = sum[(size_t)y * (w + 1) + x + 1] + row;
        sq[(size_t)(y + 1) * (w + 1) + x + 1] = sq[(size_t)y * (w + 1) + x + 1] + rowSq;
      }
    }
  }
  int64_t Box(const std::vector<int64_t>& t, int x, int y, int bw, int bh) const {
    const size_t s = w + 1;
    return t[(size_t)(y + bh) * s + x + bw] - t[(size_t)y * s + x + bw] - t[(size_t)(y + bh) * s + x] + t[(size_t)y * s + x];
  }
};

// Bilinear resampling of a grey picture region to dw x dh.
std::vector<uint8_t> Resample(const std::vector<uint8_t>& g, int w, int h, double sx, double sy, double sw, double sh,
                              int dw, int dh) {
  std::vector<uint8_t> out((size_t)dw * dh);
  for (int y = 0; y < dh; ++y)
    for (int x = 0; x < dw; ++x) {
      double fx = sx + (x + 0.5) * sw / dw - 0.5, fy = sy + (y + 0.5) * sh / dh - 0.5;
      fx = std::min(std::max(fx, 0.0), (double)w - 1);
      fy = std::min(std::max(fy, 0.0), (double)h - 1);
      const int x0 = (int)fx, y0 = (int)fy, x1 = std::min(x0 + 1, w - 1), y1 = std::min(y0 + 1, h - 1);
      const double ax = fx - x0, ay = fy - y0;
      const double v = (1 - ay) * ((1 - ax) * g[(size_t)y0 * w + x0] + ax * g[(size_t)y0 * w + x1]) +
                       ay * ((1 - ax) * g[(size_t)y1 * w + x0] + ax * g[(size_t)y1 * w + x1]);
      out[(size_t)y * dw + x] = (uint8_t)std::lround(v);
    }
  return out;
}

// The picture reduced by area: each pixel the mean of the part of the picture it covers. A
// reduction that samples the picture keeps its noise as texture at every scale, which the
// cascade takes for faces. The sums at fractional corners are exact: the integral of a
// picture of constant pixels is bilinear within a pixel.
std::vector<uint8_t> Shrink(const Integral& ii, double scale, int dw, int dh) {
  const size_t stride = ii.w + 1;
  std::vector<int> x0(dw + 1);
  std::vector<double> ax(dw + 1);
  for (int x = 0; x <= dw; ++x) {
    const double fx = std::min((double)ii.w, x * scale);
    x0[x] = std::min((int)fx, ii.w - 1);
    ax[x] = fx - x0[x];
  }
  // The integral along each row edge of the reduced picture, at every column of the picture.
  std::vector<double> edge((size_t)(dh + 1) * stride);
  for (int y = 0; y <= dh; ++y) {
    const double fy = std::min((double)ii.h, y * scale);
    const int y0 = std::min((int)fy, ii.h - 1);
    const double ay = fy - y0;
    const int64_t* a = &ii.sum[(size_t)y0 * stride];
    const int64_t* b = a + stride;
    double* e = &edge[(size_t)y * stride];
    for (size_t x = 0; x < stride; ++x) e[x] = (1 - ay) * a[x] + ay * b[x];
  }
  auto at = [&](const double* e, int x) { return (1 - ax[x]) * e[x0[x]] + ax[x] * e[x0[x] + 1]; };
  std::vector<uint8_t> out((size_t)dw * dh);
  const double area = scale * scale;
  for (int y = 0; y < dh; ++y) {
    const double* top = &edge[(size_t)y * stride];
    const double* bottom = top + stride;
    for (int x = 0; x < dw; ++x) {
      const double s = at(bottom, x + 1) - at(top, x + 1) - at(bottom, x) + at(top, x);
      out[(size_t)y * dw + x] = (uint8_t)std::lround(std::min(255.0, std::max(0.0, s / area)));
    }
  }
  return out;
}

// The search looks this many scale steps below the smallest face asked for, so that a face
// of that size gathers neighbours on both sides as larger ones do; a face is a group of more
// than kNeighbours hits. Faces gather 17 or more, false hits on dark or noisy backgrounds
// at most 8.
const double kScaleStep = 1.1;
const int kFinerSteps = 2;
const int kNeighbours = 11;

// The 59 bins of the uniform patterns (at most two bit changes around); the rest share one.
const std::vector<int>& UniformBins() {
  static const std::vector<int> bins = [] {
    std::vector<int> b(256, 58);
    int next = 0;
    for (int code = 0; code < 256; ++code) {
      int changes = 0;
      for (int i = 0; i < 8; ++i) changes += ((code >> i) & 1) != ((code >> ((i + 1) % 8)) & 1);
      if (changes <= 2) b[code] = next++;
    }
    return b;
  }();
  return bins;
}

const int kTemplateSide = 64;
const int kCells = 4;
const int kBins = 59;

}  // namespace

bool Cascade::Load(const std::vector<uint8_t>& b) {
  Cascade read;
  const bool ok = read.Parse(b);
  // A cascade that does not read whole leaves none: half of one would find nonsense.
  *this = ok ? std::move(read) : Cascade();
  return ok;
}

bool Cascade::Parse(const std::vector<uint8_t>& b) {
  if (b.size() < 24 || memcmp(b.data(), "FCSC", 4) != 0 || U32(&b[4]) != 1) return false;
  width = (int)U32(&b[8]);
  height = (int)U32(&b[12]);
  const uint32_t nStages = U32(&b[16]), nFeatures = U32(&b[20]);
  if (width < 8 || height < 8 || width > 64 || height > 64 || nStages == 0 || nStages > 100 || nFeatures == 0 ||
      nFeatures > 100000)
    return false;
  size_t at = 24;
  uint64_t nWeaks = 0;
  if (b.size() < at + nStages * 8ull) return false;
  for (uint32_t i = 0; i < nStages; ++i, at += 8) {
    Stage s{U32(&b[at]), F32(&b[at + 4])};
    if (s.weakCount == 0 || s.weakCount > 10000) return false;
    nWeaks += s.weakCount;
    stages.push_back(s);
  }
  if (b.size() < at + nWeaks * 16 + nFeatures * 28ull) return false;
  for (uint64_t i = 0; i < nWeaks; ++i, at += 16) {
    Weak w{U32(&b[at]), F32(&b[at + 4]), F32(&b[at + 8]), F32(&b[at + 12])};
    if (w.feature >= nFeatures) return false;
    weaks.push_back(w);
  }
  for (uint32_t i = 0; i < nFeatures; ++i) {
    Feature f;
    f.count = (int)U32(&b[at]);
    at += 4;
    if (f.count < 1 || f.count > 3) return false;
    for (int r = 0; r < 3; ++r, at += 8) {
      f.rects[r] = {b[at], b[at + 1], b[at + 2], b[at + 3], F32(&b[at + 4])};
      if (r < f.count && (f.rects[r].x + f.rects[r].w > width || f.rects[r].y + f.rects[r].h > height)) return false;
    }
    features.push_back(f);
  }
  return at == b.size();
}

std::vector<FaceRect> Cascade::Detect(const std::vector<uint8_t>& grey, int w, int h, int minWidth) const {
  std::vector<FaceRect> hits;
  if (stages.empty()) return hits;
  const double start = std::max(1.0, (double)minWidth / width / std::pow(kScaleStep, kFinerSteps));
  Integral whole;
  whole.Make(grey, w, h);
  for (double scale = start;; scale *= kScaleStep) {
    const int sw = (int)(w / scale), sh = (int)(h / scale);
    if (sw < width || sh < height) break;
    const std::vector<uint8_t> small = scale == 1.0 ? grey : Shrink(whole, scale, sw, sh);
    Integral ii;
    ii.Make(small, sw, sh);
    const int step = scale > 2 ? 1 : 2;
    const int area = (width - 2) * (height - 2);
    for (int y = 0; y + height <= sh; y += step)
      for (int x = 0; x + width <= sw; x += step) {
        const double s = (double)ii.Box(ii.sum, x + 1, y + 1, width - 2, height - 2);
        const double q = (double)ii.Box(ii.sq, x + 1, y + 1, width - 2, height - 2);
        double nf = area * q - s * s;
        nf = nf > 0 ? std::sqrt(nf) : 1;
        size_t k = 0;
        bool face = true;
        for (const Stage& st : stages) {
          double total = 0;
          for (uint32_t i = 0; i < st.weakCount; ++i, ++k) {
            const Weak& wk = weaks[k];
            const Feature& f = features[wk.feature];
            double v = 0;
            for (int r = 0; r < f.count; ++r)
              v += f.rects[r].weight * (double)ii.Box(ii.sum, x + f.rects[r].x, y + f.rects[r].y, f.rects[r].w, f.rects[r].h);
            total += v < wk.threshold * nf ? wk.left : wk.right;
          }
          if (total < st.threshold) {
            face = false;
            break;
          }
        }
        if (face)
          hits.push_back({(int)std::lround(x * scale), (int)std::lround(y * scale), (int)std::lround(width * scale),
                          (int)std::lround(height * scale)});
      }
  }
  return Group(hits, kNeighbours, 0.2);
}

std::vector<FaceRect> Group(const std::vector<FaceRect>& rects, int minNeighbours, double eps) {
  const size_t n = rects.size();
  std::vector<size_t> parent(n);
  std::iota(parent.begin(), parent.end(), 0);
  std::function<size_t(size_t)> root = [&](size_t i) { return parent[i] == i ? i : parent[i] = root(parent[i]); };
  auto similar = [eps](const FaceRect& a, const FaceRect& b) {
    const double d = eps * (std::min(a.w, b.w) + std::min(a.h, b.h)) * 0.5;
    return std::abs(a.x - b.x) <= d && std::abs(a.y - b.y) <= d && std::abs(a.x + a.w - b.x - b.w) <= d &&
           std::abs(a.y + a.h - b.y - b.h) <= d;
  };
  for (size_t i = 0; i < n; ++i)
    for (size_t j = i + 1; j < n; ++j)
      if (similar(rects[i], rects[j])) parent[root(i)] = root(j);
  std::vector<std::vector<size_t>> clusters(n);
  for (size_t i = 0; i < n; ++i) clusters[root(i)].push_back(i);
  std::vector<FaceRect> out;
  for (const auto& c : clusters) {
    if ((int)c.size() <= minNeighbours) continue;
    double x = 0, y = 0, w = 0, h = 0;
    for (size_t i : c) {
      x += rects[i].x;
      y += rects[i].y;
      w += rects[i].w;
      h += rects[i].h;
    }
    const double k = 1.0 / c.size();
    out.push_back({(int)std::lround(x * k), (int)std::lround(y * k), (int)std::lround(w * k), (int)std::lround(h * k)});
  }
  // A face inside a larger one is part of it.
  std::vector<FaceRect> kept;
  for (const FaceRect& a : out) {
    bool inside = false;
    for (const FaceRect& b : out)
      inside = inside || (&a != &b && b.w > a.w && a.x >= b.x && a.y >= b.y && a.x + a.w <= b.x + b.w &&
                          a.y + a.h <= b.y + b.h);
    if (!inside) kept.push_back(a);
  }
  std::sort(kept.begin(), kept.end(), [](const FaceRect& a, const FaceRect& b) { return a.x < b.x; });
  return kept;
}

std::vector<uint8_t> MakeTemplate(const std::vector<uint8_t>& grey, int w, int h, const FaceRect& face) {
  const std::vector<uint8_t> g =
      Resample(grey, w, h, face.x, face.y, face.w, face.h, kTemplateSide, kTemplateSide);
  const std::vector<int>& bins = UniformBins();
  std::vector<int> counts(kCells * kCells * kBins, 0), cellTotal(kCells * kCells, 0);
  const int inner = kTemplateSide - 2;
  static const int dx[8] = {-1, 0, 1, 1, 1, 0, -1, -1}, dy[8] = {-1, -1, -1, 0, 1, 1, 1, 0};
  for (int y = 1; y <= inner; ++y)
    for (int x = 1; x <= inner; ++x) {
      const int c = g[(size_t)y * kTemplateSide + x];
      int code = 0;
      for (int i = 0; i < 8; ++i) code |= (g[(size_t)(y + dy[i]) * kTemplateSide + x + dx[i]] >= c) << i;
      const int cell = ((y - 1) * kCells / inner) * kCells + (x - 1) * kCells / inner;
      ++counts[cell * kBins + bins[code]];
      ++cellTotal[cell];
    }
  std::vector<uint8_t> t(FTAG_TEMPLATE_BYTES);
  for (size_t i = 0; i < counts.size(); ++i)
    t[i] = (uint8_t)std::min(255, counts[i] * 1020 / std::max(1, cellTotal[i / kBins]));
  return t;
}

int Similarity(const uint8_t* a, const uint8_t* b) {
  double chi = 0;
  for (int cell = 0; cell < kCells * kCells; ++cell) {
    double sa = 0, sb = 0;
    for (int i = 0; i < kBins; ++i) {
      sa += a[cell * kBins + i];
      sb += b[cell * kBins + i];
    }
    if (sa <= 0 || sb <= 0) return 0;
    for (int i = 0; i < kBins; ++i) {
      const double p = a[cell * kBins + i] / sa, q = b[cell * kBins + i] / sb;
      if (p + q > 0) chi += (p - q) * (p - q) / (p + q);
    }
  }
  // chi is 0 for equal histograms and 2 a cell for disjoint ones.
  const double mean = chi / (kCells * kCells);
  return (int)std::lround(100 * std::max(0.0, 1 - mean / kSimilarityScale));
}

// ---- the database in the caller's buffer --------------------------------------------------

namespace {
const size_t kDbHeader = 64;
struct Header {
  char magic[4];
  uint32_t version, persons, capacity, next;
  uint64_t checksum;
};
// A record's number (0 = free) and person.
struct RecordHead {
  uint16_t number;
  int32_t person;
};
RecordHead HeadOf(const uint8_t* db, uint32_t i) {
  const uint8_t* r = db + kDbHeader + (size_t)i * FTAG_RECORD_BYTES;
  RecordHead h;
  memcpy(&h.number, r, 2);
  memcpy(&h.person, r + 4, 4);
  return h;
}
uint64_t Checksum(const uint8_t* db, uint32_t capacity) {
  return XXH3_64bits(db + kDbHeader, (size_t)capacity * FTAG_RECORD_BYTES);
}
}  // namespace

size_t DbSize(int persons) { return kDbHeader + (size_t)persons * FTAG_FACES_PER_PERSON * FTAG_RECORD_BYTES; }

bool InitDb(uint8_t* db, int persons) {
  if (!db || persons <= 0 || persons > FTAG_MAX_PERSONS) return false;
  memset(db, 0, DbSize(persons));
  Header hd = {{'F', 'T', 'D', 'B'}, 1, (uint32_t)persons, (uint32_t)(persons * FTAG_FACES_PER_PERSON), 1, 0};
  hd.checksum = Checksum(db, hd.capacity);
  memcpy(db, &hd, sizeof hd);
  return true;
}

bool CheckDb(const uint8_t* db) {
  if (!db) return false;
  Header hd;
  memcpy(&hd, db, sizeof hd);
  if (memcmp(hd.magic, "FTDB", 4) != 0 || hd.version != 1 || hd.persons == 0 || hd.persons > FTAG_MAX_PERSONS ||
      hd.capacity != hd.persons * FTAG_FACES_PER_PERSON || hd.next == 0 || hd.next > 0xFFFF)
    return false;
  return hd.checksum == Checksum(db, hd.capacity);
}

int StoreRecord(uint8_t* db, int user, int person, const std::vector<uint8_t>& tmpl) {
  if (!CheckDb(db) || tmpl.size() != FTAG_TEMPLATE_BYTES || person < 0 || person > 0x7FFF) return -1;
  Header hd;
  memcpy(&hd, db, sizeof hd);
  int free = -1, faces = 0;
  for (uint32_t i = 0; i < hd.capacity; ++i) {
    const RecordHead h = HeadOf(db, i);
    if (h.number == 0 && free < 0) free = (int)i;
    if (h.number != 0 && h.person == person) ++faces;
  }
  if (free < 0 || faces >= FTAG_FACES_PER_PERSON || hd.next > 0xFFFF) return -1;
  uint8_t* r = db + kDbHeader + (size_t)free * FTAG_RECORD_BYTES;
  const uint16_t number = (uint16_t)hd.next, zero = 0;
  const int32_t p = person, u = user;
  memcpy(r, &number, 2);
  memcpy(r + 2, &zero, 2);
  memcpy(r + 4, &p, 4);
  memcpy(r + 8, &u, 4);
  memcpy(r + 12, tmpl.data(), FTAG_TEMPLATE_BYTES);
  hd.next = hd.next == 0xFFFF ? 0x10000 : hd.next + 1;
  hd.checksum = Checksum(db, hd.capacity);
  memcpy(db, &hd, sizeof hd);
  return number;
}

int DeleteRecord(uint8_t* db, int number) {
  if (!CheckDb(db) || number <= 0 || number > 0xFFFF) return -1;
  Header hd;
  memcpy(&hd, db, sizeof hd);
  for (uint32_t i = 0; i < hd.capacity; ++i) {
    if (HeadOf(db, i).number != number) continue;
    memset(db + kDbHeader + (size_t)i * FTAG_RECORD_BYTES, 0, FTAG_RECORD_BYTES);
    hd.checksum = Checksum(db, hd.capacity);
    memcpy(db, &hd, sizeof hd);
    return 0;
  }
  return -1;
}

int DeleteUserRecords(uint8_t* db, int person) {
  if (!CheckDb(db)) return -1;
  Header hd;
  memcpy(&hd, db, sizeof hd);
  int deleted = 0;
  for (uint32_t i = 0; i < hd.capacity; ++i) {
    const RecordHead h = HeadOf(db, i);
    if (h.number == 0 || h.person != person) continue;
    memset(db + kDbHeader + (size_t)i * FTAG_RECORD_BYTES, 0, FTAG_RECORD_BYTES);
    ++deleted;
  }
  hd.checksum = Checksum(db, hd.capacity);
  memcpy(db, &hd, sizeof hd);
  return deleted;
}

std::pair<POINT, POINT> FindEyes(const std::vector<uint8_t>& grey, int w, int h, const FaceRect& f) {
  // The search boxes: below the brows and above the nose, each half less the margins.
  auto darkest = [&](int x0, int x1, POINT fallback) {
    const int y0 = f.y + f.h * 3 / 10, y1 = f.y + f.h / 2, r = std::max(1, f.w / 24);
    long best = -1;
    POINT at = fallback;
    for (int y = std::max(y0, r); y < std::min(y1, h - r); y += 2)
      for (int x = std::max(x0, r); x < std::min(x1, w - r); x += 2) {
        long sum = 0;
        for (int dy = -r; dy <= r; ++dy)
          for (int dx = -r; dx <= r; ++dx) sum += grey[(size_t)(y + dy) * w + x + dx];
        if (best < 0 || sum < best) {
          best = sum;
          at = {x, y};
        }
      }
    return at;
  };
  const POINT left = {f.x + f.w * 3 / 10, f.y + f.h * 2 / 5}, right = {f.x + f.w * 7 / 10, f.y + f.h * 2 / 5};
  if (grey.size() < (size_t)w * h) return {left, right};
  return {darkest(f.x + f.w / 8, f.x + f.w / 2 - f.w / 16, left),
          darkest(f.x + f.w / 2 + f.w / 16, f.x + f.w * 7 / 8, right)};
}

std::vector<std::pair<int, int>> Candidates(const uint8_t* db, const std::vector<uint8_t>& tmpl) {
  std::vector<std::pair<int, int>> best;  // person, score
  if (!CheckDb(db) || tmpl.size() != FTAG_TEMPLATE_BYTES) return best;
  Header hd;
  memcpy(&hd, db, sizeof hd);
  for (uint32_t i = 0; i < hd.capacity; ++i) {
    const RecordHead h = HeadOf(db, i);
    if (!h.number) continue;
    const int person = h.person;
    const int score = Similarity(tmpl.data(), db + kDbHeader + (size_t)i * FTAG_RECORD_BYTES + 12);
    auto it = std::find_if(best.begin(), best.end(), [person](const std::pair<int, int>& b) { return b.first == person; });
    if (it == best.end())
      best.push_back({person, score});
    else
      it->second = std::max(it->second, score);
  }
  std::stable_sort(best.begin(), best.end(),
                   [](const std::pair<int, int>& a, const std::pair<int, int>& b) { return a.second > b.second; });
  return best;
}

}  // namespace facetag
