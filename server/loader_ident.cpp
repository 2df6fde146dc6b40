// Device identification from SNMPMibMap, the names of vendors, groups and
// classes, the two reads that describe a tab type, and enum translation.
#include "loader.h"
#include "loader_sql.h"

#include "qr_exception.h"
#include "qr_log.h"

#include <cerrno>
#include <cstdlib>

using namespace loader_sql;

namespace {

// The first row's text of a one-value lookup by id; empty when there is none.
std::string name_by_id(MSSQLODBCConnection& db, const char* sql, int id, const char* column)
{
    DB_DATA rows = db.get_stmnt_results(sql, {static_cast<int32_t>(id)});
    return rows.RowCount() > 0 ? text_at(rows, column, 0) : std::string();
}

}  // namespace

bool DataLoader::find_device_by_sysobjid(DataLoader* loader, std::string& sysobjid, int& class_id,
                                         int& group_id, int& vendor_id)
{
    if (!exists(loader))
        return false;
    if (sysobjid.empty())
        return false;
    std::string enterprise;
    std::vector<OidPrefix> prefixes;
    if (!build_oid_prefixes(sysobjid, enterprise, prefixes))
        return false;
    return guarded(false, [&] {
        Operation op(*loader);
        TRV_LOG(qr_Info, "Searching for Vendor,Group,Class by SysObjId=" << sysobjid);
        for (const OidPrefix& p : prefixes) {
            TRV_LOG(qr_Info, "Trying " << p.text);
            // A dotted prefix stands for its subtree; any other entry only
            // for itself, so 9.1.51 never takes the row of 9.1.516. Of a
            // subtree's rows the first by OID is taken, the same every time.
            DB_DATA rows = p.subtree
                               ? op.db().get_stmnt_results(
                                     "SELECT * FROM SNMPMibMap WHERE OID LIKE ? ESCAPE '\\' ORDER BY OID",
                                     {like_literal(p.text) + "%"})
                               : op.db().get_stmnt_results("SELECT * FROM SNMPMibMap WHERE OID = ?", {p.text});
            if (rows.RowCount() > 0) {
                vendor_id = int_at(rows, "VendorId", 0);
                group_id = int_at(rows, "GroupId", 0);
                class_id = int_at(rows, "ClassId", 0);
                sysobjid = text_at(rows, "OID", 0);
                return true;
            }
            TRV_LOG(qr_Info, "Not found " << p.text << " in SNMPMibMap");
        }
        vendor_id = std::atoi(enterprise.c_str());
        return false;
    });
}

std::string DataLoader::get_device_class_name(DataLoader* loader, int class_id)
{
    return operation(loader, std::string(), [&](Operation& op) {
        return name_by_id(op.db(), "select * from SNMPDevClasses where InvDevClassId = ?", class_id,
                          "InvClassName");
    });
}

std::string DataLoader::get_vendor_name(DataLoader* loader, int vendor_id)
{
    return operation(loader, std::string(), [&](Operation& op) {
        return name_by_id(op.db(), "select * from SNMPDevVendors where oid = ?", vendor_id, "name");
    });
}

std::string DataLoader::get_group_name(DataLoader* loader, int group_id)
{
    return operation(loader, std::string(), [&](Operation& op) {
        return name_by_id(op.db(), "select * from SNMPDevGroups where id = ?", group_id, "name");
    });
}

void DataLoader::get_tab_type(DataLoader* loader, int tab_id, std::string& name, int& horlayout, int& agent_cat)
{
    operation(loader, [&](Operation& op) {
        DB_DATA rows =
            op.db().get_stmnt_results("select * from SNMPTabsTypes where uid=?", {static_cast<int32_t>(tab_id)});
        if (rows.RowCount() == 0)
            return;
        name = text_at(rows, "name", 0);
        horlayout = int_at(rows, "horlayout", 0);
        agent_cat = int_at(rows, "agent_cat", 0);
    });
}

void DataLoader::get_table_names(DataLoader* loader, int tab_id, std::string& map_name, std::string& data_name)
{
    operation(loader, [&](Operation& op) {
        DB_DATA rows = op.db().get_stmnt_results("select MapName, DataName from TrvDBTablesNames where uid=?",
                                                 {static_cast<int32_t>(tab_id)});
        if (rows.RowCount() == 0)
            return;
        map_name = text_at(rows, "MapName", 0);
        data_name = text_at(rows, "DataName", 0);
    });
}

namespace {

// The lookup of one key: statement text from checked names, key bound as a
// number for numeric specifications and as text otherwise.
DB_DATA enum_lookup(MSSQLODBCConnection& db, const EnumSpec& spec, const std::string& column_name,
                    const std::string& key)
{
    std::string sql = "select " + checked_identifier(spec.name, "enum name column") + " from " +
                      checked_identifier(spec.table, "enum table") + " WHERE ";
    qr_sql_params params;
    if (spec.oid_form()) {
        sql += "OID = ? AND ";
        params.push_back(spec.extra);
    } else if (spec.column_form()) {
        sql += checked_identifier(spec.extra, "enum extra column") + " = ? AND ";
        params.push_back(column_name);
    }
    sql += checked_identifier(spec.key, "enum key column") + " = ?";
    if (spec.numeric()) {
        errno = 0;
        long long v = std::strtoll(key.c_str(), nullptr, 10);
        if (errno == ERANGE)
            qr_exception("Enum key '%s' is out of range", key.c_str());
        params.emplace_back(std::in_place_type<int64_t>, v);
    } else {
        params.push_back(key);
    }
    return db.get_stmnt_results(sql, params);
}

}  // namespace

void DataLoader::get_enum_value(DataLoader* loader, std::vector<ScanColumn>& columns,
                                KeyedList<std::string>& enum_specs)
{
    if (!admin_exists(loader))
        return;
    try {
        Operation op(*loader);
        for (size_t i = 0; i < columns.size(); ++i) {
            const std::string spec_text = enum_specs[static_cast<int>(i)];
            if (spec_text.empty())
                continue;
            const EnumSpec spec = parse_enum_spec(spec_text);
            for (std::string& cell : columns[i].values) {
                const std::string raw = cell;
                if (!raw.empty()) {
                    cell.clear();
                    std::vector<std::string> keys;
                    split_comma_list(raw, keys);
                    for (const std::string& key : keys) {
                        if (spec.numeric() && !all_digits(key)) {
                            cell = raw;
                            continue;
                        }
                        try {
                            DB_DATA rows = enum_lookup(op.db(), spec, columns[i].get_name(), key);
                            if (!cell.empty())
                                cell += ",";
                            cell += rows.RowCount() > 0 ? text_at(rows, spec.name, 0) : raw;
                        } catch (const qr_exception_t& e) {
                            TRV_LOG(qr_Notice, "Can not get enum from table " << spec.table << " by key <" << key
                                                                              << ">, return key as value.");
                            TRV_LOG(qr_Debug, e.message());
                            cell = raw;
                        }
                    }
                }
                for (char& c : cell)
                    if (c == ';')
                        c = ',';
            }
        }
    } catch (const qr_exception_t& e) {
        log_loader_failure(e);
    }
}
