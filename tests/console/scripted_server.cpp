#include "scripted_server.h"

#include "frame_codec.h"
#include "qr_exception.h"
#include "root_tag.h"

#include <chrono>

ScriptedServer::ScriptedServer(Script script, bool read) : script_(std::move(script)), read_(read)
{
    listener_ = std::make_unique<Server_socket>("127.0.0.1", "0");
    port_ = listener_->getPort();
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

ScriptedServer::~ScriptedServer()
{
    {
        std::lock_guard<std::mutex> lock(m_);
        stopping_ = true;
    }
    // Wakes the accept thread with a connection of our own.
    try {
        Client_socket wake("127.0.0.1", std::to_string(port_), false);
    } catch (const qr_exception_t&) {
    }
    acceptor_.join();
    std::vector<std::unique_ptr<Link>> links;
    {
        std::lock_guard<std::mutex> lock(m_);
        links.swap(links_);
    }
    for (auto& link : links)
        link->socket->shutdown();
    for (auto& link : links)
        if (link->reader.joinable())
            link->reader.join();
}

void ScriptedServer::AcceptLoop()
{
    for (;;) {
        unsigned fd;
        try {
            fd = listener_->accept();
        } catch (const qr_exception_t&) {
            return;
        }
        auto link = std::make_unique<Link>();
        link->socket = std::make_unique<Client_socket>(fd, false);
        std::lock_guard<std::mutex> lock(m_);
        if (stopping_)
            return;
        const int index = static_cast<int>(links_.size());
        Client_socket* socket = link->socket.get();
        if (read_)
            link->reader = std::thread([this, index, socket] { ReadLoop(index, socket); });
        links_.push_back(std::move(link));
        cv_.notify_all();
    }
}

void ScriptedServer::ReadLoop(int connection, Client_socket* socket)
{
    trvclient::FrameDecoder decoder;
    std::vector<std::string> payloads;
    std::string chunk;
    try {
        for (;;) {
            socket->read(chunk, 65536, 0);
            if (decoder.Feed(chunk.data(), chunk.size(), payloads) != trvclient::FrameDecoder::Status::ok)
                break;
            for (const std::string& payload : payloads) {
                Request request{connection, std::string(), std::string(), std::string()};
                trvclient::DecodePayload(payload, request.xml);
                trvclient::RootTag tag;
                if (trvclient::ReadRootTag(request.xml, tag)) {
                    request.name = tag.name;
                    if (const auto* synch = tag.Find("synch"))
                        request.synch = synch->value;
                }
                {
                    std::lock_guard<std::mutex> lock(m_);
                    requests_.push_back(request);
                    cv_.notify_all();
                }
                if (script_)
                    script_(*this, request);
            }
            payloads.clear();
        }
    } catch (const qr_exception_t&) {
    }
    std::lock_guard<std::mutex> lock(m_);
    if (connection < static_cast<int>(links_.size()))
        links_[connection]->peer_closed = true;
    cv_.notify_all();
}

Client_socket* ScriptedServer::SocketOf(int connection)
{
    std::lock_guard<std::mutex> lock(m_);
    if (connection < 0 || connection >= static_cast<int>(links_.size()))
        return nullptr;
    return links_[connection]->socket.get();
}

bool ScriptedServer::SendRaw(int connection, const std::string& bytes)
{
    return SendInPieces(connection, bytes, bytes.size() ? bytes.size() : 1);
}

bool ScriptedServer::SendInPieces(int connection, const std::string& bytes, std::size_t piece)
{
    Client_socket* socket = SocketOf(connection);
    if (!socket)
        return false;
    std::lock_guard<std::mutex> lock(send_m_);
    try {
        for (std::size_t at = 0; at < bytes.size(); at += piece)
            socket->send(bytes.data() + at, static_cast<unsigned>(std::min(piece, bytes.size() - at)));
    } catch (const qr_exception_t&) {
        return false;
    }
    return true;
}

bool ScriptedServer::SendFrame(int connection, const std::string& xml)
{
    return SendRaw(connection, trvclient::EncodeFrame(xml));
}

void ScriptedServer::Close(int connection)
{
    if (Client_socket* socket = SocketOf(connection))
        socket->shutdown();
}

bool ScriptedServer::WaitConnections(std::size_t count, int seconds)
{
    std::unique_lock<std::mutex> lock(m_);
    return cv_.wait_for(lock, std::chrono::seconds(seconds), [&] { return links_.size() >= count; });
}

bool ScriptedServer::WaitRequests(std::size_t count, int seconds)
{
    std::unique_lock<std::mutex> lock(m_);
    return cv_.wait_for(lock, std::chrono::seconds(seconds), [&] { return requests_.size() >= count; });
}

bool ScriptedServer::WaitPeerClosed(int connection, int seconds)
{
    std::unique_lock<std::mutex> lock(m_);
    return cv_.wait_for(lock, std::chrono::seconds(seconds), [&] {
        return connection < static_cast<int>(links_.size()) && links_[connection]->peer_closed;
    });
}

std::vector<ScriptedServer::Request> ScriptedServer::Requests()
{
    std::lock_guard<std::mutex> lock(m_);
    return requests_;
}

std::string ScriptedServer::Answer(const Request& request, const std::string& name, const std::string& more)
{
    return "<" + name + " synch=\"" + request.synch + "\"" + (more.empty() ? "" : " " + more) + "/>";
}
