// VxGUIDB: common definitions — the export macro, the kind word of a thumbnail and the
// other numbers that callers test.
#pragma once

#include <fw/fw.h>

#ifdef VXGUIDB_BUILD
#define VXGUIDB_API __declspec(dllexport)
#else
#define VXGUIDB_API __declspec(dllimport)
#endif

// ---- The kind word ("type attribute") of a CThumbnail --------------------------------
//
// One 32-bit word per item, made from the file's extension (and, for shortcuts, the
// target's). Callers test bits with "all bits of the mask set". The kinds the library
// gives, and the bits they carry:
//
//   kind                                   value    bits
//   JPEG picture (.jpg .jpeg .jpe .jfif)   0x0210   still | JPEG
//   other bitmap (.png .bmp .dib .gif .ico)0x0220   still | bitmap
//   TIFF picture (.tif .tiff)              0x0240   still | TIFF
//   maker RAW (.nef .nrw .cr2 .orf .arw …) 0x0288   still | RAW | 0x08
//   DNG RAW (.dng)                         0x0282   still | RAW | 0x02
//   QuickTime movie (.mov .qt)             0x1008   movie | 0x08   (movie-playback API)
//   3GP movie (.3gp .3g2)                  0x1030   movie | 0x10 | 0x20 (movie-playback API)
//   MPEG-4 movie (.mp4 .m4v)               0x1010   movie | 0x10   (DirectShow)
//   other movie (.avi .wmv .asf .mpg .mod …)0x1020  movie | 0x20   (DirectShow)
//   AVCHD scene (.mts .m2ts .m2t .cont)    0x1040   movie | AVCHD
//   movie of no playable kind (.flv .webm) 0x1000   movie only
//   music and sound (.mp3 .wav .wma .m4a …)0x0004   sound
//   sub-folder (type text ".")             0x0800   folder
//   shortcut to a folder (.lnk)            0x2010   shortcut | 0x10   (8208)
//   shortcut to a file (.lnk)              0x2001 | the target's kind
//   shortcut that can't be resolved        0x2000
//   card audio track (SD_Audio area)       0x8001   card track | audio area (+0x0002 with a sub-track)
//   card voice track (SD_Voice area)       0x8000   card track              (+0x0002 with a sub-track)
//   any other file                         0x4000
//   disc-movie title / playlist            129 / 130 (items of the disc-movie core; never
//                                                     made by a folder scan)
// A file that belongs to a content group (".tmb", ".iis" beside a ".cont" of the same
// base name) also carries VXKIND_COMPANION.
//
// Filters: 0x0210 JPEG pictures, 0x0220 other bitmaps, 0x0240 TIFF pictures, 0x0200 every
// still picture, 0x1000 every movie, 0 everything. A folder preview type of 0x1200 means
// "stills or movies" (see CThumbnail::SetFolderImageType).
#define VXKIND_SUB_1 0x0001        // card track: audio area; shortcut: to a file
#define VXKIND_SUB_2 0x0002        // card track: has a sub-track; RAW: DNG family
#define VXKIND_SOUND 0x0004        // music and sound files
#define VXKIND_SUB_8 0x0008        // movie: QuickTime container; RAW: maker's own format
#define VXKIND_SUB_10 0x0010       // still: JPEG; movie: MPEG-4 family; shortcut: to a folder
#define VXKIND_SUB_20 0x0020       // still: other bitmap formats; movie: other containers
#define VXKIND_SUB_40 0x0040       // still: TIFF; movie: AVCHD scene
#define VXKIND_RAW 0x0080          // still: RAW picture
#define VXKIND_COMPANION 0x0100    // a companion file of a content group
#define VXKIND_STILL 0x0200        // still picture
#define VXKIND_FOLDER 0x0800       // sub-folder entry
#define VXKIND_MOVIE 0x1000        // movie
#define VXKIND_SHORTCUT 0x2000     // shell shortcut (.lnk)
#define VXKIND_OTHER 0x4000        // a file of no kind the library knows
#define VXKIND_CARDTRACK 0x8000    // a track of a memory card's audio or voice area

#define VXTYPE_JPEG 0x0210
#define VXTYPE_BITMAP 0x0220
#define VXTYPE_TIFF 0x0240
#define VXTYPE_RAW 0x0288
#define VXTYPE_DNG 0x0282
#define VXTYPE_MOVIE_QT 0x1008
#define VXTYPE_MOVIE_3GP 0x1030
#define VXTYPE_MOVIE_MP4 0x1010
#define VXTYPE_MOVIE_OTHER 0x1020
#define VXTYPE_AVCHD 0x1040
#define VXTYPE_MOVIE_UNPLAYABLE 0x1000
#define VXTYPE_SOUND 0x0004
#define VXTYPE_FOLDER 0x0800
#define VXTYPE_FOLDER_SHORTCUT 0x2010
#define VXTYPE_FILE_SHORTCUT 0x2001
#define VXTYPE_SHORTCUT 0x2000
#define VXTYPE_TRACK_AUDIO 0x8001
#define VXTYPE_TRACK_VOICE 0x8000
#define VXTYPE_OTHER 0x4000
#define VXTYPE_DISC_TITLE 129
#define VXTYPE_DISC_PLAYLIST 130

// The folder preview type given to folder entries when no filter is set.
#define VXFOLDERIMAGE_DEFAULT 0x1200

// ---- File kind of an item's information record (GetFileKind) -------------------------
#define VXFILE_STILL 1
#define VXFILE_MOVIE 2
#define VXFILE_SOUND 3
#define VXFILE_FOLDER 4
#define VXFILE_SHORTCUT 5
#define VXFILE_OTHER 6
#define VXFILE_CARDTRACK 55  // a track of a card's audio area: not a file, cannot be marked

// ---- What the decoded picture is (GetDecodeImageType) --------------------------------
#define VXIMAGE_NONE 0     // not decoded (yet)
#define VXIMAGE_PICTURE 1  // a JPEG or TIFF picture: it can be rotated
#define VXIMAGE_RAW 2      // a RAW picture (its embedded preview, or a kind icon)
#define VXIMAGE_BITMAP 3   // a PNG, BMP, GIF or ICO picture
#define VXIMAGE_MOVIE 4    // a frame of a movie (or its companion thumbnail)
#define VXIMAGE_ICON 5     // the kind icon of a file that has no picture
#define VXIMAGE_FOLDER 6   // a folder's preview: the first matching picture inside it

// ---- Listing flags (GetListFlags): content groups ------------------------------------
// A ".cont" file names the files of one content (its stream, ".tmb" and ".iis" of the
// same base name). The members carry the first flag; the ".cont" itself both: views
// list an item unless it has the first flag without the second.
#define VXLIST_COMPANION 0x1
#define VXLIST_CONTENT 0x2

// ---- Page types ----------------------------------------------------------------------
#define VXPAGE_VIRTUAL 0     // listed files (virtual folders, single added files)
#define VXPAGE_FOLDER 16     // a folder on disk (or an AVCHD image folder)
#define VXPAGE_CALENDAR 80   // the calendar page: holds items owned by whoever added them

// An item id that names no item.
#define VXID_NONE 0xFFFFFFFFu

// Slots of the two ids every item carries (GetUniqueID / SetUniqueID).
#define VXID_SLOT_LIST 0   // the details list's row
#define VXID_SLOT_VIEW 1   // the icon view's item id
