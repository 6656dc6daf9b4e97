#include "board/views.h"

#include <ctime>

namespace mervox::board {

using nlohmann::json;

std::string HtmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string IsoTime(int64_t unixSeconds) {
    const std::time_t t = static_cast<std::time_t>(unixSeconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

std::string TimePlayed(int frames) {
    const int seconds = frames / 60;
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
    return text;
}

namespace {

bool Finished(const SubmissionRow& r) { return r.state == JobState::Verified; }

json OrNull(bool present, int64_t value) { return present ? json(value) : json(nullptr); }

// The row's name as a link to its page: names are [A-Za-z0-9_-] only, but
// escaped all the same.
std::string NameLink(const std::string& name) {
    const std::string n = HtmlEscape(name);
    return "<a href=\"/players/" + n + "\">" + n + "</a>";
}

std::string Head(const std::string& title) {
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
           "<title>" +
           HtmlEscape(title) +
           "</title><link rel=\"stylesheet\" href=\"/style.css\"></head><body>"
           "<header><a class=\"home\" href=\"/\">mervox board</a> "
           "<nav><a href=\"/\">Board</a> <a href=\"/submissions\">Latest</a></nav></header><main>";
}

const char* kFoot = "</main></body></html>\n";

std::string StateCell(const SubmissionRow& r) {
    std::string s = "<span class=\"state " + std::string(JobStateName(r.state)) + "\">" + JobStateName(r.state) +
                    "</span>";
    if (!r.reason.empty()) s += " <span class=\"reason\">" + HtmlEscape(r.reason) + "</span>";
    if (!r.copiedFrom.empty())
        s += " <span class=\"copied\">opening copied from " + HtmlEscape(r.copiedFrom) + "</span>";
    if (r.changed)
        s += " <span class=\"changed\">was " + std::to_string(r.previousScore) + " before re-verification</span>";
    return s;
}

std::string RecordingCell(const SubmissionRow& r) {
    if (!Finished(r)) return "";
    const std::string file = "round-" + std::to_string(r.id) + ".dat";
    return "<a href=\"/recordings/" + std::to_string(r.id) + ".dat\" download=\"" + file + "\">" + file +
           "</a><br><code>mervox --watch " + file + "</code>";
}

std::string Number(int64_t n) { return std::to_string(n); }

}  // namespace

json SubmissionJson(const SubmissionRow& row, int64_t rank, int64_t total) {
    const bool done = Finished(row);
    json j = {{"id", row.id},
              {"name", row.name},
              {"state", JobStateName(row.state)},
              {"score", OrNull(done, row.score)},
              {"level", OrNull(done, row.level)},
              {"frames", OrNull(done, row.frames)},
              {"cleared", OrNull(done, row.cleared)},
              {"reason", row.reason},
              {"copied_from", row.copiedFrom},
              {"sim_version", row.simVersion},
              {"submitted_at", IsoTime(row.submittedAt)}};
    if (done && rank > 0) {
        j["rank"] = rank;
        j["total"] = total;
    }
    if (row.changed) j["previous_score"] = row.previousScore;
    return j;
}

json ScoreEntryJson(const ScoreEntry& e) {
    const SubmissionRow& r = e.round;
    return json{{"rank", e.rank},       {"name", r.name},   {"score", r.score},
                {"level", r.level},     {"frames", r.frames}, {"cleared", r.cleared},
                {"id", r.id},           {"submitted_at", IsoTime(r.submittedAt)}};
}

json ScoresJson(const ScorePage& page) {
    json scores = json::array();
    for (const ScoreEntry& e : page.scores) scores.push_back(ScoreEntryJson(e));
    return json{{"total", page.total}, {"scores", scores}};
}

json PlayerJson(const PlayerPage& page) {
    json rounds = json::array();
    for (const SubmissionRow& r : page.rounds) rounds.push_back(SubmissionJson(r, 0, 0));
    json j = {{"name", page.name}, {"total", page.total}, {"rounds", rounds}};
    j["rank"] = page.rank > 0 ? json(page.rank) : json(nullptr);
    j["best"] = page.best && page.rank > 0 ? ScoreEntryJson(ScoreEntry{page.rank, *page.best}) : json(nullptr);
    return j;
}

std::string BoardPage(const ScorePage& page, int limit, int offset) {
    std::string h = Head("mervox board");
    h += "<h1>Best rounds</h1><p>Every round here was played again by the board from its recording; "
         "each name's best round counts.</p>";
    if (page.scores.empty()) {
        h += "<p>No verified rounds yet.</p>";
    } else {
        h += "<div class=\"scroll\"><table><thead><tr><th>Rank</th><th>Name</th><th>Score</th><th>Level</th>"
             "<th>Time</th><th>When</th></tr></thead><tbody>";
        for (const ScoreEntry& e : page.scores) {
            const SubmissionRow& r = e.round;
            h += "<tr><td>" + Number(e.rank) + "</td><td>" + NameLink(r.name) + "</td><td class=\"n\">" +
                 Number(r.score) + "</td><td class=\"n\">" + Number(r.level) + "</td><td class=\"n\">" +
                 TimePlayed(r.frames) + "</td><td><time>" + IsoTime(r.submittedAt) + "</time></td></tr>";
        }
        h += "</tbody></table></div>";
    }
    h += "<p class=\"pages\">";
    if (offset > 0)
        h += "<a href=\"/?offset=" + Number(std::max(0, offset - limit)) + "&amp;limit=" + Number(limit) +
             "\">Higher</a> ";
    if (offset + limit < page.total)
        h += "<a href=\"/?offset=" + Number(offset + limit) + "&amp;limit=" + Number(limit) + "\">Lower</a>";
    h += " " + Number(page.total) + " names on the board.</p>";
    return h + kFoot;
}

namespace {

std::string RoundsTable(const std::vector<SubmissionRow>& rows, bool withName) {
    std::string h = "<div class=\"scroll\"><table><thead><tr><th>Round</th>";
    if (withName) h += "<th>Name</th>";
    h += "<th>State</th><th>Score</th><th>Level</th><th>Time</th><th>When</th><th>Recording</th></tr></thead><tbody>";
    for (const SubmissionRow& r : rows) {
        const bool done = Finished(r);
        h += "<tr><td>" + Number(r.id) + "</td>";
        if (withName) h += "<td>" + NameLink(r.name) + "</td>";
        h += "<td>" + StateCell(r) + "</td><td class=\"n\">" + (done ? Number(r.score) : "") +
             "</td><td class=\"n\">" + (done ? Number(r.level) : "") + "</td><td class=\"n\">" +
             (done ? TimePlayed(r.frames) : "") + "</td><td><time>" + IsoTime(r.submittedAt) + "</time></td><td>" +
             RecordingCell(r) + "</td></tr>";
    }
    return h + "</tbody></table></div>";
}

}  // namespace

std::string PlayerHtml(const PlayerPage& page) {
    std::string h = Head(page.name + " on the mervox board");
    h += "<h1>" + HtmlEscape(page.name) + "</h1>";
    if (page.rank > 0 && page.best)
        h += "<p>Rank " + Number(page.rank) + " of " + Number(page.total) + " with " + Number(page.best->score) +
             " points (level " + Number(page.best->level) + ", " + TimePlayed(page.best->frames) + ").</p>";
    else
        h += "<p>Not on the board yet.</p>";
    h += "<h2>Latest rounds</h2>" + RoundsTable(page.rounds, false);
    h += "<p>To watch a round, download its recording and run <code>mervox --watch FILE</code>.</p>";
    return h + kFoot;
}

std::string LatestPage(const std::vector<SubmissionRow>& rows) {
    std::string h = Head("Latest submissions on the mervox board");
    h += "<h1>Latest submissions</h1>" + RoundsTable(rows, true);
    return h + kFoot;
}

std::string NotFoundPage(const std::string& what) {
    return Head("Not found") + "<h1>Not found</h1><p>" + HtmlEscape(what) + "</p>" + kFoot;
}

const char* StyleSheet() {
    return "body{font-family:sans-serif;margin:0;color:#222;background:#fafafa}"
           "header{background:#234;color:#fff;padding:.5em 1em}header a{color:#fff;margin-right:1em}"
           ".home{font-weight:bold}main{padding:0 1em 2em;max-width:60em}"
           "table{border-collapse:collapse;width:100%}th,td{padding:.3em .5em;text-align:left;"
           "border-bottom:1px solid #ddd;vertical-align:top}td.n{text-align:right}"
           ".state.verified{color:#070}.state.rejected,.state.failed{color:#a00}"
           ".reason,.copied,.changed{display:block;font-size:.9em}code{font-size:.85em;word-break:break-all}"
           ".scroll{overflow-x:auto}"
           "@media (max-width:40em){main{padding:0 .4em}th,td{padding:.25em .3em}body{font-size:15px}}\n";
}

}  // namespace mervox::board
