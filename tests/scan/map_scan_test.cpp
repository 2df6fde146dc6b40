// Map-line scanning over a walk file: cells into columns, and the lines of a
// tab merged into one stored table (real SQLite inventory and admin data).
#include "map_scan.h"

#include "admin_fixture.h"
#include "job.h"
#include "loader.h"
#include "scan_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

typedef std::vector<std::string> Values;

std::string walk_file()
{
    return std::string(std::getenv("TRV_SOURCE_DIR")) + "/tests/snmp/fixtures/host1.walk";
}

const char* const Address = "127.0.63.50";

Values column(const ScanDataTable& t, size_t c)
{
    return c < t.columns.size() ? t.columns[c].values : Values{"<missing>"};
}

TEST(ScanMapLine, CellsBecomeColumns)
{
    ScanDataTable t;
    // A constant before the first read cell has no rows to fill yet; one
    // after it fills every row; "server_..." cells (and anything sorting
    // after "server") are left for later.
    EXPECT_EQ(ScanMapLine(nullptr, Address, "public", walk_file(), "", {"k", ".1.3.6.1.2.1.2.2.1.2", "c", "server_ip"},
                          t, false),
              MapLineDone);
    ASSERT_EQ(t.columns.size(), 4u);
    EXPECT_EQ(column(t, 0), Values{});
    EXPECT_EQ(column(t, 1), (Values{"eth1-host1", "eth2-host1", "eth3-host1"}));
    EXPECT_EQ(column(t, 2), (Values{"c", "c", "c"}));
    EXPECT_EQ(column(t, 3), Values{});

    EXPECT_EQ(ScanMapLine(nullptr, Address, "public", walk_file(), "", {".1.3.6.1.2.1.1.5"}, t, true), MapLineDone);
    EXPECT_EQ(column(t, 0), Values{".1.3.6.1.2.1.1.5.0 host1"});

    // Nothing read: no columns at all.
    for (const Values& cells : {Values{"a", "b"}, Values{".1.3.6.1.2.1.99"}}) {
        EXPECT_EQ(ScanMapLine(nullptr, Address, "public", walk_file(), "", cells, t, false), MapLineDone);
        EXPECT_TRUE(t.columns.empty());
    }
}

TEST(ScanMapLine, MissingWalkFileReadsNothing)
{
    LogCapture log;
    ScanDataTable t;
    EXPECT_EQ(ScanMapLine(nullptr, Address, "public", "/nonexistent/walk", "", {".1.3.6.1.2.1.1.5"}, t, false),
              MapLineDone);
    EXPECT_TRUE(t.columns.empty());
    EXPECT_EQ(log.count("Error"), 1);
}

// Lines of 3 rows merge by position without overwriting; a 1-row line and a
// line whose table does not answer are dropped.
TEST(ScanMapLines, LinesMergeIntoTheStoredTable)
{
    auto admin = AdminFixture::get("sqlite").connect();
    admin->query("CREATE TABLE MapMerge (UID INTEGER, Block INTEGER, RowType TEXT, ScanOrder INTEGER, "
                 "\"TableOID\" TEXT, Plugin TEXT, GroupName TEXT, DefGroupName TEXT, TabIndex INTEGER, "
                 "SysObjId TEXT, ClassId INTEGER, GroupId INTEGER, VendorId INTEGER, Agent INTEGER, "
                 "f1 TEXT, f2 TEXT, f3 TEXT)");
    const char* row = "INSERT INTO MapMerge (UID, RowType, ScanOrder, \"TableOID\", Plugin, SysObjId, f1, f2, f3) "
                      "VALUES (?, ?, ?, ?, 'std', 'merge-dev', ?, ?, ?)";
    auto add = [&](int order, const char* type, const char* table_oid, const char* f1, const char* f2,
                   const char* f3) {
        admin->get_stmnt_results(row, {int32_t(order), std::string(type), int32_t(order), std::string(table_oid),
                                       std::string(f1), std::string(f2), std::string(f3)});
    };
    add(1, "TABLE", ".1.3.6.1.2.1.2.2.1", ".1.3.6.1.2.1.2.2.1.1", ".1.3.6.1.2.1.2.2.1.2", "");
    add(2, "VALUE", "", "", "", ".1.3.6.1.2.1.1.5");  // 1 row: would put "host1" into f3
    add(3, "TABLE", "", "", ".1.3.6.1.2.1.2.2.1.3", ".1.3.6.1.2.1.2.2.1.4");
    add(4, "TABLE", ".1.3.6.1.2.1.99.1", ".1.3.6.1.2.1.2.2.1.7", "", "");

    ScanBench bench(1, {});
    bench.services.set_data_source("ADMIN", AdminFixture::get("sqlite").loader.get());
    Job job;
    job.set_host_uid(77);
    job.set_sys_obj_id("merge-dev");
    job.set_source_key(ScanClient);
    job.set_state(JOB_SNMP_RUNNING);
    TabScanRequest request;
    request.map_name = "MapMerge";
    request.data_name = "ScanCPUData";
    request.job = &job;
    request.address = Address;
    request.community = "public";
    request.walk_file = walk_file();
    LogCapture log;
    EXPECT_EQ(scan_map_lines(request), 0);
    EXPECT_EQ(log.count("Table not answered"), 1);

    ScanDataTable stored;
    DataLoader::read_data_table(bench.db->loader.get(), stored, "ScanCPUData", 77);
    // Each stored row reads back as one column of Data1, Data2, ...
    ASSERT_EQ(stored.columns.size(), 3u);
    const Values first = {"1", "eth1-host1", "1500", ""};
    const Values last = {"3", "eth3-host1", "1500", ""};
    EXPECT_EQ(Values(stored.columns[0].values.begin(), stored.columns[0].values.begin() + 4), first);
    EXPECT_EQ(Values(stored.columns[2].values.begin(), stored.columns[2].values.begin() + 4), last);

    // A cancelled job writes nothing.
    job.cancel();
    EXPECT_EQ(scan_map_lines(request), 1);
}

}  // namespace
