// Where the score server keeps its posts. The server sees only this interface, so that another
// database can take SQLite's place without touching the routes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "screens/score_post.h"

struct StoredScore {
  int Score = 0;
  std::string Name;  // as posted: twelve characters, padded with spaces
  std::int64_t PostedAt = 0;  // seconds since 1970, UTC

  bool operator==(const StoredScore&) const = default;
};

enum class AddOutcome { Stored, Replay, Failed };

// The store never grows without bound: it keeps the best scores of each mode and the most
// recent posts, and forgets every other post as new ones arrive.
struct StoreLimits {
  int BestKept = 1000;
  int RecentKept = 10000;
};

class ScoreStore {
 public:
  virtual ~ScoreStore() = default;
  // A post already stored (the same nonce, score, name and mode) is a replay and is not stored again.
  virtual AddOutcome Add(const ScorePost& post, std::int64_t postedAt) = 0;
  // The best n posts of one mode (kNormalMode or kDebugMode), highest score first, earlier post
  // first among equal scores; nothing when the store cannot be read.
  virtual std::optional<std::vector<StoredScore>> Best(char mode, int n) const = 0;
  // How many posts are kept, or nothing when the store cannot be read.
  virtual std::optional<std::int64_t> CountPosts() const = 0;
};
