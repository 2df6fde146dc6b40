// Comparison of two tree items for the console: the hosts of both sides are
// paired by device, hosts without a partner are listed, and each pair's tabs
// are compared record by record into the comparison TABLE.
#include "loader.h"

#include "services.h"

#include "qr_exception.h"
#include "qr_log.h"

#include <tinyxml.h>

#include <vector>

namespace {

TiXmlElement comparison_header()
{
    TiXmlElement header("HEADER");
    for (const char* name : {"Group", "Field Name", "Left Group", "Right Group"}) {
        TiXmlElement column("COLUMN");
        column.SetAttribute("name", name);
        header.InsertEndChild(column);
    }
    return header;
}

// The tab type whose map has no data table to compare.
constexpr int tab_without_data = 16;
// The tab type read with the software agent.
constexpr int software_tab = 7;

}  // namespace

bool DataLoader::compare_hosts(DataLoader* loader, TiXmlElement& table, int uid1, int uid2)
{
    if (!exists(loader))
        return false;
    try {
        qr_automutex hold(*loader->mutex_);
        IntArray left, right;
        collect_hosts(loader, uid1, left);
        collect_hosts(loader, uid2, right);
        IntArray shared;
        for (int host : left)
            if (right.Contains(host))
                shared.Add(host);
        for (int host : shared) {
            left.Remove(host);
            right.Remove(host);
        }

        DeviceDescrArray_ left_devices, right_devices;
        latest_hosts_by_device(loader, left, left_devices);
        latest_hosts_by_device(loader, right, right_devices);

        std::vector<std::pair<int, int>> pairs;
        std::vector<bool> right_paired(static_cast<size_t>(right_devices.Count()), false);
        IntArray left_alone, right_alone;
        for (const DeviceDescr& l : left_devices) {
            bool paired = false;
            for (int r = 0; r < right_devices.Count(); ++r)
                if (!right_paired[r] && right_devices[r].name == l.name) {
                    right_paired[r] = true;
                    pairs.emplace_back(l.first, right_devices[r].first);
                    paired = true;
                }
            if (!paired)
                left_alone.Add(l.first);
        }
        for (int r = 0; r < right_devices.Count(); ++r)
            if (!right_paired[r])
                right_alone.Add(right_devices[r].first);

        // Built apart and put into the table only when whole: a failure
        // part way leaves the table as it was and answers false.
        bool result = false;
        TiXmlElement groups("GROUPS");
        if (left_alone.Count() > 0 || right_alone.Count() > 0) {
            TiXmlElement different("GROUP");
            different.SetAttribute("name", "Different Hosts");
            TiXmlElement rows("ROWS");
            host_rows_to_xml(loader, left_alone, rows, true);
            host_rows_to_xml(loader, right_alone, rows, false);
            different.InsertEndChild(rows);
            groups.InsertEndChild(different);
            result = true;
        }
        for (const auto& [host1, host2] : pairs) {
            TiXmlElement pair("GROUP");
            pair.SetAttribute("name", get_host_label_with_date(loader, host1, host2));
            pair.SetAttribute("title", "1");
            TiXmlElement tabs("GROUPS");
            result |= compare_host_tabs(loader, tabs, host1, host2);
            pair.InsertEndChild(tabs);
            groups.InsertEndChild(pair);
        }
        table.InsertEndChild(comparison_header());
        table.InsertEndChild(groups);
        return result;
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, "Can not compare items " << uid1 << " and " << uid2 << ": " << e.message());
    }
    return false;
}

bool DataLoader::compare_host_tabs(DataLoader* loader, TiXmlElement& parent, int host1, int host2)
{
    if (!exists(loader))
        return false;
    qr_automutex hold(*loader->mutex_);
    std::string sys_obj_id, sys_obj_id2, dns_name;
    int class_id = 0, group_id = 0, vendor_id = 0, hard = 0, soft = 0, mon = 0, as_of = 0;
    int class_id2 = 0, unused = 0;
    if (!get_host_record(loader, host1, sys_obj_id, class_id, group_id, vendor_id, hard, soft, mon, as_of,
                         dns_name) ||
        !get_host_record(loader, host2, sys_obj_id2, class_id2, unused, unused, unused, unused, unused, unused,
                         dns_name))
        return false;
    if (class_id == 0 || class_id2 == 0 || class_id != class_id2)
        return false;

    // Tabs, their tables and layouts are administration data.
    DataLoader* admin = GetAdminDataSource();
    if (!admin_exists(admin))
        return false;
    ScanSet tabs;
    get_tabs_to_scan(admin, MapLineFilter("SNMPWhat2Scan", sys_obj_id, class_id, group_id, vendor_id, hard), tabs,
                     IntArray(), 0);
    bool result = false;
    for (const ScanEntry& tab : tabs) {
        if (tab.tab_id == tab_without_data)
            continue;
        const int agent = tab.tab_id == software_tab ? soft : hard;
        const TabLayout layout =
            get_tab_layout(admin, MapLineFilter(tab.map_name, sys_obj_id, class_id, group_id, vendor_id, agent));
        TiXmlElement group("GROUP");
        group.SetAttribute("name", tab.name);
        group.SetAttribute("title", "1");
        ScanDataTable left, right;
        read_data_table(loader, left, tab.data_name, host1);
        read_data_table(loader, right, tab.data_name, host2);
        if (left.compare(group, right, layout)) {
            parent.InsertEndChild(group);
            result = true;
        }
    }
    return result;
}
