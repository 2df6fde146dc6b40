// One console connection: TRVConnector is what handlers see of it (session,
// client type, the error of the last failed request, sending); XMLConnector
// reads its frames, hands each request document to the dispatcher and sends
// whole frames back.
//
// Wire frame, both directions: the payload length in decimal digits, one
// blank, the payload (CompressPayload with escaping, qr_payload.h).
//
// Threads: ProcessLoop, the session, the client type and the error fields
// belong to the connection's own thread. Send may be called from any thread;
// the send mutex makes each frame whole on the wire and guards the closed and
// dead flags. The socket belongs to the connection thread: once Close() has
// returned no thread touches it again, so a descriptor number reused by a
// later connection never receives another client's frames.
#pragma once

#include "qr_sync.h"
#include "session.h"

#include <chrono>
#include <memory>
#include <string>

class Client_socket;
class ReportSink;
class TiXmlDocument;
class TiXmlElement;

// Frame limits.
constexpr size_t max_length_digits = 10;
// The most text one request may inflate to. Before LOGIN a connection can
// only log in or ping, a few hundred bytes; after it the largest requests
// (an inventory's scan settings) stay far below the bound.
constexpr size_t max_request_text_before_login = 64 * 1024;
constexpr size_t max_request_text = 16 * 1024 * 1024;
// The longest payload that can carry a text of `text_limit` bytes: escaping
// at most doubles a stream that is barely longer than the text.
constexpr long max_frame_length_for(size_t text_limit)
{
    return static_cast<long>(2 * text_limit + 1024);
}
// Between requests a logged-in console may stay silent this long (seconds).
constexpr int idle_read_limit = 180000;
// A connection that has not logged in gets this long (milliseconds) for each
// frame and between frames, so silent connections cannot keep consoles out
// by holding every place under ServerMaxRequests. TRV_LOGIN_IDLE_LIMIT_MS
// sets another value (for tests).
constexpr int default_login_idle_limit_ms = 30000;
int login_idle_limit_ms();
// Once a frame has begun, the rest must arrive within this (seconds).
constexpr int frame_read_limit = 60;
// A frame not sent whole within this drops the connection (seconds).
constexpr int send_time_limit = 10;
// Requests nest elements a few levels deep; the XML parser recurses once per
// level on the connection's stack, so deeper texts are refused unparsed.
constexpr int max_request_depth = 256;

class TRVConnector {
public:
    explicit TRVConnector(std::unique_ptr<TRVSession> session = nullptr);
    virtual ~TRVConnector() = default;
    TRVConnector(const TRVConnector&) = delete;
    TRVConnector& operator=(const TRVConnector&) = delete;

    virtual TRVSession& GetSession() { return *session_; }
    void SetSession(std::unique_ptr<TRVSession> session);
    std::string GetClientType() const { return client_type_; }
    void SetClientType(const std::string& type) { client_type_ = type; }

    // Stores the failure for the ERROR reply; returns `code`.
    int SetError(int code, const std::string& text, bool alert = false);
    int ErrorCode() const { return error_code_; }
    const std::string& ErrorText() const { return error_text_; }
    bool ErrorAlert() const { return alert_; }

    // Frames and sends one element; the payload's size, 0 when nothing was sent.
    virtual int Send(const TiXmlElement& element) = 0;

    // Where the reports of this connection send their results; made on first
    // use. Connection thread only; report threads hold their own share.
    std::shared_ptr<ReportSink> report_sink;

private:
    std::unique_ptr<TRVSession> session_;
    std::string error_text_;
    int error_code_ = 0;
    bool alert_ = false;
    std::string client_type_;
};

class XMLConnector : public TRVConnector, public std::enable_shared_from_this<XMLConnector> {
public:
    typedef int (*ProcessingCallback)(TiXmlDocument& request, XMLConnector& connector);

    explicit XMLConnector(Client_socket& socket, std::unique_ptr<TRVSession> session = nullptr);
    ~XMLConnector() override;

    void SetCallback(ProcessingCallback callback) { callback_ = callback; }
    // Serves the connection until the peer leaves, a frame is bad or the
    // callback returns -1. Returns 0.
    int ProcessLoop();
    int Send(const TiXmlElement& element) override;
    // ERROR with type, message, synch (left out when -1) and alert="1" when set.
    int SendError(int code, const std::string& message, int synch, bool alert);
    // No frame leaves after this returns; the owner may then close the socket.
    void Close();

private:
    enum class ReadResult { frame, ended };
    ReadResult ReadFrame(std::string& payload);
    // Appends what one receive brings within the time; throws qr_exception_t
    // from the socket, "Socket read timeout" when nothing came.
    void ReadMore(size_t at_most, std::chrono::milliseconds timeout);
    void Drop(const std::string& why) REQUIRES(send_mutex_);
    // The line of a connection whose read ended; `where` is "" or " within a frame".
    void LogDisconnect(const std::string& why, bool logged_in, const char* where);

    Client_socket& socket_;
    ProcessingCallback callback_ = nullptr;
    std::string buffer_;  // bytes received and not yet used; connection thread only
    qr_mutex send_mutex_;
    bool closed_ GUARDED_BY(send_mutex_) = false;
    bool dead_ GUARDED_BY(send_mutex_) = false;  // a send failed, the stream is broken
};
