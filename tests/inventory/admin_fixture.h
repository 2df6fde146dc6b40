// The fixture administration database of the inventory tests: the admin
// schema plus tests/inventory/fixtures/admin_fixture.sql, on a fresh data
// source of the given backend, with a pool and an own-connection loader on
// it. One per backend per test process, made on first use and dropped by a
// global test environment before the database cluster stops.
#pragma once

#include "loader.h"
#include "qr_pool.h"
#include "qr_sync.h"

#include <memory>
#include <string>

struct AdminFixture {
    std::string dsn;
    qr_mutex db_mutex;  // stands for the server's database mutex
    std::unique_ptr<MSSQLPool> pool;
    std::unique_ptr<DataLoader> loader;

    // The fixture of "sqlite" or "postgresql"; its pool holds 4 connections.
    static AdminFixture& get(const std::string& backend);
    // A new connection to the fixture database, for checks and changes of a test.
    std::unique_ptr<MSSQLODBCConnection> connect() const;
};

// Captures the log into a temporary file with every level up to Debug on;
// restores the previous stream and mask when destroyed.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    std::string text() const;
    // How many lines contain `what`.
    int count(const std::string& what) const;

private:
    FILE* file_;
    FILE* previous_;
    std::string mask_;
};
