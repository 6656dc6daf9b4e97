#include "board/sqlite_storage.h"

namespace mervox::board {

std::unique_ptr<Storage> OpenSqliteStorage(const std::string& path, std::string& error) {
    error = "cannot open " + path + ": not built yet";
    return nullptr;
}

}  // namespace mervox::board
