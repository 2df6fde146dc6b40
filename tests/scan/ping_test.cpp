// The ping step of the scanner: the system ping on loopback, a stand-in ping
// program for hosts that do not answer (every 127.x address answers), and a
// cancel that arrives while the ping runs.
#include "scan_fixture.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <thread>

namespace {

Job* queue_ping_job(ScanBench& bench, int kind)
{
    int id = bench.register_scan();
    int added = 0;
    add_scan_host(*bench.scanner, id, 0x7f003f4d, "", bench.snapshot, {"public"}, kind, IntArray(), false, 0,
                  ScanClient, added);
    Job* found = nullptr;
    bench.scanner->jobs().for_each([&](Job& j) { found = &j; });
    return found;
}

long host_rows(ScanBench& bench)
{
    return bench.value("SELECT COUNT(*) AS n FROM InventoryHosts WHERE AsOfId=?", bench.snapshot);
}

TEST(PingStep, AnsweredPingStoresTheHostAndHandsItToSnmp)
{
    ScanBench bench(2, {});
    Job* job = queue_ping_job(bench, JOB_KIND_PING_FIRST);
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(job->get_state(), JOB_WAIT_PING);
    ASSERT_TRUE(bench.scanner->ping_step());
    EXPECT_EQ(job->get_state(), JOB_WAIT_SNMP);
    EXPECT_EQ(job->get_has_ping(), 1);
    EXPECT_EQ(host_rows(bench), 1);
    int broadcasts = 0;
    for (const auto& call : bench.services.calls())
        broadcasts += call.name == "BroadcastTreeItem" && call.job == job;
    EXPECT_EQ(broadcasts, 1);
    EXPECT_EQ(bench.logs_with("ip:127.0.63.77 OK. Pinged."), 1);
    EXPECT_FALSE(bench.scanner->ping_step());
}

TEST(PingStep, SilentHostFinishesWithoutARow)
{
    ScannerOptions options = ScanBench::quick_options();
    options.ping_program = "false";
    ScanBench bench(2, {}, {"public"}, "", options);
    Job* job = queue_ping_job(bench, JOB_KIND_PING_FIRST);
    ASSERT_NE(job, nullptr);
    ASSERT_TRUE(bench.scanner->ping_step());
    EXPECT_EQ(job->get_state(), JOB_FINISHED);
    EXPECT_EQ(job->get_has_ping(), 0);
    EXPECT_EQ(host_rows(bench), 0);
    EXPECT_EQ(bench.logs_with("ip:127.0.63.77 No response"), 1);
}

TEST(PingStep, CancelWhilePingRuns)
{
    TempDir dir;
    // The ping answers only once the test has cancelled, however slow the machine.
    std::string slow = dir.file("slow-ping");
    std::string answer = dir.file("answer");
    WriteWholeFile(slow, "#!/bin/sh\nwhile [ ! -e '" + answer + "' ]; do sleep 0.02; done\nexit 0\n");
    ::chmod(slow.c_str(), 0755);
    ScannerOptions options = ScanBench::quick_options();
    options.ping_program = slow;
    ScanBench bench(2, {}, {"public"}, "", options);
    Job* job = queue_ping_job(bench, JOB_KIND_PING_FIRST);
    ASSERT_NE(job, nullptr);
    std::thread worker([&] { bench.scanner->ping_step(); });
    while (job->get_state() == JOB_WAIT_PING)
        std::this_thread::yield();
    bench.scanner->jobs().cancel_snapshot(bench.snapshot, ScanClient);
    WriteWholeFile(answer, "");
    worker.join();
    EXPECT_EQ(job->get_state(), JOB_CANCELLED);
    EXPECT_EQ(host_rows(bench), 0);
}

}  // namespace
