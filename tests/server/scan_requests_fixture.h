// The fixture of the scan request tests: the real server program over TCP,
// real snmpd agents on 127.0.64.x, the program folder's own databases with a
// few administration rows added. Built twice: on the embedded SQLite files,
// and with the administration data source (and so every inventory) on a
// throwaway PostgreSQL cluster. One server serves every test of the program;
// each test uses a client type of its own. Test thread only.
#pragma once

#include "datasource_files.h"
#include "datasource_odbcinst.h"
#include "pg_cluster.h"
#include "server_process.h"
#include "snmp_agents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#ifndef TRV_SERVER_SCAN_ON_POSTGRESQL
#define TRV_SERVER_SCAN_ON_POSTGRESQL 0
#endif

namespace scan_test {

inline constexpr bool on_postgresql = TRV_SERVER_SCAN_ON_POSTGRESQL != 0;

inline constexpr const char* HostA = "127.0.64.1";  // a mapped device: tabs Summary and Interfaces
inline constexpr const char* HostB = "127.0.64.2";
inline constexpr const char* HostC = "127.0.64.3";

// The message of a LOG line after its date prefix ("MM/DD/YYYY hh:mm:ss ").
inline std::string Message(const Reply& log)
{
    const std::string text = log.attr("text");
    return text.size() > 20 ? text.substr(20) : text;
}

inline bool IsLogWith(const Reply& r, const std::string& what)
{
    return r.name == "LOG" && r.attr("text").find(what) != std::string::npos;
}

// Reads until `done` holds for a frame; every frame read is kept.
inline std::vector<Reply> ReadUntil(ConsoleClient& client, const std::function<bool(const Reply&)>& done,
                                    int seconds = 90)
{
    std::vector<Reply> seen;
    for (;;) {
        std::optional<Reply> r = client.Next(seconds);
        if (!r) {
            ADD_FAILURE() << "no end after " << seen.size() << " frames";
            return seen;
        }
        seen.push_back(*r);
        if (done(*r))
            return seen;
    }
}

// The values snmpwalk reads below root, quotes taken off.
inline std::vector<std::string> WalkValues(const std::string& address, const std::string& root)
{
    std::vector<std::string> values;
    const std::string text =
        run_program({"snmpwalk", "-v1", "-c", "public", "-Oqv", "-Oe", address, root}, static_cast<int*>(nullptr));
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string v = text.substr(start, end - start);
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
            v = v.substr(1, v.size() - 2);
        if (!v.empty())
            values.push_back(v);
        start = end + 1;
    }
    return values;
}

class ScanRequests : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        agents_ = new TestAgents;
        // SNMP output walks every subtree at a time-out of 1 s.
        for (AgentSpec spec : {AgentSpec{HostA, "req-a", "Mapped router", ".1.3.6.1.4.1.9.1.516"},
                               AgentSpec{HostB, "req-b", "Plain box", ".1.3.6.1.4.1.8072.3.2.10"},
                               AgentSpec{HostC, "req-c", "Plain box", ".1.3.6.1.4.1.8072.3.2.10"}}) {
            spec.host_resources = false;
            ASSERT_TRUE(agents_->start(spec)) << agents_->error();
        }

        folder_ = new ServerFolder();
        if (on_postgresql)
            UsePostgresql();
        else
            SeedSqlite();
        std::filesystem::create_directories(folder_->file("SnmpOutput"));
        folder_->SetInt("SNMPTimeout", 1);
        folder_->SetInt("SNMPRetries", 1);
        folder_->SetInt("SNMPTabAttempts", 2);
        folder_->SetInt("ScanThreads", 4);
        folder_->SetInt("PingThreads", 2);
        // Every test's client type opens a pool of its own; on the cluster
        // (100 connections) small pools leave room for all of them.
        folder_->SetInt("UserDBMaxConn", 3);
        server_ = StartListening(*folder_).release();
        ASSERT_NE(server_, nullptr);
    }
    static std::string Fixture(const std::string& name)
    {
        return std::string(std::getenv("TRV_SOURCE_DIR")) + "/tests/server/fixtures/" + name;
    }
    static void SeedSqlite()
    {
        // The shipped administration database has its own content; these
        // scans run on the small fixture instead, in a database of the bare schema.
        std::filesystem::remove(folder_->file("TarvaneSrvAdmin.db"));
        int made = -1;
        const std::string schema_out = run_program(
            {"sqlite3", folder_->file("TarvaneSrvAdmin.db"), ".read " + folder_->file("sql/sqlite/admin.sql")}, &made);
        ASSERT_EQ(made, 0) << schema_out;
        for (auto [db, seed] : {std::pair{"TarvaneSrvAdmin.db", "scan_admin.sql"},
                                std::pair{"DataTemplate.db", "scan_inventory.sql"}}) {
            int status = -1;
            const std::string out = run_program({"sqlite3", folder_->file(db), ".read " + Fixture(seed)}, &status);
            ASSERT_EQ(status, 0) << out;
        }
    }
    static std::string Psql(const std::string& database, std::vector<std::string> args)
    {
        std::vector<std::string> argv = {"psql", "-X", "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1", "-h", "127.0.0.1",
                                         "-p", std::to_string(cluster_->port()), "-U", PgCluster::user(),
                                         "-d", database};
        argv.insert(argv.end(), args.begin(), args.end());
        int status = -1;
        const std::string out = run_program(argv, &status);
        EXPECT_EQ(status, 0) << out;
        return out;
    }
    // The administration database on the cluster, registered in the program
    // folder's ODBC ini under the name the server opens; inventories follow.
    static void UsePostgresql()
    {
        cluster_ = new PgCluster;
        cluster_->start();
        Psql("postgres", {"-c", "CREATE DATABASE trvreqadmin"});
        Psql("trvreqadmin", {"-f", std::string(std::getenv("TRV_SOURCE_DIR")) + "/data/sql/postgresql/admin.sql"});
        Psql("trvreqadmin", {"-f", Fixture("scan_admin.sql")});
        odbc_use_ini_folder(odbc_ini_folder(folder_->path()));
        std::string error;
        const odbc_attributes attributes = {{"Servername", "127.0.0.1"},
                                            {"Port", std::to_string(cluster_->port())},
                                            {"Database", "trvreqadmin"},
                                            {"Username", PgCluster::user()},
                                            {"Password", ""}};
        ASSERT_TRUE(odbc_write_dsn("TarvaneSrvAdmin", odbc_postgresql_unicode_driver, attributes, error)) << error;
    }
    // A type's inventory made on the cluster gets the tab table names.
    static void SeedInventory(const std::string& type)
    {
        static std::set<std::string> seeded;
        if (!on_postgresql || !seeded.insert(type).second)
            return;
        const std::string database = client_data_source_name(type);
        ASSERT_EQ(Psql("postgres", {"-c", "SELECT datname FROM pg_database WHERE datname = '" + database + "'"}),
                  database + "\n");
        Psql(database, {"-f", Fixture("scan_inventory.sql")});
    }

    static void TearDownTestSuite()
    {
        if (server_ != nullptr) {
            EXPECT_EQ(server_->Stop(), 0);
        }
        delete server_;
        delete folder_;
        delete agents_;
        delete cluster_;
    }

    // Each test has a client type of its own, so no push of an earlier
    // test's scan reaches it.
    static std::unique_ptr<ConsoleClient> Console(const std::string& type)
    {
        auto client = std::make_unique<ConsoleClient>(folder_->port());
        EXPECT_FALSE(client->Login(type).empty());
        EXPECT_TRUE(client->NextNamed("LOG").has_value());
        SeedInventory(type);
        return client;
    }

    // Adds an inventory of the range with community "public"; its uid.
    // `mask` is an address mask such as "127.0.64.1-3"; `ping` 2 pings
    // first, 3 tries SNMP first.
    static int AddInventory(ConsoleClient& client, const std::string& name, const std::string& mask,
                            int startscan = 0, int ping = 3)
    {
        EXPECT_TRUE(client.Send("<ADDTREEITEM uid=\"-77\" parent=\"0\" type=\"1\" synch=\"5\" name=\"" + name +
                                "\" ping=\"" + std::to_string(ping) + "\" tabs=\"\" startscan=\"" +
                                std::to_string(startscan) + "\">"
                                "<IP from=\"" + mask + "\" to=\"\" file=\"\"/><COMM name=\"public\"/>"
                                "</ADDTREEITEM>"));
        std::optional<Reply> item = client.NextNamed("TREEITEM");
        EXPECT_TRUE(item.has_value());
        if (!item)
            return -1;
        EXPECT_EQ(item->attr("trvid"), "-77");
        return std::stoi(item->attr("uid"));
    }

    // The snapshot, the host uids by address, and every frame of the scan.
    struct ScanResult {
        std::string snapshot;
        std::map<std::string, std::string> hosts;  // address -> uid
        std::vector<Reply> frames;
    };
    static ScanResult ReadScan(ConsoleClient& client, const std::string& end_title)
    {
        ScanResult result;
        result.frames = ReadUntil(client, [&](const Reply& r) { return IsLogWith(r, "End Scan <" + end_title + ">"); });
        for (const Reply& r : result.frames) {
            if (r.name == "TREEITEM" && r.attr("type") == "2")
                result.snapshot = r.attr("uid");
            if (r.name == "TREEITEM" && r.attr("type") == "3" && r.has("ip"))
                result.hosts[r.attr("ip")] = r.attr("uid");
        }
        return result;
    }

    static std::string Uid(const ScanResult& scan, const char* address)
    {
        auto it = scan.hosts.find(address);
        return it == scan.hosts.end() ? std::string() : it->second;
    }

    inline static TestAgents* agents_ = nullptr;
    inline static ServerFolder* folder_ = nullptr;
    inline static ServerProcess* server_ = nullptr;
    inline static PgCluster* cluster_ = nullptr;
};

}  // namespace scan_test
