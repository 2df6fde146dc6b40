#include "scanner.h"

#include "discovery.h"
#include "ip_mask.h"
#include "loader.h"
#include "process.h"
#include "saver.h"
#include "services.h"
#include "snmp_master.h"
#include "snmp_session.h"
#include "datasource_files.h"

#include "qr_exception.h"
#include "qr_log.h"
#include "qr_settings.h"

#include <malloc.h>

#include <chrono>
#include <atomic>
#include <system_error>

namespace {

// The process-wide scanner of scanner_init.
qr_mutex instance_m;
std::unique_ptr<Scanner> the_instance GUARDED_BY(instance_m);

}  // namespace

Scanner::Scanner(const ScannerOptions& options)
    : options_(options), program_dir_(options.program_dir.empty() ? get_exe_dir() : options.program_dir)
{
}

Scanner::~Scanner()
{
    stop();
}

void Scanner::spawn(void (Scanner::*body)())
{
    qr_automutex lock(threads_m_);
    threads_.emplace_back(body, this);
}

void Scanner::start()
{
    // Every SNMP worker's session is opened here, before any thread runs: a
    // worker that could not open one would end at once, and the scans queued
    // for SNMP would then never end while start-up reported success.
    std::vector<CSnmpSession*> sessions;
    if (options_.snmp_threads > 0) {
        qr_automutex lock(master_m_);
        if (!master_)
            master_ = std::make_unique<CSnmpMaster>();
        if (!master_->is_usable())
            qr_exception("Cannot start the SNMP layer: %s", master_->get_error_text().c_str());
        const int timeout = snmp_timeout_seconds(ReadRegistryInt("SNMPTimeout", -1));
        const int retries = snmp_retries(ReadRegistryInt("SNMPRetries", -1));
        for (int i = 0; i < options_.snmp_threads; ++i) {
            CSnmpSession* session = master_->create_session("localhost", "wombly", true, timeout, retries);
            if (!session) {
                for (CSnmpSession* made : sessions)
                    delete made;
                qr_exception("Cannot open SNMP session %d of %d: %s", i + 1, options_.snmp_threads,
                             master_->get_error_text().c_str());
            }
            sessions.push_back(session);
        }
    }
    for (int i = 0; i < options_.ping_threads; ++i)
        spawn(&Scanner::ping_worker);
    for (CSnmpSession* session : sessions) {
        qr_automutex lock(threads_m_);
        threads_.emplace_back([this, session] { snmp_worker(session); });
    }
    spawn(&Scanner::saver_thread);
    spawn(&Scanner::heap_compaction_thread);
}

void Scanner::stop()
{
    {
        qr_automutex lock(stop_m_);
        stop_ = true;
    }
    stop_cv_.notify_all();
    jobs_.notify_change();
    // Request threads may still add threads while earlier ones are joined.
    for (;;) {
        std::vector<std::thread> threads;
        {
            qr_automutex lock(threads_m_);
            threads.swap(threads_);
        }
        if (threads.empty())
            break;
        for (std::thread& t : threads)
            t.join();
    }
    qr_automutex lock(master_m_);
    master_.reset();
}

bool Scanner::stopping()
{
    qr_automutex lock(stop_m_);
    return stop_;
}

bool Scanner::pause(int ms)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    qr_automutex lock(stop_m_);
    while (!stop_ && stop_cv_.wait_until(stop_m_, deadline)) { }
    return !stop_;
}

bool Scanner::wait_for_work(unsigned long long seen, int ms)
{
    jobs_.wait_change(seen, ms, [this] { return stopping(); });
    return !stopping();
}

void Scanner::serve(const std::function<bool()>& step, int poll_ms)
{
    while (!stopping()) {
        const unsigned long long seen = jobs_.changes();
        if (step())
            jobs_.notify_change();  // the job moved on: the next stage may take it
        else if (!wait_for_work(seen, poll_ms))
            break;
    }
}

Scanner* Scanner::instance()
{
    qr_automutex lock(instance_m);
    return the_instance.get();
}

namespace {
std::atomic<bool> request_threads_fail{false};
}  // namespace

void fail_request_threads(bool fail)
{
    request_threads_fail = fail;
}

void Scanner::start_request_thread(const ScanRequest& request)
{
    qr_automutex lock(threads_m_);
    if (request_threads_fail)
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again),
                                "Can not start the scan request thread");
    threads_.emplace_back([this, request] { scan_request_thread(*this, request); });
}

void scanner_init(int ping_threads, int snmp_threads, int /*snmp_retries*/, int /*snmp_timeout*/)
{
    ScannerOptions options;
    options.ping_threads = ping_threads < 0 ? 0 : ping_threads;
    options.snmp_threads = snmp_threads < 0 ? 0 : snmp_threads;
    auto scanner = std::make_unique<Scanner>(options);
    Scanner* started = scanner.get();
    {
        qr_automutex lock(instance_m);
        the_instance = std::move(scanner);
    }
    try {
        started->start();
    } catch (...) {
        // No scanner is left behind for requests to find.
        std::unique_ptr<Scanner> failed;
        {
            qr_automutex lock(instance_m);
            failed = std::move(the_instance);
        }
        throw;
    }
    TRV_LOG(qr_Info, "Scaner initialized: ping:" << options.ping_threads << ",snmp:" << options.snmp_threads);
}

// ---- ping -------------------------------------------------------------------

namespace {

// Runs the ping program without a shell; true when it exits with 0.
bool run_ping(const ScannerOptions& options, const std::string& address)
{
    const std::string timeout = std::to_string(options.ping_timeout_seconds);
    int exit_code = -1;
    std::string error;
    if (!RunQuietly({options.ping_program, "-c", "1", "-W", timeout, address}, exit_code, error)) {
        TRV_LOG(qr_Error, error);
        return false;
    }
    return exit_code == 0;
}

}  // namespace

bool ping_host(Scanner& scanner, Job* job)
{
    std::string address = job->get_net_addr();
    std::string key = job->get_source_key();
    TRV_LOG(qr_Info, "Pinging. Ip:" << address);
    SendLogBroadcast("Pinging", key, address);
    if (job->is_cancelled())
        return false;
    bool answered = run_ping(scanner.options(), address);
    if (job->is_cancelled())
        return false;
    if (!answered) {
        job->set_has_ping(0);
        if (!job->change_state(JOB_PINGING, JOB_NO_PING))
            return !job->is_cancelled();
        TRV_LOG(qr_Info, "No response. Ip:" << address);
        SendLogBroadcast("No response", key, address);
        return true;
    }
    job->set_has_ping(1);
    std::string dns = lookup_host_name(address);
    job->set_dns_name(dns);
    if (!job->change_state(JOB_PINGING, JOB_PING_ANSWERED))
        return !job->is_cancelled();
    TRV_LOG(qr_Info, "Pinged, Ip:" << address << ", Host:" << (dns.empty() ? "undefined" : dns));
    SendLogBroadcast("OK. Pinged.", key, address);
    return true;
}

bool Scanner::ping_step()
{
    Job* job = jobs_.take_first(JOB_WAIT_PING, JOB_PINGING);
    if (!job)
        return false;
    log_job_step("Pinging", job->get_as_of_id(), job->get_net_addr());
    if (job->is_cancelled() || !ping_host(*this, job))
        return true;
    // A cancel from here on is either read now or makes change_state fail;
    // never moved on from JOB_CANCEL_REQUESTED as if it were a result.
    int state = job->get_state();
    if (state == JOB_CANCEL_REQUESTED) {
        job->is_cancelled();
        return true;
    }
    if (state == JOB_PING_ANSWERED) {
        DataLoader::replace_host(GetDataSource(job->get_source_key()), *job);
        BroadcastTreeItem(job);
        int next = job->get_kind() == JOB_KIND_PING_FIRST ? JOB_WAIT_SNMP : JOB_FINISHED;
        if (!job->change_state(JOB_PING_ANSWERED, next))
            job->is_cancelled();
    } else if (!job->change_state(state, JOB_FINISHED)) {
        job->is_cancelled();
    }
    return true;
}

void Scanner::ping_worker()
{
    TRV_LOG(qr_Debug, "thr_ping_worker thread started");
    serve([this] { return ping_step(); }, options_.ping_poll_ms);
}

// ---- SNMP -------------------------------------------------------------------

bool Scanner::snmp_step(CSnmpSession* session)
{
    Job* job = jobs_.take_first(JOB_WAIT_SNMP, JOB_SNMP_RUNNING);
    if (!job)
        return false;
    std::string walk_file = job->get_walk_file();
    log_job_step("SNMP Discovering", job->get_as_of_id(), walk_file.empty() ? job->get_net_addr() : walk_file);
    if (job->is_cancelled() || !snmp_discover(*this, session, job))
        return true;
    int state = job->get_state();
    if (state == JOB_CANCEL_REQUESTED) {
        job->is_cancelled();
        return true;
    }
    int next = JOB_FINISHED;
    if (state == JOB_SNMP_DONE) {
        DataLoader::update_host_from_job(GetDataSource(job->get_source_key()), *job);
    } else if (state == JOB_NO_SNMP) {
        // An output request only reads an agent; it never falls back to ping.
        if (job->get_kind() == JOB_KIND_SNMP_FIRST && !job->is_snmp_output())
            next = JOB_WAIT_PING;
    }
    if (!job->change_state(state, next))
        job->is_cancelled();
    return true;
}

void Scanner::set_snmp_timeouts(int timeout_seconds, int retries)
{
    qr_automutex lock(master_m_);
    if (master_)
        master_->set_timeouts(timeout_seconds, retries);
}

void Scanner::snmp_worker(CSnmpSession* session)
{
    TRV_LOG(qr_Debug, "thr_snmp_worker thread started");
    serve([this, session] { return snmp_step(session); }, options_.snmp_poll_ms);
    delete session;
}

// ---- saver and heap ---------------------------------------------------------

bool Scanner::saver_step()
{
    Job* job = jobs_.first_in_state(JOB_FINISHED, JOB_CANCELLED);
    if (!job)
        return false;
    save_host_results(*this, job);
    return true;
}

void Scanner::saver_thread()
{
    TRV_LOG(qr_Debug, "thr_db_saver thread started");
    serve([this] { return saver_step(); }, options_.saver_poll_ms);
}

void Scanner::heap_compaction_thread()
{
    do {
        malloc_trim(0);
        TRV_LOG(qr_Debug_2, "Heap compacted.");
    } while (pause(options_.heap_compaction_ms));
}

// ---- cancel -----------------------------------------------------------------

void cancel_host_scan(Scanner& scanner, int item_uid, const std::string& client_type)
{
    DataLoader* loader = GetDataSource(client_type);
    if (DataLoader::get_item_type(loader, item_uid) == 3) {
        if (!scanner.jobs().cancel_host(item_uid, client_type))
            TRV_LOG(qr_Error, "Can not find Host with ID=" << item_uid);
        return;
    }
    IntArray snapshots;
    DataLoader::walk_subtree(loader, item_uid, snapshots);
    TRV_LOG(qr_Info, "Found " << snapshots.Count() << " snapshots to cancel.");
    for (int as_of_id : snapshots) {
        scanner.cancel_snapshot(client_type, as_of_id);
        scanner.jobs().cancel_snapshot(as_of_id, client_type);
    }
}
