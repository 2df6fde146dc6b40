#include "qr_log.h"
#include "snmp_data.h"
#include "snmp_oid.h"
#include "snmp_session.h"
#include "winsnmp.h"

#include <vector>

namespace {

// One subtree walk in progress: the rules of a walk are applied to each
// answer by take_answer, whether it came alone or beside others.
struct WalkState {
    std::string root;                 // without a leading dot
    std::vector<uint32_t> root_arcs;
    std::string current;              // the OID to ask next
    std::vector<uint32_t> previous_arcs;
    std::vector<WalkEntry> entries;
    bool lines = false;               // bytes counted as entry lines, else as values
    size_t bytes = 0;
    size_t line_bytes = 0;            // as entry lines, whatever the form
    int result = -1;                  // a Walk* code once the walk has ended
    bool capped = false;              // ended at the entry or byte limit
};

bool start_walk(WalkState& w, const std::string& root_text)
{
    w.root = root_text;
    if (!w.root.empty() && w.root[0] == '.')
        w.root.erase(0, 1);
    if (!parse_oid_arcs(w.root, w.root_arcs))
        return false;
    w.current = w.root;
    w.previous_arcs = w.root_arcs;
    return true;
}

// Applies one answer (its OID and value text) to the walk.
void take_answer(WalkState& w, const std::string& oid, const std::string& value, size_t entry_limit,
                 size_t byte_limit)
{
    std::vector<uint32_t> arcs;
    bool parsed = parse_oid_arcs(oid, arcs);
    // Outside the subtree means the walk is complete; the test is on whole
    // arcs, so 1.3.6.1.2.1.10 is not inside 1.3.6.1.2.1.1.
    if (!parsed || !oid_in_subtree(w.root_arcs, arcs)) {
        w.result = w.entries.empty() ? WalkNoData : WalkSuccess;
        return;
    }
    // An answer that does not move forward would make the walk loop.
    if (!oid_less(w.previous_arcs, arcs)) {
        w.result = WalkOidNotIncreasing;
        return;
    }
    if (value == QorNotReadyValue) {
        w.entries.clear();
        w.result = WalkAgentNotReady;
        return;
    }
    if (qr_log_enabled(qr_Debug_2))
        qr_print2log(qr_Debug_2, "oid:" + w.root + " val:" + value);
    w.line_bytes += oid.size() + 2 + value.size();
    w.bytes += w.lines ? oid.size() + 2 + value.size() : value.size();
    w.entries.push_back(WalkEntry{oid, value, arcs});
    if (w.entries.size() >= entry_limit || w.bytes >= byte_limit) {
        TRV_LOG(qr_Error, "Walk of " << w.root << " stopped after " << w.entries.size() << " entries, " << w.bytes
                                     << " bytes");
        w.result = WalkOidNotIncreasing;
        w.capped = true;
        return;
    }
    w.previous_arcs = std::move(arcs);
    w.current = oid;
}

// A walk is kept for later walks of either form only when neither form would
// have stopped it at the limits.
bool keepable(const WalkState& w, size_t entry_limit, size_t byte_limit)
{
    return w.result >= 0 && !w.capped && w.entries.size() < entry_limit && w.line_bytes < byte_limit;
}

void entries_to_out(const std::vector<WalkEntry>& entries, bool lines, std::vector<std::string>& out)
{
    out.clear();
    out.reserve(entries.size());
    for (const WalkEntry& entry : entries)
        out.push_back(lines ? "." + entry.oid + " " + entry.value : entry.value);
}

}  // namespace

void CSnmpSession::set_walk_limits(size_t entries, size_t bytes)
{
    walk_entry_limit_ = entries < MaxWalkEntries ? entries : MaxWalkEntries;
    walk_byte_limit_ = bytes < MaxWalkBytes ? bytes : MaxWalkBytes;
}

void CSnmpSession::begin_host_cache()
{
    cache_.clear();
    cache_on_ = true;
}

void CSnmpSession::end_host_cache()
{
    cache_.clear();
    cache_on_ = false;
}

int CSnmpSession::walk_subtree(std::vector<std::string>& out, const std::string& root_text,
                               int timeout_ms, int retries, bool lines)
{
    out.clear();
    WalkState w;
    w.lines = lines;
    if (!start_walk(w, root_text)) {
        set_error(SNMPAPI_OID_INVALID, "Invalid OID '" + root_text + "'");
        return WalkFailure;
    }
    if (cache_on_) {
        int result = WalkFailure;
        std::vector<WalkEntry> kept;
        if (cache_.find(w.root_arcs, result, kept)) {
            entries_to_out(kept, lines, out);
            return result;
        }
    }
    int timeouts = 0;
    while (w.result < 0) {
        int status = SnmpStatusFailure;
        std::string answer = w.current;
        std::string value = request(answer, status, timeout_ms, SNMP_PDU_GETNEXT);
        if (!is_usable())
            return WalkFailure;
        if (status == SnmpStatusTimeout) {
            if (timeouts >= retries)
                return WalkTimeout;
            ++timeouts;
            continue;
        }
        // A failed request leaves the asked OID: the walk then ends as for
        // an agent that does not move forward.
        take_answer(w, answer, value, walk_entry_limit_, walk_byte_limit_);
    }
    if (w.result == WalkAgentNotReady)
        return WalkAgentNotReady;
    if (cache_on_ && keepable(w, walk_entry_limit_, walk_byte_limit_))
        cache_.store(w.root_arcs, w.result, w.entries);
    entries_to_out(w.entries, lines, out);
    return w.result;
}

int CSnmpSession::probe_subtree(const std::string& root_text, int timeout_ms, int retries)
{
    WalkState w;
    w.lines = true;
    if (!start_walk(w, root_text)) {
        set_error(SNMPAPI_OID_INVALID, "Invalid OID '" + root_text + "'");
        return WalkFailure;
    }
    if (cache_on_) {
        int result = WalkFailure;
        std::vector<WalkEntry> kept;
        if (cache_.find(w.root_arcs, result, kept))
            return kept.empty() ? result : WalkSuccess;
    }
    for (int timeouts = 0;;) {
        int status = SnmpStatusFailure;
        std::string answer = w.current;
        std::string value = request(answer, status, timeout_ms, SNMP_PDU_GETNEXT);
        if (!is_usable())
            return WalkFailure;
        if (status == SnmpStatusTimeout) {
            if (timeouts >= retries)
                return WalkTimeout;
            ++timeouts;
            continue;
        }
        take_answer(w, answer, value, walk_entry_limit_, walk_byte_limit_);
        return w.entries.empty() ? w.result : WalkSuccess;
    }
}

int CSnmpSession::walk_together(const std::vector<std::string>& roots, int timeout_ms, int retries)
{
    if (!cache_on_ || !is_usable())
        return WalkSuccess;
    std::vector<WalkState> walks;
    for (const std::string& root : roots) {
        WalkState w;
        w.lines = true;
        int result = 0;
        std::vector<WalkEntry> kept;
        if (!start_walk(w, root) || cache_.find(w.root_arcs, result, kept))
            continue;
        bool twice = false;
        for (const WalkState& other : walks)
            twice = twice || other.root_arcs == w.root_arcs;
        if (!twice)
            walks.push_back(std::move(w));
    }
    // A single subtree gains nothing here: its own walk reads it.
    if (walks.size() < 2)
        return WalkSuccess;

    for (size_t first = 0; first < walks.size(); first += MaxWalkVarbinds) {
        const size_t end = std::min(walks.size(), first + MaxWalkVarbinds);
        int timeouts = 0;
        bool together = true;
        for (;;) {
            std::vector<size_t> running;
            std::vector<std::string> asked;
            for (size_t i = first; i < end; ++i) {
                if (walks[i].result < 0) {
                    running.push_back(i);
                    asked.push_back(walks[i].current);
                }
            }
            if (running.empty())
                break;
            if (!together) {
                // One binding at a time from where each walk stands.
                for (size_t i : running) {
                    WalkState& w = walks[i];
                    while (w.result < 0) {
                        int status = SnmpStatusFailure;
                        std::string answer = w.current;
                        std::string value = request(answer, status, timeout_ms, SNMP_PDU_GETNEXT);
                        if (!is_usable())
                            return WalkSuccess;
                        if (status == SnmpStatusTimeout) {
                            if (timeouts >= retries)
                                break;  // left to its own walk
                            ++timeouts;
                            continue;
                        }
                        take_answer(w, answer, value, walk_entry_limit_, walk_byte_limit_);
                    }
                    if (w.result == WalkAgentNotReady)
                        return WalkAgentNotReady;
                    if (w.result < 0)
                        break;
                }
                break;
            }
            std::vector<SnmpAnswer> answers;
            int error_status = 0;
            const int status = request_many(asked, answers, error_status, timeout_ms);
            if (!is_usable())
                return WalkSuccess;
            if (status == SnmpStatusTimeout) {
                if (timeouts >= retries)
                    break;  // left to their own walks
                ++timeouts;
                continue;
            }
            if (status != SnmpStatusAnswered || error_status != 0 || answers.size() != asked.size()) {
                TRV_LOG(qr_Debug, "GETNEXT of " << asked.size() << " subtrees answered with error status "
                                                << error_status << ", " << answers.size()
                                                << " bindings: going on one at a time");
                together = false;
                continue;
            }
            for (size_t k = 0; k < running.size(); ++k) {
                WalkState& w = walks[running[k]];
                take_answer(w, answers[k].oid, answers[k].value, walk_entry_limit_, walk_byte_limit_);
                if (w.result == WalkAgentNotReady)
                    return WalkAgentNotReady;
            }
        }
        for (size_t i = first; i < end; ++i)
            if (keepable(walks[i], walk_entry_limit_, walk_byte_limit_))
                cache_.store(walks[i].root_arcs, walks[i].result, walks[i].entries);
    }
    return WalkSuccess;
}
