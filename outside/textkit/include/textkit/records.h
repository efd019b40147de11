// The "|"-separated texts windows exchange by WM_COPYDATA (folder changes, added, updated
// and rotated files, file lists) and the outside programs' requests: one reader, one policy.
//
//   text     = source "|" header "|" type "|" entries
//   source   the source number, decimal (an empty field counts as 0)
//   header   the source name, optionally followed by a comma list naming the groups of a
//            virtual folder: ",item" and then ",name,colour" per group; names may be quoted
//            (",\"name\"") and then hold commas. An even number of list elements means the
//            item itself is the one group (",\"name\",1"); without a list a virtual folder
//            is one group, its source name.
//   type     the folder type, decimal, optionally after one comma (",2"): 0 (or missing)
//            file records, 1 folders, 2 a virtual folder, 3 an image folder, others as 1
//   entries  by type, each closed by an empty field ("||"):
//            1, 3, others  path "||"                          "0|Explorer|1|C:\A\||D:\B\||"
//            2             path "|" group "||", or as for 1    "2|T,I,A,1,B,2|2|C:\x.jpg|1||"
//            0             path "|" state "|" reserved "||"    "0|0|0|C:\x.jpg|1|0||"
//
// Policy (strict): the text ends at its length or at the first NUL before it (senders pad
// with zeros). It may stop after its header ("1|Title") or its type ("|Title|1|"): no
// entries. An empty path is an entry without a file (a folder pane with nothing selected,
// a group without children): it is kept, and file lists skip it. Anything else that does
// not fit refuses the whole text: an entry cut short (also by a length shorter than the
// text), a missing or an extra field, a number field that is no number, an unclosed
// quote, a double-byte character cut or not of the code page. A refused text carries no
// entries; the caller changes nothing and can report the status.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace textkit {

constexpr size_t kMaxRecordText = 32u * 1024u * 1024u;
// No sender lists more: a text of more fields (separators alone can make millions) or a
// header of more groups is refused before it is taken apart.
constexpr size_t kMaxRecordFields = 1u << 20;
constexpr size_t kMaxGroupNames = 10000;

enum class RecordStatus {
  Ok = 0,
  Empty,      // no text (null, length 0, or a NUL first)
  TooLarge,   // longer than kMaxRecordText, or more than kMaxRecordFields fields
  BadNumber,  // the source number, a state or a group number is no decimal number
  BadType,    // the folder type is no decimal number
  BadHeader,  // a quoted name is not closed, or more than kMaxGroupNames groups
  Truncated,  // the last entry (or a request's fields) cut short
  BadLayout,  // an entry with a field too many or too few
  BadText,    // a double-byte character cut or not of the code page
};

// A short English reason for logs and messages ("text cut short").
const char* StatusText(RecordStatus status);

struct RecordEntry {
  std::string path;
  std::string group;    // the group field as written (type 2), the reserved field (type 0)
  int groupNumber = 0;  // type 2
  int state = 0;        // type 0: 1 selected, 4 marked
  int reserved = 0;     // type 0
};

struct GroupName {
  std::string name;
  int colour = 0;
};

struct RecordText {
  RecordStatus status = RecordStatus::Empty;
  std::string text;                 // as taken (without padding); "" when refused
  std::vector<std::string> fields;  // the raw fields
  int sourceNumber = 0;
  std::string sourceName;  // the header up to its comma list
  std::string header;      // the whole header field
  int folderType = 0;
  int angle = 0;  // the header as a number (a rotation's degrees), 0 when it is none
  std::vector<RecordEntry> entries;
  std::vector<GroupName> names;

  bool ok() const { return status == RecordStatus::Ok; }
};

// The text of a message: up to the first NUL within length (text may be null with length 0).
std::string TakeText(const char* text, size_t length);

// Splits at every "|" that is a character of its own (never a trail byte).
std::vector<std::string> SplitFields(const std::string& text);

// Reads a record text under the policy above.
RecordText ReadRecordText(const char* text, size_t length);

// An outside program's request: "status|program|number|data", the data being the rest of
// the text ("|" included). Refused: fewer than four fields (Truncated), a number that is
// no number, bad double-byte text, an empty or too large text.
struct ProgramRequest {
  std::string status, program;
  int number = 0;
  std::string data;
};
RecordStatus ReadProgramRequest(const char* text, size_t length, ProgramRequest* out);

// The folder-change text "source|name|type|path||" (one entry per path).
std::string WriteRecordText(int sourceNumber, const std::string& sourceName, int folderType,
                            const std::vector<std::string>& paths);

}  // namespace textkit
