// The framework's string and list types, filled from the engine's plain texts.
#pragma once

#include <string>
#include <vector>

class CString;
class CStringList;

namespace vxdb {

// Empties the list, then appends every text (ANSI) in order.
void FillStringList(CStringList* list, const std::vector<std::string>& ansi);
void SetString(CString* s, const std::string& ansi);

}  // namespace vxdb
