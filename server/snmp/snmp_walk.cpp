#include "qr_log.h"
#include "snmp_oid.h"
#include "snmp_session.h"
#include "winsnmp.h"

#include <vector>

void CSnmpSession::set_walk_limits(size_t entries, size_t bytes)
{
    walk_entry_limit_ = entries < MaxWalkEntries ? entries : MaxWalkEntries;
    walk_byte_limit_ = bytes < MaxWalkBytes ? bytes : MaxWalkBytes;
}

int CSnmpSession::walk_subtree(std::vector<std::string>& out, const std::string& root_text,
                               int timeout_ms, int retries, bool lines)
{
    out.clear();
    std::string root = root_text;
    if (!root.empty() && root[0] == '.')
        root.erase(0, 1);
    std::vector<uint32_t> root_arcs;
    if (!parse_oid_arcs(root, root_arcs)) {
        set_error(SNMPAPI_OID_INVALID, "Invalid OID '" + root_text + "'");
        return WalkFailure;
    }
    std::string current = root;
    std::vector<uint32_t> previous_arcs = root_arcs;
    int timeouts = 0;
    size_t bytes = 0;
    while (true) {
        int status = SnmpStatusFailure;
        std::string asked = current;
        std::string value = request(current, status, timeout_ms, SNMP_PDU_GETNEXT);
        if (!is_usable()) {
            out.clear();
            return WalkFailure;
        }
        if (status == SnmpStatusTimeout) {
            if (timeouts >= retries - 1) {
                out.clear();
                return WalkTimeout;
            }
            ++timeouts;
            current = asked;
            continue;
        }
        std::vector<uint32_t> arcs;
        bool parsed = parse_oid_arcs(current, arcs);
        // Outside the subtree means the walk is complete; the test is on
        // whole arcs, so 1.3.6.1.2.1.10 is not inside 1.3.6.1.2.1.1.
        if (!parsed || !oid_in_subtree(root_arcs, arcs))
            return out.empty() ? WalkNoData : WalkSuccess;
        // An answer that does not move forward would make the walk loop.
        if (!oid_less(previous_arcs, arcs))
            return WalkOidNotIncreasing;
        if (value == QorNotReadyValue) {
            out.clear();
            return WalkAgentNotReady;
        }
        if (qr_log_enabled(qr_Debug_2))
            qr_print2log(qr_Debug_2, "oid:" + root + " val:" + value);
        if (lines)
            out.push_back("." + current + " " + value);
        else
            out.push_back(value);
        bytes += out.back().size();
        if (out.size() >= walk_entry_limit_ || bytes >= walk_byte_limit_) {
            TRV_LOG(qr_Error, "Walk of " << root << " stopped after " << out.size() << " entries, "
                                         << bytes << " bytes");
            return WalkOidNotIncreasing;
        }
        previous_arcs = std::move(arcs);
    }
}
