// Login sessions and the registry of logged-in connections.
//
// A TRVSession is owned by exactly one connector and used only on that
// connector's thread. The SessionRegistry (a member of the server object)
// lists the connectors that have logged in, each with the client type and the
// session id it had at login; it shares ownership of them, so a connector
// stays alive while a sender still holds a snapshot that names it. Entries are
// added and removed per connector: one connection can never unregister or
// free another's session. Any thread may call the registry.
//
// The registry lock is never held while sending: a snapshot is a plain copy.
#pragma once

#include "qr_sync.h"

#include <memory>
#include <string>
#include <vector>

class TiXmlElement;
class XMLConnector;

class TRVSession {
public:
    TRVSession();
    virtual ~TRVSession() = default;

    void SetId(long long n);
    void SetIdText(const std::string& id) { id_ = id; }
    std::string GetId() const { return id_; }
    bool IsValid() const { return valid_; }
    void SetValid(bool valid) { valid_ = valid; }
    // SESSION with uid = the id.
    virtual TiXmlElement ToXml() const;

private:
    std::string id_;
    bool valid_ = false;
};

// The current time in seconds as "%d": a fresh connection's provisional id.
std::string NewSessionId();

struct RegistryEntry {
    std::shared_ptr<XMLConnector> connector;
    std::string client_type;
    std::string session_id;
};

// The registered connections at one moment, in registration order.
class ConnectorSnapshot {
public:
    explicit ConnectorSnapshot(std::vector<RegistryEntry> entries) : entries_(std::move(entries)) {}
    const std::vector<RegistryEntry>& entries() const { return entries_; }
    // Entries whose client type equals `client_type` byte for byte.
    int CountOfType(const std::string& client_type) const;

private:
    std::vector<RegistryEntry> entries_;
};

class SessionRegistry {
public:
    SessionRegistry() = default;
    SessionRegistry(const SessionRegistry&) = delete;
    SessionRegistry& operator=(const SessionRegistry&) = delete;

    // Registers the connector under its client type and session id in one
    // step. A second connection with the same type and id is refused with
    // qr_exception_t "Session with the same id [%s] already exists!" unless
    // `adopting` says it takes up that very session.
    void Add(const std::shared_ptr<XMLConnector>& connector, const std::string& client_type,
             const std::string& session_id, bool adopting = false);
    // Removes the connector's own entry, if it has one.
    void Remove(const XMLConnector* connector);
    bool Contains(const std::string& client_type, const std::string& session_id);
    // The connector registered with that type and id, or none.
    std::shared_ptr<XMLConnector> FindById(const std::string& client_type,
                                           const std::string& session_id);
    ConnectorSnapshot Snapshot();

private:
    qr_rwmutex lock_;
    std::vector<RegistryEntry> entries_ GUARDED_BY(lock_);
};
