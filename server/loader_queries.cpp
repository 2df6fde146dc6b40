// Reads over the inventory database for request handlers, the scanner and
// the report builders: tabs, host records, scan settings, data tables, the
// running-scan counters along a branch and the snapshots below an item.
#include "loader.h"
#include "loader_inventory.h"
#include "loader_sql.h"

#include "qr_exception.h"
#include "qr_log.h"

#include <unordered_set>

using namespace loader_sql;

namespace {

qr_sql_param id(int v)
{
    return static_cast<int32_t>(v);
}

void snapshots_walk(MSSQLODBCConnection& db, int uid, IntArray& out, std::unordered_set<int>& seen)
{
    if (!seen.insert(uid).second)
        return;
    int type = loader_inventory::item_type(db, uid);
    if (type == 3) {
        DB_DATA host = db.get_stmnt_results("select Status, AsOfId from InventoryHosts where uid=?", {id(uid)});
        if (int_at(host, "Status", 0) != 0) {
            out.Add(int_at(host, "AsOfId", 0));
            return;
        }
    } else if (type == 2) {
        out.Add(uid);
        return;
    }
    DB_DATA rows = db.get_stmnt_results("select uid, type from InventoryTree where parentid=?", {id(uid)});
    for (int r = 0; r < rows.RowCount(); ++r)
        snapshots_walk(db, int_at(rows, "uid", r), out, seen);
}

}  // namespace

int DataLoader::get_tab_info(DataLoader* loader, int tab_uid, std::string& map_name, std::string& data_name,
                             int& horlayout)
{
    if (!exists(loader))
        return 0;
    return guarded(-1, [&] {
        Operation op(*loader);
        DB_DATA rows =
            op.db().get_stmnt_results("select type, horlayout from InventoryTabs where uid=?", {id(tab_uid)});
        if (rows.RowCount() == 0)
            return -1;
        horlayout = int_at(rows, "horlayout", 0);
        int type = int_at(rows, "type", 0);
        get_table_names(loader, type, map_name, data_name);
        return type;
    });
}

int DataLoader::get_tab_host(DataLoader* loader, int tab_uid)
{
    return operation(loader, -1, [&](Operation& op) {
        DB_DATA rows = op.db().get_stmnt_results("select host_id from InventoryTabs where uid=?", {id(tab_uid)});
        return rows.RowCount() > 0 ? int_at(rows, "host_id", 0) : -1;
    });
}

int DataLoader::get_host_time_stamp(DataLoader* loader, int host_uid)
{
    if (!exists(loader))
        return 0;
    Operation op(*loader);
    DB_DATA rows = op.db().get_stmnt_results("SELECT TimeStmp FROM InventoryHosts WHERE uid=?", {id(host_uid)});
    return rows.RowCount() > 0 ? int_at(rows, "TimeStmp", 0) : 0;
}

bool DataLoader::get_host_record(DataLoader* loader, int host_uid, std::string& sys_obj_id, int& class_id,
                                 int& group_id, int& vendor_id, int& agent_hard, int& agent_soft, int& agent_mon,
                                 int& as_of_id, std::string& dns_name)
{
    if (!exists(loader))
        return false;
    try {
        Operation op(*loader);
        DB_DATA rows = op.db().get_stmnt_results("select * from InventoryHosts where uid=?", {id(host_uid)});
        if (rows.RowCount() == 0)
            return false;
        class_id = int_at(rows, "DevClassId", 0);
        group_id = int_at(rows, "DevGroupId", 0);
        vendor_id = int_at(rows, "DevVendorId", 0);
        agent_hard = int_at(rows, "AgentTypeHard", 0);
        agent_soft = int_at(rows, "AgentTypeSoft", 0);
        agent_mon = int_at(rows, "AgentTypeMon", 0);
        sys_obj_id = text_at(rows, "SysObjId", 0);
        as_of_id = int_at(rows, "AsOfId", 0);
        dns_name = text_at(rows, "DNSName", 0);
    } catch (const qr_exception_t& e) {
        log_loader_failure(e);
    }
    return true;
}

int DataLoader::get_host_as_of(DataLoader* loader, int host_uid)
{
    std::string sys_obj_id, dns_name;
    int c = 0, g = 0, v = 0, h = 0, s = 0, m = 0, as_of = 0;
    if (!get_host_record(loader, host_uid, sys_obj_id, c, g, v, h, s, m, as_of, dns_name))
        return 0;
    return as_of;
}

void DataLoader::get_scan_settings(DataLoader* loader, int uid, IntArray& tabs, ScanSettings& settings)
{
    operation(loader, [&](Operation& op) {
        MSSQLODBCConnection& db = op.db();
        std::unordered_set<int> seen;  // a parentid loop ends the climb
        DB_DATA item;
        // A host has no tree row: its snapshot stands for it.
        DB_DATA host = db.get_stmnt_results("select AsOfId from InventoryHosts where uid=?", {id(uid)});
        for (int at = host.RowCount() > 0 ? int_at(host, "AsOfId", 0) : uid;;) {
            item = db.get_stmnt_results("select * from InventoryTree where uid=?", {id(at)});
            if (item.RowCount() == 0 || !seen.insert(at).second) {
                TRV_LOG(qr_Error, "Can not find tree item with ID=" << at);
                return;
            }
            if (int_at(item, "type", 0) == 1) {
                uid = at;
                break;
            }
            at = int_at(item, "parentid", 0);
        }
        parse_id_list(text_at(item, "Tabs2Scan", 0), tabs);
        DB_DATA ping = db.get_stmnt_results("select * from InventoryPing where InventoryID=?", {id(uid)});
        if (ping.RowCount() > 0)
            settings.ping = int_at(ping, "Ping", 0);
        DB_DATA ranges = db.get_stmnt_results(
            "select IPFrom, IPTo, FName, PlaceOrder from InventoryIPs\t\t\twhere InventoryID=? ORDER BY PlaceOrder",
            {id(uid)});
        for (int r = 0; r < ranges.RowCount(); ++r)
            settings.ranges.add(IPRange(text_at(ranges, "IPFrom", r), text_at(ranges, "IPTo", r),
                                        text_at(ranges, "FName", r), int_at(ranges, "PlaceOrder", r)));
        DB_DATA communities = db.get_stmnt_results(
            "select Name, PlaceOrder from InventoryComms\t\t\twhere InventoryID=? ORDER BY PlaceOrder", {id(uid)});
        for (int r = 0; r < communities.RowCount(); ++r)
            settings.communities.Add(Community(text_at(communities, "Name", r), int_at(communities, "PlaceOrder", r)));
    });
}

void DataLoader::read_data_table(DataLoader* loader, ScanDataTable& table, const std::string& data_name, int host_uid)
{
    if (!exists(loader))
        return;
    guarded([&] {
        checked_identifier(data_name, "data table");
        std::string sql = "select * from " + data_name + " WHERE host_id=?";
        if (data_name == "ScanInstalledSoftData")
            sql += " ORDER BY Data2 ASC ";
        Operation op(*loader);
        DB_DATA rows = op.db().get_stmnt_results(sql, {id(host_uid)});
        for (int r = 0; r < rows.RowCount(); ++r) {
            ScanColumn row;
            row.set_index(0);
            for (int k = 1; k <= max_cells; ++k) {
                const DB_COLUMN* c = rows.Find("Data" + std::to_string(k));
                if (!c)
                    break;
                row.values.push_back(c->GetString(r));
            }
            table.add_column(row);
        }
    });
}

void DataLoader::run_query(DataLoader* loader, const std::string& sql, DB_DATA& result)
{
    if (!exists(loader))
        return;
    Operation op(*loader);
    result = op.db().query(sql);
}

bool DataLoader::get_item_if_status(DataLoader* loader, int host_uid)
{
    if (!exists(loader))
        return false;
    Operation op(*loader);
    DB_DATA host = op.db().get_stmnt_results(
        "SELECT AsOfId FROM InventoryHosts WHERE uid=? AND ( Status=? OR Status=? )", {id(host_uid), id(0), id(4)});
    if (host.RowCount() == 0)
        return false;
    return op.db()
               .get_stmnt_results("SELECT uid FROM InventoryTree WHERE uid=? AND ( Status=? OR Status=? )",
                                  {id(int_at(host, "AsOfId", 0)), id(0), id(4)})
               .RowCount() > 0;
}

void DataLoader::get_ancestors(DataLoader* loader, int uid, IntArray& out)
{
    if (!exists(loader))
        return;
    std::unordered_set<int> seen{uid};
    for (int parent = get_parent_id(loader, uid); parent != -1; parent = get_parent_id(loader, parent)) {
        if (!seen.insert(parent).second) {
            TRV_LOG(qr_Error, "Tree item " << parent << " is its own ancestor");
            return;
        }
        out.Add(parent);
    }
}

void DataLoader::update_internal_scans(DataLoader* loader, int uid, PairArray& out, bool increment)
{
    operation(loader, [&](Operation& op) {
        IntArray list;
        get_ancestors(loader, uid, list);
        loader_inventory::subtree(op.db(), uid, list);
        for (int item : list) {
            int type = get_item_type(loader, item);
            if (type != 0 && type != 1)
                continue;
            int count = get_internal_scans(loader, item);
            int next = increment ? count + 1 : (count != 0 ? count - 1 : 0);
            set_internal_scans(loader, item, next);
            if (count == 0 || next == 0)
                out.Add(Pair{item, next});
        }
    });
}

void DataLoader::walk_subtree(DataLoader* loader, int uid, IntArray& out)
{
    operation(loader, [&](Operation& op) {
        std::unordered_set<int> seen;
        snapshots_walk(op.db(), uid, out, seen);
    });
}
