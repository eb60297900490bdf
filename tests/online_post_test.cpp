// The online post: its wire form, and what the game sends when a player answers Y.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "screens/high_score_table.h"
#include "screens/score_post.h"
#include "tests/test_support.h"

namespace {

constexpr char kDefaultPostUrl[] = "http://127.0.0.1:8787/mibbets/hiscore.php?q=";

TEST(ScorePost, PayloadIsFifteenNumbersJoinedByBarsAndReadsBack) {
  const ScorePost post{123456, 2600, PaddedPostName("ACE"), kNormalMode};
  const std::string payload = EncodeScorePost(post);
  EXPECT_EQ(std::count(payload.begin(), payload.end(), '|'), 14);
  EXPECT_TRUE(std::all_of(payload.begin(), payload.end(), [](char c) { return c == '|' || std::isdigit(c); }));
  EXPECT_EQ(payload.front() != '|' && payload.back() != '|', true);
  EXPECT_EQ(PaddedPostName("ACE"), "ACE         ");
  EXPECT_EQ(PaddedPostName("ABCDEFGHIJKLMN"), "ABCDEFGHIJKL");
  const auto back = DecodeScorePost(payload);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, post);
  EXPECT_EQ(back->Name.substr(3), std::string(9, ' ')) << "the last nine characters are spaces";
  EXPECT_NE(payload, EncodeScorePost({123457, 2600, PaddedPostName("ACE"), kNormalMode}));
}

TEST(ScorePost, UrlEncodeKeepsOnlyTheUnreservedCharacters) {
  const std::pair<std::string, std::string> cases[] = {{"a b", "a%20b"}, {"x/y", "x%2Fy"}, {"A-Z_0.9", "A-Z_0.9"},
                                                       {"", ""},         {"|", "%7C"},     {"\xff", "%FF"}};
  for (const auto& [text, encoded] : cases) EXPECT_EQ(UrlEncode(text), encoded) << text;
}

TEST(ScorePost, DecodingRefusesAnythingButAWholePost) {
  const auto withField = [](int index, std::int64_t value) {
    std::string payload = EncodeScorePost({500000, 10, PaddedPostName("BOB"), kNormalMode});
    std::size_t from = 0;
    for (int i = 0; i < index; ++i) from = payload.find('|', from) + 1;
    const std::size_t to = payload.find('|', from);
    return payload.replace(from, to == std::string::npos ? std::string::npos : to - from, std::to_string(value));
  };
  const auto scrambled = [](int index, std::int64_t plain) { return (500000 + plain) ^ kPostMasks[index]; };
  const std::string whole = EncodeScorePost({500000, 10, PaddedPostName("BOB"), kNormalMode});
  const std::pair<const char*, std::string> cases[] = {
      {"fourteen fields", whole.substr(0, whole.rfind('|'))},
      {"sixteen fields", whole + "|1"},
      {"an empty field", whole + "|"},
      {"a sign", withField(3, -5)},
      {"not a number", whole.substr(0, whole.size() - 1) + "x"},
      {"eleven digits", withField(4, 12345678901)},
      {"a nonce too small", EncodeScorePost({111110, 10, PaddedPostName("BOB"), kNormalMode})},
      {"a nonce too large", EncodeScorePost({999999, 10, PaddedPostName("BOB"), kNormalMode})},
      {"a negative score", withField(1, scrambled(1, -1))},
      {"a score beyond 24 bits", withField(1, scrambled(1, kHighestPostedScore + 1))},
      {"a lower-case letter", withField(2, scrambled(2, 'a'))},
      {"a character beyond a byte", withField(2, scrambled(2, 'A' + 256))},
      {"an unknown mode", withField(14, scrambled(14, 'Q'))},
      {"a mode beyond a byte", withField(14, scrambled(14, 'E' + 256))},
      {"empty", ""},
  };
  ASSERT_TRUE(DecodeScorePost(whole).has_value());
  for (const auto& [label, payload] : cases) EXPECT_FALSE(DecodeScorePost(payload).has_value()) << label;
}

// The post the game sent, read back with the server's own decoder.
ScorePost SentPost(const std::string& url) {
  EXPECT_EQ(url.rfind(kDefaultPostUrl, 0), 0u) << url;
  const auto post = DecodeScorePost(url.substr(std::string(kDefaultPostUrl).size()));
  EXPECT_TRUE(post.has_value()) << url;
  return post.value_or(ScorePost{});
}

TEST(OnlinePost, AYesSendsTheScrambledScoreAndNameAndTheTableIsSavedAsWell) {
  for (const int debug : {0, 1}) {
    GameFixture f("DEBUG=" + std::to_string(debug) + "\n");
    ReachHighScores(f, 2600);
    Type(f, "ace\ry");
    ASSERT_EQ(f.Sim->Http().Urls.size(), 1u);
    const ScorePost sent = SentPost(f.Sim->Http().Urls[0]);
    EXPECT_EQ(sent.Score, 2600);
    EXPECT_EQ(sent.Name, "ACE         ");
    EXPECT_EQ(sent.Mode, debug ? kDebugMode : kNormalMode);
    EXPECT_EQ(f.Game().NameEntryState, 3);
    EXPECT_EQ(f.Game().HighScoreLines[5], HighScoreLine(2600, "ACE"));
  }
}

TEST(OnlinePost, TwoPostsOfTheSameEntryDiffer) {
  GameFixture f;
  ReachHighScores(f, 2600);
  Type(f, "ace\r");
  f.Game().PostHighScore();
  f.Game().PostHighScore();
  ASSERT_EQ(f.Sim->Http().Urls.size(), 2u);
  EXPECT_NE(f.Sim->Http().Urls[0], f.Sim->Http().Urls[1]) << "each post draws its own nonce";
  const ScorePost first = SentPost(f.Sim->Http().Urls[0]), second = SentPost(f.Sim->Http().Urls[1]);
  EXPECT_EQ(std::tie(first.Score, first.Name), std::tie(second.Score, second.Name));
}

TEST(OnlinePost, AnyOtherAnswerSendsNothing) {
  GameFixture f;
  ReachHighScores(f, 2600);
  Type(f, "ace\rn");
  EXPECT_TRUE(f.Sim->Http().Urls.empty());
  EXPECT_EQ(f.Game().HighScoreLines[5], HighScoreLine(2600, "ACE"));
}

TEST(OnlinePost, WithoutAServerTheQuestionIsSkippedAndTheTableShownAtOnce) {
  GameFixture f("HISCORESERVER=\n");
  EXPECT_FALSE(f.Game().HighScoreServerConfigured());
  ReachHighScores(f, 2600);
  Type(f, "ace\r");
  EXPECT_EQ(f.Game().NameEntryState, 3);
  EXPECT_EQ(f.Game().HighScoreLines[5], HighScoreLine(2600, "ACE"));
  Type(f, "y");
  EXPECT_TRUE(f.Sim->Http().Urls.empty());
}

TEST(OnlinePost, TheServerAddressComesFromTheSettings) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "127.0.0.1:8787"}, {"HISCORESERVER=scores.example:9000\n", "scores.example:9000"}, {"HISCORESERVER=\n", ""}};
  for (const auto& [text, address] : cases) {
    TestAssetDir dir(text);
    EXPECT_EQ(ReadSettings(dir.Path() + "settings.ini").HISCORESERVER, address) << text;
  }
}

}  // namespace

namespace {

TEST(OnlinePost, AReplayNeitherPostsNorWritesTheTable) {
  GameFixture f;
  f.Game().Replaying = true;
  const auto fileBefore = std::filesystem::last_write_time(f.Assets.Path() + "hs.bmp");
  ReachHighScores(f, 2600);
  Type(f, "ace\ry");
  EXPECT_TRUE(f.Sim->Http().Urls.empty());
  EXPECT_EQ(f.Game().HighScoreLines[5], HighScoreLine(2600, "ACE")) << "the table in memory has the entry";
  EXPECT_EQ(std::filesystem::last_write_time(f.Assets.Path() + "hs.bmp"), fileBefore);

  // The played game drew a nonce for its post; the replay must draw it too, or every random number
  // after the post would differ from the recorded game's.
  GameFixture played;
  ReachHighScores(played, 2600);
  Type(played, "ace\ry");
  ASSERT_EQ(played.Sim->Http().Urls.size(), 1u);
  EXPECT_EQ(f.Game().Rng.Random(1 << 30), played.Game().Rng.Random(1 << 30));
}

}  // namespace
