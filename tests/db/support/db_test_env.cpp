#include "db_test_env.h"

#include "datasource_files.h"
#include "datasource_odbcinst.h"
#include "dialect.h"
#include "qr_exception.h"
#include "qr_odbc.h"
#include "schema_scripts.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string binary_dir()
{
    const char* dir = std::getenv("TRV_BINARY_DIR");
    if (dir && *dir) return dir;
    // Test programs live in <build>/tests.
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path().string();
}

}  // namespace

std::string read_file_text(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

DbTestEnvironment& DbTestEnvironment::get()
{
    static DbTestEnvironment environment;
    return environment;
}

DbTestEnvironment::DbTestEnvironment()
{
    char folder[] = "/tmp/trv-dbtest-XXXXXX";
    if (!mkdtemp(folder)) throw std::runtime_error("mkdtemp failed");
    program_folder_ = folder;
    const std::string bin = binary_dir() + "/bin";
    fs::copy_file(bin + "/" + template_database_file, program_folder_ + "/" + template_database_file);
    fs::create_directory_symlink(bin + "/sql", program_folder_ + "/sql");
    odbc_use_ini_folder(odbc_ini_folder(program_folder_));
}

DbTestEnvironment::~DbTestEnvironment()
{
    cluster_.stop();
    std::error_code ignored;
    fs::remove_all(program_folder_, ignored);
}

PgCluster& DbTestEnvironment::postgres()
{
    std::lock_guard<std::mutex> hold(m_);
    cluster_.start();
    return cluster_;
}

std::string DbTestEnvironment::register_postgresql_dsn(const std::string& dsn, const std::string& database)
{
    const int port = postgres().port();
    std::string error;
    const odbc_attributes attributes = {{"Servername", "127.0.0.1"},
                                        {"Port", std::to_string(port)},
                                        {"Database", database},
                                        {"Username", PgCluster::user()},
                                        {"Password", ""}};
    if (!odbc_write_dsn(dsn, odbc_postgresql_unicode_driver, attributes, error))
        throw std::runtime_error("cannot register " + dsn + ": " + error);
    return dsn;
}

std::string DbTestEnvironment::postgresql_maintenance_dsn()
{
    return register_postgresql_dsn("TrvTestPgMaintenance", "postgres");
}

std::string DbTestEnvironment::fresh_data_source(const std::string& backend, const std::string& schema)
{
    int n;
    {
        std::lock_guard<std::mutex> hold(m_);
        n = ++next_;
    }
    const std::string dsn = "TrvTest" + std::to_string(n) + "_" + backend;
    const SqlDialect* dialect = nullptr;
    if (backend == "sqlite") {
        dialect = &SqlDialect::sqlite();
        if (register_odbc_dsn(program_folder_ + "/" + dsn + ".db", dsn) < 1)
            throw std::runtime_error("cannot register " + dsn);
    } else if (backend == "postgresql") {
        dialect = &SqlDialect::postgresql();
        auto maintenance = open_connection(postgresql_maintenance_dsn());
        const std::string database = "trvtest" + std::to_string(n);
        maintenance->query("DROP DATABASE IF EXISTS " + database);
        maintenance->query(dialect->create_database(database));
        register_postgresql_dsn(dsn, database);
    } else {
        throw std::runtime_error("unknown backend " + backend);
    }
    if (!schema.empty()) {
        auto connection = open_connection(dsn);
        run_schema_script(*connection, read_schema_script(schema_folder(program_folder_), *dialect, schema));
    }
    return dsn;
}

std::unique_ptr<MSSQLODBCConnection> open_connection(const std::string& dsn)
{
    auto connection = std::make_unique<MSSQLODBCConnection>(dsn, dsn, "", "");
    connection->set_reconnect_policy({std::chrono::milliseconds(50), 20});
    connection->connect();
    return connection;
}
