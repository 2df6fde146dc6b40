// The socket classes of qr_socket.h over Winsock 2 (the console's Windows
// build); the POSIX implementation is CommonLibs/qr_socket.cpp. Messages and
// behaviour are the same; error numbers are WSAGetLastError()'s.
#include "qr_socket.h"

#include "qr_exception.h"
#include "qr_log.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned no_socket = ~0u;

// Winsock handles are kernel handles: only their low 32 bits are significant,
// so the classes' unsigned field holds them whole.
SOCKET handle_of(unsigned socket)
{
    return static_cast<SOCKET>(socket);
}

// Winsock is started once for the process and never cleaned up: sockets may
// live until the process ends.
void ensure_winsock()
{
    static const int started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data);
    }();
    if (started != 0)
        qr_exception("Cannot create socket, WSAStartup failed, error=%d", started);
}

bool parse_port(const std::string& port, u_short& value)
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
    value = static_cast<u_short>(n);
    return true;
}

sockaddr_in resolve(const std::string& host, u_short port)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int rc = getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (rc != 0 || !found) {
        if (found)
            freeaddrinfo(found);
        qr_exception("gethostbyname() failed. Host name is: %s, errno=%d", host.c_str(), rc);
    }
    sockaddr_in address{};
    std::memcpy(&address, found->ai_addr, sizeof address);
    freeaddrinfo(found);
    address.sin_port = htons(port);
    return address;
}

bool set_option(SOCKET s, int option)
{
    BOOL one = TRUE;
    return setsockopt(s, SOL_SOCKET, option, reinterpret_cast<const char*>(&one), sizeof one) == 0;
}

// A new TCP socket that programs started later do not inherit.
SOCKET new_socket()
{
    ensure_winsock();
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        qr_exception("Cannot create socket, socket() failed");
    SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
    return s;
}

bool set_blocking(SOCKET s, bool blocking)
{
    u_long nonblocking = blocking ? 0 : 1;
    return ioctlsocket(s, FIONBIO, &nonblocking) == 0;
}

// A non-blocking connect waited for at most timeout_ms; blocking again after.
void connect_within(SOCKET s, const sockaddr_in& address, int timeout_ms, bool& timed_out, const std::string& host,
                    const std::string& port)
{
    if (!set_blocking(s, false))
        qr_exception("Cannot setup socket option");
    if (::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (WSAGetLastError() != WSAEWOULDBLOCK)
            qr_exception("Cannot connect to socket: %s:%s", host.c_str(), port.c_str());
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(s, &writable);
        FD_SET(s, &failed);
        timeval limit{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
        int rc = ::select(0, nullptr, &writable, &failed, &limit);
        if (rc == 0) {
            timed_out = true;
            qr_exception("Cannot connect to socket: %s:%s, timed out", host.c_str(), port.c_str());
        }
        if (rc < 0 || FD_ISSET(s, &failed))
            qr_exception("Cannot connect to socket: %s:%s", host.c_str(), port.c_str());
    }
    if (!set_blocking(s, true))
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
    if (opened_ && !manual_)
        close();
    opened_ = false;
    SOCKET s = new_socket();
    try {
        u_short port_number = 0;
        if (!parse_port(port, port_number))
            qr_exception("Cannot connect to socket: %s:%s", host.c_str(), port.c_str());
        sockaddr_in address = resolve(host, port_number);
        if (!set_option(s, SO_KEEPALIVE))
            qr_exception("Cannot setup socket option");
        if (timeout_ms > 0) {
            connect_within(s, address, timeout_ms, timed_out_, host, port);
        } else if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            qr_exception("Cannot connect to socket: %s:%s", host.c_str(), port.c_str());
        }
    } catch (...) {
        ::closesocket(s);
        throw;
    }
    socket_ = static_cast<unsigned>(s);
    opened_ = true;
}

void Client_socket::close()
{
    if (!opened_)
        return;
    opened_ = false;
    ::shutdown(handle_of(socket_), SD_BOTH);
    ::closesocket(handle_of(socket_));
    socket_ = no_socket;
}

void Client_socket::shutdown()
{
    if (opened_)
        ::shutdown(handle_of(socket_), SD_BOTH);
}

int Client_socket::send(const std::string& text)
{
    return send(text.data(), static_cast<unsigned>(text.size()));
}

int Client_socket::send(const char* data, unsigned length)
{
    if (!opened_)
        qr_exception("Cannot write to socket No %d, errno=%d", static_cast<int>(socket_), WSAENOTSOCK);
    unsigned sent = 0;
    while (sent < length) {
        int part = length - sent > 0x40000000u ? 0x40000000 : static_cast<int>(length - sent);
        int n = ::send(handle_of(socket_), data + sent, part, 0);
        if (n == SOCKET_ERROR && WSAGetLastError() == WSAEINTR) {
            TRV_LOG(qr_Warning, "socket::send returns -1 with errno EINTR");
            continue;
        }
        if (n <= 0)
            qr_exception("Cannot write to socket No %d, errno=%d", static_cast<int>(socket_),
                         n < 0 ? WSAGetLastError() : 0);
        sent += static_cast<unsigned>(n);
    }
    return static_cast<int>(sent);
}

void Client_socket::send_within(const std::string& text, int timeout_seconds)
{
    if (!opened_)
        qr_exception("Cannot write to socket No %d, errno=%d", static_cast<int>(socket_), WSAENOTSOCK);
    using clock = std::chrono::steady_clock;
    const clock::time_point deadline = clock::now() + std::chrono::seconds(timeout_seconds);
    // The socket stays blocking (a reading thread may be in recv): each piece
    // waits for room first and is small enough to find it.
    constexpr size_t piece = 4096;
    size_t sent = 0;
    while (sent < text.size()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - clock::now()).count();
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(handle_of(socket_), &writable);
        timeval limit{static_cast<long>(left > 0 ? left / 1000 : 0),
                      static_cast<long>(left > 0 ? left % 1000 : 0) * 1000};
        const int ready = ::select(0, nullptr, &writable, nullptr, &limit);
        if (ready == 0)
            qr_exception("Send timeout: the peer has not read for %d seconds", timeout_seconds);
        if (ready < 0) {
            if (WSAGetLastError() == WSAEINTR)
                continue;
            qr_exception("Cannot write to socket No %d, errno=%d", static_cast<int>(socket_), WSAGetLastError());
        }
        const int part = static_cast<int>(std::min(piece, text.size() - sent));
        const int n = ::send(handle_of(socket_), text.data() + sent, part, 0);
        if (n == SOCKET_ERROR && WSAGetLastError() == WSAEINTR)
            continue;
        if (n <= 0)
            qr_exception("Cannot write to socket No %d, errno=%d", static_cast<int>(socket_),
                         n < 0 ? WSAGetLastError() : 0);
        sent += static_cast<size_t>(n);
    }
}

void Client_socket::wait_readable_ms(long long timeout_ms)
{
    if (!opened_)
        qr_exception("Socket read failed");
    if (timeout_ms < 0)
        timeout_ms = 0;
    for (;;) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(handle_of(socket_), &readable);
        timeval limit{static_cast<long>(timeout_ms / 1000), static_cast<long>(timeout_ms % 1000) * 1000};
        const int rc = ::select(0, &readable, nullptr, nullptr, &limit);
        if (rc > 0)
            return;
        if (rc == 0)
            qr_exception("Socket read timeout");
        if (WSAGetLastError() != WSAEINTR)
            qr_exception("Socket select failed");
    }
}

void Client_socket::wait_readable(int timeout_seconds)
{
    if (!opened_)
        qr_exception("Socket read failed");
    if (timeout_seconds == 0)
        return;
    using clock = std::chrono::steady_clock;
    const clock::time_point deadline = clock::now() + std::chrono::seconds(timeout_seconds);
    for (;;) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - clock::now()).count();
        if (left < 0)
            left = 0;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(handle_of(socket_), &readable);
        timeval limit{static_cast<long>(left / 1000), static_cast<long>(left % 1000) * 1000};
        int rc = ::select(0, &readable, nullptr, nullptr, &limit);
        if (rc > 0)
            return;  // readable, closed or failed: the receive tells which
        if (rc == 0) {
            timed_out_ = true;
            qr_exception("Socket read timeout");
        }
        if (WSAGetLastError() != WSAEINTR)
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
    int n;
    for (;;) {
        n = ::recv(handle_of(socket_), buffer.data(), size, 0);
        if (n == SOCKET_ERROR && WSAGetLastError() == WSAEINTR) {
            TRV_LOG(qr_Warning, "socket::read returns -1 with errno EINTR");
            continue;
        }
        break;
    }
    if (n < 0 || (n == 0 && size > 0))
        qr_exception("Socket read failed");
    buffer[static_cast<size_t>(n)] = '\0';
    text.assign(buffer.data());
    return n;
}

int Client_socket::read(char* buffer, int size, int timeout_seconds)
{
    timed_out_ = false;
    if (size < 0)
        qr_exception("Socket read failed");
    int got = 0;
    while (got < size) {
        wait_readable(timeout_seconds);
        int n = ::recv(handle_of(socket_), buffer + got, size - got, 0);
        if (n == SOCKET_ERROR && WSAGetLastError() == WSAEINTR) {
            TRV_LOG(qr_Warning, "socket::read returns -1 with errno EINTR");
            continue;
        }
        if (n <= 0)
            qr_exception("Socket read failed");
        got += n;
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
    SOCKET s = new_socket();
    try {
        // Not SO_REUSEADDR: on Windows it lets another program take over a
        // bound port. Exclusive use is what the POSIX option gives there.
        if (!set_option(s, SO_EXCLUSIVEADDRUSE))
            qr_exception("Cannot create socket, setsockopt() failed");
        if (!set_option(s, SO_KEEPALIVE))
            qr_exception("Cannot setup socket option SO_KEEPALIVE");
        u_short port_number = 0;
        if (!parse_port(port, port_number))
            qr_exception("Cannot bind the socket, errno=%d", WSAEINVAL);
        sockaddr_in address = resolve(host, port_number);
        if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            qr_exception("Cannot bind the socket, errno=%d", WSAGetLastError());
        if (::listen(s, 5) != 0)
            qr_exception("Cannot listen the socket, errno=%d", WSAGetLastError());
    } catch (...) {
        ::closesocket(s);
        throw;
    }
    socket_ = static_cast<unsigned>(s);
}

Server_socket::~Server_socket()
{
    ::closesocket(handle_of(socket_));
}

unsigned Server_socket::accept()
{
    bool reported = false;
    for (;;) {
        SOCKET s = ::accept(handle_of(socket_), nullptr, nullptr);
        if (s != INVALID_SOCKET) {
            SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
            return static_cast<unsigned>(s);
        }
        const int error = WSAGetLastError();
        switch (error) {
        case WSAEINTR:
        case WSAECONNRESET:  // that client is gone, the next one is served
            continue;
        case WSAEMFILE:
        case WSAENOBUFS:
            if (!reported)
                TRV_LOG(qr_Error, "accept failed for lack of resources, errno=" << error << "; retrying");
            reported = true;
            Sleep(100);
            continue;
        default:
            qr_exception("Cannot accept connection, errno=%d", error);
        }
    }
}

unsigned short Server_socket::getPort() const
{
    sockaddr_in address{};
    int length = sizeof address;
    if (::getsockname(handle_of(socket_), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}
