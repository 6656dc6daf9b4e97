// The board kept in one SQLite file (WAL, writers under BEGIN IMMEDIATE).
#pragma once

#include <memory>
#include <string>

#include "board/storage.h"

namespace mervox::board {

// Opens (creating if needed) the database file at `path`. nullptr with
// `error` set when it cannot be opened.
std::unique_ptr<Storage> OpenSqliteStorage(const std::string& path, std::string& error);

// True for a postgresql:// or postgres:// address.
bool IsPostgresUrl(const std::string& url);

}  // namespace mervox::board
