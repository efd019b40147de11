#include "format.h"

#include <cmath>
#include <cstdio>

namespace vxprop {

namespace {

std::string Printf(const char* fmt, double v) {
  char buf[64];
  snprintf(buf, sizeof buf, fmt, v);
  return buf;
}

// Cut to two decimals; the small bias keeps exact values (1.00) from dropping to 0.99.
double CutTwoDecimals(double v) { return std::floor(v * 100.0 + 1e-7) / 100.0; }

// A number with at most one decimal and no trailing ".0".
std::string Short(double v) {
  double r = std::round(v * 10.0) / 10.0;
  return std::fabs(r - std::round(r)) < 1e-9 ? Printf("%.0f", r) : Printf("%.1f", r);
}

}  // namespace

std::string GroupDigits(uint64_t n) {
  std::string digits = std::to_string(n), out;
  int lead = static_cast<int>(digits.size() % 3);
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i && (static_cast<int>(i) - lead) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string FormatDateTime(const SYSTEMTIME& t) {
  char buf[32];
  snprintf(buf, sizeof buf, "%04u/%02u/%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  return buf;
}

std::string FormatLongDateTime(const SYSTEMTIME& t) {
  char date[128] = "", time[64] = "";
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &t, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &t, nullptr, time, sizeof time);
  return std::string(date) + " " + time;
}

std::string FormatFileSize(uint64_t bytes) {
  std::string grouped = GroupDigits(bytes);
  const double kb = bytes / 1024.0, mb = kb / 1024.0, gb = mb / 1024.0;
  char buf[128];
  if (gb >= 1)
    snprintf(buf, sizeof buf, "%.2f GB (%s バイト)", CutTwoDecimals(gb), grouped.c_str());
  else if (mb >= 1)
    snprintf(buf, sizeof buf, "%.2f MB (%s バイト)", CutTwoDecimals(mb), grouped.c_str());
  else if (kb >= 1)
    snprintf(buf, sizeof buf, "%.2f KB (%s バイト)", CutTwoDecimals(kb), grouped.c_str());
  else
    snprintf(buf, sizeof buf, "%s バイト (%s バイト)", grouped.c_str(), grouped.c_str());
  return buf;
}

std::string FormatExposure(const imaging::Rational& r) {
  if (!r.Valid() || r.num == 0) return "";
  double v = r.Value();
  if (v >= 0.3) return Short(v) + " 秒";
  // Below a third of a second cameras speak of 1/n.
  double n = 1.0 / v;
  return "1/" + Printf("%.0f", std::round(n)) + " 秒";
}

std::string FormatAperture(const imaging::Rational& r) {
  if (!r.Valid() || r.num == 0) return "";
  return Printf("F%.1f", std::round(r.Value() * 10.0) / 10.0);
}

std::string FormatFocalLength(const imaging::Rational& r) {
  if (!r.Valid() || r.num == 0) return "";
  return Short(r.Value()) + " mm";
}

std::string FormatFlash(uint32_t flash) {
  if (flash & 0x1) return "発光";
  if ((flash & 0x18) == 0x10) return "発光禁止";
  return "非発光";
}

std::string WhiteBalanceName(uint32_t value) {
  switch (value) {
    case 0: return "オート";
    case 1: return "マニュアル";
    default: return "";
  }
}

std::string ExposureProgramName(uint32_t value) {
  static const char* const kNames[] = {"", "マニュアル", "プログラム", "絞り優先", "シャッター優先",
                                       "クリエイティブ", "アクション", "ポートレート", "風景"};
  return value < sizeof kNames / sizeof kNames[0] ? kNames[value] : "";
}

std::string SceneName(std::optional<uint32_t> captureType, std::optional<uint32_t> program) {
  if (captureType) {
    switch (*captureType) {
      case 1: return "風景";
      case 2: return "ポートレート";
      case 3: return "夜景";
      default: break;
    }
  }
  if (program) {
    if (*program == 7) return "ポートレート";
    if (*program == 8) return "風景";
  }
  return "";
}

const char* CameraSceneModeName(int code) {
  static const char* const kNames[] = {nullptr,  "スポーツ", "マクロ", "ペット", "料理",     "夕焼け",
                                       "花火",   "スノー",   "ビーチ", "赤ちゃん", "パーティー", "夜景ポートレート"};
  if (code <= 0 || code >= static_cast<int>(sizeof kNames / sizeof kNames[0])) return nullptr;
  return kNames[code];
}

std::string FormatDuration(double seconds) {
  if (!(seconds > 0)) return "";
  uint64_t total = static_cast<uint64_t>(seconds);
  char buf[40];
  snprintf(buf, sizeof buf, "%llu:%02llu:%02llu", static_cast<unsigned long long>(total / 3600),
           static_cast<unsigned long long>(total / 60 % 60), static_cast<unsigned long long>(total % 60));
  return buf;
}

std::string FormatBitRate(uint64_t bps) {
  if (!bps) return "";
  if (bps >= 1000000) return Printf("%.1f Mbps", bps / 1e6);
  return Printf("%.0f kbps", std::round(bps / 1e3));
}

std::string FormatSize(int width, int height) {
  if (width <= 0 || height <= 0) return "";
  return std::to_string(width) + " × " + std::to_string(height);
}

std::string GpsDmsText(double decimal) {
  bool negative = decimal < 0;
  long long total = std::llround(std::fabs(decimal) * 3600.0);
  long long d = total / 3600, m = total / 60 % 60, s = total % 60;
  if (negative && total) {
    if (d)
      d = -d;
    else if (m)
      m = -m;
    else
      s = -s;
  }
  char buf[48];
  snprintf(buf, sizeof buf, "%lld/%lld/%lld", d, m, s);
  return buf;
}

}  // namespace vxprop
