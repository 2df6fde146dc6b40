// Server speed on this machine, measured over TCP as a console sees it:
//  - scan throughput: one SCAN of an inventory of 24 snmpd agents on
//    127.0.66.x with the default thread counts (10 ping, 10 SNMP workers),
//    from the request to the "End Scan" line, in hosts per second;
//  - GETTREE of a snapshot of 10,000 hosts and GETTABLE of a 200-row tab in
//    that large inventory, per request.
// The server runs from a private program folder with the scan tests'
// administration rows; the large inventory is written straight into the
// client type's SQLite file. Needs the built program folder (build/bin).
#include "server_process.h"
#include "snmp_agents.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

constexpr int agent_count = 24;
constexpr int large_hosts = 10000;
constexpr int table_rows = 200;

std::string Fixture(const std::string& name)
{
    return std::string(std::getenv("TRV_SOURCE_DIR")) + "/tests/server/fixtures/" + name;
}

void Sqlite(const std::string& db, const std::string& script)
{
    int status = -1;
    const std::string out = run_program({"sqlite3", db, script}, &status);
    if (status != 0)
        throw std::runtime_error("sqlite3 failed: " + out);
}

struct Bench {
    TestAgents agents;
    std::unique_ptr<ServerFolder> folder;
    std::unique_ptr<ServerProcess> server;
    std::unique_ptr<ConsoleClient> console;
    int scan_inventory = 0;
    int large_snapshot = 0;
    int large_tab = 0;

    Bench()
    {
        for (int i = 1; i <= agent_count; ++i) {
            const std::string address = "127.0.66." + std::to_string(i);
            if (!agents.start({address, "bench-" + std::to_string(i), "Bench box", ".1.3.6.1.4.1.9.1.516"}))
                throw std::runtime_error(agents.error());
        }
        folder = std::make_unique<ServerFolder>();
        // The shipped administration database has its own content; the
        // bench runs on the scan tests' rows in a database of the bare schema.
        std::filesystem::remove(folder->file("TarvaneSrvAdmin.db"));
        Sqlite(folder->file("TarvaneSrvAdmin.db"), ".read " + folder->file("sql/sqlite/admin.sql"));
        Sqlite(folder->file("TarvaneSrvAdmin.db"), ".read " + Fixture("scan_admin.sql"));
        Sqlite(folder->file("DataTemplate.db"), ".read " + Fixture("scan_inventory.sql"));
        folder->SetInt("LogLevel", 1);  // thread counts, time-outs and retries stay the defaults
        server = StartListening(*folder);
        if (!server)
            throw std::runtime_error("the server did not start");
        console = std::make_unique<ConsoleClient>(folder->port());
        if (console->Login("Bench").empty() || !console->NextNamed("LOG"))
            throw std::runtime_error("no login");

        console->Send("<ADDTREEITEM uid=\"-1\" parent=\"0\" type=\"1\" synch=\"1\" name=\"Agents\" ping=\"3\" tabs=\"\">"
                      "<IP from=\"127.0.66.1-" + std::to_string(agent_count) +
                      "\" to=\"\" file=\"\"/><COMM name=\"public\"/></ADDTREEITEM>");
        std::optional<Reply> item = console->NextNamed("TREEITEM");
        if (!item)
            throw std::runtime_error("no inventory");
        scan_inventory = std::stoi(item->attr("uid"));
        MakeLargeInventory();
    }

    // A snapshot of 10,000 hosts, one of them with an Interfaces tab of 200
    // rows, written with uids far above the ones the server hands out.
    void MakeLargeInventory()
    {
        large_snapshot = 5000000;
        large_tab = 6000000;
        const int first_host = 5000001;
        std::string sql = "BEGIN;";
        sql += "INSERT INTO InventoryTree (uid, parentid, type, status, locked, name, TimeStmp) VALUES (4999999, 0, 1, 0, 0, "
               "'Large', 0);";
        sql += "INSERT INTO InventoryTree (uid, parentid, type, status, locked, name, TimeStmp) VALUES (" +
               std::to_string(large_snapshot) + ", 4999999, 2, 0, 0, 'As of large', 0);";
        sql += "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < " +
               std::to_string(large_hosts) +
               ") INSERT INTO InventoryHosts (AsOfId, uid, NetAddr, NetAddrInt, DNSName, NetName, TimeStmp, HasPing, "
               "HasSnmp, Status, CommunityStr, SysObjId, DevClassId, DevGroupId, DevVendorId, AgentTypeHard, "
               "AgentTypeSoft, AgentTypeMon) SELECT " +
               std::to_string(large_snapshot) + ", " + std::to_string(first_host) +
               " + i, '10.' || (i / 65536) || '.' || ((i / 256) % 256) || '.' || (i % 256), 167772160 + i, "
               "'host' || i || '.example', 'host' || i, 0, 'Y', 'Y', 0, 'public', '.1.3.6.1.4.1.9.1.516', 20, 2, 9, "
               "0, 0, 0 FROM n;";
        sql += "INSERT INTO InventoryTabs (uid, host_id, type, scanorder, horlayout, name) VALUES (" +
               std::to_string(large_tab) + ", " + std::to_string(first_host) + ", 2, 20, 1, 'Interfaces');";
        sql += "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < " +
               std::to_string(table_rows) + ") INSERT INTO ScanInterfacesData (uid, host_id, Data1, Data2) SELECT i, " +
               std::to_string(first_host) + ", 'eth' || i, '6' FROM n;";
        sql += "COMMIT;";
        Sqlite(folder->file("Bench-SrvData.db"), sql);
    }

    static std::unique_ptr<Bench>& instance()
    {
        static std::unique_ptr<Bench> bench;
        return bench;
    }
    // Made on first use, so that a run of other benchmarks starts nothing.
    static Bench& get()
    {
        if (!instance())
            instance() = std::make_unique<Bench>();
        return *instance();
    }
};

void BM_ScanAgents(benchmark::State& state)
{
    Bench& bench = Bench::get();
    int hosts = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        bench.console->Send("<SCAN uid=\"" + std::to_string(bench.scan_inventory) + "\" synch=\"2\"/>");
        hosts = 0;
        for (;;) {
            std::optional<Reply> r = bench.console->Next(300);
            if (!r) {
                state.SkipWithError("the scan did not end");
                return;
            }
            if (r->name == "TREEITEM" && r->attr("type") == "3" && r->attr("status") == "0")
                ++hosts;
            if (r->name == "LOG" && r->attr("text").find("End Scan <Agents>") != std::string::npos)
                break;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (hosts != agent_count) {
            state.SkipWithError(("found " + std::to_string(hosts) + " of the agents").c_str());
            return;
        }
    }
    state.counters["hosts"] = hosts;
    state.counters["hosts_per_s"] = benchmark::Counter(hosts, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ScanAgents)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_GetTreeLargeSnapshot(benchmark::State& state)
{
    Bench& bench = Bench::get();
    size_t items = 0;
    for (auto _ : state) {
        bench.console->Send("<GETTREE root=\"" + std::to_string(bench.large_snapshot) + "\" synch=\"3\"/>");
        std::optional<Reply> tree = bench.console->NextNamed("TREE", 300);
        if (!tree) {
            state.SkipWithError("no TREE");
            return;
        }
        items = tree->children.size();
    }
    state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_GetTreeLargeSnapshot)->UseRealTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_GetTableInLargeInventory(benchmark::State& state)
{
    Bench& bench = Bench::get();
    for (auto _ : state) {
        bench.console->Send("<GETTABLE tabid=\"" + std::to_string(bench.large_tab) + "\" synch=\"4\"/>");
        std::optional<Reply> table = bench.console->Next(60);
        if (!table || table->name != "TABLE") {
            state.SkipWithError(table ? table->xml.c_str() : "no TABLE");
            return;
        }
    }
}
BENCHMARK(BM_GetTableInLargeInventory)->UseRealTime()->Iterations(50)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    setenv("TRV_SOURCE_DIR", TRV_BENCH_SOURCE_DIR, 0);
    setenv("TRV_BINARY_DIR", TRV_BENCH_BINARY_DIR, 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    Bench::instance().reset();  // the server, then the agents, stopped by their PIDs
    benchmark::Shutdown();
    return 0;
}
