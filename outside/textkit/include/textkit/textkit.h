// The whole text kit: double-byte text, paths, and the "|" record texts.
#pragma once

#include "textkit/path.h"
#include "textkit/records.h"
#include "textkit/text.h"
