// Writes of hosts, tabs, scan settings and scan data rows, the uid
// allocator, the clean-up after a start, and the newest host per device.
#include "loader.h"
#include "loader_inventory.h"
#include "loader_sql.h"

#include "qr_exception.h"
#include "qr_log.h"

#include <tinyxml.h>

#include <map>

using namespace loader_sql;

namespace {

qr_sql_param id(int v)
{
    return static_cast<int32_t>(v);
}

std::string attribute(const TiXmlElement& e, const char* name)
{
    const char* v = e.Attribute(name);
    return v ? v : "";
}

}  // namespace

namespace loader_inventory {

int draw_uid(MSSQLODBCConnection& db)
{
    // The database mutex keeps the insert and the read together.
    db.query("INSERT INTO TrvIndex( atype ) VALUES( 1 )");
    DB_DATA rows = db.query("SELECT MAX(uid) AS uid FROM TrvIndex");
    const int uid = rows.RowCount() > 0 ? int_at(rows, "uid", 0) : 0;
    if (uid <= 0)
        qr_exception("No new uid could be drawn from TrvIndex");
    return uid;
}

void write_settings(MSSQLODBCConnection& db, int uid, const TiXmlElement& item)
{
    ScanSettings settings;
    int ping = 0;
    if (item.QueryIntAttribute("ping", &ping) == TIXML_SUCCESS)
        settings.ping = ping;
    // Ranges and communities keep their order: communities are tried in it,
    // and the console shows both as it sent them.
    for (const TiXmlNode* child = item.FirstChild(); child; child = child->NextSibling()) {
        const TiXmlElement* e = child->ToElement();
        if (!e)
            continue;
        if (e->ValueStr() == "IP")
            settings.ranges.Add(IPRange(attribute(*e, "from"), attribute(*e, "to"), attribute(*e, "file"),
                                        settings.ranges.Count()));
        else if (e->ValueStr() == "COMM")
            settings.communities.Add(Community(attribute(*e, "name"), settings.communities.Count()));
    }
    db.get_stmnt_results("INSERT INTO InventoryPing( InventoryID, Ping ) VALUES( ?, ? )", {id(uid), id(settings.ping)});
    for (const IPRange& r : settings.ranges)
        db.get_stmnt_results(
            "INSERT INTO InventoryIPs ( InventoryID, IPFrom, IPTo, FName, PlaceOrder ) VALUES( ?,?,?,?,? )",
            {id(uid), r.from, r.to, r.file, id(r.place_order)});
    for (const Community& c : settings.communities)
        db.get_stmnt_results("INSERT INTO InventoryComms ( InventoryID, Name, PlaceOrder ) VALUES( ?,?,? )",
                             {id(uid), c.name, id(c.place_order)});
}

void delete_settings(MSSQLODBCConnection& db, int uid)
{
    for (const char* sql :
         {"DELETE FROM InventoryIPs WHERE InventoryId=?", "DELETE FROM InventoryComms WHERE InventoryId=?",
          "DELETE FROM InventoryPing WHERE InventoryId=?"})
        db.get_stmnt_results(sql, {id(uid)});
}

}  // namespace loader_inventory

int DataLoader::new_uid(DataLoader* loader)
{
    return operation(loader, 0, [&](Operation& op) { return loader_inventory::draw_uid(op.db()); });
}

void DataLoader::delete_scan_settings(DataLoader* loader, int uid)
{
    operation(loader, [&](Operation& op) {
        qr_transaction tx(op.db());
        loader_inventory::delete_settings(op.db(), uid);
        tx.commit();
    });
}

void DataLoader::write_scan_settings(DataLoader* loader, int uid, const TiXmlElement& item)
{
    if (!exists(loader))
        return;
    Operation op(*loader);
    qr_transaction tx(op.db());
    loader_inventory::write_settings(op.db(), uid, item);
    tx.commit();
}

void DataLoader::set_host_dns_name(DataLoader* loader, int uid, const std::string& dns_name)
{
    operation(loader, [&](Operation& op) {
        op.db().get_stmnt_results("UPDATE InventoryHosts SET DNSName=? WHERE uid=?", {dns_name, id(uid)});
    });
}

void DataLoader::delete_host(DataLoader* loader, int uid)
{
    operation(loader,
              [&](Operation& op) { op.db().get_stmnt_results("DELETE FROM InventoryHosts WHERE uid=?", {id(uid)}); });
}

bool DataLoader::set_host_status(DataLoader* loader, int uid, int status)
{
    return operation(loader, false, [&](Operation& op) {
        DB_DATA rows = op.db().get_stmnt_results("SELECT Status FROM InventoryHosts WHERE uid=?", {id(uid)});
        if (rows.RowCount() == 0 || int_at(rows, "Status", 0) == status)
            return false;
        op.db().get_stmnt_results("UPDATE InventoryHosts SET Status=? WHERE uid=?", {id(status), id(uid)});
        return true;
    });
}

int DataLoader::insert_tab(DataLoader* loader, const TabRecord& tab)
{
    if (!exists(loader))
        return 0;
    int uid = new_uid(loader);
    if (uid == 0)
        return 0;
    // 0 on failure: a uid without its row would name nothing
    return guarded(0, [&] {
        Operation op(*loader);
        op.db().get_stmnt_results(
            "INSERT INTO InventoryTabs ( uid, host_id, type, scanorder, horlayout, name ) VALUES( ?, ?, ?, ?, ?, ? )",
            {id(uid), id(tab.host_id), id(tab.type), id(tab.scanorder), id(tab.horlayout), tab.name});
        return uid;
    });
}

bool DataLoader::host_has_tabs(DataLoader* loader, int host_uid)
{
    if (!exists(loader))
        return false;
    Operation op(*loader);
    return op.db().get_stmnt_results("select uid FROM InventoryTabs WHERE host_id=?", {id(host_uid)}).RowCount() > 0;
}

namespace {

// The INSERT of one data row on the connection; throws qr_exception_t.
void insert_row(MSSQLODBCConnection& db, const ScanColumn& row, const std::string& table, int host_uid)
{
    checked_identifier(table, "data table");
    if (row.values.empty() || row.values.size() > static_cast<size_t>(max_cells))
        qr_exception("A row of %zu values cannot go into %s", row.values.size(), table.c_str());
    std::string columns = "uid,host_id", markers = "0,?";
    qr_sql_params params{id(host_uid)};
    for (size_t k = 0; k < row.values.size(); ++k) {
        columns += ",Data" + std::to_string(k + 1);
        markers += ",?";
        params.push_back(row.values[k]);  // verbatim: bound values need no quoting
    }
    db.get_stmnt_results("INSERT INTO " + table + " (" + columns + ") VALUES(" + markers + ")", params);
}

std::vector<ScanColumn> table_rows(const ScanDataTable& table)
{
    std::vector<ScanColumn> rows(table.row_count());
    for (size_t r = 0; r < rows.size(); ++r)
        for (const ScanColumn& column : table.columns)
            rows[r].values.push_back(column.value_at(r));
    return rows;
}

}  // namespace

void DataLoader::insert_data_row(DataLoader* loader, const ScanColumn& row, const std::string& table, int host_uid)
{
    operation(loader, [&](Operation& op) { insert_row(op.db(), row, table, host_uid); });
}

// The whole tab in one transaction: one commit instead of one per row, and
// readers never see it half written. When that fails (a row the table
// refuses, a lost link), it is rolled back and written row by row as before,
// each failing row logged and left out.
void DataLoader::write_data_table(DataLoader* loader, const ScanDataTable& table, const std::string& data_name,
                                  int host_uid, bool replace)
{
    operation(loader, [&](Operation& op) {
        const std::string checked = checked_identifier(data_name, "data table");
        const std::vector<ScanColumn> rows = table_rows(table);
        TRV_LOG(qr_Debug, "Writing data: Rows=" << rows.size() << ", Columns=" << table.columns.size());
        MSSQLODBCConnection& db = op.db();
        try {
            db.begin_transaction();
            if (replace)
                db.get_stmnt_results("delete from " + checked + " WHERE host_id=?", {id(host_uid)});
            for (const ScanColumn& row : rows)
                insert_row(db, row, data_name, host_uid);
            db.commit();
            TRV_LOG(qr_Debug, "End writing data table");
            return;
        } catch (const qr_exception_t& e) {
            TRV_LOG(qr_Error, "Writing " << data_name << " of host " << host_uid
                                         << " at once failed, row by row now: " << e.message());
            if (db.in_transaction()) {
                try {
                    db.rollback();
                } catch (const qr_exception_t& r) {
                    TRV_LOG(qr_Error, r.message());
                }
            }
        }
        if (replace)
            db.get_stmnt_results("delete from " + checked + " WHERE host_id=?", {id(host_uid)});
        for (const ScanColumn& row : rows) {
            guarded([&] { insert_row(db, row, data_name, host_uid); });
        }
        TRV_LOG(qr_Debug, "End writing data table");
    });
}

void DataLoader::add_interface_address(DataLoader* loader, const std::string& device_id,
                                       const std::string& network_address)
{
    operation(loader, [&](Operation& op) {
        DB_DATA rows = op.db().get_stmnt_results(
            "SELECT DeviceID from InvDeviceSNMPInterfaces where DeviceId=? and NetworkAddress=?",
            {device_id, network_address});
        if (rows.RowCount() == 0)
            op.db().get_stmnt_results("INSERT INTO InvDeviceSNMPInterfaces ( DeviceID, NetworkAddress ) VALUES( ?, ? )",
                                      {device_id, network_address});
    });
}

void DataLoader::reset_after_start(DataLoader* loader)
{
    operation(loader, [&](Operation& op) {
        for (const char* sql : {"DELETE FROM InventoryHosts WHERE HasPing='N' AND HasSnmp = 'N'",
                                "UPDATE InventoryTree SET status=4 WHERE status<>0",
                                "UPDATE InventoryHosts SET status=4 WHERE status<>0",
                                "UPDATE InventoryTree SET has_internal_scans=0"})
            op.db().query(sql);
    });
}

void DataLoader::latest_hosts_by_device(DataLoader* loader, const IntArray& host_uids, DeviceDescrArray_& out)
{
    out.Clear();
    if (!exists(loader) || host_uids.Count() == 0)
        return;
    guarded([&] {
        struct Found {
            std::string device;
            int stamp = 0;
            bool seen = false;
        };
        std::map<int, Found> found;  // host uid -> its first summary row
        {
            Operation op(*loader);
            loader_inventory::for_each_chunk(host_uids, [&](const std::string& markers, const qr_sql_params& params) {
                DB_DATA rows = op.db().get_stmnt_results(
                    "SELECT InventoryHosts.uid AS uid, InventoryHosts.TimeStmp AS stamp, ScanSummaryData.Data1 AS "
                    "device FROM InventoryHosts INNER JOIN ScanSummaryData ON InventoryHosts.uid = "
                    "ScanSummaryData.host_id WHERE InventoryHosts.uid IN (" + markers + ")",
                    params);
                for (int r = 0; r < rows.RowCount(); ++r) {
                    Found& f = found[int_at(rows, "uid", r)];
                    if (f.seen)
                        continue;
                    f = Found{text_at(rows, "device", r), int_at(rows, "stamp", r), true};
                }
            });
        }
        std::map<std::string, int> index;  // device id -> entry of out
        for (int uid : host_uids) {
            auto f = found.find(uid);
            if (f == found.end() || f->second.device.empty())
                continue;  // no identity: never merged with others
            auto [at, fresh] = index.emplace(f->second.device, out.Count());
            if (fresh)
                out.Add(DeviceDescr(f->second.device, uid, f->second.stamp));
            else if (f->second.stamp > out[at->second].second)
                out[at->second] = DeviceDescr(f->second.device, uid, f->second.stamp);
        }
    });
}
