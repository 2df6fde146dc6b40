// TABLE elements as the GETTABLE handler builds them: a host's stored rows
// from the fixture inventory, the tab layout from the fixture administration
// database, byte for byte, on SQLite and PostgreSQL.
#include "admin_fixture.h"
#include "db_test_env.h"
#include "inventory_fixture.h"
#include "xml_golden.h"

#include "loader.h"
#include "schema_scripts.h"
#include "table_xml.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cstdlib>
#include <mutex>
#include <set>

namespace {

using namespace inventory_fixture;

const char* const device_oid = "1.3.6.1.4.1.9.1.516";

class TableDbTest : public DbBackendTest {
protected:
    void SetUp() override
    {
        admin_ = &AdminFixture::get(backend());
        load_maps_once();
        db_ = InventoryDb::make(backend());
    }

    // The fixture administration database lives for the whole process; its
    // extra map tables are added once per backend.
    void load_maps_once()
    {
        static std::mutex m;
        static std::set<std::string> loaded;  // guarded by m
        std::lock_guard<std::mutex> hold(m);
        if (!loaded.insert(backend()).second)
            return;
        const char* source = std::getenv("TRV_SOURCE_DIR");
        ASSERT_NE(source, nullptr);
        run_schema_script(*admin_->connect(),
                          read_file_text(std::string(source) + "/tests/inventory/fixtures/table_maps.sql"));
    }

    TabLayout layout(const std::string& map_table) const
    {
        return DataLoader::get_tab_layout(admin_->loader.get(), MapLineFilter(map_table, device_oid, 20, 2, 9, 1));
    }

    // What the GETTABLE handler sends: tabid and synch, the elements, horlayout.
    std::string table_xml(const std::string& data_table, int host, const std::string& map_table, int horlayout)
    {
        ScanDataTable rows;
        DataLoader::read_data_table(db_->loader.get(), rows, data_table, host);
        TiXmlElement table("TABLE");
        table.SetAttribute("tabid", 9);
        table.SetAttribute("synch", 3);
        EXPECT_EQ(DataLoader::tab_to_xml(rows, table, layout(map_table), horlayout != 0), 0);
        table.SetAttribute("horlayout", horlayout);
        return print_xml(table);
    }

    void insert_disks(int host)
    {
        auto c = db_->connect();
        const char* rows[][4] = {
            {"sda", "Disk 'one' <ssd> & \"fast\" \xc3\xa9", "2048", "2400000000"},
            {nullptr, nullptr, nullptr, nullptr},  // a record with no values at all
            {"sdb", "Second", "511", "fast"},
        };
        for (const auto& r : rows) {
            qr_sql_params params{int32_t(host)};
            for (const char* v : r)
                params.push_back(v ? qr_sql_param(std::string(v)) : qr_sql_param(qr_sql_null{}));
            c->get_stmnt_results("INSERT INTO ScanCPUData (uid, host_id, Data1, Data2, Data3, Data4) "
                                 "VALUES (0, ?, ?, ?, ?, ?)",
                                 params);
        }
    }

    AdminFixture* admin_ = nullptr;
    std::unique_ptr<InventoryDb> db_;
};

const char* const disks_columns =
    "<COLUMN name=\"Description\" hidden=\"1\" defname=\"Description\" />"
    "<COLUMN name=\"Size\" defname=\"TotalSize\" />"
    "<COLUMN name=\"Device\" sort=\"1\" defname=\"Device\" />"
    "<COLUMN name=\"Clock\" index=\"1\" defname=\"Clock\" />";

TEST_P(TableDbTest, HorizontalWithUnitsKeywordsAndNegativeOrder)
{
    insert_disks(db_->ids.host_b);
    EXPECT_EQ(table_xml("ScanCPUData", db_->ids.host_b, "MapXmlDisks", 1),
              std::string("<TABLE tabid=\"9\" synch=\"3\" has_empty_rows=\"1\" horlayout=\"1\">") +
                  "<HEADER>" + disks_columns + "</HEADER>"
                  "<ROWS>"
                  "<ROW><CELLS><CELL text='Disk &apos;one&apos; &lt;ssd&gt; &amp; &quot;fast&quot; \xc3\xa9' />"
                  "<CELL text=\"2 Kb\" /><CELL text=\"sda\" /><CELL text=\"2400 MHz\" /></CELLS></ROW>"
                  "<ROW empty=\"1\"><CELLS><CELL text=\"\" /><CELL text=\"\" /><CELL text=\"\" /><CELL text=\"\" />"
                  "</CELLS></ROW>"
                  "<ROW><CELLS><CELL text=\"Second\" /><CELL text=\"\" /><CELL text=\"sdb\" /><CELL text=\"\" />"
                  "</CELLS></ROW>"
                  "</ROWS></TABLE>");
}

TEST_P(TableDbTest, VerticalOneRowPerField)
{
    insert_disks(db_->ids.host_b);
    const std::string xml = table_xml("ScanCPUData", db_->ids.host_b, "MapXmlDisks", 0);
    EXPECT_EQ(xml,
              "<TABLE tabid=\"9\" synch=\"3\" horlayout=\"0\">"
              "<HEADER><COLUMN name=\"Property\" /><COLUMN name=\"Value 1\" /><COLUMN name=\"Value 2\" />"
              "<COLUMN name=\"Value 3\" /></HEADER>"
              "<ROWS>"
              "<ROW hidden=\"1\" defname=\"Description\"><CELLS><CELL text=\"Description\" />"
              "<CELL text='Disk &apos;one&apos; &lt;ssd&gt; &amp; &quot;fast&quot; \xc3\xa9' /><CELL text=\"\" />"
              "<CELL text=\"Second\" /></CELLS></ROW>"
              "<ROW defname=\"TotalSize\"><CELLS><CELL text=\"Size\" /><CELL text=\"2 Kb\" /><CELL text=\"\" />"
              "<CELL text=\"\" /></CELLS></ROW>"
              "<ROW sort=\"1\" defname=\"Device\"><CELLS><CELL text=\"Device\" /><CELL text=\"sda\" />"
              "<CELL text=\"\" /><CELL text=\"sdb\" /></CELLS></ROW>"
              "<ROW index=\"1\" defname=\"Clock\"><CELLS><CELL text=\"Clock\" /><CELL text=\"2400 MHz\" />"
              "<CELL text=\"\" /><CELL text=\"\" /></CELLS></ROW>"
              "</ROWS></TABLE>");

    // The text a console gets back is the stored text.
    TiXmlDocument parsed;
    ASSERT_TRUE(parse_xml(xml, parsed)) << parsed.ErrorDesc();
    const TiXmlElement* cell =
        parsed.RootElement()->FirstChildElement("ROWS")->FirstChildElement("ROW")->FirstChildElement("CELLS")
            ->FirstChildElement("CELL")->NextSiblingElement("CELL");
    ASSERT_NE(cell, nullptr);
    EXPECT_STREQ(cell->Attribute("text"), "Disk 'one' <ssd> & \"fast\" \xc3\xa9");
}

TEST_P(TableDbTest, GroupsInLayoutOrderFromTheFixture)
{
    // Host A's two interface rows under the two groups of the fixture map,
    // in the layout's order; the header follows the first group's fields.
    TabLayout groups = layout("MapInterfaces");
    ASSERT_EQ(groups.size(), 2u);
    ASSERT_EQ(groups[0].GroupName, "Main");
    EXPECT_EQ(table_xml("ScanInterfacesData", db_->ids.host_a, "MapInterfaces", 1),
              "<TABLE tabid=\"9\" synch=\"3\" horlayout=\"1\">"
              "<HEADER><COLUMN name=\"Speed\" defname=\"Speed;number\" />"
              "<COLUMN name=\"Name\" defname=\"Name;text\" /></HEADER>"
              "<GROUPS>"
              "<GROUP name=\"Main\" defname=\"General\"><ROWS>"
              "<ROW><CELLS><CELL text=\"ethernet\" /><CELL text=\"1\" /></CELLS></ROW>"
              "<ROW><CELLS><CELL text=\"ethernet\" /><CELL text=\"2\" /></CELLS></ROW>"
              "</ROWS></GROUP>"
              "<GROUP name=\"Other\" defname=\"Misc\"><ROWS>"
              "<ROW><CELLS><CELL text=\"Gi0/1\" /></CELLS></ROW>"
              "<ROW><CELLS><CELL text=\"Gi0/2\" /></CELLS></ROW>"
              "</ROWS></GROUP>"
              "</GROUPS></TABLE>");
}

TEST_P(TableDbTest, NoStoredRowsGiveNoHeader)
{
    EXPECT_EQ(table_xml("ScanCPUData", db_->ids.host_a, "MapXmlDisks", 1),
              "<TABLE tabid=\"9\" synch=\"3\" horlayout=\"1\" />");
}

TEST_P(TableDbTest, ServerFieldsThroughTheDatabase)
{
    // A scanned table: one column per mapped value, one value per instance.
    ScanDataTable scanned;
    for (std::vector<std::string> values : {std::vector<std::string>{}, std::vector<std::string>{"stale"},
                                            std::vector<std::string>{}, std::vector<std::string>{},
                                            std::vector<std::string>{"Gi0/1", "Gi0/2", "Gi0/3"}}) {
        ScanColumn c;
        c.values = values;
        scanned.add_column(c);
    }
    add_server_fields(scanned, {"server_ip", "server_dns", "server_index", "server_sysobjid", "ifDescr"},
                      host_a_address, host_a_dns, "", device_oid);

    // Stored one record per instance, as the scan saves it.
    const int host = db_->ids.host_b;
    for (size_t r = 0; r < scanned.row_count(); ++r) {
        ScanColumn record;
        for (const ScanColumn& c : scanned.columns)
            record.values.push_back(c.value_at(r));
        DataLoader::insert_data_row(db_->loader.get(), record, "ScanSlotsData", host);
    }

    EXPECT_EQ(table_xml("ScanSlotsData", host, "MapXmlServer", 1),
              "<TABLE tabid=\"9\" synch=\"3\" horlayout=\"1\">"
              "<HEADER><COLUMN name=\"Address\" defname=\"Address\" /><COLUMN name=\"DNS Name\" defname=\"DNS\" />"
              "<COLUMN name=\"No.\" index=\"1\" defname=\"Index\" />"
              "<COLUMN name=\"Object ID\" hidden=\"1\" defname=\"Object\" />"
              "<COLUMN name=\"Port\" defname=\"Port\" /></HEADER>"
              "<ROWS>"
              "<ROW><CELLS><CELL text=\"10.1.1.1\" /><CELL text=\"host-a.example.org\" /><CELL text=\"1\" />"
              "<CELL text=\"1.3.6.1.4.1.9.1.516\" /><CELL text=\"Gi0/1\" /></CELLS></ROW>"
              "<ROW><CELLS><CELL text=\"\" /><CELL text=\"\" /><CELL text=\"2\" /><CELL text=\"\" />"
              "<CELL text=\"Gi0/2\" /></CELLS></ROW>"
              "<ROW><CELLS><CELL text=\"\" /><CELL text=\"\" /><CELL text=\"3\" /><CELL text=\"\" />"
              "<CELL text=\"Gi0/3\" /></CELLS></ROW>"
              "</ROWS></TABLE>");
}

INSTANTIATE_TEST_SUITE_P(Backends, TableDbTest, TRV_DB_BACKENDS);

}  // namespace
