// The shipped administration database for tests: on "sqlite" a copy of the
// built TarvaneSrvAdmin.db, on "postgresql" a fresh database of the test
// cluster with the admin schema and the content loaded as the build loads it.
// One per backend per test process, with a pool and an own-connection
// loader; dropped by a global test environment before the cluster stops.
#pragma once

#include "loader.h"
#include "qr_pool.h"
#include "qr_sync.h"

#include <memory>
#include <string>

struct AdminDb {
    std::string dsn;
    qr_mutex db_mutex;  // stands for the server's database mutex
    std::unique_ptr<MSSQLPool> pool;
    std::unique_ptr<DataLoader> loader;

    static AdminDb& get(const std::string& backend);
    std::unique_ptr<MSSQLODBCConnection> connect() const;
};

// The text of data/admin/admin_content.sql.
std::string admin_content_script();
