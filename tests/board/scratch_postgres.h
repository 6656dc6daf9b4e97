#pragma once
// A throwaway PostgreSQL cluster for the board's tests (scripts/pg_scratch.sh):
// a unix socket in a scratch folder, no TCP port, removed when the test
// program ends. Under ctest one cluster serves the whole run (the
// board_pg_start and board_pg_stop fixtures set MERVOX_TEST_PG_URL); a test
// program run by hand starts its own the first time one is asked for.
// Every test takes a database of its own, so tests running side by side
// never see each other's rows.

#include <string>

namespace mervox_test {

// The URL of a new, empty database in the scratch cluster, or "" when no
// cluster could be had (why: ScratchPostgresError()).
std::string FreshPostgresDatabase();
std::string ScratchPostgresError();

}  // namespace mervox_test
