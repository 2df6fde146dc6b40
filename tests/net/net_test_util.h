// Helpers shared by the network tests: loopback connection pairs and a log
// redirected to a temporary file.
#pragma once

#include "qr_log.h"
#include "qr_socket.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>

namespace trvtest {

// A connected pair on 127.0.0.1: `client` opened by the program, `peer` accepted.
struct LoopbackPair {
    Server_socket listener{"127.0.0.1", "0"};
    std::unique_ptr<Client_socket> client;
    std::unique_ptr<Client_socket> peer;

    LoopbackPair()
    {
        client = std::make_unique<Client_socket>("127.0.0.1", port(), false);
        peer = std::make_unique<Client_socket>(listener.accept(), false);
    }
    std::string port() const { return std::to_string(listener.getPort()); }
};

// Polls `condition` every 10 ms until it holds; false only when it did not
// within `seconds` (a fault: a slow machine never meets the bound).
inline bool eventually(const std::function<bool()>& condition, int seconds = 60)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

// How many connections wait in the backlog of the listening socket on
// 127.0.0.1:port, not yet accepted; -1 when no such socket listens.
inline int accept_queue_length(const std::string& port)
{
    char local[32];
    std::snprintf(local, sizeof local, "0100007F:%04X", static_cast<unsigned>(std::stoi(port)));
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);  // the heading
    while (std::getline(table, line)) {
        // sl local_address rem_address st tx_queue:rx_queue; a listener's
        // rx_queue is its accept queue.
        char address[64], remote[64];
        unsigned state = 0, tx = 0, rx = 0;
        if (std::sscanf(line.c_str(), " %*d: %63s %63s %x %x:%x", address, remote, &state, &tx, &rx) == 5 &&
            state == 0x0A && local == std::string(address))
            return static_cast<int>(rx);
    }
    return -1;
}

// Sends the log to a temporary file while it lives.
class LogCapture {
public:
    LogCapture() : file_(std::tmpfile()), previous_(get_log_file_fd()) { set_log_file_fd(file_); }
    ~LogCapture()
    {
        set_log_file_fd(previous_ == stdout ? nullptr : previous_);
        std::fclose(file_);
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Reads with pread so the writers' file position is never moved; every
    // log line is flushed as it is written.
    std::string text()
    {
        std::string out;
        char chunk[4096];
        off_t at = 0;
        ssize_t n;
        while ((n = ::pread(fileno(file_), chunk, sizeof chunk, at)) > 0) {
            out.append(chunk, static_cast<size_t>(n));
            at += n;
        }
        return out;
    }
    bool contains(const std::string& part) { return text().find(part) != std::string::npos; }

private:
    FILE* file_;
    FILE* previous_;
};

}  // namespace trvtest
