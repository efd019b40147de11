// The library's work without its exported state: the cascade, the search, templates and the
// database in a buffer (tests call these directly).
#pragma once
#include <libfacetag.h>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace facetag {

struct FaceRect {
  int x, y, w, h;
};

struct Cascade {
  struct Stage {
    uint32_t weakCount;
    float threshold;
  };
  struct Weak {
    uint32_t feature;
    float threshold, left, right;
  };
  struct Rect {
    int x, y, w, h;
    float weight;
  };
  struct Feature {
    int count = 0;
    Rect rects[3];
  };
  int width = 0, height = 0;
  std::vector<Stage> stages;
  std::vector<Weak> weaks;
  std::vector<Feature> features;

  // False (and empty) for bytes of another shape.
  bool Load(const std::vector<uint8_t>& bytes);
  bool Parse(const std::vector<uint8_t>& bytes);
  // The faces of about minWidth pixels or more, left to right.
  std::vector<FaceRect> Detect(const std::vector<uint8_t>& grey, int w, int h, int minWidth) const;
};

// Hits of the search grouped: clusters of more than minNeighbours similar rectangles.
std::vector<FaceRect> Group(const std::vector<FaceRect>& rects, int minNeighbours, double eps);

std::vector<uint8_t> MakeTemplate(const std::vector<uint8_t>& grey, int w, int h, const FaceRect& face);
// 0 (nothing alike) to 100 (the same histograms).
constexpr double kSimilarityScale = 0.5;
int Similarity(const uint8_t* a, const uint8_t* b);

size_t DbSize(int persons);
bool InitDb(uint8_t* db, int persons);
bool CheckDb(const uint8_t* db);
// The record number, or -1.
int StoreRecord(uint8_t* db, int user, int person, const std::vector<uint8_t>& tmpl);
// The record of that number freed: 0, or -1 when there is none.
int DeleteRecord(uint8_t* db, int number);
// Every record of the person freed: how many, or -1 for a database that is not one.
int DeleteUserRecords(uint8_t* db, int person);
// The eyes of a face: the darkest spot of each upper quarter of the face, where a frontal
// face's eyes are (left eye in the picture's left half).
std::pair<POINT, POINT> FindEyes(const std::vector<uint8_t>& grey, int w, int h, const FaceRect& face);
// Every person of the database with the best score of its faces, best first.
std::vector<std::pair<int, int>> Candidates(const uint8_t* db, const std::vector<uint8_t>& tmpl);

}  // namespace facetag
