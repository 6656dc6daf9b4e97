// The board kept in PostgreSQL, for a board on several machines: any number
// of `serve` and `verify` processes share one database. The queue is the
// submission table; workers claim with FOR UPDATE SKIP LOCKED and a lease,
// and every new job is announced on a notification channel so that idle
// workers wake at once.
#pragma once

#include <memory>
#include <string>

#include "board/storage.h"

namespace mervox::board {

// The channel a new or released job is announced on.
inline constexpr const char* kJobsChannel = "mervox_board_jobs";

// Connects to `url` (postgresql://...). nullptr with `error` set when the
// server cannot be reached. Does not migrate.
std::unique_ptr<Storage> OpenPgStorage(const std::string& url, std::string& error);

}  // namespace mervox::board
