// A ".cont" file's follow-up when it is renamed: its member files take the new base
// name and the file's entries follow, or only its stored title changes. Through the
// content-information library ClipFacts, loaded from its full path for each call.
#pragma once

#include <functional>
#include <string>

namespace renameengine {

// A file moved on disk (the database follows).
typedef std::function<void(const std::string& from, const std::string& to)> MovedFn;

// Moves the ".cont" file from t to f (back to o when that fails, and then fails), then
// every member from its entry name to f's base name with the member's own extension, and
// saves the entries. With recovery, a member already named as its target is moved from
// the name made of t's base name instead. Member names that are not plain file names
// fail the call before anything of theirs moves.
bool ContentRename(const std::string& clipFacts, const std::string& t, const std::string& f, const std::string& o,
                   bool recovery, const MovedFn& moved);

// The stored title of the content file p becomes the base name of s.
bool SetStoredTitle(const std::string& clipFacts, const std::string& p, const std::string& s);

}  // namespace renameengine
