// The inventory operations of a missing (null) loader: each logs the
// existence error once and gives its neutral result, touching its outputs
// as little as its description says.
#include "admin_fixture.h"
#include "loader.h"
#include "job.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

namespace {

TEST(InventoryLoaderMissing, EveryOperationGivesItsNeutralResult)
{
    LogCapture log;
    DataLoader* none = nullptr;
    int calls = 0;
    auto expect = [&](auto result, auto neutral, const char* what) {
        ++calls;
        EXPECT_EQ(result, neutral) << what;
    };
    TreeItemRecord item;
    item.uid = 5;
    TabRecord tab;
    Job job;
    expect(DataLoader::insert_tree_item(none, item), 0, "insert_tree_item");
    expect(DataLoader::update_tree_item(none, item), 0, "update_tree_item");
    expect(DataLoader::get_internal_scans(none, 5), -1, "get_internal_scans");
    expect(DataLoader::get_status(none, 5), -1, "get_status");
    expect(DataLoader::get_item_type(none, 5), -1, "get_item_type");
    expect(DataLoader::get_parent_id(none, 5), 0, "get_parent_id");
    expect(DataLoader::get_item_name(none, 5), std::string(), "get_item_name");
    expect(DataLoader::get_host_address(none, 5), std::string(), "get_host_address");
    expect(DataLoader::host_caption(none, 5), std::string(), "host_caption");
    expect(DataLoader::remove_tree_element(none, 5), -1, "remove_tree_element");
    expect(DataLoader::remove_unlocked_snapshots(none, 5), 0, "remove_unlocked_snapshots");
    expect(DataLoader::copy_tree_item(none, 5, 0), -1, "copy_tree_item");
    expect(DataLoader::move_tree_item(none, 5, 0), -1, "move_tree_item");
    expect(DataLoader::new_uid(none), 0, "new_uid");
    expect(DataLoader::set_host_status(none, 5, 4), false, "set_host_status");
    expect(DataLoader::insert_tab(none, tab), 0, "insert_tab");
    expect(DataLoader::host_has_tabs(none, 5), false, "host_has_tabs");
    std::string map = "kept", data = "kept", sysobjid = "kept", dns = "kept";
    int horlayout = 7, n = 7;
    expect(DataLoader::get_tab_info(none, 5, map, data, horlayout), 0, "get_tab_info");
    expect(DataLoader::get_tab_host(none, 5), -1, "get_tab_host");
    expect(DataLoader::get_host_time_stamp(none, 5), 0, "get_host_time_stamp");
    expect(DataLoader::get_host_record(none, 5, sysobjid, n, n, n, n, n, n, n, dns), false, "get_host_record");
    expect(DataLoader::get_host_as_of(none, 5), 0, "get_host_as_of");
    expect(DataLoader::get_item_if_status(none, 5), false, "get_item_if_status");
    expect(DataLoader::children_status(none, 5), 0, "children_status");
    expect(DataLoader::get_host_label_with_date(none, 5, 6), std::string(), "get_host_label_with_date");
    EXPECT_EQ(map + data + sysobjid + dns, "keptkeptkeptkept");
    EXPECT_EQ(horlayout + n, 14);

    // Operations without a result leave their outputs as they were.
    IntArray list;
    list.Add(42);
    PairArray pairs;
    ScanSettings settings;
    ScanDataTable table;
    DB_DATA result;
    TiXmlElement target("ROWS");
    DataLoader::set_tree_status(none, 5, 4);
    DataLoader::set_internal_scans(none, 5, 1);
    DataLoader::collect_inventories(none, 5, list);
    DataLoader::collect_hosts(none, 5, list);
    DataLoader::collect_subtree(none, 5, list);
    DataLoader::delete_scan_settings(none, 5);
    DataLoader::write_scan_settings(none, 5, target);
    DataLoader::set_host_dns_name(none, 5, "x");
    DataLoader::delete_host(none, 5);
    DataLoader::replace_host(none, job);
    DataLoader::update_host_from_job(none, job);
    DataLoader::insert_data_row(none, ScanColumn(), "ScanCPUData", 5);
    DataLoader::write_data_table(none, table, "ScanCPUData", 5, true);
    DataLoader::add_interface_address(none, "d", "a");
    DataLoader::reset_after_start(none);
    DataLoader::get_scan_settings(none, 5, list, settings);
    DataLoader::read_data_table(none, table, "ScanCPUData", 5);
    DataLoader::run_query(none, "SELECT 1", result);
    DataLoader::get_ancestors(none, 5, list);
    DataLoader::update_internal_scans(none, 5, pairs, true);
    DataLoader::walk_subtree(none, 5, list);
    DataLoader::update_device_identity(none, 5, "a", "n");
    DataLoader::find_host_by_address(none, "10.*", list);
    DataLoader::find_host_by_name(none, "a*", list);
    DataLoader::keep_latest_per_device(none, list);
    calls += 25;
    expect(DataLoader::host_rows_to_xml(none, list, target, true), 0, "host_rows_to_xml");
    DeviceDescrArray_ devices;
    DataLoader::latest_hosts_by_device(none, list, devices);
    ++calls;

    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0], 42);
    EXPECT_EQ(pairs.Count(), 0);
    EXPECT_EQ(settings.ping, 3);
    EXPECT_TRUE(table.columns.empty());
    EXPECT_EQ(target.FirstChild(), nullptr);
    EXPECT_EQ(log.count("Common resource error at DataLoader, existance test failed"), calls);
}

}  // namespace
