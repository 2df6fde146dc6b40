// One SNMP session: a peer address and community, a time-out and a retry
// count, and at most one outstanding request. Each SNMP worker thread owns
// one session, made by CSnmpMaster::create_session; only the owner calls
// request() and walk_subtree(). The layer's notification thread reads the
// answers and wakes the owner. Time-outs are kept in milliseconds. The
// owner deletes its session before the master that made it is destroyed.
#pragma once

#include "qr_sync.h"
#include "snmp_base.h"
#include "snmp_event.h"
#include "winsnmp.h"

#include <cstdint>
#include <string>
#include <vector>

class CSnmpData;
class CSnmpMaster;

// Request outcomes (status of CSnmpSession::request).
constexpr int SnmpStatusAnswered = 0;
constexpr int SnmpStatusTimeout = 1;
constexpr int SnmpStatusFailure = 9;

// Results of CSnmpSession::walk_subtree.
constexpr int WalkSuccess = 0;
constexpr int WalkTimeout = 1;
constexpr int WalkAgentNotReady = 2;
constexpr int WalkOidNotIncreasing = 3;
constexpr int WalkNoData = 4;
constexpr int WalkFailure = 9;

// The value the QOR agent answers while it is not ready.
constexpr const char* QorNotReadyValue = "-39871";
// A walk never collects more entries, nor more bytes of entry text, than
// this, whatever the agent answers: it stops as for an agent that does not
// move forward (WalkOidNotIncreasing) with what it has.
constexpr size_t MaxWalkEntries = 200000;
constexpr size_t MaxWalkBytes = 16u * 1024 * 1024;

class CSnmpSession : public CSnmpBase {
public:
    explicit CSnmpSession(CSnmpMaster* master);
    ~CSnmpSession() override;

    bool set_peer(const std::string& address, const std::string& community);
    void set_timeout(int seconds);
    void set_retries(int retries);
    int get_timeout();  // milliseconds
    int get_retries();

    // Sends one GET or GETNEXT and waits up to `timeout_ms` for its answer.
    // Returns the value text; `oid` becomes the answer's OID. Status: 0
    // answered, 1 timed out, 9 failed (value empty).
    std::string request(std::string& oid, int& status, int timeout_ms, int pdu_type);

    // Reads every value under `root` by GETNEXT; see the Walk* results.
    // With `lines`, each entry is "." + OID + " " + value.
    int walk_subtree(std::vector<std::string>& out, const std::string& root, int timeout_ms,
                     int retries, bool lines);
    // Lower limits than MaxWalkEntries and MaxWalkBytes, for tests; owner only.
    void set_walk_limits(size_t entries, size_t bytes);

    HSNMP_SESSION handle() const { return session_; }
    std::string get_address();
    std::string get_community();

private:
    static SNMPAPI_STATUS notification(HSNMP_SESSION, SNMP_HWND, unsigned, uintptr_t wParam,
                                       intptr_t, void* clientData);
    void receive_all();
    void free_peer();

    HSNMP_SESSION session_ = nullptr;
    CSnmpMaster* master_;
    std::string address_;              // guarded by common_
    std::string community_;            // guarded by common_
    HSNMP_ENTITY entity_ = nullptr;    // guarded by common_
    HSNMP_CONTEXT context_ = nullptr;  // guarded by common_
    bool peer_made_ = false;           // guarded by common_
    SnmpEvent done_{true};             // signalled while no request waits
    qr_mutex common_;
    CSnmpData* current_ = nullptr;     // guarded by common_
    int32_t timeout_ms_ = 0;           // guarded by common_
    int32_t retries_ = 0;              // guarded by common_
    size_t walk_entry_limit_ = MaxWalkEntries;  // owner thread only
    size_t walk_byte_limit_ = MaxWalkBytes;     // owner thread only
};
