// The similar-image search's decisions and its work on the photo database.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace psw {

// S_OK for a still picture the search takes; PSW_E_REFUSED; a missing file's code.
HRESULT ClassifyPicture(const char* path);
// ClassifyPicture, then the perceptual hash of the picture.
HRESULT HashPicture(const char* path, uint64_t* hash);

struct SimilarQuery {
  std::string path;               // the reference picture (with a hash: only where it goes)
  std::optional<uint64_t> hash;   // the hash to compare with
  int distance = 0;
};
bool ParseQuery(const std::string& text, SimilarQuery* out);
// A value in double quotes, a quote inside as two.
std::string Quoted(const std::string& value);
std::string MakeQuery(uint64_t hash, int distance, const std::string& reference = std::string());
std::string SearchName(const char* referencePath);

struct Match {
  std::string path;
  int distance;
};
// Registered pictures within `distance` bits of the hash, nearest first; files that are
// gone leave the search. The reference path, when it is among them, comes first.
HRESULT FindSimilar(uint64_t hash, int distance, const std::string& reference, std::vector<Match>* out);
// The reference's hash: made from the file, or the stored one when the file is gone.
HRESULT ReferenceHash(const std::string& path, uint64_t* hash);

// Registers one file: S_OK new, S_FALSE hash made again, or the failure.
HRESULT RegisterPicture(const char* path);

struct FolderCount {
  std::string folder;  // with its final "\"
  int count;
};
// Folders of the paths, sorted without regard to case.
std::vector<FolderCount> GroupByFolder(const std::vector<std::string>& paths);
// Every registered picture's path.
std::vector<std::string> RegisteredPictures();
// Takes every registered picture of the folder (not its sub-folders) out of the search.
int UnregisterFolder(const std::string& folder);

// The search profile of the folder trees (KitlibEx); false when it cannot be written.
bool WriteSearchProfile(int type, const std::string& name, const std::string& query, int value);

}  // namespace psw
