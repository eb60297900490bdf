// The public table of the best scores, as a page for people and as JSON for programs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scores/score_store.h"

// How many of the best scores the page and the JSON show.
constexpr int kShownScores = 100;

// The text with &, <, >, " and ' written as character references, safe in an element and in a
// quoted attribute.
std::string HtmlEscape(std::string_view text);

// The page shows the scores in the order given, ranked from 1; it needs nothing from elsewhere.
std::string ScorePageHtml(const std::vector<StoredScore>& best);
std::string ScoreTableJson(const std::vector<StoredScore>& best);
