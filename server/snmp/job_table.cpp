#include "job_table.h"

#include "qr_log.h"

#include <chrono>

JobTable::~JobTable()
{
    qr_automutex hold(m_);
    for (Job* job : jobs_)
        delete job;
    jobs_.Clear();
}

void JobTable::add(Job* job)
{
    {
        qr_automutex hold(m_);
        jobs_.Add(job);
    }
    notify_change();
}

unsigned long long JobTable::changes()
{
    qr_automutex hold(changed_m_);
    return changes_;
}

void JobTable::notify_change()
{
    {
        qr_automutex hold(changed_m_);
        ++changes_;
    }
    changed_.notify_all();
}

void JobTable::wait_change(unsigned long long seen, int ms, const std::function<bool()>& wake)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    qr_automutex hold(changed_m_);
    while (changes_ == seen && !wake())
        if (!changed_.wait_until(changed_m_, deadline))
            break;
}

int JobTable::count()
{
    qr_automutex hold(m_);
    return jobs_.Count();
}

Job* JobTable::find_by_host_uid(int host_uid)
{
    qr_automutex hold(m_);
    for (Job* job : jobs_)
        if (job->get_host_uid() == host_uid)
            return job;
    return nullptr;
}

Job* JobTable::take_first(int from, int next)
{
    qr_automutex hold(m_);
    for (Job* job : jobs_)
        if (job->change_state(from, next))
            return job;
    return nullptr;
}

Job* JobTable::first_in_state(int a, int b)
{
    qr_automutex hold(m_);
    for (Job* job : jobs_) {
        int state = job->get_state();
        if (state == a || state == b)
            return job;
    }
    return nullptr;
}

bool JobTable::all_jobs_done(int as_of_id)
{
    qr_automutex hold(m_);
    for (Job* job : jobs_) {
        if (job->get_as_of_id() != as_of_id)
            continue;
        int state = job->get_state();
        if (state != JOB_FINISHED && state != JOB_CANCELLED)
            return false;
    }
    return true;
}

int JobTable::count_snapshot(int scan_id, int as_of_id)
{
    qr_automutex hold(m_);
    int n = 0;
    for (Job* job : jobs_)
        n += job->get_scan_id() == scan_id && job->get_as_of_id() == as_of_id;
    return n;
}

bool JobTable::has_jobs(int wait_ms)
{
    // Read before looking: a job added after the look changes it.
    const unsigned long long seen = changes();
    if (count() > 0)
        return true;
    wait_change(seen, wait_ms, [] { return false; });
    return count() > 0;
}

int JobTable::remove_job(Job* job)
{
    {
        qr_automutex hold(m_);
        for (int i = 0; i < jobs_.Count(); ++i) {
            if (jobs_[i] == job) {
                jobs_.RemoveAt(i);
                delete job;
                return 0;
            }
        }
    }
    TRV_LOG(qr_Error, "Cannot remove a job the job table does not hold");
    return 1;
}

bool JobTable::cancel_host(int host_uid, const std::string& client_type)
{
    qr_automutex hold(m_);
    for (Job* job : jobs_) {
        if (job->get_host_uid() == host_uid && job->get_source_key() == client_type) {
            job->cancel();
            notify_change();
            return true;
        }
    }
    return false;
}

int JobTable::cancel_snapshot(int as_of_id, const std::string& client_type)
{
    qr_automutex hold(m_);
    int n = 0;
    for (Job* job : jobs_) {
        if (job->get_as_of_id() == as_of_id && job->get_source_key() == client_type) {
            job->cancel();
            ++n;
        }
    }
    if (n > 0)
        notify_change();
    return n;
}

void JobTable::for_each(const std::function<void(Job&)>& visit)
{
    qr_automutex hold(m_);
    for (Job* job : jobs_)
        visit(*job);
}
