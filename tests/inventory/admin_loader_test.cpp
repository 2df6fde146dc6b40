// The loader's reads of the administration database, on the fixture database,
// on SQLite and on PostgreSQL.
#include "admin_fixture.h"
#include "db_test_env.h"

#include "datasource_files.h"
#include "dialect.h"
#include "loader.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string device_a = "1.3.6.1.4.1.9.1.516";

class AdminLoaderTest : public DbBackendTest {
protected:
    void SetUp() override
    {
        fixture_ = &AdminFixture::get(backend());
        loader_ = fixture_->loader.get();
    }

    MapLineFilter device(const std::string& table, const std::string& oid = device_a, int cls = 20, int grp = 2,
                         int vnd = 9, int agent = 0) const
    {
        return MapLineFilter(table, oid, cls, grp, vnd, agent);
    }

    static std::vector<int> uids(const MapLineList& lines)
    {
        std::vector<int> out;
        for (const MapLine& l : lines)
            out.push_back(l.get_index());
        return out;
    }

    static std::vector<int> sorted(std::vector<int> v)
    {
        std::sort(v.begin(), v.end());
        return v;
    }

    AdminFixture* fixture_ = nullptr;
    DataLoader* loader_ = nullptr;
};

// ---- Map-line selection ------------------------------------------------------

TEST_P(AdminLoaderTest, ExactDeviceRowsByAgentType)
{
    struct Case {
        int agent;
        std::vector<int> expected;
    } cases[] = {
        {2, {12}},  // rows of the device's own agent type come alone
        {5, {13}},
        {1, {10}},  // otherwise the rows with a null Agent
        {7, {10}},  // ... for any agent type; rows of other agent types never
    };
    for (const Case& c : cases) {
        MapLineList lines;
        DataLoader::get_map_lines(loader_, lines, device("MapInterfaces", device_a, 30, 3, 311, c.agent), -1, -1);
        EXPECT_EQ(uids(lines), c.expected) << "agent " << c.agent;
    }
}

TEST_P(AdminLoaderTest, MapLineFieldsAndEnumSpecifications)
{
    MapLineList lines;
    DataLoader::get_map_lines(loader_, lines, device("MapInterfaces", device_a, 20, 2, 9, 1), -1, -1);
    ASSERT_EQ(lines.size(), 1u);
    const MapLine& l = lines[0];
    EXPECT_EQ(l.get_index(), 10);
    EXPECT_EQ(l.value_flag, 0);
    EXPECT_EQ(l.TableOID, ".1.3.6.1.2.1.2.2");
    EXPECT_EQ(l.Plugin, "std");
    EXPECT_EQ(l.ScanOrder, 1);
    EXPECT_EQ(l.get_name(), "");
    EXPECT_EQ(l.values, (std::vector<std::string>{".1.3.6.1.2.1.2.2.1.2", ".1.3.6.1.2.1.2.2.1.3", ""}));
    ASSERT_EQ(l.enum_specs.size(), 1u);
    ASSERT_NE(l.enum_specs.find(1), nullptr);
    EXPECT_EQ(*l.enum_specs.find(1), "IfTypes");

    MapLineList value_line;
    DataLoader::get_map_lines(loader_, value_line, device("MapInterfaces", device_a, 20, 2, 9, 5), -1, -1);
    ASSERT_EQ(value_line.size(), 1u);
    EXPECT_EQ(value_line[0].value_flag, 1);
    EXPECT_EQ(value_line[0].Plugin, "qor");
}

TEST_P(AdminLoaderTest, StrategiesApplyOnlyWithoutExactRows)
{
    const std::string other = "1.3.6.1.4.1.311.1.1.3.1.2";
    struct Case {
        const char* what;
        MapLineFilter filter;
        std::vector<int> expected;
    } cases[] = {
        // Device A is a server here too, but its own rows win.
        {"exact", device("MapInterfaces", device_a, 30, 3, 311, 1), {10}},
        {"all three ids, exact agent", device("MapInterfaces", other, 30, 3, 311, 1), {41}},
        {"class only, null agent", device("MapInterfaces", other, 30, 9, 5, 1), {40}},
        {"class only, other class", device("MapInterfaces", other, 20, 0, 0, 1), {42}},
        {"nothing", device("MapInterfaces", other, 77, 0, 0, 1), {}},
    };
    for (const Case& c : cases) {
        MapLineList lines;
        DataLoader::get_map_lines(loader_, lines, c.filter, -1, -1);
        EXPECT_EQ(uids(lines), c.expected) << c.what;
    }
}

TEST_P(AdminLoaderTest, NoStrategyRowsAndNoExactMatchGiveNothing)
{
    auto db = fixture_->connect();
    DB_DATA saved = db->query("SELECT ScOrder, _Class, _Group, _Vendor FROM ScanOrder");
    db->query("DELETE FROM ScanOrder");
    MapLineList lines;
    {
        LogCapture log;
        DataLoader::get_map_lines(loader_, lines,
                                  device("MapInterfaces", "1.3.6.1.4.1.311.1", 30, 3, 311, 1), -1, -1);
        EXPECT_EQ(log.count("Can not find any map lines for block: -1"), 1);
    }
    for (int r = 0; r < saved.RowCount(); ++r)
        db->get_stmnt_results("INSERT INTO ScanOrder (ScOrder, _Class, _Group, _Vendor) VALUES (?, ?, ?, ?)",
                              {int32_t(saved.Column("ScOrder").GetLong(r)), saved.Column("_Class").GetString(r),
                               saved.Column("_Group").GetString(r), saved.Column("_Vendor").GetString(r)});
    EXPECT_TRUE(lines.empty());
}

TEST_P(AdminLoaderTest, FormulaResolvesBlockThenSingleLine)
{
    MapLineList lines;
    LogCapture log;
    DataLoader::resolve_block(loader_, lines, device("MapSummary"), -1);
    // "B5 OR 7": block 5's lines (any order within the block), then ScanOrder 7; never 8.
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(sorted({lines[0].get_index(), lines[1].get_index()}), (std::vector<int>{51, 52}));
    EXPECT_EQ(lines[2].get_index(), 70);
    EXPECT_EQ(lines[2].values, (std::vector<std::string>{".1.3.6.1.2.1.1.1.0", "\"literal, with comma\""}));
    // The enum specification of block 5 comes from block 5's own ENUMTABLE row.
    for (const MapLine& l : lines) {
        if (l.get_index() == 52) {
            ASSERT_NE(l.enum_specs.find(1), nullptr);
            EXPECT_EQ(*l.enum_specs.find(1), "StatusCodes,code,label,text");
        } else {
            EXPECT_TRUE(l.enum_specs.empty()) << l.get_index();
        }
    }
    EXPECT_EQ(log.count("Block have formula: B57"), 1);
    EXPECT_EQ(log.count("Getting group:5"), 1);
    EXPECT_EQ(log.count("Getting single line, OrderId=7"), 1);
    EXPECT_EQ(log.count("Block 5 have no formula"), 1);
}

TEST_P(AdminLoaderTest, FormulaCycleIsLoggedNotFollowed)
{
    MapLineList lines;
    LogCapture log;
    DataLoader::resolve_block(loader_, lines, device("MapCycle"), -1);
    // GroupName "4" first, then block 1 ("B2 OR 3"), whose block 2 refers back to 1 and to itself.
    EXPECT_EQ(uids(lines), (std::vector<int>{40, 13}));
    EXPECT_EQ(log.count("form a cycle"), 2);
}

TEST_P(AdminLoaderTest, FormulaNestingAndTotalWorkAreBounded)
{
    MapLineList lines;
    {
        LogCapture log;
        DataLoader::resolve_block(loader_, lines, device("MapDeep"), -1);
        // Block 31 is the deepest followed; block 32 is one too deep.
        EXPECT_EQ(uids(lines), (std::vector<int>{131}));
        EXPECT_EQ(log.count("nest deeper than 32 blocks at block 32"), 1);
    }
    lines.clear();
    {
        LogCapture log;
        DataLoader::resolve_block(loader_, lines, device("MapWide"), -1);
        EXPECT_EQ(log.count("name more than 1000 blocks in all"), 1);
        EXPECT_EQ(log.count("Block="), 1000);
        EXPECT_GT(lines.size(), 0u);
        EXPECT_LT(lines.size(), 1000u);
        for (const MapLine& l : lines)
            EXPECT_EQ(l.get_index(), 20);
    }
    // The budget belongs to one resolution: the next starts afresh.
    lines.clear();
    DataLoader::resolve_block(loader_, lines, device("MapSummary"), -1);
    EXPECT_EQ(sorted(uids(lines)), (std::vector<int>{51, 52, 70}));
}

TEST_P(AdminLoaderTest, BlockFormulasKeyGroupNameAsMinusOne)
{
    FormulaList formulas;
    ASSERT_TRUE(DataLoader::get_block_formulas(loader_, formulas, device("MapCycle"), -1));
    EXPECT_EQ(formula_text(formulas), "4B1");
    ASSERT_NE(formulas.find(-1), nullptr);
    ASSERT_NE(formulas.find(0), nullptr);
    EXPECT_EQ(formulas.begin()->key, -1);

    FormulaList none;
    EXPECT_FALSE(DataLoader::get_block_formulas(loader_, none, device("MapSummary"), 5));
    EXPECT_TRUE(none.empty());
}

TEST_P(AdminLoaderTest, CellGapSkipsColumnAndStopsSpecsAndLayout)
{
    MapLineList lines;
    DataLoader::get_map_lines(loader_, lines, device("MapGap"), -1, -1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].values, (std::vector<std::string>{"a", "b", "d"}));
    EXPECT_EQ(lines[0].enum_specs.size(), 2u);
    EXPECT_EQ(lines[0].enum_specs.find(2), nullptr);

    TabLayout layout = DataLoader::get_tab_layout(loader_, device("MapGap"));
    ASSERT_EQ(layout.size(), 1u);
    ASSERT_EQ(layout[0].fields.size(), 2u);
    const LayoutField* second = layout[0].fields.find(1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->field_name, "second");
    EXPECT_EQ(second->column_spec, "B");
    EXPECT_EQ(second->order, 1);  // no FIELDORDER row: position order
}

TEST_P(AdminLoaderTest, TabLayoutGroupsFieldsAndOrders)
{
    TabLayout layout = DataLoader::get_tab_layout(loader_, device("MapInterfaces"));
    ASSERT_EQ(layout.size(), 2u);
    // Two groups in the database's order; look them up by name.
    const LayoutGroup* main = layout[0].GroupName == "Main" ? &layout[0] : &layout[1];
    const LayoutGroup* other = layout[0].GroupName == "Main" ? &layout[1] : &layout[0];
    ASSERT_EQ(main->GroupName, "Main");
    ASSERT_EQ(other->GroupName, "Other");
    EXPECT_EQ(main->DefGroupName, "General");
    EXPECT_EQ(other->DefGroupName, "Misc");

    ASSERT_EQ(main->fields.size(), 2u);  // the empty f2 cell leaves field 1 out
    EXPECT_EQ(main->fields.find(1), nullptr);
    const LayoutField* name = main->fields.find(0);
    const LayoutField* speed = main->fields.find(2);
    ASSERT_TRUE(name && speed);
    EXPECT_EQ(name->field_name, "Name");
    EXPECT_EQ(name->column_spec, "Name;text");
    EXPECT_EQ(name->order, 2);
    EXPECT_EQ(speed->column_spec, "Speed;number");
    EXPECT_EQ(speed->order, 1);

    ASSERT_EQ(other->fields.size(), 1u);
    ASSERT_NE(other->fields.find(1), nullptr);
    EXPECT_EQ(other->fields.find(1)->field_name, "Type");
    EXPECT_EQ(other->fields.find(1)->order, 0);
}

TEST_P(AdminLoaderTest, TabsToScan)
{
    auto tab_ids = [](const ScanSet& s) {
        std::vector<int> out;
        for (const ScanEntry& e : s)
            out.push_back(e.tab_id);
        return out;
    };

    ScanSet enabled;
    EXPECT_TRUE(DataLoader::get_tabs_to_scan(loader_, device("SNMPWhat2Scan"), enabled, IntArray(), 0));
    EXPECT_EQ(sorted(tab_ids(enabled)), (std::vector<int>{1, 2}));
    for (const ScanEntry& e : enabled) {
        EXPECT_EQ(e.attempts, 5);
        EXPECT_FALSE(e.preparing);
        if (e.tab_id == 2) {
            EXPECT_EQ(e.name, "Interfaces");
            EXPECT_EQ(e.map_name, "MapInterfaces");
            EXPECT_EQ(e.data_name, "ScanInterfacesData");
            EXPECT_EQ(e.horlayout, 1);
            EXPECT_EQ(e.agent_cat, 0);
            EXPECT_EQ(e.scan_order, 20);
        }
    }

    IntArray explicit_ids;
    explicit_ids.Add(4);
    explicit_ids.Add(1);
    ScanSet chosen;
    DataLoader::get_tabs_to_scan(loader_, device("SNMPWhat2Scan"), chosen, explicit_ids, 3);
    EXPECT_EQ(sorted(tab_ids(chosen)), (std::vector<int>{1, 4}));  // the disabled tab 4 too
    for (const ScanEntry& e : chosen) {
        EXPECT_EQ(e.attempts, 3);
        if (e.tab_id == 4) {
            EXPECT_EQ(e.name, "Extra's");
            EXPECT_EQ(e.agent_cat, 2);
            EXPECT_EQ(e.map_name, "MapCycle");
        }
    }

    // Through a strategy the rows come ordered by ScanOrder.
    ScanSet server;
    EXPECT_TRUE(DataLoader::get_tabs_to_scan(loader_, device("SNMPWhat2Scan", "1.3.6.1.4.1.311.1", 30, 3, 311, 1),
                                             server, IntArray(), -2));
    EXPECT_EQ(tab_ids(server), (std::vector<int>{1, 3}));
    ASSERT_EQ(server.Count(), 2);
    EXPECT_EQ(server[1].attempts, 5);

    // A device whose table is missing is no device without tabs: the read fails.
    ScanSet none;
    EXPECT_FALSE(DataLoader::get_tabs_to_scan(loader_, device("NoSuchWhat2Scan"), none, IntArray(), 0));
    EXPECT_EQ(none.Count(), 0);
}

TEST_P(AdminLoaderTest, InvalidTableNameIsRefusedAndLogged)
{
    LogCapture log;
    MapLineList lines;
    DataLoader::get_map_lines(loader_, lines, device("MapGap; DROP TABLE MapGap"), -1, -1);
    DataLoader::get_map_lines(loader_, lines, device("MapGap"), 1, -1);  // block query path
    TabLayout layout = DataLoader::get_tab_layout(loader_, device("Map Gap"));
    EXPECT_TRUE(layout.empty());
    EXPECT_EQ(log.count("Invalid table name 'MapGap; DROP TABLE MapGap'"), 1);
    EXPECT_EQ(log.count("Invalid table name 'Map Gap'"), 1);
    // The table is still there, and the valid block query found nothing in block 1.
    MapLineList again;
    DataLoader::get_map_lines(loader_, again, device("MapGap"), -1, -1);
    EXPECT_EQ(again.size(), 1u);
    EXPECT_EQ(lines.size(), 0u);
}

// ---- Device identification -----------------------------------------------------

TEST_P(AdminLoaderTest, DeviceIdentification)
{
    struct Case {
        const char* what;
        std::string oid;
        bool found;
        std::string oid_after;
        int cls, grp, vnd;
    } cases[] = {
        {"exact row", "1.3.6.1.4.1.9.1.516", true, "1.3.6.1.4.1.9.1.516", 20, 2, 9},
        // A prefix row of another model must not take the device.
        {"9.1.51 is not 9.1.516", "1.3.6.1.4.1.9.1.51", true, "1.3.6.1.4.1.9.1.51", 10, 1, 9},
        {"parent arc", "1.3.6.1.4.1.2636.1.516", true, "1.3.6.1.4.1.2636.1", 10, 1, 2636},
        // Of a subtree's rows the first by OID, whatever order they were stored in.
        {"subtree of a dotted prefix", "1.3.6.1.4.1.9.1.777", true, "1.3.6.1.4.1.9.1.51", 10, 1, 9},
        {"enterprise 99 is not 999", "1.3.6.1.4.1.99.7", false, "1.3.6.1.4.1.99.7", -1, -1, 99},
        {"enterprise 4 stays in its arc", "1.3.6.1.4.1.4.1.2", false, "1.3.6.1.4.1.4.1.2", -1, -1, 4},
        {"enterprise 1 stays in its arc", "1.3.6.1.4.1.1.5", false, "1.3.6.1.4.1.1.5", -1, -1, 1},
        {"enterprise 3", "1.3.6.1.4.1.3.9", false, "1.3.6.1.4.1.3.9", -1, -1, 3},
        {"enterprise 6", "1.3.6.1.4.1.6.3.1", false, "1.3.6.1.4.1.6.3.1", -1, -1, 6},
        {"no row at all", "1.3.6.1.4.1.311.1.1.3.1.2", false, "1.3.6.1.4.1.311.1.1.3.1.2", -1, -1, 311},
        {"LIKE wildcards are literal", "1.3.6.1.4.1.7_.1.5", false, "1.3.6.1.4.1.7_.1.5", -1, -1, 7},
        {"quote in the OID", "1.3.6.1.4.1.9.1.51' OR '1'='1", true, "1.3.6.1.4.1.9.1.51", 10, 1, 9},
        {"leading dot", ".1.3.6.1.4.1.8072.3.2.10", true, ".1.3.6.1.4.1.8072.3.2.10", 30, 3, 8072},
    };
    for (const Case& c : cases) {
        std::string oid = c.oid;
        int cls = -1, grp = -1, vnd = -1;
        EXPECT_EQ(DataLoader::find_device_by_sysobjid(loader_, oid, cls, grp, vnd), c.found) << c.what;
        EXPECT_EQ(vnd, c.vnd) << c.what;
        EXPECT_EQ(cls, c.cls) << c.what;
        EXPECT_EQ(grp, c.grp) << c.what;
        EXPECT_EQ(oid, c.oid_after) << c.what;
    }
}

TEST_P(AdminLoaderTest, OidOutsideEnterprisesRunsNoLookup)
{
    LogCapture log;
    std::string oid = "1.3.6.1.2.1.1";
    int cls = 5, grp = 6, vnd = 7;
    EXPECT_FALSE(DataLoader::find_device_by_sysobjid(loader_, oid, cls, grp, vnd));
    EXPECT_EQ(vnd, 7);
    EXPECT_EQ(cls, 5);
    EXPECT_EQ(oid, "1.3.6.1.2.1.1");
    EXPECT_EQ(log.count("Searching for Vendor,Group,Class"), 0);
    std::string empty;
    EXPECT_FALSE(DataLoader::find_device_by_sysobjid(loader_, empty, cls, grp, vnd));
    EXPECT_EQ(log.count("Trying"), 0);
}

TEST_P(AdminLoaderTest, NamesAndTabTypes)
{
    EXPECT_EQ(DataLoader::get_vendor_name(loader_, 9), "Cisco");
    EXPECT_EQ(DataLoader::get_vendor_name(loader_, 77), "O'Neil & Sons");
    EXPECT_EQ(DataLoader::get_vendor_name(loader_, 12345), "");
    EXPECT_EQ(DataLoader::get_group_name(loader_, 2), "Switches");
    EXPECT_EQ(DataLoader::get_group_name(loader_, -1), "");
    EXPECT_EQ(DataLoader::get_device_class_name(loader_, 30), "Server");
    EXPECT_EQ(DataLoader::get_device_class_name(loader_, 0), "");

    std::string name = "unchanged";
    int horlayout = -7, agent_cat = -7;
    DataLoader::get_tab_type(loader_, 99, name, horlayout, agent_cat);
    EXPECT_EQ(name, "unchanged");
    EXPECT_EQ(horlayout, -7);
    DataLoader::get_tab_type(loader_, 3, name, horlayout, agent_cat);
    EXPECT_EQ(name, "Software");
    EXPECT_EQ(horlayout, 1);
    EXPECT_EQ(agent_cat, 1);

    std::string map = "m", data = "d";
    DataLoader::get_table_names(loader_, 99, map, data);
    EXPECT_EQ(map, "m");
    DataLoader::get_table_names(loader_, 2, map, data);
    EXPECT_EQ(map, "MapInterfaces");
    EXPECT_EQ(data, "ScanInterfacesData");
}

// ---- Enum translation ------------------------------------------------------------

TEST_P(AdminLoaderTest, EnumTranslation)
{
    struct Case {
        const char* what;
        std::string spec, column_name;
        std::vector<std::string> cells, expected;
    } cases[] = {
        // Not found appends the raw text, and ';' in a name becomes ','.
        {"numeric, table only", "IfTypes", "", {"1", "", "x", "2,3"}, {"other", "", "x", "Two,Dual,2,3"}},
        {"numeric list", "IfTypes", "", {"6,1", "7", "99999999999999999999"},
         {"ethernetCsmacd,other", "7", "99999999999999999999"}},
        {"quoted keys", "StatusCodes,code,label,text", "",
         {"up", "o'brien", "100%", "10%", "down", "up,down"},
         {"Running", "Quoted key", "Full", "10%", "down", "Running,up,down"}},
        {"OID form", "OidEnum,1.3.6.1.4.1.311,uid,name,numeric", "", {"1", "2"}, {"ms-one", "2"}},
        {"column form", "FieldEnum,Field,uid,name,numeric", "Duplex", {"1"}, {"full"}},
        {"bad table name", "IfTypes;DELETE FROM IfTypes", "", {"1", "a;b"}, {"1", "a,b"}},
    };
    for (const Case& c : cases) {
        std::vector<ScanColumn> columns(2);
        columns[0].values = {"1"};  // no specification: untouched
        columns[1].values = c.cells;
        columns[1].name = c.column_name;
        KeyedList<std::string> specs;
        specs[1] = c.spec;
        DataLoader::get_enum_value(loader_, columns, specs);
        EXPECT_EQ(columns[0].values, (std::vector<std::string>{"1"})) << c.what;
        EXPECT_EQ(columns[1].values, c.expected) << c.what;
        EXPECT_NE(specs.find(0), nullptr) << c.what;  // looked up, so present (empty)
    }
    // The refused specification did not run: the table keeps its rows.
    auto db = fixture_->connect();
    EXPECT_EQ(db->query("SELECT COUNT(*) AS n FROM IfTypes").Column("n").GetLong(0), 3);
}

// ---- Compaction ---------------------------------------------------------------------

TEST_P(AdminLoaderTest, CompactionRunsAsAnOperationAndShrinksSqliteFiles)
{
    const std::string dsn = fresh();
    auto db = open_connection(dsn);
    db->query("CREATE TABLE filler (id INTEGER, txt TEXT)");
    const std::string text(4000, 'x');
    for (int i = 0; i < 200; ++i)
        db->get_stmnt_results("INSERT INTO filler (id, txt) VALUES (?, ?)", {int32_t(i), text});
    db->query("DELETE FROM filler");
    db.reset();

    const std::string file = get_dsn_file(dsn);
    EXPECT_EQ(file.empty(), is_postgresql());
    const uint32_t before = file.empty() ? 0 : database_file_size(file);

    std::unique_ptr<MSSQLPool> pool(MSSQLPool_ctor(1, dsn, dsn, "", ""));
    pool->open_all();
    qr_mutex db_mutex;
    {
        DataLoader loader(pool.get(), &db_mutex, true);
        EXPECT_EQ(DataLoader::compact_database(&loader, SqlDialect::for_dsn(dsn)), 0);
    }
    EXPECT_EQ(open_connection(dsn)->query("SELECT COUNT(*) AS n FROM filler").Column("n").GetLong(0), 0);
    if (!file.empty()) {
        const uint32_t after = database_file_size(file);
        EXPECT_LT(after, before / 4) << before << " -> " << after;
    }
    EXPECT_EQ(DataLoader::compact_database(nullptr, SqlDialect::sqlite()), -1);
}

INSTANTIATE_TEST_SUITE_P(Db, AdminLoaderTest, TRV_DB_BACKENDS, [](const auto& i) { return i.param; });

}  // namespace
