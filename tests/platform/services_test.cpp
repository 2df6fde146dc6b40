// The callers' side of the server's services, over the recording stand-in.
#include "qr_exception.h"
#include "qr_log.h"
#include "recording_services.h"
#include "services.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string kTime = RecordingServices::kTimeText;

// Opaque stand-ins: the services only pass these pointers on.
TRVConnector* FakeConnector(int& storage)
{
    return reinterpret_cast<TRVConnector*>(&storage);
}

TEST(Services, EndOfScanLines)
{
    RecordingServices services;
    ScopedServerServices installed(services);
    services.set_item_title("Console", 42, "Office");

    SendEndScan(42, "Console", false);
    SendEndScan(-1, "Console", true);

    const std::vector<std::string> expected = {
        kTime + " Scan <Office> has been completed.",
        kTime + " End Scan <Office>---------------------------------------------------------------",
        kTime + " Scan  has been aborted.",
        kTime + " End Scan -----------------------------------------------------------------------",
    };
    EXPECT_EQ(expected, services.log_texts());
    EXPECT_EQ(80u + kTime.size() + 1, expected[1].size());
    for (const RecordingServices::Push& push : services.pushes()) {
        EXPECT_EQ("Console", push.client_type);
        EXPECT_EQ(nullptr, push.connector);
        EXPECT_EQ(std::string::npos, push.xml.find("alert")) << push.xml;
    }

    // A long title is not cut and gets no dashes.
    services.clear();
    const std::string long_title(90, 't');
    services.set_item_title("Console", 5, long_title);
    SendEndScan(5, "Console", false);
    EXPECT_EQ(kTime + " End Scan <" + long_title + ">", services.log_texts().at(1));
}

TEST(Services, LogLines)
{
    RecordingServices services;
    ScopedServerServices installed(services);
    int a = 0;
    TRVConnector* connector = FakeConnector(a);

    SendLogBroadcast("Pinging", "Console", "10.0.0.1");
    SendLogBroadcast("No any IP added.", "Other", "", true);
    SendLogTo(connector, "Connected to server: localhost", false);
    SendLogTo(connector, "Report failed", true, "10.0.0.2");
    SendLogAlert(connector, "No data found for report 'r' under branch 'b'");
    SendLogTo(nullptr, "nobody", false);
    SendLogAlert(nullptr, "nobody");

    const std::vector<RecordingServices::Push> pushes = services.pushes();
    ASSERT_EQ(5u, pushes.size());
    EXPECT_EQ("<LOG text=\"" + kTime + " ip:10.0.0.1 Pinging\" />", pushes[0].xml);
    EXPECT_EQ("Console", pushes[0].client_type);
    EXPECT_EQ("<LOG text=\"" + kTime + " No any IP added.\" alert=\"1\" />", pushes[1].xml);
    EXPECT_EQ("Other", pushes[1].client_type);
    EXPECT_EQ("<LOG text=\"" + kTime + " Connected to server: localhost\" />", pushes[2].xml);
    EXPECT_EQ(connector, pushes[2].connector);
    EXPECT_EQ("<LOG text=\"" + kTime + " ip:10.0.0.2 Report failed\" alert=\"1\" />", pushes[3].xml);
    EXPECT_EQ("<LOG text=\"No data found for report &apos;r&apos; under branch &apos;b&apos;\" "
              "alert=\"1\" />",
              pushes[4].xml);
    EXPECT_EQ(connector, pushes[4].connector);
    EXPECT_EQ("No data found for report 'r' under branch 'b'", services.log_texts().at(4));
}

TEST(Services, SnmpOutput)
{
    RecordingServices services;
    ScopedServerServices installed(services);

    SendSNMPOutput(7, "Console", "10.1.2.3", {{"sysDescr = Linux", "a & <b>"}, {}, {"\"q\""}});

    const std::vector<RecordingServices::Push> pushes = services.pushes();
    ASSERT_EQ(3u, pushes.size());
    EXPECT_EQ("<SNMP_OUTPUT uid=\"7\"><LN d=\"sysDescr = Linux\" /><LN d=\"a &amp; &lt;b&gt;\" />"
              "<LN d='&quot;q&quot;' /></SNMP_OUTPUT>",
              pushes[0].xml);
    const std::vector<std::string> logs = services.log_texts();
    const std::vector<std::string> expected = {
        kTime + " ip:10.1.2.3 ip:10.1.2.3 SNMP output data was sent.",
        kTime + " ip:10.1.2.3 End Getting SNMP Output "
                "---------------------------------------------------------",
    };
    EXPECT_EQ(expected, logs);
    for (const RecordingServices::Push& push : pushes)
        EXPECT_EQ("Console", push.client_type);
}

TEST(Services, LookupsAndTreeCallsReachTheInstalledServices)
{
    RecordingServices services;
    ScopedServerServices installed(services);
    int a = 0, b = 0, c = 0;
    DataLoader* admin = reinterpret_cast<DataLoader*>(&a);
    DataLoader* console = reinterpret_cast<DataLoader*>(&b);
    Job* job = reinterpret_cast<Job*>(&c);
    TRVConnector* connector = FakeConnector(c);
    services.set_data_source("ADMIN", admin);
    services.set_data_source("Console", console);
    services.set_server_host("inventory.example");

    EXPECT_EQ(admin, GetAdminDataSource());
    EXPECT_EQ(console, GetDataSource("Console"));
    EXPECT_EQ(&services.GetDatabaseMutex(), &GetDatabaseMutex());
    EXPECT_EQ("inventory.example", GetServerHost());

    FILE* log = std::tmpfile();
    ASSERT_NE(nullptr, log);
    FILE* previous = get_log_file_fd();
    set_log_file_fd(log);
    set_errorlevel(qr_Error);
    EXPECT_EQ(nullptr, GetDataSource("console"));
    set_log_file_fd(previous == stdout ? nullptr : previous);
    std::rewind(log);
    char line[512] = {};
    ASSERT_NE(nullptr, std::fgets(line, sizeof line, log));
    std::fclose(log);
    EXPECT_NE(nullptr, std::strstr(line, "Can not get data source by key console")) << line;

    BroadcastTreeItem(job);
    EXPECT_EQ(0, SendTreeItem(9, "Console", connector, 3));
    SendTreeItemList(11, 0, "Console");
    const std::vector<RecordingServices::Call> calls = services.calls();
    ASSERT_EQ(3u, calls.size());
    EXPECT_EQ("BroadcastTreeItem", calls[0].name);
    EXPECT_EQ(job, calls[0].job);
    EXPECT_EQ(0, calls[0].value);
    EXPECT_EQ("SendTreeItem", calls[1].name);
    EXPECT_EQ(9, calls[1].uid);
    EXPECT_EQ(connector, calls[1].connector);
    EXPECT_EQ(3, calls[1].synch);
    EXPECT_EQ("SendTreeItemList", calls[2].name);
    EXPECT_EQ(11, calls[2].uid);
    EXPECT_EQ(0, calls[2].value);
    EXPECT_EQ(-1, calls[2].synch);
    EXPECT_EQ(nullptr, calls[2].connector);
}

TEST(Services, NothingInstalled)
{
    ASSERT_EQ(nullptr, GetServerServices());
    EXPECT_THROW(GetDatabaseMutex(), qr_exception_t);
    EXPECT_THROW(GetServerHost(), qr_exception_t);
    EXPECT_EQ(nullptr, GetAdminDataSource());
    EXPECT_EQ(1, SendTreeItem(1, "Console"));
    SendLogBroadcast("lost", "Console");
    SendEndScan(1, "Console", false);

    // Installing and removing puts the previous services back.
    RecordingServices services;
    {
        ScopedServerServices installed(services);
        EXPECT_EQ(&services, GetServerServices());
        SendLogBroadcast("kept", "Console");
    }
    EXPECT_EQ(nullptr, GetServerServices());
    SendLogBroadcast("lost", "Console");
    EXPECT_EQ(std::vector<std::string>{kTime + " kept"}, services.log_texts());
}

TEST(Services, SendersOnManyThreads)
{
    RecordingServices services;
    ScopedServerServices installed(services);
    constexpr int kThreads = 4;
    constexpr int kLines = 100;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kLines; ++i)
                SendLogBroadcast("line " + std::to_string(i), "T" + std::to_string(t));
        });
    for (std::thread& th : threads)
        th.join();
    std::vector<int> next(kThreads, 0);
    for (const RecordingServices::Push& push : services.pushes()) {
        const int t = push.client_type.at(1) - '0';
        EXPECT_NE(std::string::npos,
                  push.xml.find(" line " + std::to_string(next[static_cast<size_t>(t)]++) + "\""))
            << push.xml;
    }
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(kLines, next[static_cast<size_t>(t)]);
}

}  // namespace
