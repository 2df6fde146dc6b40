// The comparison TABLE of two tree items, byte for byte, on SQLite and
// PostgreSQL: snapshots with differences and unpaired hosts, two equal hosts,
// and a host with itself.
#include "db_test_env.h"
#include "recording_services.h"
#include "report_fixture.h"
#include "xml_golden.h"

#include "loader.h"
#include "qr_strings.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

namespace {

const char* const header =
    "<HEADER><COLUMN name=\"Group\" /><COLUMN name=\"Field Name\" /><COLUMN name=\"Left Group\" />"
    "<COLUMN name=\"Right Group\" /></HEADER>";

std::string diff_row(const std::string& field, const std::string& left, const std::string& right)
{
    return "<ROW><CELLS><CELL /><CELL text=\"" + field + "\" /><CELL text=\"" + left + "\" /><CELL text=\"" +
           right + "\" /></CELLS></ROW>";
}

class CompareTest : public DbBackendTest {
protected:
    void SetUp() override
    {
        admin_ = &report_admin(backend());
        db_ = InventoryDb::make(backend());
        ids_ = add_compare_inventory(*db_->connect());
        services_.set_data_source("ADMIN", admin_->loader.get());
    }

    // What the COMPARE handler sends, and compare_hosts' result.
    std::pair<std::string, bool> compare(int uid1, int uid2)
    {
        TiXmlElement table("TABLE");
        table.SetAttribute("synch", 5);
        table.SetAttribute("compid", "1");
        const bool differs = DataLoader::compare_hosts(db_->loader.get(), table, uid1, uid2);
        return {print_xml(table), differs};
    }

    std::string caption(int host) { return DataLoader::host_caption(db_->loader.get(), host); }
    std::string pair_name(int left, time_t right_time)
    {
        return caption(left) + ", " + FormatDateTime(right_time);
    }

    AdminFixture* admin_ = nullptr;
    std::unique_ptr<InventoryDb> db_;
    CompareIds ids_;
    RecordingServices services_;
    ScopedServerServices installed_{services_};
};

TEST_P(CompareTest, SnapshotsWithDifferencesAndUnpairedHosts)
{
    auto [xml, differs] = compare(ids_.monday, ids_.tuesday);
    EXPECT_TRUE(differs);
    // L3 and R4 have no partner; L0 (older scan of DEV-1) and LX (no summary
    // row) take no part. Tab 16 is never compared although its data differ.
    const std::string expected =
        "<TABLE synch=\"5\" compid=\"1\">" + std::string(header) +
        "<GROUPS>"
        "<GROUP name=\"Different Hosts\"><ROWS>"
        "<ROW><CELLS><CELL /><CELL /><CELL text=\"" + caption(ids_.l3) + "\" /><CELL /></CELLS></ROW>"
        "<ROW><CELLS><CELL /><CELL /><CELL /><CELL text=\"" + caption(ids_.r4) + "\" /></CELLS></ROW>"
        "</ROWS></GROUP>"
        "<GROUP name=\"" + pair_name(ids_.l1, 1700002100) + "\" title=\"1\"><GROUPS>"
        // One group: the rows go straight into the tab's group.
        "<GROUP name=\"System\" title=\"1\"><ROWS>" + diff_row("Memory", "1 Kb", "2 Kb") + "</ROWS></GROUP>"
        // Two groups: only the group with a difference; the hidden serial never shows.
        "<GROUP name=\"Memory\" title=\"1\"><GROUPS><GROUP name=\"Size\" title=\"1\"><ROWS>" +
        diff_row("Free", "1 Kb", "3 Kb") + "</ROWS></GROUP></GROUPS></GROUP>"
        // Keyed records: sda is matched and not compared; sdb is on the left
        // only, sdc on the right only, each named by its label.
        "<GROUP name=\"Disks\" title=\"1\"><GROUPS>"
        "<GROUP name=\"data\" title=\"1\"><ROWS>" + diff_row("Device", "sdb", "") + diff_row("Label", "data", "") +
        diff_row("Size", "2 Kb", "") + "</ROWS></GROUP>"
        "<GROUP name=\"backup\" title=\"1\"><ROWS>" + diff_row("Device", "", "sdc") +
        diff_row("Label", "", "backup") + diff_row("Size", "", "4 Kb") + "</ROWS></GROUP>"
        "</GROUPS></GROUP>"
        "</GROUPS></GROUP>"
        "<GROUP name=\"" + pair_name(ids_.l2, 1700002200) + "\" title=\"1\"><GROUPS /></GROUP>"
        "</GROUPS></TABLE>";
    EXPECT_EQ(xml, expected);
}

TEST_P(CompareTest, EqualHostsGiveAnEmptyPair)
{
    auto [xml, differs] = compare(ids_.l2, ids_.r2);
    EXPECT_FALSE(differs);
    EXPECT_EQ(xml, "<TABLE synch=\"5\" compid=\"1\">" + std::string(header) + "<GROUPS><GROUP name=\"" +
                       pair_name(ids_.l2, 1700002200) + "\" title=\"1\"><GROUPS /></GROUP></GROUPS></TABLE>");
}

TEST_P(CompareTest, ItemWithItselfLeavesNoHost)
{
    const std::string empty = "<TABLE synch=\"5\" compid=\"1\">" + std::string(header) + "<GROUPS /></TABLE>";
    for (int uid : {ids_.l1, ids_.tuesday, ids_.inventory}) {
        auto [xml, differs] = compare(uid, uid);
        EXPECT_FALSE(differs) << uid;
        EXPECT_EQ(xml, empty) << uid;
    }
}

TEST_P(CompareTest, DifferentClassesCompareNoTabs)
{
    TiXmlElement groups("GROUPS");
    // L3 is of class 10, R1 of class 20.
    EXPECT_FALSE(DataLoader::compare_host_tabs(db_->loader.get(), groups, ids_.l3, ids_.r1));
    EXPECT_EQ(print_xml(groups), "<GROUPS />");
    // Same class: the tabs are compared.
    EXPECT_TRUE(DataLoader::compare_host_tabs(db_->loader.get(), groups, ids_.l1, ids_.r1));
    EXPECT_NE(print_xml(groups), "<GROUPS />");
}

// A database failure after some hosts were found unpaired: the TABLE gets
// nothing rather than a HEADER without GROUPS, and the result is false.
TEST_P(CompareTest, AFailurePartWayWritesNothing)
{
    // Host captions read DNSName; finding and pairing the hosts does not.
    db_->connect()->query("ALTER TABLE InventoryHosts RENAME COLUMN DNSName TO DNSNameGone");
    LogCapture log;
    auto [xml, differs] = compare(ids_.monday, ids_.tuesday);
    EXPECT_FALSE(differs);
    EXPECT_EQ(xml, "<TABLE synch=\"5\" compid=\"1\" />");
    EXPECT_NE(log.text().find("Can not compare items " + std::to_string(ids_.monday) + " and " +
                              std::to_string(ids_.tuesday) + ": "),
              std::string::npos)
        << log.text();
}

INSTANTIATE_TEST_SUITE_P(Backends, CompareTest, TRV_DB_BACKENDS);

}  // namespace
