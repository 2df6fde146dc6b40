#include "scan_registry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

TEST(ScansArray, IdsAreTheSmallestFree)
{
    ScansArray scans;
    EXPECT_EQ(scans.add_scan(10, "T"), 0);
    EXPECT_EQ(scans.add_scan(11, "T"), 1);
    EXPECT_EQ(scans.add_scan(12, "T"), 2);
    scans.remove_scan(1);
    EXPECT_EQ(scans.add_scan(13, "T"), 1);
    EXPECT_EQ(scans.get_root(1), 13);
    EXPECT_EQ(scans.get_root(7), -1);
    scans.set_root(7, 5);
    EXPECT_FALSE(scans.has_scan(7));
}

TEST(ScansArray, SnapshotMarks)
{
    ScansArray scans;
    int a = scans.add_scan(1, "T");
    int b = scans.add_scan(2, "T");
    scans.add_snapshot(a, 100);
    scans.add_snapshot(a, 100);
    scans.add_snapshot(b, 100);
    Scan copy;
    ASSERT_TRUE(scans.find(a, copy));
    EXPECT_EQ(copy.snapshots.Count(), 1);
    EXPECT_FALSE(scans.is_snapshot_marked(a, 100));
    scans.mark_snapshot(a, 100);
    scans.mark_snapshot(b, 100);
    EXPECT_TRUE(scans.is_snapshot_marked(a, 100));
    EXPECT_FALSE(scans.is_snapshot_marked(a, 101));
    EXPECT_FALSE(scans.is_snapshot_marked(9, 100));
    scans.unmark_snapshot(a, 100);
    EXPECT_FALSE(scans.is_snapshot_marked(a, 100));
    EXPECT_TRUE(scans.is_snapshot_marked(b, 100));
    EXPECT_FALSE(scans.is_snapshot_cancelled(a, 100));
    EXPECT_FALSE(scans.is_scan_empty(a));
    scans.remove_snapshot(a, 100);
    EXPECT_TRUE(scans.is_scan_empty(a));
    EXPECT_FALSE(scans.is_scan_empty(9));
}

// Item uids are numbered per client type: the cancel of snapshot 100 of
// type T reaches every T scan that holds it and no scan of type U, and it is
// recorded so that the snapshot closes as aborted.
TEST(ScansArray, CancelReachesTheClientTypesScansOnly)
{
    ScansArray scans;
    int a = scans.add_scan(1, "T");
    int b = scans.add_scan(2, "T");
    int other = scans.add_scan(3, "U");
    int elsewhere = scans.add_scan(4, "T");
    for (int id : {a, b, other}) {
        scans.add_snapshot(id, 100);
        scans.mark_snapshot(id, 100);
    }
    scans.add_snapshot(elsewhere, 101);
    scans.mark_snapshot(elsewhere, 101);
    EXPECT_EQ(scans.cancel_snapshot("T", 100), 2);
    EXPECT_FALSE(scans.is_snapshot_marked(a, 100));
    EXPECT_FALSE(scans.is_snapshot_marked(b, 100));
    EXPECT_TRUE(scans.is_snapshot_marked(other, 100));
    EXPECT_TRUE(scans.is_snapshot_marked(elsewhere, 101));
    EXPECT_TRUE(scans.is_snapshot_cancelled(a, 100));
    EXPECT_TRUE(scans.is_snapshot_cancelled(b, 100));
    EXPECT_FALSE(scans.is_snapshot_cancelled(other, 100));
    EXPECT_FALSE(scans.is_snapshot_cancelled(elsewhere, 101));
    EXPECT_EQ(scans.cancel_snapshot("V", 100), 0);
    // A request thread that starts after the cancel does not mark it again.
    EXPECT_FALSE(scans.mark_snapshot_unless_cancelled(a, 100));
    EXPECT_FALSE(scans.is_snapshot_marked(a, 100));
    EXPECT_TRUE(scans.mark_snapshot_unless_cancelled(elsewhere, 101));

    // A cancelled job records it for its own scan's snapshot only.
    scans.note_cancelled(other, 101);
    EXPECT_FALSE(scans.is_snapshot_cancelled(other, 101));
    scans.note_cancelled(other, 100);
    EXPECT_TRUE(scans.is_snapshot_cancelled(other, 100));
    // The record goes with the snapshot.
    scans.remove_snapshot(a, 100);
    scans.add_snapshot(a, 100);
    EXPECT_FALSE(scans.is_snapshot_cancelled(a, 100));
}

// A snapshot is closed by one caller only, and only once it is unmarked;
// the scan ends with the close of its last snapshot, once.
TEST(ScansArray, CloseClaimAndScanEnd)
{
    ScansArray scans;
    int id = scans.add_scan(42, "T");
    scans.add_snapshot(id, 7);
    scans.add_snapshot(id, 8);
    scans.mark_snapshot(id, 7);
    EXPECT_FALSE(scans.claim_snapshot_close(id, 7));
    EXPECT_FALSE(scans.claim_snapshot_close(id, 9));
    scans.unmark_snapshot(id, 7);
    EXPECT_TRUE(scans.claim_snapshot_close(id, 7));
    EXPECT_FALSE(scans.claim_snapshot_close(id, 7));
    int root = -5;
    EXPECT_FALSE(scans.finish_snapshot(id, 7, root));
    EXPECT_EQ(root, -5);
    EXPECT_TRUE(scans.claim_snapshot_close(id, 8));
    EXPECT_TRUE(scans.finish_snapshot(id, 8, root));
    EXPECT_EQ(root, 42);
    EXPECT_FALSE(scans.has_scan(id));
    EXPECT_FALSE(scans.finish_snapshot(id, 8, root));
}

TEST(ScansArray, ConcurrentClosersEndTheScanOnce)
{
    for (int round = 0; round < 50; ++round) {
        ScansArray scans;
        int id = scans.add_scan(1, "T");
        for (int s = 0; s < 4; ++s)
            scans.add_snapshot(id, s);
        std::atomic<int> claims{0}, ends{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 8; ++t) {
            threads.emplace_back([&, t] {
                int snapshot = t % 4;
                int root = -1;
                if (scans.claim_snapshot_close(id, snapshot)) {
                    ++claims;
                    if (scans.finish_snapshot(id, snapshot, root))
                        ++ends;
                }
            });
        }
        for (auto& t : threads)
            t.join();
        EXPECT_EQ(claims, 4);
        EXPECT_EQ(ends, 1);
        EXPECT_EQ(scans.count(), 0);
    }
}

}  // namespace
