#include "textkit/records.h"

#include <climits>
#include <cstring>
#include <utility>

#include "textkit/text.h"

namespace textkit {

namespace {

// A decimal number with an optional sign; false for anything else (and on overflow).
bool ParseDecimal(const std::string& s, int* value) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  if (i == s.size()) return false;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
    if (v > (long long)INT_MAX + 1) return false;
  }
  if (negative) v = -v;
  if (v > INT_MAX || v < INT_MIN) return false;
  *value = int(v);
  return true;
}

// An empty field counts as 0.
bool ParseOptionalDecimal(const std::string& s, int* value) {
  if (s.empty()) {
    *value = 0;
    return true;
  }
  return ParseDecimal(s, value);
}

struct Token {
  std::string text;
  bool quoted;
};

// End of the run of characters from i that are no comma.
size_t ToComma(const std::string& s, size_t i) {
  size_t k = Find(s, ',', i);
  return k == std::string::npos ? s.size() : k;
}

// The header's comma list; a token that starts with a double quote runs to the next one.
// False for an unclosed quote, or for more tokens than kMaxGroupNames groups take.
bool SplitHeader(const std::string& s, std::vector<Token>* tokens) {
  const size_t kMaxTokens = 2 + 2 * kMaxGroupNames;  // the name, the item, a pair per group
  size_t i = 0;
  for (;;) {
    if (tokens->size() == kMaxTokens) return false;
    Token t{std::string(), false};
    if (i < s.size() && s[i] == '"') {
      t.quoted = true;
      size_t j = Find(s, '"', i + 1);
      if (j == std::string::npos) return false;
      t.text.assign(s, i + 1, j - i - 1);
      i = j + 1;
      // Anything up to the next comma belongs to the token.
      size_t k = ToComma(s, i);
      t.text.append(s, i, k - i);
      i = k;
    } else {
      size_t k = ToComma(s, i);
      t.text.assign(s, i, k - i);
      i = k;
    }
    tokens->push_back(std::move(t));
    if (i >= s.size()) return true;
    ++i;  // the comma
  }
}

// Entries of `width` fields from the fourth field on, each closed by an empty field; the
// last field follows the final "|".
RecordStatus ReadEntries(const std::vector<std::string>& fields, size_t width, std::vector<RecordEntry>* entries) {
  const size_t first = 3;
  const size_t m = fields.size() - first;
  entries->reserve(m / width);
  size_t k = 0;
  for (; (k + 1) * width <= m - 1; ++k) {
    const std::string* f = &fields[first + k * width];
    if (!f[width - 1].empty()) return RecordStatus::BadLayout;
    RecordEntry e;
    e.path = f[0];
    if (width == 3) {
      e.group = f[1];
      if (!ParseOptionalDecimal(f[1], &e.groupNumber)) return RecordStatus::BadNumber;
    } else if (width == 4) {
      e.group = f[2];
      if (!ParseOptionalDecimal(f[1], &e.state) || !ParseOptionalDecimal(f[2], &e.reserved))
        return RecordStatus::BadNumber;
    }
    entries->push_back(e);
  }
  if (k * width != m - 1 || !fields.back().empty()) {
    // Fields left over: a field too few when the text ends closed ("||"), else cut short.
    const size_t n = fields.size();
    bool closed = m >= 2 && fields[n - 1].empty() && fields[n - 2].empty();
    return closed ? RecordStatus::BadLayout : RecordStatus::Truncated;
  }
  return RecordStatus::Ok;
}

RecordText Refused(RecordStatus why) {
  RecordText t;
  t.status = why;
  return t;
}

}  // namespace

const char* StatusText(RecordStatus status) {
  switch (status) {
    case RecordStatus::Ok: return "ok";
    case RecordStatus::Empty: return "empty text";
    case RecordStatus::TooLarge: return "text too long";
    case RecordStatus::BadNumber: return "not a number";
    case RecordStatus::BadType: return "folder type not a number";
    case RecordStatus::BadHeader: return "unclosed quote in the header";
    case RecordStatus::Truncated: return "text cut short";
    case RecordStatus::BadLayout: return "entry with a field too many or too few";
    case RecordStatus::BadText: return "broken double-byte text";
  }
  return "unknown";
}

std::string TakeText(const char* text, size_t length) {
  if (!text || length == 0) return std::string();
  const void* nul = memchr(text, 0, length);
  return std::string(text, nul ? size_t(static_cast<const char*>(nul) - text) : length);
}

std::vector<std::string> SplitFields(const std::string& text) { return Split(text, '|'); }

RecordText ReadRecordText(const char* p, size_t length) {
  if (!p || length == 0) return Refused(RecordStatus::Empty);
  if (length > kMaxRecordText) return Refused(RecordStatus::TooLarge);
  RecordText t;
  t.text = TakeText(p, length);
  if (t.text.empty()) return Refused(RecordStatus::Empty);
  if (!IsWellFormed(t.text)) return Refused(RecordStatus::BadText);
  size_t bars = 0;
  ForEachChar(t.text, [&](size_t i, size_t n) { bars += n == 1 && t.text[i] == '|'; });
  if (bars >= kMaxRecordFields) return Refused(RecordStatus::TooLarge);
  t.fields = SplitFields(t.text);
  const std::vector<std::string>& fields = t.fields;

  if (!ParseOptionalDecimal(fields[0], &t.sourceNumber)) return Refused(RecordStatus::BadNumber);
  if (fields.size() < 2) return Refused(RecordStatus::Truncated);

  t.header = fields[1];
  std::vector<Token> tokens;
  if (!SplitHeader(t.header, &tokens)) return Refused(RecordStatus::BadHeader);
  t.sourceName = tokens[0].text;
  if (!ParseDecimal(fields[1], &t.angle)) t.angle = 0;

  if (fields.size() >= 3) {
    std::string type = fields[2];
    if (!type.empty() && type[0] == ',') type.erase(0, 1);
    if (!ParseOptionalDecimal(type, &t.folderType)) return Refused(RecordStatus::BadType);
  }

  if (fields.size() > 3) {
    size_t width = t.folderType == 2 ? 3 : t.folderType == 0 ? 4 : 2;
    RecordStatus why = ReadEntries(fields, width, &t.entries);
    // A virtual folder's text may list plain paths too ("0|A|2|path||").
    if (why != RecordStatus::Ok && t.folderType == 2) {
      std::vector<RecordEntry> plain;
      RecordStatus asPlain = ReadEntries(fields, 2, &plain);
      if (asPlain == RecordStatus::Ok) {
        why = asPlain;
        t.entries = plain;
      }
    }
    if (why != RecordStatus::Ok) return Refused(why);
  }

  // Group names: after the item name come (name, colour) pairs; an even count means the
  // item is the group itself. Without a list a virtual folder is one group, its source.
  const size_t listed = tokens.size() - 1;  // the list after the item name
  if (listed) {
    const Token* list = tokens.data() + 1;
    size_t pairStart = listed % 2 ? 1 : 0;
    t.names.reserve(listed / 2 + 1);
    for (size_t i = pairStart; i + 1 < listed; i += 2) {
      GroupName nm;
      nm.name = list[i].text;
      if (!ParseDecimal(list[i + 1].text, &nm.colour)) nm.colour = 0;
      t.names.push_back(std::move(nm));
    }
    if (t.names.empty()) t.names.push_back(GroupName{list[0].text, 0});
  } else if (t.folderType == 2) {
    t.names.push_back(GroupName{t.sourceName, 0});
  }
  t.status = RecordStatus::Ok;
  return t;
}

RecordStatus ReadProgramRequest(const char* p, size_t length, ProgramRequest* out) {
  if (!p || length == 0) return RecordStatus::Empty;
  if (length > kMaxRecordText) return RecordStatus::TooLarge;
  std::string text = TakeText(p, length);
  if (text.empty()) return RecordStatus::Empty;
  if (!IsWellFormed(text)) return RecordStatus::BadText;
  size_t start = 0;
  std::string parts[3];
  for (std::string& part : parts) {
    size_t bar = Find(text, '|', start);
    if (bar == std::string::npos) return RecordStatus::Truncated;  // fewer than four fields
    part.assign(text, start, bar - start);
    start = bar + 1;
  }
  ProgramRequest r;
  if (!ParseOptionalDecimal(parts[2], &r.number)) return RecordStatus::BadNumber;
  r.status = parts[0];
  r.program = parts[1];
  r.data = text.substr(start);
  if (out) *out = r;
  return RecordStatus::Ok;
}

std::string WriteRecordText(int sourceNumber, const std::string& sourceName, int folderType,
                            const std::vector<std::string>& paths) {
  std::string out = std::to_string(sourceNumber) + "|" + sourceName + "|" + std::to_string(folderType) + "|";
  for (const std::string& p : paths) out += p + "||";
  return out;
}

}  // namespace textkit
