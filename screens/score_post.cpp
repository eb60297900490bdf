#include "screens/score_post.h"

#include <charconv>
#include <vector>

#include "presentation/text.h"

std::string PaddedPostName(const std::string& name) {
  return (name + std::string(kPostNameLength, ' ')).substr(0, kPostNameLength);
}

std::string ShownName(const std::string& name) {
  const std::size_t first = name.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

std::string UrlEncode(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char ch : text) {
    const auto code = static_cast<unsigned char>(ch);
    const bool plain = (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || (code >= '0' && code <= '9') ||
                       code == '-' || code == '.' || code == '_';
    if (code == ' ') encoded += "%20";
    else if (plain) encoded += ch;
    else {
      encoded += '%';
      encoded += kHex[code >> 4];
      encoded += kHex[code & 15];
    }
  }
  return encoded;
}

namespace {

// What each field carries before the nonce is added and the mask applied: the nonce's own field
// carries nothing, then the score, the twelve name characters and the mode.
std::array<int, kPostFields> PlainFields(const ScorePost& post) {
  std::array<int, kPostFields> plain{};
  plain[1] = post.Score;
  const std::string name = PaddedPostName(post.Name);
  for (int i = 0; i < kPostNameLength; ++i) plain[2 + i] = static_cast<unsigned char>(name[i]);
  plain[kPostFields - 1] = static_cast<unsigned char>(post.Mode);
  return plain;
}

std::optional<std::int64_t> DecimalField(const std::string& text) {
  // Ten digits already exceed every field a game can send; a longer text is refused unread.
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

std::optional<std::array<std::int64_t, kPostFields>> SplitFields(const std::string& query) {
  std::array<std::int64_t, kPostFields> fields{};
  std::size_t from = 0;
  for (int i = 0; i < kPostFields; ++i) {
    const std::size_t bar = query.find('|', from);
    const bool last = i == kPostFields - 1;
    if ((bar == std::string::npos) != last) return std::nullopt;
    const auto field = DecimalField(query.substr(from, last ? std::string::npos : bar - from));
    if (!field) return std::nullopt;
    fields[i] = *field;
    from = bar + 1;
  }
  return fields;
}

}  // namespace

std::string EncodeScorePost(const ScorePost& post) {
  const std::array<int, kPostFields> plain = PlainFields(post);
  std::string payload;
  for (int i = 0; i < kPostFields; ++i) {
    if (i > 0) payload += '|';
    payload += UrlEncode(std::to_string((post.Nonce + plain[i]) ^ kPostMasks[i]));
  }
  return payload;
}

std::optional<ScorePost> DecodeScorePost(const std::string& query) {
  const auto fields = SplitFields(query);
  if (!fields) return std::nullopt;
  std::array<std::int64_t, kPostFields> plain{};
  const std::int64_t nonce = (*fields)[0] ^ kPostMasks[0];
  for (int i = 0; i < kPostFields; ++i) plain[i] = ((*fields)[i] ^ kPostMasks[i]) - nonce;
  if (nonce < kNonceFirst || nonce >= kNonceEnd) return std::nullopt;
  if (plain[1] < 0 || plain[1] > kHighestPostedScore) return std::nullopt;
  const std::int64_t mode = plain[kPostFields - 1];
  if (mode != kNormalMode && mode != kDebugMode) return std::nullopt;
  ScorePost post{int(nonce), int(plain[1]), "", char(mode)};
  for (int i = 0; i < kPostNameLength; ++i) {
    const std::int64_t code = plain[2 + i];
    if (code < 0 || code > 255 || GlyphIndex(char(code), 0) < 0) return std::nullopt;
    post.Name += char(code);
  }
  return post;
}
