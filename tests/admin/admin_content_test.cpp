// The shipped administration database on SQLite (the built file) and on
// PostgreSQL (loaded as the build loads it): vendors, identification, the
// tabs of typical devices, map lines, layouts, enum translation and reports.
#include "admin_db.h"

#include "admin_content.h"
#include "db_test_env.h"
#include "map_line.h"
#include "qr_odbc.h"
#include "scan_settings.h"

#include "qr_exception.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

namespace {

// The list's own format: comments, blanks or tabs between number and name,
// names with blanks inside, notes after a tab; lines without a number or a
// name are skipped.
TEST(EnterpriseNumbers, ReadsNumbersAndNames)
{
    TempDir dir;
    WriteWholeFile(dir.file("e.tsv"), "# comment 1 line\n"
                                      "\n"
                                      "0\tReserved\n"
                                      "9 \t ciscoSystems  \r\n"
                                      "2\tIBM (https://w3.ibm.com/standards )\n"
                                      "x17\tNot a number\n"
                                      "18\n"
                                      "1991\tBrocade Communication Systems, Inc.\t# formerly 'Foundry Networks, Inc.'\n"
                                      "78 LogMatrix Inc \t # formerly 'OpenService Inc.'\r\n"
                                      "8606\tVancouver School District # 37\n"
                                      "9230\t#B4mad Research Lab Organization\n"
                                      "62331\tWatermark Auto Group");
    auto list = read_enterprise_numbers(dir.file("e.tsv"));
    using Pair = std::pair<int32_t, std::string>;
    EXPECT_EQ(list, (std::vector<Pair>{{0, "Reserved"},
                                       {9, "ciscoSystems"},
                                       {2, "IBM (https://w3.ibm.com/standards )"},
                                       {1991, "Brocade Communication Systems, Inc."},
                                       {78, "LogMatrix Inc"},
                                       {8606, "Vancouver School District # 37"},
                                       {9230, "#B4mad Research Lab Organization"},
                                       {62331, "Watermark Auto Group"}}));
    EXPECT_THROW(read_enterprise_numbers(dir.file("missing.tsv")), qr_exception_t);
}

class AdminContentTest : public DbBackendTest {
protected:
    AdminDb& db() { return AdminDb::get(backend()); }
    DataLoader* loader() { return db().loader.get(); }

    std::vector<int> tab_ids(const MapLineFilter& filter)
    {
        ScanSet set;
        DataLoader::get_tabs_to_scan(loader(), filter, set, IntArray(), 0);
        std::vector<int> ids;
        for (const ScanEntry& e : set)
            ids.push_back(e.tab_id);
        return ids;
    }
    // The f columns of a map table, from its header row.
    int field_count(const std::string& map_name)
    {
        DB_DATA r = db().connect()->query("SELECT * FROM " + map_name + " WHERE UID = 0");
        int n = 0;
        while (r.HasColumn("f" + std::to_string(n + 1)))
            ++n;
        return n;
    }
};

TEST_P(AdminContentTest, EveryEnterpriseNumberNamesItsVendor)
{
    auto expected = read_enterprise_numbers(EnterpriseNumbersFile);
    ASSERT_GT(expected.size(), 50000u);
    DB_DATA r = db().connect()->query("SELECT COUNT(*) AS n FROM SNMPDevVendors");
    EXPECT_EQ(r.Column("n").GetLong(0), static_cast<long>(expected.size()));
    EXPECT_EQ(DataLoader::get_vendor_name(loader(), 8072), "net-snmp");
    EXPECT_EQ(DataLoader::get_vendor_name(loader(), 311), "Microsoft");
    // Notes of the list ("\t# formerly ...") are no part of a name.
    EXPECT_EQ(DataLoader::get_vendor_name(loader(), 1991), "Brocade Communication Systems, Inc.");
    DB_DATA noted = db().connect()->get_stmnt_results("SELECT COUNT(*) AS n FROM SNMPDevVendors WHERE name LIKE ?",
                                                      {std::string("%\t#%")});
    EXPECT_EQ(noted.Column("n").GetLong(0), 0);
    // The last line of the list arrives too.
    EXPECT_EQ(DataLoader::get_vendor_name(loader(), expected.back().first), expected.back().second);
}

TEST_P(AdminContentTest, IdentifiesDevicesBySysObjectId)
{
    struct Case {
        const char* sysobjid;
        bool found;
        int vendor, group, cls;
        const char* vendor_name;
        const char* class_name;
    };
    const Case cases[] = {
        {".1.3.6.1.4.1.8072.3.2.10", true, 8072, 2, 5, "net-snmp", "Server"},
        {".1.3.6.1.4.1.311.1.1.3.1.1", true, 311, 2, 6, "Microsoft", "Workstation"},
        {".1.3.6.1.4.1.311.1.1.3.1.2", true, 311, 2, 5, "Microsoft", "Server"},
        // Cisco IOS numbers switches, routers and firewalls side by side.
        {".1.3.6.1.4.1.9.1.1745", true, 9, 1, 2, "ciscoSystems", "Switch"},   // Catalyst 3850 stack
        {".1.3.6.1.4.1.9.1.716", true, 9, 1, 2, "ciscoSystems", "Switch"},    // Catalyst 2960-24TT
        {".1.3.6.1.4.1.9.1.1046", true, 9, 1, 1, "ciscoSystems", "Router"},   // 2901
        {".1.3.6.1.4.1.9.1.745", true, 9, 1, 3, "ciscoSystems", "Firewall"},  // ASA 5505
        {".1.3.6.1.4.1.9.5.42", true, 9, 1, 2, "ciscoSystems", "Switch"},     // Catalyst OS
        {".1.3.6.1.4.1.11.2.3.9.1.1", true, 11, 3, 7, "Hewlett-Packard", "Printer"},
        {".1.3.6.1.4.1.11.2.3.7.11.144", true, 11, 1, 2, "Hewlett-Packard", "Switch"},
        {".1.3.6.1.4.1.11.2.3.2.3", true, 11, 2, 5, "Hewlett-Packard", "Server"},  // HP-UX
        {".1.3.6.1.4.1.674.10892.5", true, 674, 2, 5, "Dell Inc.", "Server"},      // iDRAC
        {".1.3.6.1.4.1.674.10895.3031", true, 674, 1, 2, "Dell Inc.", "Switch"},
        {".1.3.6.1.4.1.2636.1.1.1.2.21", true, 2636, 1, 1, "Juniper Networks, Inc.", "Router"},  // MX960
        {".1.3.6.1.4.1.2636.1.1.1.2.31", true, 2636, 1, 2, "Juniper Networks, Inc.", "Switch"},  // EX4200
        {".1.3.6.1.4.1.2636.1.1.1.2.39", true, 2636, 1, 3, "Juniper Networks, Inc.", "Firewall"},  // SRX240
        {".1.3.6.1.4.1.318.1.3.2.12", true, 318, 4, 8, "American Power Conversion Corp.", "UPS"},
        // Products of a listed vendor that the map does not name: the vendor,
        // and a group only where all its neighbours share it; never the
        // class of a neighbour.
        {".1.3.6.1.4.1.9.1.51", true, 9, 1, 0, "ciscoSystems", ""},
        {".1.3.6.1.4.1.9.12.3.1.3.612", true, 9, 0, 0, "ciscoSystems", ""},
        {".1.3.6.1.4.1.11.2.3.10.1", true, 11, 0, 0, "Hewlett-Packard", ""},
        {".1.3.6.1.4.1.11.5.7.5.1", true, 11, 0, 0, "Hewlett-Packard", ""},
        {".1.3.6.1.4.1.674.11000.2000.500.1", true, 674, 0, 0, "Dell Inc.", ""},
        {".1.3.6.1.4.1.2636.1.1.1.2.999", true, 2636, 1, 0, "Juniper Networks, Inc.", ""},
        {".1.3.6.1.4.1.318.1.3.4.5", true, 318, 4, 0, "American Power Conversion Corp.", ""},  // rack PDU
        {".1.3.6.1.4.1.12356.106.1.1", true, 12356, 1, 0, "Fortinet, Inc.", ""},
        // Not in the map: the enterprise number names the vendor.
        {".1.3.6.1.4.1.39871.7.1", false, 39871, -1, -1, "Trans Industrias Electronicas", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sysobjid);
        std::string oid = c.sysobjid;
        int cls = -1, group = -1, vendor = -1;
        EXPECT_EQ(DataLoader::find_device_by_sysobjid(loader(), oid, cls, group, vendor), c.found);
        EXPECT_EQ(vendor, c.vendor);
        EXPECT_EQ(group, c.group);
        EXPECT_EQ(cls, c.cls);
        EXPECT_EQ(DataLoader::get_vendor_name(loader(), vendor), c.vendor_name);
        EXPECT_EQ(DataLoader::get_device_class_name(loader(), cls), c.class_name);
    }
}

// What a product the map does not name receives, for every entry's vendor
// and every arc above the entry: the first entry below that arc, in the
// database's own order. Its group and class must each be shared by all the
// entries below the arc or be empty, and every vendor has a default at its
// own arc, so an unknown product never takes a neighbour's group or class.
TEST_P(AdminContentTest, MibMapGivesUnknownProductsNoNeighboursClass)
{
    auto c = db().connect();
    DB_DATA map = c->query("SELECT OID, VendorId FROM SNMPMibMap");
    ASSERT_GT(map.RowCount(), 20);
    std::set<std::string> arcs;
    for (int i = 0; i < map.RowCount(); ++i) {
        const std::string oid = map.Column("OID").GetString(i);
        const std::string root = ".1.3.6.1.4.1." + map.Column("VendorId").GetString(i);
        SCOPED_TRACE(oid);
        ASSERT_EQ(oid.rfind(root + ".", 0), 0u) << "not below its vendor's arc";
        arcs.insert(root + ".");
        for (std::string arc = oid.substr(0, oid.find_last_not_of('.') + 1); arc.size() > root.size();) {
            arc.erase(arc.rfind('.'));
            arcs.insert(arc + ".");
        }
    }
    for (const std::string& arc : arcs) {
        SCOPED_TRACE(arc);
        DB_DATA below = c->get_stmnt_results(
            "SELECT OID, GroupId, ClassId FROM SNMPMibMap WHERE OID LIKE ? ESCAPE '\\' ORDER BY OID",
            {arc + "%"});
        ASSERT_GT(below.RowCount(), 0);
        const size_t dots = static_cast<size_t>(std::count(arc.begin(), arc.end(), '.'));
        if (dots == 8) {
            // A vendor's own arc: its default comes first.
            EXPECT_EQ(below.Column("OID").GetString(0), arc);
        }
        for (const char* column : {"GroupId", "ClassId"}) {
            const std::string first = below.Column(column).GetString(0);
            std::set<std::string> values;
            for (int r = 0; r < below.RowCount(); ++r)
                values.insert(below.Column(column).GetString(r));
            if (values.size() > 1) {
                EXPECT_TRUE(first.empty()) << column << " " << first << " of " << below.Column("OID").GetString(0);
            }
        }
    }
}

TEST_P(AdminContentTest, TabsOfTypicalDevices)
{
    // A Linux net-snmp agent, the same with the enterprise hardware agent,
    // a Cisco router, and a device the map does not know. Every one gets the
    // PC table: its storage, or the enterprise agent's computer.
    EXPECT_EQ(tab_ids({"SNMPWhat2Scan", ".1.3.6.1.4.1.8072.3.2.10", 5, 2, 8072, 1}),
              (std::vector<int>{1, 2, 3, 4, 7, 8, 5, 6, 15}));
    EXPECT_EQ(tab_ids({"SNMPWhat2Scan", ".1.3.6.1.4.1.8072.3.2.10", 5, 2, 8072, 2}),
              (std::vector<int>{1, 2, 3, 4, 7, 8, 5, 6, 11, 12, 13, 14, 15}));
    EXPECT_EQ(tab_ids({"SNMPWhat2Scan", ".1.3.6.1.4.1.9.1", 1, 1, 9, 1}),
              (std::vector<int>{1, 2, 3, 4, 7, 5, 6, 9, 10, 15}));
    EXPECT_EQ(tab_ids({"SNMPWhat2Scan", ".1.3.6.1.4.1.4242.1", -1, -1, 4242, 1}),
              (std::vector<int>{1, 2, 3, 4, 7, 8, 5, 6, 15}));

    ScanSet all;
    IntArray every;
    for (int id = 1; id <= 15; ++id)
        every.Add(id);
    DataLoader::get_tabs_to_scan(loader(), {"SNMPWhat2Scan", ".1.3.6.1.4.1.8072.3.2.10", 5, 2, 8072, 2}, all,
                                 every, 0);
    ASSERT_EQ(all.Count(), 13);
    for (const ScanEntry& e : all) {
        EXPECT_FALSE(e.name.empty());
        EXPECT_EQ(e.map_name.rfind("Map", 0), 0u) << e.map_name;
        EXPECT_EQ(e.data_name.rfind("Scan", 0), 0u) << e.data_name;
    }
}

// Every tab's map: lines with one cell per field, cells that read the walked
// table, enum tables that exist, and layouts that name every field the
// lines fill (a field may be filled for one agent type only).
TEST_P(AdminContentTest, MapTablesAreConsistent)
{
    auto c = db().connect();
    DB_DATA tabs = c->query("SELECT uid, MapName, DataName FROM TrvDBTablesNames ORDER BY uid");
    ASSERT_EQ(tabs.RowCount(), 15);
    std::set<std::string> data_names;
    for (int t = 0; t < tabs.RowCount(); ++t) {
        const std::string map = tabs.Column("MapName").GetString(t);
        SCOPED_TRACE(map);
        data_names.insert(tabs.Column("DataName").GetString(t));
        const int fields = field_count(map);
        ASSERT_GT(fields, 0);
        std::set<int> named_for_any;
        for (int agent : {1, 2}) {
            SCOPED_TRACE("agent type " + std::to_string(agent));
            MapLineFilter filter(map, ".1.3.6.1.4.1.8072.3.2.10", 5, 2, 8072, agent);
            MapLineList lines;
            DataLoader::resolve_block(loader(), lines, filter, -1);
            ASSERT_FALSE(lines.empty());
            std::set<int> filled;
            for (const MapLine& line : lines) {
                EXPECT_EQ(static_cast<int>(line.values.size()), fields);
                for (size_t f = 0; f < line.values.size(); ++f)
                    if (!line.values[f].empty())
                        filled.insert(static_cast<int>(f));
                if (line.value_flag == 0) {
                    // The walked table feeds the line (other tables may add columns).
                    ASSERT_FALSE(line.TableOID.empty());
                    int inside = 0;
                    for (const std::string& cell : line.values)
                        inside += cell.find(line.TableOID + ".") != std::string::npos ||
                                  cell.find(line.TableOID + ",") != std::string::npos;
                    EXPECT_GT(inside, 0) << line.TableOID;
                }
                for (const auto& spec : line.enum_specs) {
                    if (spec.value.empty())
                        continue;
                    std::string table = spec.value.substr(0, spec.value.find(','));
                    DB_DATA n = c->query("SELECT COUNT(*) AS n FROM " + table);
                    EXPECT_GT(n.Column("n").GetLong(0), 0) << table;
                }
            }
            TabLayout layout = DataLoader::get_tab_layout(loader(), filter);
            ASSERT_FALSE(layout.empty());
            std::set<int> named;
            for (const LayoutGroup& g : layout) {
                EXPECT_FALSE(g.GroupName.empty());
                for (const auto& f : g.fields) {
                    EXPECT_FALSE(f.value.column_spec.empty());
                    named.insert(f.key);
                }
            }
            for (int f : filled)
                EXPECT_TRUE(named.count(f)) << "field " << f + 1 << " is filled but not shown";
            named_for_any.insert(named.begin(), named.end());
        }
        EXPECT_EQ(static_cast<int>(named_for_any.size()), fields);
    }
    EXPECT_EQ(data_names.size(), 15u);
}

TEST_P(AdminContentTest, EnumTablesTranslateRawCodes)
{
    struct Case {
        const char* map;
        size_t column;
        std::vector<std::string> raw, names;
    };
    const Case cases[] = {
        {"MapInterfaces", 2, {"6", "24", "999"}, {"ethernetCsmacd", "softwareLoopback", "999"}},
        {"MapInterfaces", 5, {"1", "2"}, {"up", "down"}},
        {"MapInterfaces", 7, {"1", "7"}, {"up", "lowerLayerDown"}},
        {"MapRunnedSoft", 5, {"1", "2"}, {"running", "runnable"}},
        {"MapRunnedSoft", 4, {"4", "2"}, {"application", "operatingSystem"}},
        {"MapDevTable", 1, {".1.3.6.1.2.1.25.3.1.3", ".1.3.6.1.2.1.25.3.1.4"}, {"processor", "network"}},
        {"MapDevTable", 3, {"2", "5"}, {"running", "down"}},
        {"MapPhysicalStructure", 3, {"3", "10"}, {"chassis", "port"}},
        {"MapPrtSupplies", 2, {"3", "21"}, {"toner", "tonerCartridge"}},
        {"MapPrtSupplies", 4, {"19", "13"}, {"percent", "tenthsOfGrams"}},
        {"MapEnclosure", 2, {"23", "3"}, {"Rack Mount Chassis", "Desktop"}},
        {"MapSlots", 4, {"3", "4"}, {"Available", "In use"}},
        {"MapPCTable", 14, {".1.3.6.1.2.1.25.2.1.4", ".1.3.6.1.2.1.25.2.1.2"}, {"fixedDisk", "ram"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.map) + " column " + std::to_string(c.column));
        MapLineList lines;
        DataLoader::resolve_block(loader(), lines, {c.map, "x", 5, 2, 8072, 1}, -1);
        ASSERT_FALSE(lines.empty());
        std::vector<ScanColumn> columns(lines[0].values.size());
        ASSERT_LT(c.column, columns.size());
        columns[c.column].values = c.raw;
        DataLoader::get_enum_value(loader(), columns, lines[0].enum_specs);
        EXPECT_EQ(columns[c.column].values, c.names);
    }
}

TEST_P(AdminContentTest, ReportsAreComplete)
{
    DB_DATA r = db().connect()->query("SELECT * FROM Reports ORDER BY display_order ASC");
    ASSERT_GE(r.RowCount(), 8);
    for (int i = 0; i < r.RowCount(); ++i) {
        const std::string name = r.Column("name").GetString(i);
        const std::string query = r.Column("query").GetString(i);
        const std::string headers = r.Column("headers").GetString(i);
        SCOPED_TRACE(name);
        EXPECT_FALSE(name.empty());
        // One placeholder, not first.
        const size_t mark = query.find('#');
        EXPECT_NE(mark, std::string::npos);
        EXPECT_GT(mark, 0u);
        EXPECT_EQ(mark, query.rfind('#'));
        // One caption per result column d1..dn.
        size_t captions = 1;
        for (char ch : headers)
            captions += ch == ',';
        EXPECT_NE(query.find("AS d" + std::to_string(captions)), std::string::npos);
        EXPECT_EQ(query.find("AS d" + std::to_string(captions + 1)), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, AdminContentTest, TRV_DB_BACKENDS);

// The database tool beside the server fills an administrator's PostgreSQL
// data source with what the build puts into TarvaneSrvAdmin.db, in one
// transaction: a failing run leaves the database as it found it.
class MakeDatabaseTool : public ::testing::Test {
protected:
    static std::string bin() { return std::string(std::getenv("TRV_BINARY_DIR")) + "/bin"; }
    // Runs the tool on the data source with the shipped scripts and the
    // given content script; its exit status.
    int fill(const std::string& dsn, const std::string& content)
    {
        return run_program({bin() + "/make_database", "--dsn", dsn, "--program-folder",
                            DbTestEnvironment::get().program_folder(), bin() + "/sql/postgresql/admin.sql",
                            bin() + "/sql/table_names.sql", content, "--enterprises", EnterpriseNumbersFile},
                           dir.file("make_database.log"));
    }
    std::string log() { return read_file_text(dir.file("make_database.log")); }
    // Row counts by table (names in lower case) of a database.
    static std::map<std::string, long> counts(MSSQLODBCConnection& c, const std::string& tables_sql)
    {
        std::map<std::string, long> out;
        DB_DATA tables = c.query(tables_sql);
        for (int i = 0; i < tables.RowCount(); ++i) {
            std::string name = tables.Column("t").GetString(i);
            DB_DATA n = c.query("SELECT COUNT(*) AS n FROM " + name);
            std::transform(name.begin(), name.end(), name.begin(), ::tolower);
            out[name] = n.Column("n").GetLong(0);
        }
        return out;
    }
    static std::map<std::string, long> postgresql_counts(const std::string& dsn)
    {
        return counts(*open_connection(dsn),
                      "SELECT table_name AS t FROM information_schema.tables WHERE table_schema = 'public'");
    }
    TempDir dir;
};

TEST_F(MakeDatabaseTool, FillsAPostgreSQLDataSourceAsTheBuildFillsTheFile)
{
    const std::map<std::string, long> shipped =
        counts(*AdminDb::get("sqlite").connect(), "SELECT name AS t FROM sqlite_master WHERE type = 'table'");
    ASSERT_GT(shipped.size(), 30u);
    ASSERT_GT(shipped.at("snmpdevvendors"), 50000);

    const std::string dsn = DbTestEnvironment::get().fresh_data_source("postgresql");
    const std::string content = bin() + "/admin/admin_content.sql";
    ASSERT_EQ(fill(dsn, content), 0) << log();
    EXPECT_EQ(postgresql_counts(dsn), shipped);
    DB_DATA vendor = open_connection(dsn)->query("SELECT name FROM SNMPDevVendors WHERE oid = 8072");
    ASSERT_EQ(vendor.RowCount(), 1);
    EXPECT_EQ(vendor.Column("name").GetString(0), "net-snmp");

    // A second run meets the tables and changes nothing.
    EXPECT_EQ(fill(dsn, content), 1) << log();
    EXPECT_NE(log().find("already exists"), std::string::npos) << log();
    EXPECT_EQ(postgresql_counts(dsn), shipped);

    // Content that fails at its last statement leaves an empty database.
    const std::string broken = dir.file("broken.sql");
    WriteWholeFile(broken, read_file_text(content) + "\nINSERT INTO NoSuchTable (uid) VALUES (1);\n");
    const std::string fresh = DbTestEnvironment::get().fresh_data_source("postgresql");
    EXPECT_EQ(fill(fresh, broken), 1) << log();
    EXPECT_NE(log().find("NoSuchTable"), std::string::npos) << log();
    EXPECT_TRUE(postgresql_counts(fresh).empty());

    // A data source the server's folder does not hold.
    EXPECT_EQ(fill("TrvNoSuchSource", content), 1);
    EXPECT_NE(log().find("No data source TrvNoSuchSource"), std::string::npos) << log();
}

}  // namespace
