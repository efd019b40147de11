// The connection: where the file lives, its schema, statements and transactions.
#include <shlobj.h>
#include <sqlite3recover.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unordered_map>

#include "engine.h"

namespace vxdb {

namespace {

constexpr int kSchemaVersion = 2;
constexpr int kBatchWrites = 10000;   // a batch commits after this many writes...
constexpr DWORD kBatchMillis = 1000;  // ...or after this long
constexpr int kWalAutoCheckpoint = 1000;     // pages, as SQLite has it
constexpr int kBatchWalCheckpoint = 16000;   // pages while a batch runs
// After a batch's intermediate commit the write lock stays free this long, so that a
// writer of another process, polling every kBusyPollMillis, gets its turn.
constexpr DWORD kBatchYieldMillis = 20;
constexpr DWORD kBusyPollMillis = 5;
constexpr DWORD kBusyTimeoutMillis = 10000;

// Statements prepared once per connection, keyed by the text's address.
std::unordered_map<const char*, sqlite3_stmt*>& Cache() {
  static std::unordered_map<const char*, sqlite3_stmt*> cache;
  return cache;
}

// Version 2: what the browser read of the pictures it showed (any file, enrolled or not).
const char* const kSchemaV2[] = {
    // A folder's rows lie together and stay small: a folder's facts are one short read.
    "CREATE TABLE seen("
    " folder_key TEXT NOT NULL,"
    " name_key TEXT NOT NULL,"
    " name TEXT NOT NULL,"
    " size INTEGER NOT NULL,"
    " file_time INTEGER NOT NULL,"  // last write, FILETIME units
    " rec_time INTEGER NOT NULL,"   // recording time, local FILETIME units
    " width INTEGER NOT NULL, height INTEGER NOT NULL, bits INTEGER NOT NULL,"
    " orientation INTEGER NOT NULL, format INTEGER NOT NULL,"
    " thumb_bytes INTEGER NOT NULL,"
    " facts BLOB,"
    " PRIMARY KEY(folder_key, name_key)) WITHOUT ROWID",
    "CREATE TABLE seen_thumbs("
    " folder_key TEXT NOT NULL,"
    " name_key TEXT NOT NULL,"
    " thumb BLOB NOT NULL,"
    " PRIMARY KEY(folder_key, name_key))",
};

const char* const kSchemaV1[] = {
    "CREATE TABLE files("
    " id INTEGER PRIMARY KEY,"
    " path TEXT NOT NULL,"
    " path_key TEXT NOT NULL UNIQUE,"
    " folder_key TEXT NOT NULL,"
    " name TEXT NOT NULL,"
    " size INTEGER NOT NULL DEFAULT 0,"
    " file_time INTEGER NOT NULL DEFAULT 0,"  // last write, FILETIME units
    " enroll_time INTEGER NOT NULL,"          // seconds since 1970
    " enroll_flags INTEGER NOT NULL DEFAULT 0,"
    " shot_time INTEGER,"                     // capture time, seconds since 1970
    " favorite INTEGER NOT NULL DEFAULT 0,"
    " print_count INTEGER NOT NULL DEFAULT 0,"
    " phash INTEGER)",
    "CREATE INDEX files_folder ON files(folder_key)",
    "CREATE INDEX files_shot ON files(shot_time)",
    // One row per field; a record is (file, rec, recno); seq orders its fields.
    "CREATE TABLE meta("
    " file_id INTEGER NOT NULL REFERENCES files(id) ON DELETE CASCADE,"
    " rec TEXT NOT NULL COLLATE NOCASE,"
    " recno INTEGER NOT NULL,"
    " seq INTEGER NOT NULL,"
    " field TEXT NOT NULL COLLATE NOCASE,"
    " flag INTEGER NOT NULL DEFAULT 0,"
    " value TEXT NOT NULL,"
    " value_key TEXT NOT NULL,"
    " PRIMARY KEY(file_id, rec, recno, seq)) WITHOUT ROWID",
    // Searches look for text values only; numbers and empty values stay out of the index.
    "CREATE INDEX meta_value ON meta(rec, field, value_key) WHERE flag = 0 AND value_key <> ''",
    // Every record has a field 0: one entry per record for the table reads.
    "CREATE INDEX meta_rec ON meta(rec, file_id, recno) WHERE seq = 0",
    // Keywords split out of the "Keywords" fields, for exact search and grouping.
    "CREATE TABLE keywords("
    " file_id INTEGER NOT NULL REFERENCES files(id) ON DELETE CASCADE,"
    " keyword_key TEXT NOT NULL,"
    " keyword TEXT NOT NULL,"
    " PRIMARY KEY(file_id, keyword_key)) WITHOUT ROWID",
    "CREATE INDEX keywords_key ON keywords(keyword_key)",
    "CREATE TABLE thumbs("
    " file_id INTEGER PRIMARY KEY REFERENCES files(id) ON DELETE CASCADE,"
    " file_time INTEGER NOT NULL,"
    " dib BLOB NOT NULL)",
    "CREATE TABLE persons("
    " id INTEGER PRIMARY KEY,"
    " name TEXT NOT NULL,"
    " name_key TEXT NOT NULL UNIQUE,"
    " birth_year INTEGER, birth_month INTEGER, birth_day INTEGER)",
    "CREATE TABLE person_records("
    " id INTEGER PRIMARY KEY,"
    " kind INTEGER NOT NULL,"
    " name TEXT NOT NULL,"       // the name the picture is filed under
    " name_key TEXT NOT NULL,"
    " ident_name TEXT NOT NULL DEFAULT '',"
    " tag_name TEXT NOT NULL DEFAULT '',"
    " path TEXT NOT NULL,"
    " path_key TEXT NOT NULL,"
    " cand1 INTEGER, score INTEGER, cand2 INTEGER, cand3 INTEGER, face_count INTEGER,"
    " rect_left INTEGER, rect_top INTEGER, rect_right INTEGER, rect_bottom INTEGER,"
    " pt1x INTEGER, pt1y INTEGER, pt2x INTEGER, pt2y INTEGER,"
    " flag INTEGER, face_id INTEGER,"
    " template BLOB,"
    " created INTEGER NOT NULL)",
    "CREATE INDEX person_records_name ON person_records(kind, name_key)",
    "CREATE INDEX person_records_path ON person_records(path_key)",
    "CREATE TABLE result_sets("
    " id INTEGER PRIMARY KEY,"
    " kind INTEGER NOT NULL,"
    " name TEXT NOT NULL,"
    " query TEXT NOT NULL,"
    " created INTEGER NOT NULL)",
    "CREATE TABLE result_files("
    " set_id INTEGER NOT NULL REFERENCES result_sets(id) ON DELETE CASCADE,"
    " seq INTEGER NOT NULL,"
    " path TEXT NOT NULL,"
    " PRIMARY KEY(set_id, seq)) WITHOUT ROWID",
    // Check marks of files (TickCache), enrolled or not; seq keeps the order of marking.
    "CREATE TABLE marks("
    " path_key TEXT PRIMARY KEY,"
    " path TEXT NOT NULL,"
    " state INTEGER NOT NULL,"
    " seq INTEGER NOT NULL) WITHOUT ROWID",
    "CREATE INDEX marks_seq ON marks(seq)",
};

bool Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

// Set when SQLite reports a damaged page or file on any connection; SQLite reports every
// such error through its log at the place it finds it, whichever call meets it.
volatile LONG g_damageSeen = 0;

void NoteError(void*, int code, const char*) {
  const int primary = code & 0xFF;
  if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB) InterlockedExchange(&g_damageSeen, 1);
}

bool TakeDamageSeen() { return InterlockedExchange(&g_damageSeen, 0) != 0; }

enum class Verdict { kSound, kDamaged, kUnknown };
Verdict Examine(sqlite3* db);
bool LeftByUncleanEnd(const std::wstring& file);

// Waits for another connection's lock in short, even steps (SQLite's own wait grows to
// 100 ms steps and would miss a batch's short pauses).
int BusyPoll(void*, int tries) {
  if (static_cast<DWORD>(tries) * kBusyPollMillis >= kBusyTimeoutMillis) return 0;
  Sleep(kBusyPollMillis);
  return 1;
}

void HammingFn(sqlite3_context* ctx, int, sqlite3_value** v) {
  if (sqlite3_value_type(v[0]) == SQLITE_NULL || sqlite3_value_type(v[1]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  sqlite3_result_int(ctx, Hamming(static_cast<uint64_t>(sqlite3_value_int64(v[0])),
                                  static_cast<uint64_t>(sqlite3_value_int64(v[1]))));
}

std::wstring DefaultFolder() {
  wchar_t buf[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableW(L"GLIMORA_DB_DIR", buf, MAX_PATH);
  if (n > 0 && n < MAX_PATH) return buf;
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, buf))) return std::wstring();
  return std::wstring(buf) + L"\\Norvane\\Marlo5";
}

}  // namespace

// ---- Stmt ---------------------------------------------------------------------------------

Stmt::Stmt(sqlite3* db, const char* sql) {
  if (!db) return;
  auto& cache = Cache();
  auto it = cache.find(sql);
  if (it != cache.end()) {
    st_ = it->second;
    return;
  }
  if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &st_, nullptr) != SQLITE_OK) {
    sqlite3_finalize(st_);
    st_ = nullptr;
    return;
  }
  cache[sql] = st_;
}

Stmt::~Stmt() {
  if (st_) {
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
  }
}

Stmt& Stmt::Bind(int i, const std::string& s) {
  if (st_) sqlite3_bind_text(st_, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
  return *this;
}
Stmt& Stmt::BindRef(int i, const std::string& s) {
  if (st_) sqlite3_bind_text(st_, i, s.data(), static_cast<int>(s.size()), SQLITE_STATIC);
  return *this;
}
Stmt& Stmt::Bind(int i, const char* s) {
  if (st_) sqlite3_bind_text(st_, i, s, -1, SQLITE_TRANSIENT);
  return *this;
}
Stmt& Stmt::Bind(int i, int64_t v) {
  if (st_) sqlite3_bind_int64(st_, i, v);
  return *this;
}
Stmt& Stmt::BindNull(int i) {
  if (st_) sqlite3_bind_null(st_, i);
  return *this;
}
Stmt& Stmt::BindBlob(int i, const void* p, int n) {
  if (st_) sqlite3_bind_blob(st_, i, p, n, SQLITE_TRANSIENT);
  return *this;
}
int Stmt::Step() { return st_ ? sqlite3_step(st_) : SQLITE_MISUSE; }
int64_t Stmt::Int(int col) const { return sqlite3_column_int64(st_, col); }
std::string Stmt::Text(int col) const {
  const unsigned char* p = sqlite3_column_text(st_, col);
  return p ? std::string(reinterpret_cast<const char*>(p), sqlite3_column_bytes(st_, col)) : std::string();
}
bool Stmt::IsNull(int col) const { return sqlite3_column_type(st_, col) == SQLITE_NULL; }
const void* Stmt::Blob(int col) const { return sqlite3_column_blob(st_, col); }
int Stmt::Bytes(int col) const { return sqlite3_column_bytes(st_, col); }

// ---- Store --------------------------------------------------------------------------------

Store& Store::Get() {
  static Store* s = new Store();  // never destroyed: DLL detach order is not ours to know
  return *s;
}

Store::Store() {
  InitializeCriticalSection(&cs_);
  InitializeCriticalSection(&healthCs_);
  // Before the first connection: SQLite takes its log only before it starts.
  sqlite3_config(SQLITE_CONFIG_LOG, NoteError, nullptr);
}

void Store::Lock() { EnterCriticalSection(&cs_); }
void Store::Unlock() { LeaveCriticalSection(&cs_); }

HRESULT Store::SetFolder(const char* ansi) {
  std::string f;
  if (ansi && *ansi) {
    if (!AnsiToUtf8(ansi, f)) return E_INVALIDARG;
    while (!f.empty() && (f.back() == '\\' || f.back() == '/')) f.pop_back();
    if (f.empty()) return E_INVALIDARG;
  }
  Lock();
  if (f != folder_) SetHealth(VXDB_HEALTH_SOUND, 0, std::string(), std::string());
  EnterCriticalSection(&healthCs_);
  folder_ = f;
  LeaveCriticalSection(&healthCs_);
  Unlock();
  return S_OK;
}

void Store::SetHealth(DWORD state, DWORD salvaged, const std::string& file, const std::string& aside) {
  EnterCriticalSection(&healthCs_);
  if (state != VXDB_HEALTH_SOUND) ++damages_;
  health_ = state;
  salvaged_ = salvaged;
  healthFile_ = file;
  aside_ = aside;
  LeaveCriticalSection(&healthCs_);
}

std::string Store::FilePath() {
  std::wstring folder = folder_.empty() ? DefaultFolder() : Utf8ToWide(folder_);
  if (folder.empty()) return std::string();
  return WideToUtf8(folder + L"\\VxDatabase.db");
}

HRESULT Store::Open() {
  if (db_) return S_OK;
  // A damaged file that could be neither moved nor read is not tried again every call.
  if (health_ == VXDB_HEALTH_UNAVAILABLE) return E_FAIL;
  std::string file = FilePath();
  if (file.empty()) return E_FAIL;
  std::wstring wfile = Utf8ToWide(file);
  std::wstring dir = wfile.substr(0, wfile.rfind(L'\\'));
  SHCreateDirectoryExW(nullptr, dir.c_str(), nullptr);
  const bool readOnly = health_ == VXDB_HEALTH_READONLY;
  const bool unclean = !readOnly && LeftByUncleanEnd(wfile);
  HRESULT hr = OpenFile(file, readOnly);
  // A page that a crash left half written opens as sound: after an unclean end every
  // page is checked before anything is written.
  if (SUCCEEDED(hr) && unclean && Examine(db_) == Verdict::kDamaged) {
    CloseDb();
    hr = VXDB_E_DAMAGED;
  }
  if (hr == VXDB_E_NOTADB || hr == VXDB_E_DAMAGED) hr = Recover(file, hr);
  TakeDamageSeen();  // what opening met is dealt with
  return hr;
}

void Store::LeaveSession() {
  if (--sessions_ == 0 && g_damageSeen) CheckAfterDamage();
}

void Store::CheckAfterDamage() {
  if (!TakeDamageSeen() || !db_ || health_ == VXDB_HEALTH_READONLY) return;
  // Busy or failing to read is no verdict: only a file found damaged is set aside.
  if (Examine(db_) != Verdict::kDamaged) return;
  // SQLite refuses to commit a transaction that met a damaged page: an open batch loses
  // its writes since its last commit, as at a write's error, and goes on in the new file.
  // Result lists callers hold stay valid.
  if (!sqlite3_get_autocommit(db_)) Exec(db_, "ROLLBACK");
  const int batch = batch_;
  CloseConnection();
  HRESULT hr = Recover(FilePath(), VXDB_E_DAMAGED);
  if (SUCCEEDED(hr) && batch > 0 && health_ == VXDB_HEALTH_RENEWED) {
    batch_ = batch;
    sqlite3_wal_autocheckpoint(db_, kBatchWalCheckpoint);
  }
  TakeDamageSeen();
}

namespace {

// What the first reads of a fresh connection meet: SQLITE_OK, SQLITE_NOTADB (no database
// at all), SQLITE_CORRUPT (cut short: the header counts more pages than the file holds) or
// another error. Preparing reads the header and the schema.
int FirstReadError(sqlite3* db) {
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_schema", -1, &st, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_step(st) == SQLITE_ROW ? SQLITE_OK : sqlite3_errcode(db);
  sqlite3_finalize(st);
  return rc & 0xFF;
}

// A database file is whole pages; one that is not, or that holds fewer pages than its
// header counts, was cut short (SQLite itself notices only the second, and only some
// reads meet the missing bytes). While a log holds pages, the file may rightly be shorter
// than a header that a checkpoint cut off midway already wrote: SQLite judges that case.
bool IsCutShort(const std::wstring& file) {
  WIN32_FILE_ATTRIBUTE_DATA wal;
  if (GetFileAttributesExW((file + L"-wal").c_str(), GetFileExInfoStandard, &wal) &&
      (wal.nFileSizeLow || wal.nFileSizeHigh))
    return false;
  HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  unsigned char head[100] = {};
  DWORD got = 0;
  LARGE_INTEGER size = {};
  bool read = ReadFile(h, head, sizeof head, &got, nullptr) && got == sizeof head && GetFileSizeEx(h, &size);
  CloseHandle(h);
  if (!read || memcmp(head, "SQLite format 3", 16) != 0) return false;
  uint64_t page = (head[16] << 8) | head[17];
  if (page == 1) page = 65536;
  if (page < 512 || (page & (page - 1))) return false;  // no header SQLite would read either
  uint64_t bytes = static_cast<uint64_t>(size.QuadPart);
  auto word = [&](int at) {
    return (uint32_t(head[at]) << 24) | (head[at + 1] << 16) | (head[at + 2] << 8) | head[at + 3];
  };
  bool countValid = word(24) == word(92) && word(28) != 0;
  return bytes % page != 0 || (countValid && word(28) * page > bytes);
}

// SQLite removes a database's log when its last connection closes: a log that no
// connection holds open is what a process that ended without closing left behind.
bool LeftByUncleanEnd(const std::wstring& file) {
  HANDLE h = CreateFileW((file + L"-wal").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;  // none, or held by a live connection
  CloseHandle(h);
  return true;
}

// SQLite's check of every page (not of what the indexes hold, which costs far more).
Verdict Examine(sqlite3* db) {
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &st, nullptr);
  bool sound = true;
  if (rc == SQLITE_OK) {
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      const unsigned char* text = sqlite3_column_text(st, 0);
      if (!text || strcmp(reinterpret_cast<const char*>(text), "ok") != 0) sound = false;
    }
  }
  sqlite3_finalize(st);
  if (rc == SQLITE_DONE) return sound ? Verdict::kSound : Verdict::kDamaged;
  rc &= 0xFF;
  return rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB ? Verdict::kDamaged : Verdict::kUnknown;
}

// The file moved to a name that no earlier damage used; its log goes along, its shared
// index is dropped. False when it could not be moved.
bool SetAside(const std::wstring& file, std::wstring* aside) {
  std::wstring stem = file.substr(0, file.rfind(L'.'));
  for (int n = 1; n < 1000; ++n) {
    std::wstring name = stem + (n == 1 ? L".damaged.db" : L".damaged-" + std::to_wstring(n) + L".db");
    if (GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesW((name + L"-wal").c_str()) != INVALID_FILE_ATTRIBUTES)
      continue;
    if (!MoveFileExW(file.c_str(), name.c_str(), 0)) {
      DWORD e = GetLastError();
      if (e == ERROR_ALREADY_EXISTS || e == ERROR_FILE_EXISTS) continue;  // taken meanwhile
      return false;
    }
    MoveFileExW((file + L"-wal").c_str(), (name + L"-wal").c_str(), 0);
    DeleteFileW((file + L"-shm").c_str());
    *aside = name;
    return true;
  }
  return false;
}

}  // namespace

HRESULT Store::OpenFile(const std::string& file, bool readOnly) {
  sqlite3* db = nullptr;
  int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  if (sqlite3_open_v2(file.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return E_FAIL;
  }
  sqlite3_busy_handler(db, BusyPoll, nullptr);
  // Read-only, a file cut short is read as far as it goes (nothing can be written).
  if (readOnly) Exec(db, "PRAGMA writable_schema=ON");
  int readError = IsCutShort(Utf8ToWide(file)) && !readOnly ? SQLITE_CORRUPT : FirstReadError(db);
  if (readError == SQLITE_NOTADB || readError == SQLITE_CORRUPT) {
    sqlite3_close(db);
    return readError == SQLITE_NOTADB ? VXDB_E_NOTADB : VXDB_E_DAMAGED;
  }
  if (!readOnly) Exec(db, "PRAGMA journal_mode=WAL");
  Exec(db, "PRAGMA synchronous=NORMAL");
  Exec(db, "PRAGMA foreign_keys=ON");
  // Savepoint journals in memory: spilled to temporary files they cost a file per write.
  Exec(db, "PRAGMA temp_store=MEMORY");
  Exec(db, "PRAGMA cache_size=-32000");
  sqlite3_create_function(db, "hamming", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, HammingFn, nullptr, nullptr);
  db_ = db;
  HRESULT hr = Migrate();
  if (FAILED(hr)) CloseDb();
  return hr;
}

HRESULT Store::Recover(const std::string& file, HRESULT damage) {
  std::wstring aside;
  if (SetAside(Utf8ToWide(file), &aside)) {
    HRESULT hr = OpenFile(file, false);
    // Even a file whose header is lost may hold whole pages: the recovery reads them.
    DWORD salvaged = SUCCEEDED(hr) ? Salvage(aside) : 0;
    SetHealth(SUCCEEDED(hr) ? VXDB_HEALTH_RENEWED : VXDB_HEALTH_UNAVAILABLE, salvaged, file, WideToUtf8(aside));
    return hr;
  }
  if (damage == VXDB_E_DAMAGED && SUCCEEDED(OpenFile(file, true))) {
    SetHealth(VXDB_HEALTH_READONLY, 0, file, std::string());
    return S_OK;
  }
  SetHealth(VXDB_HEALTH_UNAVAILABLE, 0, file, std::string());
  return E_FAIL;
}

namespace {

// Parents before children, so that every row finds what it refers to.
const char* const kSalvageTables[] = {"files",          "meta",        "keywords",     "thumbs", "persons",
                                      "person_records", "result_sets", "result_files", "marks"};

// Copies the rows of one table up to the first that cannot be read.
void CopyRows(sqlite3* from, sqlite3* to, const std::string& table) {
  sqlite3_stmt* read = nullptr;
  sqlite3_stmt* write = nullptr;
  if (sqlite3_prepare_v2(from, ("SELECT * FROM " + table).c_str(), -1, &read, nullptr) == SQLITE_OK) {
    int n = sqlite3_column_count(read);
    std::string sql = "INSERT OR IGNORE INTO " + table + " VALUES(";
    for (int i = 0; i < n; ++i) sql += i ? ",?" : "?";
    sql += ")";
    if (n > 0 && sqlite3_prepare_v2(to, sql.c_str(), -1, &write, nullptr) == SQLITE_OK) {
      while (sqlite3_step(read) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i) sqlite3_bind_value(write, i + 1, sqlite3_column_value(read, i));
        sqlite3_step(write);
        sqlite3_reset(write);
      }
    }
  }
  sqlite3_finalize(write);
  sqlite3_finalize(read);
}

void DeleteScratch(const std::wstring& scratch) {
  DeleteFileW(scratch.c_str());
  DeleteFileW((scratch + L"-journal").c_str());
}

// SQLite's recovery rebuilds a lost header but keeps its format version bytes and its
// count of reserved bytes per page, and gives up when those are garbage. A copy of the
// file with them as this program writes them (version 1, no reserved bytes) is read
// instead; false when the file's own are usable.
bool MendedCopy(const std::wstring& damaged, const std::wstring& copy) {
  HANDLE h = CreateFileW(damaged.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  unsigned char head[21] = {};
  DWORD got = 0;
  bool read = ReadFile(h, head, sizeof head, &got, nullptr) && got == sizeof head;
  CloseHandle(h);
  auto version = [](unsigned char v) { return v == 1 || v == 2; };
  if (!read || (version(head[18]) && version(head[19]) && head[20] == 0)) return false;
  if (!CopyFileW(damaged.c_str(), copy.c_str(), FALSE)) return false;
  h = CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  const unsigned char sane[3] = {1, 1, 0};
  DWORD wrote = 0;
  bool mended = h != INVALID_HANDLE_VALUE && SetFilePointer(h, 18, nullptr, FILE_BEGIN) == 18 &&
                WriteFile(h, sane, sizeof sane, &wrote, nullptr) && wrote == sizeof sane;
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  if (!mended) DeleteFileW(copy.c_str());
  return mended;
}

// SQLite's recovery reads the damaged file page by page, past pages it cannot read and
// without its header, into a scratch database beside it. False when it could not run.
bool RecoverInto(const std::wstring& damaged, const std::wstring& scratch) {
  DeleteScratch(scratch);
  const std::wstring copy = scratch + L"-input";
  const bool mended = MendedCopy(damaged, copy);
  sqlite3* in = nullptr;
  int rc = sqlite3_open_v2(WideToUtf8(mended ? copy : damaged).c_str(), &in, SQLITE_OPEN_READONLY, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_recover* r = sqlite3_recover_init(in, "main", WideToUtf8(scratch).c_str());
    if (r) sqlite3_recover_run(r);
    rc = r ? sqlite3_recover_finish(r) : SQLITE_NOMEM;
  }
  sqlite3_close(in);
  if (mended) DeleteFileW(copy.c_str());
  return rc == SQLITE_OK;
}

}  // namespace

DWORD Store::Salvage(const std::wstring& aside) {
  // What the recovery could not read, a plain read of the file may still get.
  const std::wstring scratch = aside + L".recovered";
  const bool recovered = RecoverInto(aside, scratch);
  sqlite3* old = nullptr;
  if (sqlite3_open_v2(WideToUtf8(recovered ? scratch : aside).c_str(), &old, SQLITE_OPEN_READONLY, nullptr) !=
      SQLITE_OK) {
    sqlite3_close(old);
    DeleteScratch(scratch);
    return 0;
  }
  Exec(old, "PRAGMA writable_schema=ON");
  DWORD files = 0;
  if (FirstReadError(old) == SQLITE_OK && Exec(db_, "PRAGMA foreign_keys=OFF") && Exec(db_, "BEGIN IMMEDIATE")) {
    for (const char* table : kSalvageTables) CopyRows(old, db_, table);
    // Rows whose parent was lost with the damaged pages go too.
    Exec(db_, "DELETE FROM meta WHERE file_id NOT IN (SELECT id FROM files)");
    Exec(db_, "DELETE FROM keywords WHERE file_id NOT IN (SELECT id FROM files)");
    Exec(db_, "DELETE FROM thumbs WHERE file_id NOT IN (SELECT id FROM files)");
    Exec(db_, "DELETE FROM result_files WHERE set_id NOT IN (SELECT id FROM result_sets)");
    if (!Exec(db_, "COMMIT")) Exec(db_, "ROLLBACK");
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT count(*) FROM files", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
      files = static_cast<DWORD>(sqlite3_column_int64(st, 0));
    sqlite3_finalize(st);
  }
  Exec(db_, "PRAGMA foreign_keys=ON");
  sqlite3_close(old);
  DeleteScratch(scratch);
  return files;
}

VXDBHEALTH Store::Health() {
  VXDBHEALTH h = {};
  EnterCriticalSection(&healthCs_);
  h.dwState = health_;
  h.dwSalvagedFiles = salvaged_;
  h.dwDamageCount = damages_;
  std::string file = Utf8ToAnsi(healthFile_.empty() ? FilePath() : healthFile_);
  std::string aside = Utf8ToAnsi(aside_);
  LeaveCriticalSection(&healthCs_);
  lstrcpynA(h.szFile, file.c_str(), MAX_PATH);
  lstrcpynA(h.szAside, aside.c_str(), MAX_PATH);
  return h;
}

namespace {

int UserVersion(sqlite3* db) {
  int version = -1;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
    version = sqlite3_column_int(st, 0);
  sqlite3_finalize(st);
  return version;
}

}  // namespace

HRESULT Store::Migrate() {
  // Opening must not wait for other writers when there is nothing to change.
  int version = UserVersion(db_);
  if (version == kSchemaVersion) return S_OK;
  if (version > kSchemaVersion) return VXDB_E_NEWER;
  if (!Exec(db_, "BEGIN IMMEDIATE")) return E_FAIL;
  version = UserVersion(db_);  // another process may have done it meanwhile
  bool ok = version >= 0;
  if (ok && version > kSchemaVersion) {
    Exec(db_, "ROLLBACK");
    return VXDB_E_NEWER;
  }
  if (ok && version == 0) {
    for (const char* sql : kSchemaV1) ok = ok && Exec(db_, sql);
    version = 1;
  }
  if (ok && version == 1) {
    for (const char* sql : kSchemaV2) ok = ok && Exec(db_, sql);
    version = 2;
  }
  // Later versions add their steps here: if (ok && version == 2) { ...; version = 3; }
  if (ok) {
    std::string set = "PRAGMA user_version=" + std::to_string(version);
    ok = Exec(db_, set.c_str());
  }
  if (!ok || !Exec(db_, "COMMIT")) {
    Exec(db_, "ROLLBACK");
    return E_FAIL;
  }
  return S_OK;
}

void Store::CloseDb() {
  CloseConnection();
  DropOwnedResults(0);
}

void Store::CloseConnection() {
  if (!db_) return;
  if (batch_ > 0) {
    if (!sqlite3_get_autocommit(db_)) Exec(db_, "COMMIT");
    sqlite3_wal_autocheckpoint(db_, kWalAutoCheckpoint);
    batch_ = 0;
  }
  for (auto& kv : Cache()) sqlite3_finalize(kv.second);
  Cache().clear();
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

HRESULT Store::Ensure() { return Open(); }

HRESULT Store::AddUse() {
  HRESULT hr = Open();
  if (SUCCEEDED(hr)) ++uses_;
  return hr;
}

HRESULT Store::EndUse(int mode) {
  if (mode == -1)
    uses_ = 0;
  else if (uses_ > 0)
    --uses_;
  if (uses_ == 0) CloseDb();
  return S_OK;
}

bool Store::JoinBatch() {
  if (!sqlite3_get_autocommit(db_)) return true;
  // The batch lost its transaction (another writer held the lock past a commit): rejoin.
  if (!Exec(db_, "BEGIN IMMEDIATE")) return false;
  batchWrites_ = 0;
  batchStart_ = GetTickCount();
  return true;
}

void Store::NoteWrite() {
  if (batch_ <= 0 || depth_ > 0) return;
  if (++batchWrites_ < kBatchWrites && GetTickCount() - batchStart_ < kBatchMillis) return;
  // Commit what the batch holds so far, so that a crash loses little and others may write.
  if (Exec(db_, "COMMIT")) {
    Sleep(kBatchYieldMillis);
    Exec(db_, "BEGIN IMMEDIATE");
  }
  batchWrites_ = 0;
  batchStart_ = GetTickCount();
}

void Store::AbortBatchPart() {
  if (batch_ <= 0) return;
  Exec(db_, "ROLLBACK");
  Exec(db_, "BEGIN IMMEDIATE");
  batchWrites_ = 0;
  batchStart_ = GetTickCount();
}

HRESULT Store::BeginBatch() {
  if (batch_ == 0) {
    if (!sqlite3_get_autocommit(db_)) return E_FAIL;
    if (!Exec(db_, "BEGIN IMMEDIATE")) return E_FAIL;
    // Checkpoints wait until the log is large: copying it into the file at every
    // intermediate commit would cost more than the batch itself.
    sqlite3_wal_autocheckpoint(db_, kBatchWalCheckpoint);
    batchWrites_ = 0;
    batchStart_ = GetTickCount();
  }
  ++batch_;
  return S_OK;
}

HRESULT Store::EndBatch() {
  if (batch_ <= 0) return S_FALSE;
  if (--batch_ > 0) return S_OK;
  bool ok = sqlite3_get_autocommit(db_) || Exec(db_, "COMMIT");
  sqlite3_wal_autocheckpoint(db_, kWalAutoCheckpoint);
  if (ok) return S_OK;
  Exec(db_, "ROLLBACK");
  return E_FAIL;
}

HRESULT Store::Checkpoint() {
  if (batch_ > 0 && depth_ == 0) {
    if (Exec(db_, "COMMIT")) Exec(db_, "BEGIN IMMEDIATE");
    batchWrites_ = 0;
    batchStart_ = GetTickCount();
  }
  sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
  return S_OK;
}

namespace {

bool SameList(const STRINGLIST* a, const STRINGLIST* b) {
  for (; a && b; a = a->pNext, b = b->pNext)
    if (a->nData != b->nData || strcmp(a->pszText, b->pszText) != 0) return false;
  return !a && !b;
}

}  // namespace

STRINGLIST* Store::OwnedResult(int id, STRINGLIST* fresh) {
  for (Owned& o : owned_) {
    if (o.id != id) continue;
    // Callers keep reading the list they were given: an unchanged result keeps it alive.
    if (SameList(o.list, fresh)) {
      FreeStringList(fresh);
      return o.list;
    }
    FreeStringList(o.list);
    o.list = fresh;
    return fresh;
  }
  owned_.push_back({id, fresh});
  return fresh;
}

void Store::DropOwnedResults(int id) {
  for (size_t i = 0; i < owned_.size();) {
    if (id == 0 || owned_[i].id == id) {
      FreeStringList(owned_[i].list);
      owned_.erase(owned_.begin() + static_cast<long>(i));
    } else {
      ++i;
    }
  }
}

// ---- Session and Write ------------------------------------------------------------------

Session::Session() {
  Store::Get().Lock();
  Store::Get().EnterSession();
  hr_ = Store::Get().Ensure();
}

Session::~Session() {
  Store::Get().LeaveSession();
  Store::Get().Unlock();
}

Write::Write() {
  Store& st = Store::Get();
  sqlite3* db = st.db();
  if (!db) {
    hr_ = E_FAIL;
    return;
  }
  if (st.InBatch()) {
    // The batch's transaction holds the write; a savepoint per write would copy every
    // page it touches and cost more than the write itself.
    mode_ = kBatch;
    hr_ = st.JoinBatch() ? S_OK : E_FAIL;
  } else {
    mode_ = sqlite3_get_autocommit(db) ? kTransaction : kSavepoint;
    hr_ = Exec(db, mode_ == kTransaction ? "BEGIN IMMEDIATE" : "SAVEPOINT w") ? S_OK : E_FAIL;
  }
  open_ = SUCCEEDED(hr_);
  if (open_) st.EnterWrite();
}

HRESULT Write::Commit() {
  if (!open_) return hr_;
  open_ = false;
  Store& st = Store::Get();
  sqlite3* db = st.db();
  st.LeaveWrite();
  switch (mode_) {
    case kBatch:
      st.NoteWrite();
      return S_OK;
    case kSavepoint:
      return Exec(db, "RELEASE w") ? S_OK : E_FAIL;
    default:
      if (Exec(db, "COMMIT")) return S_OK;
      Exec(db, "ROLLBACK");
      return E_FAIL;
  }
}

void Write::Fail(HRESULT why) {
  if (!open_ || mode_ != kBatch) return;
  // A refusal comes before any write; a real error may leave a write half done, so the
  // batch's uncommitted part goes rather than that.
  if (why == E_INVALIDARG || why == VXDB_E_NOTFOUND || why == VXDB_E_EXISTS) return;
  open_ = false;
  Store& st = Store::Get();
  st.LeaveWrite();
  st.AbortBatchPart();
}

Write::~Write() {
  if (!open_) return;
  Store& st = Store::Get();
  sqlite3* db = st.db();
  st.LeaveWrite();
  if (mode_ == kSavepoint) {
    Exec(db, "ROLLBACK TO w");
    Exec(db, "RELEASE w");
  } else if (mode_ == kTransaction) {
    Exec(db, "ROLLBACK");
  }
}

int64_t NowUnix() { return static_cast<int64_t>(time(nullptr)); }

}  // namespace vxdb
