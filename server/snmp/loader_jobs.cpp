// Host rows written from scan jobs. Kept apart from the other host writes
// because only these need the scan library's Job.
#include "loader.h"
#include "loader_sql.h"

#include "qr_exception.h"
#include "qr_log.h"
#include "job.h"

#include <cstdlib>

namespace {

qr_sql_param id(int v)
{
    return static_cast<int32_t>(v);
}

// a.b.c.d as a*2^24 + b*2^16 + c*256 + d; 0 for anything else.
int64_t address_number(const std::string& address)
{
    int64_t number = 0;
    int parts = 0;
    const char* p = address.c_str();
    while (*p) {
        if (*p < '0' || *p > '9')
            return 0;
        char* end = nullptr;
        long octet = std::strtol(p, &end, 10);
        if (octet > 255 || end - p > 3)
            return 0;
        number = number * 256 + octet;
        ++parts;
        p = end;
        if (*p == '.' && parts < 4)
            ++p;
        else if (*p)
            return 0;
    }
    return parts == 4 ? number : 0;
}

}  // namespace

void DataLoader::replace_host(DataLoader* loader, Job& job)
{
    if (!exists(loader))
        return;
    const std::string address = job.get_net_addr();
    const int as_of = job.get_as_of_id();
    const int state = job.get_state();
    const std::string has_ping = job.get_has_ping() ? "Y" : "N";
    const std::string has_snmp = state == JOB_SNMP_RUNNING || state == JOB_SNMP_DONE ? "Y" : "N";
    guarded([&] {
        Operation op(*loader);
        // Both or neither: a failed insert must not lose the host.
        qr_transaction tx(op.db());
        op.db().get_stmnt_results("delete from InventoryHosts where NetAddr = ? and AsOfId=?", {address, id(as_of)});
        op.db().get_stmnt_results(
            "insert into InventoryHosts (AsOfId, uid, NetAddr, NetAddrInt, DNSName, NetName, TimeStmp, HasPing, "
            "HasSnmp, Status ) values(?,?,?,?,?,?,?,?,?, 1 )",
            {id(as_of), id(job.get_host_uid()), address, address_number(address), job.get_dns_name(),
             job.get_net_name(), static_cast<int64_t>(job.get_time_stamp()), has_ping, has_snmp});
        tx.commit();
    });
}

void DataLoader::update_host_from_job(DataLoader* loader, Job& job)
{
    if (job.is_snmp_output())
        return;
    if (!exists(loader))
        return;
    const int state = job.get_state();
    // The fragments are fixed texts chosen by the job's state; every value is bound.
    const std::string sql = "Update InventoryHosts Set CommunityStr\t= ?,DNSName\t\t\t= ?,NetName\t\t\t= ?,"
                            "SysObjId\t\t= ?,DevClassId\t\t= ?,DevGroupId\t\t= ?,DevVendorId\t\t= ?,"
                            "AgentTypeHard\t= ?,AgentTypeSoft\t= ?,AgentTypeMon\t= ?," +
                            host_ping_fragment(state, job.get_has_ping() != 0) + host_snmp_fragment(state) +
                            host_status_fragment(state) + "TimeStmp\t\t= ? Where  AsOfId=? and  NetAddr = ?";
    const qr_sql_params params{job.get_community(),
                               job.get_dns_name(),
                               job.get_net_name(),
                               job.get_sys_obj_id(),
                               id(job.get_dev_class_id()),
                               id(job.get_dev_group_id()),
                               id(job.get_dev_vendor_id()),
                               id(job.get_agent_type_hard()),
                               id(job.get_agent_type_soft()),
                               id(job.get_agent_type_mon()),
                               static_cast<int64_t>(job.get_time_stamp()),
                               id(job.get_as_of_id()),
                               job.get_net_addr()};
    guarded([&] {
        Operation op(*loader);
        op.db().get_stmnt_results(sql, params);
    });
}
