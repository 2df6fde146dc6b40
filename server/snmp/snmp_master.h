// The process-wide SNMP master: starts and stops the SNMP layer and keeps
// the registered sessions so that new time-out and retry settings reach them
// all at once. Any thread may create sessions and change the settings.
//
// Build the master at program start, before other threads run: starting the
// layer sets the process environment (see SnmpStartup). Every thread that
// uses a session must have ended, and deleted its session, before the master
// is destroyed: the destructor deletes the sessions still registered and
// stops the layer, so a session in use then would be used after its end.
//
// Lock order: qr_sync.h.
#pragma once

#include "snmp_base.h"
#include "winsnmp.h"
#include "qr_sync.h"

#include <cstdint>
#include <map>
#include <string>

class CSnmpSession;

// What a worker uses when the settings give no positive value.
constexpr int SnmpDefaultTimeoutSeconds = 5;
constexpr int SnmpDefaultRetries = 2;
// The worker's time-out in seconds and retry count from the settings values
// SNMPTimeout and SNMPRetries (missing or not above 0: the defaults).
int snmp_timeout_seconds(int setting);
int snmp_retries(int setting);

class CSnmpMaster : public CSnmpBase {
public:
    CSnmpMaster();
    ~CSnmpMaster() override;

    // A usable session for the peer, or null (the cause is this master's error).
    // A registered session is deleted by the master at the latest; deleting it
    // earlier unregisters it.
    CSnmpSession* create_session(const std::string& address, const std::string& community,
                                 bool register_session, int timeout_seconds, int retries);
    // Applies to every registered session; -1 keeps that value.
    void set_timeouts(int timeout_seconds, int retries);
    size_t session_count();

    void unregister_session(CSnmpSession* session);

    smiUINT32 version_major = 0;
    smiUINT32 version_minor = 0;
    smiUINT32 level = 0;
    smiUINT32 translate_mode = 0;
    smiUINT32 retransmit_mode = 0;

private:
    qr_mutex master_;
    std::map<HSNMP_SESSION, CSnmpSession*> sessions_ GUARDED_BY(master_);
    bool started_ = false;
};
