// One SNMP session: a peer address and community, a time-out and a retry
// count, and at most one outstanding request. Each SNMP worker thread owns
// one session, made by CSnmpMaster::create_session; only the owner calls
// request(), request_many(), walk_subtree(), walk_together() and the host
// cache operations. The owner reads the answers itself while it waits
// (the layer's direct receive): the notification runs on the owner's thread,
// under the common-data mutex as before. Time-outs are kept in milliseconds. The retry count is
// the number of times a request that timed out is sent again within one
// walk. The owner deletes its session before the master that made it is
// destroyed.
//
// While one host is scanned the owner may keep a walk cache
// (begin_host_cache): finished walks are kept and a later walk of the same
// subtree, or of one inside a finished walk, is answered from them, until
// the peer changes or end_host_cache.
#pragma once

#include "qr_sync.h"
#include "snmp_base.h"
#include "snmp_event.h"
#include "walk_cache.h"
#include "winsnmp.h"

#include <cstdint>
#include <string>
#include <vector>

class CSnmpData;
class CSnmpMaster;
struct SnmpAnswer;

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
// walk_together asks for at most this many subtrees in one GETNEXT.
constexpr size_t MaxWalkVarbinds = 10;

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

    // Sends one GETNEXT with a binding per OID and waits up to `timeout_ms`.
    // Answered: `answers` holds every binding of the answer in order and
    // `error_status` its error status. Status as for request().
    int request_many(const std::vector<std::string>& oids, std::vector<SnmpAnswer>& answers, int& error_status,
                     int timeout_ms);

    // Reads every value under `root` by GETNEXT; see the Walk* results.
    // With `lines`, each entry is "." + OID + " " + value. A request that
    // times out is sent again, `retries` times in the whole walk at most.
    int walk_subtree(std::vector<std::string>& out, const std::string& root, int timeout_ms,
                     int retries, bool lines);
    // With the host cache on, walks the subtrees that it cannot answer yet
    // side by side, several in one GETNEXT, each by the rules of
    // walk_subtree, and keeps them in the cache. Subtrees whose walk could
    // not finish together (an error answer, such as tooBig, or an answer of
    // another size) go on one binding at a time. WalkAgentNotReady as soon as
    // the agent answers "not ready" for one of them, else WalkSuccess; a
    // subtree left unread (time-outs) is read by its own walk later.
    int walk_together(const std::vector<std::string>& roots, int timeout_ms, int retries);

    // Whether anything lies under `root`, at the cost of one GETNEXT (none
    // when the host cache answers): WalkSuccess when the first answer is an
    // entry of the subtree, else the result a walk would end with at that
    // answer (WalkNoData, WalkOidNotIncreasing, WalkAgentNotReady), or
    // WalkTimeout / WalkFailure.
    int probe_subtree(const std::string& root, int timeout_ms, int retries);

    // The per-host walk cache: on and empty, or off and empty. set_peer
    // empties it.
    void begin_host_cache();
    void end_host_cache();
    bool host_cache_on() const { return cache_on_; }
    // Lower limits than MaxWalkEntries and MaxWalkBytes, for tests; owner only.
    void set_walk_limits(size_t entries, size_t bytes);

    HSNMP_SESSION handle() const { return session_; }
    std::string get_address();
    std::string get_community();

private:
    static SNMPAPI_STATUS notification(HSNMP_SESSION, SNMP_HWND, unsigned, uintptr_t wParam,
                                       intptr_t, void* clientData);
    void receive_all();
    void free_peer() REQUIRES(common_);
    // Sends the request and waits for its answer; the request stays the
    // caller's. A status of request().
    int exchange(CSnmpData* data, int timeout_ms);

    HSNMP_SESSION session_ = nullptr;
    CSnmpMaster* master_;
    std::string address_ GUARDED_BY(common_);
    std::string community_ GUARDED_BY(common_);
    HSNMP_ENTITY entity_ GUARDED_BY(common_) = nullptr;
    HSNMP_CONTEXT context_ GUARDED_BY(common_) = nullptr;
    bool peer_made_ GUARDED_BY(common_) = false;
    SnmpEvent done_{true};             // signalled while no request waits
    qr_mutex common_;
    CSnmpData* current_ GUARDED_BY(common_) = nullptr;
    int32_t timeout_ms_ GUARDED_BY(common_) = 0;
    int32_t retries_ GUARDED_BY(common_) = 0;
    size_t walk_entry_limit_ = MaxWalkEntries;  // owner thread only
    size_t walk_byte_limit_ = MaxWalkBytes;     // owner thread only
    bool cache_on_ = false;                     // owner thread only
    WalkCache cache_;                           // owner thread only
};
