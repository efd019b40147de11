// The only source of the database that needs the application framework.
#include "fwbridge.h"

#include <fw/coll.h>
#include <fw/string.h>

namespace vxdb {

void FillStringList(CStringList* list, const std::vector<std::string>& ansi) {
  list->RemoveAll();
  for (const std::string& s : ansi) list->AddTail(s.c_str());
}

void SetString(CString* s, const std::string& ansi) { *s = ansi.c_str(); }

}  // namespace vxdb
