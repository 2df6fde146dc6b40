#include "snmp_master.h"

#include "snmp_session.h"

#include <new>
#include <vector>

namespace {

// How many masters started the SNMP layer; the last one out stops it.
qr_mutex g_startup_mutex;
int g_startup_count GUARDED_BY(g_startup_mutex) = 0;

}  // namespace

int snmp_timeout_seconds(int setting)
{
    return setting > 0 ? setting : SnmpDefaultTimeoutSeconds;
}

int snmp_retries(int setting)
{
    return setting > 0 ? setting : SnmpDefaultRetries;
}

CSnmpMaster::CSnmpMaster() : CSnmpBase(true)
{
    qr_automutex lock(g_startup_mutex);
    if (g_startup_count > 0) {
        ++g_startup_count;
        started_ = true;
        return;
    }
    if (SnmpStartup(&version_major, &version_minor, &level, &translate_mode, &retransmit_mode) ==
        SNMPAPI_FAILURE) {
        set_error(static_cast<int32_t>(SnmpGetLastError(nullptr)),
                  "Cannot start WinSNMP API (" + std::to_string(SnmpGetLastError(nullptr)) + ")");
        return;
    }
    // Entities and contexts are literal addresses and communities; retries
    // are the callers' business.
    SnmpSetTranslateMode(SNMPAPI_UNTRANSLATED_V1);
    SnmpSetRetransmitMode(SNMPAPI_OFF);
    ++g_startup_count;
    started_ = true;
}

CSnmpMaster::~CSnmpMaster()
{
    clear_error();
    std::map<HSNMP_SESSION, CSnmpSession*> sessions;
    {
        qr_automutex lock(master_);
        sessions.swap(sessions_);
    }
    for (auto& entry : sessions)
        delete entry.second;
    if (!started_)
        return;
    qr_automutex lock(g_startup_mutex);
    if (g_startup_count == 1)
        SnmpCleanup();
    --g_startup_count;
}

CSnmpSession* CSnmpMaster::create_session(const std::string& address, const std::string& community,
                                          bool register_session, int timeout_seconds, int retries)
{
    if (!is_usable() || !started_)
        return nullptr;
    CSnmpSession* session = new (std::nothrow) CSnmpSession(register_session ? this : nullptr);
    if (!session) {
        set_error(SnmpErrorNoMemory, "Cannot allocate memory");
        return nullptr;
    }
    if (session->is_usable() && session->handle()) {
        session->set_timeout(timeout_seconds);
        session->set_retries(retries);
        session->set_peer(address, community);
    }
    if (!session->is_usable() || !session->handle() || session->get_error_code() != 0) {
        copy_error(*session);
        delete session;
        return nullptr;
    }
    if (register_session) {
        qr_automutex lock(master_);
        sessions_[session->handle()] = session;
    }
    return session;
}

void CSnmpMaster::set_timeouts(int timeout_seconds, int retries)
{
    if (timeout_seconds == -1 && retries == -1)
        return;
    qr_automutex lock(master_);
    for (auto& entry : sessions_) {
        if (timeout_seconds != -1)
            entry.second->set_timeout(timeout_seconds);
        if (retries != -1)
            entry.second->set_retries(retries);
    }
}

size_t CSnmpMaster::session_count()
{
    qr_automutex lock(master_);
    return sessions_.size();
}

void CSnmpMaster::unregister_session(CSnmpSession* session)
{
    qr_automutex lock(master_);
    for (auto it = sessions_.begin(); it != sessions_.end(); ++it) {
        if (it->second == session) {
            sessions_.erase(it);
            return;
        }
    }
}
