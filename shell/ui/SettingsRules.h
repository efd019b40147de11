// The settings dialogs' decisions, without windows: which radio stands for which
// profile value, whether a folder may be the classify destination, the folder the music
// page shows, and the re-registration of one file in the photo database.
#pragma once
#include <fw/fw.h>

#include <metastore.h>

namespace settings {

// Auto-run radio (1032, 1033, 1036) of a Settings\AutoRun value, and back.
UINT AutoRunRadioOf(int value);
int AutoRunValueOf(UINT radio);
// First-classify radio (1037, 1038) of a VxClassify\FirstClassify value.
UINT FirstClassifyRadioOf(int value);

// What the classify check sees of a folder.
struct FolderFacts {
  UINT driveType;  // GetDriveType of its root
  bool exists;     // a folder of that name exists
};
FolderFacts FolderFactsOf(const CString& folder);
// 0 when the folder may be classified, else the string id of the refusal: 311 not on a
// fixed disk, 40218 no such folder, 31003 inside the Windows or program-files folder.
// "Inside" means the folder itself or below it, never a sibling that only shares the
// beginning of its name.
UINT CheckClassifyFolder(const CString& folder, const FolderFacts& facts, const CString& windowsFolder,
                         const CString& programFilesFolder);
// Whether path is folder or lies below it (case-insensitive, on whole names).
bool IsSameOrBelow(const CString& path, const CString& folder);
// The folder with trailing blanks removed.
CString TrimFolder(const CString& folder);

// The music page's folder: the stored one when it exists, else the user's music folder
// when it exists, else the program's folder.
CString ChooseMusicFolder(const CString& stored, const CString& music, const CString& program,
                          bool (*exists)(const CString&));
// Whether a chosen folder is a drive's root ("E:\", "E:").
bool IsDriveRoot(const CString& folder);

// The photo database calls of a re-registration, replaceable in tests.
struct DatabaseCalls {
  // Replaces the file's record by a fresh one with the list, in one step: when that
  // fails, the record the file had is left as it was.
  HRESULT(WINAPI* registerFile)(LPCSTR, const METADATA*);
  HRESULT(WINAPI* update)(LPCSTR, const METADATA*);
};
DatabaseCalls PhotoDatabase();
// Gives the file a fresh record with the lists. The old record stays until the new one
// has been enrolled, so a failed re-registration never loses a file's entry. Answers
// the enrolment's result.
HRESULT ReregisterFile(LPCSTR path, const METADATA* const* lists, int count, const DatabaseCalls& db);

}  // namespace settings
