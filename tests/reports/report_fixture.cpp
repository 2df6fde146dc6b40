#include "report_fixture.h"

#include "db_test_env.h"
#include "xml_golden.h"

#include "schema_scripts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <stdexcept>

const char* const compare_device_oid = "1.3.6.1.4.1.4242.1";

AdminFixture& report_admin(const std::string& backend)
{
    static std::mutex m;
    static std::set<std::string> loaded;  // guarded by m
    AdminFixture& admin = AdminFixture::get(backend);
    std::lock_guard<std::mutex> hold(m);
    if (loaded.insert(backend).second) {
        const char* source = std::getenv("TRV_SOURCE_DIR");
        if (!source)
            throw std::runtime_error("TRV_SOURCE_DIR is not set");
        run_schema_script(*admin.connect(),
                          read_file_text(std::string(source) + "/tests/reports/fixtures/report_admin.sql"));
    }
    return admin;
}

namespace {

void item(MSSQLODBCConnection& db, int uid, int parent, int type, const std::string& name, long stamp)
{
    db.get_stmnt_results("INSERT INTO InventoryTree (uid, parentid, type, status, locked, name, Tabs2Scan, comment, "
                         "TimeStmp, has_internal_scans) VALUES (?, ?, ?, 0, 0, ?, '', '', ?, 0)",
                         {int32_t(uid), int32_t(parent), int32_t(type), name, int64_t(stamp)});
}

void rows(MSSQLODBCConnection& db, const std::string& table, int host,
          const std::vector<std::vector<std::string>>& records)
{
    for (const auto& values : records) {
        std::string columns = "uid, host_id", markers = "0, ?";
        qr_sql_params params{int32_t(host)};
        for (size_t k = 0; k < values.size(); ++k) {
            columns += ", Data" + std::to_string(k + 1);
            markers += ", ?";
            params.push_back(values[k]);
        }
        db.get_stmnt_results("INSERT INTO " + table + " (" + columns + ") VALUES (" + markers + ")", params);
    }
}

// A host of the comparison device with its tabs' data; no device id leaves
// out the summary row.
int host(MSSQLODBCConnection& db, int snapshot, const std::string& address, long stamp, int class_id,
         const std::string& device, const std::vector<std::string>& system, const std::vector<std::string>& memory,
         const std::vector<std::vector<std::string>>& disks)
{
    const int uid = fixture_new_uid(db);
    db.get_stmnt_results(
        "INSERT INTO InventoryHosts (AsOfId, uid, NetAddr, NetAddrInt, DNSName, NetName, TimeStmp, HasPing, "
        "HasSnmp, Status, Processed, CommunityStr, SysObjId, DevClassId, DevGroupId, DevVendorId, AgentTypeHard, "
        "AgentTypeSoft, AgentTypeMon) VALUES (?, ?, ?, 0, ?, '', ?, 'Y', 'Y', 0, 0, 'public', ?, ?, 2, 9, 1, 2, 3)",
        {int32_t(snapshot), int32_t(uid), address, "h" + address + ".example", int64_t(stamp),
         std::string(compare_device_oid), int32_t(class_id)});
    if (!device.empty())
        rows(db, "ScanSummaryData", uid, {{device}});
    rows(db, "ScanBaseBoardData", uid, {system});
    rows(db, "ScanBIOSData", uid, {memory});
    rows(db, "ScanCPUData", uid, disks);
    return uid;
}

}  // namespace

CompareIds add_compare_inventory(MSSQLODBCConnection& db)
{
    CompareIds ids;
    ids.inventory = fixture_new_uid(db);
    item(db, ids.inventory, 0, 1, "Compare", 0);
    ids.monday = fixture_new_uid(db);
    item(db, ids.monday, ids.inventory, 2, "Monday", 1700001000);
    ids.tuesday = fixture_new_uid(db);
    item(db, ids.tuesday, ids.inventory, 2, "Tuesday", 1700002000);

    const std::vector<std::vector<std::string>> equal_disks = {{"sda", "root", "1048576", "x"}};
    ids.l1 = host(db, ids.monday, "10.9.0.1", 1700001100, 20, "DEV-1", {"core-1", "1024"},
                  {"2097152", "1024", "Acme", "S-1"}, {{"sda", "root", "1048576", "x"}, {"sdb", "data", "2048", "y"}});
    ids.l2 = host(db, ids.monday, "10.9.0.2", 1700001200, 20, "DEV-2", {"edge-2", "2048"},
                  {"1048576", "0", "Acme", "S-2"}, equal_disks);
    ids.l3 = host(db, ids.monday, "10.9.0.3", 1700001300, 10, "DEV-3", {"r-3", "1024"}, {"3145728"}, equal_disks);
    ids.l0 = host(db, ids.monday, "10.9.0.9", 1700001050, 20, "DEV-1", {"old", "1"}, {"1"}, {});
    ids.lx = host(db, ids.monday, "10.9.0.10", 1700001400, 20, "", {"none", "1"}, {"1"}, {});
    // Serial and the note of sda differ as well, but those fields are hidden
    // or the records matched: neither shows.
    ids.r1 = host(db, ids.tuesday, "10.9.0.1", 1700002100, 20, "DEV-1", {"core-1", "2048"},
                  {"2097152", "3072", "Acme", "S-9"}, {{"sda", "root", "1048576", "z"}, {"sdc", "backup", "4096", "w"}});
    ids.r2 = host(db, ids.tuesday, "10.9.0.2", 1700002200, 20, "DEV-2", {"edge-2", "2048"},
                  {"1048576", "0", "Acme", "S-2"}, equal_disks);
    ids.r4 = host(db, ids.tuesday, "10.9.0.4", 1700002400, 30, "DEV-4", {"s-4", "1024"}, {"4194304"}, equal_disks);
    return ids;
}

void RecordingSink::send(const TiXmlElement& element)
{
    std::lock_guard<std::mutex> hold(m_);
    if (!closed_)
        sent_.push_back(print_xml(element));
}

void RecordingSink::close()
{
    std::lock_guard<std::mutex> hold(m_);
    closed_ = true;
}

std::vector<std::string> RecordingSink::sent() const
{
    std::lock_guard<std::mutex> hold(m_);
    return sent_;
}
