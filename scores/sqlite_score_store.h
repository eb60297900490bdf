// The score store in one SQLite file. One connection serves every thread, one statement at a
// time: a post and a read of the table each take well under a millisecond.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "scores/score_store.h"

struct sqlite3;
struct sqlite3_stmt;

class SqliteScoreStore : public ScoreStore {
 public:
  // Opens or creates the database file and forgets what the limits no longer keep. Nothing, with
  // the reason in error, when the file cannot be used.
  static std::unique_ptr<SqliteScoreStore> Open(const std::string& path, StoreLimits limits, std::string& error);
  ~SqliteScoreStore() override;

  AddOutcome Add(const ScorePost& post, std::int64_t postedAt) override;
  std::optional<std::vector<StoredScore>> Best(char mode, int n) const override;
  std::optional<std::int64_t> CountPosts() const override;

 private:
  struct DatabaseCloser {
    void operator()(sqlite3* db) const;
  };
  struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const;
  };
  using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

  SqliteScoreStore(sqlite3* db, StoreLimits limits);
  bool Prepare(std::string& error);
  bool PruneToLimits();
  // Each of these takes a prepared statement back to its start, whatever happened, and logs a failure.
  bool Run(const Statement& statement) const;
  std::optional<std::int64_t> QueryNumber(const Statement& statement) const;
  bool Finish(const Statement& statement, int result) const;
  // Commits when work succeeds, else rolls back.
  bool InTransaction(const std::function<bool()>& work);
  bool Prune(std::int64_t newestId);

  // Declared before the statements, so that they are finalised before the database closes.
  std::unique_ptr<sqlite3, DatabaseCloser> db_;
  const StoreLimits limits_;
  mutable std::mutex mutex_;
  Statement begin_, commit_, rollback_, insert_, prune_, best_, count_, newest_;
};
