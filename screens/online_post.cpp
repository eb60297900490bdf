// The online post of a new high score. The wire form is shared with the server
// (screens/score_post.h); here the game fills it in and sends it.
#include <algorithm>

#include "app/main_window.h"
#include "screens/score_post.h"

bool TForm1::HighScoreServerConfigured() const { return !HISCORESERVER.empty(); }

void TForm1::PostHighScore() {
  if (!HighScoreServerConfigured()) return;
  const ScorePost post{Rng.RandomRange(kNonceFirst, kNonceEnd), std::min(Score, kHighestPostedScore),
                       PaddedPostName(EnteredName), DEBUG != 0 ? kDebugMode : kNormalMode};
  // A replay draws the nonce as the played game did, so that the rest of the run draws the same
  // numbers, but it never posts.
  if (Replaying) return;
  HttpGet("http://" + HISCORESERVER + kPostPath + EncodeScorePost(post));
}

// The server's answer carries nothing for the game, and a failure is never the player's concern:
// the local table is saved whatever happens here.
std::string TForm1::HttpGet(const std::string& url) { return Ports.Http.Get(url); }
