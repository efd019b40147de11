// The "|"-separated file-list texts that windows exchange by WM_COPYDATA.
//
//   text    = header "|" record*
//   header  = three fields: source number | source name | folder type
//   record  = path ("|" field)* "||"       e.g. "C:\A\||", "E:\x.jpg|1|0||", "E:\y.jpg|2||"
//
// The first field after the path is a number: the state digit of a file list
// (1 selected, 4 marked) or the group number of a group text.
#pragma once
#include <string>
#include <vector>

namespace kitlib {

struct FileRecord {
  std::string path;
  int flags = 0;  // first field after the path (0 when absent or not a number)
  int extra = 0;  // second field after the path
};

struct FileListText {
  std::string sourceNumber, sourceName, folderType;
  std::vector<FileRecord> records;
};

// Splits at "|" characters that are not trail bytes of double-byte characters.
std::vector<std::string> SplitFields(const char* text, size_t length);

// Parses a file-list text; records with an empty path are dropped.
FileListText ParseFileListText(const char* text, size_t length);

// A program request: status | program name | number | data (the rest, "|" included).
struct ProgramRequest {
  std::string status, program;
  int number = 0;
  std::string data;
};
bool ParseProgramRequest(const char* text, size_t length, ProgramRequest* out);

}  // namespace kitlib
