#include "qr_socket.h"

#include "qr_exception.h"
#include "qr_log.h"

#include <algorithm>
#include <arpa/inet.h>
#include <climits>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr unsigned no_socket = ~0u;

int fd_of(unsigned socket)
{
    return static_cast<int>(socket);
}

// A port text is decimal 0..65535 and nothing else: "abc" or "70000" must not
// quietly become another port.
bool parse_port(const std::string& port, uint16_t& value)
{
    if (port.empty() || port.size() > 5)
        return false;
    unsigned long n = 0;
    for (char c : port) {
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + static_cast<unsigned long>(c - '0');
    }
    if (n > 65535)
        return false;
    value = static_cast<uint16_t>(n);
    return true;
}

// The host's first IPv4 address with the port's decimal value, or a throw.
sockaddr_in resolve(const std::string& host, uint16_t port)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int rc = getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (rc != 0 || !found) {
        int code = rc == EAI_SYSTEM ? errno : rc;
        if (found)
            freeaddrinfo(found);
        qr_exception("gethostbyname() failed. Host name is: %s, errno=%d", host.c_str(), code);
    }
    sockaddr_in address{};
    std::memcpy(&address, found->ai_addr, sizeof address);
    freeaddrinfo(found);
    address.sin_port = htons(port);
    return address;
}

bool set_option(int fd, int option)
{
    int one = 1;
    return setsockopt(fd, SOL_SOCKET, option, &one, sizeof one) == 0;
}

// A non-blocking connect waited for at most timeout_ms; the descriptor is
// blocking again afterwards.
void connect_within(int fd, const sockaddr_in& address, int timeout_ms, bool& timed_out, const std::string& host,
                    const std::string& port)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0)
        qr_exception("Cannot setup socket option");
    int rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    if (rc != 0 && errno != EINPROGRESS)
        qr_exception("Cannot connect to socket: %s:%s", host.c_str(), port.c_str());
    if (rc != 0) {
        using clock = std::chrono::steady_clock;
        const clock::time_point deadline = clock::now() + std::chrono::milliseconds(timeout_ms);
        for (;;) {
            // Rounded up, here and below: rounding down gave up a fraction
            // of a millisecond before the time-out.
            auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - clock::now()).count();
            pollfd p{fd, POLLOUT, 0};
            rc = ::poll(&p, 1, static_cast<int>(left < 0 ? 0 : left));
            if (rc > 0)
                break;
            if (rc == 0) {
                timed_out = true;
                qr_exception("Cannot connect to socket: %s:%s, timed out", host.c_str(), port.c_str());
            }
            if (errno != EINTR)
                qr_exception("Cannot connect to socket: %s:%s", host.c_str(), port.c_str());
        }
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
            qr_exception("Cannot connect to socket: %s:%s", host.c_str(), port.c_str());
    }
    if (::fcntl(fd, F_SETFL, flags) != 0)
        qr_exception("Cannot setup socket option");
}

}  // namespace

Client_socket::Client_socket(bool manual) : socket_(no_socket), manual_(manual), opened_(false) {}

Client_socket::Client_socket(unsigned socket, bool manual) : socket_(socket), manual_(manual), opened_(true) {}

Client_socket::Client_socket(const std::string& host, const std::string& port, bool manual)
    : socket_(no_socket), manual_(manual), opened_(false)
{
    open(host, port);
}

Client_socket::~Client_socket()
{
    if (opened_ && !manual_)
        close();
}

void Client_socket::open(const std::string& host, const std::string& port)
{
    open(host, port, 0);
}

void Client_socket::open(const std::string& host, const std::string& port, int timeout_ms)
{
    timed_out_ = false;
    // A descriptor this object still owns would otherwise be lost.
    if (opened_ && !manual_)
        close();
    opened_ = false;
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        qr_exception("Cannot create socket, socket() failed");
    // Every failure below closes the new descriptor before it throws.
    try {
        uint16_t port_number = 0;
        if (!parse_port(port, port_number))
            qr_exception("Cannot connect to socket: %s:%s", host.c_str(), port.c_str());
        sockaddr_in address = resolve(host, port_number);
        if (!set_option(fd, SO_REUSEADDR) || !set_option(fd, SO_KEEPALIVE))
            qr_exception("Cannot setup socket option");
        if (timeout_ms > 0) {
            connect_within(fd, address, timeout_ms, timed_out_, host, port);
        } else if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            qr_exception("Cannot connect to socket: %s:%s", host.c_str(), port.c_str());
        }
    } catch (...) {
        ::close(fd);
        throw;
    }
    socket_ = static_cast<unsigned>(fd);
    opened_ = true;
}

void Client_socket::close()
{
    if (!opened_)
        return;
    opened_ = false;
    ::shutdown(fd_of(socket_), SHUT_RDWR);
    ::close(fd_of(socket_));
    // The number may soon belong to another connection: never use it again.
    socket_ = no_socket;
}

void Client_socket::shutdown()
{
    if (opened_)
        ::shutdown(fd_of(socket_), SHUT_RDWR);
}

int Client_socket::send(const std::string& text)
{
    return send(text.data(), static_cast<unsigned>(text.size()));
}

int Client_socket::send(const char* data, unsigned length)
{
    if (!opened_)
        qr_exception("Cannot write to socket No %d, errno=%d", fd_of(socket_), EBADF);
    unsigned sent = 0;
    while (sent < length) {
        // MSG_NOSIGNAL: a peer that has gone away is an error here, not a SIGPIPE.
        ssize_t n = ::send(fd_of(socket_), data + sent, length - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            TRV_LOG(qr_Warning, "socket::send returns -1 with errno EINTR");
            continue;
        }
        if (n <= 0)
            qr_exception("Cannot write to socket No %d, errno=%d", fd_of(socket_), n < 0 ? errno : 0);
        sent += static_cast<unsigned>(n);
    }
    return static_cast<int>(sent);
}

void Client_socket::send_within(const std::string& text, int timeout_seconds)
{
    if (!opened_)
        qr_exception("Cannot write to socket No %d, errno=%d", fd_of(socket_), EBADF);
    using clock = std::chrono::steady_clock;
    const clock::time_point deadline = clock::now() + std::chrono::seconds(timeout_seconds);
    size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = ::send(fd_of(socket_), text.data() + sent, text.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            qr_exception("Cannot write to socket No %d, errno=%d", fd_of(socket_), n < 0 ? errno : 0);
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - clock::now()).count();
        if (left <= 0)
            qr_exception("Send timeout: the peer has not read for %d seconds", timeout_seconds);
        pollfd p{fd_of(socket_), POLLOUT, 0};
        ::poll(&p, 1, static_cast<int>(left));
    }
}

void Client_socket::wait_readable_ms(long long timeout_ms)
{
    if (!opened_)
        qr_exception("Socket read failed");
    pollfd p{fd_of(socket_), POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&p, 1, static_cast<int>(std::clamp<long long>(timeout_ms, 0, INT_MAX)));
    } while (ready < 0 && errno == EINTR);
    if (ready == 0)
        qr_exception("Socket read timeout");
    if (ready < 0)
        qr_exception("Socket select failed");
}

void Client_socket::wait_readable(int timeout_seconds)
{
    if (!opened_)
        qr_exception("Socket read failed");
    if (timeout_seconds == 0)
        return;
    // poll, not select: descriptors above 1023 are common in a busy server.
    using clock = std::chrono::steady_clock;
    const clock::time_point deadline = clock::now() + std::chrono::seconds(timeout_seconds);
    for (;;) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - clock::now()).count();
        if (left < 0)
            left = 0;
        pollfd p{fd_of(socket_), POLLIN, 0};
        int rc = ::poll(&p, 1, static_cast<int>(left));
        if (rc > 0)
            return;  // readable, closed or failed: the receive tells which
        if (rc == 0) {
            timed_out_ = true;
            qr_exception("Socket read timeout");
        }
        if (errno != EINTR)
            qr_exception("Socket select failed");
    }
}

int Client_socket::read(std::string& text, int size, int timeout_seconds)
{
    timed_out_ = false;
    if (size < 0)
        qr_exception("Socket read failed");
    wait_readable(timeout_seconds);
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
    ssize_t n;
    for (;;) {
        n = ::recv(fd_of(socket_), buffer.data(), static_cast<size_t>(size), 0);
        if (n < 0 && errno == EINTR) {
            TRV_LOG(qr_Warning, "socket::read returns -1 with errno EINTR");
            continue;
        }
        break;
    }
    if (n < 0 || (n == 0 && size > 0))
        qr_exception("Socket read failed");
    buffer[static_cast<size_t>(n)] = '\0';
    text.assign(buffer.data());
    return static_cast<int>(n);
}

int Client_socket::read(char* buffer, int size, int timeout_seconds)
{
    timed_out_ = false;
    if (size < 0)
        qr_exception("Socket read failed");
    int got = 0;
    while (got < size) {
        // Each receive waits under the time-out, so a peer that stalls halfway
        // can't hold the reader for ever.
        wait_readable(timeout_seconds);
        ssize_t n = ::recv(fd_of(socket_), buffer + got, static_cast<size_t>(size - got), 0);
        if (n < 0 && errno == EINTR) {
            TRV_LOG(qr_Warning, "socket::read returns -1 with errno EINTR");
            continue;
        }
        if (n <= 0)
            qr_exception("Socket read failed");
        got += static_cast<int>(n);
    }
    return size;
}

std::string Client_socket::recv(int count, int timeout_seconds)
{
    std::string text;
    int got = 0;
    while (got < count) {
        std::string part;
        got += read(part, count - got, timeout_seconds);
        text += part;
    }
    return text;
}

Shared_socket::Shared_socket(bool manual) : socket_(manual) {}

Shared_socket::Shared_socket(unsigned socket, bool manual) : socket_(socket, manual) {}

Shared_socket::Shared_socket(const std::string& host, const std::string& port, bool manual)
    : socket_(host, port, manual)
{
}

void Shared_socket::open(const std::string& host, const std::string& port)
{
    qr_automutex lock(m_);
    if (!socket_.opened_)
        socket_.open(host, port);
}

void Shared_socket::close()
{
    qr_automutex lock(m_);
    socket_.close();
}

int Shared_socket::send(const std::string& text)
{
    qr_automutex lock(m_);
    return socket_.send(text);
}

void Shared_socket::setManual(bool manual)
{
    qr_automutex lock(m_);
    socket_.setManual(manual);
}

int Shared_socket::read(std::string&, int, int)
{
    return -1;
}

std::string Shared_socket::recv(int, int)
{
    return std::string();
}

Server_socket::Server_socket(const std::string& host, const std::string& port) : socket_(no_socket)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        qr_exception("Cannot create socket, socket() failed");
    try {
        if (!set_option(fd, SO_REUSEADDR))
            qr_exception("Cannot create socket, setsockopt() failed");
        if (!set_option(fd, SO_KEEPALIVE))
            qr_exception("Cannot setup socket option SO_KEEPALIVE");
        uint16_t port_number = 0;
        if (!parse_port(port, port_number))
            qr_exception("Cannot bind the socket, errno=%d", EINVAL);
        sockaddr_in address = resolve(host, port_number);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            qr_exception("Cannot bind the socket, errno=%d", errno);
        if (::listen(fd, 5) != 0)
            qr_exception("Cannot listen the socket, errno=%d", errno);
    } catch (...) {
        ::close(fd);
        throw;
    }
    socket_ = static_cast<unsigned>(fd);
}

Server_socket::~Server_socket()
{
    ::close(fd_of(socket_));
}

unsigned Server_socket::accept()
{
    bool reported = false;
    for (;;) {
        // Descriptor 0 is a valid connection; only -1 is a failure.
        int fd = ::accept4(fd_of(socket_), nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0)
            return static_cast<unsigned>(fd);
        switch (errno) {
        case EINTR:
        // Errors of the connection being accepted, not of the listener:
        // that client is gone, the next one is served.
        case ECONNABORTED:
        case EPROTO:
        case ENETDOWN:
        case ENOPROTOOPT:
        case EHOSTDOWN:
        case ENONET:
        case EHOSTUNREACH:
        case EOPNOTSUPP:
        case ENETUNREACH:
            continue;
        // Out of descriptors or memory for now: wait a little rather than
        // stop accepting for the rest of the server's life.
        case EMFILE:
        case ENFILE:
        case ENOBUFS:
        case ENOMEM:
            if (!reported)
                TRV_LOG(qr_Error, "accept failed for lack of resources, errno=" << errno << "; retrying");
            reported = true;
            ::usleep(100 * 1000);
            continue;
        default:
            qr_exception("Cannot accept connection, errno=%d", errno);
        }
    }
}

unsigned short Server_socket::getPort() const
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(fd_of(socket_), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}
