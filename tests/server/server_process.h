// Test helpers that run the real server program and talk to it as a console.
//
// ServerFolder is a private program folder in a temporary directory: copies of
// the server and its databases, its own registry file (settings written before
// the start), so servers of different tests never share state. ServerProcess
// starts the program there and stops it by its process id. ConsoleClient is
// one TCP connection on 127.0.0.1 that sends framed requests and reads framed
// replies. All of them belong to the test's thread.
#pragma once

#include "temp_dir.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// A free TCP port on 127.0.0.1 at the moment of asking.
int FreePort();

// Polls `reached` every 20 ms until it holds; false only when it has not
// within `seconds`, a bound for a fault that a slow machine never meets.
bool WaitUntil(const std::function<bool()>& reached, int seconds = 120);

class ServerFolder {
public:
    // Copies the program folder of the build; listens on a free port of 127.0.0.1.
    ServerFolder();
    const std::string& path() const { return dir_.path(); }
    std::string file(const std::string& name) const { return dir_.file(name); }
    int port() const { return port_; }

    // Listens on another free port from the next start on.
    void NewPort();
    void SetInt(const std::string& name, int value);
    void SetText(const std::string& name, const std::string& value);
    std::string LogText() const;  // the server's log file, empty when absent

private:
    TempDir dir_;
    int port_;
};

class ServerProcess {
public:
    // Starts the program of `folder` with the arguments; env entries are added.
    ServerProcess(const ServerFolder& folder, std::vector<std::string> args = {},
                  std::map<std::string, std::string> env = {});
    ~ServerProcess();  // SIGKILL when still running
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    pid_t pid() const { return pid_; }
    // True once the port accepts connections; false when the process ended first.
    bool WaitListening(int seconds = 30);
    // The exit code once the process has ended within `seconds`; none otherwise.
    std::optional<int> WaitExit(int seconds = 30);
    // SIGTERM and wait; the exit code, or none when it did not end in time.
    std::optional<int> Stop(int seconds = 30);
    std::string Output() const;  // what the process wrote to its standard output

private:
    const ServerFolder& folder_;
    pid_t pid_ = -1;
    bool ended_ = false;
    int status_ = 0;
};

// Starts the server of `folder` (env entries added) and waits until it
// listens; when another program took the port meanwhile, tries again on a new
// one. None when the server does not come up.
std::unique_ptr<ServerProcess> StartListening(ServerFolder& folder, const std::map<std::string, std::string>& env = {});

// The environment that makes the server look at its log's size every 100 ms
// instead of every 10 s.
std::map<std::string, std::string> QuickLogTrim();

// One received element: its name, attributes and the printed XML.
struct Reply {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string xml;
    std::string text;  // the frame as the server sent it (top-level replies only)
    std::vector<Reply> children;
    std::string attr(const std::string& key) const
    {
        auto it = attributes.find(key);
        return it == attributes.end() ? std::string() : it->second;
    }
    bool has(const std::string& key) const { return attributes.count(key) != 0; }
};

std::string Frame(const std::string& xml);

class ConsoleClient {
public:
    explicit ConsoleClient(int port);
    ~ConsoleClient();
    ConsoleClient(const ConsoleClient&) = delete;
    ConsoleClient& operator=(const ConsoleClient&) = delete;

    bool SendRaw(const std::string& bytes);
    bool Send(const std::string& xml) { return SendRaw(Frame(xml)); }
    // The next frame's element, or none when nothing whole came within the time
    // or the connection ended. The defaults only bound a server that never
    // answers; a slow one on busy cores stays well within them.
    std::optional<Reply> Next(int seconds = 60);
    // Skips frames until one named `name` arrives.
    std::optional<Reply> NextNamed(const std::string& name, int seconds = 60);
    // True when the server closed the connection within the time.
    bool Closed(int seconds = 60);
    // LOGIN and read SESSION and its LOG; the session id, empty on failure.
    std::string Login(const std::string& type, const std::string& extra = std::string());
    int fd() const { return fd_; }

private:
    int fd_ = -1;
    std::string buffer_;
    bool eof_ = false;
};
