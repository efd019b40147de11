// The "|"-separated WM_COPYDATA texts: splitting, checking and the accessors.
#include <VxDocument/CopyData.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

struct CopyDataImpl {
  struct Entry {
    std::string path;
    std::string group;
    int groupNumber = 0;
    int state = 0;
  };
  struct Name {
    std::string name;
    int colour = 0;
  };

  VXCOPYDATA_STATUS status = VXCD_EMPTY;
  std::string text;
  std::vector<std::string> fields;
  int sourceNumber = 0;
  std::string sourceName;
  std::string header;
  int folderType = 0;
  int angle = 0;
  std::vector<Entry> entries;
  std::vector<Name> names;

  void Parse(const char* p, DWORD length);
  VXCOPYDATA_STATUS ReadEntries(size_t width);
  void Fail(VXCOPYDATA_STATUS why) {
    *this = CopyDataImpl();
    status = why;
  }
};

namespace {

// Lead bytes of the ANSI code page: their next byte is never a separator.
class LeadBytes {
 public:
  LeadBytes() {
    std::memset(m_lead, 0, sizeof(m_lead));
    CPINFO info;
    if (GetCPInfo(CP_ACP, &info))
      for (int i = 0; i + 1 < MAX_LEADBYTES && (info.LeadByte[i] || info.LeadByte[i + 1]); i += 2)
        for (int b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) m_lead[b] = true;
  }
  bool operator()(unsigned char c) const { return m_lead[c]; }

 private:
  bool m_lead[256];
};

const LeadBytes& Lead() {
  static LeadBytes s;
  return s;
}

// Splits at every sep that is not the trail byte of a double-byte character.
std::vector<std::string> SplitAt(const std::string& s, char sep) {
  std::vector<std::string> out;
  const LeadBytes& lead = Lead();
  size_t start = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (lead((unsigned char)s[i]) && i + 1 < s.size()) {
      ++i;
      continue;
    }
    if (s[i] == sep) {
      out.emplace_back(s, start, i - start);
      start = i + 1;
    }
  }
  out.emplace_back(s, start);
  return out;
}

// A decimal number with an optional sign; false for anything else (and on overflow).
bool ParseDecimal(const std::string& s, int* pValue) {
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
  *pValue = (int)v;
  return true;
}

// An empty field counts as 0.
bool ParseOptionalDecimal(const std::string& s, int* pValue) {
  if (s.empty()) {
    *pValue = 0;
    return true;
  }
  return ParseDecimal(s, pValue);
}

struct Token {
  std::string text;
  bool quoted;
};

// The header's comma list; a token that starts with a double quote runs to the next one.
bool SplitHeader(const std::string& s, std::vector<Token>* pTokens) {
  const LeadBytes& lead = Lead();
  size_t i = 0;
  for (;;) {
    Token t{std::string(), false};
    if (i < s.size() && s[i] == '"') {
      t.quoted = true;
      size_t j = i + 1;
      while (j < s.size() && s[j] != '"') j += (lead((unsigned char)s[j]) && j + 1 < s.size()) ? 2 : 1;
      if (j >= s.size()) return false;
      t.text.assign(s, i + 1, j - i - 1);
      i = j + 1;
      // Anything up to the next comma belongs to the token.
      size_t k = i;
      while (k < s.size() && s[k] != ',') k += (lead((unsigned char)s[k]) && k + 1 < s.size()) ? 2 : 1;
      t.text.append(s, i, k - i);
      i = k;
    } else {
      size_t k = i;
      while (k < s.size() && s[k] != ',') k += (lead((unsigned char)s[k]) && k + 1 < s.size()) ? 2 : 1;
      t.text.assign(s, i, k - i);
      i = k;
    }
    pTokens->push_back(t);
    if (i >= s.size()) return true;
    ++i;  // the comma
  }
}

}  // namespace

// Entries of `width` fields from the fourth field on, each closed by an empty field; the
// last field follows the final "|".
VXCOPYDATA_STATUS CopyDataImpl::ReadEntries(size_t width) {
  const size_t first = 3;
  const size_t m = fields.size() - first;
  size_t k = 0;
  for (; (k + 1) * width <= m - 1; ++k) {
    const std::string* f = &fields[first + k * width];
    if (!f[width - 1].empty()) return VXCD_BAD_LAYOUT;
    Entry e;
    e.path = f[0];
    if (width == 3) {
      e.group = f[1];
      if (!ParseOptionalDecimal(f[1], &e.groupNumber)) return VXCD_BAD_NUMBER;
    } else if (width == 4) {
      e.group = f[2];
      if (!ParseOptionalDecimal(f[1], &e.state)) return VXCD_BAD_NUMBER;
    }
    entries.push_back(e);
  }
  if (k * width != m - 1 || !fields.back().empty()) return VXCD_TRUNCATED;
  return VXCD_OK;
}

void CopyDataImpl::Parse(const char* p, DWORD length) {
  if (!p || length == 0) return Fail(VXCD_EMPTY);
  if (length > VXCOPYDATA_MAX_LENGTH) return Fail(VXCD_TOO_LARGE);
  const void* nul = std::memchr(p, 0, length);
  size_t n = nul ? (size_t)((const char*)nul - p) : (size_t)length;
  if (n == 0) return Fail(VXCD_EMPTY);
  text.assign(p, n);
  fields = SplitAt(text, '|');

  if (!ParseOptionalDecimal(fields[0], &sourceNumber)) return Fail(VXCD_BAD_NUMBER);
  if (fields.size() < 2) return Fail(VXCD_TRUNCATED);

  header = fields[1];
  std::vector<Token> tokens;
  if (!SplitHeader(header, &tokens)) return Fail(VXCD_BAD_HEADER);
  sourceName = tokens[0].text;
  if (!ParseDecimal(fields[1], &angle)) angle = 0;

  if (fields.size() >= 3) {
    std::string type = fields[2];
    if (!type.empty() && type[0] == ',') type.erase(0, 1);
    if (!ParseOptionalDecimal(type, &folderType)) return Fail(VXCD_BAD_TYPE);
  }

  // Entries: fields from the fourth on.
  if (fields.size() > 3) {
    size_t width = folderType == 2 ? 3 : folderType == 0 ? 4 : 2;
    VXCOPYDATA_STATUS why = ReadEntries(width);
    // A virtual folder's text may list plain paths too ("0|A|2|path||").
    if (why != VXCD_OK && folderType == 2) {
      entries.clear();
      if (ReadEntries(2) == VXCD_OK) why = VXCD_OK;
    }
    if (why != VXCD_OK) return Fail(why);
  }

  // Group names: after the item name come (name, colour) pairs; an even count means the
  // item is the group itself. Without a list a virtual folder is one group, its source.
  std::vector<Token> list(tokens.begin() + 1, tokens.end());
  if (!list.empty()) {
    size_t pairStart = list.size() % 2 ? 1 : 0;
    for (size_t i = pairStart; i + 1 < list.size(); i += 2) {
      Name nm;
      nm.name = list[i].text;
      if (!ParseDecimal(list[i + 1].text, &nm.colour)) nm.colour = 0;
      names.push_back(nm);
    }
    if (names.empty()) names.push_back(Name{list[0].text, 0});
  } else if (folderType == 2) {
    names.push_back(Name{sourceName, 0});
  }
  status = VXCD_OK;
}

// ---- CCopyDataDispatcher ------------------------------------------------------------

CCopyDataDispatcher::CCopyDataDispatcher(const char* pszText, DWORD dwLength) : m_p(new CopyDataImpl) {
  m_p->Parse(pszText, dwLength);
}

CCopyDataDispatcher::~CCopyDataDispatcher() { delete m_p; }

BOOL CCopyDataDispatcher::IsValid() const { return m_p->status == VXCD_OK; }
VXCOPYDATA_STATUS CCopyDataDispatcher::GetStatus() const { return m_p->status; }

HRESULT CCopyDataDispatcher::GetResult() const {
  switch (m_p->status) {
    case VXCD_OK: return S_OK;
    case VXCD_EMPTY: return E_INVALIDARG;
    case VXCD_TOO_LARGE: return HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
    default: return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
  }
}

LPCSTR CCopyDataDispatcher::StatusText(VXCOPYDATA_STATUS status) {
  switch (status) {
    case VXCD_OK: return "ok";
    case VXCD_EMPTY: return "empty text";
    case VXCD_TOO_LARGE: return "text too long";
    case VXCD_BAD_NUMBER: return "not a number";
    case VXCD_BAD_TYPE: return "folder type not a number";
    case VXCD_BAD_HEADER: return "unclosed quote in the header";
    case VXCD_TRUNCATED: return "text cut short";
    case VXCD_BAD_LAYOUT: return "entry not closed by an empty field";
  }
  return "unknown";
}

LPCSTR CCopyDataDispatcher::GetText() const { return m_p->text.c_str(); }
int CCopyDataDispatcher::GetSourceNumber() const { return m_p->sourceNumber; }
LPCSTR CCopyDataDispatcher::GetSourceName() const { return m_p->sourceName.c_str(); }
LPCSTR CCopyDataDispatcher::GetHeader() const { return m_p->header.c_str(); }
int CCopyDataDispatcher::GetFolderType() const { return m_p->folderType; }
int CCopyDataDispatcher::GetAngle() const { return m_p->angle; }
int CCopyDataDispatcher::GetCount() const { return (int)m_p->entries.size(); }

LPCSTR CCopyDataDispatcher::GetPath(int i) const {
  return i >= 0 && i < GetCount() ? m_p->entries[i].path.c_str() : "";
}
int CCopyDataDispatcher::GetGroupNumber(int i) const {
  return i >= 0 && i < GetCount() ? m_p->entries[i].groupNumber : 0;
}
LPCSTR CCopyDataDispatcher::GetGroupText(int i) const {
  return i >= 0 && i < GetCount() ? m_p->entries[i].group.c_str() : "";
}
int CCopyDataDispatcher::GetFileState(int i) const {
  return i >= 0 && i < GetCount() ? m_p->entries[i].state : 0;
}

int CCopyDataDispatcher::GetPathList(CStringList* pList) const {
  if (!pList) return 0;
  for (const CopyDataImpl::Entry& e : m_p->entries) pList->AddTail(e.path.c_str());
  return GetCount();
}

int CCopyDataDispatcher::GetFolderNameList(CStringList* pList) const {
  if (!pList) return 0;
  for (const CopyDataImpl::Name& n : m_p->names) pList->AddTail(n.name.c_str());
  return GetFolderNameCount();
}
int CCopyDataDispatcher::GetFolderNameCount() const { return (int)m_p->names.size(); }
LPCSTR CCopyDataDispatcher::GetFolderName(int i) const {
  return i >= 0 && i < GetFolderNameCount() ? m_p->names[i].name.c_str() : "";
}
int CCopyDataDispatcher::GetFolderColor(int i) const {
  return i >= 0 && i < GetFolderNameCount() ? m_p->names[i].colour : 0;
}

int CCopyDataDispatcher::GetFieldCount() const { return (int)m_p->fields.size(); }
LPCSTR CCopyDataDispatcher::GetField(int i) const {
  return i >= 0 && i < GetFieldCount() ? m_p->fields[i].c_str() : "";
}
