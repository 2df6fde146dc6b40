// A snapshot always closes and a scan always ends, exactly once: without
// address ranges, with masks that give no address, when the saver stores the
// last job before the request thread has finished queuing, and when both
// race. Real SQLite inventory; notifications through the recording services.
#include "saver.h"
#include "scan_fixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>
#include <utility>
#include <vector>

namespace {

const char* const Completed = "Scan <Inv> has been completed.";
const char* const Aborted = "Scan <Inv> has been aborted.";
const char* const EndScan = "End Scan <Inv>";

void expect_closed_once(ScanBench& bench, int scan_id, const char* outcome, long status)
{
    EXPECT_EQ(bench.value("SELECT status FROM InventoryTree WHERE uid=?", bench.snapshot), status);
    EXPECT_EQ(bench.logs_with(outcome), 1);
    EXPECT_EQ(bench.logs_with(" has been "), 1);
    EXPECT_EQ(bench.logs_with(EndScan), 1);
    EXPECT_EQ(bench.calls("SendTreeItem", bench.snapshot), 1);
    EXPECT_EQ(bench.calls("SendTreeItemList", bench.snapshot), 1);
    EXPECT_FALSE(bench.scanner->scans().has_scan(scan_id));
}

ScanRequest range_request(ScanBench& bench, int scan_id)
{
    ScanRequest r;
    r.scan_id = scan_id;
    r.as_of_id = bench.snapshot;
    r.client_type = ScanClient;
    return r;
}

// No ranges at all, and ranges whose masks give no address (an empty range
// and refused ones): nothing is queued, yet the snapshot closes.
TEST(SnapshotClose, NothingQueued)
{
    const std::vector<std::vector<std::string>> cases = {{}, {"127.0.63.5-3"}, {"*.0.0.1", "127.0.0.300"}};
    for (const auto& masks : cases) {
        SCOPED_TRACE(masks.empty() ? "no ranges" : masks[0]);
        ScanBench bench(1, masks);
        int id = bench.register_scan();
        scan_request_thread(*bench.scanner, range_request(bench, id));
        EXPECT_EQ(bench.scanner->jobs().count(), 0);
        EXPECT_EQ(bench.logs_with("No any IP added."), 1);
        expect_closed_once(bench, id, Completed, 0);
    }
}

// The saver stores the last job while the request thread still holds its
// mark: nothing closes then; the request thread's end closes the snapshot.
TEST(SnapshotClose, LastJobSavedBeforeQueuingEnds)
{
    ScanBench bench(1, {"127.0.63.1"});
    int id = bench.register_scan();
    ScansArray& scans = bench.scanner->scans();
    scans.add_snapshot(id, bench.snapshot);
    scans.mark_snapshot(id, bench.snapshot);
    int added = 0;
    add_scan_host(*bench.scanner, id, 0x7f003f01, "", bench.snapshot, {"public"}, 1, IntArray(), false, 0,
                  ScanClient, added);
    Job* job = bench.scanner->jobs().take_first(JOB_WAIT_SNMP, JOB_SNMP_RUNNING);
    ASSERT_NE(job, nullptr);
    ASSERT_TRUE(job->change_state(JOB_SNMP_RUNNING, JOB_FINISHED));
    ASSERT_TRUE(bench.scanner->saver_step());
    EXPECT_EQ(bench.scanner->jobs().count(), 0);
    EXPECT_EQ(bench.logs_with(" has been "), 0);
    EXPECT_EQ(bench.value("SELECT status FROM InventoryTree WHERE uid=?", bench.snapshot), 1);
    EXPECT_TRUE(scans.has_scan(id));

    // What the request thread does once it has queued everything.
    scans.unmark_snapshot(id, bench.snapshot);
    close_snapshot_when_done(*bench.scanner, id, bench.snapshot, ScanClient, false);
    close_snapshot_when_done(*bench.scanner, id, bench.snapshot, ScanClient, false);
    expect_closed_once(bench, id, Completed, 0);
}

// The real request thread against a real saver thread and a worker that
// finishes jobs as fast as it can: whichever order the last save and the
// unmark come in, the scan ends once.
TEST(SnapshotClose, RequestThreadRacesTheSaver)
{
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        ScanBench bench(1, {"127.0.63.1-3", "127.0.63.4"});
        int id = bench.register_scan();
        bench.scanner->start();  // the saver (no workers)
        std::atomic<bool> stop{false};
        std::thread worker([&] {
            while (!stop) {
                if (Job* job = bench.scanner->jobs().take_first(JOB_WAIT_SNMP, JOB_SNMP_RUNNING))
                    job->change_state(JOB_SNMP_RUNNING, JOB_FINISHED);
                else
                    std::this_thread::yield();
            }
        });
        scan_request_thread(*bench.scanner, range_request(bench, id));
        // Bounded only against a hang: ends as soon as the scan does.
        for (int i = 0; i < 24000 && bench.scanner->scans().has_scan(id); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        stop = true;
        worker.join();
        bench.scanner->stop();
        EXPECT_EQ(bench.scanner->jobs().count(), 0);
        expect_closed_once(bench, id, Completed, 0);
    }
}

// Two scans in one snapshot, as two host rescans, or a rescan and an SNMP
// output request, make them: the first scan's last job is stored while the
// second's still waits. Each scan ends when its own jobs are done, and each
// end is announced once.
TEST(SnapshotClose, ScansSharingASnapshotEachEnd)
{
    for (bool second_is_output : {false, true}) {
        SCOPED_TRACE(second_is_output ? "rescan and SNMP output" : "two rescans");
        ScanBench bench(1, {"127.0.63.1"});
        bench.services.set_item_title(ScanClient, bench.snapshot, "Snap");
        ScansArray& scans = bench.scanner->scans();
        int first = bench.scanner->add_scan(bench.inventory, ScanClient);
        int second = bench.scanner->add_scan(bench.snapshot, ScanClient);
        int added = 0;
        for (int id : {first, second}) {
            scans.add_snapshot(id, bench.snapshot);
            scans.mark_snapshot(id, bench.snapshot);
            bool output = id == second && second_is_output;
            add_scan_host(*bench.scanner, id, id == first ? 0x7f003f01 : 0x7f003f02, "", bench.snapshot,
                          {"public"}, 1, IntArray(), output, output ? 4242 : 0, ScanClient, added);
            scans.unmark_snapshot(id, bench.snapshot);
        }
        Job* job = bench.scanner->jobs().take_first(JOB_WAIT_SNMP, JOB_SNMP_RUNNING);
        ASSERT_NE(job, nullptr);
        ASSERT_EQ(job->get_scan_id(), first);
        ASSERT_TRUE(job->change_state(JOB_SNMP_RUNNING, JOB_FINISHED));
        ASSERT_TRUE(bench.scanner->saver_step());
        EXPECT_FALSE(scans.has_scan(first));
        EXPECT_TRUE(scans.has_scan(second));
        EXPECT_EQ(bench.logs_with("End Scan <Inv>"), 1);
        EXPECT_EQ(bench.logs_with("End Scan <Snap>"), 0);

        job = bench.scanner->jobs().take_first(JOB_WAIT_SNMP, JOB_SNMP_RUNNING);
        ASSERT_NE(job, nullptr);
        ASSERT_TRUE(job->change_state(JOB_SNMP_RUNNING, JOB_FINISHED));
        ASSERT_TRUE(bench.scanner->saver_step());
        EXPECT_FALSE(scans.has_scan(second));
        EXPECT_EQ(scans.count(), 0);
        EXPECT_EQ(bench.logs_with("End Scan <Inv>"), 1);
        EXPECT_EQ(bench.logs_with("End Scan <Snap>"), 1);
        EXPECT_EQ(bench.logs_with(" has been completed."), 2);
        EXPECT_EQ(bench.calls("SendTreeItemList", bench.snapshot), 2);
        EXPECT_EQ(bench.scanner->jobs().count(), 0);
    }
}

// Cancel while hosts are queued and one is being worked on: the worker's
// host row ends with status 4, the snapshot with 4, and "aborted" is said.
TEST(SnapshotClose, CancelledScanIsAborted)
{
    ScanBench bench(1, {"127.0.63.1-3"});
    int id = bench.register_scan();
    ScansArray& scans = bench.scanner->scans();
    scans.add_snapshot(id, bench.snapshot);
    scans.mark_snapshot(id, bench.snapshot);
    int added = 0;
    for (uint32_t a = 1; a <= 3; ++a)
        add_scan_host(*bench.scanner, id, 0x7f003f00 + a, "", bench.snapshot, {"public"}, 1, IntArray(), false, 0,
                      ScanClient, added);
    Job* held = bench.scanner->jobs().take_first(JOB_WAIT_SNMP, JOB_SNMP_RUNNING);
    ASSERT_NE(held, nullptr);
    DataLoader::replace_host(bench.db->loader.get(), *held);

    cancel_host_scan(*bench.scanner, bench.inventory, ScanClient);
    EXPECT_FALSE(scans.is_snapshot_marked(id, bench.snapshot));
    EXPECT_EQ(held->get_state(), JOB_CANCEL_REQUESTED);
    // The two waiting jobs are stored; the held one is not the saver's yet.
    EXPECT_TRUE(bench.scanner->saver_step());
    EXPECT_TRUE(bench.scanner->saver_step());
    EXPECT_FALSE(bench.scanner->saver_step());
    EXPECT_EQ(bench.logs_with(" has been "), 0);
    // The worker sees the cancel and lets go.
    EXPECT_FALSE(held->change_state(JOB_SNMP_RUNNING, JOB_SNMP_DONE));
    EXPECT_TRUE(held->is_cancelled());
    int host = held->get_host_uid();
    EXPECT_TRUE(bench.scanner->saver_step());
    EXPECT_EQ(bench.value("SELECT Status FROM InventoryHosts WHERE uid=?", host), 4);
    expect_closed_once(bench, id, Aborted, 4);
}

// A cancel that comes while every job still waits (for ping here, so no
// host has a row to carry status 4), or before the request thread queued
// anything: the scan still ends as aborted, with snapshot status 4.
TEST(SnapshotClose, CancelBeforeAnyHostRowIsAborted)
{
    for (bool before_queuing : {false, true}) {
        SCOPED_TRACE(before_queuing ? "before queuing" : "jobs waiting");
        ScanBench bench(2, {"127.0.63.1-3"});
        int id = bench.register_scan();
        ScansArray& scans = bench.scanner->scans();
        if (before_queuing) {
            // What the request server does before it starts the thread.
            scans.add_snapshot(id, bench.snapshot);
            scans.mark_snapshot(id, bench.snapshot);
            cancel_host_scan(*bench.scanner, bench.inventory, ScanClient);
            scan_request_thread(*bench.scanner, range_request(bench, id));
            EXPECT_EQ(bench.scanner->jobs().count(), 0);
        } else {
            scan_request_thread(*bench.scanner, range_request(bench, id));
            ASSERT_EQ(bench.scanner->jobs().count(), 3);
            EXPECT_EQ(bench.logs_with(" has been "), 0);
            cancel_host_scan(*bench.scanner, bench.inventory, ScanClient);
            for (int i = 0; i < 3; ++i)
                EXPECT_TRUE(bench.scanner->saver_step());
        }
        EXPECT_EQ(bench.value("SELECT COUNT(*) AS n FROM InventoryHosts WHERE AsOfId=?", bench.snapshot), 0);
        expect_closed_once(bench, id, Aborted, 4);
    }
}

// Two client types whose databases hand out the same uids: a CANCELSCAN of
// one type's snapshot, and of one type's host, leaves the other type's jobs
// and scan alone.
TEST(SnapshotClose, CancelLeavesOtherClientTypesAlone)
{
    ScanBench bench(1, {"127.0.63.1-2"});
    auto other_db = bench.add_client_type("U");
    ScansArray& scans = bench.scanner->scans();
    int other = bench.scanner->add_scan(bench.inventory, "U");
    int mine = bench.register_scan();
    int added = 0;
    // The other type's jobs come first in the table.
    for (auto [id, type] : {std::pair{other, "U"}, std::pair{mine, ScanClient}}) {
        scans.add_snapshot(id, bench.snapshot);
        scans.mark_snapshot(id, bench.snapshot);
        for (uint32_t a = 1; a <= 2; ++a)
            add_scan_host(*bench.scanner, id, 0x7f003f00 + a, "", bench.snapshot, {"public"}, 1, IntArray(), false, 0,
                          type, added);
    }
    std::map<std::string, std::vector<Job*>> jobs;
    bench.scanner->jobs().for_each([&](Job& job) { jobs[job.get_source_key()].push_back(&job); });
    ASSERT_EQ(jobs["U"].size(), 2u);
    ASSERT_EQ(jobs[ScanClient].size(), 2u);
    // The same host uids on both sides.
    int host = jobs[ScanClient][0]->get_host_uid();
    ASSERT_EQ(jobs["U"][0]->get_host_uid(), host);

    // A host of this type: only its job goes.
    DataLoader::replace_host(bench.db->loader.get(), *jobs[ScanClient][0]);
    cancel_host_scan(*bench.scanner, host, ScanClient);
    EXPECT_EQ(jobs[ScanClient][0]->get_state(), JOB_CANCELLED);
    EXPECT_EQ(jobs["U"][0]->get_state(), JOB_WAIT_SNMP);

    // The snapshot of this type: its scan stops queuing and its jobs go.
    cancel_host_scan(*bench.scanner, bench.snapshot, ScanClient);
    EXPECT_FALSE(scans.is_snapshot_marked(mine, bench.snapshot));
    EXPECT_TRUE(scans.is_snapshot_marked(other, bench.snapshot));
    EXPECT_EQ(jobs[ScanClient][1]->get_state(), JOB_CANCELLED);
    for (Job* job : jobs["U"])
        EXPECT_EQ(job->get_state(), JOB_WAIT_SNMP);
    EXPECT_TRUE(bench.scanner->saver_step());
    EXPECT_TRUE(bench.scanner->saver_step());
    EXPECT_FALSE(bench.scanner->saver_step());
    expect_closed_once(bench, mine, Aborted, 4);
    EXPECT_TRUE(scans.has_scan(other));
    EXPECT_EQ(bench.scanner->jobs().count(), 2);
    EXPECT_EQ(other_db->count("SELECT status FROM InventoryTree WHERE uid=?", {int32_t(bench.snapshot)}), 1);
}

}  // namespace
