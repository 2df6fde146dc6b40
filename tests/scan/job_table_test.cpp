#include "job_table.h"

#include "../common/log_capture.h"
#include "blocked_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <ctime>
#include <map>
#include <thread>
#include <tuple>
#include <vector>

namespace {

Job* make_job(int host_uid, int as_of_id, int state)
{
    Job* job = new Job;
    job->set_host_uid(host_uid);
    job->set_as_of_id(as_of_id);
    job->set_state(state);
    return job;
}

TEST(Job, NewJobDefaults)
{
    Job job;
    EXPECT_EQ(job.get_host_uid(), 0);
    EXPECT_EQ(job.get_scan_id(), -1);
    EXPECT_EQ(job.get_as_of_id(), 0);
    EXPECT_EQ(job.get_state(), JOB_WAIT_PING);
    EXPECT_EQ(job.get_agent_type_hard(), 1);
    EXPECT_EQ(job.get_agent_type_soft(), 1);
    EXPECT_EQ(job.get_agent_type_mon(), 1);
    EXPECT_EQ(job.get_dev_class_id(), 0);
    EXPECT_FALSE(job.is_snmp_output());
    EXPECT_TRUE(job.get_communities().empty());
}

TEST(Job, StampedWithItsCreationTime)
{
    const int before = static_cast<int>(std::time(nullptr));
    Job job;
    const int after = static_cast<int>(std::time(nullptr));
    EXPECT_GE(job.get_time_stamp(), before);
    EXPECT_LE(job.get_time_stamp(), after);
}

TEST(Job, SetCommunitiesReplacesTheList)
{
    Job job;
    job.set_communities({"a", "b"});
    job.set_communities({"public"});
    EXPECT_EQ(job.get_communities(), std::vector<std::string>{"public"});
}

// What a cancel does in each state: held jobs are only asked to stop.
TEST(Job, CancelByState)
{
    const std::map<int, int> expected = {
        {JOB_WAIT_PING, JOB_CANCELLED},         {JOB_WAIT_SNMP, JOB_CANCELLED},
        {JOB_PINGING, JOB_CANCEL_REQUESTED},    {JOB_SNMP_RUNNING, JOB_CANCEL_REQUESTED},
        {JOB_PING_ANSWERED, JOB_CANCEL_REQUESTED}, {JOB_NO_PING, JOB_CANCEL_REQUESTED},
        {JOB_NO_SNMP, JOB_CANCEL_REQUESTED},    {JOB_SNMP_DONE, JOB_CANCEL_REQUESTED},
        {JOB_FINISHED, JOB_CANCELLED},          {JOB_CANCEL_REQUESTED, JOB_CANCEL_REQUESTED},
        {JOB_CANCELLED, JOB_CANCELLED},
    };
    for (auto [from, to] : expected) {
        Job job;
        job.set_state(from);
        EXPECT_EQ(job.cancel(), to) << "from " << from;
        EXPECT_EQ(job.get_state(), to) << "from " << from;
    }
}

TEST(Job, WorkerSeesACancelAndCannotOverwriteIt)
{
    Job job;
    job.set_state(JOB_SNMP_RUNNING);
    EXPECT_FALSE(job.is_cancelled());
    job.cancel();
    EXPECT_FALSE(job.change_state(JOB_SNMP_RUNNING, JOB_SNMP_DONE));
    EXPECT_EQ(job.get_state(), JOB_CANCEL_REQUESTED);
    EXPECT_TRUE(job.is_cancelled());
    EXPECT_EQ(job.get_state(), JOB_CANCELLED);
    EXPECT_TRUE(job.is_cancelled());
}

TEST(Job, LogJobStepLine)
{
    LogCapture log;
    set_errorlevel("11111111100000000000");
    log_job_step("Ping started", 42, "127.0.0.5");
    EXPECT_NE(log.text().find(" Ping started. AsOfId:42, Ip: 127.0.0.5 \n"), std::string::npos)
        << log.text();
}

TEST(JobTable, TakeFirstInCreationOrderAndNeverTwice)
{
    JobTable table;
    table.add(make_job(1, 7, JOB_WAIT_SNMP));
    table.add(make_job(2, 7, JOB_WAIT_PING));
    table.add(make_job(3, 7, JOB_WAIT_SNMP));
    Job* a = table.take_first(JOB_WAIT_SNMP, JOB_SNMP_RUNNING);
    Job* b = table.take_first(JOB_WAIT_SNMP, JOB_SNMP_RUNNING);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->get_host_uid(), 1);
    EXPECT_EQ(b->get_host_uid(), 3);
    EXPECT_EQ(table.take_first(JOB_WAIT_SNMP, JOB_SNMP_RUNNING), nullptr);
    EXPECT_EQ(table.first_in_state(JOB_FINISHED, JOB_CANCELLED), nullptr);
    a->change_state(JOB_SNMP_RUNNING, JOB_FINISHED);
    EXPECT_EQ(table.first_in_state(JOB_FINISHED, JOB_CANCELLED), a);
}

TEST(JobTable, AllJobsDone)
{
    JobTable table;
    EXPECT_TRUE(table.all_jobs_done(5));
    table.add(make_job(1, 5, JOB_FINISHED));
    table.add(make_job(2, 5, JOB_CANCELLED));
    table.add(make_job(3, 6, JOB_SNMP_RUNNING));
    EXPECT_TRUE(table.all_jobs_done(5));
    EXPECT_FALSE(table.all_jobs_done(6));
    table.add(make_job(4, 5, JOB_CANCEL_REQUESTED));
    EXPECT_FALSE(table.all_jobs_done(5));
}

// Two output requests for one host: the saver's removal takes the job it
// stored, not the first one with that host.
TEST(JobTable, RemoveJobByIdentity)
{
    JobTable table;
    Job* first = make_job(9, 1, JOB_SNMP_RUNNING);
    Job* second = make_job(9, 1, JOB_FINISHED);
    table.add(first);
    table.add(second);
    EXPECT_EQ(table.remove_job(second), 0);
    EXPECT_EQ(table.count(), 1);
    EXPECT_EQ(table.find_by_host_uid(9), first);
    EXPECT_EQ(first->get_state(), JOB_SNMP_RUNNING);

    Job stranger;
    LogCapture log;
    set_errorlevel("11111111100000000000");
    EXPECT_EQ(table.remove_job(&stranger), 1);
    EXPECT_EQ(table.count(), 1);
    EXPECT_NE(log.text().find("Error"), std::string::npos);
}

// Each client type numbers its items itself: a cancel reaches only the jobs
// of the client type that asked, even where another type has the same uids.
TEST(JobTable, CancelHostAndSnapshot)
{
    JobTable table;
    std::vector<Job*> other;
    for (int host : {3, 1}) {
        Job* job = make_job(host, host == 3 ? 6 : 5, JOB_WAIT_SNMP);
        job->set_source_key("U");
        other.push_back(job);
        table.add(job);
    }
    for (auto [host, as_of, state] : {std::tuple{1, 5, JOB_PINGING}, std::tuple{2, 5, JOB_WAIT_PING},
                                      std::tuple{3, 6, JOB_WAIT_SNMP}}) {
        Job* job = make_job(host, as_of, state);
        job->set_source_key("T");
        table.add(job);
    }
    EXPECT_FALSE(table.cancel_host(99, "T"));
    EXPECT_FALSE(table.cancel_host(2, "U"));
    EXPECT_TRUE(table.cancel_host(3, "T"));
    EXPECT_EQ(table.cancel_snapshot(5, "T"), 2);
    EXPECT_EQ(table.cancel_snapshot(5, "V"), 0);
    std::map<int, int> states;
    table.for_each([&](Job& job) {
        if (job.get_source_key() == "T")
            states[job.get_host_uid()] = job.get_state();
    });
    EXPECT_EQ(states, (std::map<int, int>{{1, JOB_CANCEL_REQUESTED}, {2, JOB_CANCELLED}, {3, JOB_CANCELLED}}));
    for (Job* job : other)
        EXPECT_EQ(job->get_state(), JOB_WAIT_SNMP);
}

TEST(JobTable, HasJobsLooksAgainAfterTheWait)
{
    JobTable table;
    EXPECT_FALSE(table.has_jobs(1));
    // The job comes while the asker waits, whenever that is.
    std::atomic<pid_t> asker{0};
    std::atomic<bool> seen{false};
    std::thread waiting([&] {
        asker = trvtest::this_thread_id();
        seen = table.has_jobs(120000);
    });
    EXPECT_TRUE(trvtest::poll_until([&] { return asker.load() != 0; }) &&
                trvtest::wait_until_blocked_on(asker.load(), table));
    table.add(make_job(1, 1, JOB_WAIT_PING));
    waiting.join();
    EXPECT_TRUE(seen.load());
    EXPECT_TRUE(table.has_jobs(0));
}

// Workers move jobs only from the state they expect, a canceller cancels at
// random, and a saver removes what is finished or cancelled. A job cancelled
// while a worker held it must end cancelled, never finished; every job is
// removed once, and nothing is freed under a worker (ASan/TSan).
TEST(JobTable, CancelAgainstWorkersAndSaver)
{
    constexpr int kJobs = 3000;
    JobTable table;
    for (int i = 1; i <= kJobs; ++i)
        table.add(make_job(i, 1, i % 2 ? JOB_WAIT_SNMP : JOB_WAIT_PING));

    std::atomic<bool> stop{false};
    auto worker = [&](int from, int running, int done) {
        while (!stop) {
            Job* job = table.take_first(from, running);
            if (!job) {
                std::this_thread::yield();
                continue;
            }
            (void)job->get_net_addr();
            if (job->is_cancelled() || !job->change_state(running, done)) {
                EXPECT_TRUE(job->is_cancelled());
                continue;
            }
            (void)job->get_communities();
            if (job->is_cancelled() || !job->change_state(done, JOB_FINISHED)) {
                EXPECT_TRUE(job->is_cancelled());
            }
        }
    };
    std::map<int, int> saved;  // host uid -> state seen by the saver
    std::thread saver([&] {
        while (static_cast<int>(saved.size()) < kJobs) {
            Job* job = table.first_in_state(JOB_FINISHED, JOB_CANCELLED);
            if (!job) {
                std::this_thread::yield();
                continue;
            }
            saved[job->get_host_uid()] = job->get_state();
            EXPECT_EQ(table.remove_job(job), 0);
        }
    });
    std::vector<int> asked_to_stop;  // held when cancelled
    std::thread canceller([&] {
        for (int i = 1; i <= kJobs; i += 3) {
            table.lock();
            Job* job = table.find_by_host_uid(i);
            if (job && job->cancel() == JOB_CANCEL_REQUESTED)
                asked_to_stop.push_back(i);
            table.unlock();
            std::this_thread::yield();
        }
    });
    std::vector<std::thread> workers;
    for (int i = 0; i < 2; ++i) {
        workers.emplace_back(worker, JOB_WAIT_SNMP, JOB_SNMP_RUNNING, JOB_SNMP_DONE);
        workers.emplace_back(worker, JOB_WAIT_PING, JOB_PINGING, JOB_PING_ANSWERED);
    }
    canceller.join();
    saver.join();
    stop = true;
    for (auto& t : workers)
        t.join();

    EXPECT_EQ(table.count(), 0);
    ASSERT_EQ(saved.size(), static_cast<size_t>(kJobs));
    for (int uid : asked_to_stop)
        EXPECT_EQ(saved[uid], JOB_CANCELLED) << "host " << uid;
    int cancelled = 0;
    for (auto& [uid, state] : saved)
        cancelled += state == JOB_CANCELLED;
    EXPECT_GE(cancelled, static_cast<int>(asked_to_stop.size()));
}

}  // namespace
