// The table of all jobs of all running scans, owned by the scanner. The
// scan-request thread appends jobs; ping workers, SNMP workers and the saver
// take the first job in the state they serve; the cancel operation moves
// jobs to the cancel states. The table owns its jobs: `remove_job` frees the
// one it removes, and the destructor frees any left.
//
// Every operation takes the table's mutex for its whole run and may be called
// from any thread (lock order: qr_sync.h). Under the change signal's mutex
// only a waiter's own condition is read. No database work and no
// notification ever runs under the table's mutex.
#pragma once

#include "job.h"

#include "qr_array.h"
#include "qr_sync.h"

#include <functional>
#include <string>

class JobTable {
public:
    JobTable() = default;
    ~JobTable();
    JobTable(const JobTable&) = delete;
    JobTable& operator=(const JobTable&) = delete;

    void lock() ACQUIRE(m_) { m_.lock(); }
    void unlock() RELEASE(m_) { m_.unlock(); }

    // Takes ownership of the job and appends it.
    void add(Job* job);
    int count();
    Job* find_by_host_uid(int host_uid);

    // The first job in state `from`, moved to `next` before the table's mutex
    // is released, so two workers never take one job; none when there is none.
    Job* take_first(int from, int next);
    // The first job in state a or b, left as it is (the saver's pick).
    Job* first_in_state(int a, int b);

    // False as soon as a job of the snapshot is neither finished nor cancelled.
    bool all_jobs_done(int as_of_id);
    // How many jobs of this scan's snapshot the table holds, whatever their
    // state. Scans can share a snapshot (host rescans, SNMP output), and each
    // closes its own part of it: another scan's jobs never hold it open.
    int count_snapshot(int scan_id, int as_of_id);
    // True when there are jobs; on an empty table it waits up to `wait_ms`
    // for one to be added and looks again, so a scan that is just starting
    // is seen.
    bool has_jobs(int wait_ms = 2000);
    // Removes and frees this very job; 1 (and an error line) when the table
    // does not hold it.
    int remove_job(Job* job);

    // Cancels the first job of the client type's host (see Job::cancel);
    // false when none.
    bool cancel_host(int host_uid, const std::string& client_type);
    // Cancels every job of the client type's snapshot; gives how many.
    int cancel_snapshot(int as_of_id, const std::string& client_type);

    // Every job, under the table's mutex (for tests and shutdown).
    void for_each(const std::function<void(Job&)>& visit);

    // The change signal: workers and the saver sleep on it when they find no
    // job, and whoever adds a job or moves one into a state another thread
    // serves raises it, so that no stage waits for its poll interval.
    // `changes` is read before looking for work; `wait_change` returns once
    // the count differs from it, `wake` holds, or `ms` have passed.
    unsigned long long changes();
    void notify_change();
    void wait_change(unsigned long long seen, int ms, const std::function<bool()>& wake);

private:
    qr_mutex m_;
    tgDArray<Job*> jobs_ GUARDED_BY(m_);  // creation order
    qr_mutex changed_m_;
    qr_condition changed_;
    unsigned long long changes_ GUARDED_BY(changed_m_) = 0;  // additions and state moves
};
