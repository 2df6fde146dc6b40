#include "net_test_util.h"
#include "qr_config.h"
#include "qr_counters.h"
#include "qr_exception.h"
#include "qr_log.h"
#include "qr_server_frame.h"
#include "qr_settings.h"
#include "qr_socket.h"
#include "registry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

using trvtest::LogCapture;
using trvtest::accept_queue_length;
using trvtest::eventually;

namespace {

// The frame only hands the section on to the handler; these handlers never
// read it, so an empty section serves.
Config& unused_config()
{
    static Config section;
    return section;
}

std::string free_port()
{
    Server_socket probe("127.0.0.1", "0");
    return std::to_string(probe.getPort());
}

std::string message_of(const std::function<void()>& action)
{
    try {
        action();
    } catch (const qr_exception_t& e) {
        return e.message();
    }
    return "(no exception)";
}

// Settings in a private registry folder, and the log in a temporary file.
class Frame : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/trv-frame-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
        new_registry();
    }
    void TearDown() override { std::system(("rm -rf '" + folder_ + "'").c_str()); }

    // An empty registry holding only the host to listen on.
    void new_registry()
    {
        const std::string registry = folder_ + "/registry" + std::to_string(++registries_);
        ASSERT_EQ(::mkdir(registry.c_str(), 0700), 0);
        RegSetStorageFolder(registry);
        WriteRegistryString("ServerHost", "127.0.0.1");
    }

    // Starts a frame on a free port and waits until it listens.
    std::string start(ServerHandler handler, int max_requests)
    {
        std::string port = free_port();
        WriteRegistryString("ServerPort", port);
        WriteRegistryInt("ServerMaxRequests", max_requests);
        run_servers(unused_config(), "TRV", handler);
        EXPECT_TRUE(eventually([&] { return log.contains("started on 127.0.0.1:" + port + " "); }));
        return port;
    }

    LogCapture log;
    std::string folder_;
    int registries_ = 0;
};

// A handler that waits until the test releases it, recording the order of events.
struct Gate {
    std::mutex m;
    std::condition_variable cv;
    int started = 0;               // guarded by m
    int released = 0;              // guarded by m
    std::vector<std::string> events;  // guarded by m
} gate;

void gated_handler(Client_socket& socket, Config&)
{
    {
        std::unique_lock<std::mutex> lock(gate.m);
        int me = ++gate.started;
        gate.events.push_back("start " + std::to_string(me));
        gate.cv.notify_all();
        gate.cv.wait(lock, [&] { return gate.released >= me; });
        gate.events.push_back("end " + std::to_string(me));
    }
    socket.send("done");
}

bool wait_started(int n)
{
    std::unique_lock<std::mutex> lock(gate.m);
    return gate.cv.wait_for(lock, std::chrono::seconds(60), [&] { return gate.started >= n; });
}

void release(int n)
{
    std::lock_guard<std::mutex> lock(gate.m);
    gate.released = n;
    gate.cv.notify_all();
}

// What failing_handler does on its next call.
enum class Outcome { returns, throws_qr_exception, throws_text, throws_int };
std::atomic<Outcome> next_outcome{Outcome::returns};

void failing_handler(Client_socket&, Config&)
{
    switch (next_outcome.load()) {
    case Outcome::returns:
        return;
    case Outcome::throws_qr_exception:
        qr_exception("boom %d", 7);
    case Outcome::throws_text:
        throw "plain text";
    case Outcome::throws_int:
        throw 42;
    }
}

std::atomic<int> kept_socket{-1};

void manual_handler(Client_socket& socket, Config&)
{
    socket.send("x");
    socket.setManual(true);
    kept_socket = static_cast<int>(socket.getSocket());
}

}  // namespace

TEST_F(Frame, OneAllowedClientHoldsTheNextBack)
{
    {
        std::lock_guard<std::mutex> lock(gate.m);
        gate.started = gate.released = 0;
        gate.events.clear();
    }
    const std::string port = start(gated_handler, 1);
    Client_socket first("127.0.0.1", port, false);
    ASSERT_TRUE(wait_started(1));
    // Connects (the backlog takes it) but is not accepted: it stays there.
    Client_socket second("127.0.0.1", port, false);
    EXPECT_TRUE(eventually([&] { return accept_queue_length(port) == 1; }));
    {
        std::lock_guard<std::mutex> lock(gate.m);
        EXPECT_EQ(gate.started, 1);
    }
    release(1);
    EXPECT_EQ(first.recv(4, 60), "done");
    ASSERT_TRUE(wait_started(2));
    release(2);
    EXPECT_EQ(second.recv(4, 60), "done");
    std::lock_guard<std::mutex> lock(gate.m);
    EXPECT_EQ(gate.events, (std::vector<std::string>{"start 1", "end 1", "start 2", "end 2"}));
}

TEST_F(Frame, HandlerFailuresAreCountedLoggedAndTheNextClientIsServed)
{
    struct Case {
        Outcome outcome;
        const char* line;  // the Error line, or nullptr
        int succeeded;
    } cases[] = {
        {Outcome::throws_qr_exception, "Error     Unhandled QR_EXCEPTION exception occured in thread.[boom 7]", 0},
        {Outcome::throws_text, "Error     Unhandled exception occured in thread.[plain text]", 0},
        {Outcome::throws_int, "Error     Unhandled exception occured in thread. ", 0},
        {Outcome::returns, nullptr, 1},
        {Outcome::throws_qr_exception, "Error     Unhandled QR_EXCEPTION exception occured in thread.[boom 7]", 0},
    };
    // One client at a time: each case's connection is admitted only once the
    // previous connection thread has given its place back.
    const std::string port = start(failing_handler, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.outcome));
        const qr_connection_counters before = qr_counters_snapshot();
        const std::string log_before = log.text();
        next_outcome = c.outcome;
        Client_socket client("127.0.0.1", port, false);
        // The frame closes the connection after the counters are put right.
        EXPECT_EQ(message_of([&] { client.recv(1, 60); }), "Socket read failed");
        const qr_connection_counters after = qr_counters_snapshot();
        EXPECT_EQ(after.Total, before.Total + 1);
        EXPECT_EQ(after.Active, before.Active);
        EXPECT_EQ(after.Succeeded, before.Succeeded + c.succeeded);
        EXPECT_EQ(after.Failed(), before.Failed() + 1 - c.succeeded);
        const std::string new_lines = log.text().substr(log_before.size());
        EXPECT_NE(new_lines.find("Debug     Thread started"), std::string::npos);
        if (c.line) {
            EXPECT_NE(new_lines.find(c.line), std::string::npos) << new_lines;
        } else {
            EXPECT_EQ(new_lines.find("Error"), std::string::npos) << new_lines;
        }
    }
}

TEST_F(Frame, ManualSocketOutlivesItsConnectionThread)
{
    const qr_connection_counters before = qr_counters_snapshot();
    const std::string port = start(manual_handler, 4);
    Client_socket client("127.0.0.1", port, false);
    EXPECT_EQ(client.recv(1, 60), "x");
    ASSERT_TRUE(eventually([&] {
        qr_connection_counters now = qr_counters_snapshot();
        return now.Succeeded == before.Succeeded + 1 && now.Active == before.Active;
    }));
    const int fd = kept_socket.load();
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::send(fd, "still", 5, MSG_NOSIGNAL), 5);
    EXPECT_EQ(client.recv(5, 60), "still");
    ::close(fd);
    EXPECT_EQ(message_of([&] { client.recv(1, 60); }), "Socket read failed");
}

TEST_F(Frame, PortInUseEndsTheAcceptThreadWithAnErrorLine)
{
    Server_socket taken("127.0.0.1", "0");
    const std::string port = std::to_string(taken.getPort());
    WriteRegistryString("ServerPort", port);
    run_servers(unused_config(), "TRV", default_handler);
    const std::string expected = "Error     Cannot bind the socket, errno=" + std::to_string(EADDRINUSE) + " ";
    EXPECT_TRUE(eventually([&] { return log.contains(expected); })) << log.text();
    EXPECT_FALSE(log.contains("started on"));
    // The port's owner is untouched.
    Client_socket client("127.0.0.1", port, false);
    Client_socket accepted(taken.accept(), false);
    client.send("k");
    EXPECT_EQ(accepted.recv(1, 60), "k");
}

TEST_F(Frame, AHandedOverSocketIsServedAndNotBoundAgain)
{
    // The configured port is taken: binding it again would fail.
    Server_socket taken("127.0.0.1", "0");
    WriteRegistryString("ServerPort", std::to_string(taken.getPort()));
    auto listener = std::make_unique<Server_socket>("127.0.0.1", "0");
    const std::string port = std::to_string(listener->getPort());
    // A client may connect before the accept thread runs: the socket already listens.
    Client_socket client("127.0.0.1", port, false);
    run_servers(unused_config(), "TRV", default_handler, std::move(listener));
    EXPECT_EQ(client.recv(14, 60), "Hello, world!\n");
    EXPECT_FALSE(log.contains("Cannot bind the socket")) << log.text();
}

TEST_F(Frame, StartLineNamesTheServerAndTheClientLimit)
{
    struct Case {
        const char* server_name;  // nullptr: no value
        int max_requests;
        std::string head;
        std::string tail;
    } cases[] = {
        {nullptr, 3, "Info      Tarvane NI Server started on 127.0.0.1:", " Max. clients 3 "},
        {"Lab server", 20000, "Info      Lab server started on 127.0.0.1:", " Max. clients 10240 "},
        {nullptr, 0, "Info      Tarvane NI Server started on 127.0.0.1:", " Max. clients 1024 "},
        {nullptr, -5, "Info      Tarvane NI Server started on 127.0.0.1:", " Max. clients 1024 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.max_requests);
        new_registry();
        if (c.server_name)
            WriteRegistryString("ServerName", c.server_name);
        const std::string port = start(default_handler, c.max_requests);
        EXPECT_TRUE(log.contains(c.head + port + c.tail)) << log.text();

        Client_socket client("127.0.0.1", port, false);
        EXPECT_EQ(client.recv(14, 60), "Hello, world!\n");
    }
}

TEST(FrameStatistics, LogsTheCountersAtStatisticLevel)
{
    LogCapture log;
    set_errorlevel(qr_Statistic);
    qr_counters_add(&qr_connection_counters::DBconn, 3);
    const qr_connection_counters now = qr_counters_snapshot();
    const std::string indent(36, ' ');
    const std::string expected = "Statistic \tTotal:  " + std::to_string(now.Total) + "\n" + indent +
                                 "\tActive: " + std::to_string(now.Active) + "\n" + indent +
                                 "\tFailed: " + std::to_string(now.Failed()) + "\n" + indent +
                                 "\tDBconn: " + std::to_string(now.DBconn) + " \n";
    // It never returns; a long period keeps it to one line during the test.
    std::thread(Stat_Function, reinterpret_cast<void*>(intptr_t{3600})).detach();
    EXPECT_TRUE(eventually([&] { return log.contains(expected); })) << log.text();
    qr_counters_add(&qr_connection_counters::DBconn, -3);
}
