// The name box's character filter without a window: which typed characters a file name
// refuses, and whether the text after a character may stay.
#pragma once
#include <string>

namespace labeledit {

enum { kResultMessage = 32868, kFirstChildId = 12288 };

// A typed character refused before the box takes it: \ ? / > < : " | * unless the byte
// before was a double-byte lead byte (then it is the second byte of a character), and a
// "." typed into an empty box.
bool RefusesChar(unsigned char c, unsigned char previous, bool boxEmpty);
// The text the box holds after taking a character may stay: it does not start with "."
// and holds none of the refused characters outside double-byte characters.
bool TextAcceptable(const std::string& text);

}  // namespace labeledit
