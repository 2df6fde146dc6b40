#include "admin_db.h"

#include "admin_content.h"
#include "datasource_files.h"
#include "db_test_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>

namespace {

std::mutex dbs_mutex;
std::map<std::string, std::unique_ptr<AdminDb>> dbs;  // guarded by dbs_mutex

class DropAdminDbs : public ::testing::Environment {
public:
    void TearDown() override
    {
        std::lock_guard<std::mutex> hold(dbs_mutex);
        dbs.clear();
    }
};

[[maybe_unused]] ::testing::Environment* const drop_dbs = ::testing::AddGlobalTestEnvironment(new DropAdminDbs);

std::string env_dir(const char* name)
{
    const char* dir = std::getenv(name);
    if (!dir)
        throw std::runtime_error(std::string(name) + " is not set");
    return dir;
}

}  // namespace

std::string admin_content_script()
{
    // The tab types' table names live apart: the inventory template holds them too.
    const std::string data = env_dir("TRV_SOURCE_DIR") + "/data/";
    return read_file_text(data + "sql/table_names.sql") + "\n" + read_file_text(data + "admin/admin_content.sql");
}

AdminDb& AdminDb::get(const std::string& backend)
{
    std::lock_guard<std::mutex> hold(dbs_mutex);
    auto& slot = dbs[backend];
    if (!slot) {
        auto db = std::make_unique<AdminDb>();
        DbTestEnvironment& env = DbTestEnvironment::get();
        if (backend == "sqlite") {
            db->dsn = "TrvShippedAdmin";
            std::string copy = env.program_folder() + "/TarvaneSrvAdmin.db";
            std::filesystem::copy_file(env_dir("TRV_BINARY_DIR") + "/bin/TarvaneSrvAdmin.db", copy,
                                       std::filesystem::copy_options::overwrite_existing);
            if (register_odbc_dsn(copy, db->dsn) < 1)
                throw std::runtime_error("cannot register " + db->dsn);
        } else {
            db->dsn = env.fresh_data_source(backend, "admin");
            load_admin_content(*open_connection(db->dsn), admin_content_script(), EnterpriseNumbersFile);
        }
        db->pool.reset(MSSQLPool_ctor(4, db->dsn, db->dsn, "", ""));
        db->pool->open_all();
        db->loader = std::make_unique<DataLoader>(db->pool.get(), &db->db_mutex, true);
        slot = std::move(db);
    }
    return *slot;
}

std::unique_ptr<MSSQLODBCConnection> AdminDb::connect() const
{
    return open_connection(dsn);
}
