#include "inventory_fixture.h"

#include "db_test_env.h"

#include <stdexcept>
#include <tuple>
#include <vector>

namespace inventory_fixture {
const char* const folder_name = "Folder 'north' \"main\" <a> & b";
const char* const inventory_name = "Inventar M\xc3\xbcller's net \xe2\x82\xac";
const char* const inventory_comment = "It's <b>bold</b> & \"quoted\" \xc3\xa9t\xc3\xa9";
const char* const snapshot_name = "Snapshot 2023-11-14 'first'";
const char* const tabs_to_scan = "1,2";
const char* const host_a_address = "10.1.1.1";
const char* const host_a_dns = "host-a.example.org";
const char* const host_a_netname = "HOST'A";
const char* const host_b_address = "10.1.2.7";
const char* const host_b_netname = "b_host%";
const char* const summary_device = "SN-0001";
const char* const summary_text = "O'Brien's \"box\" <rack 1> & \xc3\xa5ngstr\xc3\xb6m";
}  // namespace inventory_fixture

namespace {

using namespace inventory_fixture;

void tree_row(MSSQLODBCConnection& db, int uid, int parent, int type, int status, int locked, const std::string& name,
              const std::string& tabs, const std::string& comment, time_t stamp)
{
    db.get_stmnt_results("INSERT INTO InventoryTree (uid, parentid, type, status, locked, name, Tabs2Scan, comment, "
                         "TimeStmp, has_internal_scans) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 0)",
                         {int32_t(uid), int32_t(parent), int32_t(type), int32_t(status), int32_t(locked), name, tabs,
                          comment, int64_t(stamp)});
}

void host_row(MSSQLODBCConnection& db, int uid, int as_of, const std::string& address, int64_t address_number,
              const std::string& dns, const std::string& netname, time_t stamp, const std::string& sysobjid)
{
    db.get_stmnt_results(
        "INSERT INTO InventoryHosts (AsOfId, uid, NetAddr, NetAddrInt, DNSName, NetName, TimeStmp, HasPing, HasSnmp, "
        "Status, Processed, CommunityStr, SysObjId, DevClassId, DevGroupId, DevVendorId, AgentTypeHard, "
        "AgentTypeSoft, AgentTypeMon) VALUES (?, ?, ?, ?, ?, ?, ?, 'Y', 'Y', 0, 0, 'public', ?, 20, 2, 9, 1, 2, 3)",
        {int32_t(as_of), int32_t(uid), address, address_number, dns, netname, int64_t(stamp), sysobjid});
}

void data_row(MSSQLODBCConnection& db, const std::string& table, int host, const std::vector<std::string>& values)
{
    std::string columns = "uid, host_id", markers = "0, ?";
    qr_sql_params params{int32_t(host)};
    for (size_t k = 0; k < values.size(); ++k) {
        columns += ", Data" + std::to_string(k + 1);
        markers += ", ?";
        params.push_back(values[k]);
    }
    db.get_stmnt_results("INSERT INTO " + table + " (" + columns + ") VALUES (" + markers + ")", params);
}

}  // namespace

int fixture_new_uid(MSSQLODBCConnection& db)
{
    db.query("INSERT INTO TrvIndex (atype) VALUES (1)");
    DB_DATA r = db.query("SELECT MAX(uid) AS uid FROM TrvIndex");
    return static_cast<int>(r.Column("uid").GetLong(0));
}

InventoryIds fill_inventory_fixture(MSSQLODBCConnection& db)
{
    InventoryIds ids;
    for (auto [type, map, data] : {std::tuple{summary_tab_type, "MapSummary", "ScanSummaryData"},
                                   std::tuple{interfaces_tab_type, "MapInterfaces", "ScanInterfacesData"},
                                   std::tuple{software_tab_type, "MapInstalledSoft", "ScanInstalledSoftData"}})
        db.get_stmnt_results("INSERT INTO TrvDBTablesNames (uid, MapName, DataName) VALUES (?, ?, ?)",
                             {int32_t(type), std::string(map), std::string(data)});

    ids.folder = fixture_new_uid(db);
    tree_row(db, ids.folder, 0, 0, 0, 0, folder_name, "", "", 0);
    ids.inventory = fixture_new_uid(db);
    tree_row(db, ids.inventory, ids.folder, 1, 0, 0, inventory_name, tabs_to_scan, inventory_comment, 0);
    db.get_stmnt_results("INSERT INTO InventoryPing (InventoryID, Ping) VALUES (?, 2)", {int32_t(ids.inventory)});
    int order = 0;
    for (auto [from, to, file] : {std::tuple{"10.1.1.0", "10.1.1.255", ""}, std::tuple{"", "", "walk's file.txt"}})
        db.get_stmnt_results(
            "INSERT INTO InventoryIPs (InventoryID, IPFrom, IPTo, FName, PlaceOrder) VALUES (?, ?, ?, ?, ?)",
            {int32_t(ids.inventory), std::string(from), std::string(to), std::string(file), int32_t(order++)});
    order = 0;
    for (const char* community : {"public", "pri'v\"ate"})
        db.get_stmnt_results("INSERT INTO InventoryComms (InventoryID, Name, PlaceOrder) VALUES (?, ?, ?)",
                             {int32_t(ids.inventory), std::string(community), int32_t(order++)});

    ids.snapshot = fixture_new_uid(db);
    tree_row(db, ids.snapshot, ids.inventory, 2, 0, 0, snapshot_name, "", "", snapshot_time);

    ids.host_a = fixture_new_uid(db);
    host_row(db, ids.host_a, ids.snapshot, host_a_address, 0x0A010101, host_a_dns, host_a_netname, host_a_time,
             "1.3.6.1.4.1.9.1.516");
    ids.host_b = fixture_new_uid(db);
    host_row(db, ids.host_b, ids.snapshot, host_b_address, 0x0A010207, "", host_b_netname, host_b_time, "");

    ids.tab_summary = fixture_new_uid(db);
    ids.tab_interfaces = fixture_new_uid(db);
    for (auto [uid, type, order_, layout, name] :
         {std::tuple{ids.tab_summary, summary_tab_type, 1, 0, "Summary"},
          std::tuple{ids.tab_interfaces, interfaces_tab_type, 2, 1, "Interfaces"}})
        db.get_stmnt_results(
            "INSERT INTO InventoryTabs (uid, host_id, type, scanorder, horlayout, name) VALUES (?, ?, ?, ?, ?, ?)",
            {int32_t(uid), int32_t(ids.host_a), int32_t(type), int32_t(order_), int32_t(layout), std::string(name)});

    data_row(db, "ScanSummaryData", ids.host_a, {summary_device, summary_text, "Cisco IOS"});
    data_row(db, "ScanInterfacesData", ids.host_a, {"1", "Gi0/1", "ethernet", "1000", "up", "up", "00:11:22:33:44:01"});
    data_row(db, "ScanInterfacesData", ids.host_a, {"2", "Gi0/2", "ethernet", "1000", "down", "up", "00:11:22:33:44:02"});
    return ids;
}

std::unique_ptr<InventoryDb> InventoryDb::make(const std::string& backend, bool filled)
{
    auto db = std::make_unique<InventoryDb>();
    db->dsn = DbTestEnvironment::get().fresh_data_source(backend, "inventory");
    if (filled)
        db->ids = fill_inventory_fixture(*open_connection(db->dsn));
    db->pool.reset(MSSQLPool_ctor(3, db->dsn, db->dsn, "", ""));
    db->pool->for_each([](MSSQLODBCConnection& c) { c.set_reconnect_policy({std::chrono::milliseconds(50), 20}); });
    db->pool->open_all();
    db->loader = std::make_unique<DataLoader>(db->pool.get(), &db->db_mutex, true);
    return db;
}

std::unique_ptr<MSSQLODBCConnection> InventoryDb::connect() const
{
    return open_connection(dsn);
}

long InventoryDb::count(const std::string& sql, const qr_sql_params& params) const
{
    DB_DATA r = connect()->get_stmnt_results(sql, params);
    if (r.ColumnCount() != 1 || r.RowCount() != 1)
        throw std::runtime_error("not a one-value query: " + sql);
    return r.Column(r.ColumnName(0)).GetLong(0);
}

InventoryDb::~InventoryDb()
{
    loader.reset();  // gives its connection back before the pool goes
}
