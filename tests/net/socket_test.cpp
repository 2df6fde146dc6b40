#include "net_test_util.h"
#include "qr_exception.h"
#include "qr_socket.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

using trvtest::LoopbackPair;
using trvtest::eventually;

namespace {

std::string message_of(const std::function<void()>& action)
{
    try {
        action();
    } catch (const qr_exception_t& e) {
        return e.message();
    }
    return "(no exception)";
}

bool is_open(int fd)
{
    return ::fcntl(fd, F_GETFD) != -1;
}

int unread_bytes(unsigned socket)
{
    int n = -1;
    ::ioctl(static_cast<int>(socket), FIONREAD, &n);
    return n;
}

// Both read forms, used where the behaviour must not differ between them.
struct ReadForm {
    const char* name;
    std::function<int(Client_socket&, int size, int timeout)> read;
};

const std::vector<ReadForm>& read_forms()
{
    static const std::vector<ReadForm> forms = {
        {"text", [](Client_socket& s, int size, int t) { std::string text; return s.read(text, size, t); }},
        {"buffer", [](Client_socket& s, int size, int t) { std::vector<char> b(size); return s.read(b.data(), size, t); }},
        {"recv", [](Client_socket& s, int size, int t) { return static_cast<int>(s.recv(size, t).size()); }},
    };
    return forms;
}

}  // namespace

TEST(Socket, ReadTimeOutSetsFlagAndNextReadClearsIt)
{
    for (const ReadForm& form : read_forms()) {
        SCOPED_TRACE(form.name);
        LoopbackPair pair;
        EXPECT_EQ(message_of([&] { form.read(*pair.client, 3, 1); }), "Socket read timeout");
        EXPECT_TRUE(pair.client->isTimeOut());
        pair.peer->send("abc");
        EXPECT_EQ(form.read(*pair.client, 3, 1), 3);
        EXPECT_FALSE(pair.client->isTimeOut());
    }
}

TEST(Socket, PeerCloseIsReadFailure)
{
    for (const ReadForm& form : read_forms()) {
        SCOPED_TRACE(form.name);
        LoopbackPair pair;
        pair.peer->close();
        EXPECT_EQ(message_of([&] { form.read(*pair.client, 4, 1); }), "Socket read failed");
        EXPECT_FALSE(pair.client->isTimeOut());
        // Also without a time-out, and after part of the bytes arrived.
        EXPECT_EQ(message_of([&] { form.read(*pair.client, 4, 0); }), "Socket read failed");
    }
    LoopbackPair pair;
    pair.peer->send("ab");
    pair.peer->close();
    std::vector<char> buffer(4);
    EXPECT_EQ(message_of([&] { pair.client->read(buffer.data(), 4, 1); }), "Socket read failed");
}

TEST(Socket, SplitArrivalIsGatheredToTheFullCount)
{
    struct Case {
        const char* name;
        std::function<std::string(Client_socket&)> read10;
    } cases[] = {
        {"recv", [](Client_socket& s) { return s.recv(10, 60); }},
        {"buffer", [](Client_socket& s) {
             char b[10];
             EXPECT_EQ(s.read(b, 10, 60), 10);
             return std::string(b, 10);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackPair pair;
        std::string got;
        std::thread reader([&] { got = c.read10(*pair.client); });
        pair.peer->send("abcd");
        // The second part goes only once the reader has taken the first.
        ASSERT_TRUE(eventually([&] { return unread_bytes(pair.client->getSocket()) == 0; }));
        pair.peer->send("efghij");
        reader.join();
        EXPECT_EQ(got, "abcdefghij");
    }
}

TEST(Socket, TextReadStopsAtZeroByteButCountsEveryByte)
{
    LoopbackPair pair;
    pair.peer->send(std::string("ab\0cd", 5));
    ASSERT_TRUE(eventually([&] { return unread_bytes(pair.client->getSocket()) == 5; }));
    std::string text = "old";
    EXPECT_EQ(pair.client->read(text, 10, 1), 5);
    EXPECT_EQ(text, "ab");

    pair.peer->send(std::string("xy\0z", 4));
    EXPECT_EQ(pair.client->recv(4, 1), "xy");
}

TEST(Socket, CloseTwiceClosesOnce)
{
    LoopbackPair pair;
    int fd = static_cast<int>(pair.client->getSocket());
    pair.client->close();
    EXPECT_FALSE(is_open(fd));
    // Occupy the freed number so a second close would hit this descriptor.
    int other = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    if (other != fd) {
        ASSERT_EQ(::dup2(other, fd), fd);
        ::close(other);
    }
    pair.client->close();
    pair.client.reset();
    EXPECT_TRUE(is_open(fd));
    ::close(fd);
}

TEST(Socket, ClosedSocketNeverUsesItsOldDescriptorNumber)
{
    LoopbackPair pair;
    LoopbackPair other;
    int fd = static_cast<int>(pair.client->getSocket());
    pair.client->close();
    // Another connection takes the freed number.
    ASSERT_EQ(::dup2(static_cast<int>(other.client->getSocket()), fd), fd);
    EXPECT_EQ(message_of([&] { pair.client->send("LEAK"); }).rfind("Cannot write to socket No ", 0), 0u);
    for (const ReadForm& form : read_forms()) {
        SCOPED_TRACE(form.name);
        EXPECT_EQ(message_of([&] { form.read(*pair.client, 4, 1); }), "Socket read failed");
    }
    EXPECT_EQ(unread_bytes(other.peer->getSocket()), 0) << "bytes reached another connection";
    ::close(fd);
}

TEST(Socket, DestructorClosesUnlessManual)
{
    struct Case {
        bool manual_at_construction;
        bool set_manual_later;
        bool stays_open;
    } cases[] = {{false, false, false}, {true, false, true}, {false, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.manual_at_construction << c.set_manual_later);
        Server_socket listener("127.0.0.1", "0");
        Client_socket client("127.0.0.1", std::to_string(listener.getPort()), false);
        unsigned accepted = listener.accept();
        {
            Client_socket wrapped(accepted, c.manual_at_construction);
            if (c.set_manual_later)
                wrapped.setManual(true);
        }
        EXPECT_EQ(is_open(static_cast<int>(accepted)), c.stays_open);
        if (c.stays_open) {
            // Still a working connection that its owner closes.
            ASSERT_EQ(::send(static_cast<int>(accepted), "ok", 2, MSG_NOSIGNAL), 2);
            std::string text;
            EXPECT_EQ(client.read(text, 2, 1), 2);
            EXPECT_EQ(text, "ok");
            ::close(static_cast<int>(accepted));
        }
        EXPECT_EQ(message_of([&] { client.recv(1, 1); }), "Socket read failed");
    }
}

TEST(Socket, SendToVanishedPeerThrowsWithoutKillingTheProcess)
{
    LoopbackPair pair;
    pair.peer->close();
    const std::string block(64 * 1024, 'x');
    std::string message;
    for (int i = 0; i < 100 && message.empty(); ++i) {
        try {
            EXPECT_EQ(pair.client->send(block), static_cast<int>(block.size()));
        } catch (const qr_exception_t& e) {
            message = e.message();
        }
    }
    // Reaching this line at all means no SIGPIPE ended the process.
    std::string expected = "Cannot write to socket No " + std::to_string(pair.client->getSocket()) + ", errno=";
    EXPECT_EQ(message.substr(0, expected.size()), expected);
    int err = std::atoi(message.substr(expected.size()).c_str());
    EXPECT_TRUE(err == EPIPE || err == ECONNRESET) << message;
}

TEST(Socket, DescriptorAbove1023IsWaitedOn)
{
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    const int high = 1500;
    if (limit.rlim_cur <= static_cast<rlim_t>(high)) {
        if (limit.rlim_max <= static_cast<rlim_t>(high))
            GTEST_SKIP() << "descriptor limit too low";
        limit.rlim_cur = high + 1;
        ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);
    }
    LoopbackPair pair;
    pair.client->setManual(true);
    int low = static_cast<int>(pair.client->getSocket());
    ASSERT_EQ(::dup2(low, high), high);
    ::close(low);
    Client_socket moved(static_cast<unsigned>(high), false);
    EXPECT_EQ(message_of([&] { moved.recv(2, 1); }), "Socket read timeout");
    pair.peer->send("hi");
    EXPECT_EQ(moved.recv(2, 1), "hi");
}

TEST(Socket, ConnectAndListenFailures)
{
    unsigned short free_port;
    {
        Server_socket probe("127.0.0.1", "0");
        free_port = probe.getPort();
    }
    Server_socket taken("127.0.0.1", "0");
    const std::string taken_port = std::to_string(taken.getPort());
    const std::string closed_port = std::to_string(free_port);

    struct Case {
        std::function<void()> action;
        std::string message;
    } cases[] = {
        {[&] { Client_socket c("127.0.0.1", closed_port, false); }, "Cannot connect to socket: 127.0.0.1:" + closed_port},
        // An empty name fails in the resolver itself, with no network query.
        {[&] { Client_socket c("", "1", false); }, "gethostbyname() failed. Host name is: , errno="},
        {[&] { Server_socket s("", "0"); }, "gethostbyname() failed. Host name is: , errno="},
        {[&] { Server_socket s("127.0.0.1", taken_port); }, "Cannot bind the socket, errno=" + std::to_string(EADDRINUSE)},
        // Port texts that are no port never fall back to some other port.
        {[&] { Server_socket s("127.0.0.1", "abc"); }, "Cannot bind the socket, errno=" + std::to_string(EINVAL)},
        {[&] { Server_socket s("127.0.0.1", "70000"); }, "Cannot bind the socket, errno=" + std::to_string(EINVAL)},
        {[&] { Client_socket c("127.0.0.1", "", false); }, "Cannot connect to socket: 127.0.0.1:"},
    };
    for (const Case& c : cases) {
        std::string got = message_of(c.action);
        EXPECT_EQ(got.substr(0, c.message.size()), c.message);
        if (c.message.back() == '=') {
            EXPECT_GT(got.size(), c.message.size()) << got;
        }
    }
    // A failed open leaves the object closed and reusable.
    Client_socket client(false);
    EXPECT_EQ(message_of([&] { client.open("127.0.0.1", closed_port); }), "Cannot connect to socket: 127.0.0.1:" + closed_port);
    client.open("127.0.0.1", taken_port);
    Client_socket accepted(taken.accept(), false);
    client.send("1");
    EXPECT_EQ(accepted.recv(1, 1), "1");
}

TEST(Socket, LocalhostListenerTakesLoopbackOnly)
{
    Server_socket listener("localhost", "0");
    const std::string port = std::to_string(listener.getPort());
    EXPECT_EQ(message_of([&] { Client_socket c("127.0.0.2", port, false); }), "Cannot connect to socket: 127.0.0.2:" + port);
    Client_socket client("127.0.0.1", port, false);
    Client_socket accepted(listener.accept(), false);
    accepted.send("x");
    EXPECT_EQ(client.recv(1, 1), "x");
}

TEST(SharedSocket, ConcurrentOpenConnectsOnceAndSendsAreWhole)
{
    Server_socket listener("127.0.0.1", "0");
    const std::string port = std::to_string(listener.getPort());
    Shared_socket shared(false);
    {
        std::thread a([&] { shared.open("127.0.0.1", port); });
        std::thread b([&] { shared.open("127.0.0.1", port); });
        a.join();
        b.join();
    }
    Client_socket peer(listener.accept(), false);

    const int per_thread = 200;
    const std::string messages[] = {std::string(1000, 'A'), std::string(1000, 'B')};
    {
        std::vector<std::thread> senders;
        for (const std::string& m : messages)
            senders.emplace_back([&] {
                for (int i = 0; i < per_thread; ++i)
                    EXPECT_EQ(shared.send(m), 1000);
            });
        std::string received;
        while (received.size() < 2u * per_thread * 1000)
            received += peer.recv(static_cast<int>(std::min<size_t>(65536, 2u * per_thread * 1000 - received.size())), 5);
        for (std::thread& t : senders)
            t.join();
        for (size_t at = 0; at < received.size(); at += 1000)
            ASSERT_EQ(received.substr(at, 1000).find_first_not_of(received[at]), std::string::npos) << at;
    }
    std::string text = "kept";
    EXPECT_EQ(shared.read(text, 10, 1), -1);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(shared.recv(10, 1), "");

    // Only one connection was made: the next one accepted is a new client's.
    Client_socket marker("127.0.0.1", port, false);
    Client_socket next(listener.accept(), false);
    marker.send("m");
    EXPECT_EQ(next.recv(1, 1), "m");

    shared.close();
    shared.close();
    EXPECT_EQ(message_of([&] { peer.recv(1, 1); }), "Socket read failed");
}
