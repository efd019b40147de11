// The folder the card import copies pictures into: the profile's choice, else one made up
// of the user's picture folder and the application's name. The image picker's folder
// browser starts there too.
#pragma once
#include <string>

namespace cardwatch {

// The default when the profile holds none: the picture folder, else the documents folder
// and `picturesName`; then the application's own folder, ended by "\".
std::string DefaultBackupFolder(const std::string& pictures, const std::string& documents,
                                const std::string& picturesName, const std::string& appName);

// "CardTree" "BackupFolder" of the profile, else the default above with the shell's
// folders (the documents' `picturesName` folder is created when there is no picture
// folder). The default is not written back.
std::string BackupFolder(const std::string& picturesName);

}  // namespace cardwatch
