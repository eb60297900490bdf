// The wire form of one online high-score post, shared by the game that sends it and the
// score server that reads it. The score and name travel scrambled with a nonce and fixed masks,
// so neither reads as plain text in a server log.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

constexpr int kPostFields = 15;
constexpr int kPostNameLength = 12;
// The nonce is drawn from kNonceFirst up to, not including, kNonceEnd.
constexpr int kNonceFirst = 111111;
constexpr int kNonceEnd = 999999;
constexpr int kHighestPostedScore = 16777215;
constexpr char kPostPath[] = "/mibbets/hiscore.php?q=";
constexpr char kNormalMode = 'E';
constexpr char kDebugMode = 'X';

// One mask a field; the game and the server must agree on every value.
constexpr std::array<std::uint8_t, kPostFields> kPostMasks = {0x5A, 0xC3, 0x17, 0x8E, 0x61, 0xB4, 0x2D, 0xF0,
                                                              0x49, 0x9B, 0x36, 0xE7, 0x72, 0xAD, 0x1F};

struct ScorePost {
  int Nonce = kNonceFirst;
  int Score = 0;
  std::string Name;  // always kPostNameLength characters once padded
  char Mode = kNormalMode;

  bool operator==(const ScorePost&) const = default;
};

// The name followed by spaces, cut to kPostNameLength characters.
std::string PaddedPostName(const std::string& name);
// A stored or posted name as tables show it: without the spaces around it.
std::string ShownName(const std::string& name);

// Percent-encoding of one query value: letters, digits, "-", "." and "_" stay, a space is %20,
// every other byte %XX in upper-case hexadecimal.
std::string UrlEncode(const std::string& text);

// The query value: the fifteen scrambled fields, each URL-encoded, joined by "|".
std::string EncodeScorePost(const ScorePost& post);

// The post a query value carries, or nothing unless it is whole: exactly fifteen decimal
// fields, a nonce in its range, a score from 0 to kHighestPostedScore, twelve characters of the
// game's font and a known mode.
std::optional<ScorePost> DecodeScorePost(const std::string& query);
