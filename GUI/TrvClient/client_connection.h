// One connection of the client library to a server: the socket, a reader
// thread that cuts frames and routes each reply, a writer thread that sends
// frames in the order they were handed over, and a callback thread that
// delivers everything not taken by a synchronous request. The reader never
// waits for the callback: the queue between them has no bound.
//
// Ownership: Open returns a shared object; its three threads hold it too, so
// it lives until the last of them has ended and the caller has let go.
// Close never waits for a thread. Any thread may call Request, Post and Close.
//
// Locks: m_ guards the queues, the pending requests and the state flags; it is
// never held while the socket is read or written or the callback runs.
#pragma once

#include "qr_socket.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace trvclient {

typedef void (*ReplyCallback)(const char* text, int id);

struct Limits {
    int connect_timeout_ms = 5000;
    // How long a synchronous request waits for its reply.
    int reply_timeout_ms = 30000;
    // How long a closed connection still tries to send frames handed over
    // before the close.
    int close_linger_ms = 5000;
};

// fnConnect's failure codes (never the console's own -5 and -1000 and below).
enum ConnectError {
    connect_bad_arguments = -1,
    connect_failed = -2,      // name not resolved, refused or unreachable
    connect_timed_out = -3,
    connect_no_resources = -4,
};

class Connection : public std::enable_shared_from_this<Connection> {
public:
    // Connects and starts the threads; null with `error` set to a ConnectError.
    static std::shared_ptr<Connection> Open(int id, ReplyCallback callback, const std::string& host, int port,
                                            const Limits& limits, int& error);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    enum class Outcome { reply, timed_out, failed };
    // Sends the request with a new synch and waits for the element that
    // carries it (for LOGIN also a SESSION), at most the reply time-out.
    // failed: no element in the request, or the connection is gone.
    Outcome Request(const std::string& request, std::string& reply);
    // Queues the request with a new synch; false when the connection is gone
    // or the request holds no element.
    bool Post(const std::string& request);
    // Ends the connection from the user's side: no callback starts after
    // this returns; frames handed over before are still sent (within the
    // linger time); pending requests fail.
    void Close();

    int id() const { return id_; }

private:
    struct Pending {
        bool login = false;
        bool done = false;
        std::string reply;
    };

    Connection(int id, ReplyCallback callback, const Limits& limits);
    bool Stamp(const std::string& request, std::string& frame, int& synch, bool& login);
    void ReadLoop();
    void Route(std::string text);
    void ReaderEnded();
    void WriteLoop();
    void CallbackLoop();

    const int id_;
    const ReplyCallback callback_;
    const Limits limits_;
    Client_socket socket_;

    std::mutex m_;
    std::condition_variable out_cv_;    // writer: frames to send, or closing
    std::condition_variable in_cv_;     // callback thread: texts, closing, writer done
    std::condition_variable reply_cv_;  // synchronous requests
    std::deque<std::string> out_;       // guarded by m_
    std::deque<std::string> in_;        // guarded by m_
    std::map<int, Pending*> pending_;   // guarded by m_; by synch, owned by the waiting callers
    bool user_closed_ = false;          // guarded by m_
    bool broken_ = false;               // guarded by m_: the server closed, or the stream failed
    bool reader_done_ = false;          // guarded by m_
    bool writer_done_ = false;          // guarded by m_
};

// A new synch for a request: unique among the requests of this process, and
// starting from a random value, so that a broadcast of another console (which
// carries that console's synch) is not taken for a reply here.
int NextSynch();

}  // namespace trvclient
