// The name box's character filter.
#include "LabelEditRules.h"

#include <cstring>
#include <textkit/text.h>

namespace labeledit {

namespace {
bool Forbidden(unsigned char c) { return c && std::strchr("\\?/><:\"|*", c) != nullptr; }
}  // namespace

bool RefusesChar(unsigned char c, unsigned char previous, bool boxEmpty) {
  if (Forbidden(c) && !textkit::IsLeadByte(previous)) return true;
  return c == '.' && boxEmpty;
}

bool TextAcceptable(const std::string& text) {
  if (!text.empty() && text[0] == '.') return false;
  for (size_t i = 0; i < text.size();) {
    int n = textkit::CharLength(text.c_str() + i);
    if (n == 1 && Forbidden((unsigned char)text[i])) return false;
    i += n;
  }
  return true;
}

}  // namespace labeledit
