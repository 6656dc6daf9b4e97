// What the board answers: the JSON shapes of the API and the HTML pages,
// made from what the storage read. Every name and reason is escaped.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "board/storage.h"

namespace mervox::board {

// Text made safe inside HTML elements and quoted attributes.
std::string HtmlEscape(const std::string& text);
// "2026-12-10T07:00:00Z".
std::string IsoTime(int64_t unixSeconds);
// Updates as minutes and seconds of play: 5462 -> "1:31".
std::string TimePlayed(int frames);

// GET /api/v1/submissions/ID; rank and total are those of the name's best
// round (shown for a verified round only).
nlohmann::json SubmissionJson(const SubmissionRow& row, int64_t rank, int64_t total);
// One entry of /api/v1/scores.
nlohmann::json ScoreEntryJson(const ScoreEntry& e);
nlohmann::json ScoresJson(const ScorePage& page);
nlohmann::json PlayerJson(const PlayerPage& page);

// The pages. `offset`/`limit` place the board's page links.
std::string BoardPage(const ScorePage& page, int limit, int offset);
std::string PlayerHtml(const PlayerPage& page);
std::string LatestPage(const std::vector<SubmissionRow>& rows);
std::string NotFoundPage(const std::string& what);

// The style sheet the pages link (served at /style.css).
const char* StyleSheet();

}  // namespace mervox::board
