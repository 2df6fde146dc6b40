// TREEITEM elements of tree items, hosts and tabs, the children of an item,
// and the display title of an item. Attribute order is part of what the
// console reads, so every element sets its attributes in one fixed sequence.
#include "loader.h"

#include "qr_exception.h"
#include "qr_log.h"
#include "services.h"

#include <tinyxml.h>

#include <memory>

#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

// Integer columns: NULL (and a missing column) reads 0.
long long_at(const DB_DATA& rows, const char* column, int row)
{
    const DB_COLUMN* c = rows.Find(column);
    return c && row < c->Size() ? c->GetLong(row) : 0;
}

// Uid columns: NULL reads -1.
int uid_at(const DB_DATA& rows, const char* column, int row)
{
    const DB_COLUMN* c = rows.Find(column);
    return c && row < c->Size() ? c->GetInt(row) : -1;
}

std::string text_of(const DB_DATA& rows, const char* column, int row)
{
    const DB_COLUMN* c = rows.Find(column);
    return c && row < c->Size() ? c->GetString(row) : std::string();
}

void set_number(TiXmlElement& e, const char* name, long value)
{
    e.SetAttribute(name, std::to_string(value));
}

DB_DATA rows_by_id(MSSQLODBCConnection& db, const char* sql, int id)
{
    return db.get_stmnt_results(sql, {static_cast<int32_t>(id)});
}

// What a host element needs beyond its own row.
struct HostFacts {
    bool has_tabs = false;
    bool has_children = false;
    std::string vendor;
    std::string class_name;
};

// The attributes a host element takes from its row alone.
int host_head_to_xml(const DB_DATA& rows, int row, TiXmlElement& element)
{
    const int uid = uid_at(rows, "uid", row);
    element.SetAttribute("uid", uid);
    element.SetAttribute("ip", text_of(rows, "NetAddr", row));
    element.SetAttribute("dnsname", text_of(rows, "DNSName", row));
    element.SetAttribute("netname", text_of(rows, "NetName", row));
    element.SetAttribute("hasping", text_of(rows, "HasPing", row));
    element.SetAttribute("hassnmp", text_of(rows, "HasSnmp", row));
    return uid;
}

// The rest of a host element, once the facts from other tables are known.
void host_tail_to_xml(const DB_DATA& rows, int row, const HostFacts& facts, TiXmlElement& element)
{
    element.SetAttribute("discovered", facts.has_tabs ? "Y" : "N");
    element.SetAttribute("vendor", facts.vendor);
    element.SetAttribute("class", facts.class_name);
    set_number(element, "classid", long_at(rows, "DevClassId", row));
    set_number(element, "parent", long_at(rows, "AsOfId", row));
    element.SetAttribute("type", 3);
    set_number(element, "status", long_at(rows, "Status", row));
    set_number(element, "hosttype", long_at(rows, "DevGroupId", row));
    element.SetAttribute("locked", 0);
    element.SetAttribute("name", text_of(rows, "DNSName", row) + " " + text_of(rows, "NetAddr", row));
    set_number(element, "date", long_at(rows, "TimeStmp", row));
    element.SetAttribute("comment", "");
    element.SetAttribute("haschildren", facts.has_children ? 1 : 0);
}

int vendor_id_at(const DB_DATA& rows, int row)
{
    return static_cast<int>(long_at(rows, "DevVendorId", row));
}

int class_id_at(const DB_DATA& rows, int row)
{
    return static_cast<int>(long_at(rows, "DevClassId", row));
}

// Vendor and class names for the hosts of one listing, each id looked up
// once. The names come from the administration loader; a server without one
// shows empty names (GetAdminDataSource has logged why).
class AdminNames {
public:
    AdminNames() : admin_(GetAdminDataSource()) {}

    const std::string& vendor(int id) { return lookup(vendors_, id, DataLoader::get_vendor_name); }
    const std::string& class_name(int id) { return lookup(classes_, id, DataLoader::get_device_class_name); }

private:
    const std::string& lookup(std::unordered_map<int, std::string>& known, int id,
                              std::string (*read)(DataLoader*, int))
    {
        auto found = known.find(id);
        if (found == known.end())
            found = known.emplace(id, admin_ ? read(admin_, id) : std::string()).first;
        return found->second;
    }

    DataLoader* admin_;
    std::unordered_map<int, std::string> vendors_;
    std::unordered_map<int, std::string> classes_;
};

// A tab's TREEITEM from its row.
TiXmlElement tab_row_to_xml(const DB_DATA& tabs, int row, int host_uid)
{
    TiXmlElement tab("TREEITEM");
    tab.SetAttribute("uid", uid_at(tabs, "uid", row));
    tab.SetAttribute("parent", host_uid);
    tab.SetAttribute("type", 6);
    set_number(tab, "tabtype", long_at(tabs, "type", row));
    set_number(tab, "scanorder", long_at(tabs, "scanorder", row));
    tab.SetAttribute("name", text_of(tabs, "name", row));
    tab.SetAttribute("haschildren", 0);
    return tab;
}

}  // namespace

bool DataLoader::has_children(DataLoader* loader, int uid)
{
    if (!exists(loader))
        return false;
    return guarded(false, [&] {
        qr_automutex hold(*loader->mutex_);
        const char* sql = nullptr;
        switch (get_item_type(loader, uid)) {
        case 0:
        case 1:
        case 7:
            sql = "select uid from InventoryTree where parentid=?";
            break;
        case 2:
            sql = "select uid from InventoryHosts where AsOfId=?";
            break;
        case 3:
            sql = "select uid from InventoryTabs where host_id=?";
            break;
        default:
            return false;
        }
        Operation op(*loader);
        return rows_by_id(op.db(), sql, uid).RowCount() > 0;
    });
}

int DataLoader::tree_row_to_xml(DataLoader* loader, const DB_DATA& rows, int row, TiXmlElement& element)
{
    if (!exists(loader))
        return 0;
    const int uid = uid_at(rows, "uid", row);
    const long type = long_at(rows, "type", row);
    element.SetAttribute("uid", uid);
    set_number(element, "parent", long_at(rows, "parentid", row));
    set_number(element, "type", type);
    set_number(element, "status", long_at(rows, "status", row));
    set_number(element, "has_int_scan", long_at(rows, "has_internal_scans", row));
    set_number(element, "locked", long_at(rows, "locked", row));
    element.SetAttribute("name", text_of(rows, "name", row));
    set_number(element, "date", long_at(rows, "TimeStmp", row));
    element.SetAttribute("comment", text_of(rows, "comment", row));
    guarded([&] {
        qr_automutex hold(*loader->mutex_);
        if (type == 1) {
            DB_DATA ping, ranges, communities;
            {
                Operation op(*loader);
                ping = rows_by_id(op.db(), "select * from InventoryPing where InventoryID=?", uid);
                // Ranges and communities come in their stored places: the
                // console lists them so, and communities are tried in order.
                ranges = rows_by_id(op.db(),
                                    "select IPFrom, IPTo, FName, PlaceOrder from InventoryIPs"
                                    "\t\t\t\twhere InventoryID=? ORDER BY PlaceOrder",
                                    uid);
                communities = rows_by_id(op.db(),
                                         "select Name, PlaceOrder from InventoryComms"
                                         "\t\t\t\twhere InventoryID=? ORDER BY PlaceOrder",
                                         uid);
            }
            if (ping.RowCount() > 0)
                set_number(element, "ping", long_at(ping, "Ping", 0));
            for (int r = 0; r < ranges.RowCount(); ++r) {
                TiXmlElement ip("IP");
                ip.SetAttribute("from", text_of(ranges, "IPFrom", r));
                ip.SetAttribute("to", text_of(ranges, "IPTo", r));
                ip.SetAttribute("file", text_of(ranges, "FName", r));
                element.InsertEndChild(ip);
            }
            for (int r = 0; r < communities.RowCount(); ++r) {
                TiXmlElement comm("COMM");
                comm.SetAttribute("name", text_of(communities, "Name", r));
                element.InsertEndChild(comm);
            }
        }
        element.SetAttribute("haschildren", has_children(loader, uid) ? 1 : 0);
    });
    return uid;
}

int DataLoader::host_row_to_xml(DataLoader* loader, const DB_DATA& rows, int row, TiXmlElement& element)
{
    if (!exists(loader))
        return 0;
    const int uid = host_head_to_xml(rows, row, element);
    // After a failed query the element stays as far as it was filled.
    guarded([&] {
        qr_automutex hold(*loader->mutex_);
        HostFacts facts;
        facts.has_tabs = host_has_tabs(loader, uid);
        AdminNames names;
        facts.vendor = names.vendor(vendor_id_at(rows, row));
        facts.class_name = names.class_name(class_id_at(rows, row));
        facts.has_children = has_children(loader, uid);
        host_tail_to_xml(rows, row, facts, element);
    });
    return uid;
}

// Tabs come in uid order, which is the order they were written by the scan;
// hosts_to_xml reads them in the same order.
int DataLoader::tabs_to_xml(DataLoader* loader, int host_uid, TiXmlElement& target)
{
    if (!exists(loader))
        return 0;
    return guarded(0, [&] {
        DB_DATA tabs;
        {
            Operation op(*loader);
            tabs = rows_by_id(op.db(), "select * from InventoryTabs where host_id=? ORDER BY uid", host_uid);
        }
        for (int r = 0; r < tabs.RowCount(); ++r)
            target.InsertEndChild(tab_row_to_xml(tabs, r, host_uid));
        return tabs.RowCount();
    });
}

// A snapshot may hold many thousands of hosts, so its tabs are read in one
// statement and the admin names once per id, rather than querying per host.
int DataLoader::hosts_to_xml(DataLoader* loader, int as_of_id, TiXmlElement& target, bool without_tabs)
{
    if (!exists(loader))
        return 0;
    return guarded(0, [&] {
        qr_automutex hold(*loader->mutex_);
        DB_DATA hosts;
        {
            Operation op(*loader);
            hosts = rows_by_id(op.db(), "select * from InventoryHosts where AsOfId=?", as_of_id);
        }
        // Tab rows of each host, in uid order. When they cannot be read, the
        // host elements stop where the single-host path would stop too.
        DB_DATA tabs;
        bool tabs_read = false;
        std::unordered_map<int, std::vector<int>> tab_rows;
        guarded([&] {
            Operation op(*loader);
            tabs = rows_by_id(op.db(),
                              "select * from InventoryTabs where host_id in"
                              " (select uid from InventoryHosts where AsOfId=?) ORDER BY uid",
                              as_of_id);
            tabs_read = true;
            for (int r = 0; r < tabs.RowCount(); ++r)
                tab_rows[uid_at(tabs, "host_id", r)].push_back(r);
        });
        AdminNames names;
        bool appended = false;
        for (int r = 0; r < hosts.RowCount(); ++r) {
            // Made in place and linked, not copied in: a snapshot's answer
            // holds thousands of these.
            auto host = std::make_unique<TiXmlElement>("TREEITEM");
            const int uid = host_head_to_xml(hosts, r, *host);
            if (uid == -1)
                continue;
            const auto own = tab_rows.find(uid);
            if (tabs_read) {
                HostFacts facts;
                facts.has_tabs = facts.has_children = own != tab_rows.end();
                facts.vendor = names.vendor(vendor_id_at(hosts, r));
                facts.class_name = names.class_name(class_id_at(hosts, r));
                host_tail_to_xml(hosts, r, facts, *host);
            }
            target.LinkEndChild(host.release());
            appended = true;
            if (!without_tabs && own != tab_rows.end())
                for (int t : own->second)
                    target.InsertEndChild(tab_row_to_xml(tabs, t, uid));
        }
        return appended ? hosts.RowCount() : 0;
    });
}

int DataLoader::children_to_xml(DataLoader* loader, int uid, TiXmlElement& target, bool one_level)
{
    std::unordered_set<int> seen{uid};
    return children_walk(loader, uid, target, one_level, seen);
}

int DataLoader::children_walk(DataLoader* loader, int uid, TiXmlElement& target, bool one_level,
                              std::unordered_set<int>& seen)
{
    if (!exists(loader))
        return 0;
    return guarded(0, [&] {
        qr_automutex hold(*loader->mutex_);
        DB_DATA children;
        {
            Operation op(*loader);
            children = rows_by_id(op.db(), "select * from InventoryTree where parentid=?", uid);
        }
        if (children.RowCount() == 0)
            return hosts_to_xml(loader, uid, target, one_level);
        int appended = 0;
        for (int r = 0; r < children.RowCount(); ++r) {
            // A parentid loop would otherwise recurse without end while the
            // database mutex is held.
            const int child_uid = uid_at(children, "uid", r);
            if (!seen.insert(child_uid).second) {
                TRV_LOG(qr_Error, "Tree item " << child_uid << " is its own ancestor; its branch is listed once");
                continue;
            }
            TiXmlElement child("TREEITEM");
            tree_row_to_xml(loader, children, r, child);
            target.InsertEndChild(child);
            ++appended;
            if (!one_level)
                children_walk(loader, child_uid, target, false, seen);
        }
        return appended;
    });
}

TiXmlElement DataLoader::item_to_xml(DataLoader* loader, int uid)
{
    TiXmlElement element("TREEITEM");
    read_item(loader, uid, element);
    return element;
}

int DataLoader::read_item(DataLoader* loader, int uid, TiXmlElement& element)
{
    if (!exists(loader))
        return 0;
    return guarded(0, [&] {
        qr_automutex hold(*loader->mutex_);
        DB_DATA item;
        {
            Operation op(*loader);
            item = rows_by_id(op.db(), "select * from InventoryTree where uid=?", uid);
        }
        if (item.RowCount() > 0) {
            tree_row_to_xml(loader, item, 0, element);
            return 0;
        }
        {
            Operation op(*loader);
            item = rows_by_id(op.db(), "select * from InventoryHosts where uid=?", uid);
        }
        if (item.RowCount() > 0)
            return host_row_to_xml(loader, item, 0, element) > 0 ? 0 : -1;
        {
            Operation op(*loader);
            item = rows_by_id(op.db(), "select * from InventoryTabs where uid=?", uid);
        }
        if (item.RowCount() == 0)
            return -1;
        // A console that asks for a tab by uid (after a reconnect or a cache
        // miss) must get what the scan announced.
        TabRecord tab;
        tab.host_id = static_cast<int>(long_at(item, "host_id", 0));
        tab.type = static_cast<int>(long_at(item, "type", 0));
        tab.name = text_of(item, "name", 0);
        tab.scanorder = static_cast<int>(long_at(item, "scanorder", 0));
        tab.horlayout = static_cast<int>(long_at(item, "horlayout", 0));
        element = new_tab_treeitem(uid, tab);
        return 0;
    });
}

std::string DataLoader::get_item_title(DataLoader* loader, int uid)
{
    if (!exists(loader))
        return std::string();
    return guarded(std::string(), [&] {
        if (uid == -1)
            return GetServerHost();
        qr_automutex hold(*loader->mutex_);
        if (get_item_type(loader, uid) == 3)
            return host_caption(loader, uid);
        return get_item_name(loader, uid);
    });
}
