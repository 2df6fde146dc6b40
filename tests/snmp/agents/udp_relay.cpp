#include "udp_relay.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

sockaddr_in address_of(const std::string& address, int port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, address.c_str(), &a.sin_addr);
    return a;
}

// One client of the relay and its own socket towards the agent.
struct Client {
    sockaddr_in from{};
    int back = -1;
    int requests = 0;
    bool owes_held = false;  // the next answer from the agent is to be held
    std::string held;        // an answer held back, empty when none
};

}  // namespace

UdpRelay::~UdpRelay()
{
    stop();
}

bool UdpRelay::start(const std::string& front_address, int front_port, const std::string& back_address,
                     int back_port, const RelayFaults& faults, std::string& error)
{
    front_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in front = address_of(front_address, front_port);
    if (front_ < 0 || ::bind(front_, reinterpret_cast<sockaddr*>(&front), sizeof front) != 0) {
        error = "relay cannot listen on " + front_address + ":" + std::to_string(front_port) + ": " +
                std::strerror(errno);
        stop();
        return false;
    }
    if (::pipe2(wake_, O_CLOEXEC) != 0) {
        error = "relay: no pipe";
        stop();
        return false;
    }
    back_address_ = back_address;
    back_port_ = back_port;
    faults_ = faults;
    thread_ = std::thread([this] { run(); });
    return true;
}

void UdpRelay::stop()
{
    if (thread_.joinable()) {
        char byte = 0;
        while (::write(wake_[1], &byte, 1) < 0 && errno == EINTR) {
        }
        thread_.join();
    }
    for (int* fd : {&front_, &wake_[0], &wake_[1]}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void UdpRelay::run()
{
    const sockaddr_in agent = address_of(back_address_, back_port_);
    std::map<std::pair<uint32_t, uint16_t>, Client> clients;
    int requests = 0;
    std::vector<char> buffer(65536);
    auto answer = [&](Client& c, const std::string& bytes) {
        ::sendto(front_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&c.from), sizeof c.from);
    };
    // Reads one answer of the agent for this client: held or passed back.
    auto take_answer = [&](Client& c) {
        const ssize_t n = ::recv(c.back, buffer.data(), buffer.size(), 0);
        if (n < 0)
            return;
        std::string bytes(buffer.data(), static_cast<size_t>(n));
        if (c.owes_held) {
            c.held = bytes;
            c.owes_held = false;
        } else {
            answer(c, bytes);
        }
    };
    for (;;) {
        std::vector<pollfd> fds = {{wake_[0], POLLIN, 0}, {front_, POLLIN, 0}};
        std::vector<Client*> by_fd;
        for (auto& [key, c] : clients) {
            fds.push_back({c.back, POLLIN, 0});
            by_fd.push_back(&c);
        }
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[0].revents)
            break;
        for (size_t i = 2; i < fds.size(); ++i)
            if (fds[i].revents & POLLIN)
                take_answer(*by_fd[i - 2]);
        if (!(fds[1].revents & POLLIN))
            continue;
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n =
            ::recvfrom(front_, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (n < 0)
            continue;
        if (++requests <= faults_.drop_first)
            continue;
        const std::string request(buffer.data(), static_cast<size_t>(n));
        Client& c = clients[{from.sin_addr.s_addr, from.sin_port}];
        if (c.back < 0) {
            c.from = from;
            c.back = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
            ::connect(c.back, reinterpret_cast<const sockaddr*>(&agent), sizeof agent);
        }
        // The held answer goes out first, so it is late for the request that
        // follows it. An agent that has not answered yet is waited for
        // (bounded: one that never answers leaves nothing to hold).
        if (c.owes_held) {
            pollfd p{c.back, POLLIN, 0};
            if (::poll(&p, 1, 60000) > 0)
                take_answer(c);
            c.owes_held = false;
        }
        if (!c.held.empty()) {
            answer(c, c.held);
            c.held.clear();
        }
        if (faults_.hold_odd_answers && ++c.requests % 2 == 1)
            c.owes_held = true;
        ::send(c.back, request.data(), request.size(), 0);
    }
    for (auto& [key, c] : clients)
        ::close(c.back);
}
