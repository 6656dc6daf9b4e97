// The statements both databases run as written. Values are always bound:
// $1, $2, ... are PostgreSQL's parameters and, to SQLite, named ones that
// the SQLite backend binds by name, so one text serves both.
#pragma once

namespace mervox::board::sql {

// Schema version 1, in the column types both accept. The submission id is
// the one column typed differently: the backends put their own in front.
inline constexpr const char* kMetaTable =
    "CREATE TABLE IF NOT EXISTS board_meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)";
inline constexpr const char* kReadVersion = "SELECT value FROM board_meta WHERE key = 'schema_version'";
inline constexpr const char* kWriteVersion =
    "INSERT INTO board_meta (key, value) VALUES ('schema_version', $1) "
    "ON CONFLICT (key) DO UPDATE SET value = excluded.value";

inline constexpr const char* kPlayerTable =
    "CREATE TABLE player ("
    " name_key TEXT PRIMARY KEY,"
    " name TEXT NOT NULL,"
    " token_hash TEXT NOT NULL,"
    " created_at BIGINT NOT NULL,"
    " best_id BIGINT,"
    " best_score BIGINT NOT NULL DEFAULT 0,"
    " best_frames INTEGER NOT NULL DEFAULT 0)";
inline constexpr const char* kPlayerRankIndex =
    "CREATE INDEX player_rank ON player (best_score DESC, best_frames, best_id) WHERE best_id IS NOT NULL";
// Follows "CREATE TABLE submission (id <the backend's key type>,".
inline constexpr const char* kSubmissionColumns =
    " name_key TEXT NOT NULL REFERENCES player (name_key),"
    " digest TEXT NOT NULL UNIQUE,"
    " recording TEXT NOT NULL,"
    " records INTEGER NOT NULL,"
    " address TEXT NOT NULL,"
    " state TEXT NOT NULL,"
    " attempts INTEGER NOT NULL DEFAULT 0,"
    " lease_owner TEXT,"
    " lease_until BIGINT,"
    " score BIGINT,"
    " level INTEGER,"
    " frames INTEGER,"
    " cleared INTEGER,"
    " reason TEXT NOT NULL DEFAULT '',"
    " sim_version TEXT NOT NULL DEFAULT '',"
    " copied_from TEXT NOT NULL DEFAULT '',"
    " shared_updates INTEGER NOT NULL DEFAULT 0,"
    " submitted_at BIGINT NOT NULL,"
    " verified_at BIGINT,"
    " prev_state TEXT,"
    " prev_score BIGINT)";
inline constexpr const char* kSubmissionQueueIndex = "CREATE INDEX submission_queue ON submission (state, id)";
inline constexpr const char* kSubmissionNameIndex =
    "CREATE INDEX submission_name ON submission (name_key, state, score DESC, frames, id)";
inline constexpr const char* kSubmissionLatestIndex =
    "CREATE INDEX submission_name_latest ON submission (name_key, id)";

// Submit: $1 name_key.
inline constexpr const char* kPlayerToken = "SELECT token_hash FROM player WHERE name_key = $1";
// $1 digest.
inline constexpr const char* kSubmissionByDigest = "SELECT id FROM submission WHERE digest = $1";
inline constexpr const char* kQueueDepth =
    "SELECT COUNT(*) FROM submission WHERE state IN ('pending', 'running')";
// $1 name_key, $2 name, $3 token_hash, $4 now.
inline constexpr const char* kInsertPlayer =
    "INSERT INTO player (name_key, name, token_hash, created_at) VALUES ($1, $2, $3, $4)";
// $1 name_key, $2 digest, $3 recording, $4 records, $5 address, $6 now.
inline constexpr const char* kInsertSubmission =
    "INSERT INTO submission (name_key, digest, recording, records, address, state, submitted_at) "
    "VALUES ($1, $2, $3, $4, $5, 'pending', $6) RETURNING id";

// Claim, first step: $1 now, $2 kMaxAttempts, $3 reason.
inline constexpr const char* kGiveUpJobs =
    "UPDATE submission SET state = 'failed', reason = $3, lease_owner = NULL, lease_until = NULL "
    "WHERE state = 'running' AND lease_until < $1 AND attempts >= $2";
// Claim: $1 owner, $2 now, $3 lease seconds. The backend appends its
// locking clause (PostgreSQL: FOR UPDATE SKIP LOCKED) and kClaimJobTail.
inline constexpr const char* kClaimJobHead =
    "UPDATE submission SET state = 'running', attempts = attempts + 1, lease_owner = $1, "
    "lease_until = CAST($2 AS BIGINT) + CAST($3 AS BIGINT) "
    "WHERE id = (SELECT id FROM submission "
    "WHERE state = 'pending' OR (state = 'running' AND lease_until < $2) ORDER BY id LIMIT 1";
inline constexpr const char* kClaimJobTail = ") RETURNING id, name_key, recording, attempts";
// $1 name_key.
inline constexpr const char* kPlayerName = "SELECT name FROM player WHERE name_key = $1";

// Finish: $1 id, $2 owner, $3 state, $4 score, $5 level, $6 frames,
// $7 cleared, $8 reason, $9 sim_version, $10 copied_from,
// $11 shared_updates, $12 now.
inline constexpr const char* kFinishJob =
    "UPDATE submission SET state = $3, score = $4, level = $5, frames = $6, cleared = $7, "
    "reason = $8, sim_version = $9, copied_from = $10, shared_updates = $11, verified_at = $12, "
    "lease_owner = NULL, lease_until = NULL "
    "WHERE id = $1 AND lease_owner = $2 AND state = 'running' AND lease_until >= $12 "
    "RETURNING name_key";
// Release: $1 id, $2 owner, $3 now.
inline constexpr const char* kReleaseJob =
    "UPDATE submission SET state = 'pending', attempts = attempts - 1, lease_owner = NULL, "
    "lease_until = NULL WHERE id = $1 AND lease_owner = $2 AND state = 'running' AND lease_until >= $3";
// $1 name_key.
inline constexpr const char* kBestOfName =
    "SELECT id, score, frames FROM submission "
    "WHERE name_key = $1 AND state = 'verified' AND copied_from = '' "
    "ORDER BY score DESC, frames, id LIMIT 1";
// Made with the schema: $1 the count.
inline constexpr const char* kInitRanked =
    "INSERT INTO board_meta (key, value) VALUES ('ranked', $1) ON CONFLICT (key) DO NOTHING";
// $1 names joining the board (negative: leaving it).
inline constexpr const char* kAddRanked =
    "UPDATE board_meta SET value = CAST(CAST(value AS BIGINT) + $1 AS TEXT) WHERE key = 'ranked'";
// $1 name_key: whether the name is on the board now (1 or 0).
inline constexpr const char* kIsRanked =
    "SELECT CASE WHEN best_id IS NULL THEN 0 ELSE 1 END FROM player WHERE name_key = $1";
// $1 name_key, $2 best_id (NULL: none), $3 best_score, $4 best_frames.
inline constexpr const char* kSetBest =
    "UPDATE player SET best_id = $2, best_score = $3, best_frames = $4 WHERE name_key = $1";

inline constexpr const char* kRequeueVerified =
    "UPDATE submission SET prev_state = state, prev_score = score, state = 'pending', attempts = 0 "
    "WHERE state = 'verified'";

// Reading. The row every page shows: s.id first.
#define MERVOX_BOARD_ROW                                                                     \
    "s.id, p.name, s.state, s.score, s.level, s.frames, s.cleared, s.reason, s.copied_from, " \
    "s.sim_version, s.submitted_at, s.verified_at, s.prev_state, s.prev_score"
inline constexpr const char* kSubmissionById =
    "SELECT " MERVOX_BOARD_ROW " FROM submission s JOIN player p ON p.name_key = s.name_key WHERE s.id = $1";
// The number of names on the board, kept in board_meta as 'ranked' (a
// count over the players would read every one of them on every page).
inline constexpr const char* kRankedCount = "SELECT CAST(value AS BIGINT) FROM board_meta WHERE key = 'ranked'";
// $1 name_key.
inline constexpr const char* kPlayerBest =
    "SELECT name, best_id, best_score, best_frames FROM player WHERE name_key = $1";
// Names ahead of ($1 score, $2 frames, $3 id).
// Three ranges of the rank index, each counted without reading the rest.
inline constexpr const char* kNamesAhead =
    "SELECT (SELECT COUNT(*) FROM player WHERE best_id IS NOT NULL AND best_score > $1) + "
    "(SELECT COUNT(*) FROM player WHERE best_id IS NOT NULL AND best_score = $1 AND best_frames < $2) + "
    "(SELECT COUNT(*) FROM player WHERE best_id IS NOT NULL AND best_score = $1 AND best_frames = $2 "
    "AND best_id < $3)";
// $1 limit, $2 offset.
// The page is cut from the players' index alone; only its rows are joined.
inline constexpr const char* kScores =
    "SELECT " MERVOX_BOARD_ROW " FROM (SELECT best_id, best_score, best_frames FROM player "
    "WHERE best_id IS NOT NULL ORDER BY best_score DESC, best_frames, best_id LIMIT $1 OFFSET $2) b "
    "JOIN submission s ON s.id = b.best_id JOIN player p ON p.name_key = s.name_key "
    "ORDER BY b.best_score DESC, b.best_frames, b.best_id";
// $1 name_key, $2 limit.
inline constexpr const char* kRoundsOfName =
    "SELECT " MERVOX_BOARD_ROW " FROM submission s JOIN player p ON p.name_key = s.name_key "
    "WHERE s.name_key = $1 ORDER BY s.id DESC LIMIT $2";
// $1 limit.
inline constexpr const char* kLatest =
    "SELECT " MERVOX_BOARD_ROW " FROM submission s JOIN player p ON p.name_key = s.name_key "
    "ORDER BY s.id DESC LIMIT $1";
#undef MERVOX_BOARD_ROW
// $1 id.
inline constexpr const char* kVerifiedRecording =
    "SELECT recording FROM submission WHERE id = $1 AND state = 'verified'";
// $1 limit.
inline constexpr const char* kTopRecordings =
    "SELECT s.id, p.name, p.name_key, s.recording FROM player p JOIN submission s ON s.id = p.best_id "
    "WHERE p.best_id IS NOT NULL ORDER BY p.best_score DESC, p.best_frames, p.best_id LIMIT $1";

}  // namespace mervox::board::sql
