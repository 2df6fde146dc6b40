#include "client_connection.h"

#include "frame_codec.h"
#include "qr_exception.h"
#include "qr_log.h"
#include "root_tag.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <random>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace trvclient {

namespace {

// What one read takes from the socket at most.
constexpr int read_chunk = 64 * 1024;

unsigned random_start()
{
    try {
        std::random_device device;
        return device();
    } catch (const std::exception&) {
        // No random source: the clock still makes two consoles unlikely to meet.
        return static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
               static_cast<unsigned>(std::time(nullptr));
    }
}

}  // namespace

int NextSynch()
{
    // Positive values only: the server answers 0 for a request without synch
    // and takes -1 for none.
    static std::atomic<unsigned> counter{random_start()};
    return static_cast<int>(counter.fetch_add(1, std::memory_order_relaxed) % 0x7FFFFFFEu) + 1;
}

Connection::Connection(int id, ReplyCallback callback, const Limits& limits)
    : id_(id), callback_(callback), limits_(limits)
{
}

Connection::~Connection() = default;

std::shared_ptr<Connection> Connection::Open(int id, ReplyCallback callback, const std::string& host, int port,
                                             const Limits& limits, int& error)
{
    error = 0;
    if (host.empty() || port < 1 || port > 65535) {
        TRV_LOG(qr_Error, "Connect refused: bad server name or port " << port);
        error = connect_bad_arguments;
        return nullptr;
    }
    std::shared_ptr<Connection> c(new Connection(id, callback, limits));
    try {
        c->socket_.open(host, std::to_string(port), limits.connect_timeout_ms);
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, "Connect to " << host << ":" << port << " failed: " << e.message());
        error = c->socket_.isTimeOut() ? connect_timed_out : connect_failed;
        return nullptr;
    }
    int started = 0;
    try {
        std::thread([c] { c->ReadLoop(); }).detach();
        ++started;
        std::thread([c] { c->WriteLoop(); }).detach();
        ++started;
        std::thread([c] { c->CallbackLoop(); }).detach();
        ++started;
    } catch (const std::system_error& e) {
        TRV_LOG(qr_Error, "Connect to " << host << ":" << port << " failed: cannot start a thread, "
                                        << e.code().value());
        // The threads that did start end once the connection is closed.
        c->Close();
        c->socket_.shutdown();
        error = connect_no_resources;
        return nullptr;
    }
    return c;
}

bool Connection::Stamp(const std::string& request, std::string& frame, int& synch, bool& login)
{
    RootTag tag;
    if (!ReadRootTag(request, tag)) {
        TRV_LOG(qr_Error, "Connection " << id_ << ": request refused, it holds no element");
        return false;
    }
    synch = NextSynch();
    login = tag.name == "LOGIN";
    frame = EncodeFrame(StampSynch(request, tag, synch));
    if (frame.empty()) {
        TRV_LOG(qr_Error, "Connection " << id_ << ": request refused, it cannot be compressed");
        return false;
    }
    return true;
}

Connection::Outcome Connection::Request(const std::string& request, std::string& reply)
{
    std::string frame;
    int synch = 0;
    Pending pending;
    if (!Stamp(request, frame, synch, pending.login))
        return Outcome::failed;
    std::unique_lock<std::mutex> lock(m_);
    if (user_closed_ || broken_)
        return Outcome::failed;
    pending_[synch] = &pending;
    out_.push_back(std::move(frame));
    out_cv_.notify_one();
    reply_cv_.wait_for(lock, std::chrono::milliseconds(limits_.reply_timeout_ms),
                       [&] { return pending.done || broken_ || user_closed_; });
    pending_.erase(synch);
    if (pending.done) {
        reply = std::move(pending.reply);
        return Outcome::reply;
    }
    if (broken_ || user_closed_)
        return Outcome::failed;
    TRV_LOG(qr_Warning, "Connection " << id_ << ": no reply with synch " << synch << " within "
                                      << limits_.reply_timeout_ms << " ms");
    return Outcome::timed_out;
}

bool Connection::Post(const std::string& request)
{
    std::string frame;
    int synch = 0;
    bool login = false;
    if (!Stamp(request, frame, synch, login))
        return false;
    std::lock_guard<std::mutex> lock(m_);
    if (user_closed_ || broken_)
        return false;
    out_.push_back(std::move(frame));
    out_cv_.notify_one();
    return true;
}

void Connection::Close()
{
    std::lock_guard<std::mutex> lock(m_);
    if (user_closed_)
        return;
    user_closed_ = true;
    in_.clear();
    out_cv_.notify_all();
    in_cv_.notify_all();
    reply_cv_.notify_all();
}

void Connection::ReadLoop()
{
    FrameDecoder decoder;
    std::vector<std::string> payloads;
    std::string chunk;
    try {
        for (;;) {
            const int n = socket_.read(chunk, read_chunk, 0);
            FrameDecoder::Status status = static_cast<std::size_t>(n) == chunk.size()
                                              ? decoder.Feed(chunk.data(), chunk.size(), payloads)
                                              : FrameDecoder::Status::malformed;  // a zero byte
            for (const std::string& payload : payloads) {
                std::string text;
                if (!DecodePayload(payload, text)) {
                    TRV_LOG(qr_Warning, "Connection " << id_ << ": frame of " << payload.size()
                                                      << " bytes dropped, its payload cannot be decoded");
                    continue;
                }
                if (!text.empty())
                    Route(std::move(text));
            }
            payloads.clear();
            if (status == FrameDecoder::Status::malformed) {
                TRV_LOG(qr_Error, "Connection " << id_ << ": malformed frame from the server, disconnecting");
                break;
            }
            if (status == FrameDecoder::Status::oversized) {
                TRV_LOG(qr_Error, "Connection " << id_ << ": the server announced a frame above "
                                                << max_frame_payload << " bytes, disconnecting");
                break;
            }
        }
    } catch (const qr_exception_t& e) {
        // The server closed the connection, or the user did (shutdown).
        TRV_LOG(qr_Notice, "Connection " << id_ << " ended: " << e.message());
    }
    ReaderEnded();
}

void Connection::Route(std::string text)
{
    RootTag tag;
    if (!ReadRootTag(text, tag)) {
        TRV_LOG(qr_Warning, "Connection " << id_ << ": reply dropped, it holds no element");
        return;
    }
    const std::optional<int> synch = tag.Synch();
    std::lock_guard<std::mutex> lock(m_);
    if (user_closed_)
        return;
    Pending* waiting = nullptr;
    if (synch) {
        auto it = pending_.find(*synch);
        if (it != pending_.end())
            waiting = it->second;
    } else if (tag.name == "SESSION") {
        // The log-in's reply is the one element without synch.
        for (auto& [key, pending] : pending_) {
            if (pending->login && !pending->done) {
                waiting = pending;
                break;
            }
        }
    }
    if (waiting && !waiting->done) {
        waiting->done = true;
        waiting->reply = std::move(text);
        reply_cv_.notify_all();
        return;
    }
    in_.push_back(std::move(text));
    in_cv_.notify_one();
}

void Connection::ReaderEnded()
{
    {
        std::lock_guard<std::mutex> lock(m_);
        reader_done_ = true;
        if (!user_closed_ && !broken_)
            in_.push_back("<DISCONNECT/>");
        broken_ = true;
        out_cv_.notify_all();
        in_cv_.notify_all();
        reply_cv_.notify_all();
    }
    // The writer may be stuck in a send to a server that no longer reads.
    socket_.shutdown();
}

void Connection::WriteLoop()
{
    for (;;) {
        std::string frame;
        {
            std::unique_lock<std::mutex> lock(m_);
            out_cv_.wait(lock, [this] { return !out_.empty() || user_closed_ || broken_; });
            if (broken_ || out_.empty()) {
                out_.clear();
                writer_done_ = true;
                in_cv_.notify_all();
                break;
            }
            frame = std::move(out_.front());
            out_.pop_front();
        }
        try {
            socket_.send(frame);
        } catch (const qr_exception_t& e) {
            TRV_LOG(qr_Warning, "Connection " << id_ << ": send failed: " << e.message());
            std::lock_guard<std::mutex> lock(m_);
            writer_done_ = true;
            in_cv_.notify_all();
            break;
        }
    }
    // After a user's close everything handed over has been sent: the reader
    // may end now. After a failure, this wakes the reader to report it.
    socket_.shutdown();
}

void Connection::CallbackLoop()
{
    for (;;) {
        std::string text;
        {
            std::unique_lock<std::mutex> lock(m_);
            in_cv_.wait(lock, [this] { return !in_.empty() || user_closed_ || reader_done_; });
            if (user_closed_) {
                // Give the writer its linger time, then end the connection
                // whatever it is doing.
                in_cv_.wait_for(lock, std::chrono::milliseconds(limits_.close_linger_ms),
                                [this] { return writer_done_; });
                break;
            }
            if (in_.empty())
                return;  // the reader has ended and everything was delivered
            text = std::move(in_.front());
            in_.pop_front();
        }
        if (callback_) {
            try {
                callback_(text.c_str(), id_);
            } catch (...) {
                TRV_LOG(qr_Error, "Connection " << id_ << ": the reply callback threw");
            }
        }
    }
    socket_.shutdown();
}

}  // namespace trvclient
