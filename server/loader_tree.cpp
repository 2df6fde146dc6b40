// The inventory tree: item writes, the questions about a uid (type, status,
// parent, name, caption), the collectors over a branch, and branch removal.
#include "loader.h"
#include "loader_inventory.h"
#include "loader_sql.h"

#include "qr_exception.h"
#include "qr_log.h"
#include "qr_strings.h"

#include <ctime>
#include <unordered_map>
#include <unordered_set>

using namespace loader_sql;

namespace {

qr_sql_param id(int v)
{
    return static_cast<int32_t>(v);
}

// The tables of scanned data that hang on a host by host_id.
const char* const host_tables[] = {
    "ScanBaseBoardData",   "ScanBIOSData",        "ScanCiscoFlashChipsData", "ScanCiscoFlashDevData",
    "ScanCPUData",         "ScanDevTableData",    "ScanEnclosureData",       "ScanInstalledSoftData",
    "ScanInterfacesData",  "ScanPCTableData",     "ScanPhysicalStructureData", "ScanPrtSuppliesData",
    "ScanRunnedSoftData",  "ScanSlotsData",       "ScanSummaryData",         "InventoryTabs",
};

void subtree_walk(MSSQLODBCConnection& db, int uid, IntArray& list, std::unordered_set<int>& seen)
{
    if (!seen.insert(uid).second) {
        TRV_LOG(qr_Error, "Tree item " << uid << " is its own ancestor; its branch is listed once");
        return;
    }
    list.Add(uid);
    DB_DATA rows = db.get_stmnt_results("select uid from InventoryTree where parentid=?", {id(uid)});
    for (int r = 0; r < rows.RowCount(); ++r)
        subtree_walk(db, int_at(rows, "uid", r), list, seen);
}

void inventories_walk(MSSQLODBCConnection& db, int uid, IntArray& list, std::unordered_set<int>& seen)
{
    if (!seen.insert(uid).second)
        return;
    int type = loader_inventory::item_type(db, uid);
    int snapshot = uid;
    if (type == 3) {
        DB_DATA host = db.get_stmnt_results("select AsOfId from InventoryHosts where uid=?", {id(uid)});
        if (host.RowCount() == 0)
            return;
        snapshot = int_at(host, "AsOfId", 0);
    } else if (type == 1) {
        list.Add(uid);
        return;
    }
    if (type == 3 || type == 2) {
        DB_DATA parent = db.get_stmnt_results("select parentid from InventoryTree where uid=?", {id(snapshot)});
        if (parent.RowCount() > 0)
            list.Add(int_at(parent, "parentid", 0));
        return;
    }
    DB_DATA rows = db.get_stmnt_results("select uid, type from InventoryTree where parentid=?", {id(uid)});
    for (int r = 0; r < rows.RowCount(); ++r)
        inventories_walk(db, int_at(rows, "uid", r), list, seen);
}

void hosts_walk(MSSQLODBCConnection& db, int uid, IntArray& list, std::unordered_set<int>& seen)
{
    if (!seen.insert(uid).second)
        return;
    int type = loader_inventory::item_type(db, uid);
    if (type == 3) {
        list.InsertSorted(uid);
        return;
    }
    if (type == 2) {
        DB_DATA hosts = db.get_stmnt_results("select uid from InventoryHosts where AsOfId=? ORDER BY uid", {id(uid)});
        for (int r = 0; r < hosts.RowCount(); ++r)
            list.InsertSorted(int_at(hosts, "uid", r));
        return;
    }
    DB_DATA rows = db.get_stmnt_results("select uid, type from InventoryTree where parentid=?", {id(uid)});
    for (int r = 0; r < rows.RowCount(); ++r)
        hosts_walk(db, int_at(rows, "uid", r), list, seen);
}

// Deletes what hangs on the hosts selected by `hosts` (a condition on
// InventoryHosts with one bound uid), then nothing else.
void delete_host_data(MSSQLODBCConnection& db, const std::string& hosts, int uid)
{
    for (const char* table : host_tables)
        db.get_stmnt_results(std::string("DELETE FROM ") + table +
                                 " WHERE host_id IN (SELECT uid FROM InventoryHosts WHERE " + hosts + ")",
                             {id(uid)});
}

// Why `parent` can not take a folder or an inventory; empty when it can.
std::string parent_refusal(MSSQLODBCConnection& db, int parent)
{
    if (is_top_level(parent))
        return std::string();
    switch (loader_inventory::item_type(db, parent)) {
    case -1:
        return "its new parent " + std::to_string(parent) + " does not exist";
    case 1:
    case 2:
    case 3:
        return "its new parent " + std::to_string(parent) + " is an inventory, a snapshot or a host";
    default:
        return std::string();
    }
}

// Why item `uid` may not hang under `parent`; empty when it may (its own
// parent included). A move and a change of an item's parent obey the same rules.
std::string move_refusal(MSSQLODBCConnection& db, int uid, int parent)
{
    const int type = loader_inventory::item_type(db, uid);
    if (type == 3)
        return "a host stays in the snapshot that found it";
    DB_DATA row = db.get_stmnt_results("select parentid, has_internal_scans from InventoryTree where uid=?", {id(uid)});
    if (row.RowCount() == 0)
        return "there is no such item";
    if (int_at(row, "parentid", 0) == parent)
        return std::string();
    if (type == 2)
        return "a snapshot stays with the inventory that took it";
    if (int_at(row, "has_internal_scans", 0) > 0)
        return "a scan is running in, below or above it";
    if (loader_inventory::in_branch(db, uid, parent))
        return "its new parent " + std::to_string(parent) + " is the item itself or lies below it";
    return parent_refusal(db, parent);
}

// The ping, ranges and communities of one inventory for another, as stored.
void copy_settings(MSSQLODBCConnection& db, int from, int to)
{
    db.get_stmnt_results("INSERT INTO InventoryPing (InventoryID, Ping) SELECT ?, Ping FROM InventoryPing "
                         "WHERE InventoryID=?",
                         {id(to), id(from)});
    db.get_stmnt_results("INSERT INTO InventoryIPs (InventoryID, IPFrom, IPTo, FName, PlaceOrder) "
                         "SELECT ?, IPFrom, IPTo, FName, PlaceOrder FROM InventoryIPs WHERE InventoryID=?",
                         {id(to), id(from)});
    db.get_stmnt_results("INSERT INTO InventoryComms (InventoryID, Name, PlaceOrder) "
                         "SELECT ?, Name, PlaceOrder FROM InventoryComms WHERE InventoryID=?",
                         {id(to), id(from)});
}

}  // namespace

namespace loader_inventory {

int item_type(MSSQLODBCConnection& db, int uid)
{
    if (db.get_stmnt_results("select uid from InventoryHosts where uid=?", {id(uid)}).RowCount() > 0)
        return 3;
    DB_DATA item = db.get_stmnt_results("select type from InventoryTree where uid=?", {id(uid)});
    return item.RowCount() > 0 ? int_at(item, "type", 0) : -1;
}

void subtree(MSSQLODBCConnection& db, int uid, IntArray& list)
{
    std::unordered_set<int> seen;
    subtree_walk(db, uid, list, seen);
}

std::string host_caption(MSSQLODBCConnection& db, int uid)
{
    DB_DATA host =
        db.get_stmnt_results("SELECT NetAddr, DNSName, TimeStmp FROM InventoryHosts WHERE uid=?", {id(uid)});
    if (host.RowCount() == 0)
        return std::string();
    std::string caption;
    const std::string dns = text_at(host, "DNSName", 0);
    const std::string address = text_at(host, "NetAddr", 0);
    if (!dns.empty())
        caption += dns + " ";
    if (!address.empty())
        caption += "[" + address + "] ";
    const DB_COLUMN* stamp = host.Find("TimeStmp");
    caption += FormatDateTime(static_cast<time_t>(stamp ? stamp->GetLong(0) : 0));
    return caption;
}

bool in_branch(MSSQLODBCConnection& db, int uid, int candidate)
{
    std::unordered_set<int> seen;
    for (int at = candidate; at > 0 && seen.insert(at).second;) {
        if (at == uid)
            return true;
        DB_DATA row = db.get_stmnt_results("select parentid from InventoryTree where uid=?", {id(at)});
        if (row.RowCount() == 0)
            return false;
        at = int_at(row, "parentid", 0);
    }
    return false;
}

void for_each_chunk(const IntArray& uids,
                    const std::function<void(const std::string& markers, const qr_sql_params& params)>& f)
{
    for (int start = 0; start < uids.Count(); start += in_list_chunk) {
        std::string markers;
        qr_sql_params params;
        for (int i = start; i < uids.Count() && i < start + in_list_chunk; ++i) {
            markers += markers.empty() ? "?" : ",?";
            params.push_back(id(uids[i]));
        }
        f(markers, params);
    }
}

}  // namespace loader_inventory

int DataLoader::insert_tree_item(DataLoader* loader, const TreeItemRecord& item, const TiXmlElement* settings)
{
    if (!exists(loader))
        return 0;
    Operation op(*loader);
    MSSQLODBCConnection& db = op.db();
    // An item without its settings, or settings without their item, is
    // never left behind.
    qr_transaction tx(db);
    db.get_stmnt_results(
        "INSERT INTO InventoryTree (uid,parentid,type,status,locked,name,Tabs2Scan,comment,TimeStmp ) "
        "VALUES(?,?,?,?,?,?,?,?,?)",
        {id(item.uid), id(item.parentid), id(item.type), id(item.status), id(item.locked), item.name,
         item.Tabs2Scan, item.comment, static_cast<int64_t>(item.TimeStmp)});
    if (settings != nullptr)
        loader_inventory::write_settings(db, item.uid, *settings);
    tx.commit();
    return item.uid;
}

int DataLoader::update_tree_item(DataLoader* loader, const TreeItemRecord& item, const TiXmlElement* settings)
{
    if (!exists(loader))
        return 0;
    Operation op(*loader);
    MSSQLODBCConnection& db = op.db();
    // A change of parent is a move: an item below itself would be cut off
    // from the tree and a loop for every walk over it, and an unknown item
    // must not get settings rows of its own.
    const std::string refusal = move_refusal(db, item.uid, item.parentid);
    if (!refusal.empty()) {
        TRV_LOG(qr_Error, "Tree item " << item.uid << " not changed: " << refusal);
        qr_exception("Tree item %d not changed: %s", item.uid, refusal.c_str());
    }
    // The old settings go only together with the new ones coming in.
    qr_transaction tx(db);
    if (settings != nullptr) {
        loader_inventory::delete_settings(db, item.uid);
        loader_inventory::write_settings(db, item.uid, *settings);
    }
    // The stored status is kept in the statement itself: read first and
    // written back, it could undo a scan's end that came in between.
    if (item.status == keep_status)
        db.get_stmnt_results("UPDATE InventoryTree SET parentid=?, type=?, locked=?, name=?, "
                             "Tabs2Scan=?, comment=? WHERE uid=?",
                             {id(item.parentid), id(item.type), id(item.locked), item.name, item.Tabs2Scan,
                              item.comment, id(item.uid)});
    else
        db.get_stmnt_results("UPDATE InventoryTree SET parentid=?, type=?, status=?, locked=?, name=?, "
                             "Tabs2Scan=?, comment=? WHERE uid=?",
                             {id(item.parentid), id(item.type), id(item.status), id(item.locked), item.name,
                              item.Tabs2Scan, item.comment, id(item.uid)});
    tx.commit();
    return item.uid;
}

void DataLoader::set_tree_status(DataLoader* loader, int uid, int status)
{
    operation(loader, [&](Operation& op) {
        op.db().get_stmnt_results("UPDATE InventoryTree SET status=? WHERE uid=?", {id(status), id(uid)});
    });
}

void DataLoader::set_internal_scans(DataLoader* loader, int uid, int count)
{
    operation(loader, [&](Operation& op) {
        op.db().get_stmnt_results("UPDATE InventoryTree SET has_internal_scans=? WHERE uid=?", {id(count), id(uid)});
    });
}

int DataLoader::get_internal_scans(DataLoader* loader, int uid)
{
    return operation(loader, -1, [&](Operation& op) {
        DB_DATA rows = op.db().get_stmnt_results("select has_internal_scans FROM InventoryTree WHERE uid=?", {id(uid)});
        return rows.RowCount() > 0 ? int_at(rows, "has_internal_scans", 0) : -1;
    });
}

int DataLoader::get_status(DataLoader* loader, int uid)
{
    return operation(loader, -1, [&](Operation& op) {
        DB_DATA host = op.db().get_stmnt_results("select Status from InventoryHosts where uid=?", {id(uid)});
        if (host.RowCount() > 0)
            return int_at(host, "Status", 0);
        DB_DATA item = op.db().get_stmnt_results("select status from InventoryTree where uid=?", {id(uid)});
        return item.RowCount() > 0 ? int_at(item, "status", 0) : -1;
    });
}

int DataLoader::get_item_type(DataLoader* loader, int uid)
{
    return operation(loader, -1, [&](Operation& op) { return loader_inventory::item_type(op.db(), uid); });
}

int DataLoader::get_parent_id(DataLoader* loader, int uid)
{
    if (!exists(loader))
        return 0;
    Operation op(*loader);
    DB_DATA rows = op.db().get_stmnt_results("select parentid from InventoryTree where uid=?", {id(uid)});
    return rows.RowCount() > 0 ? int_at(rows, "parentid", 0) : -1;
}

std::string DataLoader::get_item_name(DataLoader* loader, int uid)
{
    if (!exists(loader))
        return std::string();
    Operation op(*loader);
    DB_DATA rows = op.db().get_stmnt_results("SELECT name FROM InventoryTree WHERE uid=?", {id(uid)});
    return rows.RowCount() > 0 ? text_at(rows, "name", 0) : std::string();
}

std::string DataLoader::get_host_address(DataLoader* loader, int uid)
{
    if (!exists(loader))
        return std::string();
    Operation op(*loader);
    DB_DATA rows = op.db().get_stmnt_results("SELECT NetAddr FROM InventoryHosts WHERE uid=?", {id(uid)});
    return rows.RowCount() > 0 ? text_at(rows, "NetAddr", 0) : std::string();
}

std::string DataLoader::host_caption(DataLoader* loader, int uid)
{
    if (!exists(loader))
        return std::string();
    Operation op(*loader);
    return loader_inventory::host_caption(op.db(), uid);
}

void DataLoader::collect_inventories(DataLoader* loader, int uid, IntArray& list)
{
    operation(loader, [&](Operation& op) {
        std::unordered_set<int> seen;
        inventories_walk(op.db(), uid, list, seen);
    });
}

void DataLoader::collect_hosts(DataLoader* loader, int uid, IntArray& list)
{
    operation(loader, [&](Operation& op) {
        std::unordered_set<int> seen;
        // Gathered apart first: a failure part way adds no hosts, never a
        // part of them that a report or comparison would take for all.
        IntArray found;
        hosts_walk(op.db(), uid, found, seen);
        if (list.Count() == 0)
            list = found;
        else
            for (int host : found)
                list.InsertSorted(host);
    });
}

void DataLoader::collect_subtree(DataLoader* loader, int uid, IntArray& list)
{
    operation(loader, [&](Operation& op) { loader_inventory::subtree(op.db(), uid, list); });
}

int DataLoader::remove_tree_element(DataLoader* loader, int uid)
{
    if (!exists(loader))
        return -1;
    if (uid <= 0) {
        // -1 and 0 name the top level, the whole inventory, never an item.
        TRV_LOG(qr_Error, "Tree element " << uid << " not removed: not an item's uid");
        return -1;
    }
    TRV_LOG(qr_Info, "Removing tree element: " << uid);
    try {
        Operation op(*loader);
        MSSQLODBCConnection& db = op.db();
        // All or nothing: a failure half way must not leave hosts without
        // their snapshot or data rows without their host.
        qr_transaction tx(db);
        IntArray list;
        loader_inventory::subtree(db, uid, list);
        for (int b : list) {
            db.get_stmnt_results("DELETE FROM InventoryTree WHERE uid=?", {id(b)});
            db.get_stmnt_results("DELETE FROM InventoryPing WHERE InventoryId=?", {id(b)});
            db.get_stmnt_results("DELETE FROM InventoryIPs WHERE InventoryId=?", {id(b)});
            db.get_stmnt_results("DELETE FROM InventoryComms WHERE InventoryID=?", {id(b)});
            // A host uid: its own tabs and data rows go with it.
            delete_host_data(db, "uid=?", b);
            db.get_stmnt_results("DELETE FROM InventoryHosts WHERE uid=?", {id(b)});
            // A snapshot: its hosts with their tabs and data rows.
            delete_host_data(db, "AsOfId=?", b);
            db.get_stmnt_results("DELETE FROM InventoryHosts WHERE AsOfId=?", {id(b)});
        }
        tx.commit();
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, "Tree element " << uid << " not removed: " << e.message());
        return -1;
    }
    TRV_LOG(qr_Info, "Tree element removed");
    return 0;
}

int DataLoader::remove_unlocked_snapshots(DataLoader* loader, int parent_uid)
{
    if (!exists(loader))
        return 0;
    int last = -1;
    guarded([&] {
        Operation op(*loader);
        DB_DATA rows = op.db().get_stmnt_results(
            "select uid, type, locked from InventoryTree\t\t\twhere parentid=?", {id(parent_uid)});
        for (int r = 0; r < rows.RowCount(); ++r) {
            if (int_at(rows, "type", r) != 2 || int_at(rows, "locked", r) != 0)
                continue;
            int uid = static_cast<int>(rows.Column("uid").GetIntOrNull(r));
            if (remove_tree_element(loader, uid) == 0)
                last = uid;
        }
    });
    return last;
}

int DataLoader::copy_tree_item(DataLoader* loader, int uid, int parent)
{
    if (!exists(loader))
        return -1;
    try {
        Operation op(*loader);
        MSSQLODBCConnection& db = op.db();
        std::string refusal;
        switch (loader_inventory::item_type(db, uid)) {
        case -1:
            refusal = "there is no such item";
            break;
        case 2:
            refusal = "a snapshot is not copied";
            break;
        case 3:
            refusal = "a host is not copied";
            break;
        default:
            refusal = parent_refusal(db, parent);
            break;
        }
        if (!refusal.empty()) {
            TRV_LOG(qr_Error, "Tree item " << uid << " not copied: " << refusal);
            return -1;
        }
        // The branch as it is before the copy, parents first, so a copy into
        // the branch itself is not copied again.
        IntArray branch;
        loader_inventory::subtree(db, uid, branch);
        const int64_t now = static_cast<int64_t>(std::time(nullptr));
        qr_transaction tx(db);
        std::unordered_map<int, int> folders;  // a copied folder's uid -> its copy's
        int top = -1;
        for (int i = 0; i < branch.Count(); ++i) {
            const int from = branch[i];
            DB_DATA row = db.get_stmnt_results("select parentid, type from InventoryTree where uid=?", {id(from)});
            if (row.RowCount() == 0)
                continue;
            const int type = int_at(row, "type", 0);
            int to_parent = parent;
            if (i > 0) {
                // Only what lies in copied folders; snapshots never.
                const auto found = folders.find(int_at(row, "parentid", 0));
                if (found == folders.end() || type == 2)
                    continue;
                to_parent = found->second;
            }
            const int to = loader_inventory::draw_uid(db);
            db.get_stmnt_results("INSERT INTO InventoryTree (uid, parentid, type, status, locked, name, Tabs2Scan, "
                                 "comment, TimeStmp) SELECT ?, ?, type, 0, locked, name, Tabs2Scan, comment, ? "
                                 "FROM InventoryTree WHERE uid=?",
                                 {id(to), id(to_parent), now, id(from)});
            if (type == 1)
                copy_settings(db, from, to);
            else
                folders.emplace(from, to);
            if (i == 0)
                top = to;
        }
        tx.commit();
        TRV_LOG(qr_Info, "Tree item " << uid << " copied as " << top << " under " << parent);
        return top;
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, "Tree item " << uid << " not copied: " << e.message());
        return -1;
    }
}

int DataLoader::move_tree_item(DataLoader* loader, int uid, int parent)
{
    if (!exists(loader))
        return -1;
    try {
        Operation op(*loader);
        MSSQLODBCConnection& db = op.db();
        const std::string refusal = move_refusal(db, uid, parent);
        if (!refusal.empty()) {
            TRV_LOG(qr_Error, "Tree item " << uid << " not moved: " << refusal);
            return -1;
        }
        db.get_stmnt_results("UPDATE InventoryTree SET parentid=? WHERE uid=?", {id(parent), id(uid)});
        TRV_LOG(qr_Info, "Tree item " << uid << " moved under " << parent);
        return uid;
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, "Tree item " << uid << " not moved: " << e.message());
        return -1;
    }
}
