#include "scan_fixture.h"

#include "qr_odbc.h"

#include <chrono>
#include <thread>

ScannerOptions ScanBench::quick_options()
{
    ScannerOptions o;
    o.ping_threads = 0;
    o.snmp_threads = 0;
    o.ping_poll_ms = 10;
    o.snmp_poll_ms = 10;
    o.saver_poll_ms = 10;
    o.heap_compaction_ms = 50;
    o.ping_timeout_seconds = 1;
    return o;
}

namespace {

// The inventory item with its settings and the dated snapshot below it.
void fill_tree(InventoryDb& db, int ping, const std::vector<std::string>& masks,
               const std::vector<std::string>& communities, const std::string& tabs, int& inventory, int& snapshot)
{
    auto c = db.connect();
    const char* tree = "INSERT INTO InventoryTree (uid, parentid, type, status, locked, name, Tabs2Scan, comment, "
                       "TimeStmp, has_internal_scans) VALUES (?, ?, ?, ?, 0, ?, ?, '', 0, 0)";
    inventory = fixture_new_uid(*c);
    c->get_stmnt_results(tree, {int32_t(inventory), int32_t(-1), int32_t(1), int32_t(0), std::string(InventoryTitle),
                                tabs});
    snapshot = fixture_new_uid(*c);
    c->get_stmnt_results(tree, {int32_t(snapshot), int32_t(inventory), int32_t(2), int32_t(1),
                                std::string("snapshot"), std::string()});
    c->get_stmnt_results("INSERT INTO InventoryPing (InventoryID, Ping) VALUES (?, ?)",
                         {int32_t(inventory), int32_t(ping)});
    int order = 0;
    for (const std::string& range : masks) {
        size_t bar = range.find('|');
        std::string mask = range.substr(0, bar);
        std::string file = bar == std::string::npos ? std::string() : range.substr(bar + 1);
        c->get_stmnt_results(
            "INSERT INTO InventoryIPs (InventoryID, IPFrom, IPTo, FName, PlaceOrder) VALUES (?, ?, '', ?, ?)",
            {int32_t(inventory), mask, file, int32_t(order++)});
    }
    order = 0;
    for (const std::string& community : communities)
        c->get_stmnt_results("INSERT INTO InventoryComms (InventoryID, Name, PlaceOrder) VALUES (?, ?, ?)",
                             {int32_t(inventory), community, int32_t(order++)});
}

}  // namespace

ScanBench::ScanBench(int ping, const std::vector<std::string>& masks, const std::vector<std::string>& communities,
                     const std::string& tabs, const ScannerOptions& options, const std::string& backend)
    : db(InventoryDb::make(backend, false)), ping_(ping), masks_(masks), communities_(communities), tabs_(tabs),
      backend_(backend)
{
    fill_tree(*db, ping, masks, communities, tabs, inventory, snapshot);
    services.set_data_source(ScanClient, db->loader.get());
    services.set_item_title(ScanClient, inventory, InventoryTitle);
    scope = std::make_unique<ScopedServerServices>(services);
    scanner = std::make_unique<Scanner>(options);
}

std::unique_ptr<InventoryDb> ScanBench::add_client_type(const std::string& key)
{
    auto other = InventoryDb::make(backend_, false);
    int other_inventory = 0, other_snapshot = 0;
    fill_tree(*other, ping_, masks_, communities_, tabs_, other_inventory, other_snapshot);
    services.set_data_source(key, other->loader.get());
    services.set_item_title(key, other_inventory, InventoryTitle);
    return other;
}

ScanBench::~ScanBench()
{
    scanner.reset();
    scope.reset();
}

long ScanBench::value(const std::string& sql, int uid) const
{
    return db->count(sql, {int32_t(uid)});
}

int ScanBench::logs_with(const std::string& what) const
{
    int n = 0;
    for (const std::string& text : services.log_texts())
        n += text.find(what) != std::string::npos;
    return n;
}

int ScanBench::calls(const std::string& name, int uid) const
{
    int n = 0;
    for (const RecordingServices::Call& call : services.calls())
        n += call.name == name && call.uid == uid;
    return n;
}

int ScanBench::register_scan()
{
    return scanner->add_scan(inventory, ScanClient);
}

bool ScanBench::wait_for_end(int id, int end_lines) const
{
    for (int i = 0; i < 2400; ++i) {
        if (!scanner->scans().has_scan(id) && logs_with("End Scan ") >= end_lines)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}
