#include "qr_server_frame.h"

#include "qr_counters.h"
#include "qr_exception.h"
#include "qr_log.h"
#include "qr_settings.h"
#include "qr_thread.h"

#include <chrono>
#include <cstdint>
#include <iostream>
#include <memory>
#include <thread>

namespace {

constexpr int default_max_requests = 1024;

// ServerMaxRequests within what the connection semaphore can count.
unsigned max_requests_setting()
{
    int value = ReadRegistryInt("ServerMaxRequests", default_max_requests);
    if (value < 1) {
        TRV_LOG(qr_Warning, "ServerMaxRequests=" << value << " is not a count of clients, "
                                                 << default_max_requests << " used");
        return default_max_requests;
    }
    if (static_cast<unsigned>(value) > qr_semaphore::max_count) {
        TRV_LOG(qr_Warning, "ServerMaxRequests=" << value << " is above the limit, "
                                                 << qr_semaphore::max_count << " used");
        return qr_semaphore::max_count;
    }
    return static_cast<unsigned>(value);
}

// Accepts for ever; returns the exception that ended the loop. On return the
// calling thread holds one count of `connections`.
qr_exception_t accept_loop(Server_socket& listener, qr_semaphore& connections, unsigned max_requests,
                           Config& config, ServerHandler handler)
{
    for (;;) {
        // Told once each time the limit is reached: new clients then wait in
        // the listen backlog, unanswered, until a connection ends.
        if (!connections.wait_for_ms(0)) {
            TRV_LOG(qr_Warning, "Connection limit reached: " << max_requests
                                                             << " connections are open (ServerMaxRequests); new "
                                                                "connections wait until one ends");
            connections.wait();
            TRV_LOG(qr_Info, "A connection ended; accepting connections again");
        }
        unsigned socket;
        try {
            socket = listener.accept();
        } catch (const qr_exception_t& e) {
            return e;
        }
        auto params = std::make_unique<Params>(socket, connections, config);
        params->handler = handler;
        try {
            qr_thread_create(ConnectionThread, params.get());
            params.release();  // the connection thread owns it now
        } catch (const qr_exception_t& e) {
            // No thread will close the connection or post the count.
            Client_socket lost(socket, false);
            return e;
        }
    }
}

}  // namespace

ServerParams::ServerParams(Config& config_, const std::string& name_, ServerHandler handler_)
    : config(config_), name(name_), handler(handler_)
{
}

Params::Params(unsigned socket_, qr_semaphore& semaphore_, Config& config_)
    : socket(socket_), semaphore(semaphore_), config(config_)
{
}

void run_servers(Config& config, std::string name, ServerHandler handler, std::unique_ptr<Server_socket> listener)
{
    auto params = std::make_unique<ServerParams>(config, name, handler);
    params->listener = std::move(listener);
    try {
        qr_thread_create(RunServersThread, params.get());
        params.release();  // the accept thread owns it now
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, e.message());
    }
}

void RunServersThread(void* p)
{
    std::unique_ptr<ServerParams> params(static_cast<ServerParams*>(p));
    try {
        run_the_server(params->config, params->name, params->handler, std::move(params->listener));
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, e.message());
    } catch (...) {
        // Nothing may leave a thread's body: it would end the process.
        TRV_LOG(qr_Error, "Unhandled exception occured in thread.");
    }
}

void run_the_server(Config& config, std::string name, ServerHandler handler, std::unique_ptr<Server_socket> listener)
{
    try {
        const std::string host = ReadRegistryStringDefault("ServerHost", "localhost");
        const std::string port = ReadRegistryStringDefault("ServerPort", "5432");
        const unsigned max_requests = max_requests_setting();

        if (!listener)
            listener = std::make_unique<Server_socket>(host, port);
        qr_semaphore connections(max_requests);

        std::string server_name = name;
        try {
            server_name = ReadRegistryStringDefault("ServerName", "Tarvane NI Server");
        } catch (const qr_exception_t&) {
        }
        TRV_LOG(qr_Info, server_name << " started on " << host << ":" << port << " Max. clients " << max_requests);

        qr_exception_t failure = accept_loop(*listener, connections, max_requests, config, handler);
        TRV_LOG(qr_Error, failure.message());

        // Refuse new clients at once rather than leave them in the backlog,
        // then wait for every connection thread: each one still posts
        // `connections`, which lives on this stack.
        listener.reset();
        for (unsigned held = 1; held < max_requests; ++held)
            connections.wait();
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, e.message());
    }
}

void ConnectionThread(void* p)
{
    Params* params = static_cast<Params*>(p);
    qr_semaphore& connections = params->semaphore;
    qr_install_abort_handler();
    TRV_LOG(qr_Debug, "Thread started");

    bool counted = false;
    try {
        Client_socket socket(params->socket, false);
        {
            qr_automutex lock(qr_counters_mutex());
            ++qr_counters().Total;
            ++qr_counters().Active;
            counted = true;
        }
        try {
            params->handler(socket, params->config);
            qr_counters_add(&qr_connection_counters::Succeeded, 1);
        } catch (const qr_exception_t& e) {
            TRV_LOG(qr_Error, "Unhandled QR_EXCEPTION exception occured in thread.[" << e.message() << "]");
        } catch (const char* text) {
            TRV_LOG(qr_Error, "Unhandled exception occured in thread.[" << (text ? text : "") << "]");
        } catch (...) {
            TRV_LOG(qr_Error, "Unhandled exception occured in thread.");
        }
        {
            qr_automutex lock(qr_counters_mutex());
            --qr_counters().Active;
            counted = false;
        }
        delete params;
        params = nullptr;
        // Leaving the scope closes the socket unless the handler made it manual or closed it.
    } catch (const qr_exception_t& e) {
        if (counted)
            qr_counters_add(&qr_connection_counters::Active, -1);
        TRV_LOG(qr_Error, e.message());
        delete params;
    }
    connections.post();
}

void Stat_Function(void* period)
{
    // A period below one second would log without pause.
    intptr_t seconds = reinterpret_cast<intptr_t>(period);
    if (seconds < 1)
        seconds = 1;
    const std::string indent(36, ' ');
    for (;;) {
        {
            qr_automutex lock(qr_counters_mutex());
            const qr_connection_counters& c = qr_counters();
            TRV_LOG(qr_Statistic, "\tTotal:  " << c.Total << "\n" << indent << "\tActive: " << c.Active << "\n"
                                               << indent << "\tFailed: " << c.Failed() << "\n" << indent
                                               << "\tDBconn: " << c.DBconn);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(seconds * 1000));
    }
}

void default_handler(Client_socket& socket, Config&)
{
    try {
        socket.send("Hello, world!\n");
        std::cout << "\"Hello, World\" sent.\n" << std::flush;
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, e.message());
    }
}
