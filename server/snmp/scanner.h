// The scanner: the one process-wide object of the scan engine. It owns the
// job table, the scan registry, and the threads that do the work: ping
// workers, SNMP workers (each with its own SNMP session), one saver, one
// heap-compaction thread, and one thread per scan request. Workers and the
// saver sleep on the job table's change signal when they find no job: a job
// added, or moved into the state they serve, wakes them at once. The poll
// intervals remain only as a fallback. stop() (also run by the destructor)
// wakes every sleeper and joins every thread; a job a worker holds is
// finished first.
//
// Any thread may call the public operations (lock order: qr_sync.h).
// No database work or notification runs under the table's mutex.
#pragma once

#include "job_table.h"
#include "scan_registry.h"
#include "scan_request.h"
#include "qr_sync.h"

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class CSnmpMaster;
class CSnmpSession;

struct ScannerOptions {
    int ping_threads = 1;
    int snmp_threads = 1;
    int ping_poll_ms = 1100;
    int snmp_poll_ms = 1200;
    int saver_poll_ms = 1300;
    int heap_compaction_ms = 5000;
    // The ping program, run as "<program> -c 1 -W <seconds> <address>".
    std::string ping_program = "ping";
    int ping_timeout_seconds = 4;
    // Folder of the SnmpOutput walk files and the PCI names file; empty: the
    // server program's folder.
    std::string program_dir;
    // Off: every walk of a host's scan asks the agent again, one binding at
    // a time (what tests compare the usual scan with).
    bool host_walk_cache = true;
};

class Scanner {
public:
    explicit Scanner(const ScannerOptions& options = ScannerOptions());
    ~Scanner();
    Scanner(const Scanner&) = delete;
    Scanner& operator=(const Scanner&) = delete;

    // Opens the SNMP layer and one session per SNMP worker, then starts the
    // worker, saver and heap-compaction threads. Throws qr_exception_t, with
    // no thread started, when the layer or a session cannot be opened.
    void start();
    // Wakes and joins every thread of the scanner. Jobs left in the table
    // are freed with it.
    void stop();
    bool stopping();
    // Sleeps up to ms; false when the scanner is stopping.
    bool pause(int ms);
    // Sleeps until the job table changes after `seen` (JobTable::changes), up
    // to ms; false when the scanner is stopping.
    bool wait_for_work(unsigned long long seen, int ms);

    // The process-wide scanner (none before scanner_init).
    static Scanner* instance();

    const ScannerOptions& options() const { return options_; }
    const std::string& program_dir() const { return program_dir_; }
    JobTable& jobs() { return jobs_; }
    ScansArray& scans() { return scans_; }

    bool has_jobs(int wait_ms = 2000) { return jobs_.has_jobs(wait_ms); }
    bool all_jobs_done(int as_of_id) { return jobs_.all_jobs_done(as_of_id); }
    int remove_job(Job* job) { return jobs_.remove_job(job); }
    int add_scan(int root, const std::string& client_type) { return scans_.add_scan(root, client_type); }
    void set_scan_root(int scan_id, int root) { scans_.set_root(scan_id, root); }
    // Stops the queuing for a snapshot of the client type and records its cancel.
    void cancel_snapshot(const std::string& client_type, int as_of_id)
    {
        scans_.cancel_snapshot(client_type, as_of_id);
    }

    // Applies a time-out (seconds) and retry count to every open SNMP session
    // of the workers at once; -1 keeps that value.
    void set_snmp_timeouts(int timeout_seconds, int retries);

    // Runs scan_request_thread on a thread of its own. Throws std::system_error
    // when the thread cannot be started (nothing runs then).
    void start_request_thread(const ScanRequest& request);

    // One step of each thread kind, for the loops below: true when a job was
    // handled.
    bool ping_step();
    bool snmp_step(CSnmpSession* session);
    bool saver_step();

private:
    void ping_worker();
    void snmp_worker(CSnmpSession* session);  // owns the session
    void saver_thread();
    void heap_compaction_thread();
    void spawn(void (Scanner::*body)());
    // Runs `step` until the scanner stops, sleeping on the change signal
    // (at most `poll_ms`) while it finds no work; a handled job raises it.
    void serve(const std::function<bool()>& step, int poll_ms);

    ScannerOptions options_;
    std::string program_dir_;
    JobTable jobs_;
    ScansArray scans_;
    // Set in start() and reset in stop(), both under master_m_; workers use it
    // without the lock, as they run only in between. master_m_ is taken
    // alone, or before the master's own session mutex.
    qr_mutex master_m_;
    std::unique_ptr<CSnmpMaster> master_;

    qr_mutex stop_m_;
    qr_condition stop_cv_;
    bool stop_ GUARDED_BY(stop_m_) = false;

    qr_mutex threads_m_;
    std::vector<std::thread> threads_ GUARDED_BY(threads_m_);
};

// Test seam: while set, every start_request_thread fails as when the system
// has no thread left to give. The server sets it from TRV_FAIL_SCAN_THREADS=1.
void fail_request_threads(bool fail);

// Creates the process-wide scanner with the given worker counts and starts
// it. The last two values are not used: each SNMP worker reads its own.
void scanner_init(int ping_threads, int snmp_threads, int snmp_retries, int snmp_timeout);

// Pings the job's address once; the job moves from pinging to answered or
// not answered. False when it was cancelled meanwhile: the job is then the
// saver's and the caller must not touch it again.
bool ping_host(Scanner& scanner, Job* job);

// Cancels the scan of an item of the client type's inventory: a host's job,
// or every job of the snapshots at or below the item. Only that client type's
// jobs and scans: each type numbers its items in its own database.
void cancel_host_scan(Scanner& scanner, int item_uid, const std::string& client_type);
