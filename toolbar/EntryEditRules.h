// Decisions of the person entry editor and the face registration dialog, without windows:
// names, birthdays, which faces are new, the thumbnail's cut, which pictures are taken and
// which face a click picks.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace entryedit {

// A person's name keeps this many bytes at most: the records' 32-byte name field ends
// with its terminator.
constexpr size_t kNameBytes = 31;
constexpr int kMaxFaces = 5;       // faces of one person
constexpr int kMaxNames = 21;      // entries of the names list, the first entry included
constexpr int kThumbSize = 80;     // face thumbnails, square
constexpr int kThumbMargin = 30;   // around the face, in the 640 x 480 picture
constexpr int kFirstYear = 1900, kLastYear = 2037;

// The name cut to kNameBytes bytes, one less when the cut would split a double-byte
// character.
std::string CutName(const std::string& name);
// The name an entry of the names list stands for: none for the first entry, whose text is
// the hint shown over an empty name.
std::string NameOfEntry(const std::string& entry, const std::string& firstEntry);
// After leading white space: none of / * ? " | < > (a backslash and a colon are allowed).
bool IsValidName(const std::string& name);
// Days of the month in the Gregorian calendar; 31 for a month that is not 1 to 12.
int DaysInMonth(int year, int month);
// The year text as a number from 1900 to 2037, else 0.
int YearOf(const std::string& text);
// The year text up to its first character that is not 0 to 9 (a double-byte one
// included); bad is set when something was cut.
std::string DigitsOnly(const std::string& text, bool* bad);
// The part of the 640 x 480 picture that becomes a face's thumbnail: the face and 30
// pixels around it, inside the picture.
RECT ThumbnailSource(const RECT& face);

// What OK of the editor decides before anything is written.
struct SaveCheck {
  bool birthday;
  std::string year, month, day;  // the three texts
  std::string name;              // the combo's text
  std::string firstEntry;        // string 62063
  bool nameListed;               // the name is in the names list
  int listedNames;               // entries of the names list, the first included
  std::vector<std::string> stored;  // the person's stored face pictures
  std::vector<std::string> shown;   // the list control's pictures, in order
};
struct SaveDecision {
  UINT message = 0;               // the refusal's string, 0 when the save goes ahead
  std::vector<bool> isNew;        // per shown picture: to register (else rewrite the record)
  int newCount = 0;
};
SaveDecision CheckSave(const SaveCheck& c);
// Why a name cannot be added (812, 816, 817) or deleted (816, 817), 0 when it can.
UINT CheckAddName(const std::string& name, const std::vector<std::string>& names);
UINT CheckDeleteName(const std::string& name, const std::string& firstEntry);

// The face registration dialog takes the file: a picture the image engine reads (or a
// ".raw" or ".dng"), never a ".ped", ".gif", ".png" or ".mov".
bool AcceptsPicture(const std::string& path, bool engineReads);
// Where the dialog draws a face of the 640 x 480 picture: the picture area's origin plus
// half the coordinates.
constexpr int kPictureLeft = 15, kPictureTop = 50, kPictureWidth = 320, kPictureHeight = 240;
RECT OnScreen(const RECT& face);
// The first face whose on-screen rectangle holds the dialog point strictly inside, or -1.
int FaceAt(const std::vector<RECT>& faces, POINT pt);

}  // namespace entryedit
