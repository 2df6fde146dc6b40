// trv_link_fixture: the native side of the Windows programs' tests and
// benchmark against the real server. It starts the server of this native
// build in a private program folder on a free port of 127.0.0.1 (and, with
// --agents, two snmpd test agents on 127.0.71.1-2), runs the command after
// "--" (typically scripts/wine-run.sh -- program.exe) with
//   TRV_SERVER_PORT   the server's port,
//   TRV_FIXTURE_PORT  a control port on 127.0.0.1,
//   TRV_AGENTS        the agents' address range ("" without --agents)
// in its environment, and answers one-line commands on the control port:
//   "stop"  stops the server (SIGTERM, waits for its end), answers "ok";
//   "start" starts it again, answers "ok <port>" (the port may be new);
//   "port"  answers "ok <port>".
// Everything it started is stopped by PID at the end; its exit status is the
// command's.
#include "server_process.h"
#include "snmp_agents.h"

#include "qr_exception.h"
#include "qr_socket.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::mutex g_server_m;
std::unique_ptr<ServerFolder> g_folder;        // guarded by g_server_m
std::unique_ptr<ServerProcess> g_server;       // guarded by g_server_m

std::string Command(const std::string& line)
{
    std::lock_guard<std::mutex> lock(g_server_m);
    if (line == "stop") {
        if (g_server) {
            g_server->Stop();
            g_server.reset();
        }
        return "ok";
    }
    if (line == "start") {
        if (!g_server)
            g_server = StartListening(*g_folder);
        return g_server ? "ok " + std::to_string(g_folder->port()) : "failed";
    }
    if (line == "port")
        return g_server ? "ok " + std::to_string(g_folder->port()) : "failed";
    return "unknown";
}

// One control connection: lines in, one answer line each.
void Serve(unsigned descriptor)
{
    Client_socket socket(descriptor, false);
    std::string buffer;
    try {
        for (;;) {
            std::string chunk;
            socket.read(chunk, 256, 0);
            buffer += chunk;
            std::string::size_type end;
            while ((end = buffer.find('\n')) != std::string::npos) {
                std::string line = buffer.substr(0, end);
                buffer.erase(0, end + 1);
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                socket.send(Command(line) + "\n");
            }
        }
    } catch (const qr_exception_t&) {
    }
}

}  // namespace

int main(int argc, char** argv)
{
    bool agents = false;
    int first = 1;
    for (; first < argc && std::string(argv[first]) != "--"; ++first)
        agents = agents || std::string(argv[first]) == "--agents";
    if (first + 1 >= argc) {
        std::cerr << "usage: trv_link_fixture [--agents] -- command [args...]\n";
        return 2;
    }
    // The server and the agent helper come from this program's own build,
    // whatever build the caller is testing.
    const std::string caller_binary_dir = std::getenv("TRV_BINARY_DIR") ? std::getenv("TRV_BINARY_DIR") : "";
    const std::string build = std::filesystem::canonical("/proc/self/exe").parent_path().parent_path().string();
    ::setenv("TRV_BINARY_DIR", build.c_str(), 1);

    TestAgents test_agents;
    if (agents) {
        for (const AgentSpec& spec : {AgentSpec{"127.0.71.1", "link-a", "Link test router", ".1.3.6.1.4.1.9.1.516"},
                                      AgentSpec{"127.0.71.2", "link-b", "Link test box", ".1.3.6.1.4.1.8072.3.2.10"}}) {
            if (!test_agents.start(spec)) {
                std::cerr << "trv_link_fixture: " << test_agents.error() << "\n";
                return 2;
            }
        }
    }
    {
        std::lock_guard<std::mutex> lock(g_server_m);
        g_folder = std::make_unique<ServerFolder>();
        std::filesystem::create_directories(g_folder->file("SnmpOutput"));
        g_folder->SetInt("SNMPTimeout", 1);
        g_folder->SetInt("SNMPRetries", 1);
        g_folder->SetInt("SNMPTabAttempts", 2);
        g_folder->SetInt("ScanThreads", 4);
        g_folder->SetInt("PingThreads", 2);
        g_folder->SetInt("LogLevel", 6);
        g_server = StartListening(*g_folder);
        if (!g_server) {
            std::cerr << "trv_link_fixture: the server did not start\n";
            return 2;
        }
    }

    Server_socket control("127.0.0.1", "0");
    std::thread([&control] {
        for (;;) {
            unsigned descriptor;
            try {
                descriptor = control.accept();
            } catch (const qr_exception_t&) {
                return;
            }
            std::thread(Serve, descriptor).detach();
        }
    }).detach();

    ::setenv("TRV_SERVER_PORT", std::to_string(g_folder->port()).c_str(), 1);
    ::setenv("TRV_FIXTURE_PORT", std::to_string(control.getPort()).c_str(), 1);
    ::setenv("TRV_AGENTS", agents ? "127.0.71.1-2" : "", 1);
    if (caller_binary_dir.empty())
        ::unsetenv("TRV_BINARY_DIR");
    else
        ::setenv("TRV_BINARY_DIR", caller_binary_dir.c_str(), 1);

    const pid_t child = ::fork();
    if (child == 0) {
        ::execvp(argv[first + 1], argv + first + 1);
        std::cerr << "trv_link_fixture: cannot run " << argv[first + 1] << "\n";
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    {
        std::lock_guard<std::mutex> lock(g_server_m);
        if (g_server)
            g_server->Stop();
        g_server.reset();
        g_folder.reset();
    }
    test_agents.stop_all();
    // The control thread and its connections end with the process.
    std::fflush(nullptr);
    ::_exit(WIFEXITED(status) ? WEXITSTATUS(status) : 1);
}
