// The frame that makes the server a TCP server.
//
// run_servers starts one accept thread; it listens on ServerHost:ServerPort,
// admits at most ServerMaxRequests connections at a time (a semaphore taken
// before each accept and posted when a connection thread ends) and runs the
// handler on a detached thread of its own for each connection. The frame
// knows nothing of the protocol. The configuration section belongs to the
// caller, must outlive the frame, and is only read by its threads. Every
// exception of a handler stays in its own thread: it is logged, the
// connection counters (qr_counters.h) are put right, the socket is closed.
#pragma once

#include "qr_socket.h"
#include "qr_sync.h"

#include <memory>
#include <string>

class Config;

// What the frame runs for each connection.
typedef void (*ServerHandler)(Client_socket& socket, Config& config);

// What the accept thread is started with; RunServersThread deletes it.
struct ServerParams {
    ServerParams(Config& config, const std::string& name, ServerHandler handler);

    Config& config;
    std::string name;
    ServerHandler handler;
    // A socket the caller already bound, or null to bind ServerHost:ServerPort.
    std::unique_ptr<Server_socket> listener;
};

// What one connection thread is started with; ConnectionThread deletes it.
struct Params {
    Params(unsigned socket, qr_semaphore& semaphore, Config& config);

    unsigned socket;
    qr_semaphore& semaphore;
    Config& config;
    ServerHandler handler = nullptr;
};

// Starts the accept thread and returns at once. A caller that must know the
// bind succeeded binds first and hands the socket over: the port is then
// never released between the check and the accepting.
void run_servers(Config& config, std::string name, ServerHandler handler,
                 std::unique_ptr<Server_socket> listener = nullptr);
// The accept thread's body; `params` is a ServerParams it deletes.
void RunServersThread(void* params);
// The accept loop; returns only after a failure, which it logs at Error.
void run_the_server(Config& config, std::string name, ServerHandler handler,
                    std::unique_ptr<Server_socket> listener = nullptr);
// The body of each connection thread; `params` is a Params it deletes.
void ConnectionThread(void* params);
// Logs the counters at Statistic every `period` seconds (the pointer's
// value), for ever.
[[noreturn]] void Stat_Function(void* period);
// A sample handler: greets the client.
void default_handler(Client_socket& socket, Config& config);
