#include "scores/sqlite_score_store.h"

#include <sqlite3.h>

#include <array>
#include <cstdio>

namespace {

// WAL with synchronous NORMAL: a post commits by appending to the log, without waiting for the
// disk; a crash of the server loses nothing committed, a power cut at most the last few posts.
constexpr char kSchema[] = R"sql(
PRAGMA journal_mode = WAL;
PRAGMA synchronous = NORMAL;
PRAGMA busy_timeout = 2000;
CREATE TABLE IF NOT EXISTS posts (
  id INTEGER PRIMARY KEY,
  nonce INTEGER NOT NULL,
  score INTEGER NOT NULL,
  name TEXT NOT NULL,
  mode TEXT NOT NULL,
  posted_at INTEGER NOT NULL,
  UNIQUE (nonce, score, name, mode));
CREATE INDEX IF NOT EXISTS posts_by_rank ON posts (mode, score DESC, id);
)sql";

// Posts get consecutive ids and none of the recent ones is ever deleted, so the recent history
// is every id above newest - RecentKept. Older posts stay only while they rank among the best
// of their mode. The old ones are few (the best of each mode), so they are walked by id: the
// score index would walk every recent post below the best as well, at six times the cost a post.
constexpr char kPrune[] =
    "DELETE FROM posts NOT INDEXED WHERE mode = ?1 AND id <= ?2 AND (score, -id) < "
    "(SELECT score, -id FROM posts WHERE mode = ?1 ORDER BY score DESC, id LIMIT 1 OFFSET ?3)";

constexpr std::array<char, 2> kModes = {kNormalMode, kDebugMode};

void BindOne(sqlite3_stmt* statement, int index, std::int64_t value) { sqlite3_bind_int64(statement, index, value); }

void BindOne(sqlite3_stmt* statement, int index, const std::string& value) {
  sqlite3_bind_text(statement, index, value.data(), int(value.size()), SQLITE_TRANSIENT);
}

template <typename... Values>
void Bind(sqlite3_stmt* statement, const Values&... values) {
  int index = 0;
  (BindOne(statement, ++index, values), ...);
}

std::string ColumnText(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return text ? text : "";
}

std::string ModeText(char mode) { return std::string(1, mode); }

}  // namespace

void SqliteScoreStore::StatementDeleter::operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }

void SqliteScoreStore::DatabaseCloser::operator()(sqlite3* db) const { sqlite3_close(db); }

SqliteScoreStore::SqliteScoreStore(sqlite3* db, StoreLimits limits) : db_(db), limits_(limits) {}

SqliteScoreStore::~SqliteScoreStore() = default;

std::unique_ptr<SqliteScoreStore> SqliteScoreStore::Open(const std::string& path, StoreLimits limits,
                                                         std::string& error) {
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    error = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    return nullptr;
  }
  std::unique_ptr<SqliteScoreStore> store(new SqliteScoreStore(db, limits));
  if (!store->Prepare(error) || !store->PruneToLimits()) {
    if (error.empty()) error = sqlite3_errmsg(db);
    return nullptr;
  }
  return store;
}

bool SqliteScoreStore::Prepare(std::string& error) {
  if (sqlite3_exec(db_.get(), kSchema, nullptr, nullptr, nullptr) != SQLITE_OK) {
    error = sqlite3_errmsg(db_.get());
    return false;
  }
  const std::pair<Statement*, const char*> statements[] = {
      {&begin_, "BEGIN IMMEDIATE"},
      {&commit_, "COMMIT"},
      {&rollback_, "ROLLBACK"},
      {&insert_, "INSERT OR IGNORE INTO posts (nonce, score, name, mode, posted_at) VALUES (?, ?, ?, ?, ?)"},
      {&prune_, kPrune},
      {&best_, "SELECT score, name, posted_at FROM posts WHERE mode = ? ORDER BY score DESC, id LIMIT ?"},
      {&count_, "SELECT count(*) FROM posts"},
      {&newest_, "SELECT coalesce(max(id), 0) FROM posts"},
  };
  for (const auto& [statement, sql] : statements) {
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v3(db_.get(), sql, -1, SQLITE_PREPARE_PERSISTENT, &prepared, nullptr) != SQLITE_OK) {
      error = sqlite3_errmsg(db_.get());
      return false;
    }
    statement->reset(prepared);
  }
  return true;
}

bool SqliteScoreStore::Finish(const Statement& statement, int result) const {
  sqlite3_reset(statement.get());
  sqlite3_clear_bindings(statement.get());
  if (result == SQLITE_DONE || result == SQLITE_ROW) return true;
  std::fprintf(stderr, "scores: %s\n", sqlite3_errmsg(db_.get()));
  return false;
}

bool SqliteScoreStore::Run(const Statement& statement) const {
  return Finish(statement, sqlite3_step(statement.get()));
}

std::optional<std::int64_t> SqliteScoreStore::QueryNumber(const Statement& statement) const {
  const int result = sqlite3_step(statement.get());
  const std::int64_t number = result == SQLITE_ROW ? sqlite3_column_int64(statement.get(), 0) : 0;
  if (!Finish(statement, result)) return std::nullopt;
  return number;
}

bool SqliteScoreStore::InTransaction(const std::function<bool()>& work) {
  if (!Run(begin_)) return false;
  if (work() && Run(commit_)) return true;
  Run(rollback_);
  return false;
}

bool SqliteScoreStore::PruneToLimits() {
  std::lock_guard lock(mutex_);
  const auto newest = QueryNumber(newest_);
  return newest && InTransaction([&] { return Prune(*newest); });
}

bool SqliteScoreStore::Prune(std::int64_t newestId) {
  const std::int64_t lastOld = newestId - limits_.RecentKept;
  if (lastOld <= 0) return true;  // nothing has left the recent history yet
  for (const char mode : kModes) {
    Bind(prune_.get(), ModeText(mode), lastOld, std::int64_t{limits_.BestKept - 1});
    if (!Run(prune_)) return false;
  }
  return true;
}

AddOutcome SqliteScoreStore::Add(const ScorePost& post, std::int64_t postedAt) {
  std::lock_guard lock(mutex_);
  bool inserted = false;
  const bool committed = InTransaction([&] {
    Bind(insert_.get(), std::int64_t{post.Nonce}, std::int64_t{post.Score}, post.Name, ModeText(post.Mode), postedAt);
    if (!Run(insert_)) return false;
    inserted = sqlite3_changes(db_.get()) == 1;
    return !inserted || Prune(sqlite3_last_insert_rowid(db_.get()));
  });
  if (!committed) return AddOutcome::Failed;
  return inserted ? AddOutcome::Stored : AddOutcome::Replay;
}

std::optional<std::vector<StoredScore>> SqliteScoreStore::Best(char mode, int n) const {
  std::lock_guard lock(mutex_);
  sqlite3_stmt* statement = best_.get();
  Bind(statement, ModeText(mode), std::int64_t{n});
  std::vector<StoredScore> best;
  int result = SQLITE_ROW;
  while ((result = sqlite3_step(statement)) == SQLITE_ROW)
    best.push_back({sqlite3_column_int(statement, 0), ColumnText(statement, 1), sqlite3_column_int64(statement, 2)});
  if (!Finish(best_, result)) return std::nullopt;
  return best;
}

std::optional<std::int64_t> SqliteScoreStore::CountPosts() const {
  std::lock_guard lock(mutex_);
  return QueryNumber(count_);
}
