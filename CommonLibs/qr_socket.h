// Blocking IPv4 TCP sockets of the server.
//
// Client_socket is one connection, accepted or opened by the program; it is
// used by one thread at a time and closes its descriptor when destroyed unless
// it is manual. Shared_socket serialises open, close, send and setManual with
// its own mutex, so several threads may send on it. Server_socket is the
// listening socket of the connection frame. Every failure throws
// qr_exception_t; after a failed read or send a Client_socket stays opened and
// its owner closes it. Sends never raise SIGPIPE. The implementation is the
// platform's: qr_socket.cpp (POSIX) or win/qr_socket.cpp (Winsock).
#pragma once

#include "qr_sync.h"

#include <string>

class Client_socket {
public:
    explicit Client_socket(bool manual = false);
    // Wraps a connected descriptor (for instance one from Server_socket::accept).
    Client_socket(unsigned socket, bool manual);
    Client_socket(const std::string& host, const std::string& port, bool manual);
    ~Client_socket();
    Client_socket(const Client_socket&) = delete;
    Client_socket& operator=(const Client_socket&) = delete;

    void open(const std::string& host, const std::string& port);
    // As open(), but gives up after `timeout_ms` milliseconds (0: the
    // system's own limit); isTimeOut() then tells the time-out apart.
    void open(const std::string& host, const std::string& port, int timeout_ms);
    void close();
    // Ends both directions of the connection, so that a read or send blocked
    // in another thread returns with a failure. The one call that may come
    // from another thread while a read or send is under way; the descriptor
    // stays open until close().
    void shutdown();

    // Send every byte; return the number sent.
    int send(const std::string& text);
    int send(const char* data, unsigned length);
    // Sends every byte, but gives up once `timeout_seconds` have passed without
    // the peer taking them all: a peer that stops reading cannot hold the
    // caller. Throws "Send timeout: ..." or the failure of the send; part of
    // the bytes may have left either way. Touches no state of the reading
    // side (isTimeOut() is the reads'), so one thread may send while another
    // reads.
    void send_within(const std::string& text, int timeout_seconds);
    // Waits at most `timeout_ms` milliseconds (0: not at all) until a read
    // would not block; throws "Socket read timeout" or "Socket select failed".
    void wait_readable_ms(long long timeout_ms);

    // One receive of at most `size` bytes; `text` is what arrived up to its
    // first zero byte; returns the number of bytes received. A timeout of 0
    // waits without limit.
    int read(std::string& text, int size, int timeout_seconds);
    // Receives exactly `size` bytes; returns `size`.
    int read(char* buffer, int size, int timeout_seconds);
    // Reads until `count` bytes have arrived; returns their text.
    std::string recv(int count, int timeout_seconds);

    void setManual(bool manual) { manual_ = manual; }
    unsigned getSocket() const { return socket_; }
    bool isTimeOut() const { return timed_out_; }

private:
    friend class Shared_socket;

    // Waits until the descriptor is readable; throws on time-out or failure.
    void wait_readable(int timeout_seconds);

    unsigned socket_;
    bool manual_;
    bool timed_out_ = false;
    bool opened_;
};

class Shared_socket {
public:
    explicit Shared_socket(bool manual = false);
    Shared_socket(unsigned socket, bool manual);
    Shared_socket(const std::string& host, const std::string& port, bool manual);

    // Connects only when not opened yet.
    void open(const std::string& host, const std::string& port);
    void close();
    int send(const std::string& text);
    void setManual(bool manual);
    // Reading is not shared: these do nothing.
    int read(std::string& text, int size, int timeout_seconds);
    std::string recv(int count, int timeout_seconds);

private:
    Client_socket socket_ GUARDED_BY(m_);
    qr_mutex m_;
};

class Server_socket {
public:
    // Creates, binds and listens (backlog 5). "localhost" binds loopback only;
    // port "0" lets the system choose a free port.
    Server_socket(const std::string& host, const std::string& port);
    ~Server_socket();
    Server_socket(const Server_socket&) = delete;
    Server_socket& operator=(const Server_socket&) = delete;

    // The descriptor of the next accepted connection.
    unsigned accept();
    // The port the socket is bound to, in host order.
    unsigned short getPort() const;

private:
    unsigned socket_;
};
