// Test fixtures of the thumbnail library: generated media, scratch folders, a private
// photo database and profile root for the test program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <files.h>
#include <program.h>
#include <tempfolder.h>

namespace guidbtest {

// build/bin/testdata\<name>
using testsupport::Fixture;
// A fresh scratch folder of this program (removed when it ends); sub names a sub-folder
// that is made empty.
std::string ScratchDir(const char* sub = nullptr);
// Copies a fixture to a path; true on success.
bool CopyFixture(const char* fixture, const std::string& to);
// Sets a file's last write time (local time).
bool SetWriteTime(const std::string& path, int year, int month, int day, int hour = 12, int minute = 0);
using testsupport::RemoveTree;

// Opens the library's stores on a private database folder for the whole program.
void UsePrivateStores();

}  // namespace guidbtest
