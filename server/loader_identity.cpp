// Device identity: one id per physical device, derived from a host's scan
// data, so hosts of different snapshots can be recognised as one device.
#include "loader.h"
#include "loader_sql.h"

#include "qr_exception.h"
#include "qr_log.h"

using namespace loader_sql;

namespace {

qr_sql_param id(int v)
{
    return static_cast<int32_t>(v);
}

std::string first_value(MSSQLODBCConnection& db, const std::string& sql, const std::string& column, int host)
{
    DB_DATA rows = db.get_stmnt_results(sql, {id(host)});
    return rows.RowCount() > 0 ? text_at(rows, column, 0) : std::string();
}

}  // namespace

void DataLoader::update_device_identity(DataLoader* loader, int host_uid, const std::string& network_address,
                                        const std::string& sys_name)
{
    operation(loader, [&](Operation& op) {
        MSSQLODBCConnection& db = op.db();
        const std::string summary =
            first_value(db, "SELECT Data1 from ScanSummaryData where host_id=?", "Data1", host_uid);
        const std::string serial =
            first_value(db, "SELECT Data9 from ScanEnclosureData where host_id=?", "Data9", host_uid);
        const std::string asset =
            first_value(db, "SELECT Data11 from ScanEnclosureData where host_id=?", "Data11", host_uid);
        std::string mac;
        DB_DATA interfaces =
            db.get_stmnt_results("select Data7 from ScanInterfacesData where host_id=?", {id(host_uid)});
        for (int r = 0; r < interfaces.RowCount(); ++r) {
            std::string v = text_at(interfaces, "Data7", r);
            if (v > mac)  // byte-wise, whatever the database's collation
                mac = v;
        }
        std::string device;
        for (const std::string* v : {&summary, &serial, &asset, static_cast<const std::string*>(&mac), &sys_name})
            if (device.empty())
                device = *v;
        if (device.empty()) {
            // An empty id would make every such host one and the same device.
            TRV_LOG(qr_Info, "No device identity for host " << host_uid);
            return;
        }
        qr_transaction tx(db);
        db.get_stmnt_results("UPDATE ScanSummaryData SET Data1=? WHERE host_id=?", {device, id(host_uid)});
        if (db.get_stmnt_results("SELECT DeviceId from InvDevices where DeviceId=?", {device}).RowCount() == 0)
            db.get_stmnt_results(
                "INSERT INTO InvDevices ( DeviceId, SerialNumber, SNMPAssetTag, MAC, SysName ) VALUES( ?,?,?,?,? )",
                {device, serial, asset, mac, sys_name});
        tx.commit();
        add_interface_address(loader, device, network_address);
    });
}
