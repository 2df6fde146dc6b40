#include "scan_table.h"

#include "qr_log.h"
#include "snmp_line.h"
#include "snmp_session.h"
#include "snmp_value_text.h"
#include "walk_file.h"

#include <chrono>
#include <cstdio>

namespace {

// Removes a trailing ",X" marker; true when it asks for dates.
bool take_date_marker(std::string& oid)
{
    size_t comma = oid.find(',');
    if (comma == std::string::npos)
        return false;
    bool date = comma + 1 < oid.size() && (oid[comma + 1] == 'D' || oid[comma + 1] == 'd');
    oid.erase(comma, comma + 1 < oid.size() ? 2 : 1);
    return date;
}

long seconds_since(std::chrono::steady_clock::time_point start)
{
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count());
}

std::string done_line(const std::string& address, const std::string& oid, size_t count,
                      std::chrono::steady_clock::time_point start)
{
    char buffer[600];
    std::snprintf(buffer, sizeof buffer, "Done:%s:%s,cnt=%d,t=%d sec", address.c_str(), oid.c_str(),
                  static_cast<int>(count), static_cast<int>(seconds_since(start)));
    return buffer;
}

int timed_scan(CSnmpSession* session, const std::string& address, const std::string& oid,
               const std::string& community, const std::string& walk_file,
               std::vector<std::string>& values)
{
    TRV_LOG(qr_Debug_2, "Scanning: " << address << ":" << oid);
    auto start = std::chrono::steady_clock::now();
    int result = scan_table(session, address, oid, community, walk_file, values, false);
    if (qr_log_enabled(qr_Debug_2))
        qr_print2log(qr_Debug_2, done_line(address, oid, values.size(), start));
    return result;
}

}  // namespace

const char* walk_result_text(int result)
{
    switch (result) {
    case WalkSuccess: return "Success";
    case WalkTimeout: return "Timeout";
    case WalkAgentNotReady: return "Wait For Agent";
    case WalkOidNotIncreasing: return "Oid Not Increasing";
    case WalkNoData: return "No Data";
    default: return "General Failure";
    }
}

int scan_table(CSnmpSession* session, const std::string& address, const std::string& oid_text,
               const std::string& /*community: the session already has it*/, const std::string& walk_file,
               std::vector<std::string>& values, bool lines)
{
    std::string oid = oid_text;
    if (!walk_file.empty()) {
        // A walk file honours the date marker and the line form as well, so
        // that every value function reads a file as it reads an agent.
        bool date = take_date_marker(oid);
        read_walk_file_entries(oid, walk_file, values, lines, date);
        return 0;
    }
    values.clear();
    bool date = take_date_marker(oid);
    if (!session || !session->is_usable()) {
        TRV_LOG(qr_Info, "!!Could not create SMNP session ");
        return WalkFailure;
    }
    int result = session->walk_subtree(values, oid, session->get_timeout(), session->get_retries(), lines);
    if (result != WalkSuccess)
        TRV_LOG(qr_Error, address << ", oid:" << oid << ". Result from scanning table is: "
                                  << walk_result_text(result));
    if (result != WalkFailure && result != WalkTimeout && result != WalkAgentNotReady)
        result = WalkSuccess;
    for (std::string& v : values)
        v = finish_value_text(v, lines, date);
    return result;
}

std::string GetSysObjId(CSnmpSession* session, const std::string& address,
                        const std::string& community, const std::string& walk_file)
{
    TRV_LOG(qr_Info, "GetSysObjId, ip=" << address << ",cs=" << community);
    std::vector<std::string> values;
    timed_scan(session, address, ".1.3.6.1.2.1.1.2", community, walk_file, values);
    std::string result;
    if (!values.empty()) {
        result = get_snmp_line_value(values[0]);
        while (result.size() > 3 && result.compare(result.size() - 2, 2, ".0") == 0)
            result.resize(result.size() - 2);
    }
    if (result.empty())
        TRV_LOG(qr_Info, "SysObjId not received.");
    else
        TRV_LOG(qr_Info, "SysObjId=" << result);
    return result;
}

int GetAgentType(CSnmpSession* session, const std::string& address, const std::string& community,
                 const std::string& oid, const std::string& walk_file)
{
    TRV_LOG(qr_Info, "GetAgentType, ip=" << address << ",cs=" << community);
    std::vector<std::string> values;
    int result = timed_scan(session, address, oid, community, walk_file, values);
    if (result == WalkAgentNotReady) {
        TRV_LOG(qr_Info, "Agent not ready, ip=" << address << ",cs=" << community);
        return -1;
    }
    return values.empty() ? 1 : 2;
}
