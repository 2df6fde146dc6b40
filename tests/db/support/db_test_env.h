// Databases for tests: one temporary program folder per test process with
// the server's own ODBC ini folder in it, fresh SQLite files or PostgreSQL
// databases registered there as data sources, and a value-parameterised
// fixture that runs one suite on both ("sqlite", "postgresql").
//
// The PostgreSQL cluster starts on first use and stops when the process
// ends; test executables that use it are WHOLE with RESOURCE_LOCK postgres.
// Any test thread may call these functions.
#pragma once

#include "pg_cluster.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>

class MSSQLODBCConnection;
class SqlDialect;

class DbTestEnvironment {
public:
    static DbTestEnvironment& get();

    // Temporary folder standing for the program folder: DataTemplate.db and
    // the schema scripts of the build are placed in it.
    const std::string& program_folder() const { return program_folder_; }

    // A new empty database on `backend` ("sqlite" or "postgresql") with the
    // given schema script run in it ("" for none, "inventory", "admin"),
    // registered as a data source; returns the data source name.
    std::string fresh_data_source(const std::string& backend, const std::string& schema = "");
    // Registers a data source of the test cluster for a database (made or not).
    std::string register_postgresql_dsn(const std::string& dsn, const std::string& database);
    // A data source of the cluster's maintenance database "postgres".
    std::string postgresql_maintenance_dsn();

    PgCluster& postgres();

    ~DbTestEnvironment();

private:
    DbTestEnvironment();
    std::mutex m_;
    std::string program_folder_;
    PgCluster cluster_;  // guarded by m_
    int next_ = 0;       // guarded by m_
};

// A connection to a data source, opened, with a short reconnect policy.
std::unique_ptr<MSSQLODBCConnection> open_connection(const std::string& dsn);

// Reads a whole file (test helper).
std::string read_file_text(const std::string& path);

// Fixture of suites that run on both databases: GetParam() is the backend.
class DbBackendTest : public ::testing::TestWithParam<std::string> {
protected:
    const std::string& backend() const { return GetParam(); }
    bool is_postgresql() const { return GetParam() == "postgresql"; }
    std::string fresh(const std::string& schema = "")
    {
        return DbTestEnvironment::get().fresh_data_source(backend(), schema);
    }
};

#define TRV_DB_BACKENDS ::testing::Values(std::string("sqlite"), std::string("postgresql"))
