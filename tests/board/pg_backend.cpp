// The board's suites run on PostgreSQL as well as SQLite: each test gets a
// database of its own in the run's scratch cluster.
#ifdef MERVOX_BOARD_POSTGRES
#include <gtest/gtest.h>

#include "board_test_support.h"
#include "scratch_postgres.h"

namespace mervox::board::test {
namespace {

RegisterTestBackend postgresBackend("postgres", [] {
    std::string url = mervox_test::FreshPostgresDatabase();
    if (url.empty()) ADD_FAILURE() << "no PostgreSQL for the test: " << mervox_test::ScratchPostgresError();
    return url;
});

}  // namespace
}  // namespace mervox::board::test
#endif  // MERVOX_BOARD_POSTGRES
