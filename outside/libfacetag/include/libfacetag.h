// libfacetag: faces in a grey picture and which registered persons they resemble. No face
// identification service exists here; this is a small honest version of the maker's
// library: faces are found with the frontal-face Haar cascade of Debian's opencv-data (a
// small evaluator of its own), each face becomes a local-binary-pattern histogram, and a
// face resembles a person by the chi-square distance of their histograms.
//
// The library holds one current picture and one current face at a time (calls for one
// picture: SetImage_Y8, GetFaceCount, then per face SetCurrentFaceId and the calls on it).
// The face database is the caller's buffer of FTAG_GetDbSize bytes, which the caller
// saves and restores as it is:
//   offset 0   "FTDB", 32-bit version 1, 32-bit persons (at most FTAG_MAX_PERSONS), 32-bit
//              record capacity (FTAG_FACES_PER_PERSON a person), 32-bit next record number,
//              64-bit XXH3 of the records, 36 bytes 0
//   offset 64  the records, FTAG_RECORD_BYTES each: 16-bit record number (0 = free), 16-bit
//              0, 32-bit person number, 32-bit user value, the face's template
// A buffer of any other shape is refused by FTAG_RestoreDb.
//
// The cascade is FaceCascade.dat beside the library (made at set-up by make-cascade.py):
//   "FCSC", 32-bit version 1, window width and height, number of stages and of features;
//   per stage its number of weak classifiers and (32-bit float) threshold; then every weak
//   classifier in stage order: feature index, threshold, left and right leaf values;
//   then per feature its number of rectangles (1 to 3) and three rectangles of x, y, w, h
//   (one byte each) and a float weight. Without it no face is found.
#pragma once
#include <windows.h>

#ifdef FACETAG_BUILD
#define FACETAG_API __declspec(dllexport)
#else
#define FACETAG_API __declspec(dllimport)
#endif

#define FTAG_MAX_PERSONS 100
#define FTAG_FACES_PER_PERSON 10
#define FTAG_TEMPLATE_BYTES 944  // 4 x 4 cells of 59 uniform-pattern bins
#define FTAG_RECORD_BYTES (12 + FTAG_TEMPLATE_BYTES)

// The current face's feature record (180 bytes): its rectangle in the picture and where
// its eyes are expected.
#pragma pack(push, 4)
struct FTAG_FEATURE {
  RECT rcFace;
  POINT ptLeftEye, ptRightEye;
  BYTE reserved[148];
};
#pragma pack(pop)
static_assert(sizeof(FTAG_FEATURE) == 180, "180-byte feature record");

extern "C" {
// Bytes of a database for that many persons; of the work area.
FACETAG_API int WINAPI FTAG_GetDbSize(int nPersons);
FACETAG_API int WINAPI FTAG_GetWorkSize(void);
// An empty database in db: 0, or -1 for bad arguments.
FACETAG_API int WINAPI FTAG_InitDb(void* pDb, void* pWork, int nPersons);
// A database read back: 0, or -1 when the buffer is not one.
FACETAG_API int WINAPI FTAG_RestoreDb(void* pDb, void* pWork);
FACETAG_API int WINAPI FTAG_SetMinimumFaceWidth(int nWidth);
// The picture (one byte a pixel, rows top to bottom) searched for faces: 0; -1 for bad
// arguments; -2 for a picture smaller than the cascade's window; 1 when the cascade is
// missing (no usable faces).
FACETAG_API int WINAPI FTAG_SetImage_Y8(const unsigned char* pGrey, int nWidth, int nHeight, int nFlags);
FACETAG_API int WINAPI FTAG_GetFaceCount(void);
FACETAG_API int WINAPI FTAG_SetCurrentFaceId(int nIndex);
// The current face's rectangle and eyes (where a frontal face has them, or where
// FTAG_GetExtraFeature found them): 0, or -1 without a current face.
FACETAG_API int WINAPI FTAG_GetFeature(FTAG_FEATURE* pFeature);
// Looks for the current face's eyes (the darkest spots of its upper quarters), which
// FTAG_GetFeature then reports: 0, or -1 without a current face.
FACETAG_API int WINAPI FTAG_GetExtraFeature(void);
// The persons the current face resembles, best first: person numbers and scores (0-100)
// as 16-bit values filling cbLength bytes of each area. The number of persons at or above
// nLevel (0: none resembles it, or no current face or database).
FACETAG_API int WINAPI FTAG_VerifyImage(short* pCandidates, short* pScores, int nLevel, int cbLength);
FACETAG_API int WINAPI FTAG_GetTemplateSize(void);
FACETAG_API int WINAPI FTAG_GetTemplate(void* pBuffer);
// Files the current face under the person: its record number, or -1 (no face, no
// database, or the person's faces or the database full).
FACETAG_API int WINAPI FTAG_StoreRecord(int nUser, int nPerson);
// The record of that number removed: 0, or -1 when there is none (or no database).
FACETAG_API int WINAPI FTAG_DeleteRecord(int nRecord);
// Every record of the person removed: how many (0 when it had none), or -1 without a
// database.
FACETAG_API int WINAPI FTAG_DeleteUserRecord(int nPerson);
}
