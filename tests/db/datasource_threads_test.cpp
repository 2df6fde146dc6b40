// Threads registering, looking up and opening data sources at the same time:
// the installer's process-wide mode must not mix their ini files up; logins
// of a client type not seen before arriving together all get its database.
#include "db_test_env.h"

#include "datasource_files.h"
#include "qr_exception.h"
#include "qr_odbc.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <latch>
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

// Runs prepare_client_data_source for each type from `threads` threads that
// start together; returns the number of calls that threw.
int prepare_all_at_once(const std::string& admin, const std::vector<std::string>& types, int threads)
{
    const std::string folder = DbTestEnvironment::get().program_folder();
    std::atomic<int> failed{0};
    for (const auto& type : types) {
        std::latch start(threads);
        std::vector<std::thread> running;
        for (int t = 0; t < threads; ++t) {
            running.emplace_back([&] {
                start.arrive_and_wait();
                try {
                    if (prepare_client_data_source(folder, admin, type) != client_data_source_name(type)) ++failed;
                } catch (const qr_exception_t& e) {
                    ADD_FAILURE() << type << ": " << e.message();
                    ++failed;
                }
            });
        }
        for (auto& t : running) t.join();
    }
    return failed.load();
}

TEST(FirstUseOfAClientType, LoginsArrivingTogetherAllGetTheWholeSqliteFile)
{
    auto& env = DbTestEnvironment::get();
    const std::string admin = env.fresh_data_source("sqlite", "admin");
    const std::string folder = env.program_folder();
    std::vector<std::string> types;
    for (int n = 0; n < 6; ++n) types.push_back("Together" + std::to_string(n));
    EXPECT_EQ(prepare_all_at_once(admin, types, 4), 0);

    const std::string template_text = read_file_text(folder + "/" + template_database_file);
    for (const auto& type : types) {
        EXPECT_EQ(read_file_text(client_database_file(folder, type)), template_text) << type;
        MSSQLODBCConnection c(type, client_data_source_name(type), "", "");
        c.connect();
        EXPECT_EQ(c.query("SELECT COUNT(*) AS n FROM TrvIndex").Column("n").GetLong(0), 0);
    }
    // No temporary copies are left beside the files.
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(entry.path().filename().string().find("-SrvData.db."), std::string::npos) << entry.path();
}

TEST(FirstUseOfAClientType, LoginsArrivingTogetherAllGetOnePostgreSqlDatabase)
{
    const std::string admin = DbTestEnvironment::get().fresh_data_source("postgresql", "admin");
    const std::vector<std::string> types = {"PgTogether0", "PgTogether1", "PgTogether2"};
    EXPECT_EQ(prepare_all_at_once(admin, types, 3), 0);
    for (const auto& type : types) {
        MSSQLODBCConnection c(type, client_data_source_name(type), "", "");
        c.connect();
        EXPECT_EQ(c.query("SELECT COUNT(*) AS n FROM ScanSummaryData").Column("n").GetLong(0), 0);
    }
}

}  // namespace
