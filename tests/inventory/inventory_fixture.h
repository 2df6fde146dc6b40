// A small inventory for tests: a fresh inventory database (the schema script
// only) on "sqlite" or "postgresql", filled through plain bound statements
// with one tree of every kind of row, and a pool and an own-connection loader
// on it. Each call makes a new database, so a test may change it freely.
//
// The tree:
//   folder
//   `- inventory (ping 2, two address ranges, two communities, Tabs2Scan "1,2")
//      `- snapshot (dated, unlocked)
//         |- host A 10.1.1.1 (tabs "Summary" and "Interfaces", scan data rows)
//         `- host B 10.1.2.7 (no tabs, no data)
// Names and comments hold apostrophes, quotes, '<', '&' and non-ASCII bytes.
// Every uid is drawn from TrvIndex, as the server draws them.
// One thread uses an InventoryDb at a time (the loader itself may be shared).
#pragma once

#include "loader.h"
#include "qr_pool.h"
#include "qr_sync.h"

#include <ctime>
#include <memory>
#include <string>

// Texts of the fixture, for comparisons.
namespace inventory_fixture {
extern const char* const folder_name;      // apostrophe, quotes, '<', '&'
extern const char* const inventory_name;   // non-ASCII (UTF-8) bytes and an apostrophe
extern const char* const inventory_comment;
extern const char* const snapshot_name;
extern const char* const tabs_to_scan;     // "1,2"
extern const char* const host_a_address;   // "10.1.1.1"
extern const char* const host_a_dns;
extern const char* const host_a_netname;   // apostrophe
extern const char* const host_b_address;   // "10.1.2.7"
extern const char* const host_b_netname;   // '%' and '_'
extern const char* const summary_device;   // host A's ScanSummaryData.Data1
extern const char* const summary_text;     // host A's ScanSummaryData.Data2: quotes, '<', '&', non-ASCII
constexpr time_t snapshot_time = 1700000000;
constexpr time_t host_a_time = 1700000100;
constexpr time_t host_b_time = 1700000200;
// Tab types of TrvDBTablesNames filled by the fixture.
constexpr int summary_tab_type = 1;     // MapSummary / ScanSummaryData
constexpr int interfaces_tab_type = 2;  // MapInterfaces / ScanInterfacesData
constexpr int software_tab_type = 3;    // MapInstalledSoft / ScanInstalledSoftData
}  // namespace inventory_fixture

struct InventoryIds {
    int folder = 0;
    int inventory = 0;
    int snapshot = 0;
    int host_a = 0;
    int host_b = 0;
    int tab_summary = 0;     // of host A
    int tab_interfaces = 0;  // of host A
};

// Draws one uid from TrvIndex on db, as the server does.
int fixture_new_uid(MSSQLODBCConnection& db);

// Fills an empty inventory database (schema already run) with the tree above.
InventoryIds fill_inventory_fixture(MSSQLODBCConnection& db);

struct InventoryDb {
    std::string dsn;
    qr_mutex db_mutex;  // stands for the server's database mutex
    std::unique_ptr<MSSQLPool> pool;
    std::unique_ptr<DataLoader> loader;
    InventoryIds ids;  // zero when made empty

    // A new database of backend with the inventory schema; filled with the
    // fixture tree unless `filled` is false. Its pool holds 3 connections.
    static std::unique_ptr<InventoryDb> make(const std::string& backend, bool filled = true);
    // A new connection to the database, for checks and changes of a test.
    std::unique_ptr<MSSQLODBCConnection> connect() const;
    // The single integer of a one-row query such as "SELECT COUNT(*) AS n FROM ...".
    long count(const std::string& sql, const qr_sql_params& params = {}) const;

    ~InventoryDb();
};
