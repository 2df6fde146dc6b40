// Threads registering, looking up and opening data sources at the same time:
// the installer's process-wide mode must not mix their ini files up.
#include "db_test_env.h"

#include "datasource_files.h"
#include "qr_odbc.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(DataSourceThreads, ConcurrentRegistrationsAndLookupsAllLand)
{
    const std::string folder = DbTestEnvironment::get().program_folder();
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int n = 0; n < 8; ++n) {
                const std::string dsn = "TrvThread" + std::to_string(t) + "_" + std::to_string(n) + "SrvData";
                const std::string file = folder + "/" + dsn + ".db";
                if (register_odbc_dsn(file, dsn) != 1) ++wrong;
                if (!dsn_exists(dsn) || get_dsn_file(dsn) != file) ++wrong;
                MSSQLODBCConnection c(dsn, dsn, "", "");
                c.connect();
                c.query("CREATE TABLE x (id INTEGER)");
                c.get_stmnt_results("INSERT INTO x (id) VALUES (?)", {int32_t(n)});
                if (c.query("SELECT id FROM x").Column("id").GetLong(0) != n) ++wrong;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(wrong.load(), 0);
    std::vector<std::string> found;
    find_data_sources(found, "TrvThread");
    EXPECT_EQ(found.size(), 32u);
}

}  // namespace
