// Every operation of a missing (null) loader logs the existence error once
// and gives its neutral result, touching nothing.
#include "admin_fixture.h"
#include "loader.h"

#include <gtest/gtest.h>

namespace {

const char* const data_loader_error = "Common resource error at DataLoader, existance test failed";
const char* const admin_loader_error = "Common resource error at AdminLoader, existance test failed";

TEST(LoaderMissing, EveryOperationGivesItsNeutralResult)
{
    LogCapture log;
    DataLoader* none = nullptr;
    const MapLineFilter filter("MapInterfaces", "1.3.6.1.4.1.9.1.516", 1, 2, 9, 0);

    DB_DATA result;
    DataLoader::query_map_lines(none, result, filter, SqlCondition{"1=1", {}}, "ScanOrder");
    EXPECT_EQ(result.ColumnCount(), 0);

    MapLineList lines(1);
    DataLoader::resolve_block(none, lines, filter, -1);
    DataLoader::get_map_lines(none, lines, filter, -1, -1);
    EXPECT_EQ(lines.size(), 1u);

    FormulaList formulas;
    EXPECT_FALSE(DataLoader::get_block_formulas(none, formulas, filter, -1));
    EXPECT_TRUE(formulas.empty());

    MapLine line;
    DataLoader::get_enum_specs(none, line, filter, -1);
    EXPECT_TRUE(line.enum_specs.empty());

    ScanSet tabs;
    EXPECT_FALSE(DataLoader::get_tabs_to_scan(none, filter, tabs, IntArray(), 3));
    EXPECT_EQ(tabs.Count(), 0);

    std::string oid = "1.3.6.1.4.1.9.1.516";
    int cls = -1, grp = -1, vnd = -1;
    EXPECT_FALSE(DataLoader::find_device_by_sysobjid(none, oid, cls, grp, vnd));
    EXPECT_EQ(oid, "1.3.6.1.4.1.9.1.516");
    EXPECT_EQ(vnd, -1);

    EXPECT_EQ(DataLoader::get_device_class_name(none, 1), "");
    EXPECT_EQ(DataLoader::get_vendor_name(none, 9), "");
    EXPECT_EQ(DataLoader::get_group_name(none, 2), "");

    std::string name = "kept", map = "kept", data = "kept";
    int horlayout = 7, agent_cat = 7;
    DataLoader::get_tab_type(none, 1, name, horlayout, agent_cat);
    DataLoader::get_table_names(none, 1, map, data);
    EXPECT_EQ(name, "kept");
    EXPECT_EQ(horlayout, 7);
    EXPECT_EQ(map, "kept");

    EXPECT_EQ(log.count(data_loader_error), 12);
    EXPECT_EQ(log.count(admin_loader_error), 0);

    EXPECT_TRUE(DataLoader::get_tab_layout(none, filter).empty());
    std::vector<ScanColumn> columns(1);
    columns[0].values = {"1"};
    KeyedList<std::string> specs;
    specs[0] = "IfTypes";
    DataLoader::get_enum_value(none, columns, specs);
    EXPECT_EQ(columns[0].values[0], "1");
    EXPECT_EQ(log.count(admin_loader_error), 2);
    EXPECT_EQ(log.count(data_loader_error), 12);
    EXPECT_NE(log.text().find("Error     Common resource error"), std::string::npos);
}

TEST(LoaderMissing, IdentifierCheck)
{
    struct Case {
        const char* name;
        bool ok;
    } cases[] = {
        {"MapInterfaces", true}, {"_Class", true}, {"f100", true}, {"", false}, {"1abc", false},
        {"a b", false}, {"a;DROP", false}, {"\"q\"", false}, {"a-b", false}, {"na\xc3\xafve", false},
        {"abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabc", true},
        {"abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcd", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(is_sql_identifier(c.name), c.ok) << c.name;
    EXPECT_EQ(like_literal("9.1_5%\\x"), "9.1\\_5\\%\\\\x");
}

}  // namespace
