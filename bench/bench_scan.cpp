// Scan speed of the server program with the shipped administration data,
// printed as one table per run so that two builds compare in one run:
//  - a SCAN of an inventory of N snmpd agents (default 50) on 127.0.70.x with
//    the default settings (thread counts, time-out, retries), in hosts/s;
//  - SNMP requests per host, counted by the agents themselves (snmpInPkts,
//    snmpInGetNexts, snmpInGetRequests read with snmpget before and after);
//  - the server's CPU time per host (/proc/<pid>/stat, all its threads);
//  - a shell baseline at the same concurrency: one ping and one snmpwalk per
//    table the administration data reads, per host;
//  - GETTREE of a snapshot of 10,000 hosts and GETTABLE of a 200-row tab,
//    from the request to the whole reply frame on the socket, beside the
//    same SQL run in-process on the same file (SQLite's own API) plus
//    building the XML text.
// Usage: bench_scan [agents]. TRV_BENCH_BEFORE names another server program
// (an earlier build's trvserver) measured the same way in the same run.
#include "qr_payload.h"
#include "server_process.h"
#include "snmp_agents.h"

#include <sqlite3.h>
#include <tinyxml.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

constexpr int large_hosts = 10000;
constexpr int table_rows = 200;
constexpr int baseline_threads = 10;  // the server's default ScanThreads and PingThreads

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string address_of(int i)
{
    return "127.0.70." + std::to_string(i);
}

void sqlite_script(const std::string& db, const std::string& script)
{
    int status = -1;
    const std::string out = run_program({"sqlite3", db, script}, &status);
    if (status != 0)
        throw std::runtime_error("sqlite3 failed: " + out);
}

std::vector<std::string> sqlite_lines(const std::string& db, const std::string& sql)
{
    std::vector<std::string> lines;
    std::istringstream in(run_program({"sqlite3", db, sql}));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The agent's own counters: received packets, GETNEXT and GET requests.
struct AgentCounters {
    long long packets = 0, getnexts = 0, gets = 0;
};

AgentCounters read_counters(const std::string& address)
{
    const std::string out = run_program({"snmpget", "-v1", "-c", "public", "-Oqv", "-r", "3", "-t", "5", address,
                                         ".1.3.6.1.2.1.11.1.0", ".1.3.6.1.2.1.11.16.0", ".1.3.6.1.2.1.11.15.0"});
    std::istringstream in(out);
    AgentCounters c;
    if (!(in >> c.packets >> c.getnexts >> c.gets))
        throw std::runtime_error("no counters from " + address + ": " + out);
    return c;
}

// utime + stime of a process in seconds.
double process_cpu(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    std::istringstream fields(text.substr(close + 2));
    std::vector<std::string> f;
    for (std::string x; fields >> x;)
        f.push_back(x);
    // Fields from 3 (state) on: utime is field 14, stime 15.
    return (std::stod(f.at(11)) + std::stod(f.at(12))) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double load_average()
{
    double one = 0;
    std::ifstream("/proc/loadavg") >> one;
    return one;
}

// A child process without a shell, output discarded; its exit status.
int run_quiet(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    std::vector<std::string> copy = args;
    for (std::string& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The subtrees a scan reads according to the administration data: each
// TABLE row's table entry, and every OID of a VALUE row or of a function
// that is not inside one of those tables; plus discovery's probes.
std::vector<std::string> scanned_roots(const std::string& admin)
{
    std::set<std::string> tables, cells;
    const std::regex oid(R"(\.1\.3\.6\.1(\.[0-9]+)+)");
    for (const std::string& map : sqlite_lines(admin, "SELECT name FROM sqlite_master WHERE type='table' AND name LIKE 'Map%'")) {
        for (const std::string& t : sqlite_lines(admin, "SELECT TableOID FROM " + map + " WHERE RowType='TABLE'"))
            if (!t.empty())
                tables.insert(t);
        for (const std::string& line :
             sqlite_lines(admin, "SELECT * FROM " + map + " WHERE RowType IN ('TABLE', 'VALUE')"))
            for (std::sregex_iterator it(line.begin(), line.end(), oid), end; it != end; ++it)
                cells.insert(it->str());
    }
    for (const char* probe : {".1.3.6.1.2.1.1.2", ".1.3.6.1.2.1.1.5", ".1.3.6.1.4.1.39871.1.3.1.1",
                              ".1.3.6.1.4.1.39871.1.2.1.1.1", ".1.3.6.1.4.1.39871.1.4.1.1.1"})
        cells.insert(probe);
    auto inside = [](const std::string& root, const std::string& o) {
        return o == root || (o.size() > root.size() && o.compare(0, root.size(), root) == 0 && o[root.size()] == '.');
    };
    std::vector<std::string> roots(tables.begin(), tables.end());
    for (const std::string& c : cells) {
        bool covered = false;
        for (const std::string& t : tables)
            covered = covered || inside(t, c);
        if (!covered && !inside(".1.3.6.1.2.1.1", c))
            roots.push_back(c);
    }
    roots.push_back(".1.3.6.1.2.1.1");  // the system group, once
    return roots;
}

struct RequestFigures {
    double tree_ms = 0, tree_sql_ms = 0, tree_encoded_ms = 0;
    double table_ms = 0, table_sql_ms = 0;
    size_t tree_items = 0;
};

struct ScanFigures {
    std::string name;
    RequestFigures requests;
    int hosts = 0;
    double seconds = 0;
    double packets_per_host = 0, getnexts_per_host = 0, gets_per_host = 0;
    double cpu_per_host = 0;
    double load = 0;
};

class Bench {
public:
    explicit Bench(int agents) : agent_count_(agents)
    {
        for (int i = 1; i <= agent_count_; ++i) {
            AgentSpec spec{address_of(i), "bench-" + std::to_string(i), "Linux bench-" + std::to_string(i) +
                                                                            " 6.1.0 x86_64",
                           ".1.3.6.1.4.1.8072.3.2.10"};
            // Every third agent serves the enterprise hardware tables, every
            // other one printer supplies; all serve fixed storage beside the
            // machine's own host resources.
            spec.hardware = i % 3 == 0;
            spec.printer = i % 2 == 0;
            spec.storage = true;
            if (!agents_.start(spec))
                throw std::runtime_error(agents_.error());
        }
    }

    ScanFigures scan(const std::string& name, const std::string& program)
    {
        ServerFolder folder;
        if (!program.empty())
            std::filesystem::copy_file(program, folder.file("trvserver"),
                                       std::filesystem::copy_options::overwrite_existing);
        if (roots_.empty())
            roots_ = scanned_roots(folder.file("TarvaneSrvAdmin.db"));
        folder.SetInt("LogLevel", 1);  // thread counts, time-outs and retries stay the defaults
        std::unique_ptr<ServerProcess> server = StartListening(folder);
        if (!server)
            throw std::runtime_error("the server did not start");
        ConsoleClient console(folder.port());
        if (console.Login("Bench").empty() || !console.NextNamed("LOG"))
            throw std::runtime_error("no login");
        console.Send("<ADDTREEITEM uid=\"-1\" parent=\"0\" type=\"1\" synch=\"1\" name=\"Agents\" ping=\"3\" tabs=\"\">"
                     "<IP from=\"127.0.70.1-" + std::to_string(agent_count_) +
                     "\" to=\"\" file=\"\"/><COMM name=\"public\"/></ADDTREEITEM>");
        std::optional<Reply> item = console.NextNamed("TREEITEM");
        if (!item)
            throw std::runtime_error("no inventory");
        const int inventory = std::stoi(item->attr("uid"));

        std::vector<AgentCounters> before;
        for (int i = 1; i <= agent_count_; ++i)
            before.push_back(read_counters(address_of(i)));
        ScanFigures f;
        f.name = name;
        f.load = load_average();
        const double cpu_before = process_cpu(server->pid());
        const auto start = Clock::now();
        console.Send("<SCAN uid=\"" + std::to_string(inventory) + "\" synch=\"2\"/>");
        for (;;) {
            std::optional<Reply> r = console.Next(600);
            if (!r)
                throw std::runtime_error("the scan did not end");
            if (r->name == "LOG" && r->attr("text").find("End Scan <Agents>") != std::string::npos)
                break;
        }
        f.seconds = seconds_since(start);
        const double cpu = process_cpu(server->pid()) - cpu_before;
        long long packets = 0, getnexts = 0, gets = 0;
        for (int i = 1; i <= agent_count_; ++i) {
            AgentCounters after = read_counters(address_of(i));
            // The reading after the scan counts itself (one packet, one GET).
            packets += after.packets - before[i - 1].packets - 1;
            getnexts += after.getnexts - before[i - 1].getnexts;
            gets += after.gets - before[i - 1].gets - 1;
        }
        f.hosts = count_scanned_hosts(folder);
        const double hosts = std::max(1, f.hosts);
        f.packets_per_host = packets / hosts;
        f.getnexts_per_host = getnexts / hosts;
        f.gets_per_host = gets / hosts;
        f.cpu_per_host = cpu / hosts;
        f.requests = measure_requests(folder, console);
        server->Stop();
        return f;
    }

    double shell_baseline()
    {
        std::atomic<int> next{1};
        const auto start = Clock::now();
        std::vector<std::thread> threads;
        for (int t = 0; t < baseline_threads; ++t) {
            threads.emplace_back([&] {
                for (int i; (i = next.fetch_add(1)) <= agent_count_;) {
                    const std::string address = address_of(i);
                    run_quiet({"ping", "-c", "1", "-W", "4", address});
                    for (const std::string& root : roots_)
                        run_quiet({"snmpwalk", "-v1", "-c", "public", "-t", "5", "-r", "2", address, root});
                }
            });
        }
        for (std::thread& t : threads)
            t.join();
        return seconds_since(start);
    }

    size_t root_count() const { return roots_.size(); }

private:
    static int count_scanned_hosts(const ServerFolder& folder)
    {
        std::vector<std::string> n = sqlite_lines(folder.file("Bench-SrvData.db"),
                                                  "SELECT COUNT(*) FROM InventoryHosts WHERE HasSnmp='Y' AND Status=0");
        return n.empty() ? 0 : std::stoi(n[0]);
    }

    // A snapshot of 10,000 hosts, one of them with an Interfaces tab of 200
    // rows, written with uids far above the ones the server hands out.
    static void make_large_inventory(const std::string& db)
    {
        std::string sql = "BEGIN;";
        sql += "INSERT INTO InventoryTree (uid, parentid, type, status, locked, name, TimeStmp) VALUES (4999999, 0, 1, 0, 0, "
               "'Large', 0);";
        sql += "INSERT INTO InventoryTree (uid, parentid, type, status, locked, name, TimeStmp) VALUES (5000000, "
               "4999999, 2, 0, 0, 'As of large', 0);";
        sql += "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < " +
               std::to_string(large_hosts) +
               ") INSERT INTO InventoryHosts (AsOfId, uid, NetAddr, NetAddrInt, DNSName, NetName, TimeStmp, HasPing, "
               "HasSnmp, Status, CommunityStr, SysObjId, DevClassId, DevGroupId, DevVendorId, AgentTypeHard, "
               "AgentTypeSoft, AgentTypeMon) SELECT 5000000, 5000001 + i, '10.' || (i / 65536) || '.' || "
               "((i / 256) % 256) || '.' || (i % 256), 167772160 + i, 'host' || i || '.example', 'host' || i, 0, "
               "'Y', 'Y', 0, 'public', '.1.3.6.1.4.1.9.1.516', 20, 2, 9, 0, 0, 0 FROM n;";
        sql += "INSERT INTO InventoryTabs (uid, host_id, type, scanorder, horlayout, name) VALUES (6000000, 5000001, 2, "
               "20, 1, 'Interfaces');";
        sql += "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < " +
               std::to_string(table_rows) +
               ") INSERT INTO ScanInterfacesData (uid, host_id, Data1, Data2, Data3, Data4) SELECT i, 5000001, "
               "'eth' || i, '6', '1500', '1000000000' FROM n;";
        sql += "COMMIT;";
        sqlite_script(db, sql);
    }

    // The statements run in-process on the file, each row turned into an
    // element with one attribute per column, printed as XML text.
    // With `encode`, the text is also turned into a frame's payload, as
    // every reply is (zlib at level 9, escaped).
    static double sql_and_xml_ms(const std::string& db_file, const std::vector<std::string>& statements, int repeats,
                                 bool encode = false)
    {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(db_file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + db_file);
        std::vector<double> times;
        for (int r = 0; r < repeats; ++r) {
            const auto start = Clock::now();
            TiXmlElement root("TREE");
            for (const std::string& sql : statements) {
                sqlite3_stmt* stmt = nullptr;
                sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
                while (sqlite3_step(stmt) == SQLITE_ROW) {
                    TiXmlElement item("TREEITEM");
                    for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                        const unsigned char* text = sqlite3_column_text(stmt, c);
                        item.SetAttribute(sqlite3_column_name(stmt, c), text ? reinterpret_cast<const char*>(text) : "");
                    }
                    root.InsertEndChild(item);
                }
                sqlite3_finalize(stmt);
            }
            TiXmlPrinter printer;
            printer.SetStreamPrinting();
            root.Accept(&printer);
            if (printer.Size() == 0)
                throw std::runtime_error("no XML");
            if (encode && CompressPayload(printer.CStr(), true).empty())
                throw std::runtime_error("no payload");
            times.push_back(seconds_since(start) * 1000);
        }
        sqlite3_close(db);
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

    // Sends the request and reads frames straight from the socket until one
    // whose element is `name` has arrived whole: the time of the server and
    // the transfer, without the console's own parsing of a large reply.
    static double timed_request(ConsoleClient& console, const std::string& xml, const std::string& name)
    {
        const auto start = Clock::now();
        console.Send(xml);
        std::string buffer;
        for (;;) {
            const size_t blank = buffer.find(' ');
            if (blank != std::string::npos) {
                const size_t length = std::strtoul(buffer.substr(0, blank).c_str(), nullptr, 10);
                if (buffer.size() >= blank + 1 + length) {
                    const double ms = seconds_since(start) * 1000;
                    const std::string text = DecompressPayload(buffer.substr(blank + 1, length), true);
                    buffer.erase(0, blank + 1 + length);
                    if (text.rfind("<" + name, 0) == 0) {
                        if (!buffer.empty())
                            throw std::runtime_error("more frames after " + name);
                        return ms;
                    }
                    continue;
                }
            }
            pollfd p{console.fd(), POLLIN, 0};
            if (::poll(&p, 1, 300000) <= 0)
                throw std::runtime_error("no " + name);
            char chunk[65536];
            const ssize_t n = ::recv(console.fd(), chunk, sizeof chunk, 0);
            if (n <= 0)
                throw std::runtime_error("connection closed waiting for " + name);
            buffer.append(chunk, static_cast<size_t>(n));
        }
    }

    RequestFigures measure_requests(ServerFolder& folder, ConsoleClient& console)
    {
        const std::string db = folder.file("Bench-SrvData.db");
        make_large_inventory(db);
        RequestFigures f;
        console.Send("<GETTREE root=\"5000000\" synch=\"3\"/>");
        std::optional<Reply> tree = console.NextNamed("TREE", 300);
        if (!tree)
            throw std::runtime_error("no TREE");
        f.tree_items = tree->children.size();
        // The server's request and the in-process work taken in turns, so
        // that the machine's load weighs on both alike; medians of each.
        const std::vector<std::string> tree_sql = {
            "select * from InventoryTree where parentid=5000000", "select * from InventoryHosts where AsOfId=5000000",
            "select * from InventoryTabs where host_id in (select uid from InventoryHosts where AsOfId=5000000) ORDER "
            "BY uid"};
        const std::vector<std::string> table_sql = {
            "select * from InventoryTabs where uid=6000000", "select * from InventoryHosts where uid=5000001",
            "select * from ScanInterfacesData where host_id=5000001 ORDER BY uid"};
        auto median = [](std::vector<double>& v) {
            std::sort(v.begin(), v.end());
            return v[v.size() / 2];
        };
        std::vector<double> server, local, encoded;
        for (int r = 0; r < 15; ++r) {
            server.push_back(timed_request(console, "<GETTREE root=\"5000000\" synch=\"3\"/>", "TREE"));
            local.push_back(sql_and_xml_ms(db, tree_sql, 1));
            encoded.push_back(sql_and_xml_ms(db, tree_sql, 1, true));
        }
        f.tree_ms = median(server);
        f.tree_sql_ms = median(local);
        f.tree_encoded_ms = median(encoded);
        server.clear();
        local.clear();
        for (int r = 0; r < 51; ++r) {
            server.push_back(timed_request(console, "<GETTABLE tabid=\"6000000\" synch=\"4\"/>", "TABLE"));
            local.push_back(sql_and_xml_ms(db, table_sql, 1));
        }
        f.table_ms = median(server);
        f.table_sql_ms = median(local);
        return f;
    }

    int agent_count_;
    TestAgents agents_;
    std::vector<std::string> roots_;
};

void print(const ScanFigures& f, double baseline)
{
    std::printf("%-8s %3d hosts %7.2f s %7.2f hosts/s  baseline ratio %5.2f  packets/host %7.0f  getnext/host %7.0f  "
                "get/host %5.0f  cpu/host %6.3f s  load %4.1f\n",
                f.name.c_str(), f.hosts, f.seconds, f.hosts / f.seconds, baseline / f.seconds, f.packets_per_host,
                f.getnexts_per_host, f.gets_per_host, f.cpu_per_host, f.load);
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("TRV_SOURCE_DIR", TRV_BENCH_SOURCE_DIR, 0);
    setenv("TRV_BINARY_DIR", TRV_BENCH_BINARY_DIR, 0);
    const int agents = argc > 1 ? std::atoi(argv[1]) : 50;
    if (agents < 1 || agents > 250) {
        std::fprintf(stderr, "usage: bench_scan [agents 1-250]\n");
        return 2;
    }
    try {
        Bench bench(agents);
        std::vector<ScanFigures> runs;
        const char* before = std::getenv("TRV_BENCH_BEFORE");
        if (before && *before)
            runs.push_back(bench.scan("before", before));
        runs.push_back(bench.scan("after", ""));
        const double baseline = bench.shell_baseline();
        std::printf("agents %d; shell baseline (%d at once: ping + %zu snmpwalks per host) %.2f s, %.2f hosts/s, "
                    "load %.1f\n",
                    agents, baseline_threads, bench.root_count(), baseline, agents / baseline, load_average());
        for (const ScanFigures& f : runs)
            print(f, baseline);
        if (runs.size() == 2)
            std::printf("after/before: time %.2f, packets %.2f, cpu %.2f\n", runs[1].seconds / runs[0].seconds,
                        runs[1].packets_per_host / runs[0].packets_per_host, runs[1].cpu_per_host / runs[0].cpu_per_host);
        for (const ScanFigures& f : runs) {
            const RequestFigures& r = f.requests;
            std::printf("%-8s GETTREE %zu items: %.1f ms, in-process SQL + XML %.1f ms, ratio %.2f; with the frame's "
                        "payload encoding %.1f ms, ratio %.2f\n",
                        f.name.c_str(), r.tree_items, r.tree_ms, r.tree_sql_ms, r.tree_ms / r.tree_sql_ms,
                        r.tree_encoded_ms, r.tree_ms / r.tree_encoded_ms);
            std::printf("%-8s GETTABLE %d rows: %.2f ms, in-process SQL + XML %.2f ms, ratio %.2f\n", f.name.c_str(),
                        table_rows, r.table_ms, r.table_sql_ms, r.table_ms / r.table_sql_ms);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_scan: %s\n", e.what());
        return 1;
    }
    return 0;
}
