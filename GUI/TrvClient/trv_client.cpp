// The library's five exports over its table of connections.
#include "trv_client.h"

#include "client_connection.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace {

// The library's connections by id. A connection leaves the table only at
// fnDisconnect; one the server dropped stays, answering nothing, until then.
struct ConnectionTable {
    std::mutex m;
    std::map<int, std::shared_ptr<trvclient::Connection>> connections;  // guarded by m
    int next_id = 0;                                                    // guarded by m
};

ConnectionTable& table()
{
    // Never destroyed: connection threads may outlive static destruction at
    // process exit.
    static ConnectionTable* t = new ConnectionTable;
    return *t;
}

std::shared_ptr<trvclient::Connection> find(int id)
{
    ConnectionTable& t = table();
    std::lock_guard<std::mutex> lock(t.m);
    auto it = t.connections.find(id);
    return it == t.connections.end() ? nullptr : it->second;
}

// A time-out from the environment, or the default.
int milliseconds_from(const char* variable, int fallback)
{
    const char* text = std::getenv(variable);
    if (!text || !*text)
        return fallback;
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    return *end == '\0' && value > 0 && value <= INT_MAX ? static_cast<int>(value) : fallback;
}

char* copy_of(const std::string& text)
{
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy)
        std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

}  // namespace

int fnConnect(TrvReplyCallback callback, const char* server, int port)
{
    int id;
    {
        ConnectionTable& t = table();
        std::lock_guard<std::mutex> lock(t.m);
        if (t.next_id == INT_MAX)
            return trvclient::connect_no_resources;
        id = t.next_id++;
    }
    trvclient::Limits limits;
    limits.connect_timeout_ms = milliseconds_from("TRVCLIENT_CONNECT_TIMEOUT_MS", limits.connect_timeout_ms);
    limits.reply_timeout_ms = milliseconds_from("TRVCLIENT_REPLY_TIMEOUT_MS", limits.reply_timeout_ms);
    int error = 0;
    std::shared_ptr<trvclient::Connection> c =
        trvclient::Connection::Open(id, callback, server ? server : "", port, limits, error);
    if (!c)
        return error;
    ConnectionTable& t = table();
    std::lock_guard<std::mutex> lock(t.m);
    t.connections[id] = std::move(c);
    return id;
}

int fnSendString(int id, const char* request, char** reply)
{
    if (!reply)
        return -1;
    *reply = nullptr;
    std::shared_ptr<trvclient::Connection> c = find(id);
    if (!c || !request)
        return -1;
    std::string text;
    switch (c->Request(request, text)) {
    case trvclient::Connection::Outcome::reply:
        *reply = copy_of(text);
        return *reply ? 0 : -1;
    case trvclient::Connection::Outcome::timed_out:
        *reply = copy_of("<TIMEOUT/>");
        return 1;
    default:
        return -1;
    }
}

void fnFreeMem(char** reply)
{
    if (!reply)
        return;
    std::free(*reply);
    *reply = nullptr;
}

int fnSendAsynchString(int id, const char* request)
{
    std::shared_ptr<trvclient::Connection> c = find(id);
    if (!c || !request)
        return -1;
    return c->Post(request) ? 0 : -1;
}

void fnDisconnect(int id)
{
    std::shared_ptr<trvclient::Connection> c;
    {
        ConnectionTable& t = table();
        std::lock_guard<std::mutex> lock(t.m);
        auto it = t.connections.find(id);
        if (it == t.connections.end())
            return;
        c = std::move(it->second);
        t.connections.erase(it);
    }
    c->Close();
}
