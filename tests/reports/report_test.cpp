// Report definitions from the administration database and whole reports over
// a fixture inventory, as the console receives them, on SQLite and PostgreSQL.
#include "db_test_env.h"
#include "recording_services.h"
#include "report_fixture.h"
#include "xml_golden.h"

#include "loader.h"
#include "qr_strings.h"
#include "report_thread.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cctype>

namespace {

constexpr const char* client = "Inventory";

std::string log_xml(const std::string& message, bool alert)
{
    TiXmlElement log("LOG");
    log.SetAttribute("text", std::string(RecordingServices::kTimeText) + " " + message);
    if (alert)
        log.SetAttribute("alert", "1");
    return print_xml(log);
}

// The cells of every ROW of a printed TABLE, joined by '|'.
std::vector<std::string> table_lines(const std::string& xml)
{
    TiXmlDocument doc;
    EXPECT_TRUE(parse_xml(xml, doc)) << xml;
    std::vector<std::string> lines;
    const TiXmlElement* rows = doc.RootElement() ? doc.RootElement()->FirstChildElement("ROWS") : nullptr;
    for (const TiXmlElement* row = rows ? rows->FirstChildElement("ROW") : nullptr; row;
         row = row->NextSiblingElement("ROW")) {
        std::string line;
        int i = 0;
        for (const TiXmlElement* cell = row->FirstChildElement("CELLS")->FirstChildElement("CELL"); cell;
             cell = cell->NextSiblingElement("CELL"))
            line += std::string(i++ ? "|" : "") + (cell->Attribute("text") ? cell->Attribute("text") : "");
        lines.push_back(line);
    }
    return lines;
}

class ReportTest : public DbBackendTest {
protected:
    void SetUp() override
    {
        admin_ = &report_admin(backend());
        db_ = InventoryDb::make(backend());
        ids_ = add_compare_inventory(*db_->connect());
        services_.set_data_source("ADMIN", admin_->loader.get());
        services_.set_data_source(client, db_->loader.get());
    }

    std::vector<std::string> run(int type, int root)
    {
        TiXmlElement request("CREATE_REPORT");
        request.SetAttribute("type", type);
        request.SetAttribute("root", root);
        request.SetAttribute("synch", 7);
        auto sink = std::make_shared<RecordingSink>(client);
        report_thread(request, sink);
        return sink->sent();
    }

    AdminFixture* admin_ = nullptr;
    std::unique_ptr<InventoryDb> db_;
    CompareIds ids_;
    RecordingServices services_;
    ScopedServerServices installed_{services_};
};

TEST_P(ReportTest, GroupsSumsUnitsClassAndDateColumns)
{
    const std::vector<std::string> sent = run(1, ids_.inventory);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], log_xml("Start collecting report data: 'Memory by class'", false));
    EXPECT_EQ(sent[1], log_xml("Report sent: 'Memory by class'", false));
    const std::string& table = sent[2];
    EXPECT_EQ(table.substr(0, table.find("<ROWS>")),
              "<TABLE synch=\"7\" repid=\"1\" repname=\"Memory by class\"><HEADER>"
              "<COLUMN name=\"Class\" /><COLUMN name=\"Address\" /><COLUMN name=\"Memory KB\" />"
              "<COLUMN name=\"Serial Number\" /><COLUMN name=\"Scanned\" />"
              "<COLUMN name=\"index\" index=\"1\" hidden=\"1\" /><COLUMN name=\"parent\" parent=\"1\" hidden=\"1\" />"
              "</HEADER>");
    // One host per device, the newest: R1 for DEV-1 (not L1 or L0), R2 for
    // DEV-2; LX has no summary row. Grouped by class, then address; the
    // count of rows in column 2; bytes in kilobytes; "Serial Number" is no unit.
    auto date = [](time_t t) { return FormatDateTime(t); };
    EXPECT_EQ(table_lines(table), (std::vector<std::string>{
                                      "Router||1|||1|0",
                                      "|10.9.0.3|1|||4|1",
                                      "||3072|DEV-3|" + date(1700001300) + "|-2|4",
                                      "Switch||2|||2|0",
                                      "|10.9.0.1|1|||5|2",
                                      "||2048|DEV-1|" + date(1700002100) + "|-2|5",
                                      "|10.9.0.2|1|||6|2",
                                      "||1024|DEV-2|" + date(1700002200) + "|-2|6",
                                      "Server||1|||3|0",
                                      "|10.9.0.4|1|||7|3",
                                      "||4096|DEV-4|" + date(1700002400) + "|-2|7",
                                  }));
}

TEST_P(ReportTest, DoubleMarkFiltersAfterAnd)
{
    const std::vector<std::string> sent = run(3, ids_.tuesday);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(table_lines(sent[2]), (std::vector<std::string>{
                                        "10.9.0.1||1|0",
                                        "|DEV-1|-2|1",
                                        "10.9.0.2||2|0",
                                        "|DEV-2|-2|2",
                                        "10.9.0.4||3|0",
                                        "|DEV-4|-2|3",
                                    }));
}

// The alert of a report that could not be built names the report and the
// database's cause (any case), and an empty TABLE follows it.
void ExpectFailureAlert(const std::vector<std::string>& sent, const std::string& report, const std::string& cause,
                        const std::string& empty_table)
{
    ASSERT_EQ(sent.size(), 3u);
    TiXmlDocument alert;
    ASSERT_TRUE(parse_xml(sent[1], alert));
    EXPECT_STREQ(alert.RootElement()->Value(), "LOG");
    EXPECT_STREQ(alert.RootElement()->Attribute("alert"), "1");
    const std::string text = alert.RootElement()->Attribute("text");
    EXPECT_EQ(text.rfind(std::string(RecordingServices::kTimeText) + " Can not build report '" + report + "': ", 0),
              0u)
        << text;
    std::string lower = text;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(lower.find(cause), std::string::npos) << text;
    EXPECT_EQ(sent[2], empty_table);
}

TEST_P(ReportTest, FailedQueryAnswersWithAlertAndEmptyTable)
{
    ExpectFailureAlert(run(2, ids_.tuesday), "Broken", "nosuchtable",
                       "<TABLE synch=\"7\" repid=\"2\" repname=\"Broken\" type=\"2\" rows=\"0\" cols=\"0\" />");

    // A type that no report has: an empty query, which fails the same way.
    const std::vector<std::string> unknown = run(99, ids_.tuesday);
    ASSERT_FALSE(unknown.empty());
    EXPECT_NE(unknown.back().find("repid=\"-1\""), std::string::npos) << unknown.back();
}

// Without the reduction to the newest host of each device the report would
// count every older snapshot too: a failed reduction fails the report the
// way a failed query does.
TEST_P(ReportTest, FailedReductionToOneHostPerDeviceAnswersWithAlertAndEmptyTable)
{
    // The reduction reads the hosts' scan times; the report's query does not.
    db_->connect()->query("ALTER TABLE InventoryHosts RENAME COLUMN TimeStmp TO TimeStmpGone");
    const std::vector<std::string> sent = run(3, ids_.inventory);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0], log_xml("Start collecting report data: 'Addresses'", false));
    ExpectFailureAlert(sent, "Addresses", "timestmp",
                       "<TABLE synch=\"7\" repid=\"3\" repname=\"Addresses\" type=\"3\" rows=\"0\" cols=\"0\" />");
}

TEST_P(ReportTest, NoRowsOrNoHostsAnswerWithAlertOnly)
{
    // The fixture's first snapshot has hosts but none with memory rows.
    EXPECT_EQ(run(1, db_->ids.snapshot),
              (std::vector<std::string>{
                  log_xml("Start collecting report data: 'Memory by class'", false),
                  log_xml("No data found for report 'Memory by class' under branch '" +
                              std::string(inventory_fixture::snapshot_name) + "'",
                          true),
              }));
    // An item without hosts.
    EXPECT_EQ(run(1, 999999).back(), log_xml("No data found for report 'Memory by class' under branch ''", true));
}

TEST_P(ReportTest, DescriptionsAndTree)
{
    DataLoader* admin = admin_->loader.get();
    const ReportDescription parsed = DataLoader::get_report(admin, 4);
    EXPECT_EQ(parsed.type_id, 4);
    EXPECT_EQ(parsed.name, "Parsing");
    EXPECT_EQ(parsed.query, "SELECT 1");
    ASSERT_EQ(parsed.unions.Count(), 2);
    EXPECT_EQ(parsed.unions[0].Count(), 2);
    EXPECT_EQ(parsed.unions[1][0], 4);
    EXPECT_EQ(parsed.headers, (std::vector<std::string>{"Host", "Serial No", "Size"}));
    EXPECT_EQ(parsed.sum_column, -1);
    EXPECT_EQ(DataLoader::get_report(admin, 1).sum_column, 2);

    const ReportDescription missing = DataLoader::get_report(admin, 42);
    EXPECT_EQ(missing.type_id, -1);
    EXPECT_EQ(missing.sum_column, -1);
    EXPECT_TRUE(missing.query.empty());
    EXPECT_EQ(missing.unions.Count(), 0);

    TiXmlElement tree("REPORTTREE");
    ASSERT_TRUE(DataLoader::get_report_tree(admin, tree));
    std::vector<std::string> items;
    for (const TiXmlElement* item = tree.FirstChildElement(); item; item = item->NextSiblingElement()) {
        EXPECT_STREQ(item->Value(), "REPORTITEM");
        items.push_back(std::string(item->Attribute("type")) + "|" + item->Attribute("name") + "|" +
                        item->Attribute("comment"));
    }
    EXPECT_EQ(items, (std::vector<std::string>{
                         "2|Broken|Reads a table that is not there",
                         "3|Addresses|It's every <address> & \"device\"",
                         "1|Memory by class|Memory of each device, by class and address",
                         "4|Parsing|",
                     }));
}

TEST_P(ReportTest, EmptyAndMissingReportsTable)
{
    for (const char* schema : {"admin", ""}) {
        const std::string dsn = fresh(schema);
        qr_mutex mutex;
        std::unique_ptr<MSSQLPool> pool(MSSQLPool_ctor(1, dsn, dsn, "", ""));
        pool->open_all();
        {
            DataLoader loader(pool.get(), &mutex, true);
            TiXmlElement tree("REPORTTREE");
            EXPECT_EQ(DataLoader::get_report_tree(&loader, tree), *schema != 0) << schema;
            EXPECT_EQ(tree.FirstChildElement(), nullptr);
            EXPECT_EQ(DataLoader::get_report(&loader, 1).type_id, -1);
        }
    }
    TiXmlElement tree("REPORTTREE");
    EXPECT_FALSE(DataLoader::get_report_tree(nullptr, tree));
}

INSTANTIATE_TEST_SUITE_P(Backends, ReportTest, TRV_DB_BACKENDS);

}  // namespace
