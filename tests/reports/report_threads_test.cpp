// Reports on threads of their own: a console that goes away at once, and the
// bound on reports running for one connection.
#include "db_test_env.h"
#include "recording_services.h"
#include "report_fixture.h"

#include "report_thread.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <atomic>
#include <condition_variable>
#include <future>

namespace {

constexpr const char* client = "Inventory";

// A sink that tells when it is freed, counts every element handed to it
// (sent or dropped), and can hold report threads inside their first send
// until released.
class GateSink : public RecordingSink {
public:
    GateSink(std::promise<void>& freed, bool gated, std::atomic<int>* handed = nullptr)
        : RecordingSink(client), freed_(freed), gated_(gated), handed_(handed)
    {}
    ~GateSink() override { freed_.set_value(); }

    void send(const TiXmlElement& element) override
    {
        if (handed_)
            ++*handed_;
        if (gated_ && std::string(element.Value()) == "LOG") {
            std::unique_lock<std::mutex> hold(m_);
            ++waiting_;
            changed_.notify_all();
            changed_.wait(hold, [this] { return open_; });
        }
        RecordingSink::send(element);
    }
    void wait_for_waiting(int n)
    {
        std::unique_lock<std::mutex> hold(m_);
        changed_.wait(hold, [&] { return waiting_ >= n; });
    }
    void open()
    {
        std::lock_guard<std::mutex> hold(m_);
        open_ = true;
        changed_.notify_all();
    }

private:
    std::promise<void>& freed_;
    const bool gated_;
    std::atomic<int>* const handed_;  // outlives the sink
    std::mutex m_;
    std::condition_variable changed_;
    int waiting_ = 0;    // guarded by m_
    bool open_ = false;  // guarded by m_
};

class ReportThreadsTest : public DbBackendTest {
protected:
    void SetUp() override
    {
        admin_ = &report_admin(backend());
        db_ = InventoryDb::make(backend());
        ids_ = add_compare_inventory(*db_->connect());
        services_.set_data_source("ADMIN", admin_->loader.get());
        services_.set_data_source(client, db_->loader.get());
    }

    TiXmlElement request(int synch) const
    {
        TiXmlElement r("CREATE_REPORT");
        r.SetAttribute("type", 1);
        r.SetAttribute("root", ids_.inventory);
        r.SetAttribute("synch", synch);
        return r;
    }

    AdminFixture* admin_ = nullptr;
    std::unique_ptr<InventoryDb> db_;
    CompareIds ids_;
    RecordingServices services_;
    ScopedServerServices installed_{services_};
};

TEST_P(ReportThreadsTest, ConsoleGoneAtOnce)
{
    std::promise<void> freed;
    std::future<void> done = freed.get_future();
    std::atomic<int> handed{0};
    {
        auto sink = std::make_shared<GateSink>(freed, false, &handed);
        ASSERT_TRUE(start_report(request(1), sink));
        sink->close();  // the connection ends; the console holds nothing any more
    }
    // The thread still holds the sink and finishes the report into it (two
    // LOG lines and the TABLE, all dropped); the sink is freed by the thread
    // when it ends, not before.
    done.get();
    EXPECT_EQ(handed.load(), 3);
}

TEST_P(ReportThreadsTest, RunningReportsPerConnectionAreBounded)
{
    std::promise<void> freed;
    std::future<void> done = freed.get_future();
    auto sink = std::make_shared<GateSink>(freed, true);
    const int bound = ReportSink::max_running_reports;
    for (int i = 0; i < bound; ++i)
        ASSERT_TRUE(start_report(request(i), sink));
    sink->wait_for_waiting(bound);  // every report is inside its first send

    EXPECT_FALSE(start_report(request(99), sink));
    std::vector<std::string> sent = sink->sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "<ERROR type=\"254\" message=\"Too many reports are running on this connection.\" "
                       "synch=\"99\" alert=\"1\" />");

    sink->open();
    // Another connection is not affected meanwhile.
    std::promise<void> other_freed;
    std::future<void> other_done = other_freed.get_future();
    ASSERT_TRUE(start_report(request(50), std::make_shared<GateSink>(other_freed, false)));
    other_done.get();

    sink.reset();
    done.get();
}

INSTANTIATE_TEST_SUITE_P(Backends, ReportThreadsTest, TRV_DB_BACKENDS);

}  // namespace
