// Column specifications, unit formatting, field orders, the TABLE element
// from records and layouts held in memory, and the server's pseudo-columns.
#include "loader.h"
#include "qr_map.h"
#include "table_xml.h"
#include "xml_golden.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

namespace {

TEST(QrMap, SetReplacesInPlaceAndAppendsNewKeys)
{
    qr_map<long, long> m;
    m.set(5, 1);
    m.set(-2, 2);
    m.set(5, 3);  // replaced where it stands
    m.set(0, 4);
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m.pairs()[0], (std::pair<long, long>(5, 3)));
    EXPECT_EQ(m.pairs()[1], (std::pair<long, long>(-2, 2)));
    EXPECT_EQ(m.pairs()[2], (std::pair<long, long>(0, 4)));
    ASSERT_NE(m.find(-2), nullptr);
    EXPECT_EQ(*m.find(-2), 2);
    EXPECT_EQ(m.find(7), nullptr);
}

TEST(FormatUnitValue, Table)
{
    struct Case {
        int unit;
        const char* in;
        const char* out;
    } cases[] = {
        {UNIT_KB, "2048", "2 Kb"},
        {UNIT_KB, "511", ""},  // rounds to 0
        {UNIT_KB, "1536", "2 Kb"},  // 1.5 rounds up
        {UNIT_MB, "3145728", "3 Mb"},
        {UNIT_GB, "1610612736", "2 Gb"},
        {UNIT_KHZ, "2500", "3 KHz"},
        {UNIT_MHZ, "100000000", "100 MHz"},
        {UNIT_MHZ, "fast", ""},  // no number reads 0
        {UNIT_GHZ, "2400000000", "2 GHz"},  // 2.4 rounds down
        {UNIT_GHZ, "2.6e9 Hz", "3 GHz"},    // the leading number only
        {UNIT_BITS, "100000000", "100000000 Bits"},
        {UNIT_BITS, "0", ""},
        {UNIT_BITS, "abc", ""},
        {UNIT_NONE, "2048", "2048"},
        {8, "2048", "2048"},
        {-1, "x", "x"},
    };
    for (const Case& c : cases) {
        std::string text = c.in;
        format_unit_value(c.unit, text);
        EXPECT_EQ(text, c.out) << "unit " << c.unit << " of " << c.in;
    }
}

TEST(ParseColumnSpec, TitleFlagsAndUnits)
{
    struct Case {
        const char* spec;
        const char* title;
        bool hidden, index, parent, sort, compare_field, compare_title;
        int unit;
    } cases[] = {
        {" Total Size , kb , sort ", "TotalSize", false, false, false, true, false, false, UNIT_KB},
        {"Clock,MHZ,GHz", "Clock", false, false, false, false, false, false, UNIT_GHZ},  // last unit wins
        {"Id,Hidden,INDEX,parent,CompareField,comparetitle", "Id", true, true, true, false, true, true, 0},
        // Keywords match whole parts: no unit hides inside a longer word.
        {"Kbps Rate,Mbits,bitsy,GBX", "KbpsRate", false, false, false, false, false, false, 0},
        {"Sort", "Sort", false, false, false, true, false, false, 0},  // the first part is a keyword too
        {"Memory,\"kb\"", "Memory", false, false, false, false, false, false, 0},  // quoted text keeps its case
        {"", "", false, false, false, false, false, false, 0},
    };
    for (const Case& c : cases) {
        std::string spec = c.spec;
        bool hidden = false, index = false, parent = false, sort = false, field = false, title = false;
        int unit = 99;
        parse_column_spec(spec, &hidden, &index, &parent, &sort, &field, &title, &unit, nullptr);
        EXPECT_EQ(spec, c.title) << c.spec;
        EXPECT_EQ(hidden, c.hidden) << c.spec;
        EXPECT_EQ(index, c.index) << c.spec;
        EXPECT_EQ(parent, c.parent) << c.spec;
        EXPECT_EQ(sort, c.sort) << c.spec;
        EXPECT_EQ(field, c.compare_field) << c.spec;
        EXPECT_EQ(title, c.compare_title) << c.spec;
        EXPECT_EQ(unit, c.unit) << c.spec;
    }
}

TEST(ParseColumnSpec, WritesAttributesInOrder)
{
    TiXmlElement column("COLUMN");
    column.SetAttribute("name", "Shown");
    std::string spec = "Disk Size,sort,hidden,parent,index,mb";
    parse_column_spec(spec, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &column);
    EXPECT_EQ(print_xml(column), R"(<COLUMN name="Shown" hidden="1" index="1" parent="1" sort="1" defname="DiskSize" />)");

    TiXmlElement plain("COLUMN");
    std::string none = "Plain";
    parse_column_spec(none, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &plain);
    EXPECT_EQ(print_xml(plain), R"(<COLUMN defname="Plain" />)");
}

LayoutGroup group(const std::string& name, const std::string& def,
                  std::vector<std::tuple<int, std::string, std::string, int>> fields)
{
    LayoutGroup g;
    g.GroupName = name;
    g.DefGroupName = def;
    for (auto& [index, spec, field_name, order] : fields)
        g.fields[index] = LayoutField{spec, field_name, order};
    return g;
}

ScanColumn entry(std::vector<std::string> values)
{
    ScanColumn c;
    c.index = 0;
    c.values = std::move(values);
    return c;
}

TEST(FieldOrder, WalkSortsAndEndsForAnyDisplayOrder)
{
    // Negative and far-apart orders: counting up from 0 would never reach
    // -1, and the walk must still end and list every field.
    LayoutGroup g = group("G", "D", {{0, "", "a", 7}, {1, "", "b", -1}, {2, "", "c", 1000000}, {3, "", "d", 0}});
    EXPECT_EQ(walk_field_order(build_field_order(g, 4)), (std::vector<long>{1, 3, 0, 2}));
    // Only the fields below the first record's length count.
    EXPECT_EQ(walk_field_order(build_field_order(g, 2)), (std::vector<long>{1, 0}));
    // The same display order twice: the higher field index stays.
    LayoutGroup same = group("G", "D", {{0, "", "a", 1}, {2, "", "c", 1}, {1, "", "b", 0}});
    EXPECT_EQ(walk_field_order(build_field_order(same, 3)), (std::vector<long>{1, 2}));
    // Unnamed fields are not shown.
    LayoutGroup unnamed = group("G", "D", {{0, "", "", 0}, {1, "", "b", 1}});
    EXPECT_EQ(walk_field_order(build_field_order(unnamed, 2)), (std::vector<long>{1}));
}

TEST(TableXml, NothingWithoutGroupOrEntry)
{
    ScanDataTable empty_table;
    TabLayout layout{group("G", "D", {{0, "", "a", 0}})};
    TiXmlElement a("TABLE");
    DataLoader::tab_to_xml(empty_table, a, layout, true);
    EXPECT_EQ(print_xml(a), "<TABLE />");

    ScanDataTable one;
    one.add_column(entry({"x"}));
    TiXmlElement b("TABLE");
    EXPECT_EQ(DataLoader::tab_to_xml(one, b, TabLayout(), false), 0);
    EXPECT_EQ(print_xml(b), "<TABLE />");
}

TEST(TableXml, HorizontalOneGroupWithUnitsAndEmptyRows)
{
    ScanDataTable t;
    t.add_column(entry({"eth0", "1000000000", "2048"}));
    t.add_column(entry({"", "", ""}));  // a record with no data
    t.add_column(entry({"lo"}));        // shorter than the first record
    TabLayout layout{group("Main", "General",
                           {{0, "Name,SORT", "Name", 1}, {1, "Speed,MHZ", "Speed", 0}, {2, "Buf,kb,hidden", "Buffer", 2}})};
    TiXmlElement table("TABLE");
    table.SetAttribute("tabid", 4);
    DataLoader::tab_to_xml(t, table, layout, true);
    EXPECT_EQ(print_xml(table),
              "<TABLE tabid=\"4\" has_empty_rows=\"1\">"
              "<HEADER>"
              "<COLUMN name=\"Speed\" defname=\"Speed\" />"
              "<COLUMN name=\"Name\" sort=\"1\" defname=\"Name\" />"
              "<COLUMN name=\"Buffer\" hidden=\"1\" defname=\"Buf\" />"
              "</HEADER>"
              "<ROWS>"
              "<ROW><CELLS><CELL text=\"1000 MHz\" /><CELL text=\"eth0\" /><CELL text=\"2 Kb\" /></CELLS></ROW>"
              "<ROW empty=\"1\"><CELLS><CELL text=\"\" /><CELL text=\"\" /><CELL text=\"\" /></CELLS></ROW>"
              "<ROW><CELLS><CELL text=\"\" /><CELL text=\"lo\" /><CELL text=\"\" /></CELLS></ROW>"
              "</ROWS>"
              "</TABLE>");
}

TEST(TableXml, VerticalHeadersAndRowAttributes)
{
    TabLayout layout{group("Main", "General", {{0, "Mem,MB,index", "Memory", 0}, {1, "Cpu", "CPU", 1}})};
    ScanDataTable one;
    one.add_column(entry({"1048576", "x86"}));
    TiXmlElement a("TABLE");
    DataLoader::tab_to_xml(one, a, layout, false);
    EXPECT_EQ(print_xml(a),
              "<TABLE>"
              "<HEADER><COLUMN name=\"Property\" /><COLUMN name=\"Value\" /></HEADER>"
              "<ROWS>"
              "<ROW index=\"1\" defname=\"Mem\"><CELLS><CELL text=\"Memory\" /><CELL text=\"1 Mb\" /></CELLS></ROW>"
              "<ROW defname=\"Cpu\"><CELLS><CELL text=\"CPU\" /><CELL text=\"x86\" /></CELLS></ROW>"
              "</ROWS>"
              "</TABLE>");

    ScanDataTable two;
    two.add_column(entry({"", "x86"}));
    two.add_column(entry({"", "arm"}));
    TiXmlElement b("TABLE");
    DataLoader::tab_to_xml(two, b, layout, false);
    EXPECT_EQ(print_xml(b),
              "<TABLE has_empty_rows=\"1\">"
              "<HEADER><COLUMN name=\"Property\" /><COLUMN name=\"Value 1\" /><COLUMN name=\"Value 2\" /></HEADER>"
              "<ROWS>"
              "<ROW index=\"1\" defname=\"Mem\" empty=\"1\"><CELLS><CELL text=\"Memory\" /><CELL text=\"\" />"
              "<CELL text=\"\" /></CELLS></ROW>"
              "<ROW defname=\"Cpu\"><CELLS><CELL text=\"CPU\" /><CELL text=\"x86\" /><CELL text=\"arm\" /></CELLS></ROW>"
              "</ROWS>"
              "</TABLE>");
}

TEST(TableXml, GroupsHoldTheirRowsInLayoutOrder)
{
    ScanDataTable t;
    t.add_column(entry({"a", "b", "c"}));
    TabLayout layout{group("Main", "General", {{0, "F0", "Zero", 0}, {2, "F2", "Two", 1}}),
                     group("Other", "Misc", {{1, "F1", "One", 0}})};
    TiXmlElement table("TABLE");
    DataLoader::tab_to_xml(t, table, layout, true);
    EXPECT_EQ(print_xml(table),
              "<TABLE>"
              "<HEADER><COLUMN name=\"Zero\" defname=\"F0\" /><COLUMN name=\"Two\" defname=\"F2\" /></HEADER>"
              "<GROUPS>"
              "<GROUP name=\"Main\" defname=\"General\"><ROWS>"
              "<ROW><CELLS><CELL text=\"a\" /><CELL text=\"c\" /></CELLS></ROW>"
              "</ROWS></GROUP>"
              "<GROUP name=\"Other\" defname=\"Misc\"><ROWS>"
              "<ROW><CELLS><CELL text=\"b\" /></CELLS></ROW>"
              "</ROWS></GROUP>"
              "</GROUPS>"
              "</TABLE>");
}

TEST(AddServerFields, FillsPseudoColumnsByName)
{
    ScanDataTable t;
    auto col = [](std::vector<std::string> v) {
        ScanColumn c;
        c.values = std::move(v);
        return c;
    };
    t.add_column(col({"old ip"}));          // server_ip: first value replaced
    t.add_column(col({}));                  // server_dns: appended
    t.add_column(col({"r1", "r2", "r3"}));  // a scanned column: three rows
    t.add_column(col({"9"}));               // server_index: replaced, then appended
    t.add_column(col({"keep"}));            // server_sysobjid with an empty sysObjectID
    t.add_column(col({"x"}));               // unknown name
    t.add_column(col({"y"}));               // no name given
    std::vector<std::string> names = {"server_ip", "server_dns", "ifDescr", "server_index", "server_sysobjid", "Server_IP"};
    add_server_fields(t, names, "10.0.0.1", "host.example", "unused", "");
    EXPECT_EQ(t.columns[0].values, (std::vector<std::string>{"10.0.0.1"}));
    EXPECT_EQ(t.columns[1].values, (std::vector<std::string>{"host.example"}));
    EXPECT_EQ(t.columns[2].values, (std::vector<std::string>{"r1", "r2", "r3"}));
    EXPECT_EQ(t.columns[3].values, (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(t.columns[4].values, (std::vector<std::string>{"keep"}));
    EXPECT_EQ(t.columns[5].values, (std::vector<std::string>{"x"}));
    EXPECT_EQ(t.columns[6].values, (std::vector<std::string>{"y"}));

    add_server_fields(t, {"server_sysobjid", "server_dns"}, "", "", "", ".1.3.6.1.4.1.9");
    EXPECT_EQ(t.columns[0].values, (std::vector<std::string>{".1.3.6.1.4.1.9"}));
    EXPECT_EQ(t.columns[1].values, (std::vector<std::string>{"host.example"}));  // an empty name changes nothing
}

}  // namespace
