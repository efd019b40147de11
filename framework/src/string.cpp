// CString: implementation pending in this file's own change.
#include <fw/string.h>
