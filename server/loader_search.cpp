// Host search for the console, the status roll-up of a branch, host labels
// and rows for reports and comparisons, and the one-host-per-device list.
#include "loader.h"
#include "address_pattern.h"
#include "loader_inventory.h"
#include "loader_sql.h"

#include "dialect.h"
#include "qr_exception.h"
#include "qr_log.h"
#include "qr_strings.h"

#include <tinyxml.h>

#include <map>
#include <vector>

using namespace loader_sql;

namespace {

qr_sql_param id(int v)
{
    return static_cast<int32_t>(v);
}

}  // namespace

void DataLoader::find_host_by_address(DataLoader* loader, const std::string& pattern, IntArray& out)
{
    if (!exists(loader))
        return;
    const AddressPattern wanted(pattern);
    if (!wanted.usable()) {
        TRV_LOG(qr_Info, "Address pattern '" << pattern << "' matches nothing");
        return;
    }
    Operation op(*loader);
    DB_DATA rows = op.db().query("SELECT uid, NetAddr from InventoryHosts ORDER BY uid");
    for (int r = 0; r < rows.RowCount(); ++r)
        if (wanted.matches(text_at(rows, "NetAddr", r)))
            out.Add(int_at(rows, "uid", r));
}

void DataLoader::find_host_by_name(DataLoader* loader, const std::string& pattern, IntArray& out)
{
    if (!exists(loader))
        return;
    // '*' is the console's only wildcard: '%' and '_' are taken as they stand.
    std::string like = like_literal(pattern);
    ReplaceChar(like, '*', '%');
    guarded([&] {
        Operation op(*loader);
        const SqlDialect& dialect = SqlDialect::for_dsn(op.db().dsn());
        DB_DATA rows = op.db().get_stmnt_results("SELECT uid FROM InventoryHosts WHERE ( " +
                                                     dialect.like_ignoring_case("NetName") + " OR " +
                                                     dialect.like_ignoring_case("DNSName") + " ) ORDER BY uid",
                                                 {like, like});
        for (int r = 0; r < rows.RowCount(); ++r)
            out.Add(int_at(rows, "uid", r));
    });
}

int DataLoader::children_status(DataLoader* loader, int uid)
{
    if (!exists(loader))
        return 0;
    IntArray hosts;
    collect_hosts(loader, uid, hosts);
    for (int host : hosts)
        if (get_status(loader, host) == 4)
            return 4;
    return 0;
}

int DataLoader::host_rows_to_xml(DataLoader* loader, const IntArray& hosts, TiXmlElement& target, bool left_side)
{
    if (!exists(loader) || hosts.Count() == 0)
        return 0;
    for (int host : hosts) {
        TiXmlElement cells("CELLS");
        for (int k = 0; k < 4; ++k) {
            TiXmlElement cell("CELL");
            if (k == (left_side ? 2 : 3))
                cell.SetAttribute("text", host_caption(loader, host));
            cells.InsertEndChild(cell);
        }
        TiXmlElement row("ROW");
        row.InsertEndChild(cells);
        target.InsertEndChild(row);
    }
    return 1;
}

std::string DataLoader::get_host_label_with_date(DataLoader* loader, int uid, int time_uid)
{
    if (!exists(loader))
        return std::string();
    Operation op(*loader);
    std::string label = loader_inventory::host_caption(op.db(), uid);
    DB_DATA stamp = op.db().get_stmnt_results("SELECT TimeStmp FROM InventoryHosts WHERE uid=?", {id(time_uid)});
    if (stamp.RowCount() > 0)
        label += ", " + FormatDateTime(static_cast<time_t>(stamp.Column("TimeStmp").GetLong(0)));
    return label;
}

void DataLoader::keep_latest_per_device(DataLoader* loader, IntArray& hosts)
{
    if (!exists(loader) || hosts.Count() == 0)
        return;
    std::map<int, std::string> device;  // host -> its first summary row's Data1
    std::map<int, long> stamp;          // host -> TimeStmp
    {
        Operation op(*loader);
        loader_inventory::for_each_chunk(hosts, [&](const std::string& markers, const qr_sql_params& params) {
            DB_DATA ids = op.db().get_stmnt_results(
                "SELECT host_id, Data1 FROM ScanSummaryData WHERE host_id IN (" + markers + ")", params);
            for (int r = 0; r < ids.RowCount(); ++r)
                device.emplace(int_at(ids, "host_id", r), text_at(ids, "Data1", r));
            DB_DATA times = op.db().get_stmnt_results(
                "SELECT uid, TimeStmp FROM InventoryHosts WHERE uid IN (" + markers + ")", params);
            for (int r = 0; r < times.RowCount(); ++r)
                stamp[int_at(times, "uid", r)] = times.Column("TimeStmp").GetLong(r);
        });
    }
    struct Kept {
        int uid;
        long time;
    };
    std::vector<Kept> kept;
    std::map<std::string, size_t> index;  // device id -> entry of kept
    for (int host : hosts) {
        auto d = device.find(host);
        auto t = stamp.find(host);
        const long time = t == stamp.end() ? 0 : t->second;
        if (d == device.end() || d->second.empty()) {
            kept.push_back({host, time});  // no identity: a device of its own
            continue;
        }
        auto [at, fresh] = index.emplace(d->second, kept.size());
        if (fresh)
            kept.push_back({host, time});
        else if (time > kept[at->second].time)
            kept[at->second] = {host, time};
    }
    hosts.Clear();
    for (const Kept& k : kept)
        hosts.Add(k.uid);
}
