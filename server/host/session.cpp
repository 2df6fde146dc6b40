#include "session.h"

#include "connector.h"
#include "qr_exception.h"

#include <ctime>
#include <tinyxml.h>

TRVSession::TRVSession() : id_(NewSessionId()) {}

void TRVSession::SetId(long long n)
{
    id_ = std::to_string(n);
}

TiXmlElement TRVSession::ToXml() const
{
    TiXmlElement session("SESSION");
    session.SetAttribute("uid", id_);
    return session;
}

std::string NewSessionId()
{
    return std::to_string(static_cast<long long>(std::time(nullptr)));
}

int ConnectorSnapshot::CountOfType(const std::string& client_type) const
{
    int n = 0;
    for (const RegistryEntry& e : entries_)
        if (e.client_type == client_type)
            ++n;
    return n;
}

void SessionRegistry::Add(const std::shared_ptr<XMLConnector>& connector,
                          const std::string& client_type, const std::string& session_id,
                          bool adopting)
{
    qr_autorwmutex hold(lock_, QR_RWLOCK_EXCLUSIVE);
    for (const RegistryEntry& e : entries_) {
        if (e.connector == connector)
            qr_exception("Connection is already registered with session [%s]", e.session_id.c_str());
        if (!adopting && e.client_type == client_type && e.session_id == session_id)
            qr_exception("Session with the same id [%s] already exists!", session_id.c_str());
    }
    entries_.push_back(RegistryEntry{connector, client_type, session_id});
}

void SessionRegistry::Remove(const XMLConnector* connector)
{
    std::shared_ptr<XMLConnector> last_hold;  // freed after the lock is gone
    qr_autorwmutex hold(lock_, QR_RWLOCK_EXCLUSIVE);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->connector.get() == connector) {
            last_hold = std::move(it->connector);
            entries_.erase(it);
            return;
        }
    }
}

bool SessionRegistry::Contains(const std::string& client_type, const std::string& session_id)
{
    return FindById(client_type, session_id) != nullptr;
}

std::shared_ptr<XMLConnector> SessionRegistry::FindById(const std::string& client_type,
                                                        const std::string& session_id)
{
    qr_autorwmutex hold(lock_, QR_RWLOCK_SHARED);
    for (const RegistryEntry& e : entries_)
        if (e.client_type == client_type && e.session_id == session_id)
            return e.connector;
    return nullptr;
}

ConnectorSnapshot SessionRegistry::Snapshot()
{
    qr_autorwmutex hold(lock_, QR_RWLOCK_SHARED);
    return ConnectorSnapshot(entries_);
}
