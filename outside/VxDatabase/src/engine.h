// The photo database engine shared by the sources of VxDatabase.dll.
#pragma once

#include <VxDatabase.h>
#include <sqlite3.h>
#include <textkit/text.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vxdb {

// Inside the engine: the file is no SQLite database.
constexpr HRESULT VXDB_E_NOTADB = static_cast<HRESULT>(0x8878001AL);
// Inside the engine: a database whose pages cannot all be read (cut short, overwritten).
constexpr HRESULT VXDB_E_DAMAGED = static_cast<HRESULT>(0x8878001BL);

// ---- Texts (text.cpp) -------------------------------------------------------------------

// Conversions and case are the text kit's; these take the engine's null-able C texts.
using textkit::Utf8ToWide;
using textkit::WideToUtf8;
// ANSI (the process code page) to UTF-16 / UTF-8, refusing null and undecodable bytes.
bool AnsiToWide(const char* s, std::wstring& out);
bool AnsiToUtf8(const char* s, std::string& out);
std::string Utf8ToAnsi(const std::string& s);
// The comparison key of a text: upper-cased through Unicode, as Windows compares paths.
std::string FoldUtf8(const std::string& s);

// A file path taken apart. All texts are UTF-8; keys are folded.
struct PathParts {
  std::string path;       // as given, '/' turned into '\'
  std::string key;        // folded path
  std::string folder;     // path up to and with the last '\'
  std::string folderKey;  // folded folder
  std::string name;       // after the last '\'
};

// E_INVALIDARG for null, empty, over-long (MAX_PATH characters or more) or undecodable.
HRESULT ParsePath(const char* ansi, PathParts& out);
HRESULT ParseWidePath(std::wstring w, PathParts& out);
// A path below oldFolder moved below newFolder (both with their trailing '\').
HRESULT RebasePath(const std::string& path, const std::string& oldFolder, const std::string& newFolder, PathParts& out);
// A folder: exactly one trailing '\' ("C:" and "C:\" both give "C:\").
HRESULT ParseFolder(const char* ansi, std::string& folderUtf8, std::string& folderKey);
// The first key after every key that starts with folderKey (which ends in '\').
std::string KeyRangeEnd(const std::string& folderKey);
// A short text (a name, a value) in UTF-8: E_INVALIDARG for null or undecodable.
HRESULT ParseText(const char* ansi, std::string& out, bool allowEmpty);

// Splits at '|' (UTF-8, so no trail byte can match); empty pieces are dropped.
std::vector<std::string> SplitPieces(const std::string& s, char sep = '|');

// ---- Storage (store.cpp) ----------------------------------------------------------------

// A prepared statement taken from the connection's cache; reset when it goes out of scope.
class Stmt {
 public:
  Stmt(sqlite3* db, const char* sql);
  ~Stmt();
  Stmt(const Stmt&) = delete;
  Stmt& operator=(const Stmt&) = delete;
  bool ok() const { return st_ != nullptr; }
  Stmt& Bind(int i, const std::string& s);
  Stmt& Bind(int i, const char* s);
  // Bound without a copy: s must stay as it is until the statement's next reset.
  Stmt& BindRef(int i, const std::string& s);
  Stmt& Bind(int i, int64_t v);
  Stmt& Bind(int i, int v) { return Bind(i, static_cast<int64_t>(v)); }
  Stmt& BindNull(int i);
  Stmt& BindBlob(int i, const void* p, int n);
  int Step();          // SQLITE_ROW, SQLITE_DONE or an error
  bool Row() { return Step() == SQLITE_ROW; }
  bool Run() { return Step() == SQLITE_DONE; }
  int64_t Int(int col) const;
  std::string Text(int col) const;
  bool IsNull(int col) const;
  const void* Blob(int col) const;
  int Bytes(int col) const;
  sqlite3_stmt* get() { return st_; }

 private:
  sqlite3_stmt* st_ = nullptr;
};

class Store {
 public:
  static Store& Get();

  void Lock();
  void Unlock();

  HRESULT SetFolder(const char* ansi);
  std::string FilePath();  // UTF-16 path of the database file as UTF-8

  // Counted uses; Ensure opens without counting.
  HRESULT AddUse();
  HRESULT EndUse(int mode);
  HRESULT Ensure();
  sqlite3* db() { return db_; }
  // Never waits for the store's lock: a window's timer asks while long calls run.
  VXDBHEALTH Health();

  // Calls nest; at the end of the outermost one, a file that SQLite reported damaged
  // during it is checked and, when damaged, dealt with as at opening.
  void EnterSession() { ++sessions_; }
  void LeaveSession();

  // Writes (class Write) nest; the outermost one inside a batch counts towards its commit.
  void EnterWrite() { ++depth_; }
  void LeaveWrite() { --depth_; }
  bool JoinBatch();  // the batch's transaction, begun again when it was lost
  void NoteWrite();
  void AbortBatchPart();  // rolls the batch back to its last commit
  HRESULT BeginBatch();
  HRESULT EndBatch();
  bool InBatch() const { return batch_ > 0; }
  HRESULT Checkpoint();

  // Result lists that the database owns (memorised results named by a marker query):
  // the list kept for id when it holds the same texts as fresh (which is then freed).
  STRINGLIST* OwnedResult(int id, STRINGLIST* fresh);
  void DropOwnedResults(int id);  // id 0: all

 private:
  Store();
  HRESULT Open();
  HRESULT OpenFile(const std::string& file, bool readOnly);
  HRESULT Recover(const std::string& file, HRESULT damage);
  DWORD Salvage(const std::wstring& aside);
  void CheckAfterDamage();
  void SetHealth(DWORD state, DWORD salvaged, const std::string& file, const std::string& aside);
  void CloseDb();
  void CloseConnection();  // CloseDb but for the result lists callers still read
  HRESULT Migrate();

  CRITICAL_SECTION cs_;
  sqlite3* db_ = nullptr;
  std::string folder_;  // chosen folder (UTF-8), empty for the default
  // What the last open of this folder's file found; a damaged file is dealt with once.
  // Written under both locks, read under either.
  CRITICAL_SECTION healthCs_;
  DWORD health_ = VXDB_HEALTH_SOUND;
  DWORD salvaged_ = 0;
  DWORD damages_ = 0;               // damaged files this process met, in any folder
  std::string healthFile_, aside_;  // UTF-8
  int sessions_ = 0;
  int uses_ = 0;
  int batch_ = 0;
  int depth_ = 0;
  int batchWrites_ = 0;
  DWORD batchStart_ = 0;
  struct Owned {
    int id;
    STRINGLIST* list;
  };
  std::vector<Owned> owned_;
};

// Holds the store's lock and the open database for one call.
class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  HRESULT hr() const { return hr_; }
  sqlite3* db() { return Store::Get().db(); }

 private:
  HRESULT hr_;
};

// One write operation: a transaction of its own, a savepoint inside another write, or a
// part of the open batch. Commit() keeps it; destroyed before, it is rolled back (a part
// of a batch is kept unless Fail was told of a real error).
class Write {
 public:
  Write();
  ~Write();
  Write(const Write&) = delete;
  Write& operator=(const Write&) = delete;
  HRESULT hr() const { return hr_; }
  HRESULT Commit();
  void Fail(HRESULT why);

 private:
  enum Mode { kTransaction, kSavepoint, kBatch };
  HRESULT hr_;
  bool open_ = false;
  Mode mode_ = kTransaction;
};

int64_t NowUnix();

// One call that writes: the lock, the open database and a transaction (or savepoint) that
// commits when f succeeds. S_FALSE and other successes of f are passed on.
template <class F>
HRESULT WriteOp(F f) {
  Session s;
  if (FAILED(s.hr())) return s.hr();
  Write w;
  if (FAILED(w.hr())) return w.hr();
  HRESULT hr = f(s.db());
  if (FAILED(hr)) {
    w.Fail(hr);
    return hr;
  }
  HRESULT c = w.Commit();
  return FAILED(c) ? c : hr;
}

template <class F>
HRESULT ReadOp(F f) {
  Session s;
  if (FAILED(s.hr())) return s.hr();
  return f(s.db());
}

// ---- Files (files.cpp) -----------------------------------------------------------------

// A metadata list in UTF-8.
struct FieldText {
  std::string name, value;
  int flag;
};
struct RecordText {
  std::string name;
  std::vector<FieldText> fields;
};
// E_INVALIDARG for a list that UpdateMeta refuses.
HRESULT ConvertList(const METADATA* list, std::vector<RecordText>& out);
// What the disk says of a file, as its entry keeps it.
struct DiskInfo {
  int64_t size = 0;
  int64_t writeTime = 0;  // FILETIME units
};
DiskInfo DiskInfoOf(const WIN32_FILE_ATTRIBUTE_DATA& fa);
DiskInfo StatFile(const std::string& pathUtf8);  // zeros when the file can't be read
// The file entered anew with these records: an earlier entry of its path goes first.
HRESULT EnterFile(sqlite3* db, const PathParts& p, const std::vector<RecordText>& recs, const DiskInfo& disk);

// The id of the file with this key, 0 when not enrolled.
int64_t FileId(sqlite3* db, const std::string& key);
HRESULT EnrollParts(sqlite3* db, const PathParts& p, DWORD flags, int64_t* id);
HRESULT UpdateMeta(sqlite3* db, int64_t fileId, const METADATA* list);
HRESULT DeleteById(sqlite3* db, int64_t fileId);
HRESULT DeleteRecordsOfPath(sqlite3* db, const std::string& key, int kind);  // kind -1: all
// Moves every database entry of one path (file row, person records) to another.
HRESULT MovePath(sqlite3* db, const PathParts& from, const PathParts& to, DWORD flags);
// The two columns of every row that sql (with ?1 = folderKey, ?2 = its range end) finds.
std::vector<std::pair<std::string, std::string>> RowsUnder(sqlite3* db, const char* sql, const std::string& folderKey);
HRESULT MoveFolderKeys(sqlite3* db, const std::string& oldFolder, const std::string& oldKey,
                       const std::string& newFolder, const std::string& newKey);
void RebuildKeywords(sqlite3* db, int64_t fileId);
// A file's folder classification follows it to newFolder when it named its old folder.
void FollowFolder(sqlite3* db, int64_t fileId, const std::string& oldFolderKey, const std::string& newFolder);

// ---- Queries (query.cpp) ---------------------------------------------------------------

// One condition of a search.
struct Term {
  std::string field;   // as written, e.g. "Keywords"
  std::string value;   // UTF-8
  std::string value2;  // second value (date range end, similar distance)
};
// Parses a query (UTF-8): terms separated by '|'; empty and "%" terms are dropped.
// Returns false when a term has no field or an unknown field.
bool ParseQuery(const std::string& query, std::vector<Term>& terms);
// Dates "YYYY", "YYYY/MM", "YYYY/MM/DD" (also '-' or '.') as a range of local time.
bool ParseDateRange(const std::string& from, const std::string& to, int64_t* begin, int64_t* end);
HRESULT RunQuery(sqlite3* db, const std::string& query, std::vector<std::string>& pathsUtf8);

STRINGLIST* ToStringList(const std::vector<std::string>& utf8, const std::vector<LONG_PTR>* data = nullptr);
// The rows of a statement whose columns are (text, number) as a list; S_FALSE when none.
HRESULT ListRows(Stmt& st, STRINGLIST** out);

// ---- Similar-image hashes --------------------------------------------------------------
int Hamming(uint64_t a, uint64_t b);

}  // namespace vxdb
