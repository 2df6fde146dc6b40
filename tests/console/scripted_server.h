// A scripted stand-in for the inventory server, a test tool built in both
// trees (natively and for Windows): it listens on a free port of 127.0.0.1,
// accepts connections, reads their frames and hands each request to the
// test's script, which answers with frames or raw bytes, splits them, closes
// the connection, or never answers. With reading off it never reads at all.
// Everything it sees is recorded, and the test waits on what it recorded.
//
// The script runs on the connection's reader thread; the other members may
// be called from any thread. The destructor ends every thread it started.
#pragma once

#include "qr_socket.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ScriptedServer {
public:
    struct Request {
        int connection;      // 0 for the first accepted, and so on
        std::string xml;     // the decoded text
        std::string name;    // its root element's name
        std::string synch;   // its synch attribute, empty when none
    };
    using Script = std::function<void(ScriptedServer&, const Request&)>;

    explicit ScriptedServer(Script script = nullptr, bool read = true);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    int port() const { return port_; }

    bool SendFrame(int connection, const std::string& xml);
    bool SendRaw(int connection, const std::string& bytes);
    // Sends the bytes one send at a time, each `piece` bytes long.
    bool SendInPieces(int connection, const std::string& bytes, std::size_t piece);
    // Shuts the connection down, as a server that goes away does.
    void Close(int connection);

    bool WaitConnections(std::size_t count, int seconds = 30);
    bool WaitRequests(std::size_t count, int seconds = 30);
    // True once the client has closed the connection (a read saw its end).
    bool WaitPeerClosed(int connection, int seconds = 30);
    std::vector<Request> Requests();

    // "<NAME synch="S" .../>" for a request: a reply that pairs with it.
    static std::string Answer(const Request& request, const std::string& name, const std::string& more = "");

private:
    struct Link {
        std::unique_ptr<Client_socket> socket;
        std::thread reader;
        bool peer_closed = false;
    };
    void AcceptLoop();
    void ReadLoop(int connection, Client_socket* socket);
    Client_socket* SocketOf(int connection);

    Script script_;
    const bool read_;
    std::unique_ptr<Server_socket> listener_;
    int port_ = 0;
    std::thread acceptor_;

    std::mutex m_;
    std::condition_variable cv_;
    bool stopping_ = false;                     // guarded by m_
    std::vector<std::unique_ptr<Link>> links_;  // guarded by m_
    std::vector<Request> requests_;             // guarded by m_
    std::mutex send_m_;                         // one whole send at a time
};
