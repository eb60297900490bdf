#include "scores/score_page.h"

#include <ctime>
#include <nlohmann/json.hpp>

#include "screens/score_post.h"

namespace {

// Dark, in the game's gold, in the browser's own monospace font: the page loads nothing else.
constexpr char kPageHead[] = R"html(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Mibbetfall high scores</title>
<style>
body { margin: 0; background: #111014; color: #d9d4c5; font-family: "DejaVu Sans Mono", "Liberation Mono", monospace; }
main { max-width: 42rem; margin: 0 auto; padding: 2.5rem 1rem; }
h1 { color: #e8b830; text-align: center; letter-spacing: 0.2em; font-size: 1.7rem; margin: 0 0 2rem;
     text-shadow: 0 0 14px rgba(232, 184, 48, 0.35); }
table { width: 100%; border-collapse: collapse; font-size: 1.05rem; }
th { color: #e8b830; font-weight: normal; text-align: left; padding: 0.45rem 0.8rem; border-bottom: 2px solid #6b5416; }
td { padding: 0.35rem 0.8rem; border-bottom: 1px solid #1f1d24; }
tbody tr:nth-child(odd) { background: #17161c; }
tbody tr:first-child td { color: #e8b830; }
.number { text-align: right; font-variant-numeric: tabular-nums; }
.empty { text-align: center; color: #7d786c; padding: 2rem; }
</style>
</head>
<body>
<main>
<h1>MIBBETFALL HIGH SCORES</h1>
<table>
<thead><tr><th class="number">Rank</th><th class="number">Score</th><th>Name</th><th>Date</th></tr></thead>
<tbody>
)html";

constexpr char kPageFoot[] = R"html(</tbody>
</table>
</main>
</body>
</html>
)html";

constexpr char kNoScoresRow[] = "<tr><td class=\"empty\" colspan=\"4\">No scores yet</td></tr>\n";

std::string PostedDate(std::int64_t postedAt) {
  const auto time = static_cast<std::time_t>(postedAt);
  std::tm utc{};
  char date[32] = "";
  if (gmtime_r(&time, &utc)) std::strftime(date, sizeof date, "%Y-%m-%d", &utc);
  return date;
}

std::string Cell(const std::string& value, const char* cellClass = nullptr) {
  const std::string opening = cellClass ? std::string("<td class=\"") + cellClass + "\">" : "<td>";
  return opening + HtmlEscape(value) + "</td>";
}

}  // namespace

std::string HtmlEscape(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char ch : text) {
    switch (ch) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      default:
        escaped += ch;
    }
  }
  return escaped;
}

std::string ScorePageHtml(const std::vector<StoredScore>& best) {
  std::string page = kPageHead;
  for (std::size_t i = 0; i < best.size(); ++i) {
    page += "<tr>" + Cell(std::to_string(i + 1), "number") + Cell(std::to_string(best[i].Score), "number") +
            Cell(ShownName(best[i].Name)) + Cell(PostedDate(best[i].PostedAt)) + "</tr>\n";
  }
  if (best.empty()) page += kNoScoresRow;
  return page + kPageFoot;
}

std::string ScoreTableJson(const std::vector<StoredScore>& best) {
  nlohmann::json scores = nlohmann::json::array();
  for (std::size_t i = 0; i < best.size(); ++i) {
    scores.push_back({{"rank", i + 1},
                      {"score", best[i].Score},
                      {"name", ShownName(best[i].Name)},
                      {"date", PostedDate(best[i].PostedAt)}});
  }
  // Names are the font's characters only, but a damaged database must not end the request.
  return nlohmann::json{{"scores", scores}}.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
