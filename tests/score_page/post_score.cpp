// mibbetfall-post-score SCORE NAME URL: posts one score the way the game does, through the game's
// own HTTP client, to the score server at URL (for example http://127.0.0.1:8787), and prints
// the server's reply. Exit code 1 when the server refused the post or could not be reached.
#include <charconv>
#include <cstdio>
#include <random>
#include <string>

#include "platform/curl/curl_http_client.h"
#include "screens/score_post.h"

int main(int argc, char** argv) {
  int score = -1;
  const std::string scoreText = argc == 4 ? argv[1] : "";
  const auto [end, error] = std::from_chars(scoreText.data(), scoreText.data() + scoreText.size(), score);
  if (error != std::errc() || end != scoreText.data() + scoreText.size() || score < 0 || score > kHighestPostedScore) {
    std::fputs("usage: mibbetfall-post-score SCORE NAME URL\n", stderr);
    return 2;
  }
  std::random_device entropy;
  const int nonce = std::uniform_int_distribution<int>(kNonceFirst, kNonceEnd - 1)(entropy);
  const ScorePost post{nonce, score, PaddedPostName(argv[2]), kNormalMode};
  const std::string reply = CurlHttpClient().Get(argv[3] + std::string(kPostPath) + EncodeScorePost(post));
  std::fputs(reply.c_str(), stdout);
  return reply.empty() ? 1 : 0;
}
